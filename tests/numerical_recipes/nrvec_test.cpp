#include "numerical_recipes/nrvec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using V = std::vector<double>;
V Elements(const Vec_DP& v) { return {v.begin(), v.end()}; }

// Construction, value assignment, deep copies taking the size of the
// right-hand side, moves that leave the source empty, self-assignment.
TEST(NRVec, ConstructAssignCopyAndMove) {
  EXPECT_EQ(Elements(Vec_DP()), V{});
  EXPECT_EQ(Elements(Vec_DP(2)), (V{0, 0}));
  const double a[] = {1.0, 7.0, 1.0};
  Vec_DP v(a, 3), b(2.5, 1);
  EXPECT_EQ(Elements(b), V{2.5});
  b = v;
  v = 2.5;
  EXPECT_EQ(Elements(v), (V{2.5, 2.5, 2.5}));
  Vec_DP c(std::move(b));
  EXPECT_EQ(b.size(), 0);  // NOLINT(bugprone-use-after-move)
  b = std::move(c);
  EXPECT_EQ(c.size(), 0);  // NOLINT(bugprone-use-after-move)
  Vec_DP& alias = b;
  b = alias;
  b = std::move(alias);
  EXPECT_EQ(Elements(b), (V{1, 7, 1}));
  for (auto make : {+[] { Vec_DP(-1); }, +[] { Vec_DP(0.0, -2); }})
    EXPECT_THAT(make, testing::ThrowsMessage<std::invalid_argument>("NRVec: negative size"));
}

}  // namespace
