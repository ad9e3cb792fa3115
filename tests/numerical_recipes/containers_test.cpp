// The owning vector and matrix of the minimisers.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "numerical_recipes/nrmat.h"

namespace {

using V = std::vector<double>;
V Elements(const Vec_DP& v) { return {v.begin(), v.end()}; }
// The shape and the elements row by row.
V Elements(const Mat_DP& m) {
  V v{double(m.nrows()), double(m.ncols())};
  for (int i = 0; i < m.nrows(); ++i) v.insert(v.end(), m[i], m[i] + m.ncols());
  return v;
}

// Deep copies taking the shape of the right-hand side, value assignment,
// moves that leave the source empty, self-assignment; negative sizes: in minimisers_test.cpp.
TEST(NRContainers, ConstructAssignCopyAndMove) {
  const double a[] = {1, 2, 3, 4, 5, 6};
  Vec_DP v(a, 3), b(2.5, 1);
  Mat_DP m(a, 2, 3), n(2.0, 1, 2);
  EXPECT_EQ(Elements(b), V{2.5});
  EXPECT_EQ(Elements(n), (V{1, 2, 2, 2}));
  b = v, n = m;
  v = 0.5, m[1][0] = 9;  // rows do not overlap
  EXPECT_EQ(Elements(v), (V{0.5, 0.5, 0.5}));
  EXPECT_EQ(Elements(m), (V{2, 3, 1, 2, 3, 9, 5, 6}));
  Vec_DP c(std::move(b)), &ca = c;
  Mat_DP o(std::move(n)), &oa = o;
  c = ca, c = std::move(ca), o = oa, o = std::move(oa);
  EXPECT_EQ(Elements(c), (V{1, 2, 3}));
  EXPECT_EQ(Elements(o), (V{2, 3, 1, 2, 3, 4, 5, 6}));
  v = std::move(c), m = std::move(o);
  EXPECT_EQ(Elements(b).size() + Elements(c).size(), 0u);  // NOLINT(bugprone-use-after-move)
  for (const Mat_DP* e : {&n, &o}) EXPECT_EQ(Elements(*e), (V{0, 0}));  // NOLINT(bugprone-use-after-move)
}

}  // namespace
