#include "numerical_recipes/nrmat.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using testing::ThrowsMessage;

// The shape and the elements row by row.
std::vector<double> Contents(const Mat_DP& m) {
  std::vector<double> v{static_cast<double>(m.nrows()), static_cast<double>(m.ncols())};
  for (int i = 0; i < m.nrows(); ++i)
    for (int j = 0; j < m.ncols(); ++j) v.push_back(m[i][j]);
  return v;
}

TEST(NRMat, ConstructorsValueAssignmentAndNegativeShape) {
  EXPECT_EQ(Contents(Mat_DP()), (std::vector<double>{0, 0}));
  EXPECT_EQ(Contents(Mat_DP(3, 1)), (std::vector<double>{3, 1, 0, 0, 0}));
  EXPECT_EQ(Contents(Mat_DP(2.0, 1, 2)), (std::vector<double>{1, 2, 2, 2}));
  const double a[] = {1, 2, 3, 4, 5, 6};
  Mat_DP m(a, 2, 3);
  EXPECT_EQ(Contents(m), (std::vector<double>{2, 3, 1, 2, 3, 4, 5, 6}));
  m[1][0] = 9;  // rows do not overlap
  EXPECT_EQ(Contents(m), (std::vector<double>{2, 3, 1, 2, 3, 9, 5, 6}));
  m = 0.5;
  EXPECT_EQ(Contents(m), (std::vector<double>{2, 3, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}));
  EXPECT_THAT([] { Mat_DP(-1, 2); }, ThrowsMessage<std::invalid_argument>("NRMat: negative size"));
  EXPECT_THAT([] { Mat_DP(0.0, 2, -3); },
              ThrowsMessage<std::invalid_argument>("NRMat: negative size"));
}

TEST(NRMat, CopiesAreDeepAndMovesLeaveTheSourceEmpty) {
  Mat_DP a(1.0, 2, 2);
  Mat_DP b(0.0, 1, 4);
  b = a;  // takes the shape of the right-hand side
  a[0][1] = 5.0;
  EXPECT_EQ(Contents(b), (std::vector<double>{2, 2, 1, 1, 1, 1}));

  Mat_DP c(std::move(a));
  EXPECT_EQ(Contents(c), (std::vector<double>{2, 2, 1, 5, 1, 1}));
  EXPECT_EQ(Contents(a), (std::vector<double>{0, 0}));  // NOLINT(bugprone-use-after-move)
  b = std::move(c);
  EXPECT_EQ(b[0][1], 5.0);
  EXPECT_EQ(Contents(c), (std::vector<double>{0, 0}));  // NOLINT(bugprone-use-after-move)

  Mat_DP& alias = b;
  b = alias;
  b = std::move(alias);
  EXPECT_EQ(Contents(b), (std::vector<double>{2, 2, 1, 5, 1, 1}));
}

}  // namespace
