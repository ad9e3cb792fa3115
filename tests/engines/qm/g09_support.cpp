#include "engines/qm/g09_support.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "charge/probe_frame.h"
#include "charge/probe_qm.h"
#include "charge/water.h"
#include "io.h"
#include "support/molecule.h"
#include "support/run.h"

namespace g09_testing {

namespace {

constexpr double kPi = 3.14159265358979323846;

Point Sub(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point Cross(const Point& a, const Point& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

std::string Head(const std::string& route, const std::string& title) {
  return "%NoSave\n#HF/6-31G* " + route + "\n\n" + title + "\n\n0 1\n";
}

}  // namespace

std::vector<Atom> Methanol() {
  return {{6, {-0.04652, 0.66312, 0.0}},     {8, {-0.04652, -0.75545, 0.0}},
          {1, {-1.08607, 0.97598, 0.0}},     {1, {0.43789, 1.07162, 0.88966}},
          {1, {0.43789, 1.07162, -0.88966}}, {1, {0.86126, -1.05490, 0.0}}};
}
Bonds MethanolBonds() { return {{1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 6}}; }

std::vector<Atom> Formaldehyde() {
  return {{6, {0.0, 0.0, -0.52}}, {8, {0.0, 0.0, 0.68}}, {1, {0.0, 0.94, -1.11}}, {1, {0.0, -0.94, -1.11}}};
}

std::vector<Atom> Ammonia() {
  return {{7, {0.0, 0.0, 0.11}}, {1, {0.0, 0.94, -0.26}}, {1, {0.81, -0.47, -0.26}}, {1, {-0.81, -0.47, -0.26}}};
}

CMolecule ToMolecule(const std::vector<Atom>& atoms, const Bonds& bonds) {
  std::vector<testing_support::AtomSpec> specs;
  for (const Atom& a : atoms) {
    specs.push_back({"A" + std::to_string(specs.size() + 1), a.atomicNumber, a.xyz[0], a.xyz[1], a.xyz[2]});
  }
  CMolecule m = testing_support::MakeMolecule(specs);
  for (const auto& [i, j] : bonds) {
    m.atom[static_cast<size_t>(i - 1)].bond[static_cast<size_t>(j - 1)] = 1;
    m.atom[static_cast<size_t>(j - 1)].bond[static_cast<size_t>(i - 1)] = 1;
    ++m.atom[static_cast<size_t>(i - 1)].ibond;
    ++m.atom[static_cast<size_t>(j - 1)].ibond;
  }
  return m;
}

G09Run RunG09(const std::string& deck) {
  testing_support::TempDir dir;
  dir.Write("job.inp", deck);
  G09Run r;
  r.status = testing_support::Run("sh -c 'g09 < job.inp > job.out'", dir.path()).status;
  r.out = dir.Read("job.out");
  Gaussian::ReadGaussianOutput((dir.path() / "job.out").string(), r.data);
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) r.files.insert(e.path().filename().string());
  return r;
}

std::string LastLine(const std::string& text) {
  const size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  const size_t start = text.rfind('\n', end);
  const size_t from = start == std::string::npos ? 0 : start + 1;
  return text.substr(from, end - from + 1);
}

std::string AtomLines(const std::vector<Atom>& atoms, int freezeCode) {
  std::string text;
  for (const Atom& a : atoms) {
    text += Format("%3d %d %9.5f %9.5f %9.5f\n", a.atomicNumber, freezeCode, a.xyz[0], a.xyz[1], a.xyz[2]);
  }
  return text;
}

std::string SinglePointDeck(const std::vector<Atom>& atoms) {
  return "#HF/6-31G* Test NoSymm\n\nMolName: \n\n    0 1\n" + AtomLines(atoms, -1) + "\n\n";
}

std::string OptimisationDeck(const std::vector<Atom>& atoms, const std::string& constraintLines) {
  return Head("Opt=ModRedun ", "optimization for geometry 0") + AtomLines(atoms, 0) + "\n" + constraintLines + "\n\n";
}

std::string PopulationDeck(const std::vector<Atom>& atoms) {
  return Head("NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)", "MK charges and electric potentials") +
         AtomLines(atoms, -1) + "\n\n";
}

std::string ProbeDeck(const std::vector<Atom>& atoms, const Bonds& bonds, int probed, bool positive, double rx,
                      double turn) {
  const CMolecule m = ToMolecule(atoms, bonds);
  const ProbeFrameAtoms frame = FindProbeFrame(m, probed - 1);
  WaterTIP3P w;
  w.aid1 = probed - 1;
  w.aid2 = frame.a2;
  w.aid3 = frame.a3;
  w.aid4 = frame.a4;
  w.atm1 = m.atom[static_cast<size_t>(probed - 1)].name;
  return WaterProbeDeck(w, m, rx, turn, positive);
}

double Distance(const Point& a, const Point& b) {
  const Point d = Sub(a, b);
  return std::sqrt(Dot(d, d));
}

double Angle(const Point& a, const Point& b, const Point& c) {
  const Point u = Sub(a, b), v = Sub(c, b);
  const double cosine = Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v));
  return std::acos(std::fmax(-1.0, std::fmin(1.0, cosine))) * 180.0 / kPi;
}

double Dihedral(const Point& a, const Point& b, const Point& c, const Point& d) {
  const Point b1 = Sub(b, a), b2 = Sub(c, b), b3 = Sub(d, c);
  const double y = std::sqrt(Dot(b2, b2)) * Dot(b1, Cross(b2, b3));
  const double x = Dot(Cross(b1, b2), Cross(b2, b3));
  return std::atan2(y, x) * 180.0 / kPi;
}

Point At(const std::vector<double>& xyz, int i) {
  const size_t k = 3 * static_cast<size_t>(i);
  if (k + 2 >= xyz.size()) throw std::out_of_range("no such centre in the table");
  return {xyz[k], xyz[k + 1], xyz[k + 2]};
}

}  // namespace g09_testing
