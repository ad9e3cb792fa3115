// The charge-fit driver: start charges, single evaluation, rounding and snapshots.
#include "charge/driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/run.h"

namespace {

using namespace testing_support;

const char* kParameters =
    "* test parameters\n"
    "NONBONDED\n"
    "CG331    0.0  -0.0780  2.0500\n"
    "OG311    0.0  -0.1921  1.7650\n"
    "HGA3     0.0  -0.0240  1.3400\n"
    "HGP1     0.0  -0.0460  0.2245\n"
    "HT       0.0  -0.0460  0.2245\n"
    "OT       0.0  -0.1521  1.7682\n"
    "END\n";

class ChargeDriver : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    ParamOptCharges = CParamOptCharges();
    OptCharge.AtomProbe.clear();
    h2o.h2o.clear();
    nbfix.clear();
    CharmmTopPar = Charmm();
    CharmmTopPar.params.push_back(dir.Write("test.prm", kParameters));
    mol1 = BondedMethanol();
    mol1.QMEnergy[0] = -115.0;
    iStepOpt = 0;
  }
  // One probe on HO with its QM output already on disk.
  void ProbeHydroxylHydrogen() {
    COptCharge::CProbeAtom& p = OptCharge.GetNextProbedAtom();
    p.atom = {"HO"};
    p.iatom = {5};
    p.nWaters = 1;
    std::filesystem::create_directories(dir.path() / "water1" / "HO");
    std::vector<double> centres = ComplexCentres(mol1, 5);
    // Water oxygen 1.9 A beyond HO along x, hydrogens further out.
    const double hx = mol1.atom[5].xyz[0], hy = mol1.atom[5].xyz[1];
    const std::size_t o = 3 * (mol1.natm + 2);
    centres[o] = hx + 1.9, centres[o + 1] = hy, centres[o + 2] = 0.0;
    centres[o + 3] = hx + 2.5, centres[o + 4] = hy + 0.75, centres[o + 5] = 0.0;
    centres[o + 6] = hx + 2.5, centres[o + 7] = hy - 0.75, centres[o + 8] = 0.0;
    dir.Write("water1/HO/HO.0.0.out", ProbeOutput(1.9, -191.008, centres));
    ParamOptCharges.QMWaterEnergy = -76.0;
  }
  std::string Fit() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    OptimizeCharge::OptimizeCharges(mol1);
    testing::internal::GetCapturedStderr();
    return testing::internal::GetCapturedStdout();
  }
};

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST_F(ChargeDriver, SingleEvaluatesOnceAndReports) {
  ProbeHydroxylHydrogen();
  ParamOptCharges.skipOpt = true;
  mol1.atom[0].q += 0.03;  // 0.03 off the net charge
  const std::string out = Fit();
  EXPECT_EQ(Count(out, "step "), 1) << out;
  EXPECT_NE(out.find("step       0 water energy"), std::string::npos);
  EXPECT_EQ(out.find("$ Optimization of charges started"), std::string::npos);
  EXPECT_NE(out.find("$ Statistics of water interactions :"), std::string::npos);
  EXPECT_NE(out.find("$ for water : \n"), std::string::npos);
  // Start charges as given, optimised ones after the net-charge correction.
  EXPECT_NEAR(mol1.atom[0].qstart, -0.01, 1e-12);
  EXPECT_NEAR(mol1.atom[0].qopt, -0.015, 1e-12);
  EXPECT_NEAR(mol1.atom[5].qopt, 0.415, 1e-12);
  EXPECT_NE(out.find("$ Total charge computed / given :   0.000 /   0.000 \n"), std::string::npos) << out;
  // The water is reported with its QM energy ((-191.008 + 115 + 76) * 627.51, scaled by 1.16).
  EXPECT_NE(out.find("   1 &       1  &       HO-O  &    -5.82 |"), std::string::npos) << out;
}

TEST_F(ChargeDriver, FullFitLowersTheWaterEnergyError) {
  ProbeHydroxylHydrogen();
  const std::string out = Fit();
  EXPECT_NE(out.find("$ Optimization of charges started"), std::string::npos);
  EXPECT_NE(out.find("$ Charges after simulated annealing: \n"), std::string::npos);
  const auto p = out.find("energy rms error, kcal/mol      & ");
  ASSERT_NE(p, std::string::npos);
  double optimised = 0, initial = 0;
  ASSERT_EQ(std::sscanf(out.c_str() + p, "energy rms error, kcal/mol      & %lf & %lf", &optimised, &initial), 2);
  EXPECT_LT(optimised, initial);
  EXPECT_NEAR(mol1.Q(), 0.0, 1e-9);
}

TEST_F(ChargeDriver, WithoutProbesTheWaterStepsAreSkipped) {
  ParamOptCharges.skipOpt = true;
  const std::string out = Fit();
  EXPECT_EQ(out.find("$ for water"), std::string::npos);
  EXPECT_NE(out.find("$ Developed charges : \n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "water1" / "respdb" / "opt.pdb"));
}

TEST_F(ChargeDriver, StartChargesAndPenaltiesFromAFile) {
  ProbeHydroxylHydrogen();
  ParamOptCharges.skipOpt = true;
  ParamOptCharges.chargeInitFile = "start.str";
  dir.Write("start.str", "* start\nATOM C CG331 -0.18 ! 0.5\natom ho HGP1 0.50 ! -1\nBOND C O\n");
  dir.Write("charge.rel", "f O -0.7\n");
  const std::string out = Fit();
  EXPECT_NE(out.find("$ reading initial charges from " + fpath + "/start.str\n"), std::string::npos);
  EXPECT_DOUBLE_EQ(mol1.atom[0].qstart, -0.18);
  EXPECT_DOUBLE_EQ(mol1.atom[0].qpenalty, 0.5);
  EXPECT_DOUBLE_EQ(mol1.atom[5].qstart, 0.5);
  EXPECT_DOUBLE_EQ(mol1.atom[5].qpenalty, 1000.0);  // a negative class is not taken
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.7);           // fixed by the relations file
}

TEST_F(ChargeDriver, PopulationChargesOnlyForIndependentAtoms) {
  ParamOptCharges.skipOpt = true;
  ParamOptCharges.startFromQPOP = true;
  for (auto& a : mol1.atom) a.qpop = 0.01;
  mol1.atom[1].qpop = -0.05;
  dir.Write("charge.rel", "f O -0.6\n");
  Fit();
  EXPECT_DOUBLE_EQ(mol1.atom[1].qstart, -0.6);
  EXPECT_DOUBLE_EQ(mol1.atom[0].qstart, 0.01);
}

TEST_F(ChargeDriver, EveryChargeFixedLeavesNothingToOptimise) {
  ProbeHydroxylHydrogen();
  dir.Write("charge.rel", "f C -0.2\nf O -0.6\nf H1 0.1\nf H2 0.1\nf H3 0.1\nf HO 0.5\n");
  const std::string out = Fit();
  EXPECT_NE(out.find("$ Number of independent atomic charges to optimize : 0\n"), std::string::npos);
  EXPECT_DOUBLE_EQ(mol1.atom[0].q, -0.2);
  EXPECT_DOUBLE_EQ(mol1.atom[5].q, 0.5);
}

TEST(ReadInitialCharges, MissingFileAndBadChargeRaise) {
  CMolecule m = BondedMethanol();
  TempDir dir;
  EXPECT_THROW(ReadInitialChargesFromFile(m, (dir.path() / "none.str").string()), std::runtime_error);
  const std::string path = dir.Write("bad.str", "ATOM C CG331 x\n");
  testing::internal::CaptureStdout();
  EXPECT_THROW(ReadInitialChargesFromFile(m, path), std::invalid_argument);
  testing::internal::GetCapturedStdout();
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
  m.ngeom = 2;
  m.xyz.resize(2 * m.natm * 3);
  m.QMEnergy.resize(2);
  m.QMDipoleMoment.resize(2);
  m.CopyMainSetToGeometry(1);
  h2o.h2o.clear();
  for (const int g : {0, 1, 1}) {
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = 5;
    w.atm1 = "HO";
    w.atm3 = "C";
    w.iProbedGeometry = g;
    w.h2oangle = 90.0 * static_cast<int>(h2o.size());
    for (int k = 0; k < 3; ++k) w.atom[k].xyz = {3.0 + k, 2.0, 0.0};
    w.fill_rv();
    w.empdst = 2.1;
    w.QMInterDist = 1.8;
  }
  h2o[2].h2oscale = 0.0;
  OptimizeCharge::WriteChargeSnapshots(m);
  const auto d1 = dir.path() / "water1" / "respdb";
  const auto d2 = dir.path() / "water2" / "respdb";
  EXPECT_TRUE(std::filesystem::exists(d1 / "opt.pdb"));
  EXPECT_TRUE(std::filesystem::exists(d2 / "opt.pdb"));
  EXPECT_TRUE(std::filesystem::exists(d1 / "ff.HO.C.90.0.pdb"));
  EXPECT_TRUE(std::filesystem::exists(d1 / "qm.HO.C.90.0.pdb"));
  EXPECT_TRUE(std::filesystem::exists(d2 / "ff.HO.C.180.0.pdb"));
  EXPECT_FALSE(std::filesystem::exists(d2 / "ff.HO.C.270.0.pdb"));
  EXPECT_FALSE(std::filesystem::exists(d2 / "qm.HO.C.270.0.pdb"));
  // The last file written puts the water at its QM distance.
  EXPECT_NEAR(h2o[1].atom[0].rv.distance(m.atom[5].rv), 1.8, 1e-9);
}

}  // namespace
