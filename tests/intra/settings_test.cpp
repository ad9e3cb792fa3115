#include "intra/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "intra/BondOpt.h"

using testing::ThrowsMessage;

TEST(BondedFitSettingsTest, FixedTablesRejectEntriesBeyondTheirCapacity) {
  COptInter o;
  EXPECT_THROW(o.AtomName[0][20], std::out_of_range);
  EXPECT_THAT([&] { o.scaleName[100] = "x"; },
              ThrowsMessage<std::out_of_range>("entry 100 requested of a table of 100 entries"));
  EXPECT_THAT([] { CheckCapacity(20, COptInter::kMaxFixDihe, "constrain block"); },
              ThrowsMessage<std::length_error>("constrain block: at most 20 entries"));
  EXPECT_NO_THROW(CheckCapacity(19, 20, "x"));
}
