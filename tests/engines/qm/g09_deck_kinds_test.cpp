// The stand-in QM program answers every kind of deck the system writes with
// an output the system's reader takes in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "engines/qm/g09_support.h"
#include "gaussian.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

double Sum(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

void ExpectNormalEnd(const G09Run& r) {
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(LastLine(r.out), " Normal termination of Gaussian 09.");
  EXPECT_FALSE(r.data.prop.iferror);
}

// A single point gives energy, charges and dipole in the input frame. (The
// optimisation: G09Script.OptimisationSinglePointAndPopulationRunOnceAndAreReused.)
TEST(G09DeckKinds, SinglePoint) {
  const G09Run sp = RunG09(SinglePointDeck(Methanol()));
  ExpectNormalEnd(sp);
  EXPECT_LT(sp.data.prop.energy, -8.0);
  ASSERT_EQ(sp.data.prop.xyzInputOrient.size(), 18u);
  EXPECT_NEAR(sp.data.prop.xyzInputOrient[3 * 5], 0.86126, 1e-6);
  EXPECT_FALSE(sp.data.IfRead("coorStandardOrient"));  // NoSymm
  EXPECT_FALSE(sp.data.IfRead("force"));
  ASSERT_EQ(sp.data.prop.mullikenq.size(), 6u);
  EXPECT_NEAR(Sum(sp.data.prop.mullikenq), 0.0, 1e-4);
  EXPECT_GT(sp.data.prop.dipole.norma, 1.0);
  EXPECT_LT(sp.data.prop.dipole.norma, 3.0);
}

// Fit points, potentials and charges summing to the total charge, for the
// neutral molecule and for its anion with fewer layers and points.
TEST(G09DeckKinds, PopulationOfAMoleculeAndOfAnAnion) {
  const G09Run r = RunG09(PopulationDeck(Methanol()));
  ExpectNormalEnd(r);
  ASSERT_EQ(r.data.prop.espq.size(), 6u);
  EXPECT_NEAR(Sum(r.data.prop.espq), 0.0, 1e-4);
  EXPECT_LT(r.data.prop.espq[1], -0.3);  // hydroxyl oxygen
  EXPECT_GT(r.data.prop.espq[5], 0.2);   // hydroxyl hydrogen
  ASSERT_GT(r.data.prop.espval.size(), 1000u);
  EXPECT_EQ(r.data.prop.espcoor.size(), 3 * r.data.prop.espval.size());
  EXPECT_TRUE(r.data.IfRead("dipole"));
  // Every fit point lies outside 1.4 times the smallest radius of any atom.
  double closest = 1e9;
  const auto atoms = Methanol();
  for (int p = 0; p < static_cast<int>(r.data.prop.espval.size()); ++p) {
    for (const Atom& a : atoms) closest = std::min(closest, Dist(At(r.data.prop.espcoor, p), a.xyz));
  }
  EXPECT_GT(closest, 1.4 * 1.2 - 1e-3);

  auto methoxide = Methanol();
  methoxide.pop_back();
  std::string deck = PopulationDeck(methoxide);
  deck.replace(deck.find("\n0 1\n"), 5, "\n-1 1\n");
  deck.replace(deck.find("6/41=10,6/42=17"), 15, "6/41=4,6/42=2");
  const G09Run anion = RunG09(deck);
  ExpectNormalEnd(anion);
  ASSERT_EQ(anion.data.prop.espq.size(), 5u);
  EXPECT_NEAR(Sum(anion.data.prop.espq), -1.0, 1e-4);
  EXPECT_NEAR(Sum(anion.data.prop.mullikenq), -1.0, 1e-3);
  EXPECT_LT(anion.data.prop.espval.size(), r.data.prop.espval.size());
}

// A dihedral constraint with a value takes that value. (The constraints of
// the system's own scans: BondedQMReferences.MethanolForceConstantsAfterItsSoftDihedralScan.)
TEST(G09DeckKinds, ConstrainedOptimisationHoldsTheDihedral) {
  const G09Run global = RunG09(OptimisationDeck(Methanol(), "3 1 2 6 170.00000 F\n"));
  ASSERT_EQ(global.status, 0) << global.out;
  const auto& g = global.data.prop.xyzStandardOrient;
  ASSERT_EQ(g.size(), 18u);
  EXPECT_NEAR(std::abs(DiheDeg(At(g, 2), At(g, 0), At(g, 1), At(g, 5))), 170.0, 0.5);
}

// The system's water-probe decks: the water centres follow the solute in the Z-matrix table.
struct ProbeCase {
  const char* name;
  std::vector<Atom> atoms;
  Bonds bonds;
  bool positive;
  int probed;
  int waterCentres;           // water centres in the Z-matrix table, dummies included
  std::array<int, 3> water;   // OH2, H1, H2 among them (1-based, after the solute)
};
void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class WaterProbeDecks : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(WaterProbeDecks, GiveTheProbeDistanceAndARigidWaterNextToAFrozenSolute) {
  const ProbeCase& c = GetParam();
  const G09Run r = RunG09(ProbeDeck(c.atoms, c.bonds, c.probed, c.positive, 2.1, 90.0));
  ExpectNormalEnd(r);
  ASSERT_TRUE(r.data.IfRead("distance"));
  ASSERT_TRUE(r.data.IfRead("energy"));
  EXPECT_GT(r.data.prop.distance, 1.5);
  EXPECT_LT(r.data.prop.distance, 3.2);
  const int n = static_cast<int>(c.atoms.size());
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 3u * static_cast<size_t>(n + c.waterCentres));
  EXPECT_FALSE(r.data.IfRead("coorInputOrient"));
  for (int i = 0; i < n; ++i) {
    EXPECT_NEAR(Dist(At(z, i), c.atoms[static_cast<size_t>(i)].xyz), 0.0, 1e-6) << "solute atom " << i + 1;
  }
  // A rigid water whose oxygen (positive) or first hydrogen (negative) faces the probed atom.
  const auto w = [&](int k) { return At(z, n + c.water[static_cast<size_t>(k)] - 1); };
  EXPECT_NEAR(Dist(w(0), w(1)), 0.9572, 1e-5);
  EXPECT_NEAR(Dist(w(0), w(2)), 0.9572, 1e-5);
  EXPECT_NEAR(AngleDeg(w(1), w(0), w(2)), 104.52, 1e-3);
  EXPECT_NEAR(Dist(At(z, c.probed - 1), w(c.positive ? 0 : 1)), r.data.prop.distance, 1e-4);
  ASSERT_EQ(r.data.prop.mullikenq.size(), static_cast<size_t>(n + 3));
  EXPECT_NEAR(Sum(r.data.prop.mullikenq), 0.0, 1e-3);
}

const Bonds kCentreAndThree = {{1, 2}, {1, 3}, {1, 4}};

INSTANTIATE_TEST_SUITE_P(
    G09, WaterProbeDecks,
    ::testing::Values(ProbeCase{"PositiveOneBond", Methanol(), MethanolBonds(), true, 6, 5, {3, 4, 5}},
                      ProbeCase{"PositiveThreeBonds", Formaldehyde(), kCentreAndThree, true, 1, 3, {1, 2, 3}},
                      ProbeCase{"NegativeOneBond", Formaldehyde(), kCentreAndThree, false, 2, 6, {5, 3, 6}},
                      ProbeCase{"NegativeTwoBonds", Methanol(), MethanolBonds(), false, 2, 5, {4, 1, 5}},
                      ProbeCase{"NegativeThreeBonds", Ammonia(), kCentreAndThree, false, 1, 5, {4, 1, 5}}));

}  // namespace

// A stop signal while xtb computes: g09 says so, leaves the output without a
// termination line (so that qm2ff runs the job again) and ends by the signal.
TEST(G09Signal, AStopSignalEndsTheJobWithoutATerminationLine) {
  testing_support::TempDir dir;
  dir.Write("pop.inp", PopulationDeck(Methanol()));
  const auto r = testing_support::Run(
      "g09 < pop.inp > pop.out 2> pop.err & job=$!; sleep 0.5; kill -TERM $job; wait $job; echo $?",
      dir.path());
  EXPECT_EQ(r.out, "143\n");
  EXPECT_EQ(dir.Read("pop.err"),
            "g09: interrupted by signal 15 (Terminated); the output has no termination line\n");
  EXPECT_EQ(dir.Read("pop.out").find("termination"), std::string::npos);
}
