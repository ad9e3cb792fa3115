// The charge-fit report: water table, statistics per geometry and overall,
// ESP and dipole blocks.
#include "charge/report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "charge/charge_support.h"
#include "support/printed.h"
#include "support/run.h"

namespace {

using namespace testing_support;

class ChargeReport : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    mol1 = Ion();
    mol1.atom[0].qstart = mol1.atom[0].qopt = 1.0;
  }
  static std::string Report() { return Printed([] { OptimizeCharge::PrintChargeOptResults(mol1); }); }
};

TEST_F(ChargeReport, OneGeometryHasNoOverallBlockAndLeavesOutUnusedWaters) {
  AddFacingWater(-0.5, 2.8);
  AddFacingWater(-0.7, 2.8, 0.0);  // scaled out by the relations file
  AddFacingWater(0.3, 2.8);        // repulsive in QM
  const std::string out = Report();
  EXPECT_TRUE(Contains(out, "   1 &       1  &        X-Y  &    -0.50 |     -0.10 |     -0.10 &  2.80 |  3.00 |  3.00 &    10.0\n")) << out;
  EXPECT_FALSE(Contains(out, "   2 &"));
  EXPECT_TRUE(Contains(out, "energy rms error, kcal/mol      &      0.40 &      0.40\n"));
  EXPECT_TRUE(Contains(out, "distance maximum error, Ang.    &      0.20 &      0.20\n"));
  EXPECT_FALSE(Contains(out, "all geometries"));
  EXPECT_TRUE(Contains(out, "ESP rms, kcal/mol/e       &    1 &     0.000 &     0.000\n"));
  EXPECT_TRUE(Contains(out, "$ Dipole moment statistics for geometry : 1\n"));
  EXPECT_EQ(iStepOpt, 3);  // two evaluations from 1, no progress line
  EXPECT_FALSE(Contains(out, "step "));
  // The report's tables: the one water that counts, four dipoles.
  const std::string waters = dir.Read("charge_waters.dat");
  EXPECT_EQ(std::count(waters.begin(), waters.end(), '\n'), 2) << waters;
  EXPECT_TRUE(Contains(waters, "\n1 X-Y 10.000000 -0.500000 ")) << waters;
  EXPECT_TRUE(Contains(dir.Read("charge_dipoles.dat"), "\n1 fitted ")) << dir.Read("charge_dipoles.dat");
}

TEST_F(ChargeReport, RepulsiveWatersCountWhenNotRemoved) {
  ParamOptCharges.fRemovePositiveInter = false;
  AddFacingWater(-0.5, 2.8);
  AddFacingWater(0.3, 2.8);
  const std::string out = Report();
  EXPECT_TRUE(Contains(out, "   2 &       1  &        X-Y  &     0.30 |")) << out;
  EXPECT_TRUE(Contains(out, "energy maximum error, kcal/mol  &      0.40 &      0.40\n"));
}

TEST_F(ChargeReport, TwoGeometriesGetTheirOwnAndAnOverallBlock) {
  AddSecondGeometry(mol1);
  AddFacingWater(-0.5, 3.0);
  AddFacingWater(-0.2, 3.0, 1.0, 1);
  const std::string out = Report();
  EXPECT_TRUE(Contains(out, "$ water interactions statistics for geometry 2:\n"));
  const auto all = out.find("$ water interaction statistics for all geometries:\n");
  ASSERT_NE(all, std::string::npos);
  // sqrt((0.4^2 + 0.1^2) / 2)
  EXPECT_TRUE(Contains(out.substr(all), "energy rms error, kcal/mol      &      0.29 &      0.29\n")) << out;
  EXPECT_TRUE(Contains(out, "$ Dipole moment statistics for geometry : 2\n"));
  EXPECT_TRUE(Contains(out, "ESP rms, kcal/mol/e       & aver &     0.000 &     0.000\n"));
}

TEST(DipoleAngle, ClampsAndHandlesZeroDipoles) {
  EXPECT_DOUBLE_EQ(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 0, 0)), 0.0);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 2, 0)), 90.0, 1e-6);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(-3, 0, 0)), 180.0, 1e-6);
}

}  // namespace
