// The charge-relations file: the charged molecule's corrections and the
// faulty lines. Relations, fixed charges, scales, weights, `noshift` and
// `wdata` lines of a neutral molecule: the runs of methanol_example_test.cpp.
#include "charge/relations.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;

class Relations : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    mol1 = BondedMethanol();
    WaterTIP3P& w = h2o.AddWater();  // on O at 0 degrees
    w.aid1 = 1, w.atm1 = "O", w.atm2 = "C", w.QMInterEner = -5.0, w.QMInterDist = 2.0;
  }
  // Applies the relations file to mol1 and corrects the QM data.
  void Apply(const std::string& file) {
    dir.Write("charge.rel", file);
    Printed([] {
      OptimizeCharge::RestrainCharges(mol1);
      OptimizeCharge::ApplyCorrectionToQMData(mol1);
    });
  }
};

// A charged molecule takes the charged scale (1.0) and shift (0.1).
TEST_F(Relations, ChargedMoleculeTakesTheChargedScaleAndShift) {
  mol1.netcharge = -1.0;
  Apply("");
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.0);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 1.9);
}

TEST_F(Relations, FaultyLinesEndTheProcessNamingTheLine) {
  const struct { const char *file, *message; } cases[] = {
      {"q H1 H2 one\n", "$ err ONE is not a number\n$ err : in file DIR//charge.rel, in line : Q H1 H2 ONE\n"},
      {"f OX 0.1\n", "$ err atom was not found : OX\n"},
      {"g 2 0.5\n", "$ this geometry was not setupG 2 0.5\n"},
      {"s O 0 0.5 3\n", "err this geometry is not setup : S O 0 0.5 3\n"},
      {"s O 0 0.5 0\n", "err this geometry is not setup : S O 0 0.5 0\n"},
      {"wdata O 90 -7.5 1.75\n", "$ err : in file DIR//charge.rel, in line : WDATA O 90 -7.5 1.75\n"},
      {"wdata O 0 -7.5 near\n",
       "$ err NEAR is not a number\n$ err : in file DIR//charge.rel, in line : WDATA O 0 -7.5 NEAR\n"},
      {"wdata O 0 -1 2 5\n", "err this geometry is not setup : WDATA O 0 -1 2 5\n"},
  };
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit([&] { Apply(c.file); });
    EXPECT_EQ(e.status, 1) << c.file;
    EXPECT_EQ(RunText(e.message, dir.path().string()), c.message) << c.file;
  }
}

}  // namespace
