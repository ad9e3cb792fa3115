// Residue topology files: reading and writing the molecule.
#include "topology.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "mol.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing::StrEq;
using testing::ThrowsMessage;
using testing_support::ExpectExit;
using testing_support::ForceFieldState;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

const char* kTypes =
    "MASS 1 HGA3    1.00800 H\n"
    "MASS 2 CG331  12.01100 C\n"
    "MASS 3 OG311  15.99940 O\n"
    "MASS 4 HGP1    1.00800 H\n"
    "MASS 5 LPH     0.00000 LP\n"
    "MASS 6 DUM     0.00000 H\n"
    "MASS 7 ODD     0.50000 X\n";

// Lower-case keys, two groups, a MASS line of its own, charge penalties
// behind comment marks, an odd name on a BOND line and a TRIPLE line (no bond).
const char* kMethanol =
    "* methanol\n"
    "*\n"
    "36 1\n"
    "mass 12 hx 1.008 h\n"
    "resi meoh 0.00 ! methanol\n"
    "group\n"
    "atom cb cg331 -0.04 ! 5.0\n"
    "ATOM OG OG311 -0.65 ! -1\n"
    "ATOM HG1 HGP1 0.42 ! x\n"
    "GROUP\n"
    "ATOM HB1 HGA3 0.09\n"
    "ATOM HB2 HGA3 0.09\n"
    "ATOM HB3 HGA3 0.09\n"
    "BOND CB OG OG HG1 ! two\n"
    "BOND CB HB1 CB HB2 CB\n"
    "DOUBLE CB HB3\n"
    "TRIPLE OG HB1\n"
    "IMPROPER CB OG HG1 HB1 ! x\n"
    "END\n";

// A clean set of force-field objects with the test types as topology file.
class TopologyTest : public testing::Test {
 protected:
  void SetUp() override {
    CharmmTopPar = Charmm();
    chemtp = Chem();
    BondStruct = CBonds();
    CharmmTopPar.AddNewTopology(dir.Write("types.rtf", kTypes));
  }

  // Reads a topology text into m; returns what was printed.
  std::string Read(const std::string& text, const char* name = "mol.rtf") {
    const std::string path = dir.Write(name, text);
    return Printed([&] { m.read_top(path); });
  }

  ForceFieldState state;
  TempDir dir;
  CMolecule m;
};

// The written file shows what was read: names, types, charges, groups,
// bonds (BOND and DOUBLE lines, no TRIPLE), impropers and MASS lines.
TEST_F(TopologyTest, ReadsTheResidueAndWritesItBack) {
  EXPECT_EQ(Read(kMethanol), "$ reading topology from " + (dir.path() / "mol.rtf").string() +
                                 "\n$ number of atoms read     :    6\n"
                                 "$ number of impropers read :    1\n"
                                 "$ total number of bonds    :    5\n");
  ASSERT_EQ(m.natm, 6);
  EXPECT_DOUBLE_EQ(m.atom[0].mass, 12.011);
  EXPECT_EQ(m.atom[0].atmnum, 6);
  EXPECT_EQ(m.atom[1].atmnum, 8);
  EXPECT_EQ(m.atom[2].atmnum, 1);
  EXPECT_EQ(m.atom[3].serial, 4);
  EXPECT_EQ(m.atom[3].segid, "AAAA");
  EXPECT_EQ(m.xyz.size(), 18u);
  EXPECT_EQ(m.dij.size(), 36u);
  EXPECT_EQ(m.atom[0].ibond, 4);
  EXPECT_EQ(m.atom[1].ibond, 2);
  EXPECT_EQ(BondStruct.bonds.size(), 5u);
  // The penalty only from a non-negative number after the mark.
  EXPECT_DOUBLE_EQ(m.atom[0].qpenalty, 5.0);
  for (int i : {1, 2, 3}) EXPECT_DOUBLE_EQ(m.atom[i].qpenalty, 1000.0);

  const std::string out = (dir.path() / "out.rtf").string();
  EXPECT_EQ(Printed([&] { m.write_top(out); }), "$ topology was written to " + out + "\n");
  const std::string written = dir.Read("out.rtf");
  EXPECT_EQ(written,
            "* TMP\n*\n36 1\n"
            "MASS      12       HX  1.008000000        H\n"
            "\n"
            "RESI TMP               0.000\n"
            "GROUP\n"
            "ATOM CB      CG331    -0.040\n"
            "ATOM OG      OG311    -0.650\n"
            "ATOM HG1     HGP1      0.420\n"
            "GROUP\n"
            "ATOM HB1     HGA3      0.090\n"
            "ATOM HB2     HGA3      0.090\n"
            "ATOM HB3     HGA3      0.090\n"
            "\n"
            "BOND       CB      OG      CB     HB1      CB     HB2      CB     HB3\n"
            "BOND       OG     HG1\n"
            "IMPR      CB      OG     HG1     HB1\n"
            "\n\nEND\n\n");

  // Read back into a fresh process state, the file is written again unchanged.
  chemtp = Chem();
  BondStruct = CBonds();
  m = CMolecule();
  Read(written, "again.rtf");
  Printed([&] { m.write_top(out); });
  EXPECT_EQ(dir.Read("out.rtf"), written);
}

TEST_F(TopologyTest, ResidueAndImproperPrefixesLonePairsAndDummies) {
  Read(
      "RESIDUE X -1.00\nGROUP\nATOM A CG331 0.0\nATOM LP LPH -1.0\nATOM D DUM 0\n"
      "ATOM C HGA3 0\nIMPR A LP D C LP D C A\n");
  EXPECT_DOUBLE_EQ(m.netcharge, -1.0);
  EXPECT_EQ(m.atom[1].atmnum, 0);
  EXPECT_EQ(m.atom[2].atmnum, 0);
  ASSERT_EQ(m.impr.size(), 2u);
  EXPECT_EQ(m.impr[1].aid, (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(TopologyTest, ASecondReadReplacesTheAtomsAndKeepsTheBondsRead) {
  Read(kMethanol);
  m.atom[0].qstart = 7.0;
  m.igroup = 0;
  const char* small = "RESI X 0\nGROUP\nATOM C CG331 0.1\nATOM O OG311 -0.1\n";
  EXPECT_THAT([&] { Read(small); },
              ThrowsMessage<std::out_of_range>(
                  StrEq("bond 2 - 3 names an atom beyond the 2 atoms of the topology")));
  BondStruct = CBonds();
  m.igroup = 0;
  Read(small);
  EXPECT_EQ(m.natm, 2);
  EXPECT_EQ(m.atom.size(), 2u);
  EXPECT_EQ(m.atom[0].name, "C");
  EXPECT_DOUBLE_EQ(m.atom[0].qstart, 7.0);  // not a topology field: kept
}

TEST_F(TopologyTest, FailuresEndTheProcessWithTheirMessage) {
  const std::string missing = (dir.path() / "none.rtf").string();
  const std::string unwritable = (dir.path() / "no" / "out.rtf").string();
  const auto reads = [&](const std::string& text) {
    return std::function<void()>([this, text] { Read(text); });
  };
  const std::pair<std::function<void()>, std::string> cases[] = {
      {reads("RESI X 0\nATOM C CG331 0\n"), "$ err number of groups or atoms is zero\n"},
      {reads("RESI X 0\nGROUP\n"), "$ err number of groups or atoms is zero\n"},
      {reads("RESI X 0\nGROUP\nGROUP\nATOM C CG331 0\n"), "$err number of atom in group iz zero\n"},
      {reads("RESI X 0\nGROUP\nATOM C CG999 0\n"), "$ err this type CG999 does not exist\n"},
      {reads("RESI X 0\nGROUP\nATOM C ODD 0\n"),
       "$ err : the mass : 0.5 was not found for the atom : C\n"},
      {reads("RESI X 0\nGROUP\nATOM C CG331 minus\n"),
       "$ error while reading topology file in line : ATOM C CG331 MINUS\n"},
      {reads("RESI X one\n"), "$ error while reading topology file in line : RESI X ONE\n"},
      {reads("RESI X 0\nGROUP\nATOM C CG331 0\nBOND C O\nATOM O OG311 0\n"),
       "$ err atom was not found : O\n"},
      {[&] { m.read_top(missing); }, "$ err unable to open file : " + missing + "\n"},
      {[&] { m.write_top(unwritable); }, "$ err unable to open file : " + unwritable + "\n"},
      {[&] {
         CharmmTopPar.AddNewTopology(missing);
         Read("RESI X 0\nGROUP\nATOM C CG331 0\n");
       },
       "$ can not open file " + missing + "\n"},
  };
  for (const auto& [action, message] : cases) {
    SCOPED_TRACE(message);
    BondStruct = CBonds();
    m = CMolecule();
    const auto e = ExpectExit(action);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
  }
}

TEST_F(TopologyTest, ResidueCutFromTheReferenceTopology) {
  const std::string ref = testing_support::SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string text = testing_support::ReadFile(top);
  const auto begin = text.find("RESI MEOH");
  ASSERT_NE(begin, std::string::npos);
  CharmmTopPar = Charmm();
  CharmmTopPar.AddNewTopology(top);
  Read(text.substr(begin, text.find("\nRESI", begin + 1) - begin + 1));
  ASSERT_EQ(m.natm, 6);
  EXPECT_EQ(m.atom[0].atmnum, 6);
  EXPECT_EQ(m.atom[1].atmnum, 8);
  EXPECT_EQ(m.atom[2].atmnum, 1);
  EXPECT_EQ(m.atom[0].ibond, 4);
  const std::string out = (dir.path() / "meoh.rtf").string();
  Printed([&] { m.write_top(out); });
  EXPECT_NE(dir.Read("meoh.rtf").find("ATOM HG1     HGP1      0.420\n"), std::string::npos);
}

}  // namespace
