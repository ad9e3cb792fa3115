// The stand-in QM program with QM2FF_QM_ENGINE=psi4: the route's method and
// basis computed by psi4. These tests skip when psi4 is not installed. (The
// script cases hold the engines and methods it refuses.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>

#include "engines/qm/g09_support.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

const std::string kWater = "0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n";
const std::string kError = " Error termination via Lnk1e in the g09 stand-in: ";

class G09Psi4 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v psi4 >/dev/null 2>&1") != 0) GTEST_SKIP() << "psi4 is not installed";
    setenv("QM2FF_QM_ENGINE", "psi4", 1);
  }
  void TearDown() override { unsetenv("QM2FF_QM_ENGINE"); }
};

// HF/6-31G* with Cartesian d functions, as the real program computes it; a
// water probe on the methanol hydroxyl finds its hydrogen bond; psi4 leaves no
// files behind; a basis psi4 lacks ends the job.
TEST_F(G09Psi4, WaterEnergyAndAMethanolWaterProbe) {
  testing_support::TempDir scratch;
  setenv("TMPDIR", scratch.path().c_str(), 1);
  const G09Run water = RunG09("#HF/6-31G* NoSymm\n\nt\n\n" + kWater);
  const G09Run methanol = RunG09(SinglePointDeck(Methanol()));
  const G09Run probe = RunG09(ProbeDeck(Methanol(), MethanolBonds(), 6, true, 2.2, 90.0));
  const G09Run missing = RunG09("#HF/7-31G*\n\nt\n\n" + kWater);
  unsetenv("TMPDIR");
  for (const G09Run* r : {&water, &methanol, &probe}) ASSERT_EQ(r->status, 0) << r->out;
  EXPECT_NEAR(water.data.prop.energy, -76.0105300, 1e-6);
  EXPECT_NE(water.out.find(" SCF Done:  E(RHF) =  -76.0105"), std::string::npos) << water.out;
  EXPECT_GE(probe.data.prop.distance, 1.8);
  EXPECT_LE(probe.data.prop.distance, 2.2);
  const double interaction = (probe.data.prop.energy - methanol.data.prop.energy - water.data.prop.energy) * 627.51;
  EXPECT_GE(interaction, -7.0);
  EXPECT_LE(interaction, -4.0);
  EXPECT_EQ(probe.files, (std::set<std::string>{"job.inp", "job.out"}));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(LastLine(missing.out), kError + "psi4 failed: no basis set \"7-31G*\" for every element of the molecule");
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

// Frozen bond, angle and dihedral stay, a frozen centre does not move, the
// rest relaxes; MP2 adds its energy line after the SCF line.
TEST_F(G09Psi4, ConstrainedMp2OptimisationWithAFrozenCentre) {
  const auto atoms = Methanol();
  std::string body;
  for (size_t i = 0; i < atoms.size(); ++i) body += AtomLines({atoms[i]}, i == 2 ? -1 : 0);
  const G09Run r = RunG09("#MP2/6-31G* Opt=ModRedun NoSymm\n\nconstrained\n\n0 1\n" + body + "\n1 2 F\n2 1 4 F\n4 1 2 6 F\n\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(r.data.prop.ifconverged);
  EXPECT_NE(r.out.find("\n SCF Done:  E(RHF) =  -115."), std::string::npos);
  EXPECT_NE(r.out.find(" EUMP2 =    -0.1153"), std::string::npos) << r.out;
  const auto& x = r.data.prop.xyzInputOrient;
  ASSERT_EQ(x.size(), 18u);
  const auto p = [&](int k) { return atoms[static_cast<size_t>(k)].xyz; };
  EXPECT_NEAR(Dist(At(x, 2), p(2)), 0.0, 1e-6);
  EXPECT_NEAR(Dist(At(x, 0), At(x, 1)), Dist(p(0), p(1)), 1e-4);
  EXPECT_NEAR(AngleDeg(At(x, 1), At(x, 0), At(x, 3)), AngleDeg(p(1), p(0), p(3)), 0.01);
  EXPECT_NEAR(DiheDeg(At(x, 3), At(x, 0), At(x, 1), At(x, 5)), DiheDeg(p(3), p(0), p(1), p(5)), 0.01);
  EXPECT_GT(std::abs(Dist(At(x, 1), At(x, 5)) - Dist(p(1), p(5))), 1e-3);
}

// Merz-Kollman charges of the psi4 potential: the hydroxyl polarity of methanol.
TEST_F(G09Psi4, Population) {
  const G09Run r = RunG09(PopulationDeck(Methanol()));
  ASSERT_EQ(r.status, 0) << r.out;
  ASSERT_EQ(r.data.prop.espq.size(), 6u);
  EXPECT_NEAR(std::accumulate(r.data.prop.espq.begin(), r.data.prop.espq.end(), 0.0), 0.0, 1e-4);
  EXPECT_LT(r.data.prop.espq[1], -0.55);
  EXPECT_GT(r.data.prop.espq[5], 0.35);
  EXPECT_GT(r.data.prop.espval.size(), 1000u);
  EXPECT_NEAR(r.data.prop.dipole.norma, 1.9, 0.3);
}

}  // namespace
