// Start energies of the stand-in MM program against values worked out by
// hand, one small residue T per kind of term.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engines/mm/mm_support.h"

using mm_testing::DiheDeg;
using mm_testing::Dist;
using mm_testing::P;
using mm_testing::Structure;
using mm_testing::kCoulomb;
using mm_testing::kPi;
using mm_testing::Lj;
using mm_testing::Rad;

namespace {

// A point as the PDB file holds it (3 decimals).
P R3(double x, double y, double z) {
  return {std::round(x * 1000) / 1000, std::round(y * 1000) / 1000, std::round(z * 1000) / 1000};
}

struct Case {
  std::string name;
  std::string atoms;  // ATOM lines of residue T: atom A1 of type A, B1 of type B, ...
  std::string body;   // its bond and improper lines
  std::string prm;
  Structure xyz;
  std::map<std::string, double> expected;  // terms of the start energy
  std::string later = "";                  // a parameter file read after prm
};

const char* kNeutral = "ATOM A1 A 0.0\nATOM B1 B 0.0\nATOM C1 C 0.0\nATOM D1 D 0.0\n";
// Non-bonded values of zero strength, so that only the bonded terms count.
const char* kNoNonbonded =
    "NONBONDED\nA 0.0 0.0 1.0\nB 0.0 0.0 1.0\nC 0.0 0.0 1.0\nD 0.0 0.0 1.0\nE 0.0 0.0 1.0\n";
// A chain A1-B1-C1-D1 and a star of B1, C1, D1 about A1, bond and angle
// terms of zero strength.
const char* kChain = "BOND A1 B1 B1 C1 C1 D1\n";
const std::string kChainPrm =
    "BONDS\nA B 0.0 1.0\nB C 0.0 1.0\nC D 0.0 1.0\nANGLES\nA B C 0.0 100.0\nB C D 0.0 100.0\n";
const char* kStar = "BOND A1 B1 A1 C1 A1 D1\nIMPR A1 B1 C1 D1\n";
const std::string kStarPrm =
    "BONDS\nA B 0.0 1.0\nA C 0.0 1.0\nA D 0.0 1.0\nANGLES\nB A C 0.0 120.0\nB A D 0.0 120.0\nC A D 0.0 120.0\n";

std::vector<Case> Cases() {
  const P a{-0.5, 1.2, 0.0}, b{0, 0, 0}, c{1.5, 0, 0};
  // The chain with D1 at a dihedral of phi degrees from A1 about B1-C1.
  auto chain = [&](double phi) {
    const P d = R3(2.0, 1.3 * std::cos(Rad(phi)), 1.3 * std::sin(Rad(phi)));
    return Structure{{"A1", a}, {"B1", b}, {"C1", c}, {"D1", d}};
  };
  auto phi = [&](const P& d) { return Rad(DiheDeg(a, b, c, d)); };
  const Structure c75 = chain(75.0), c40 = chain(40.0);
  const double phi75 = phi(c75.at("D1"));
  const Structure star = {
      {"A1", {0, 0, 0.15}}, {"B1", {1.0, 0, 0}}, {"C1", {-0.5, 0.87, 0}}, {"D1", {-0.5, -0.87, 0}}};
  const double psi = Rad(DiheDeg(star.at("A1"), star.at("B1"), star.at("C1"), star.at("D1")));

  std::vector<Case> cases = {
      {"dihedral sums every multiplicity", kNeutral, kChain,
       kChainPrm + "DIHEDRALS\nA B C D 1.0 1 0.0\nA B C D 0.5 3 180.0\nA B C D 0.25 2 30.0\n" + kNoNonbonded,
       c75,
       {{"dihe", 1.0 * (1 + std::cos(phi75)) + 0.5 * (1 + std::cos(3 * phi75 - kPi)) +
                     0.25 * (1 + std::cos(2 * phi75 - Rad(30.0)))}}},
      {"improper, exact before wildcard", kNeutral, kStar,
       kStarPrm + "IMPROPER\nX B C X 99.0 0 0.0\nA B C D 20.0 0 5.0\n" + kNoNonbonded, star,
       {{"impr", 20.0 * std::pow(psi - Rad(5.0), 2)}}},
      {"improper A X X D before X B C D", kNeutral, kStar,
       kStarPrm + "IMPROPER\nX B C D 5.0 0 0.0\nA X X D 20.0 0 0.0\n" + kNoNonbonded, star,
       {{"impr", 20.0 * psi * psi}}},
      {"improper X B C D before X X C D", kNeutral, kStar,
       kStarPrm + "IMPROPER\nX X C D 3.0 0 0.0\nX B C D 5.0 0 0.0\n" + kNoNonbonded, star, {{"impr", 5.0 * psi * psi}}},
      {"improper X X C D alone", kNeutral, kStar, kStarPrm + "IMPROPER\nX X C D 3.0 0 0.0\n" + kNoNonbonded, star,
       {{"impr", 3.0 * psi * psi}}},
      // Two atoms without a bond: an ordinary non-bonded pair.
      {"NBFIX", "ATOM A1 A 0.1\nATOM B1 B 0.2\nATOM C1 C 0.0\n", "",
       "NONBONDED\nA 0.0 -0.2 2.0\nB 0.0 -0.1 1.5\nC 0.0 -0.1 1.5\nNBFIX\nB A -0.4 3.1\n",
       {{"A1", {0, 0, 0}}, {"B1", {3.3, 0, 0}}, {"C1", {0, 3.6, 0}}},
       {{"vdw", Lj(0.4, 3.1, 3.3) + Lj(std::sqrt(0.2 * 0.1), 3.5, 3.6) + Lj(0.1, 3.0, Dist({3.3, 0, 0}, {0, 3.6, 0}))},
        {"elec", kCoulomb * 0.1 * 0.2 / 3.3}}},
      // Written like the system's trial parameter file: the dihedral entry is
      // replaced whole, the bond only in its values.
      {"later parameter file overrides", kNeutral, kChain,
       kChainPrm + "DIHEDRALS\nA B C D 1.0 1 0.0\nA B C D 0.5 3 0.0\n" + kNoNonbonded, c40,
       {{"dihe", 0.7 * (1 + std::cos(2 * phi(c40.at("D1"))))}, {"bond", 100.0 * std::pow(Dist(a, b) - 1.0, 2)}},
       "BONDS\n      A       B  100.00000    1.00000 \n\nANGLES\n\nDIHEDRALS\n"
       "      A       B       C       D    0.70000    2       0.0 \n\nIMPROPER\n\n"}};

  // D1 and E1 both on C1: A1-B1-C1-D1 has exact parameters, A1-B1-C1-E1 only
  // the wildcard ones.
  Structure five = chain(60.0);
  five["E1"] = {2.0, -0.9, -0.6};
  const std::string wild = "X B C X 2.0 2 0.0\n", exact = "D C B A 0.3 3 0.0\n";
  for (const bool wildFirst : {true, false})
    cases.push_back({wildFirst ? "wildcard dihedral before exact" : "exact dihedral before wildcard",
                     std::string(kNeutral) + "ATOM E1 E 0.0\n", std::string(kChain) + "BOND C1 E1\n",
                     kChainPrm + "BONDS\nC E 0.0 1.0\nANGLES\nB C E 0.0 100.0\nD C E 0.0 100.0\nDIHEDRALS\n" +
                         (wildFirst ? wild + exact : exact + wild) + kNoNonbonded,
                     five,
                     {{"dihe", 0.3 * (1 + std::cos(3 * phi(five["D1"]))) +
                                   2.0 * (1 + std::cos(2 * phi(five["E1"])))}}});

  // The 1-4 pair A1-D1 takes the 1-4 values of A. (Bond, Urey-Bradley angle,
  // ordinary 1-4 pairs and the exclusion of 1-2 and 1-3 pairs: the methanol
  // energy of MmMethanol.EnergiesMatchTheHandCalculationAndTheMinimumIsFlat.)
  const Structure bent = {{"A1", a}, {"B1", b}, {"C1", c}, {"D1", {2.0, 1.1, 0.7}}};
  const double r = Dist(a, bent.at("D1"));
  cases.push_back({"1-4 pair with 1-4 Lennard-Jones", "ATOM A1 A 0.3\nATOM B1 B 0.0\nATOM C1 C 0.0\nATOM D1 D -0.2\n",
                   kChain,
                   kChainPrm + "DIHEDRALS\nA B C D 0.0 1 0.0\nNONBONDED\nA 0.0 -0.2 2.0 0.0 -0.05 1.6\n"
                               "B 0.0 -0.1 1.0\nC 0.0 -0.1 1.0\nD 0.0 -0.03 1.3\n",
                   bent,
                   {{"elec", kCoulomb * 0.3 * -0.2 / r}, {"vdw", Lj(std::sqrt(0.05 * 0.03), 1.6 + 1.3, r)}}});
  return cases;
}

}  // namespace

TEST(MmEnergy, StartEnergyOfEachTermKindMatchesTheHandCalculation) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    testing_support::TempDir dir;
    dir.Write("t.rtf", "* test topology\n*\nMASS 1 A 12.0\nMASS 2 B 12.0\nMASS 3 C 12.0\nMASS 4 D 1.0\nMASS 5 E 1.0\n"
                       "RESI T 0.0\n" + c.atoms + c.body + "END\n");
    dir.Write("t.prm", c.prm);
    dir.Write("later.prm", c.later);
    dir.Write("t.pdb", mm_testing::Pdb(c.xyz));
    const auto r = mm_testing::RunCharmm(dir, "topology t.rtf\nparameters t.prm\nparameters later.prm\n"
                                              "coordinates t.pdb\njob minimize\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto e = mm_testing::Energies(r.out, "start");
    ASSERT_FALSE(e.empty()) << r.out;
    for (const auto& [term, value] : c.expected) EXPECT_NEAR(e[term], value, 1e-6) << term;
  }
}
