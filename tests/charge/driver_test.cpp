// The charge-fit driver: start charges, single evaluation, rounding and snapshots.
#include "charge/driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "charge/charge_support.h"
#include "errors.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

class ChargeDriver : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    CharmmTopPar = Charmm();
    CharmmTopPar.params.push_back(std::string(QM2FF_SOURCE_DIR) + "/tests/data/charge/nonbonded.prm");
    mol1 = BondedMethanol();
    mol1.QMEnergy[0] = -115.0;
    iStepOpt = 0;
  }
  // One probe on HO with its QM output already on disk: the water oxygen
  // 1.9 A beyond HO along x, its hydrogens further out.
  void ProbeHydroxylHydrogen() {
    COptCharge::CProbeAtom& p = OptCharge.GetNextProbedAtom();
    p.atom = {"HO"};
    p.iatom = {5};
    p.nWaters = 1;
    fs::create_directories(dir.path() / "water1" / "HO");
    std::vector<double> c = ComplexCentres(mol1, 5);
    const double hx = mol1.atom[5].xyz[0], hy = mol1.atom[5].xyz[1];
    const std::size_t o = 3 * (mol1.natm + 2);
    const double water[] = {hx + 1.9, hy, 0.0, hx + 2.5, hy + 0.75, 0.0, hx + 2.5, hy - 0.75, 0.0};
    std::copy(std::begin(water), std::end(water), c.begin() + o);
    dir.Write("water1/HO/HO.0.0.out", ProbeOutput(1.9, -191.008, c));
    ParamOptCharges.QMWaterEnergy = -76.0;
  }
  std::string err;  // the warnings of the last fit
  std::string Fit() {
    testing::internal::CaptureStderr();
    const std::string out = Printed([] { OptimizeCharge::OptimizeCharges(mol1); });
    err = testing::internal::GetCapturedStderr();
    return out;
  }
};

// With `single`: one evaluation from the start charges of a file (its
// restraint classes as penalties), one report, the net charge corrected.
TEST_F(ChargeDriver, SingleEvaluatesOnceFromStartChargesOfAFileAndReports) {
  ProbeHydroxylHydrogen();
  ParamOptCharges.skipOpt = true;
  ParamOptCharges.chargeInitFile = "start.str";
  // C 0.03 off the net charge; a negative class is not taken.
  dir.Write("start.str", "* start\nATOM C CG331 -0.01 ! 0.5\natom ho HGP1 0.42 ! -1\nBOND C O\n");
  dir.Write("charge.rel", "f O -0.65\n");
  const std::string out = Fit();
  EXPECT_EQ(out.find("step "), out.rfind("step ")) << out;
  EXPECT_TRUE(Contains(out, "$ reading initial charges from " + fpath + "/start.str\n"));
  EXPECT_TRUE(Contains(out, "step       0 water energy"));
  EXPECT_FALSE(Contains(out, "$ Optimization of charges started"));
  EXPECT_TRUE(Contains(out, "$ Statistics of water interactions :"));
  EXPECT_TRUE(Contains(out, "$ for water : \n"));
  EXPECT_DOUBLE_EQ(mol1.atom[0].qpenalty, 0.5);
  EXPECT_DOUBLE_EQ(mol1.atom[5].qpenalty, 1000.0);
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.65);  // fixed by the relations file
  // Start charges as given, optimised ones after the net-charge correction.
  EXPECT_NEAR(mol1.atom[0].qstart, -0.01, 1e-12);
  EXPECT_NEAR(mol1.atom[0].qopt, -0.016, 1e-12);
  EXPECT_NEAR(mol1.atom[5].qopt, 0.414, 1e-12);
  EXPECT_TRUE(Contains(out, "$ Total charge computed / given :   0.000 /   0.000 \n")) << out;
  // QM energy of the water: (-191.008 + 115 + 76) * 627.51, scaled by 1.16.
  EXPECT_TRUE(Contains(out, "   1 &       1  &       HO-O  &    -5.82 |")) << out;
}

TEST_F(ChargeDriver, WithoutProbesPopulationChargesStartTheIndependentAtoms) {
  ParamOptCharges.skipOpt = true;
  ParamOptCharges.startFromQPOP = true;
  for (auto& a : mol1.atom) a.qpop = 0.01;
  mol1.atom[0].qpop = 3.0;
  mol1.atom[1].qpop = -0.05;
  dir.Write("charge.rel", "f O -0.6\n");
  const std::string out = Fit();
  EXPECT_DOUBLE_EQ(mol1.atom[1].qstart, -0.6);
  EXPECT_DOUBLE_EQ(mol1.atom[0].qstart, 3.0);
  // Five free charges against the net charge and a dipole; C ends beyond 1.2 e.
  EXPECT_EQ(err,
            "$ warning: the 4 data of the fit (water interaction energies, dipole components, the "
            "net charge) cannot fix the 5 free charges of C H1 H2 H3 HO: tie atoms of like "
            "chemistry in the charge-relations file (q A B 1.0), restrain charges to their start "
            "values (a restraint class below 30 in the start charges or the topology), probe more "
            "atoms or weight the ESP\n"
            "$ warning: fitted charges beyond +-1.2 e: C (2.512); check the QM data, and tie or "
            "restrain these atoms\n");
  EXPECT_FALSE(Contains(out, "$ for water"));
  EXPECT_TRUE(Contains(out, "$ Developed charges : \n"));
  EXPECT_TRUE(fs::exists(dir.path() / "water1" / "respdb" / "opt.pdb"));
}

TEST_F(ChargeDriver, EveryChargeFixedLeavesNothingToOptimise) {
  ProbeHydroxylHydrogen();
  dir.Write("charge.rel", "f C -0.2\nf O -0.6\nf H1 0.1\nf H2 0.1\nf H3 0.1\nf HO 0.5\n");
  const std::string out = Fit();
  EXPECT_EQ(err, "");
  EXPECT_TRUE(Contains(out, "$ Number of independent atomic charges to optimize : 0\n"));
  EXPECT_DOUBLE_EQ(mol1.atom[0].q, -0.2);
  EXPECT_DOUBLE_EQ(mol1.atom[5].q, 0.5);
}

TEST(ReadInitialCharges, FaultyFilesRaiseOrEndTheProcess) {
  using testing::StrEq;
  using testing::ThrowsMessage;
  CMolecule m = BondedMethanol();
  TempDir dir;
  const std::string none = (dir.path() / "none.str").string();
  EXPECT_THAT(
      [&] { ReadInitialChargesFromFile(m, none); },
      ThrowsMessage<DetailedError>(StrEq("$ err can not open the start-charge file " + none)));
  const std::string unknown = dir.Write("unknown.str", "ATOM CX CG331 0.1\n");
  const ProcessExit e = ExpectExit([&] { Printed([&] { ReadInitialChargesFromFile(m, unknown); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err atom was not found : CX\n");
}

TEST(RoundCharges, ExcessGoesToTheFirstIndependentAtomOnly) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 2, 0, 0}, {"D", 6, 3, 0, 0}});
  m.netcharge = 1.0;
  const double q[] = {0.1, 0.3006, 0.3006, 0.2988};
  for (int i = 0; i < 4; ++i) {
    m.atom[i].q = q[i];
    m.atom[i].qrel.assign(4, 0.0);
    m.atom[i].qrel[i] = i == 0 ? 0.0 : 1.0;  // A fixed
  }
  OptimizeCharge::RoundCharges(m);
  EXPECT_DOUBLE_EQ(m.atom[0].q, 0.1);
  EXPECT_DOUBLE_EQ(m.atom[1].q, 0.300);
  EXPECT_DOUBLE_EQ(m.atom[2].q, 0.301);
  EXPECT_DOUBLE_EQ(m.atom[3].q, 0.299);
  EXPECT_NEAR(m.Q(), 1.0, 1e-12);
}

TEST(ChargeSnapshots, OneDirectoryPerGeometryAndNoFilesForUnusedWaters) {
  ChargeStateGuard guard;
  TempDir dir;
  fpath = dir.path().string() + "/";
  CMolecule m = BondedMethanol();
  AddSecondGeometry(m);
  for (const int g : {0, 1, 1}) {
    WaterTIP3P& w = AddFacingWater(-1.0, 1.8, 1.0, g);
    w.aid1 = 5;
    w.atm1 = "HO";
    w.atm3 = "C";
    w.h2oangle = 90.0 * static_cast<double>(h2o.size());
    w.empdst = 2.1;
  }
  h2o[2].h2oscale = 0.0;
  OptimizeCharge::WriteChargeSnapshots(m);
  const fs::path d1 = dir.path() / "water1" / "respdb", d2 = dir.path() / "water2" / "respdb";
  for (const fs::path& f : {d1 / "opt.pdb", d2 / "opt.pdb", d1 / "ff.HO.C.90.0.pdb", d1 / "qm.HO.C.90.0.pdb",
                            d2 / "ff.HO.C.180.0.pdb"}) {
    EXPECT_TRUE(fs::exists(f)) << f;
  }
  EXPECT_FALSE(fs::exists(d2 / "ff.HO.C.270.0.pdb"));
  EXPECT_FALSE(fs::exists(d2 / "qm.HO.C.270.0.pdb"));
  // The last file written puts the water at its QM distance.
  EXPECT_NEAR(h2o[1].atom[0].rv.distance(m.atom[5].rv), 1.8, 1e-9);
}

}  // namespace
