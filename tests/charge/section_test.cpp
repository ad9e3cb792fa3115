// The `optcharge` section reader.
#include "charge/section.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/process_exit.h"

namespace {

using namespace testing_support;

class ChargeSection : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    ParamOptCharges = CParamOptCharges();
    OptCharge.AtomProbe.clear();
    mol1 = BondedMethanol();
  }
  static std::string Read(const std::string& text) {
    testing::internal::CaptureStdout();
    try {
      OptimizeCharge::ReadChargeSection(text);
    } catch (...) {
      testing::internal::GetCapturedStdout();
      throw;
    }
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(ChargeSection, EveryKeywordSetsItsField) {
  const std::string out = Read(
      "QMTHEORY b3lyp/6-31g*\n"
      "qmwaterenergy -76.4\n"
      "single\n"
      "chargerel my.rel\n"
      "readinitcharge start.str\n"
      "useqpop YES\n"
      "scaleqmdipole 1.2\n"
      "qmenergyscaleneutral 1.1\n"
      "qmenergyscalecharged 0.9\n"
      "qmdistshiftneutral 0.15\n"
      "qmdistshiftcharged 0.05\n"
      "weightwaterinterener 3\n"
      "weightwaterinterdist 4\n"
      "weightchargerestraint 50\n"
      "bhyperbolic 0.2\n"
      "usehyperbolicrestraint On\n"
      "weightdipolemoment 2\n"
      "weightesppot 0.5\n"
      "removepositiveinter off\n"
      "probe ho 2\n"
      "unknown words are ignored\n"
      "end\n");
  const CParamOptCharges& p = ParamOptCharges;
  EXPECT_EQ(Gaussian::options.QMTheory, "b3lyp/6-31g* ");
  EXPECT_EQ(out, "$ Ab-inito level of theory : b3lyp/6-31g* \n");
  EXPECT_DOUBLE_EQ(p.QMWaterEnergy, -76.4);
  EXPECT_TRUE(p.skipOpt);
  EXPECT_EQ(p.chargeRelFile, "my.rel");
  EXPECT_EQ(p.chargeInitFile, "start.str");
  EXPECT_TRUE(p.startFromQPOP);
  EXPECT_DOUBLE_EQ(p.QMScaleDipole, 1.2);
  EXPECT_DOUBLE_EQ(p.QMEnergyScaleNeutral, 1.1);
  EXPECT_DOUBLE_EQ(p.QMEnergyScaleCharged, 0.9);
  EXPECT_DOUBLE_EQ(p.QMDistShiftNeutral, 0.15);
  EXPECT_DOUBLE_EQ(p.QMDistShiftCharged, 0.05);
  EXPECT_DOUBLE_EQ(p.WeightWaterInterEner, 3.0);
  EXPECT_DOUBLE_EQ(p.WeightWaterInterDist, 4.0);
  EXPECT_DOUBLE_EQ(p.WeightChargeRestraint, 50.0);
  EXPECT_DOUBLE_EQ(p.bResp, 0.2);
  EXPECT_TRUE(p.useHyperbolicRestraint);
  EXPECT_DOUBLE_EQ(p.WeightDipoleMoment, 2.0);
  EXPECT_DOUBLE_EQ(p.WeightESPpot, 0.5);
  EXPECT_FALSE(p.fRemovePositiveInter);
}

TEST_F(ChargeSection, WordValuedKeywordsNeedTheirExactWord) {
  Read("useqpop on\nusehyperbolicrestraint yes\nremovepositiveinter\n");
  EXPECT_FALSE(ParamOptCharges.startFromQPOP);
  EXPECT_FALSE(ParamOptCharges.useHyperbolicRestraint);
  EXPECT_FALSE(ParamOptCharges.fRemovePositiveInter);
  Read("useqpop yes\n");
  EXPECT_TRUE(ParamOptCharges.startFromQPOP);
}

TEST_F(ChargeSection, ProbeLinesNameUpperCasedAtomsOnAGeometry) {
  mol1.ngeom = 3;
  Read("probe o 2\nPROBE HO 1 3\nprobe O 4\n");
  ASSERT_EQ(OptCharge.size(), 3u);
  EXPECT_EQ(OptCharge[0].atom[0], "O");
  EXPECT_EQ(OptCharge[0].iatom[0], 1);
  EXPECT_EQ(OptCharge[0].nWaters, 2);
  EXPECT_EQ(OptCharge[0].iProbedGeometry, 0);
  EXPECT_EQ(OptCharge[1].iatom[0], 5);
  EXPECT_EQ(OptCharge[1].iProbedGeometry, 2);
  EXPECT_EQ(OptCharge[2].iatom[0], 1);  // a second entry for the same atom
}

TEST_F(ChargeSection, FaultyLinesEndTheProcess) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"single\nweightesppot high\n", "$ err in input script in line : weightesppot high\n"},
      {"probe O\n", "$ err in input script in line : probe O\n"},
      {"qmwaterenergy\n", "$ err in input script in line : qmwaterenergy\n"},
      {"probe O 0\n", "$ err number of waters should be at least one\n"},
      {"probe O 1 2\n", "$ err this geometry was not setup 1\n"},
      {"probe O 1 0\n", "$ err this geometry was not setup -1\n"},
      {"probe N7 1\n", "$ err atom was not found : N7\n"},
  };
  for (const auto& c : cases) {
    OptCharge.AtomProbe.clear();
    const ProcessExit e = ExpectExit([&] { Read(c.text); });
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, c.message);
  }
}

}  // namespace
