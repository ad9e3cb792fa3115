// The `optcharge` section reader: the keywords that the runs of
// methanol_example_test.cpp do not use, and the faulty lines.
#include "charge/section.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/printed.h"
#include "support/process_exit.h"

namespace {

using namespace testing_support;

std::string Read(const std::string& text) {
  return Printed([&] { OptimizeCharge::ReadChargeSection(text); });
}

// Switches take one exact word, in any case; anything else clears them.
TEST(ChargeSection, KeywordsSetTheirFieldsAndProbeLinesNameAnAtomOnAGeometry) {
  ChargeStateGuard guard;
  mol1 = BondedMethanol();
  mol1.ngeom = 3;
  EXPECT_EQ(Read("QMTHEORY b3lyp/6-31g*\nqmenergyscalecharged 0.9\nqmdistshiftcharged 0.05\n"
                 "WeightEspPot 0.5\nuseqpop YES\nremovepositiveinter\nunknown words are ignored\nprobe ho 1 3\n"),
            "$ Ab-inito level of theory : b3lyp/6-31g* \n");
  EXPECT_EQ(Gaussian::options.QMTheory, "b3lyp/6-31g* ");
  EXPECT_DOUBLE_EQ(ParamOptCharges.QMEnergyScaleCharged, 0.9);
  EXPECT_DOUBLE_EQ(ParamOptCharges.QMDistShiftCharged, 0.05);
  EXPECT_DOUBLE_EQ(ParamOptCharges.WeightESPpot, 0.5);
  EXPECT_TRUE(ParamOptCharges.startFromQPOP);
  EXPECT_FALSE(ParamOptCharges.fRemovePositiveInter);
  EXPECT_EQ(OptCharge[0].iatom[0], 5);
  EXPECT_EQ(OptCharge[0].iProbedGeometry, 2);
  Read("useqpop on\nremovepositiveinter ON\n");
  EXPECT_FALSE(ParamOptCharges.startFromQPOP);
  EXPECT_TRUE(ParamOptCharges.fRemovePositiveInter);
}

TEST(ChargeSection, FaultyLinesEndTheProcess) {
  const struct { const char *text, *message; } cases[] = {
      {"single\nweightesppot high\n", "$ err high is not a number\n$ err in input script in line : weightesppot high\n"},
      {"probe O\n", "$ err a number is missing\n$ err in input script in line : probe O\n"},
      {"probe O 0\n", "$ err number of waters should be at least one\n"},
      {"probe O 1 2\n", "$ err this geometry was not setup 1\n"},
      {"probe O 1 0\n", "$ err this geometry was not setup -1\n"},
      {"probe N7 1\n", "$ err atom was not found : N7\n"},
  };
  for (const auto& c : cases) {
    ChargeStateGuard guard;
    mol1 = BondedMethanol();
    const ProcessExit e = ExpectExit([&] { Read(c.text); });
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, c.message) << c.text;
  }
}

}  // namespace
