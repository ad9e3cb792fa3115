#include "elements.h"

#include <gtest/gtest.h>

#include <set>

TEST(PeriodicTableTest, HundredElementsInOrderOfMass) {
  const PeriodicTable& t = PeriodicTable::Instance();
  EXPECT_EQ(&t, &PeriodicTable::Instance());
  std::set<int> numbers;
  for (int i = 0; i < PeriodicTable::nelem; ++i) {
    const Element& e = t.GetElement(i);
    numbers.insert(e.atmnum);
    EXPECT_FALSE(e.name.empty());
    EXPECT_FALSE(e.symbol.empty());
    if (i > 0) {
      EXPECT_LE(t.GetElement(i - 1).mass, e.mass) << e.symbol;
    }
  }
  EXPECT_EQ(numbers.size(), 100u);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 100);
  EXPECT_EQ(t.GetElement(0).symbol, "H");
  EXPECT_EQ(t.GetElement(99).symbol, "Fm");
  EXPECT_EQ(t.GetElement(99).mass, 257.0);
}

TEST(PeriodicTableTest, HeavierElementsOfLowerNumberComeFirst) {
  const PeriodicTable& t = PeriodicTable::Instance();
  const auto row = [&](const std::string& symbol) {
    for (int i = 0; i < PeriodicTable::nelem; ++i) {
      if (t.GetElement(i).symbol == symbol) return i;
    }
    return -1;
  };
  EXPECT_EQ(row("K"), 17);
  EXPECT_EQ(row("Ar"), 18);
  EXPECT_LT(row("Ni"), row("Co"));
  EXPECT_LT(row("I"), row("Te"));
  EXPECT_LT(row("Pa"), row("Th"));
  EXPECT_LT(row("Am"), row("Pu"));
  EXPECT_LT(row("Cm"), row("Bk"));
}

TEST(PeriodicTableTest, MassesMatchAfterTruncationToHundredths) {
  const PeriodicTable& t = PeriodicTable::Instance();
  const auto number = [&](double mass) {
    const int row = t.FindElement(mass);
    return row < 0 ? -1 : t.GetElement(row).atmnum;
  };
  EXPECT_EQ(number(12.011), 6);
  EXPECT_EQ(number(1.008), 1);
  EXPECT_EQ(number(32.06), 16);
  EXPECT_EQ(number(35.45), 17);
  EXPECT_EQ(number(14.007), 7);
  EXPECT_EQ(number(15.9994), 8);
  EXPECT_EQ(number(12.02), -1);
  EXPECT_EQ(number(0.0), -1);
  EXPECT_EQ(number(1e300), -1);
  // Equal masses: the first row in table order.
  EXPECT_EQ(number(247.0), 96);
}

TEST(PeriodicTableTest, RowsOutsideTheTable) {
  const PeriodicTable& t = PeriodicTable::Instance();
  EXPECT_THROW(t.GetElement(100), std::out_of_range);
  EXPECT_THROW(t.GetElement(-1), std::out_of_range);
}
