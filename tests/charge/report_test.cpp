// The charge-fit report: the angle between two dipoles. The report itself:
// the runs of methanol_example_test.cpp, of one geometry and of two.
#include "charge/report.h"

#include <gtest/gtest.h>

namespace {

TEST(DipoleAngle, ClampsAndHandlesZeroDipoles) {
  EXPECT_DOUBLE_EQ(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 0, 0)), 0.0);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(0, 2, 0)), 90.0, 1e-6);
  EXPECT_NEAR(OptimizeCharge::DipoleAngle(Vector3(1, 0, 0), Vector3(-3, 0, 0)), 180.0, 1e-6);
}

}  // namespace
