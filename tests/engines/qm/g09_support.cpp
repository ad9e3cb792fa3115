#include "engines/qm/g09_support.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "io.h"
#include "support/run.h"

namespace g09_testing {

namespace {

constexpr double kPi = 3.14159265358979323846;

Point Sub(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point Cross(const Point& a, const Point& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point Unit(const Point& a) {
  const double n = std::sqrt(Dot(a, a));
  return {a[0] / n, a[1] / n, a[2] / n};
}

std::string Head(const std::string& route, const std::string& title, const char* chargeLine) {
  return "%NoSave\n#HF/6-31G* " + route + "\n\n" + title + "\n\n" + chargeLine;
}

// A and D of a probe whose atom has two or three neighbours: the probe lies
// on the bisector of the outer angle (two) or on the normal of the
// neighbours' plane, on the side of the probed atom (three).
void Frame(const std::vector<Atom>& atoms, int probed, const std::vector<int>& bonded, double& a, double& d) {
  const auto p = [&](int k) { return atoms[static_cast<size_t>(k - 1)].xyz; };
  if (bonded.size() == 2) {
    a = (360.0 - Angle(p(bonded[0]), p(probed), p(bonded[1]))) / 2.0;
    d = 180.0;
    return;
  }
  Point n = Unit(Cross(Sub(p(bonded[0]), p(bonded[1])), Sub(p(bonded[0]), p(bonded[2]))));
  const Point out = Sub(p(probed), p(bonded[0]));
  if (Dot(n, out) < 0) n = {-n[0], -n[1], -n[2]};
  const Point probe = {p(probed)[0] + n[0], p(probed)[1] + n[1], p(probed)[2] + n[2]};
  a = Angle(probe, p(probed), p(bonded[0]));
  d = Dihedral(probe, p(probed), p(bonded[0]), p(bonded[1]));
}

}  // namespace

std::vector<Atom> Methanol() {
  return {{6, {-0.04652, 0.66312, 0.0}},     {8, {-0.04652, -0.75545, 0.0}},
          {1, {-1.08607, 0.97598, 0.0}},     {1, {0.43789, 1.07162, 0.88966}},
          {1, {0.43789, 1.07162, -0.88966}}, {1, {0.86126, -1.05490, 0.0}}};
}

std::vector<Atom> Formaldehyde() {
  return {{6, {0.0, 0.0, -0.52}}, {8, {0.0, 0.0, 0.68}}, {1, {0.0, 0.94, -1.11}}, {1, {0.0, -0.94, -1.11}}};
}

std::vector<Atom> Ammonia() {
  return {{7, {0.0, 0.0, 0.11}}, {1, {0.0, 0.94, -0.26}}, {1, {0.81, -0.47, -0.26}}, {1, {-0.81, -0.47, -0.26}}};
}

std::vector<Atom> Hexane() {
  std::vector<Atom> atoms;
  // Zig-zag carbon chain in the xy plane, hydrogens above and below it.
  for (int i = 0; i < 6; ++i) {
    atoms.push_back({6, {1.27 * i, (i % 2 == 0 ? 0.0 : 0.88), 0.0}});
  }
  for (int i = 0; i < 6; ++i) {
    const double x = 1.27 * i, y = (i % 2 == 0 ? -0.38 : 1.26);
    atoms.push_back({1, {x, y, 0.89}});
    atoms.push_back({1, {x, y, -0.89}});
  }
  atoms.push_back({1, {-0.95, 0.55, 0.0}});
  atoms.push_back({1, {1.27 * 5 + 0.95, 0.33, 0.0}});
  return atoms;
}

G09Run RunG09(const std::string& deck, std::vector<std::string>* leftOver) {
  testing_support::TempDir dir;
  dir.Write("job.inp", deck);
  G09Run r;
  const auto result = testing_support::Run("sh -c 'g09 < job.inp > job.out'", dir.path());
  r.status = result.status;
  r.out = dir.Read("job.out");
  Gaussian::ReadGaussianOutput((dir.path() / "job.out").string(), r.data);
  if (leftOver != nullptr) {
    leftOver->clear();
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      leftOver->push_back(e.path().filename().string());
    }
  }
  return r;
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
  return Head("Opt=ModRedun ", "optimization for geometry 0", "0 1\n") + AtomLines(atoms, 0) + "\n" +
         constraintLines + "\n\n";
}

std::string PopulationDeck(const std::vector<Atom>& atoms) {
  return Head("NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)", "MK charges and electric potentials", "0 1\n") +
         AtomLines(atoms, -1) + "\n\n";
}

std::string PositiveProbeDeck(const std::vector<Atom>& atoms, int probed, const std::vector<int>& bonded,
                              int third, double rx, double turn) {
  const int n = static_cast<int>(atoms.size());
  std::string deck = Head("Opt=Z-matrix NoSymm", "water interaction with atom P", "    0 1\n") + AtomLines(atoms, -1);
  if (bonded.size() == 1) {
    const int i1 = probed, i2 = bonded[0], i3 = third;
    deck += Format("X   %4i RDUM %4i ADUM %4i DOH\n", i1, i2, i3);
    deck += Format("X   %4i RDUM %4i ADUM %4i DD1\n", n + 1, i1, i2);
    deck += Format("OH2 %4i RX   %4i ADUM %4i DD2\n", i1, n + 1, n + 2);
    deck += Format("H1  %4i ROH  %4i AHOA %4i DH1\n", n + 3, i1, n + 1);
    deck += Format("H2  %4i ROH  %4i AHOA %4i DH2\n", n + 3, i1, n + 1);
    deck += "Variables:\n" + Format("RX   %10.5f\n", rx) + "Constants:\n";
    deck += Format("RDUM %10.5f\nROH  %10.5f\nADUM %10.5f\nAHOA %10.5f\nDOH  %10.5f\n", 1.0, 0.9572, 90.0, 127.74,
                   180.0);
    deck += Format("DD1  %10.5f\nDD2  %10.5f\nDH1  %10.5f\nDH2  %10.5f\n", 0.0, 180.0, turn, turn - 180);
    return deck + "\n\n\n\n";
  }
  double a = 0, d = 0;
  Frame(atoms, probed, bonded, a, d);
  deck += Format(" OH2 %4i RX  %4i AOH2 %4i DOH2\n", probed, bonded[0], bonded[1]);
  deck += Format("  H1 %4i ROH %4i AHOA %4i DHO1\n", n + 1, probed, bonded[0]);
  deck += Format("  H2 %4i ROH %4i AHOA %4i DHO2\n", n + 1, probed, bonded[0]);
  deck += "Variables:\n" + Format("RX   %10.5f\n", rx) + "Constants:\n";
  deck += Format("ROH  %10.5f\nAOH2 %10.5f\nAHOA %10.5f\nDOH2 %10.5f\n", 0.9572, a, 127.74, d);
  deck += Format("DHO1 %10.5f\nDHO2 %10.5f\n", turn, turn - 180);
  return deck + "\n\n\n\n";
}

std::string NegativeProbeDeck(const std::vector<Atom>& atoms, int probed, const std::vector<int>& bonded,
                              int third, double rx, double turn) {
  const int n = static_cast<int>(atoms.size());
  std::string deck = Head("Opt=Z-matrix NoSymm", "water interaction with atom N", "    0 1\n") + AtomLines(atoms, -1);
  if (bonded.size() == 1) {
    const int i1 = probed, i2 = bonded[0], i3 = third;
    deck += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", i1, i2, i3);
    deck += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 1, i1, i2);
    deck += Format("H1  %4i RX   %4i ADUM %4i DH1\n", i1, n + 1, n + 2);
    deck += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 3, i1, n + 1);
    deck += Format("OH2 %4i ROH  %4i ADUM %4i DOH2\n", n + 3, n + 4, i1);
    deck += Format("H2  %4i ROH  %4i AHOH %4i DH2\n", n + 5, n + 3, n + 1);
    deck += "Variables:\n" + Format("RX %10.5f\n", rx) + "Constants:      \n";
    deck += Format("RDUM %10.5f\nROH  %10.5f\nADUM %10.5f\nAHOH %10.5f\n", 1.0, 0.9572, 90.0, 104.52);
    deck += Format("DDUM %10.5f\nDH1  %10.5f\nDOH2 %10.5f\nDH2  %10.5f\n", 0.0, 180.0, 180.0, turn);
    return deck + "\n\n";
  }
  double a = 0, d = 0;
  Frame(atoms, probed, bonded, a, d);
  deck += Format("  H1 %4i RX   %4i AH1  %4i DH1\n", probed, bonded[0], bonded[1]);
  deck += Format("   X %4i RDUM %4i ADUM %4i DDUM\n", n + 1, probed, bonded[0]);
  deck += Format("   X %4i RDUM %4i ADUM %4i DDUM\n", n + 2, n + 1, probed);
  deck += Format(" OH2 %4i ROH  %4i AOH2 %4i DOH2\n", n + 1, n + 2, n + 3);
  deck += Format("  H2 %4i ROH  %4i AHOH %4i DH2\n", n + 4, n + 1, n + 2);
  deck += "Variables:\n" + Format("RX %10.5f\n", rx) + "Constants:\n";
  deck += Format("RDUM %10.5f\nROH  %10.5f\nAH1  %10.5f\nADUM %10.5f\nAOH2 %10.5f\n", 1.0, 0.9572, a, 90.0, 90.0);
  deck += Format("AHOH %10.5f\nDH1  %10.5f\nDDUM %10.5f\nDOH2 %10.5f\nDH2  %10.5f\n", 104.52, d, 180.0, 0.0, turn);
  return deck + "\n\n";
}

double Distance(const Point& a, const Point& b) {
  const Point d = Sub(a, b);
  return std::sqrt(Dot(d, d));
}

double Angle(const Point& a, const Point& b, const Point& c) {
  const Point u = Unit(Sub(a, b)), v = Unit(Sub(c, b));
  return std::acos(std::fmax(-1.0, std::fmin(1.0, Dot(u, v)))) * 180.0 / kPi;
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
