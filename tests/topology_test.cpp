// Residue topology files: reading and writing the molecule.
#include "topology.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "mol.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::ForceFieldState;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

const char* kTypes =
    "* types\n"
    "MASS 1 HGA3    1.00800 H\n"
    "MASS 2 CG331  12.01100 C\n"
    "MASS 3 OG311  15.99940 O\n"
    "MASS 4 HGP1    1.00800 H\n"
    "MASS 5 LPH     0.00000 LP\n"
    "MASS 6 DUM     0.00000 H\n"
    "MASS 7 ODD     0.50000 X\n";

const char* kMethanol =
    "* methanol\n"
    "*\n"
    "36 1\n"
    "resi meoh 0.00 ! methanol\n"
    "group\n"
    "atom cb cg331 -0.04 ! 5.0\n"
    "ATOM OG OG311 -0.65 ! -1\n"
    "ATOM HG1 HGP1 0.42 ! x\n"
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

  // Reads a topology text into m, with the standard output captured.
  std::string Read(CMolecule& m, const std::string& text) {
    const std::string path = dir.Write("mol.rtf", text);
    return Printed([&] { m.read_top(path); });
  }

  ProcessExit ReadFails(const std::string& text) {
    const std::string path = dir.Write("bad.rtf", text);
    CMolecule m;
    return ExpectExit([&] { Printed([&] { m.read_top(path); }); });
  }

  ForceFieldState state;
  TempDir dir;
};

TEST_F(TopologyTest, ReadsAtomsChargesBondsAndImpropersInUpperCase) {
  CMolecule m;
  const std::string out = Read(m, kMethanol);
  EXPECT_EQ(out, "$ reading topology from " + (dir.path() / "mol.rtf").string() +
                     "\n$ number of atoms read     :    6\n"
                     "$ number of impropers read :    1\n"
                     "$ total number of bonds    :    5\n");
  ASSERT_EQ(m.natm, 6);
  EXPECT_EQ(m.atom[0].name, "CB");
  EXPECT_EQ(m.atom[0].type, "CG331");
  EXPECT_DOUBLE_EQ(m.atom[0].q, -0.04);
  EXPECT_DOUBLE_EQ(m.atom[0].mass, 12.011);
  EXPECT_EQ(m.atom[0].atmnum, 6);
  EXPECT_EQ(m.atom[1].atmnum, 8);
  EXPECT_EQ(m.atom[2].atmnum, 1);
  EXPECT_EQ(m.igroup, 1);
  EXPECT_EQ(m.atom[5].group, 0);
  EXPECT_DOUBLE_EQ(m.netcharge, 0.0);
  EXPECT_EQ(m.xyz.size(), 18u);
  EXPECT_EQ(m.dij.size(), 36u);
  EXPECT_EQ(m.atom[3].serial, 4);
  EXPECT_EQ(m.atom[3].segid, "AAAA");
  EXPECT_EQ(m.atom[3].resn, "TMP");
  EXPECT_EQ(m.atom[3].chain, " ");
  EXPECT_DOUBLE_EQ(m.atom[3].ocp, 1.0);
  EXPECT_DOUBLE_EQ(m.atom[3].xyz[0], -999.9);
}

TEST_F(TopologyTest, ChargePenaltyOnlyFromANonNegativeNumberAfterTheMark) {
  CMolecule m;
  Read(m, kMethanol);
  EXPECT_DOUBLE_EQ(m.atom[0].qpenalty, 5.0);
  EXPECT_DOUBLE_EQ(m.atom[1].qpenalty, 1000.0);
  EXPECT_DOUBLE_EQ(m.atom[2].qpenalty, 1000.0);
  EXPECT_DOUBLE_EQ(m.atom[3].qpenalty, 1000.0);
}

TEST_F(TopologyTest, BondAndDoubleLinesPairNamesAndIgnoreAnOddOne) {
  CMolecule m;
  Read(m, kMethanol);
  const int cb = 0, og = 1, hg1 = 2, hb1 = 3, hb3 = 5;
  EXPECT_EQ(m.atom[cb].bond[og], 1);
  EXPECT_EQ(m.atom[og].bond[cb], 1);
  EXPECT_EQ(m.atom[og].bond[hg1], 1);
  EXPECT_EQ(m.atom[cb].bond[hb3], 1);
  EXPECT_EQ(m.atom[og].bond[hb1], 0);  // TRIPLE lines make no bond
  EXPECT_EQ(m.atom[cb].ibond, 4);
  EXPECT_EQ(m.atom[og].ibond, 2);
  EXPECT_EQ(BondStruct.bonds.size(), 5u);
}

TEST_F(TopologyTest, ImproperAndResiduePrefixes) {
  CMolecule m;
  Read(m,
       "RESIDUE X -1.00\nGROUP\nATOM A CG331 0.0\nATOM B OG311 -1.0\nATOM C HGA3 0\nATOM D HGA3 0\n"
       "IMPR A B C D B C D A\n");
  EXPECT_DOUBLE_EQ(m.netcharge, -1.0);
  ASSERT_EQ(m.impr.size(), 2u);
  EXPECT_EQ(m.impr[1].aid, (std::vector<int>{1, 2, 3, 0}));
  CMolecule n;
  Read(n, kMethanol);
  ASSERT_EQ(n.impr.size(), 1u);
  EXPECT_EQ(n.impr[0].aid, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(TopologyTest, LonePairsAndDummiesHaveNoElement) {
  CMolecule m;
  Read(m, "RESI X 0\nGROUP\nATOM C CG331 0\nATOM LP LPH 0\nATOM D DUM 0\n");
  EXPECT_EQ(m.atom[1].atmnum, 0);
  EXPECT_EQ(m.atom[2].atmnum, 0);
}

TEST_F(TopologyTest, MassLinesOfTheResidueFileGoToTheMassTable) {
  CMolecule m;
  Read(m, "MASS 12 hx 1.008 h\nRESI X 0\nGROUP\nATOM C CG331 0\n");
  ASSERT_EQ(chemtp.nchem, 1);
  EXPECT_EQ(chemtp.chems[0].id, 12);
  EXPECT_EQ(chemtp.chems[0].name, "HX");
  EXPECT_EQ(chemtp.chems[0].atp, "H");
  EXPECT_DOUBLE_EQ(chemtp.chems[0].mass, 1.008);
}

TEST_F(TopologyTest, AReadReplacesTheAtomsOfAnEarlierOne) {
  CMolecule m;
  Read(m, kMethanol);
  m.atom[0].qstart = 7.0;
  m.igroup = 0;
  BondStruct = CBonds();
  Read(m, "RESI X 0\nGROUP\nATOM C CG331 0.1\nATOM O OG311 -0.1\n");
  EXPECT_EQ(m.natm, 2);
  EXPECT_EQ(m.atom.size(), 2u);
  EXPECT_EQ(m.atom[0].name, "C");
  EXPECT_DOUBLE_EQ(m.atom[0].qstart, 7.0);  // not a topology field: kept
}

TEST_F(TopologyTest, BondsKeptFromALargerMoleculeAreAnError) {
  CMolecule m;
  Read(m, kMethanol);
  m.igroup = 0;
  const std::string path =
      dir.Write("small.rtf", "RESI X 0\nGROUP\nATOM C CG331 0.1\nATOM O OG311 -0.1\n");
  EXPECT_THROW(Printed([&] { m.read_top(path); }), std::out_of_range);
}

TEST_F(TopologyTest, FailuresEndTheProcessWithTheirMessage) {
  struct Case {
    const char* text;
    std::string message;
  };
  const Case cases[] = {
      {"RESI X 0\nATOM C CG331 0\n", "$ err number of groups or atoms is zero\n"},
      {"RESI X 0\nGROUP\n", "$ err number of groups or atoms is zero\n"},
      {"RESI X 0\nGROUP\nGROUP\nATOM C CG331 0\n", "$err number of atom in group iz zero\n"},
      {"RESI X 0\nGROUP\nATOM C CG999 0\n", "$ err this type CG999 does not exist\n"},
      {"RESI X 0\nGROUP\nATOM C ODD 0\n",
       "$ err : the mass : 0.5 was not found for the atom : C\n"},
      {"RESI X 0\nGROUP\nATOM C CG331 minus\n",
       "$ error while reading topology file in line : ATOM C CG331 MINUS\n"},
      {"RESI X one\n", "$ error while reading topology file in line : RESI X ONE\n"},
      {"RESI X 0\nGROUP\nATOM C CG331 0\nBOND C O\nATOM O OG311 0\n",
       "$ err atom was not found : O\n"},
  };
  for (const auto& c : cases) {
    BondStruct = CBonds();
    const auto e = ReadFails(c.text);
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, c.message) << c.text;
  }
}

TEST_F(TopologyTest, MissingFilesEndTheProcess) {
  CMolecule m;
  const std::string missing = (dir.path() / "none.rtf").string();
  auto e = ExpectExit([&] { m.read_top(missing); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + missing + "\n");

  CharmmTopPar.AddNewTopology(missing);
  e = ReadFails("RESI X 0\nGROUP\nATOM C CG331 0\n");
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ can not open file " + missing + "\n");

  const auto w = ExpectExit([&] { m.write_top((dir.path() / "no" / "out.rtf").string()); });
  EXPECT_EQ(w.status, 1);
  EXPECT_EQ(w.message,
            "$ err unable to open file : " + (dir.path() / "no" / "out.rtf").string() + "\n");
}

TEST_F(TopologyTest, WritesGroupsBondsOnceAndImpropers) {
  CMolecule m;
  Read(m, kMethanol);
  const std::string out = (dir.path() / "out.rtf").string();
  EXPECT_EQ(Printed([&] { m.write_top(out); }), "$ topology was written to " + out + "\n");
  EXPECT_EQ(dir.Read("out.rtf"),
            "* TMP\n*\n36 1\n"
            "\n"
            "RESI TMP               0.000\n"
            "GROUP\n"
            "ATOM CB      CG331    -0.040\n"
            "ATOM OG      OG311    -0.650\n"
            "ATOM HG1     HGP1      0.420\n"
            "ATOM HB1     HGA3      0.090\n"
            "ATOM HB2     HGA3      0.090\n"
            "ATOM HB3     HGA3      0.090\n"
            "\n"
            "BOND       CB      OG      CB     HB1      CB     HB2      CB     HB3\n"
            "BOND       OG     HG1\n"
            "IMPR      CB      OG     HG1     HB1\n"
            "\n\nEND\n\n");
}

TEST_F(TopologyTest, WriteAndReadAgainKeepsTheMolecule) {
  const char* twoGroups =
      "MASS 2 CG331 12.011 C\n"
      "RESI TWO 1.00\n"
      "GROUP\nATOM C1 CG331 0.1\nATOM C2 CG331 0.2\nATOM H1 HGA3 0.3\n"
      "GROUP\nATOM C3 CG331 0.4\nATOM H2 HGA3 0.5\nATOM H3 HGA3 -0.5\n"
      "BOND C1 C2 C2 C3 C3 C1 C1 H1 C3 H2 C3 H3\n"
      "IMPR C1 C2 C3 H1\n";
  CMolecule first;
  Read(first, twoGroups);
  const std::string out = (dir.path() / "again.rtf").string();
  Printed([&] { first.write_top(out); });

  chemtp = Chem();
  BondStruct = CBonds();
  CMolecule again;
  Printed([&] { again.read_top(out); });
  ASSERT_EQ(again.natm, first.natm);
  EXPECT_EQ(again.igroup, 2);
  EXPECT_DOUBLE_EQ(again.netcharge, 1.0);
  for (int i = 0; i < first.natm; ++i) {
    EXPECT_EQ(again.atom[i].name, first.atom[i].name);
    EXPECT_EQ(again.atom[i].type, first.atom[i].type);
    EXPECT_DOUBLE_EQ(again.atom[i].q, first.atom[i].q);
    EXPECT_EQ(again.atom[i].group, first.atom[i].group);
    EXPECT_EQ(again.atom[i].bond, first.atom[i].bond);
  }
  EXPECT_EQ(BondStruct.bonds.size(), 6u);
  ASSERT_EQ(again.impr.size(), 1u);
  EXPECT_EQ(again.impr[0].aid, first.impr[0].aid);
  ASSERT_EQ(chemtp.nchem, 1);
  EXPECT_DOUBLE_EQ(chemtp.chems[0].mass, 12.011);
}

TEST_F(TopologyTest, ResidueCutFromTheReferenceTopology) {
  const std::string ref = testing_support::SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string text = testing_support::ReadFile(top);
  const auto begin = text.find("RESI MEOH");
  ASSERT_NE(begin, std::string::npos);
  const auto end = text.find("\nRESI", begin + 1);
  CharmmTopPar = Charmm();
  CharmmTopPar.AddNewTopology(top);
  CMolecule m;
  Read(m, text.substr(begin, end - begin + 1));
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
