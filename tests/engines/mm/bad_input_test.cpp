// Faulty input files of the stand-in MM program: one error line that names
// the file and line, a non-zero status, and no output file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engines/mm/mm_support.h"

using testing_support::TempDir;

namespace {

// Runs a minimize job over the methanol files of dir and checks that it
// failed with exactly the error line given and wrote no emp.card.
void ExpectFailure(const TempDir& dir, const std::string& script, const std::string& error,
                   const std::string& opts = "") {
  const auto r = mm_testing::RunCharmm(dir, script, opts);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "charmm: error: " + error + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "emp.card"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "emp_with_retraints.card"));
}

struct MmBadInput : ::testing::Test {
  TempDir dir;
  void SetUp() override { mm_testing::WriteMethanolFiles(dir); }
  // Replaces the first `length` characters at the first `at` in the methanol
  // file `name` by `with`.
  void Edit(const std::string& name, const std::string& at, std::size_t length,
            const std::string& with) {
    std::string text = testing_support::ReadFile(dir.path() / name);
    text.replace(text.find(at), length, with);
    dir.Write(name, text);
  }
};

}  // namespace

TEST_F(MmBadInput, UnknownScriptLine) {
  ExpectFailure(dir, "topology top_methanol.rtf\nminimise now\n",
                "standard input:2: unknown line 'minimise now'");
}

TEST_F(MmBadInput, ScriptWithoutJobOrFiles) {
  ExpectFailure(dir, "# only a comment\n\n", "standard input:2: no topology file given");
  ExpectFailure(dir, "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates methanol.pdb\n",
                "standard input:3: no job given");
  ExpectFailure(dir, mm_testing::MethanolScript("relax"), "standard input:4: unknown job 'relax'");
}

TEST_F(MmBadInput, SettingOfTheWrongForm) {
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"),
                "command-line setting 'termname' is not of the form name:value", "termname");
}

TEST_F(MmBadInput, MissingParameterFile) {
  ExpectFailure(dir, mm_testing::MethanolScript("minimize") + "parameters add_para.inp\n",
                "add_para.inp: cannot be opened");
}

TEST_F(MmBadInput, BadNumberInAParameterFile) {
  dir.Write("par_methanol.prm", "BONDS\nCG331  OG311   4x8.00     1.4200\n");
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"), "par_methanol.prm:2: '4x8.00' is not a number");
}

TEST_F(MmBadInput, TermWithoutParametersNamesItsAtomsAndTypes) {
  Edit("par_methanol.prm", "HGA3   CG331  OG311  HGP1", 4, "HGA2");
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"),
                "no dihedral parameters for atoms HB1 CB OG HG1 (types HGA3 CG331 OG311 HGP1)");
}

TEST_F(MmBadInput, UnknownTopologyKeyword) {
  Edit("top_methanol.rtf", "GROUP", 5, "GRUPPE");
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"), "top_methanol.rtf:12: unknown keyword 'GRUPPE'");
}

TEST_F(MmBadInput, ResidueNotInTheTopology) {
  ExpectFailure(dir, mm_testing::MethanolScript("minimize") + "residue ETOH\n",
                "residue ETOH is not in the topology files");
}

TEST_F(MmBadInput, StartStructureWithoutAnAtom) {
  std::string pdb = testing_support::ReadFile(dir.path() / "methanol.pdb");
  pdb.erase(pdb.find("ATOM      6"), pdb.find("END") - pdb.find("ATOM      6"));
  dir.Write("methanol.pdb", pdb);
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"), "methanol.pdb: no coordinates for atom HB3");
}

TEST_F(MmBadInput, StartStructureWithABadCoordinate) {
  Edit("methanol.pdb", "-0.755", 6, "-0.7x5");
  ExpectFailure(dir, mm_testing::MethanolScript("minimize"), "methanol.pdb:2: '-0.7x5' is not a number");
}

TEST_F(MmBadInput, FaultyRestraintFiles) {
  ExpectFailure(dir, mm_testing::MethanolScript("restrained-minimize"), "restraints.str: cannot be opened");
  dir.Write("emp_with_retraints.card", "stale\n");  // a failed job removes an older result
  const struct {
    const char* file;
    const char* error;
  } cases[] = {
      {"mmfp\ngeo maxgeo 100 sphere  distance -\n   harmonic symmetric force 500000.0 droff 1.5 -\n"
       "   select type CB end    select type O1 end \nend\n",
       "restraints.str:2: atom O1 is not in residue MEOH"},
      {"mmfp\ngeo maxgeo 100 sphere  angle -\n   harmonic symmetric force 500000.0 tref 110 dtoff 0.0 -\n"
       "   select type CB end    select type OG end \nend\n",
       "restraints.str:2: geo angle needs 3 selections, 2 given"},
      {"mmfp\n", "restraints.str:1: mmfp block without end"},
      {"CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 10.0 PERIod 0 WIDTH 0.0\n",
       "restraints.str:1: CONS DIHE without MIN value or MAIN"},
  };
  for (const auto& c : cases) {
    dir.Write("restraints.str", c.file);
    ExpectFailure(dir, mm_testing::MethanolScript("restrained-minimize"), c.error);
  }
}

TEST_F(MmBadInput, UnknownLineInTheTermList) {
  dir.Write("term.list", "set nterms 1\nterm1 b_cb_og\n");
  ExpectFailure(dir, mm_testing::MethanolScript("pes"), "term.list:2: unknown line 'term1 b_cb_og'");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "surf.dat"));
}

TEST_F(MmBadInput, ScanOfAnUnknownTermType) {
  dir.Write("term.list", "set nterms 1\nset term1 x_cb\n");
  dir.Write("x_cb.inp", "set A1 CB\nset NP 1\nset termtype x\nset va1 1.0\n");
  ExpectFailure(dir, mm_testing::MethanolScript("pes"), "x_cb.inp: termtype must be b, a or d, not 'x'");
}
