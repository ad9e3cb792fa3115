#pragma once

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "io.h"
#include "support/run.h"

// Helpers of the tests of the stand-in MM program.
namespace mm_testing {

using P = std::array<double, 3>;
using Structure = std::map<std::string, P>;  // atom name -> coordinates

constexpr double kPi = 3.14159265358979323846;
constexpr double kCoulomb = 332.0716;  // kcal/mol A/e^2

// Geometry and terms written out anew for the hand calculations (Angstrom,
// degrees, kcal/mol).
inline P Sub(const P& a, const P& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline double Dot(const P& a, const P& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline P Cross(const P& a, const P& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double Rad(double deg) { return deg * kPi / 180.0; }
inline double Deg(double rad) { return rad * 180.0 / kPi; }
// Lennard-Jones with well depth eps at rmin.
inline double Lj(double eps, double rmin, double r) {
  return eps * (std::pow(rmin / r, 12) - 2 * std::pow(rmin / r, 6));
}
inline double Dist(const P& a, const P& b) { return std::sqrt(Dot(Sub(a, b), Sub(a, b))); }

inline double AngleDeg(const P& a, const P& b, const P& c) {
  const P u = Sub(a, b), v = Sub(c, b);
  return Deg(std::acos(Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v))));
}

inline double DiheDeg(const P& a, const P& b, const P& c, const P& d) {
  // Angle between the planes (a, b, c) and (b, c, d), signed by the
  // direction of the first normal relative to the last bond.
  const P n1 = Cross(Sub(b, a), Sub(c, b)), n2 = Cross(Sub(c, b), Sub(d, c));
  const double cosine = Dot(n1, n2) / std::sqrt(Dot(n1, n1) * Dot(n2, n2));
  const double phi = Deg(std::acos(std::fmax(-1.0, std::fmin(1.0, cosine))));
  return Dot(n1, Sub(d, c)) < 0 ? -phi : phi;
}

// HB1-CB-OG-HG1 of methanol.
inline double Torsion(const Structure& s) { return DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1")); }

// Writes the job script "job.inp" into dir and runs `charmm opts < job.inp`.
inline testing_support::RunResult RunCharmm(const testing_support::TempDir& dir, const std::string& script,
                                            const std::string& opts = "") {
  dir.Write("job.inp", script);
  // Run() feeds /dev/null to the command; the script comes through a subshell.
  return testing_support::Run("sh -c 'charmm " + opts + " < job.inp'", dir.path());
}

// Runs `charmm opts` in dir on the methanol example job script name
// (minimize.inp, pes.inp, ...).
inline testing_support::RunResult RunExample(const testing_support::TempDir& dir, const std::string& name,
                                             const std::string& opts = "") {
  const std::string script = std::string(QM2FF_SOURCE_DIR) + "/examples/methanol/charmm/" + name;
  return testing_support::Run("sh -c \"charmm " + opts + " < '" + script + "'\"", dir.path());
}

// The energy terms of the log line "ENER> label ..." (total, bond, angle,
// urey, dihe, impr, elec, vdw, grms); empty when there is none.
inline std::map<std::string, double> Energies(const std::string& log, const std::string& label) {
  std::istringstream in(log);
  std::map<std::string, double> e;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("ENER> " + label + " ", 0) == 0) {
      // The label may hold blanks: the values start at the word "total".
      std::istringstream words(line.substr(line.find(" total ")));
      std::string term;
      for (double v; words >> term >> v;) e[term] = v;
      break;
    }
  return e;
}

// The numbers of each line of a text.
inline std::vector<std::vector<double>> ReadTable(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    rows.emplace_back();
    for (double v; words >> v;) rows.back().push_back(v);
  }
  return rows;
}

// The atoms of a CARD file; empty when it cannot be read.
inline Structure ReadCard(const std::string& path) {
  std::ifstream in(path);
  Structure atoms;
  std::string line;
  while (std::getline(in, line) && line.rfind('*', 0) == 0) continue;  // the title, then the atom count
  while (std::getline(in, line)) {
    std::istringstream w(line);
    std::string serial, resid, residue, name;
    P p;
    if (w >> serial >> resid >> residue >> name >> p[0] >> p[1] >> p[2]) atoms[name] = p;
  }
  return atoms;
}

// Writes the files the methanol example job scripts read: the example
// topology, parameters and start structure (top_methanol.rtf,
// par_methanol.prm, methanol.pdb) and, as the system writes them before a
// run, an empty trial parameter file add_para.inp and restraint stream
// restrdihe.inp.
inline void WriteMethanolFiles(const testing_support::TempDir& dir) {
  const std::string ex = std::string(QM2FF_SOURCE_DIR) + "/examples/";
  dir.Write("top_methanol.rtf", testing_support::ReadFile(ex + "toppar/top_methanol.rtf"));
  dir.Write("par_methanol.prm", testing_support::ReadFile(ex + "toppar/par_methanol.prm"));
  dir.Write("methanol.pdb", testing_support::ReadFile(ex + "methanol/charmm/methanol.pdb"));
  dir.Write("add_para.inp", "BONDS\n\nANGLES\n\nDIHEDRALS\n\nIMPROPER\n\n");
  dir.Write("restrdihe.inp", "\n");
}

// A methanol structure (residue MEOH) away from its minimum; the example
// start structure.
inline const Structure kStart = {{"CB", {-0.047, 0.665, 0.000}}, {"OG", {-0.047, -0.755, 0.000}},
                                 {"HG1", {0.857, -1.056, 0.000}}, {"HB1", {-1.091, 0.978, 0.000}},
                                 {"HB2", {0.433, 1.075, 0.890}},  {"HB3", {0.433, 1.075, -0.890}}};

// The CHARMM energy of methanol (residue MEOH) worked out from the values of
// the general force field for types CG331, OG311, HGP1 and HGA3.
inline double MethanolEnergy(const Structure& s) {
  const P c = s.at("CB"), o = s.at("OG"), ho = s.at("HG1");
  const char* hb[] = {"HB1", "HB2", "HB3"};
  double e = 428.0 * std::pow(Dist(c, o) - 1.42, 2) + 545.0 * std::pow(Dist(o, ho) - 0.96, 2) +
             57.5 * std::pow(Rad(AngleDeg(c, o, ho) - 106.0), 2);
  for (int i = 0; i < 3; ++i) {
    const P h = s.at(hb[i]);
    e += 322.0 * std::pow(Dist(c, h) - 1.111, 2) + 45.9 * std::pow(Rad(AngleDeg(o, c, h) - 108.89), 2) +
         0.18 * (1 + std::cos(3 * Rad(DiheDeg(h, c, o, ho))));
    // The 1-4 pair H-C-O-H.
    const double r = Dist(h, ho);
    e += kCoulomb * 0.42 * 0.09 / r + Lj(std::sqrt(0.046 * 0.024), 0.2245 + 1.34, r);
    for (int j = i + 1; j < 3; ++j) {
      const P h2 = s.at(hb[j]);
      e += 35.5 * std::pow(Rad(AngleDeg(h, c, h2) - 108.4), 2) + 5.4 * std::pow(Dist(h, h2) - 1.802, 2);
    }
  }
  return e;
}

// A PDB file of the named atoms (residue MEOH).
inline std::string Pdb(const Structure& atoms) {
  std::string text;
  int serial = 1;
  for (const auto& [name, p] : atoms)
    text += Format("ATOM  %5d %-4s MEOH    1    %8.3f%8.3f%8.3f  1.00  0.00      AAAA\n", serial++, name.c_str(),
                   p[0], p[1], p[2]);
  return text + "END\n";
}

}  // namespace mm_testing
