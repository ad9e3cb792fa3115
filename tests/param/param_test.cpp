// The bonded parameter table: type matching and entry slots.
#include "param/param.h"

#include <gtest/gtest.h>

namespace {

// The file line's types come first; "X" is a wildcard on that side only.
TEST(ParamCompare, EitherOrderAndWildcardsWhereTheyMayStand) {
  EXPECT_TRUE(compareBond("A", "B", "B", "A"));
  EXPECT_FALSE(compareBond("A", "B", "A", "A"));
  EXPECT_FALSE(compareBond("a", "B", "A", "B"));

  EXPECT_TRUE(compareAngle("A", "B", "C", "C", "B", "A"));
  EXPECT_FALSE(compareAngle("A", "B", "C", "B", "A", "C"));
  EXPECT_FALSE(compareAngle("A", "B", "C", "A", "C", "B"));

  EXPECT_TRUE(compareDihe("A", "B", "C", "D", "A", "B", "C", "D"));
  EXPECT_TRUE(compareDihe("A", "B", "C", "D", "D", "C", "B", "A"));
  EXPECT_FALSE(compareDihe("A", "B", "C", "D", "A", "C", "B", "D"));
  EXPECT_TRUE(compareDihe("X", "B", "C", "X", "Q", "C", "B", "R"));
  EXPECT_FALSE(compareDihe("X", "B", "C", "X", "Q", "B", "B", "R"));
  EXPECT_FALSE(compareDihe("X", "B", "C", "D", "Q", "B", "C", "R"));
  EXPECT_FALSE(compareDihe("A", "B", "C", "D", "X", "B", "C", "X"));

  EXPECT_TRUE(compareImpr("A", "B", "C", "D", "D", "C", "B", "A"));
  EXPECT_TRUE(compareImpr("A", "X", "X", "D", "D", "Q", "R", "A"));
  EXPECT_FALSE(compareImpr("A", "X", "X", "D", "A", "Q", "R", "E"));
  EXPECT_FALSE(compareImpr("A", "X", "C", "D", "A", "Q", "C", "E"));
}

TEST(ParamTable, AddingAgainReusesTheRecordLeftBehindAndGrowsWithoutLimit) {
  Param p;
  auto& b = p.AddBond();
  b.atp1 = "A";
  b.fOpt = 1;
  p.AddBond().atp1 = "B";
  EXPECT_EQ(p.nbonds, 2);
  p.nbonds = 0;
  auto& again = p.AddBond();
  EXPECT_EQ(p.nbonds, 1);
  EXPECT_EQ(again.atp1, "A");
  EXPECT_EQ(again.fOpt, 1);

  for (int n = 0; n < 1500; ++n) p.AddDihe().dmin = n;
  const Param copy = p;
  EXPECT_EQ(copy.ndihe, 1500);
  EXPECT_EQ(copy.dihe[1499].dmin, 1499.0);
}

}  // namespace
