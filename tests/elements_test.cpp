#include "elements.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace {

const PeriodicTable& table = PeriodicTable::Instance();

TEST(PeriodicTableTest, HundredElementsInOrderOfMass) {
  std::set<int> numbers;
  for (int i = 0; i < PeriodicTable::nelem; ++i) {
    numbers.insert(table.GetElement(i).atmnum);
    EXPECT_FALSE(table.GetElement(i).name.empty() || table.GetElement(i).symbol.empty()) << i;
    EXPECT_LE(table.GetElement(i > 0 ? i - 1 : 0).mass, table.GetElement(i).mass) << i;
  }
  EXPECT_EQ(numbers.size(), 100u);
  EXPECT_EQ(*numbers.rbegin(), 100);
  EXPECT_EQ(table.GetElement(0).symbol + table.GetElement(17).symbol + table.GetElement(18).symbol,
            "HKAr");
  EXPECT_EQ(table.GetElement(99).mass, 257.0);
  EXPECT_THAT([] { table.GetElement(100); }, testing::ThrowsMessage<std::out_of_range>(
                                                 "no element in row 100 of the periodic table"));
  EXPECT_THROW(table.GetElement(-1), std::out_of_range);
}

// Masses match after truncation to hundredths; of equal masses (247) the
// first row in table order; -1: no element.
TEST(PeriodicTableTest, ElementsAreFoundByMass) {
  const std::pair<double, int> rows[] = {{12.011, 6}, {1.008, 1},  {35.45, 17}, {15.9994, 8},
                                         {12.02, -1}, {1e300, -1}, {247.0, 96}};
  for (const auto& [mass, number] : rows) {
    const int row = table.FindElement(mass);
    EXPECT_EQ(row < 0 ? -1 : table.GetElement(row).atmnum, number) << mass;
  }
}

}  // namespace
