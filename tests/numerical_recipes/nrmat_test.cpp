#include "numerical_recipes/nrmat.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace {

TEST(NRMat, ConstructorsGiveShapeAndElements) {
  const Mat_DP empty;
  EXPECT_EQ(empty.nrows(), 0);
  EXPECT_EQ(empty.ncols(), 0);

  const Mat_DP filled(2.0, 2, 3);
  ASSERT_EQ(filled.nrows(), 2);
  ASSERT_EQ(filled.ncols(), 3);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(filled[i][j], 2.0);

  const double a[] = {1, 2, 3, 4, 5, 6};
  const Mat_DP rows(a, 2, 3);
  EXPECT_EQ(rows[0][2], 3.0);
  EXPECT_EQ(rows[1][0], 4.0);
  EXPECT_EQ(rows[1][2], 6.0);

  const Mat_DP zeros(3, 1);
  EXPECT_EQ(zeros.nrows(), 3);
  EXPECT_EQ(zeros.ncols(), 1);
  EXPECT_EQ(zeros[2][0], 0.0);
}

TEST(NRMat, NegativeShapeIsRefused) {
  EXPECT_THROW(Mat_DP(-1, 2), std::invalid_argument);
  EXPECT_THROW(Mat_DP(0.0, 2, -3), std::invalid_argument);
}

TEST(NRMat, RowsDoNotOverlap) {
  Mat_DP m(3, 4);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = 10 * i + j;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(m[i][j], 10 * i + j);
}

TEST(NRMat, CopyAndAssignmentAreDeep) {
  Mat_DP a(1.0, 2, 2);
  const Mat_DP b(a);
  a[0][1] = 5.0;
  EXPECT_EQ(b[0][1], 1.0);

  Mat_DP c(0.0, 1, 4);
  c = a;
  ASSERT_EQ(c.nrows(), 2);
  ASSERT_EQ(c.ncols(), 2);
  EXPECT_EQ(c[0][1], 5.0);
  c[1][1] = -3.0;
  EXPECT_EQ(a[1][1], 1.0);
}

TEST(NRMat, SelfAssignmentKeepsTheElements) {
  const double v[] = {1, 2, 3, 4};
  Mat_DP a(v, 2, 2);
  Mat_DP& alias = a;
  a = alias;
  EXPECT_EQ(a.nrows(), 2);
  EXPECT_EQ(a[1][1], 4.0);
  a = std::move(alias);
  EXPECT_EQ(a.ncols(), 2);
  EXPECT_EQ(a[1][0], 3.0);
}

TEST(NRMat, MoveLeavesTheSourceEmpty) {
  Mat_DP a(7.0, 2, 3);
  Mat_DP b(std::move(a));
  EXPECT_EQ(b.nrows(), 2);
  EXPECT_EQ(b.ncols(), 3);
  EXPECT_EQ(b[1][2], 7.0);
  EXPECT_EQ(a.nrows(), 0);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(a.ncols(), 0);

  Mat_DP c;
  c = std::move(b);
  EXPECT_EQ(c.nrows(), 2);
  EXPECT_EQ(c[0][0], 7.0);
  EXPECT_EQ(b.nrows(), 0);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(b.ncols(), 0);
}

TEST(NRMat, AssigningAValueFillsEveryElement) {
  Mat_DP m(2, 2);
  m = 0.5;
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_EQ(m[i][j], 0.5);
}

}  // namespace
