// The charge-fit report: water table, statistics per geometry and overall,
// ESP and dipole blocks.
#include "charge/report.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/molecule.h"

namespace {

using namespace testing_support;

class ChargeReport : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    ParamOptCharges = CParamOptCharges();
    nbfix.clear();
    h2o.h2o.clear();
    mol1 = MakeMolecule({{"X", 11, 0, 0, 0}});
    mol1.atom[0].eps = -0.1;
    mol1.atom[0].rmin = 2.0;
    mol1.netcharge = 1.0;
    mol1.atom[0].qstart = 1.0;
    mol1.atom[0].qopt = 1.0;
  }
  // A water without charges whose MM optimum is 3 A / -0.1 kcal/mol.
  void Water(int geometry, double qmEnergy, double qmDist, double scale = 1.0) {
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = 0;
    w.atm1 = "X";
    w.atm2 = "Y";
    w.iProbedGeometry = geometry;
    w.h2oangle = 10.0 * static_cast<double>(h2o.size());
    w.atom[0].xyz = {2.5, 0.0, 0.0};
    w.atom[1].xyz = {2.5, 1.0, 0.0};
    w.atom[2].xyz = {2.5, -1.0, 0.0};
    w.fill_rv();
    for (auto& a : w.atom) a.q = 0.0;
    w.atom[0].eps = -0.1;
    w.atom[0].rmin = 1.0;
    w.QMInterEner = qmEnergy;
    w.QMInterDist = qmDist;
    w.h2oscale = scale;
  }
  static std::string Report() {
    testing::internal::CaptureStdout();
    OptimizeCharge::PrintChargeOptResults(mol1);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(ChargeReport, OneGeometryHasNoOverallBlockAndLeavesOutUnusedWaters) {
  Water(0, -0.5, 2.8);
  Water(0, -0.7, 2.8, 0.0);  // scaled out by the relations file
  Water(0, 0.3, 2.8);        // repulsive in QM
  const std::string out = Report();
  EXPECT_NE(out.find("   1 &       1  &        X-Y  &    -0.50 |     -0.10 |     -0.10 &  2.80 |  3.00 |  3.00 &    10.0\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("   2 &"), std::string::npos);
  EXPECT_NE(out.find("energy rms error, kcal/mol      &      0.40 &      0.40\n"), std::string::npos);
  EXPECT_NE(out.find("distance maximum error, Ang.    &      0.20 &      0.20\n"), std::string::npos);
  EXPECT_EQ(out.find("all geometries"), std::string::npos);
  EXPECT_NE(out.find("ESP rms, kcal/mol/e       &    1 &     0.000 &     0.000\n"), std::string::npos);
  EXPECT_NE(out.find("$ Dipole moment statistics for geometry : 1\n"), std::string::npos);
  EXPECT_EQ(iStepOpt, 3);  // two evaluations from 1, no progress line
  EXPECT_EQ(out.find("step "), std::string::npos);
}

TEST_F(ChargeReport, RepulsiveWatersCountWhenNotRemoved) {
  ParamOptCharges.fRemovePositiveInter = false;
  Water(0, -0.5, 2.8);
  Water(0, 0.3, 2.8);
  const std::string out = Report();
  EXPECT_NE(out.find("   2 &       1  &        X-Y  &     0.30 |"), std::string::npos) << out;
  EXPECT_NE(out.find("energy maximum error, kcal/mol  &      0.40 &      0.40\n"), std::string::npos);
}

TEST_F(ChargeReport, TwoGeometriesGetTheirOwnAndAnOverallBlock) {
  mol1.ngeom = 2;
  mol1.xyz.resize(6);
  mol1.QMEnergy.resize(2);
  mol1.QMDipoleMoment.resize(2);
  mol1.CopyMainSetToGeometry(1);
  Water(0, -0.5, 3.0);
  Water(1, -0.2, 3.0);
  const std::string out = Report();
  EXPECT_NE(out.find("$ water interactions statistics for geometry 2:\n"), std::string::npos);
  const auto all = out.find("$ water interaction statistics for all geometries:\n");
  ASSERT_NE(all, std::string::npos);
  // sqrt((0.4^2 + 0.1^2) / 2)
  EXPECT_NE(out.find("energy rms error, kcal/mol      &      0.29 &      0.29\n", all), std::string::npos) << out;
  EXPECT_NE(out.find("$ Dipole moment statistics for geometry : 2\n"), std::string::npos);
  EXPECT_NE(out.find("ESP rms, kcal/mol/e       & aver &     0.000 &     0.000\n"), std::string::npos);
}

TEST(DipoleAngle, ClampsAndHandlesZeroDipoles) {
  EXPECT_DOUBLE_EQ(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 0, 0)), 0.0);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 2, 0)), 90.0, 1e-6);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(-3, 0, 0)), 180.0, 1e-6);
}

}  // namespace
