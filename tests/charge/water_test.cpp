// Water probes: placement around probed atoms, the rigid move, and the QM
// interaction energies of CreateWaters.
#include "charge/water.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;

void Probe(const CMolecule& m, const std::string& name, int waters) {
  COptCharge::CProbeAtom& p = OptCharge.GetNextProbedAtom();
  p.atom.push_back(name);
  p.iatom.push_back(m.AtomIndex(name));
  p.nWaters = waters;
}

TEST(WaterSetUp, WatersTurnAroundTheProbedAtomInItsFrame) {
  // Negative (or neutral) atoms get a full turn with H1 facing them, positive
  // ones a half turn with the oxygen facing them. The frame is the lowest
  // neighbour, then the next one, or else a neighbour of the neighbour.
  CMolecule neutralOxygen = BondedMethanol();
  neutralOxygen.atom[1].q = 0.0;
  CMolecule positiveCarbon = Formaldehyde();
  positiveCarbon.atom[0].q = 0.5;
  const struct {
    const char* name;
    CMolecule m;
    const char* atom;
    std::vector<double> angles;
    int facing, aid2, aid3, aid4;
  } rows[] = {
      {"hydroxyl oxygen", BondedMethanol(), "O", {0.0, 120.0, 240.0}, 1, 0, 5, -1},
      {"neutral oxygen", neutralOxygen, "O", {0.0, 180.0}, 1, 0, 5, -1},
      {"hydroxyl hydrogen", BondedMethanol(), "HO", {0.0, 90.0}, 0, 1, 0, -1},
      {"three bonds", positiveCarbon, "C", {0.0}, 0, 1, 2, 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ChargeStateGuard guard;
    Probe(row.m, row.atom, static_cast<int>(row.angles.size()));
    const std::string out = Printed([&] { OptimizeCharge::SetUpWaters(row.m); });
    if (&row == &rows[0]) {
      EXPECT_EQ(out, "atoms :       O       C      HO [  0.000] [120.000] [240.000] \n");
    }
    ASSERT_EQ(h2o.size(), row.angles.size());
    for (std::size_t k = 0; k < h2o.size(); ++k) {
      const WaterTIP3P& w = h2o[k];
      EXPECT_DOUBLE_EQ(w.h2oangle, row.angles[k]);
      EXPECT_EQ(w.iWaterProbeAtom, row.facing);
      EXPECT_EQ(w.aid1, row.m.AtomIndex(row.atom));
      EXPECT_EQ(w.aid2, row.aid2);
      EXPECT_EQ(w.aid3, row.aid3);
      EXPECT_EQ(w.aid4, row.aid4);
      EXPECT_EQ(w.atm2, row.m.atom[row.aid2].name);
      EXPECT_EQ(w.atm3, row.m.atom[row.aid3].name);
    }
  }
}

TEST(WaterSetUp, AtomsWithoutAUsableFrameEndTheProcess) {
  CMolecule hcl = MakeMolecule({{"CL", 17, 0, 0, 0}, {"H", 1, 1.27, 0, 0}});
  Bond(hcl, 0, 1);
  CMolecule missingBond = Formaldehyde();  // three bonds counted, two recorded
  missingBond.atom[0].bond[3] = missingBond.atom[3].bond[0] = 0;
  const struct {
    CMolecule m;
    const char* atom;
    const char* message;
  } rows[] = {
      {BondedMethanol(), "C",
       "$ err atom C has 4 covalent bonds: a water probe can only be placed on an atom with at most three bonds\n"},
      {hcl, "H", "$ err atom does not participate in any angle H\n forgot to define bonds in the topology?\n"},
      {MakeMolecule({{"NA", 11, 0, 0, 0}}), "NA",
       "$ err atom NAdoes not have covalent bonds with any atom\n forgot to define bonds in the topology?\n"},
      {missingBond, "C", "$ err cannot find the third bonded atom for : C\n"},
  };
  for (const auto& row : rows) {
    ChargeStateGuard guard;
    Probe(row.m, row.atom, 1);
    const ProcessExit e = ExpectExit([&] { Printed([&] { OptimizeCharge::SetUpWaters(row.m); }); });
    EXPECT_EQ(e.status, 1) << row.atom;
    EXPECT_EQ(e.message, row.message);
    EXPECT_EQ(h2o.size(), 0u);
  }
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
  // Neither the requested nor the current distance may be zero.
  for (const double to : {0.0, 2.0}) {
    if (to > 0.0) {
      w.atom[1].xyz = s.atom[1].xyz;
      w.fill_rv();
    }
    const ProcessExit e = ExpectExit([&] { w.h2otrans(s, to); });
    EXPECT_EQ(e.status, 1) << to;
    EXPECT_EQ(e.message, "$ err water-solute distance became too small\n");
  }
}

// CreateWaters on outputs left by an earlier run: every probe starts at the
// same distance, whatever the results of the others, and the interaction
// energy is taken against the molecule and the water monomer.
TEST(CreateWaters, StartsEveryProbeAtOneDistanceAndComputesInteractionEnergies) {
  ChargeStateGuard guard;
  TempDir dir;
  fpath = dir.path().string() + "/";
  mol1 = BondedMethanol();
  mol1.QMEnergy[0] = -115.0;
  mol1.ActivateGeometry(0);
  Probe(mol1, "O", 3);
  ParamOptCharges.QMWaterEnergy = -76.0;
  CharmmTopPar.AddNewParam(
      dir.Write("water.prm", "NONBONDED\nHT 0.0 -0.046 0.2245\nOT 0.0 -0.1521 1.7682\n"));
  const std::vector<double> centres = ComplexCentres(mol1, 5);
  const double rx[] = {5.3, 1.9, 2.0};
  const char* names[] = {"0.0", "120.0", "240.0"};
  std::filesystem::create_directories(dir.path() / "water1" / "O");
  for (int k = 0; k < 3; ++k) {
    dir.Write(std::string("water1/O/O.") + names[k] + ".out", ProbeOutput(rx[k], -191.01 - 0.001 * k, centres));
  }
  testing::internal::CaptureStderr();
  const std::string out = Printed([] { OptimizeCharge::CreateWaters(mol1); });
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(h2o.size(), 3u);
  for (const char* name : names)
    EXPECT_TRUE(Contains(dir.Read(std::string("water1/O/O.") + name + ".inp"), "RX    2.20000\n"));
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 5.3);
  EXPECT_NEAR(h2o[0].QMInterEner, -0.01 * 627.51, 1e-9);
  EXPECT_NEAR(h2o[2].QMInterEner, -0.012 * 627.51, 1e-9);
  EXPECT_TRUE(Contains(out, "$ creating waters\n"));
  EXPECT_TRUE(Contains(out, "$ computing ab-initio water interaction energies\n"));
}

}  // namespace
