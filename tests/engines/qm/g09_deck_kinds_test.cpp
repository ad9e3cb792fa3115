// The stand-in QM program answers every kind of deck the system writes with
// an output the system's reader takes in full.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "engines/qm/g09_support.h"
#include "gaussian.h"
#include "mol.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

double Sum(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

bool EndsNormally(const std::string& out) {
  return out.find(" Normal termination of Gaussian") != std::string::npos &&
         out.find("Error termination") == std::string::npos;
}

// A single point gives energy, charges and dipole in the input frame; an
// optimisation from it lowers the energy and ends converged.
TEST(G09DeckKinds, SinglePointAndOptimisation) {
  const G09Run sp = RunG09(SinglePointDeck(Methanol()));
  ASSERT_EQ(sp.status, 0) << sp.out;
  EXPECT_TRUE(EndsNormally(sp.out));
  EXPECT_TRUE(sp.data.IfRead("energy"));
  EXPECT_LT(sp.data.prop.energy, -8.0);
  ASSERT_EQ(sp.data.prop.xyzInputOrient.size(), 18u);
  EXPECT_NEAR(sp.data.prop.xyzInputOrient[3 * 5], 0.86126, 1e-6);
  EXPECT_FALSE(sp.data.IfRead("coorStandardOrient"));  // NoSymm
  EXPECT_FALSE(sp.data.IfRead("force"));
  ASSERT_EQ(sp.data.prop.mullikenq.size(), 6u);
  EXPECT_NEAR(Sum(sp.data.prop.mullikenq), 0.0, 1e-4);
  EXPECT_TRUE(sp.data.IfRead("dipole"));
  EXPECT_GT(sp.data.prop.dipole.norma, 1.0);
  EXPECT_LT(sp.data.prop.dipole.norma, 3.0);

  const G09Run r = RunG09(OptimisationDeck(Methanol(), ""));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(EndsNormally(r.out));
  EXPECT_LT(r.data.prop.energy, sp.data.prop.energy);
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 18u);
  EXPECT_EQ(r.data.prop.xyzStandardOrient, r.data.prop.xyzInputOrient);  // no NoSymm: same frame printed
  EXPECT_EQ(r.data.prop.force.size(), 18u);
  EXPECT_TRUE(r.data.IfRead("convergence"));
  EXPECT_TRUE(r.data.prop.ifconverged);
  EXPECT_EQ(r.data.prop.mullikenq.size(), 6u);
  // The final geometry's tables come last: the SCF energy read is that of the
  // geometry read.
  const size_t lastInput = r.out.rfind("Input orientation:");
  const size_t lastScf = r.out.rfind("SCF Done:");
  EXPECT_LT(lastScf, lastInput);
}

TEST(G09DeckKinds, OptimisationWithGlobalConstraintsHoldsTheDihedralValueGiven) {
  const G09Run r = RunG09(OptimisationDeck(Methanol(), "3 1 2 6 170.00000 F\n"));
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& x = r.data.prop.xyzStandardOrient;
  ASSERT_EQ(x.size(), 18u);
  EXPECT_NEAR(std::abs(Dihedral(At(x, 2), At(x, 0), At(x, 1), At(x, 5))), 170.0, 0.5);
}

TEST(G09DeckKinds, PopulationGivesFitPointsPotentialsAndChargesSummingToTheCharge) {
  const G09Run r = RunG09(PopulationDeck(Methanol()));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(EndsNormally(r.out));
  ASSERT_EQ(r.data.prop.espq.size(), 6u);
  EXPECT_NEAR(Sum(r.data.prop.espq), 0.0, 1e-4);
  EXPECT_LT(r.data.prop.espq[1], -0.3);  // hydroxyl oxygen
  EXPECT_GT(r.data.prop.espq[5], 0.2);   // hydroxyl hydrogen
  ASSERT_GT(r.data.prop.espval.size(), 1000u);
  EXPECT_EQ(r.data.prop.espcoor.size(), 3 * r.data.prop.espval.size());
  // Every fit point lies outside 1.4 times the smallest radius of any atom.
  const auto atoms = Methanol();
  double closest = 1e9;
  for (size_t p = 0; p < r.data.prop.espval.size(); ++p) {
    for (const Atom& a : atoms) closest = std::min(closest, Distance(At(r.data.prop.espcoor, static_cast<int>(p)), a.xyz));
  }
  EXPECT_GT(closest, 1.4 * 1.2 - 1e-3);
}

TEST(G09DeckKinds, PopulationOfAnAnionSumsToMinusOne) {
  // Hydroxide-like formate would do; the hydroxyl-stripped methanol is methoxide.
  auto atoms = Methanol();
  atoms.pop_back();
  std::string deck = PopulationDeck(atoms);
  deck.replace(deck.find("\n0 1\n"), 5, "\n-1 1\n");
  deck.replace(deck.find("6/41=10,6/42=17"), 15, "6/41=4,6/42=2");
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  ASSERT_EQ(r.data.prop.espq.size(), 5u);
  EXPECT_NEAR(Sum(r.data.prop.espq), -1.0, 1e-4);
  EXPECT_NEAR(Sum(r.data.prop.mullikenq), -1.0, 1e-3);
}

// The constrained optimisation deck exactly as the system writes it.
class ConstrainedDeck : public ::testing::Test {
 protected:
  CMolecule Molecule(const std::vector<Atom>& atoms) {
    CMolecule m;
    for (const Atom& a : atoms) {
      CMolecule::CAtom atom;
      atom.atmnum = a.atomicNumber;
      atom.xyz = {a.xyz[0], a.xyz[1], a.xyz[2]};
      m.atom.push_back(atom);
      ++m.natm;
    }
    return m;
  }

  static CConstraint Frozen(std::vector<int> atoms) {
    CConstraint c;
    for (size_t k = 0; k < atoms.size(); ++k) c.aid[k] = atoms[k];
    return c;
  }

  Gaussian::GaussianOutputData Optimise(const std::vector<Atom>& atoms, const std::vector<CConstraint>& cons) {
    std::vector<Real> cr;
    for (const Atom& a : atoms) cr.insert(cr.end(), a.xyz.begin(), a.xyz.end());
    const std::string in = (dir_.path() / "scan.inp").string(), out = (dir_.path() / "scan.out").string();
    testing::internal::CaptureStdout();
    Gaussian::Optimize(Molecule(atoms), in, out, cr, cons,
                       [&](const std::string& line) { return testing_support::Run(line, dir_.path()).status; });
    testing::internal::GetCapturedStdout();
    Gaussian::GaussianOutputData w;
    Gaussian::ReadGaussianOutput(out, w);
    output_ = dir_.Read("scan.out");
    return w;
  }

  testing_support::TempDir dir_;
  std::string output_;
};

// Methanol with its hydroxyl hydrogen turned 60 degrees about the C-O axis.
std::vector<Atom> TwistedMethanol() {
  auto atoms = Methanol();
  const double c = std::cos(60.0 * M_PI / 180), s = std::sin(60.0 * M_PI / 180);
  const Point o = atoms[1].xyz;
  Point& h = atoms[5].xyz;
  const double x = h[0] - o[0], z = h[2] - o[2];
  h = {o[0] + x * c + z * s, h[1], o[2] - x * s + z * c};
  return atoms;
}

TEST_F(ConstrainedDeck, BondAngleAndDihedralConstraintsAreHeld) {
  const auto atoms = TwistedMethanol();
  const auto w = Optimise(atoms, {Frozen({0, 1}), Frozen({2, 0, 1}), Frozen({2, 0, 1, 5})});
  ASSERT_TRUE(w.IfRead("energy")) << output_;
  EXPECT_FALSE(w.prop.iferror);
  const auto& x = w.prop.xyzInputOrient;
  ASSERT_EQ(x.size(), 18u);
  EXPECT_FALSE(w.IfRead("coorStandardOrient"));
  EXPECT_NEAR(Distance(At(x, 0), At(x, 1)), Distance(atoms[0].xyz, atoms[1].xyz), 0.005);
  EXPECT_NEAR(Angle(At(x, 2), At(x, 0), At(x, 1)), Angle(atoms[2].xyz, atoms[0].xyz, atoms[1].xyz), 0.5);
  EXPECT_NEAR(Dihedral(At(x, 2), At(x, 0), At(x, 1), At(x, 5)),
              Dihedral(atoms[2].xyz, atoms[0].xyz, atoms[1].xyz, atoms[5].xyz), 0.5);
  EXPECT_EQ(w.prop.force.size(), 18u);
  EXPECT_EQ(w.prop.mullikenq.size(), 6u);
  EXPECT_TRUE(w.prop.ifconverged);
}

TEST_F(ConstrainedDeck, TwentyAtomMoleculeWithADihedralConstraint) {
  const auto atoms = Hexane();
  const auto w = Optimise(atoms, {Frozen({0, 1, 2, 3})});
  ASSERT_TRUE(w.IfRead("energy")) << output_;
  const auto& x = w.prop.xyzInputOrient;
  ASSERT_EQ(x.size(), 60u);
  EXPECT_NEAR(std::abs(Dihedral(At(x, 0), At(x, 1), At(x, 2), At(x, 3))), 180.0, 0.5);
  EXPECT_EQ(w.prop.mullikenq.size(), 20u);
}

// Water probes: the water centres follow the solute in the Z-matrix table.
struct ProbeCase {
  const char* name;
  std::vector<Atom> atoms;
  bool positive;
  int probed;
  std::vector<int> bonded;
  int third;
  int waterCentres;  // water centres in the Z-matrix table, dummies included
  int facing;        // centre (1-based, after the solute) that faces the probed atom
};

class WaterProbeDecks : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(WaterProbeDecks, GiveTheProbeDistanceAndARigidWaterNextToAFrozenSolute) {
  const ProbeCase& c = GetParam();
  const std::string deck = c.positive ? PositiveProbeDeck(c.atoms, c.probed, c.bonded, c.third, 2.1, 90.0)
                                      : NegativeProbeDeck(c.atoms, c.probed, c.bonded, c.third, 2.1, 90.0);
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(EndsNormally(r.out));
  EXPECT_FALSE(r.data.prop.iferror);
  ASSERT_TRUE(r.data.IfRead("distance"));
  ASSERT_TRUE(r.data.IfRead("energy"));
  EXPECT_GT(r.data.prop.distance, 1.5);
  EXPECT_LT(r.data.prop.distance, 3.2);
  const int n = static_cast<int>(c.atoms.size());
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 3u * static_cast<size_t>(n + c.waterCentres));
  EXPECT_FALSE(r.data.IfRead("coorInputOrient"));
  for (int i = 0; i < n; ++i) {
    EXPECT_NEAR(Distance(At(z, i), c.atoms[static_cast<size_t>(i)].xyz), 0.0, 1e-6) << "solute atom " << i + 1;
  }
  // The real water atoms: OH2, H1, H2 by their atomic numbers in the table.
  std::vector<int> oxygen, hydrogen;
  const auto rows = r.out.substr(r.out.rfind("Z-Matrix orientation:"));
  for (int k = n; k < n + c.waterCentres; ++k) {
    const std::string key = "\n" + std::string(7 - std::to_string(k + 1).size(), ' ') + std::to_string(k + 1);
    const size_t at = rows.find(key);
    ASSERT_NE(at, std::string::npos);
    const int number = std::stoi(rows.substr(at + 8, 11));
    if (number == 8) oxygen.push_back(k);
    if (number == 1) hydrogen.push_back(k);
  }
  ASSERT_EQ(oxygen.size(), 1u);
  ASSERT_EQ(hydrogen.size(), 2u);
  EXPECT_NEAR(Distance(At(z, oxygen[0]), At(z, hydrogen[0])), 0.9572, 1e-5);
  EXPECT_NEAR(Distance(At(z, oxygen[0]), At(z, hydrogen[1])), 0.9572, 1e-5);
  EXPECT_NEAR(Angle(At(z, hydrogen[0]), At(z, oxygen[0]), At(z, hydrogen[1])), 104.52, 1e-3);
  EXPECT_NEAR(Distance(At(z, c.probed - 1), At(z, n + c.facing - 1)), r.data.prop.distance, 1e-4);
  ASSERT_EQ(r.data.prop.mullikenq.size(), static_cast<size_t>(n + 3));
  EXPECT_NEAR(Sum(r.data.prop.mullikenq), 0.0, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    G09, WaterProbeDecks,
    ::testing::Values(ProbeCase{"PositiveOneBond", Methanol(), true, 6, {2}, 1, 5, 3},
                      ProbeCase{"PositiveThreeBonds", Formaldehyde(), true, 1, {2, 3, 4}, 0, 3, 1},
                      ProbeCase{"NegativeOneBond", Formaldehyde(), false, 2, {1}, 3, 6, 3},
                      ProbeCase{"NegativeTwoBonds", Methanol(), false, 2, {1, 6}, 0, 5, 1},
                      ProbeCase{"NegativeThreeBonds", Ammonia(), false, 1, {2, 3, 4}, 0, 5, 1}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

}  // namespace
