#include "numerical_recipes/nrvec.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace {

TEST(NRVec, ConstructorsGiveSizeAndElements) {
  const Vec_DP empty;
  EXPECT_EQ(empty.size(), 0);
  EXPECT_EQ(empty.begin(), empty.end());

  const Vec_DP zeros(3);
  ASSERT_EQ(zeros.size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(zeros[i], 0.0);

  const Vec_DP filled(2.5, 4);
  ASSERT_EQ(filled.size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(filled[i], 2.5);

  const double a[] = {1.0, -2.0, 3.5};
  const Vec_DP copied(a, 3);
  ASSERT_EQ(copied.size(), 3);
  EXPECT_EQ(copied[0], 1.0);
  EXPECT_EQ(copied[1], -2.0);
  EXPECT_EQ(copied[2], 3.5);
}

TEST(NRVec, NegativeSizeIsRefused) {
  EXPECT_THROW(Vec_DP(-1), std::invalid_argument);
  EXPECT_THROW(Vec_DP(0.0, -2), std::invalid_argument);
}

TEST(NRVec, CopyAndAssignmentAreDeep) {
  Vec_DP source(1.0, 3);
  const Vec_DP copy(source);
  source[1] = 7.0;
  EXPECT_EQ(copy[1], 1.0);

  const Vec_DP longer(4.0, 5);
  Vec_DP a(1.0, 2);
  a = longer;
  ASSERT_EQ(a.size(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a[i], 4.0);

  const Vec_DP shorter(-1.0, 1);
  a = shorter;
  ASSERT_EQ(a.size(), 1);
  EXPECT_EQ(a[0], -1.0);

  Vec_DP same(0.0, 1);
  same = longer;
  same[0] = 9.0;
  EXPECT_EQ(longer[0], 4.0);
}

TEST(NRVec, SelfAssignmentKeepsTheElements) {
  const double v[] = {1.0, 2.0, 3.0};
  Vec_DP a(v, 3);
  Vec_DP& alias = a;
  a = alias;
  ASSERT_EQ(a.size(), 3);
  EXPECT_EQ(a[2], 3.0);
  a = std::move(alias);
  ASSERT_EQ(a.size(), 3);
  EXPECT_EQ(a[0], 1.0);
}

TEST(NRVec, MoveLeavesTheSourceEmpty) {
  Vec_DP a(3.0, 4);
  Vec_DP b(std::move(a));
  EXPECT_EQ(b.size(), 4);
  EXPECT_EQ(b[3], 3.0);
  EXPECT_EQ(a.size(), 0);  // NOLINT(bugprone-use-after-move)

  Vec_DP c(1.0, 2);
  c = std::move(b);
  EXPECT_EQ(c.size(), 4);
  EXPECT_EQ(c[0], 3.0);
  EXPECT_EQ(b.size(), 0);  // NOLINT(bugprone-use-after-move)
  b = c;                   // a moved-from vector can be used again
  EXPECT_EQ(b.size(), 4);
}

TEST(NRVec, AssigningAValueFillsEveryElement) {
  Vec_DP a(3);
  a = 1.5;
  ASSERT_EQ(a.size(), 3);
  for (double x : a) EXPECT_EQ(x, 1.5);
}

}  // namespace
