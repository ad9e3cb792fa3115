// Water probes: placement around probed atoms, the rigid move, and the QM
// interaction energies of CreateWaters.
#include "charge/water.h"

#include <gtest/gtest.h>

#include <cmath>

#include "charge/charge_support.h"
#include "io.h"
#include "support/molecule.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "util.h"

namespace {

using namespace testing_support;

void Probe(const CMolecule& m, const std::string& name, int waters, int geometry = 0) {
  COptCharge::CProbeAtom& p = OptCharge.GetNextProbedAtom();
  p.atom.push_back(name);
  p.iatom.push_back(m.AtomIndex(name));
  p.nWaters = waters;
  p.iProbedGeometry = geometry;
}

class WaterSetUp : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    OptCharge.AtomProbe.clear();
    h2o.h2o.clear();
  }
};

TEST_F(WaterSetUp, HydroxylOxygenGetsThreeWatersOnAFullTurnWithHydrogenFacingIt) {
  const CMolecule m = BondedMethanol();
  Probe(m, "O", 3);
  testing::internal::CaptureStdout();
  OptimizeCharge::SetUpWaters(m);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(h2o.size(), 3u);
  const double angles[] = {0.0, 120.0, 240.0};
  for (int k = 0; k < 3; ++k) {
    const WaterTIP3P& w = h2o[k];
    EXPECT_DOUBLE_EQ(w.h2oangle, angles[k]);
    EXPECT_EQ(w.iWaterProbeAtom, 1);
    EXPECT_EQ(w.aid1, 1);
    EXPECT_EQ(w.aid2, 0);  // C, the lowest-numbered neighbour
    EXPECT_EQ(w.aid3, 5);  // HO, the second neighbour
    EXPECT_EQ(w.aid4, -1);
    EXPECT_EQ(w.atm1, "O");
    EXPECT_EQ(w.atm2, "C");
    EXPECT_EQ(w.atm3, "HO");
    EXPECT_DOUBLE_EQ(w.h2oscale, 1.0);
  }
  EXPECT_EQ(out, "atoms :       O       C      HO [  0.000] [120.000] [240.000] \n");
}

TEST_F(WaterSetUp, PositiveHydrogenGetsAHalfTurnAndANeighbourOfItsNeighbour) {
  const CMolecule m = BondedMethanol();
  Probe(m, "HO", 2, 0);
  testing::internal::CaptureStdout();
  OptimizeCharge::SetUpWaters(m);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(h2o.size(), 2u);
  EXPECT_DOUBLE_EQ(h2o[0].h2oangle, 0.0);
  EXPECT_DOUBLE_EQ(h2o[1].h2oangle, 90.0);
  EXPECT_EQ(h2o[1].iWaterProbeAtom, 0);
  EXPECT_EQ(h2o[1].aid2, 1);  // O
  EXPECT_EQ(h2o[1].aid3, 0);  // C, bonded to O
}

TEST_F(WaterSetUp, AtomWithThreeBondsGetsItsThirdNeighbour) {
  CMolecule m = MakeMolecule({{"C", 6, 0, 0, 0}, {"O", 8, 1.21, 0, 0}, {"H1", 1, -0.55, 0.94, 0},
                              {"H2", 1, -0.55, -0.94, 0}});
  Bond(m, 0, 1);
  Bond(m, 0, 2);
  Bond(m, 0, 3);
  m.atom[0].q = 0.5;
  Probe(m, "C", 1);
  testing::internal::CaptureStdout();
  OptimizeCharge::SetUpWaters(m);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(h2o.size(), 1u);
  EXPECT_EQ(h2o[0].aid2, 1);
  EXPECT_EQ(h2o[0].aid3, 2);
  EXPECT_EQ(h2o[0].aid4, 3);
}

TEST_F(WaterSetUp, AtomWithFourBondsStopsNamingTheAtom) {
  const CMolecule m = BondedMethanol();
  Probe(m, "C", 1);
  testing::internal::CaptureStdout();
  const ProcessExit e = ExpectExit([&] { OptimizeCharge::SetUpWaters(m); });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err atom C has 4 covalent bonds: a water probe can only be placed on an atom with "
            "at most three bonds\n");
  EXPECT_EQ(h2o.size(), 0u);
}

TEST_F(WaterSetUp, ZeroChargeIsTreatedAsNegative) {
  CMolecule m = BondedMethanol();
  m.atom[1].q = 0.0;
  Probe(m, "O", 2);
  testing::internal::CaptureStdout();
  OptimizeCharge::SetUpWaters(m);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(h2o.size(), 2u);
  EXPECT_DOUBLE_EQ(h2o[1].h2oangle, 180.0);
  EXPECT_EQ(h2o[1].iWaterProbeAtom, 1);
}

TEST_F(WaterSetUp, TerminalAtomWithoutAnAngleStops) {
  CMolecule m = MakeMolecule({{"CL", 17, 0, 0, 0}, {"H", 1, 1.27, 0, 0}});
  Bond(m, 0, 1);
  Probe(m, "H", 1);
  testing::internal::CaptureStdout();
  const ProcessExit e = ExpectExit([&] { OptimizeCharge::SetUpWaters(m); });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err atom does not participate in any angle H\n forgot to define bonds in the "
            "topology?\n");
}

TEST_F(WaterSetUp, AtomWithoutBondsStops) {
  const CMolecule m = MakeMolecule({{"NA", 11, 0, 0, 0}, {"CL", 17, 2.5, 0, 0}});
  Probe(m, "NA", 1);
  const ProcessExit e = ExpectExit([&] { OptimizeCharge::SetUpWaters(m); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err atom NAdoes not have covalent bonds with any atom\n forgot to define bonds in "
            "the topology?\n");
}

TEST(WaterTIP3P, IsAThreeSiteTip3pMolecule) {
  const WaterTIP3P w;
  ASSERT_EQ(w.natm, 3);
  EXPECT_EQ(w.atom[0].name, "OH2");
  EXPECT_EQ(w.atom[1].type, "HT");
  EXPECT_DOUBLE_EQ(w.atom[0].q, -0.834);
  EXPECT_DOUBLE_EQ(w.atom[2].q, 0.417);
  EXPECT_EQ(w.atom[2].resn, "TIP3");
  EXPECT_EQ(w.atom[2].segid, "WAT");
  EXPECT_EQ(w.atom[2].serial, 3);
  EXPECT_DOUBLE_EQ(w.h2oscale, 1.0);
  EXPECT_DOUBLE_EQ(w.empdst, 2.5);
}

TEST(WaterTIP3P, TransMovesTheFacingAtomAlongItsLineKeepingTheShape) {
  const CMolecule s = BondedMethanol();
  WaterTIP3P w;
  w.aid1 = 1;  // O at (1.43, 0, 0)
  w.iWaterProbeAtom = 1;
  w.atom[0].xyz = {1.43, 3.5, 0.0};
  w.atom[1].xyz = {1.43, 3.0, 0.0};
  w.atom[2].xyz = {2.0, 3.7, 0.0};
  w.fill_rv();
  w.h2otrans(s, 1.8);
  EXPECT_NEAR(w.atom[1].rv.distance(s.atom[1].rv), 1.8, 1e-12);
  EXPECT_NEAR(w.atom[1].xyz[1], 1.8, 1e-12);
  EXPECT_NEAR(w.atom[0].xyz[1], 2.3, 1e-12);
  EXPECT_NEAR(w.atom[2].xyz[0], 2.0, 1e-12);
  EXPECT_NEAR(w.atom[2].rv.y, 2.5, 1e-12);
}

TEST(WaterTIP3P, TransToZeroDistanceStops) {
  const CMolecule s = BondedMethanol();
  WaterTIP3P w;
  w.aid1 = 1;
  w.atom[0].xyz = {1.43, 2.0, 0.0};
  w.fill_rv();
  const ProcessExit e = ExpectExit([&] { w.h2otrans(s, 0.0); });
  EXPECT_EQ(e.message, "$ err water-solute distance became too small\n");
  w.atom[0].xyz = {1.43, 0.0, 0.0};
  w.fill_rv();
  EXPECT_EQ(ExpectExit([&] { w.h2otrans(s, 2.0); }).status, 1);
}

// CreateWaters on outputs left by an earlier run: the start distance of each
// probe follows the previous result, capped at 4.0 A, and the interaction
// energy is taken against the molecule and the water monomer.
TEST_F(WaterSetUp, CreateWatersChainsStartDistancesAndComputesInteractionEnergies) {
  TempDir dir;
  fpath = dir.path().string() + "/";
  mol1 = BondedMethanol();
  mol1.QMEnergy[0] = -115.0;
  mol1.ActivateGeometry(0);
  Probe(mol1, "O", 3);
  ParamOptCharges.QMWaterEnergy = -76.0;
  const std::vector<double> centres = ComplexCentres(mol1, 5);
  const double rx[] = {5.3, 1.9, 2.0};
  const char* names[] = {"0.0", "120.0", "240.0"};
  std::filesystem::create_directories(dir.path() / "water1" / "O");
  for (int k = 0; k < 3; ++k) {
    dir.Write(std::string("water1/O/O.") + names[k] + ".out",
              ProbeOutput(rx[k], -191.01 - 0.001 * k, centres));
  }
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  OptimizeCharge::CreateWaters(mol1);
  const std::string out = testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(h2o.size(), 3u);
  EXPECT_NE(dir.Read("water1/O/O.0.0.inp").find("RX    2.20000\n"), std::string::npos);
  EXPECT_NE(dir.Read("water1/O/O.120.0.inp").find("RX    4.00000\n"), std::string::npos);
  EXPECT_NE(dir.Read("water1/O/O.240.0.inp").find("RX    1.90000\n"), std::string::npos);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 5.3);
  EXPECT_NEAR(h2o[0].QMInterEner, -0.01 * 627.51, 1e-9);
  EXPECT_NEAR(h2o[2].QMInterEner, -0.012 * 627.51, 1e-9);
  EXPECT_NE(out.find("$ creating waters\n"), std::string::npos);
  EXPECT_NE(out.find("$ computing ab-initio water interaction energies\n"), std::string::npos);
}

}  // namespace
