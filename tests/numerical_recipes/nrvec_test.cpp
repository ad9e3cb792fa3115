#include "numerical_recipes/nrvec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using testing::ThrowsMessage;

std::vector<double> Elements(const Vec_DP& v) { return {v.begin(), v.end()}; }

TEST(NRVec, ConstructorsValueAssignmentAndNegativeSize) {
  EXPECT_EQ(Vec_DP().size(), 0);
  EXPECT_EQ(Elements(Vec_DP(2)), (std::vector<double>{0, 0}));
  EXPECT_EQ(Elements(Vec_DP(2.5, 3)), (std::vector<double>{2.5, 2.5, 2.5}));
  const double a[] = {1.0, -2.0, 3.5};
  Vec_DP v(a, 3);
  EXPECT_EQ(Elements(v), (std::vector<double>{1.0, -2.0, 3.5}));
  v = 1.5;
  EXPECT_EQ(Elements(v), (std::vector<double>{1.5, 1.5, 1.5}));
  EXPECT_THAT([] { Vec_DP(-1); }, ThrowsMessage<std::invalid_argument>("NRVec: negative size"));
  EXPECT_THAT([] { Vec_DP(0.0, -2); },
              ThrowsMessage<std::invalid_argument>("NRVec: negative size"));
}

TEST(NRVec, CopiesAreDeepAndMovesLeaveTheSourceEmpty) {
  Vec_DP a(1.0, 3);
  Vec_DP b(0.0, 1);
  b = a;  // takes the size of the right-hand side
  a[1] = 7.0;
  EXPECT_EQ(Elements(b), (std::vector<double>{1, 1, 1}));

  Vec_DP c(std::move(a));
  EXPECT_EQ(Elements(c), (std::vector<double>{1, 7, 1}));
  EXPECT_EQ(a.size(), 0);  // NOLINT(bugprone-use-after-move)
  b = std::move(c);
  EXPECT_EQ(b[1], 7.0);
  EXPECT_EQ(c.size(), 0);  // NOLINT(bugprone-use-after-move)

  Vec_DP& alias = b;
  b = alias;
  b = std::move(alias);
  EXPECT_EQ(Elements(b), (std::vector<double>{1, 7, 1}));
}

}  // namespace
