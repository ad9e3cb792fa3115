// Residue topology files: reading and writing the molecule. Broken, absent
// and unwritable files are cases of tests/data/scripts.
#include "topology.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "mol.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

namespace {

// A clean set of force-field objects with the test types as topology file.
class TopologyTest : public testing::Test {
 protected:
  void SetUp() override {
    CharmmTopPar = Charmm(), chemtp = Chem(), BondStruct = CBonds(), m = CMolecule();
    CharmmTopPar.AddNewTopology(DataPath("topology/types.rtf"));
  }
  // Reads a topology file or text into m; returns what was printed.
  std::string ReadPath(const std::string& path) {
    return Printed([&] { m.read_top(path); });
  }
  std::string Read(const std::string& text) { return ReadPath(dir.Write("mol.rtf", text)); }

  ForceFieldState state;
  TempDir dir;
  CMolecule m;
};

// methanol.rtf has lower-case keys, two groups, a MASS line of its own,
// charge penalties behind comment marks (taken only when a non-negative
// number), an odd name on a BOND line and a TRIPLE line. The written file
// shows what was read; read back into a fresh process state, it is written
// again unchanged.
TEST_F(TopologyTest, ReadsTheResidueAndWritesItBack) {
  const std::string file = DataPath("topology/methanol.rtf");
  EXPECT_EQ(ReadPath(file), "$ reading topology from " + file +
                                "\n$ number of atoms read     :    6\n"
                                "$ number of impropers read :    1\n"
                                "$ total number of bonds    :    6\n");
  ExpectSameAsReference(Describe(m), "topology/methanol_read.txt");
  EXPECT_EQ(m.xyz.size() + m.dij.size() + BondStruct.bonds.size(), 18u + 36u + 6u);
  const std::string out = (dir.path() / "out.rtf").string();
  EXPECT_EQ(Printed([&] { m.write_top(out); }), "$ topology was written to " + out + "\n");
  const std::string written = dir.Read("out.rtf");
  ExpectSameAsReference(written, "topology/methanol_written.rtf");
  SetUp();
  Read(written);
  Printed([&] { m.write_top(out); });
  EXPECT_EQ(dir.Read("out.rtf"), written);
}

// RESIDUE and IMPR prefixes, two impropers on a line, a lone pair and a dummy
// (element 0). A second read replaces the atoms, keeps the other fields and
// the bonds read before, which then may name atoms that are gone.
TEST_F(TopologyTest, PrefixesLonePairsDummiesAndASecondRead) {
  Read(
      "RESIDUE X -1.00\nGROUP\nATOM A CG331 0.0\nATOM LP LPH -1.0\nATOM D DUM 0\nATOM C HGA3 "
      "0\nIMPR A LP D C LP D C A\n");
  EXPECT_DOUBLE_EQ(m.netcharge, -1.0);
  EXPECT_EQ(m.atom[1].atmnum + m.atom[2].atmnum, 0);
  ASSERT_EQ(m.impr.size(), 2u);
  EXPECT_EQ(m.impr[1].aid, (std::vector<int>{1, 2, 3, 0}));

  SetUp();
  ReadPath(DataPath("topology/methanol.rtf"));
  m.atom[0].qstart = 7.0;
  m.igroup = 0;
  const char* small = "RESI X 0\nGROUP\nATOM C CG331 0.1\nATOM O OG311 -0.1\n";
  EXPECT_THAT([&] { Read(small); },
              testing::ThrowsMessage<std::out_of_range>(
                  testing::StrEq("bond 2 - 3 names an atom beyond the 2 atoms of the topology")));
  BondStruct = CBonds();
  m.igroup = 0;
  Read(small);
  EXPECT_EQ(m.natm + m.atom.size(), 4u);
  EXPECT_EQ(m.atom[0].name, "C");
  EXPECT_DOUBLE_EQ(m.atom[0].qstart, 7.0);  // not a topology field: kept
}

}  // namespace
