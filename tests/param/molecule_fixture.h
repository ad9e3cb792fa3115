#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mol.h"
#include "param/param.h"
#include "support/molecule.h"

namespace testing_support {

// Methanol with a hydrogen listed before the carbon, so that its terms come
// in both type orders: H1 C O H2 H3 HO. H1-C-O is a right angle and the
// dihedral H1-C-O-HO is 90 degrees; O-HO is 0.96 A long.
inline CMolecule TypedMethanol() {
  CMolecule m = MakeMolecule({{"H1", 1, 0.0, 1.09, 0.0},
                              {"C", 6, 0.0, 0.0, 0.0},
                              {"O", 8, 1.43, 0.0, 0.0},
                              {"H2", 1, -0.36, -0.51, 0.89},
                              {"H3", 1, -0.36, -0.51, -0.89},
                              {"HO", 1, 1.43, 0.0, 0.96}});
  const char* types[] = {"HGA3", "CG331", "OG311", "HGA3", "HGA3", "HGP1"};
  for (int i = 0; i < m.natm; ++i) m.atom[i].type = types[i];
  const int bonds[][2] = {{0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}};
  for (const auto& b : bonds) m.atom[b[0]].bond[b[1]] = m.atom[b[1]].bond[b[0]] = 1;
  testing::internal::CaptureStdout();
  m.GenerateStructure();
  testing::internal::GetCapturedStdout();
  return m;
}

// Sets the types of a table entry: two for a bond, three for an angle, four
// for a dihedral or an improper.
template <class Entry>
Entry& WithTypes(Entry& e, const std::vector<std::string>& types) {
  e.atp1 = types.at(0);
  e.atp2 = types.at(1);
  if constexpr (requires { e.atp3; }) e.atp3 = types.at(2);
  if constexpr (requires { e.atp4; }) e.atp4 = types.at(3);
  return e;
}

}  // namespace testing_support
