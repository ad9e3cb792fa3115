#include "elements.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace {

const PeriodicTable& table = PeriodicTable::Instance();

TEST(PeriodicTableTest, HundredElementsInOrderOfMass) {
  std::set<int> numbers;
  for (int i = 0; i < PeriodicTable::nelem; ++i) {
    const Element& e = table.GetElement(i);
    numbers.insert(e.atmnum);
    EXPECT_FALSE(e.name.empty() || e.symbol.empty()) << i;
    if (i > 0) {
      EXPECT_LE(table.GetElement(i - 1).mass, e.mass) << e.symbol;
    }
  }
  EXPECT_EQ(numbers.size(), 100u);
  EXPECT_EQ(*numbers.rbegin(), 100);
  EXPECT_EQ(table.GetElement(0).symbol, "H");
  EXPECT_EQ(table.GetElement(17).symbol + table.GetElement(18).symbol, "KAr");
  EXPECT_EQ(table.GetElement(99).mass, 257.0);
  EXPECT_THAT([] { table.GetElement(100); }, testing::ThrowsMessage<std::out_of_range>(
                                                 "no element in row 100 of the periodic table"));
  EXPECT_THROW(table.GetElement(-1), std::out_of_range);
}

TEST(PeriodicTableTest, MassesMatchAfterTruncationToHundredths) {
  const auto number = [](double mass) {
    const int row = table.FindElement(mass);
    return row < 0 ? -1 : table.GetElement(row).atmnum;
  };
  EXPECT_EQ(number(12.011), 6);
  EXPECT_EQ(number(1.008), 1);
  EXPECT_EQ(number(35.45), 17);
  EXPECT_EQ(number(15.9994), 8);
  EXPECT_EQ(number(12.02), -1);
  EXPECT_EQ(number(1e300), -1);
  EXPECT_EQ(number(247.0), 96);  // equal masses: the first row in table order
}

}  // namespace
