#include "restraints.h"

#include <stdexcept>

#include "text.h"

namespace mm {

bool SetFile::Has(const std::string& name) const { return vars.count(ToLower(name)) > 0; }

const std::string& SetFile::Get(const std::string& name) const {
  const auto it = vars.find(ToLower(name));
  if (it == vars.end()) throw InputError(path, 0, "variable " + name + " is not set");
  return it->second;
}

double SetFile::GetReal(const std::string& name) const {
  try {
    return ParseReal(Get(name));
  } catch (const InputError&) {
    throw;
  } catch (const std::exception& e) {
    throw InputError(path, lineOf.at(ToLower(name)), e.what());
  }
}

int SetFile::GetInt(const std::string& name) const {
  try {
    return ParseInt(Get(name));
  } catch (const InputError&) {
    throw;
  } catch (const std::exception& e) {
    throw InputError(path, lineOf.at(ToLower(name)), e.what());
  }
}

namespace {

// A restraint on a coordinate of some atom with itself has no direction.
void RequireDistinctAtoms(const Restraint& r) {
  for (std::size_t a = 0; a < r.atoms.size(); ++a)
    for (std::size_t b = a + 1; b < r.atoms.size(); ++b)
      if (r.atoms[a] == r.atoms[b]) throw std::invalid_argument("a restraint names one atom twice");
}

}  // namespace

Restraint ParseConsDihe(const std::vector<std::string>& w, const Molecule& m) {
  if (w.size() < 14) throw std::invalid_argument("CONS DIHE needs four atoms as SEGID RESID NAME");
  Restraint r;
  for (int a = 0; a < 4; ++a) r.atoms.push_back(m.IndexOrThrow(w[2 + 3 * a + 2]));
  bool haveForce = false, haveTarget = false;
  for (std::size_t i = 14; i < w.size(); ++i) {
    const std::string key = ToUpper(w[i]).substr(0, 4);
    auto value = [&]() -> double {
      if (i + 1 >= w.size()) throw std::invalid_argument(w[i] + " needs a value");
      return ParseReal(w[++i]);
    };
    if (key == "FORC") {
      r.k = value();
      if (r.k < 0) throw std::invalid_argument("a restraint force must not be negative");
      haveForce = true;
    } else if (key == "MIN") {
      r.target = value();
      haveTarget = true;
    } else if (key == "MAIN") {
      r.holdCurrent = true;
      haveTarget = true;
    } else if (key == "PERI") {
      if (value() != 0) throw std::invalid_argument("only PERIod 0 (harmonic) is supported");
    } else if (key == "WIDT") {
      if (value() != 0) throw std::invalid_argument("only WIDTH 0.0 is supported");
    } else {
      throw std::invalid_argument("unknown CONS DIHE keyword '" + w[i] + "'");
    }
  }
  RequireDistinctAtoms(r);
  if (!haveForce) throw std::invalid_argument("CONS DIHE without FORCE");
  if (!haveTarget) throw std::invalid_argument("CONS DIHE without MIN value or MAIN");
  return r;
}

namespace {

bool IsConsDihe(const std::vector<std::string>& w) {
  return w.size() >= 2 && ToUpper(w[0]).substr(0, 4) == "CONS" && ToUpper(w[1]).substr(0, 4) == "DIHE";
}

// One GEO restraint from the words of the joined geo line.
Restraint ParseGeo(const std::vector<std::string>& w, const Molecule& m) {
  Restraint r;
  std::size_t natoms = 0;
  bool haveForce = false, haveTarget = false;
  for (std::size_t i = 1; i < w.size(); ++i) {
    const std::string key = ToLower(w[i]);
    auto value = [&]() -> double {
      if (i + 1 >= w.size()) throw std::invalid_argument(w[i] + " needs a value");
      return ParseReal(w[++i]);
    };
    if (key == "maxgeo") {
      value();
    } else if (key == "sphere" || key == "harmonic" || key == "symmetric") {
    } else if (key == "distance") {
      natoms = 2;
    } else if (key == "angle") {
      natoms = 3;
    } else if (key == "dihedral") {
      natoms = 4;
    } else if (key == "force") {
      r.k = value();
      if (r.k < 0) throw std::invalid_argument("a restraint force must not be negative");
      haveForce = true;
    } else if (key == "droff" || key == "tref") {
      r.target = value();
      haveTarget = true;
    } else if (key == "dtoff") {
      if (value() != 0) throw std::invalid_argument("only dtoff 0.0 is supported");
    } else if (key == "select") {
      if (i + 3 >= w.size() || ToLower(w[i + 1]) != "type" || ToLower(w[i + 3]) != "end")
        throw std::invalid_argument("a selection reads 'select type NAME end'");
      r.atoms.push_back(m.IndexOrThrow(w[i + 2]));
      i += 3;
    } else {
      throw std::invalid_argument("unknown geo keyword '" + w[i] + "'");
    }
  }
  if (natoms == 0) throw std::invalid_argument("geo without distance, angle or dihedral");
  if (r.atoms.size() != natoms)
    throw std::invalid_argument("geo " + std::string(natoms == 2 ? "distance" : natoms == 3 ? "angle" : "dihedral") +
                                " needs " + std::to_string(natoms) + " selections, " +
                                std::to_string(r.atoms.size()) + " given");
  RequireDistinctAtoms(r);
  if (!haveForce) throw std::invalid_argument("geo without force");
  if (!haveTarget) throw std::invalid_argument("geo without droff or tref");
  return r;
}

}  // namespace

SetFile ReadSetFile(const std::string& path, const Molecule& m) {
  SetFile f;
  f.path = path;
  const auto lines = ReadLines(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    const auto w = Words(StripComment(lines[i]));
    if (w.empty() || w[0][0] == '*') continue;
    try {
      if (ToLower(w[0]) == "set") {
        std::size_t v = 2;
        if (w.size() >= 3 && w[2] == "=") v = 3;
        if (w.size() != v + 1) throw std::invalid_argument("a set line reads 'set NAME VALUE'");
        f.vars[ToLower(w[1])] = w[v];
        f.lineOf[ToLower(w[1])] = lineNo;
      } else if (IsConsDihe(w)) {
        f.cons.push_back(ParseConsDihe(w, m));
      } else {
        throw std::invalid_argument("unknown line '" + Trim(lines[i]) + "'");
      }
    } catch (const std::exception& e) {
      throw InputError(path, lineNo, e.what());
    }
  }
  return f;
}

std::vector<Restraint> ReadRestraintStream(const std::string& path, const Molecule& m) {
  std::vector<Restraint> out;
  const auto lines = ReadLines(path);
  bool inBlock = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    std::string text = Trim(StripComment(lines[i]));
    // Lines ending in '-' continue on the next line.
    while (!text.empty() && text.back() == '-' && i + 1 < lines.size()) {
      text.pop_back();
      text += " " + Trim(StripComment(lines[++i]));
    }
    const auto w = Words(text);
    if (w.empty() || w[0][0] == '*') continue;
    try {
      const std::string head = ToLower(w[0]);
      if (!text.empty() && text.back() == '-') throw std::invalid_argument("continued line at end of file");
      if (head == "mmfp" && w.size() == 1) {
        if (inBlock) throw std::invalid_argument("mmfp inside an mmfp block");
        inBlock = true;
      } else if (head == "end" && w.size() == 1) {
        if (!inBlock) throw std::invalid_argument("end without mmfp");
        inBlock = false;
      } else if (head == "geo") {
        if (!inBlock) throw std::invalid_argument("geo outside an mmfp block");
        out.push_back(ParseGeo(w, m));
      } else if (IsConsDihe(w)) {
        out.push_back(ParseConsDihe(w, m));
      } else {
        throw std::invalid_argument("unknown line '" + text + "'");
      }
    } catch (const std::exception& e) {
      throw InputError(path, lineNo, e.what());
    }
  }
  if (inBlock) throw InputError(path, static_cast<int>(lines.size()), "mmfp block without end");
  return out;
}

}  // namespace mm
