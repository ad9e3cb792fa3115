// The entries of the bonded parameter table that a molecule needs.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "support/reference_file.h"

using namespace testing_support;

namespace {

// Symmetric terms share an entry made from the first term; impropers of the
// same types reversed share one too. Values come from the structure. Listing
// again resets the values and keeps the other fields.
TEST(CreateListParam, EntriesMadeFromTheFirstTermOfTheirTypes) {
  CMolecule m = TypedMethanol();
  m.impr.emplace_back(1, 0, 2, 3);
  m.impr.emplace_back(3, 2, 0, 1);
  m.impr.emplace_back(2, 1, 0, 5);
  Param p;
  m.CreateListParam(p);
  const auto fids = [](const auto& v) { std::string s; for (const auto& t : v) s += std::to_string(t.fid); return s; };
  EXPECT_EQ(fids(m.bond) + " " + fids(m.angle) + " " + fids(m.dihedral) + " " + fids(m.impr), "01002 0112001 000 001");
  ExpectSameAsReference(Dump(p), "param/methanol_list.txt");
  p.bond[0].fOpt = p.dihe[0].NonZero[2] = 1;
  p.bond[0].ifread = p.dihe[0].ifReadHarm[2] = true;
  p.bond[0].comment = "kept", p.impr[0].force = 7.0;
  m.CreateListParam(p);
  ExpectSameAsReference(Dump(p), "param/methanol_list_again.txt");
}

}  // namespace
