#include <gtest/gtest.h>

#include "numerical_recipes/nrutil_nr.h"
#include "support/process_exit.h"

namespace {

TEST(NrError, EndsTheProcessWithStatusOneAndTheReport) {
  const ProcessExit e = testing_support::ExpectExit([] { NR::nrerror("something went wrong"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "Numerical Recipes run-time error...\n"
            "something went wrong\n"
            "...now exiting to system...\n");
}

}  // namespace
