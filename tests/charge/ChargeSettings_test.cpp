#include <gtest/gtest.h>

#include <string>

#include "charge/ChargeOpt.h"

namespace {

TEST(ChargeSettings, ProcessWideDefaults) {
  const CParamOptCharges& p = ParamOptCharges;
  EXPECT_FALSE(p.startFromQPOP);
  EXPECT_FALSE(p.skipOpt);
  EXPECT_DOUBLE_EQ(p.QMWaterEnergy, -76.0105299706);
  EXPECT_DOUBLE_EQ(p.QMEnergyScaleNeutral, 1.16);
  EXPECT_DOUBLE_EQ(p.QMEnergyScaleCharged, 1.0);
  EXPECT_DOUBLE_EQ(p.QMDistShiftNeutral, 0.2);
  EXPECT_DOUBLE_EQ(p.QMDistShiftCharged, 0.1);
  EXPECT_DOUBLE_EQ(p.QMScaleDipole, 1.3);
  EXPECT_DOUBLE_EQ(p.WeightWaterInterEner, 10.0);
  EXPECT_DOUBLE_EQ(p.WeightWaterInterDist, 10.0);
  EXPECT_DOUBLE_EQ(p.WeightDipoleMoment, 1.0);
  EXPECT_DOUBLE_EQ(p.WeightESPpot, 0.0);
  EXPECT_DOUBLE_EQ(p.WeightChargeRestraint, 100.0);
  EXPECT_FALSE(p.useHyperbolicRestraint);
  EXPECT_DOUBLE_EQ(p.bResp, 0.1);
  EXPECT_EQ(p.chargeRelFile, "charge.rel");
  EXPECT_EQ(p.chargeInitFile, "");
  EXPECT_TRUE(p.WeghtGeometry.empty());
  EXPECT_TRUE(p.fRemovePositiveInter);
  EXPECT_EQ(OptCharge.size(), 0u);
}

TEST(ChargeSettings, ProbedAtomsKeepScriptOrder) {
  COptCharge probes;
  COptCharge::CProbeAtom& first = probes.GetNextProbedAtom();
  EXPECT_TRUE(first.atom.empty());
  EXPECT_TRUE(first.iatom.empty());
  EXPECT_EQ(first.iProbedGeometry, 0);
  EXPECT_EQ(first.nWaters, 0);
  EXPECT_EQ(first.angle, 0.0);
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
