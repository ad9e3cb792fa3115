#include "bond.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "io.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"

using testing::HasSubstr;
using testing_support::MakeMolecule;

namespace {

// bond_create and GenerateStructure with their output captured.
std::string Perceive(CMolecule& m) {
  return testing_support::Printed([&] {
    m.bond_create();
    m.GenerateStructure();
  });
}

template <class Term>
std::set<std::vector<int>> Aids(const std::vector<Term>& terms) {
  std::set<std::vector<int>> s;
  for (const auto& t : terms) s.insert(t.aid);
  return s;
}

}  // namespace

TEST(BondLengthTableTest, RulesAreSymmetricAndUnknownPairsHaveNone) {
  const struct {
    int z1, z2;
    double length;  // 0: never bonded, -1: no rule
  } rules[] = {{6, 8, 1.55}, {8, 6, 1.55},     {1, 16, 1.4}, {53, 6, 2.2},
               {8, 8, 1.6},  {7, 7, 0.0},      {1, 1, 0.0},  {6, 35, -1.0},
               {0, 6, -1.0}, {100, 100, -1.0}, {101, 6, -1}, {-1, 6, -1.0}};
  for (const auto& r : rules) EXPECT_EQ(mdist(r.z1, r.z2), r.length) << r.z1 << "-" << r.z2;
}

// What is printed and the molecule with its terms: each angle once, lower
// outer atom first, centre in the middle. Pairs without a rule (C-Br) are
// reported; peroxide oxygens are bonded, hydrazine nitrogens need the
// topology, where a bond is kept and counted as existing.
TEST(BondPerceptionTest, PerceivedTermsOfSmallMolecules) {
  const auto hydrazine = [](bool bonded) {
    CMolecule m = MakeMolecule({{"N1", 7, 0, 0, 0},
                                {"N2", 7, 1.45, 0, 0},
                                {"H11", 1, -0.34, 0.95, 0},
                                {"H21", 1, 1.79, 0.95, 0}});
    m.atom[0].bond[1] = m.atom[1].bond[0] = bonded ? 1 : 0;
    return m;
  };
  const std::pair<std::string, CMolecule> cases[] = {
      {"methanol", testing_support::Methanol()},
      {"bromomethane", MakeMolecule({{"C", 6, 0, 0, 0},
                                     {"BR", 35, 1.94, 0, 0},
                                     {"H1", 1, -0.36, 1.03, 0},
                                     {"H2", 1, -0.36, -0.51, 0.89},
                                     {"H3", 1, -0.36, -0.51, -0.89}})},
      {"peroxide", testing_support::HydrogenPeroxide()},
      {"hydrazine", hydrazine(false)},
      {"hydrazine with its N-N bond", hydrazine(true)},
  };
  std::string report;
  for (auto [name, m] : cases) {
    report += "=== " + name + "\n" + Perceive(m);
    report += testing_support::Describe(m);
    for (const auto& d : m.dihedral) EXPECT_EQ(d.fid, -1);
    if (name != "methanol") continue;
    // Terms stay when a bond is removed; the pair list follows the adjacency rows.
    m.atom[1].bond[5] = m.atom[5].bond[1] = 0;
    testing_support::Printed([&] { m.GenerateStructure(); });
    EXPECT_EQ(m.bond.size(), 5u);
    EXPECT_EQ(m.dihedral.size(), 3u);
    EXPECT_EQ(m.nbondlist[1 * m.natm + 5], 1);
  }
  testing_support::ExpectSameAsReference(report, "bond_perception.txt");
}

TEST(BondPerceptionTest, EthaneTermsPairListsAndASecondCall) {
  CMolecule m = testing_support::Ethane();
  Perceive(m);
  EXPECT_THAT(Perceive(m), HasSubstr("additional bonds created : 0\n"));
  EXPECT_EQ(m.bond.size(), 7u);
  EXPECT_EQ(m.angle.size(), 12u);
  EXPECT_EQ(Aids(m.dihedral).size(), 9u);
  ASSERT_EQ(m.dihedral.size(), 9u);
  ASSERT_EQ(m.n14inter, 9);
  ASSERT_EQ(m.pairlist14.size(), 18u);
  for (std::size_t d = 0; d < m.dihedral.size(); ++d) {
    EXPECT_EQ(m.pairlist14[2 * d], m.dihedral[d].aid[0]);
    EXPECT_EQ(m.pairlist14[2 * d + 1], m.dihedral[d].aid[3]);
  }
  const auto pair = [&](int a, int b) { return m.nbondlist.at(a * m.natm + b); };
  EXPECT_EQ(pair(2, 5) + pair(5, 2), 2);                            // H11-H21: 1-4
  EXPECT_EQ(pair(2, 3) + pair(2, 1) + pair(0, 1) + pair(0, 0), 0);  // 1-3, 1-3, bonded, self
}

TEST(BondPerceptionTest, CoincidentAtomsEndTheProcess) {
  CMolecule m = MakeMolecule({{"C", 6, 0, 0, 0}, {"O", 8, 0, 0, 0}});
  const ProcessExit e = testing_support::ExpectExit([&] { Perceive(m); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err distance between atoms is zero : C and O\n");
  m.natm = 3;  // more atoms counted than there are
  EXPECT_THAT([&] { m.GenerateStructure(); },
              testing::ThrowsMessage<std::out_of_range>("fewer atoms than natm"));
}
