// The charge-fit driver: faulty start-charge files and the rounding of the
// charges. The fits themselves: the runs of methanol_example_test.cpp.
#include "charge/driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "errors.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;

TEST(ReadInitialCharges, FaultyFilesRaiseOrEndTheProcess) {
  CMolecule m = BondedMethanol();
  TempDir dir;
  const std::string none = (dir.path() / "none.str").string();
  EXPECT_THAT([&] { ReadInitialChargesFromFile(m, none); },
              testing::ThrowsMessage<DetailedError>("$ err can not open the start-charge file " + none));
  const std::string unknown = dir.Write("unknown.str", "ATOM CX CG331 0.1\n");
  const ProcessExit e = ExpectExit([&] { Printed([&] { ReadInitialChargesFromFile(m, unknown); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err atom was not found : CX\n");
}

TEST(RoundCharges, ExcessGoesToTheFirstIndependentAtomOnly) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 2, 0, 0}, {"D", 6, 3, 0, 0}});
  m.netcharge = 1.0;
  const double q[] = {0.1, 0.3006, 0.3006, 0.2988}, rounded[] = {0.1, 0.300, 0.301, 0.299};
  for (int i = 0; i < 4; ++i) {
    m.atom[i].q = q[i];
    m.atom[i].qrel.assign(4, 0.0);
    m.atom[i].qrel[i] = i == 0 ? 0.0 : 1.0;  // A fixed
  }
  OptimizeCharge::RoundCharges(m);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(m.atom[i].q, rounded[i]) << i;
}

}  // namespace
