#include "numerical_recipes/nrmat.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using V = std::vector<double>;

// The shape and the elements row by row.
V Contents(const Mat_DP& m) {
  V v{static_cast<double>(m.nrows()), static_cast<double>(m.ncols())};
  for (int i = 0; i < m.nrows(); ++i)
    for (int j = 0; j < m.ncols(); ++j) v.push_back(m[i][j]);
  return v;
}

// Construction, value assignment, deep copies taking the shape of the
// right-hand side, moves that leave the source empty, self-assignment.
TEST(NRMat, ConstructAssignCopyAndMove) {
  EXPECT_EQ(Contents(Mat_DP()), (V{0, 0}));
  EXPECT_EQ(Contents(Mat_DP(3, 1)), (V{3, 1, 0, 0, 0}));
  const double a[] = {1, 2, 3, 4, 5, 6};
  Mat_DP m(a, 2, 3), b(2.0, 1, 2);
  EXPECT_EQ(Contents(b), (V{1, 2, 2, 2}));
  b = m;
  m[1][0] = 9;  // rows do not overlap, and b is a copy
  EXPECT_EQ(Contents(m), (V{2, 3, 1, 2, 3, 9, 5, 6}));
  m = 0.5;
  EXPECT_EQ(Contents(m), (V{2, 3, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}));
  Mat_DP c(std::move(b));
  EXPECT_EQ(Contents(b), (V{0, 0}));  // NOLINT(bugprone-use-after-move)
  b = std::move(c);
  EXPECT_EQ(Contents(c), (V{0, 0}));  // NOLINT(bugprone-use-after-move)
  Mat_DP& alias = b;
  b = alias;
  b = std::move(alias);
  EXPECT_EQ(Contents(b), (V{2, 3, 1, 2, 3, 4, 5, 6}));
  for (auto make : {+[] { Mat_DP(-1, 2); }, +[] { Mat_DP(0.0, 2, -3); }})
    EXPECT_THAT(make, testing::ThrowsMessage<std::invalid_argument>("NRMat: negative size"));
}

}  // namespace
