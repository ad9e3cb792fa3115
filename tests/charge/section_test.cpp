// The `optcharge` section reader.
#include "charge/section.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;

class ChargeSection : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override { mol1 = BondedMethanol(); }
  static std::string Read(const std::string& text) {
    return Printed([&] { OptimizeCharge::ReadChargeSection(text); });
  }
};

TEST_F(ChargeSection, EveryKeywordSetsItsField) {
  const struct {
    const char* line;
    Real CParamOptCharges::*field;
    double value;
  } numbers[] = {
      {"qmwaterenergy -76.4", &CParamOptCharges::QMWaterEnergy, -76.4},
      {"scaleqmdipole 1.2", &CParamOptCharges::QMScaleDipole, 1.2},
      {"qmenergyscaleneutral 1.1", &CParamOptCharges::QMEnergyScaleNeutral, 1.1},
      {"qmenergyscalecharged 0.9", &CParamOptCharges::QMEnergyScaleCharged, 0.9},
      {"qmdistshiftneutral 0.15", &CParamOptCharges::QMDistShiftNeutral, 0.15},
      {"qmdistshiftcharged 0.05", &CParamOptCharges::QMDistShiftCharged, 0.05},
      {"weightwaterinterener 3", &CParamOptCharges::WeightWaterInterEner, 3.0},
      {"weightwaterinterdist 4", &CParamOptCharges::WeightWaterInterDist, 4.0},
      {"weightchargerestraint 50", &CParamOptCharges::WeightChargeRestraint, 50.0},
      {"bhyperbolic 0.2", &CParamOptCharges::bResp, 0.2},
      {"weightdipolemoment 2", &CParamOptCharges::WeightDipoleMoment, 2.0},
      {"WeightEspPot 0.5", &CParamOptCharges::WeightESPpot, 0.5},
  };
  for (const auto& row : numbers) {
    Read(std::string(row.line) + "\n");
    EXPECT_DOUBLE_EQ(ParamOptCharges.*row.field, row.value) << row.line;
  }
  // Switches take one exact word, in any case; anything else clears them.
  const struct {
    const char* line;
    bool CParamOptCharges::*field;
    bool value;
  } switches[] = {
      {"single", &CParamOptCharges::skipOpt, true},
      {"useqpop YES", &CParamOptCharges::startFromQPOP, true},
      {"useqpop on", &CParamOptCharges::startFromQPOP, false},
      {"usehyperbolicrestraint On", &CParamOptCharges::useHyperbolicRestraint, true},
      {"usehyperbolicrestraint yes", &CParamOptCharges::useHyperbolicRestraint, false},
      {"removepositiveinter off", &CParamOptCharges::fRemovePositiveInter, false},
      {"removepositiveinter ON", &CParamOptCharges::fRemovePositiveInter, true},
      {"removepositiveinter", &CParamOptCharges::fRemovePositiveInter, false},
  };
  for (const auto& row : switches) {
    Read(std::string(row.line) + "\n");
    EXPECT_EQ(ParamOptCharges.*row.field, row.value) << row.line;
  }
  // The files named must be there; an absolute name is used as it is.
  const testing_support::TempDir dir;
  const std::string rel = dir.Write("my.rel", ""), start = dir.Write("start.str", "");
  const std::string out = Read("QMTHEORY b3lyp/6-31g*\nchargerel " + rel + "\nreadinitcharge " +
                               start + "\nunknown words are ignored\nend\n");
  EXPECT_EQ(Gaussian::options.QMTheory, "b3lyp/6-31g* ");
  EXPECT_EQ(out, "$ Ab-inito level of theory : b3lyp/6-31g* \n");
  EXPECT_EQ(ParamOptCharges.chargeRelFile, rel);
  EXPECT_EQ(ParamOptCharges.chargeInitFile, start);
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
      {"single\nweightesppot high\n",
       "$ err high is not a number\n$ err in input script in line : weightesppot high\n"},
      {"probe O\n", "$ err a number is missing\n$ err in input script in line : probe O\n"},
      {"probe O 0\n", "$ err number of waters should be at least one\n"},
      {"probe O 1 2\n", "$ err this geometry was not setup 1\n"},
      {"probe O 1 0\n", "$ err this geometry was not setup -1\n"},
      {"probe N7 1\n", "$ err atom was not found : N7\n"},
  };
  for (const auto& c : cases) {
    OptCharge.AtomProbe.clear();
    const ProcessExit e = ExpectExit([&] { Read(c.text); });
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, c.message) << c.text;
  }
}

}  // namespace
