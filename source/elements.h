#pragma once

#include <array>
#include <string>

#include "constants.h"

// One chemical element.
class Element {
 public:
  Real mass = 0.0;
  std::string name;
  std::string symbol;
  int atmnum = 0;
};

// The elements Hydrogen to Fermium, in order of increasing mass.
class PeriodicTable {
 public:
  static const PeriodicTable& Instance();

  // Index of the first row whose mass x 100, truncated toward zero, equals
  // mass x 100 truncated the same way; -1 when none does.
  int FindElement(Real mass) const;
  // The element of a row; raises std::out_of_range outside 0 .. nelem-1.
  const Element& GetElement(int row) const;

  static constexpr int nelem = 100;
  std::array<Element, nelem> elements;

 private:
  PeriodicTable();
};
