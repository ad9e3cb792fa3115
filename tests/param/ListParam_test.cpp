// The entries of the bonded parameter table that a molecule needs.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/reference_file.h"

using testing_support::Dump;
using testing_support::TypedMethanol;

namespace {

// The entry of every term, in the molecule's order of terms.
std::string Fids(const CMolecule& m) {
  std::string s;
  const auto add = [&s](const auto& terms) {
    for (const auto& t : terms) s += std::to_string(t.fid) + " ";
    s += "| ";
  };
  add(m.bond);
  add(m.angle);
  add(m.dihedral);
  add(m.impr);
  return s;
}

// Symmetric terms share an entry made from the first term; impropers of the
// same types reversed share one too. Values come from the structure.
TEST(CreateListParam, EntriesMadeFromTheFirstTermOfTheirTypes) {
  CMolecule m = TypedMethanol();
  m.impr.emplace_back(1, 0, 2, 3);
  m.impr.emplace_back(3, 2, 0, 1);
  m.impr.emplace_back(2, 1, 0, 5);
  Param p;
  m.CreateListParam(p);
  EXPECT_EQ(Fids(m), "0 1 0 0 2 | 0 1 1 2 0 0 1 | 0 0 0 | 0 0 1 | ");
  testing_support::ExpectSameAsReference(Dump(p), "param/methanol_list.txt");

  // Listing again resets the values and keeps the other fields.
  p.bond[0].fOpt = 1;
  p.bond[0].ifread = true;
  p.bond[0].comment = "kept";
  p.dihe[0].NonZero[2] = 1;
  p.dihe[0].ifReadHarm[2] = true;
  p.impr[0].force = 7.0;
  m.CreateListParam(p);
  testing_support::ExpectSameAsReference(Dump(p), "param/methanol_list_again.txt");
}

}  // namespace
