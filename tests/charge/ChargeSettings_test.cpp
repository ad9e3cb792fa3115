#include <gtest/gtest.h>

#include "charge/ChargeOpt.h"
#include "support/printed.h"

namespace {

TEST(ChargeSettings, ContributionsPrintTheWeightedTermsAndTheirSum) {
  ClassTargetFunctionContributions c;
  c.interEnergy = 1.0;
  c.interWaterDist = 2.0;
  c.dipoleMagn = 50.0;  // not part of the objective
  c.dipoleDir = 60.0;
  c.dipoleMoment = 0.5;
  c.fitESPpot = 0.25;
  c.chargeRest = 10.0;
  EXPECT_EQ(testing_support::Printed([&] { c.print(); }),
            "water energy :      1.00 water dist :      2.00 dipole moment :      0.50 "
            "esp fit :      0.25 charge restr :     10.00 total :     13.75 \n");
}

}  // namespace
