#include "level_of_theory.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Gaussian writes polarisation functions either way: 6-31G(d) is 6-31G*,
// 6-31+G(d,p) is 6-31+G**. psi4 knows the starred names.
std::string BasisName(const std::string& written) {
  if (written.empty()) throw std::runtime_error("the route names no basis set");
  for (const char c : written) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && std::string("+*-(),").find(c) == std::string::npos) {
      throw std::runtime_error("basis set \"" + written + "\" has a character no basis name has");
    }
  }
  std::string name = written;
  const std::string l = Lower(name);
  for (const auto& [gaussian, starred] : {std::pair<std::string, std::string>{"g(d,p)", "G**"}, {"g(d)", "G*"}}) {
    if (l.size() > gaussian.size() && l.compare(l.size() - gaussian.size(), gaussian.size(), gaussian) == 0) {
      name = name.substr(0, name.size() - gaussian.size()) + starred;
    }
  }
  return name;
}

}  // namespace

LevelOfTheory ReadLevelOfTheory(const std::string& routeMethod, int multiplicity) {
  static const std::string kMethods[] = {"hf", "rhf", "uhf", "rohf", "b3lyp", "rb3lyp", "ub3lyp", "mp2", "ump2"};
  const auto slash = routeMethod.find('/');
  std::string method = slash == std::string::npos ? "" : routeMethod.substr(0, slash);
  std::string basis = slash == std::string::npos ? "" : routeMethod.substr(slash + 1);
  if (slash == std::string::npos) {
    const bool isMethod = std::find(std::begin(kMethods), std::end(kMethods), Lower(routeMethod)) != std::end(kMethods);
    (isMethod ? method : basis) = routeMethod;
  }
  if (routeMethod.empty()) throw std::runtime_error("the route names no method or basis set");
  if (method.empty()) method = "HF";
  if (basis.empty()) basis = "STO-3G";
  const std::string m = Lower(method);
  if (std::find(std::begin(kMethods), std::end(kMethods), m) == std::end(kMethods)) {
    throw std::runtime_error("method \"" + method + "\" is not computed with psi4 here (HF, B3LYP and MP2 are)");
  }
  LevelOfTheory level;
  level.basis = BasisName(basis);
  // Open shells are unrestricted unless the route says ROHF, as in the real program.
  const bool open = multiplicity != 1;
  const char spin = m == "rohf" ? 'o' : (m[0] == 'u' || (open && m[0] != 'r') ? 'u' : 'r');
  if (spin == 'r' && open) throw std::runtime_error("a restricted closed-shell method needs multiplicity 1");
  const std::string prefix = spin == 'o' ? "RO" : (spin == 'u' ? "U" : "R");
  if (m.find("b3lyp") != std::string::npos) {
    level.method = "b3lyp";
    level.reference = spin == 'u' ? "uks" : "rks";
    if (spin == 'o') throw std::runtime_error("B3LYP takes a restricted or unrestricted reference, not ROHF");
    level.scfName = prefix + "B3LYP";
  } else {
    level.method = m.find("mp2") != std::string::npos ? "mp2" : "scf";
    level.reference = spin == 'o' ? "rohf" : (spin == 'u' ? "uhf" : "rhf");
    level.scfName = prefix + "HF";
    level.correlated = level.method == "mp2";
  }
  return level;
}
