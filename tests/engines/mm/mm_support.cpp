#include "engines/mm/mm_support.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace mm_testing {

namespace {
constexpr double kPi = 3.14159265358979323846;
P Sub(const P& a, const P& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const P& a, const P& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
P Cross(const P& a, const P& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
std::vector<std::string> Split(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  std::string x;
  while (in >> x) w.push_back(x);
  return w;
}
double Rad(double deg) { return deg * kPi / 180.0; }
}  // namespace

double Dist(const P& a, const P& b) { return std::sqrt(Dot(Sub(a, b), Sub(a, b))); }

double AngleDeg(const P& a, const P& b, const P& c) {
  const P u = Sub(a, b), v = Sub(c, b);
  return std::acos(Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v))) * 180.0 / kPi;
}

double DiheDeg(const P& a, const P& b, const P& c, const P& d) {
  // Angle between the planes (a, b, c) and (b, c, d), signed by the
  // direction of the first normal relative to the last bond.
  const P n1 = Cross(Sub(b, a), Sub(c, b)), n2 = Cross(Sub(c, b), Sub(d, c));
  double cosine = Dot(n1, n2) / std::sqrt(Dot(n1, n1) * Dot(n2, n2));
  cosine = std::fmax(-1.0, std::fmin(1.0, cosine));
  const double phi = std::acos(cosine) * 180.0 / kPi;
  return Dot(n1, Sub(d, c)) < 0 ? -phi : phi;
}

testing_support::RunResult RunCharmm(const testing_support::TempDir& dir, const std::string& script,
                                     const std::string& opts) {
  dir.Write("job.inp", script);
  const std::string command = "charmm " + opts + " < job.inp";
  // Run() feeds /dev/null to the command; the script comes through a subshell.
  return testing_support::Run("sh -c '" + command + "'", dir.path());
}

std::map<std::string, double> Energies(const std::string& log, const std::string& label) {
  std::istringstream in(log);
  std::string line;
  const std::string head = "ENER> " + label + " ";
  while (std::getline(in, line)) {
    if (line.rfind(head, 0) != 0) continue;
    // The label may hold blanks: the values start at the word "total".
    const auto w = Split(line.substr(line.find(" total ") + 1));
    std::map<std::string, double> e;
    for (std::size_t i = 0; i + 1 < w.size(); i += 2) e[w[i]] = std::stod(w[i + 1]);
    return e;
  }
  return {};
}

std::map<std::string, P> ReadCard(const std::string& path) {
  std::ifstream in(path);
  std::map<std::string, P> atoms;
  std::string line;
  bool count = false;
  while (std::getline(in, line)) {
    const auto w = Split(line);
    if (w.empty() || w[0] == "*") continue;
    if (!count) {
      count = true;
      continue;
    }
    if (w.size() >= 7) atoms[w[3]] = {std::stod(w[4]), std::stod(w[5]), std::stod(w[6])};
  }
  return atoms;
}

void WriteMethanolFiles(const testing_support::TempDir& dir) {
  const std::string ex = std::string(QM2FF_SOURCE_DIR) + "/examples/";
  dir.Write("top_methanol.rtf", testing_support::ReadFile(ex + "toppar/top_methanol.rtf"));
  dir.Write("par_methanol.prm", testing_support::ReadFile(ex + "toppar/par_methanol.prm"));
  dir.Write("methanol.pdb", testing_support::ReadFile(ex + "methanol/charmm/methanol.pdb"));
}

std::string MethanolScript(const std::string& job) {
  return "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates methanol.pdb\njob " + job +
         "\n";
}


const Structure kStart = {{"CB", {-0.047, 0.665, 0.000}}, {"OG", {-0.047, -0.755, 0.000}},
                          {"HG1", {0.857, -1.056, 0.000}}, {"HB1", {-1.091, 0.978, 0.000}},
                          {"HB2", {0.433, 1.075, 0.890}},  {"HB3", {0.433, 1.075, -0.890}}};

double MethanolEnergy(const Structure& s) {
  auto at = [&s](const char* n) { return s.at(n); };
  const char* hb[] = {"HB1", "HB2", "HB3"};
  double e = 428.0 * std::pow(Dist(at("CB"), at("OG")) - 1.42, 2) +
             545.0 * std::pow(Dist(at("OG"), at("HG1")) - 0.96, 2) +
             57.5 * std::pow(Rad(AngleDeg(at("CB"), at("OG"), at("HG1")) - 106.0), 2);
  for (int i = 0; i < 3; ++i) {
    const P h = at(hb[i]);
    e += 322.0 * std::pow(Dist(at("CB"), h) - 1.111, 2);
    e += 45.9 * std::pow(Rad(AngleDeg(at("OG"), at("CB"), h) - 108.89), 2);
    e += 0.18 * (1 + std::cos(3 * Rad(DiheDeg(h, at("CB"), at("OG"), at("HG1")))));
    const double r = Dist(h, at("HG1"));
    const double rmin = 0.2245 + 1.34, eps = std::sqrt(0.046 * 0.024);
    e += 332.0716 * 0.42 * 0.09 / r + eps * (std::pow(rmin / r, 12) - 2 * std::pow(rmin / r, 6));
    for (int j = i + 1; j < 3; ++j) {
      const P h2 = at(hb[j]);
      e += 35.5 * std::pow(Rad(AngleDeg(h, at("CB"), h2) - 108.4), 2) + 5.4 * std::pow(Dist(h, h2) - 1.802, 2);
    }
  }
  return e;
}

std::string Pdb(const std::map<std::string, P>& atoms) {
  std::string text;
  int serial = 1;
  char buf[128];
  for (const auto& [name, p] : atoms) {
    std::snprintf(buf, sizeof buf, "ATOM  %5d %-4s MEOH    1    %8.3f%8.3f%8.3f  1.00  0.00      AAAA\n",
                  serial++, name.c_str(), p[0], p[1], p[2]);
    text += buf;
  }
  return text + "END\n";
}

}  // namespace mm_testing
