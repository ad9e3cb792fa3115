#include <gtest/gtest.h>

#include <string>

#include "charge/ChargeOpt.h"

namespace {

TEST(ChargeSettings, ProbedAtomsKeepScriptOrder) {
  COptCharge probes;
  COptCharge::CProbeAtom& first = probes.GetNextProbedAtom();
  first.atom.push_back("O1");
  first.nWaters = 2;
  probes.GetNextProbedAtom().atom.push_back("O1");
  ASSERT_EQ(probes.size(), 2u);
  EXPECT_EQ(probes[0].nWaters, 2);
  EXPECT_EQ(probes[1].nWaters, 0);
  EXPECT_EQ(probes[1].atom[0], "O1");
}

TEST(ChargeSettings, ContributionsPrintTheWeightedTermsAndTheirSum) {
  ClassTargetFunctionContributions c;
  c.interEnergy = 1.0;
  c.interWaterDist = 2.0;
  c.dipoleMagn = 50.0;  // not part of the objective
  c.dipoleDir = 60.0;
  c.dipoleMoment = 0.5;
  c.fitESPpot = 0.25;
  c.chargeRest = 10.0;
  testing::internal::CaptureStdout();
  c.print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "water energy :      1.00 water dist :      2.00 dipole moment :      0.50 "
            "esp fit :      0.25 charge restr :     10.00 total :     13.75 \n");
}

}  // namespace
