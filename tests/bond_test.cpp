#include "bond.h"

#include <gtest/gtest.h>

#include <set>

#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"

using testing_support::Ethane;
using testing_support::ExpectExit;
using testing_support::MakeMolecule;
using testing_support::Methanol;

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
  EXPECT_EQ(mdist(6, 8), 1.55);
  EXPECT_EQ(mdist(8, 6), 1.55);
  EXPECT_EQ(mdist(1, 16), 1.4);
  EXPECT_EQ(mdist(53, 6), 2.2);
  EXPECT_EQ(mdist(7, 7), 0.0);
  EXPECT_EQ(mdist(1, 1), 0.0);
  EXPECT_EQ(mdist(6, 35), -1.0);     // C-Br
  EXPECT_EQ(mdist(0, 6), -1.0);      // lone pair
  EXPECT_EQ(mdist(100, 100), -1.0);  // Fermium is inside the table
  EXPECT_EQ(mdist(101, 6), -1.0);
  EXPECT_EQ(mdist(-1, 6), -1.0);
}

TEST(BondPerceptionTest, Methanol) {
  CMolecule m = Methanol();
  const std::string out = Perceive(m);
  EXPECT_EQ(out,
            "$ creating (additional) bonds\n"
            "$ total number of bonds : 5; additional bonds created : 5\n"
            "$ summary of the structure : \n"
            "number of bonds  :     5\n"
            "number of angles :     7\n"
            "number of dihe   :     3\n");
  EXPECT_EQ(Aids(m.bond), (std::set<std::vector<int>>{{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}}));
  EXPECT_EQ(m.atom[0].ibond, 4);
  EXPECT_EQ(m.atom[5].ibond, 1);
  EXPECT_EQ(m.atom[2].bond[3], 0);  // H-H never bonded
  // Each angle once, lower outer atom first, centre in the middle.
  EXPECT_EQ(Aids(m.angle),
            (std::set<std::vector<int>>{
                {0, 1, 5}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}, {2, 0, 3}, {2, 0, 4}, {3, 0, 4}}));
  EXPECT_EQ(Aids(m.dihedral),
            (std::set<std::vector<int>>{{2, 0, 1, 5}, {3, 0, 1, 5}, {4, 0, 1, 5}}));
  for (const auto& d : m.dihedral) EXPECT_EQ(d.fid, -1);
}

TEST(BondPerceptionTest, EthaneCountsStayOnASecondCall) {
  CMolecule m = Ethane();
  Perceive(m);
  EXPECT_EQ(m.bond.size(), 7u);
  EXPECT_EQ(m.angle.size(), 12u);
  EXPECT_EQ(m.dihedral.size(), 9u);
  const std::string again = Perceive(m);
  EXPECT_NE(again.find("additional bonds created : 0\n"), std::string::npos);
  EXPECT_EQ(m.bond.size(), 7u);
  EXPECT_EQ(m.angle.size(), 12u);
  EXPECT_EQ(m.dihedral.size(), 9u);
  EXPECT_EQ(Aids(m.dihedral).size(), 9u);
}

TEST(BondPerceptionTest, PairListsOfEthane) {
  CMolecule m = Ethane();
  Perceive(m);
  const int n = m.natm;
  ASSERT_EQ(m.n14inter, 9);
  ASSERT_EQ(m.pairlist14.size(), 18u);
  for (std::size_t d = 0; d < m.dihedral.size(); ++d) {
    EXPECT_EQ(m.pairlist14[2 * d], m.dihedral[d].aid[0]);
    EXPECT_EQ(m.pairlist14[2 * d + 1], m.dihedral[d].aid[3]);
  }
  ASSERT_EQ(m.nbondlist.size(), static_cast<std::size_t>(n * n));
  const auto pair = [&](int a, int b) { return m.nbondlist[a * n + b]; };
  EXPECT_EQ(pair(2, 5), 1);  // H11-H21: 1-4
  EXPECT_EQ(pair(5, 2), 1);
  EXPECT_EQ(pair(2, 3), 0);  // H11-H12: 1-3
  EXPECT_EQ(pair(2, 1), 0);  // H11-C2: 1-3
  EXPECT_EQ(pair(0, 1), 0);  // bonded
  EXPECT_EQ(pair(0, 0), 0);
}

TEST(BondPerceptionTest, PeroxideOxygensAreBonded) {
  CMolecule m = MakeMolecule({{"O1", 8, 0, 0, 0},
                              {"O2", 8, 1.47, 0, 0},
                              {"H1", 1, -0.3, 0.92, 0},
                              {"H2", 1, 1.77, 0, 0.92}});
  Perceive(m);
  EXPECT_EQ(m.atom[0].bond[1], 1);
  EXPECT_EQ(m.bond.size(), 3u);
  EXPECT_EQ(m.angle.size(), 2u);
  ASSERT_EQ(m.dihedral.size(), 1u);
  EXPECT_EQ(m.dihedral[0].aid, (std::vector<int>{2, 0, 1, 3}));
}

TEST(BondPerceptionTest, BromineHasNoRule) {
  CMolecule m = MakeMolecule({{"C", 6, 0, 0, 0},
                              {"BR", 35, 1.94, 0, 0},
                              {"H1", 1, -0.36, 1.03, 0},
                              {"H2", 1, -0.36, -0.51, 0.89},
                              {"H3", 1, -0.36, -0.51, -0.89}});
  const std::string out = Perceive(m);
  const std::string cbr =
      "$ mdist was not defined for 6 and 35; enter bonds in the topology manually\n";
  const std::string brh =
      "$ mdist was not defined for 35 and 1; enter bonds in the topology manually\n";
  EXPECT_NE(out.find(cbr), std::string::npos);
  std::size_t count = 0;
  for (auto p = out.find(brh); p != std::string::npos; p = out.find(brh, p + 1)) ++count;
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(m.atom[1].ibond, 0);
  EXPECT_EQ(m.bond.size(), 3u);
  EXPECT_NE(out.find("$ total number of bonds : 3; additional bonds created : 3\n"),
            std::string::npos);
}

TEST(BondPerceptionTest, HydrazineNitrogensNeedTheTopology) {
  const CMolecule hydrazine = MakeMolecule({{"N1", 7, 0, 0, 0},
                                            {"N2", 7, 1.45, 0, 0},
                                            {"H11", 1, -0.34, 0.95, 0},
                                            {"H21", 1, 1.79, 0.95, 0}});
  CMolecule m = hydrazine;
  Perceive(m);
  EXPECT_EQ(m.atom[0].bond[1], 0);
  EXPECT_EQ(m.bond.size(), 2u);

  // A bond from the topology is kept and counted as existing.
  CMolecule t = hydrazine;
  t.atom[0].bond[1] = t.atom[1].bond[0] = 1;
  const std::string out = Perceive(t);
  EXPECT_NE(out.find("$ total number of bonds : 3; additional bonds created : 2\n"),
            std::string::npos);
  EXPECT_EQ(t.dihedral.size(), 1u);
}

TEST(BondPerceptionTest, TermsStayWhenABondIsRemoved) {
  CMolecule m = Methanol();
  Perceive(m);
  m.atom[1].bond[5] = m.atom[5].bond[1] = 0;
  testing::internal::CaptureStdout();
  m.GenerateStructure();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(m.bond.size(), 5u);
  EXPECT_EQ(m.dihedral.size(), 3u);
  EXPECT_EQ(m.nbondlist[1 * m.natm + 5], 1);  // the pair list follows the adjacency rows
}

TEST(BondPerceptionTest, CoincidentAtomsEndTheProcess) {
  CMolecule m = MakeMolecule({{"C", 6, 0, 0, 0}, {"O", 8, 0, 0, 0}});
  const ProcessExit e = ExpectExit([&] { Perceive(m); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err distance between atoms is zero : C and O\n");
}
