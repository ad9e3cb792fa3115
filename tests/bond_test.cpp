#include "bond.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"

using testing_support::MakeMolecule;

namespace {

// bond_create and GenerateStructure with their output captured.
std::string Perceive(CMolecule& m) {
  return testing_support::Printed([&] {
    m.bond_create();
    m.GenerateStructure();
  });
}

}  // namespace

TEST(BondLengthTableTest, RulesAreSymmetricAndUnknownPairsHaveNone) {
  // Atomic numbers and length: 0, never bonded; -1, no rule.
  const std::tuple<int, int, double> rules[] = {
      {6, 8, 1.55}, {8, 6, 1.55},  {1, 16, 1.4}, {53, 6, 2.2}, {8, 8, 1.6},   {7, 7, 0.0},
      {1, 1, 0.0},  {6, 35, -1.0}, {0, 6, -1.0}, {101, 6, -1}, {-1, 6, -1.0}, {100, 100, -1.0}};
  for (const auto& [z1, z2, length] : rules) EXPECT_EQ(mdist(z1, z2), length) << z1 << "-" << z2;
}

// What is printed and the molecule with its terms: each angle once, lower
// outer atom first, centre in the middle. Pairs without a rule (C-Br) are
// reported; peroxide oxygens are bonded, hydrazine nitrogens need the
// topology, where a bond is kept and counted as existing.
TEST(BondPerceptionTest, PerceivedTermsOfSmallMolecules) {
  CMolecule hydrazine = MakeMolecule({{"N1", 7, 0, 0, 0},
                                      {"N2", 7, 1.45, 0, 0},
                                      {"H11", 1, -0.34, 0.95, 0},
                                      {"H21", 1, 1.79, 0.95, 0}});
  CMolecule bonded = hydrazine;
  bonded.atom[0].bond[1] = bonded.atom[1].bond[0] = 1;
  const std::pair<std::string, CMolecule> cases[] = {
      {"methanol", testing_support::Methanol()},
      {"bromomethane", MakeMolecule({{"C", 6, 0, 0, 0},
                                     {"BR", 35, 1.94, 0, 0},
                                     {"H1", 1, -0.36, 1.03, 0},
                                     {"H2", 1, -0.36, -0.51, 0.89},
                                     {"H3", 1, -0.36, -0.51, -0.89}})},
      {"peroxide", testing_support::HydrogenPeroxide()},
      {"hydrazine", hydrazine},
      {"hydrazine with its N-N bond", bonded},
  };
  std::string report;
  for (auto [name, m] : cases) {
    report += "=== " + name + "\n" + Perceive(m);
    report += testing_support::Describe(m);
    for (const auto& d : m.dihedral) EXPECT_EQ(d.fid, -1);
    if (name != "methanol") continue;
    // Pairs neither bonded nor 1-3 are listed: H1-HO (1-4), not C-HO, H1-H2, C-O or C-C.
    const auto pair = [&](int a, int b) { return m.nbondlist.at(a * m.natm + b); };
    EXPECT_EQ(pair(2, 5) + pair(5, 2), 2);
    EXPECT_EQ(pair(0, 5) + pair(2, 3) + pair(0, 1) + pair(0, 0), 0);
    // Terms stay when a bond is removed; the pair list follows the adjacency rows.
    m.atom[1].bond[5] = m.atom[5].bond[1] = 0;
    testing_support::Printed([&] { m.GenerateStructure(); });
    EXPECT_EQ(m.bond.size(), 5u);
    EXPECT_EQ(m.dihedral.size(), 3u);
    EXPECT_EQ(m.nbondlist[1 * m.natm + 5], 1);
  }
  testing_support::ExpectSameAsReference(report, "bond_perception.txt");
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
