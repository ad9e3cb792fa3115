// Energies of the stand-in MM program against values worked out by hand,
// one small molecule per kind of term.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engines/mm/mm_support.h"

using mm_testing::AngleDeg;
using mm_testing::DiheDeg;
using mm_testing::Dist;
using mm_testing::Energies;
using mm_testing::P;
using testing_support::TempDir;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCoulomb = 332.0716;

double Rad(double deg) { return deg * kPi / 180.0; }

// A point as the PDB file holds it (3 decimals).
P R3(double x, double y, double z) {
  return {std::round(x * 1000) / 1000, std::round(y * 1000) / 1000, std::round(z * 1000) / 1000};
}

// A residue T over atoms named after their types A, B, C, D, E (each type
// one atom), with the given bonds and extra topology lines.
std::string Rtf(const std::string& atoms, const std::string& body) {
  return "* test topology\n*\nMASS 1 A 12.0\nMASS 2 B 12.0\nMASS 3 C 12.0\nMASS 4 D 1.0\nMASS 5 E 1.0\n"
         "RESI T 0.0\n" + atoms + body + "END\n";
}

const char* kNeutralAtoms = "ATOM A1 A 0.0\nATOM B1 B 0.0\nATOM C1 C 0.0\nATOM D1 D 0.0\n";

// Non-bonded values of zero strength, so that only the bonded terms count.
const char* kNoNonbonded =
    "NONBONDED\nA 0.0 0.0 1.0\nB 0.0 0.0 1.0\nC 0.0 0.0 1.0\nD 0.0 0.0 1.0\nE 0.0 0.0 1.0\n";

std::string Pdb4(const P& a, const P& b, const P& c, const P& d) {
  return mm_testing::Pdb({{"A1", a}, {"B1", b}, {"C1", c}, {"D1", d}});
}

// Runs the start energy of the files in dir and returns the terms.
std::map<std::string, double> StartEnergies(const TempDir& dir) {
  const auto r = mm_testing::RunCharmm(
      dir, "topology t.rtf\nparameters t.prm\ncoordinates t.pdb\njob minimize\n");
  EXPECT_EQ(r.status, 0) << r.err;
  return Energies(r.out, "start");
}

// A chain A1-B1-C1-D1 with a dihedral of phi degrees about B1-C1.
struct Chain {
  P a{1.0, 1.2, 0.4}, b{0.0, 0.0, 0.0}, c{1.5, 0.0, 0.0}, d{};
  explicit Chain(double phi) {
    const double r = 1.3;
    d = R3(2.0, r * std::cos(Rad(phi)), r * std::sin(Rad(phi)));
    // Put A1 in the plane y>0, z=0 so that phi is measured from it.
    a = {-0.5, 1.2, 0.0};
  }
};

const char* kChainBonds = "BOND A1 B1 B1 C1 C1 D1\n";
const char* kChainBonded =
    "BONDS\nA B 0.0 1.0\nB C 0.0 1.0\nC D 0.0 1.0\n"
    "ANGLES\nA B C 0.0 100.0\nB C D 0.0 100.0\n";

}  // namespace

TEST(MmEnergy, BondIsKbTimesSquaredStretch) {
  TempDir dir;
  dir.Write("t.rtf", Rtf("ATOM A1 A 0.0\nATOM B1 B 0.0\n", "BOND A1 B1\n"));
  dir.Write("t.prm", std::string("BONDS\nA B 300.0 1.0\n") + kNoNonbonded + "END\n");
  dir.Write("t.pdb", mm_testing::Pdb({{"A1", {0, 0, 0}}, {"B1", {1.1, 0, 0}}}));
  const auto e = StartEnergies(dir);
  EXPECT_NEAR(e.at("bond"), 300.0 * 0.1 * 0.1, 1e-6);
  EXPECT_NEAR(e.at("total"), 3.0, 1e-6);
}

TEST(MmEnergy, AngleWithUreyBradley) {
  TempDir dir;
  dir.Write("t.rtf", Rtf("ATOM A1 A 0.0\nATOM B1 B 0.0\nATOM C1 C 0.0\n", "BOND A1 B1 B1 C1\n"));
  dir.Write("t.prm", std::string("BONDS\nA B 0.0 1.0\nB C 0.0 1.0\nANGLES\nC B A 50.0 109.5 10.0 1.8\n") +
                         kNoNonbonded);
  const P a{1.0, 0, 0}, b{0, 0, 0}, c = R3(std::cos(Rad(100.0)) * 1.2, std::sin(Rad(100.0)) * 1.2, 0);
  dir.Write("t.pdb", mm_testing::Pdb({{"A1", a}, {"B1", b}, {"C1", c}}));
  const auto e = StartEnergies(dir);
  const double theta = AngleDeg(a, b, c);
  const double s = Dist(a, c);
  EXPECT_NEAR(e.at("angle"), 50.0 * std::pow(Rad(theta - 109.5), 2), 1e-6);
  EXPECT_NEAR(e.at("urey"), 10.0 * std::pow(s - 1.8, 2), 1e-6);
  EXPECT_NEAR(e.at("bond"), 0.0, 1e-9);
}

TEST(MmEnergy, DihedralSumsEveryMultiplicityOfItsTypes) {
  TempDir dir;
  dir.Write("t.rtf", Rtf(kNeutralAtoms, kChainBonds));
  dir.Write("t.prm", std::string(kChainBonded) +
                         "DIHEDRALS\nA B C D 1.0 1 0.0\nA B C D 0.5 3 180.0\nA B C D 0.25 2 30.0\n" +
                         kNoNonbonded);
  const Chain ch(75.0);
  dir.Write("t.pdb", Pdb4(ch.a, ch.b, ch.c, ch.d));
  const double phi = Rad(DiheDeg(ch.a, ch.b, ch.c, ch.d));
  const double expected = 1.0 * (1 + std::cos(phi)) + 0.5 * (1 + std::cos(3 * phi - kPi)) +
                          0.25 * (1 + std::cos(2 * phi - Rad(30.0)));
  EXPECT_NEAR(StartEnergies(dir).at("dihe"), expected, 1e-6);
}

TEST(MmEnergy, ExactDihedralBeatsWildcardInEitherOrder) {
  for (const bool wildcardFirst : {true, false}) {
    TempDir dir;
    // D1 and E1 both on C1: A1-B1-C1-D1 has exact parameters, A1-B1-C1-E1
    // only the wildcard ones.
    dir.Write("t.rtf", Rtf(std::string(kNeutralAtoms) + "ATOM E1 E 0.0\n",
                           std::string(kChainBonds) + "BOND C1 E1\n"));
    const std::string wild = "X B C X 2.0 2 0.0\n";
    const std::string exact = "D C B A 0.3 3 0.0\n";
    dir.Write("t.prm", std::string(kChainBonded) + "BONDS\nC E 0.0 1.0\n" +
                           "ANGLES\nB C E 0.0 100.0\nD C E 0.0 100.0\n" + "DIHEDRALS\n" +
                           (wildcardFirst ? wild + exact : exact + wild) + kNoNonbonded);
    const Chain ch(60.0);
    const P e{2.0, -0.9, -0.6};
    dir.Write("t.pdb", mm_testing::Pdb({{"A1", ch.a}, {"B1", ch.b}, {"C1", ch.c}, {"D1", ch.d}, {"E1", e}}));
    const double phiD = Rad(DiheDeg(ch.a, ch.b, ch.c, ch.d));
    const double phiE = Rad(DiheDeg(ch.a, ch.b, ch.c, e));
    const double expected = 0.3 * (1 + std::cos(3 * phiD)) + 2.0 * (1 + std::cos(2 * phiE));
    EXPECT_NEAR(StartEnergies(dir).at("dihe"), expected, 1e-6) << "wildcard first: " << wildcardFirst;
  }
}

TEST(MmEnergy, ImproperIsHarmonicInTheOutOfPlaneDihedral) {
  TempDir dir;
  dir.Write("t.rtf", Rtf(kNeutralAtoms, "BOND A1 B1 A1 C1 A1 D1\nIMPR A1 B1 C1 D1\n"));
  dir.Write("t.prm", std::string("BONDS\nA B 0.0 1.0\nA C 0.0 1.0\nA D 0.0 1.0\n") +
                         "ANGLES\nB A C 0.0 120.0\nB A D 0.0 120.0\nC A D 0.0 120.0\n" +
                         "IMPROPER\nX B C X 99.0 0 0.0\nA B C D 20.0 0 5.0\n" + kNoNonbonded);
  const P a{0, 0, 0.15}, b{1.0, 0, 0}, c{-0.5, 0.87, 0}, d{-0.5, -0.87, 0};
  dir.Write("t.pdb", Pdb4(a, b, c, d));
  const double psi = DiheDeg(a, b, c, d);
  EXPECT_NEAR(StartEnergies(dir).at("impr"), 20.0 * std::pow(Rad(psi - 5.0), 2), 1e-6);
}

TEST(MmEnergy, OneFourPairUsesTheOneFourLennardJonesWhereGiven) {
  const P a{-0.5, 1.2, 0.0}, b{0, 0, 0}, c{1.5, 0, 0}, d{2.0, 1.1, 0.7};
  const double r = Dist(a, d);
  for (const bool with14 : {true, false}) {
    TempDir dir;
    dir.Write("t.rtf", Rtf("ATOM A1 A 0.3\nATOM B1 B 0.0\nATOM C1 C 0.0\nATOM D1 D -0.2\n", kChainBonds));
    const std::string aLine = with14 ? "A 0.0 -0.2 2.0 0.0 -0.05 1.6\n" : "A 0.0 -0.2 2.0\n";
    dir.Write("t.prm", std::string(kChainBonded) + "DIHEDRALS\nA B C D 0.0 1 0.0\nNONBONDED\n" + aLine +
                           "B 0.0 -0.1 1.0\nC 0.0 -0.1 1.0\nD 0.0 -0.03 1.3\n");
    dir.Write("t.pdb", Pdb4(a, b, c, d));
    const double eps = with14 ? std::sqrt(0.05 * 0.03) : std::sqrt(0.2 * 0.03);
    const double rmin = with14 ? 1.6 + 1.3 : 2.0 + 1.3;
    const auto e = StartEnergies(dir);
    EXPECT_NEAR(e.at("elec"), kCoulomb * 0.3 * -0.2 / r, 1e-6);
    EXPECT_NEAR(e.at("vdw"), eps * (std::pow(rmin / r, 12) - 2 * std::pow(rmin / r, 6)), 1e-6)
        << "with 1-4 values: " << with14;
  }
}

TEST(MmEnergy, OneTwoAndOneThreePairsAreExcluded) {
  TempDir dir;
  dir.Write("t.rtf", Rtf("ATOM A1 A 0.5\nATOM B1 B -0.5\nATOM C1 C 0.5\n", "BOND A1 B1 B1 C1\n"));
  dir.Write("t.prm", "BONDS\nA B 0.0 1.0\nB C 0.0 1.0\nANGLES\nA B C 0.0 100.0\n"
                     "NONBONDED\nA 0.0 -0.2 2.0\nB 0.0 -0.2 2.0\nC 0.0 -0.2 2.0\n");
  dir.Write("t.pdb", mm_testing::Pdb({{"A1", {0, 0, 0}}, {"B1", {1, 0, 0}}, {"C1", {1, 1, 0}}}));
  const auto e = StartEnergies(dir);
  EXPECT_NEAR(e.at("elec"), 0.0, 1e-12);
  EXPECT_NEAR(e.at("vdw"), 0.0, 1e-12);
}

TEST(MmEnergy, NbfixOverridesTheCombinedPair) {
  TempDir dir;
  // Two atoms without a bond: an ordinary non-bonded pair.
  dir.Write("t.rtf", Rtf("ATOM A1 A 0.1\nATOM B1 B 0.2\nATOM C1 C 0.0\n", ""));
  dir.Write("t.prm", "NONBONDED\nA 0.0 -0.2 2.0\nB 0.0 -0.1 1.5\nC 0.0 -0.1 1.5\n"
                     "NBFIX\nB A -0.4 3.1\n");
  const P a{0, 0, 0}, b{3.3, 0, 0}, c{0, 3.6, 0};
  dir.Write("t.pdb", mm_testing::Pdb({{"A1", a}, {"B1", b}, {"C1", c}}));
  auto lj = [](double eps, double rmin, double r) {
    return eps * (std::pow(rmin / r, 12) - 2 * std::pow(rmin / r, 6));
  };
  const double expected = lj(0.4, 3.1, Dist(a, b)) + lj(std::sqrt(0.2 * 0.1), 3.5, Dist(a, c)) +
                          lj(0.1, 3.0, Dist(b, c));
  const auto e = StartEnergies(dir);
  EXPECT_NEAR(e.at("vdw"), expected, 1e-6);
  EXPECT_NEAR(e.at("elec"), kCoulomb * 0.1 * 0.2 / Dist(a, b), 1e-6);
}

TEST(MmEnergy, LaterParameterFileOverridesEarlierEntries) {
  TempDir dir;
  dir.Write("t.rtf", Rtf(kNeutralAtoms, kChainBonds));
  dir.Write("t.prm", std::string(kChainBonded) + "DIHEDRALS\nA B C D 1.0 1 0.0\nA B C D 0.5 3 0.0\n" +
                         kNoNonbonded);
  // Written like the system's trial parameter file: the dihedral entry is
  // replaced whole, the bond only in its values.
  dir.Write("add.prm", "BONDS\n      A       B  100.00000    1.00000 \n\nANGLES\n\nDIHEDRALS\n"
                       "      A       B       C       D    0.70000    2       0.0 \n\nIMPROPER\n\n");
  const Chain ch(40.0);
  dir.Write("t.pdb", Pdb4(ch.a, ch.b, ch.c, ch.d));
  const auto r = mm_testing::RunCharmm(
      dir, "topology t.rtf\nparameters t.prm\nparameters add.prm\ncoordinates t.pdb\njob minimize\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto e = Energies(r.out, "start");
  const double phi = Rad(DiheDeg(ch.a, ch.b, ch.c, ch.d));
  EXPECT_NEAR(e.at("dihe"), 0.7 * (1 + std::cos(2 * phi)), 1e-6);
  EXPECT_NEAR(e.at("bond"), 100.0 * std::pow(Dist(ch.a, ch.b) - 1.0, 2), 1e-6);
}

TEST(MmEnergy, ImproperWildcardsApplyWithoutAnExactEntry) {
  const P a{0, 0, 0.15}, b{1.0, 0, 0}, c{-0.5, 0.87, 0}, d{-0.5, -0.87, 0};
  const double psi2 = std::pow(Rad(DiheDeg(a, b, c, d)), 2);
  const std::vector<std::pair<std::string, double>> cases = {
      {"X B C D 5.0 0 0.0\nA X X D 20.0 0 0.0\n", 20.0},  // A X X D before X B C D
      {"X X C D 3.0 0 0.0\nX B C D 5.0 0 0.0\n", 5.0},    // X B C D before X X C D
      {"X X C D 3.0 0 0.0\n", 3.0}};
  for (const auto& [lines, k] : cases) {
    TempDir dir;
    dir.Write("t.rtf", Rtf(kNeutralAtoms, "BOND A1 B1 A1 C1 A1 D1\nIMPR A1 B1 C1 D1\n"));
    dir.Write("t.prm", std::string("BONDS\nA B 0.0 1.0\nA C 0.0 1.0\nA D 0.0 1.0\n") +
                           "ANGLES\nB A C 0.0 120.0\nB A D 0.0 120.0\nC A D 0.0 120.0\nIMPROPER\n" + lines +
                           kNoNonbonded);
    dir.Write("t.pdb", Pdb4(a, b, c, d));
    EXPECT_NEAR(StartEnergies(dir).at("impr"), k * psi2, 1e-6) << lines;
  }
}
