// Faulty input of the stand-in MM program: one error line that names the
// file and line, status 1, and no output file, not even one of an earlier run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engines/mm/mm_support.h"

using testing_support::TempDir;

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

struct Case {
  std::string name;
  std::string job = "";    // a job over the methanol files; "" when extra is the whole script
  std::string extra = "";  // lines after the job line, or the whole script
  std::string error;
  Files files = {};  // written over the methanol files
  Files edits = {};  // the first "old|new" replaced in the named methanol file
  std::string opts = "";
  std::string minimizer = "";  // QM2FF_MM_MINIMIZER
};

// The outputs of each job, left by an earlier run before the failing one.
const std::vector<std::pair<std::string, std::vector<std::string>>> kOutputs = {
    {"minimize", {"emp.card"}},
    {"restrained-minimize", {"emp_with_retraints.card"}},
    {"pes", {"surf.dat", "emp.card"}},
    {"multi-pes", {"surf-multi-pes.dat"}},
    {"target-structures", {"target-str.dat"}}};

std::string Script(const std::string& job) {
  return "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates methanol.pdb\njob " + job + "\n";
}

std::string Geo(const std::string& kind, const std::string& target, const std::string& atoms) {
  return "mmfp\ngeo maxgeo 100 sphere  " + kind + " -\n   harmonic symmetric force 500000.0 " + target +
         " -\n  " + atoms + "\nend\n";
}

const std::vector<Case> kCases = {
    {"unknown script line", "", "topology top_methanol.rtf\nminimise now\n",
     "standard input:2: unknown line 'minimise now'"},
    {"no topology", "", "# only a comment\n\n", "standard input:2: no topology file given"},
    {"no job", "", "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates methanol.pdb\n",
     "standard input:3: no job given"},
    {"unknown job", "", Script("relax"), "standard input:4: unknown job 'relax'"},
    {.name = "setting without a colon", .extra = Script("minimize"),
     .error = "command-line setting 'termname' is not of the form name:value", .opts = "termname"},
    {"missing parameter file", "minimize", "parameters absent.prm\n", "absent.prm: cannot be opened"},
    {"bad number in a parameter file", "minimize", "", "par_methanol.prm:2: '4x8.00' is not a number",
     {{"par_methanol.prm", "BONDS\nCG331  OG311   4x8.00     1.4200\n"}}},
    {"angle beyond 180 degrees", "minimize", "",
     "par_methanol.prm:13: equilibrium angle 270.00 is not between 0 and 180 degrees", {},
     {{"par_methanol.prm", "106.00|270.00"}}},
    {"term without parameters", "minimize", "",
     "no dihedral parameters for atoms HB1 CB OG HG1 (types HGA3 CG331 OG311 HGP1)",
     {},
     {{"par_methanol.prm", "HGA3   CG331  OG311  HGP1|HGA2   CG331  OG311  HGP1"}}},
    {"unknown topology keyword", "minimize", "", "top_methanol.rtf:12: unknown keyword 'GRUPPE'", {},
     {{"top_methanol.rtf", "GROUP|GRUPPE"}}},
    {"residue not in the topology", "minimize", "residue ETOH\n", "residue ETOH is not in the topology files"},
    {"start structure without an atom", "minimize", "", "methanol.pdb: no coordinates for atom HB3",
     {{"methanol.pdb", mm_testing::Pdb([] {
         auto s = mm_testing::kStart;
         s.erase("HB3");
         return s;
       }())}}},
    {"bad coordinate", "minimize", "", "methanol.pdb:2: '-0.7x5' is not a number", {},
     {{"methanol.pdb", "-0.755|-0.7x5"}}},
    {"coordinate not finite", "minimize", "", "methanol.pdb:2: 'nan' is not a finite number", {},
     {{"methanol.pdb", "  -0.755|     nan"}}},
    {"parameter not finite", "minimize", "", "par_methanol.prm:2: 'inf' is not a finite number",
     {{"par_methanol.prm", "BONDS\nCG331  OG311   inf     1.4200\n"}}},
    {"atom given twice", "minimize", "", "methanol.pdb:8: atom CB is given twice",
     {{"methanol.pdb", mm_testing::Pdb(mm_testing::kStart) + mm_testing::Pdb(mm_testing::kStart)}}},
    {"second model", "minimize", "", "methanol.pdb:3: a second MODEL: give one structure per file",
     {{"methanol.pdb", "MODEL 1\nENDMDL\nMODEL 2\n" + mm_testing::Pdb(mm_testing::kStart)}}},
    {"negative restraint force", "restrained-minimize", "",
     "restraints.str:2: a restraint force must not be negative",
     {{"restraints.str", Geo("distance", "droff 1.5", "select type CB end select type OG end")}},
     {{"restraints.str", "force 500000.0|force -5.0"}}},
    {"restraint on one atom twice", "restrained-minimize", "",
     "restraints.str:1: a restraint names one atom twice",
     {{"restraints.str", "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 CB AAAA 1 HG1 FORCE 10.0 MIN 60.0\n"}}},
    {"scan term with a repeated atom", "pes", "", "b_cb_cb.inp:2: atom CB occurs twice in the term",
     {{"term.list", "set nterms 1\nset term1 b_cb_cb\n"},
      {"b_cb_cb.inp", "set A1 CB\nset A2 CB\nset NP 1\nset termtype b\nset va1 1.4\n"}}},
    {"no restraint file", "restrained-minimize", "", "restraints.str: cannot be opened"},
    {"geo atom not in the residue", "restrained-minimize", "", "restraints.str:2: atom O1 is not in residue MEOH",
     {{"restraints.str", Geo("distance", "droff 1.5", "select type CB end select type O1 end")}}},
    {"geo angle of two atoms", "restrained-minimize", "", "restraints.str:2: geo angle needs 3 selections, 2 given",
     {{"restraints.str", Geo("angle", "tref 110 dtoff 0.0", "select type CB end select type OG end")}}},
    {"mmfp without end", "restrained-minimize", "", "restraints.str:1: mmfp block without end",
     {{"restraints.str", "mmfp\n"}}},
    {"cons dihe without target", "restrained-minimize", "", "restraints.str:1: CONS DIHE without MIN value or MAIN",
     {{"restraints.str", "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 10.0 PERIod 0 WIDTH 0.0\n"}}},
    {"unknown line in the term list", "pes", "", "term.list:2: unknown line 'term1 b_cb_og'",
     {{"term.list", "set nterms 1\nterm1 b_cb_og\n"}}},
    {"unknown term type", "pes", "", "x_cb.inp: termtype must be b, a or d, not 'x'",
     {{"term.list", "set nterms 1\nset term1 x_cb\n"},
      {"x_cb.inp", "set A1 CB\nset NP 1\nset termtype x\nset va1 1.0\n"}}},
    // The cards of an earlier scan of the term go too (the term file names it in upper case).
    {"scan point not set", "pes", "", "B_CB_OG.inp: variable va2 is not set",
     {{"term.list", "set nterms 1\nset term1 B_CB_OG\n"},
      {"B_CB_OG.inp", "set A1 CB\nset A2 OG\nset NP 7\nset termtype b\nset va1 1.4\n"},
      {"results/b_cb_og-2.card", "old\n"}}},
    {.name = "unknown minimiser", .job = "minimize", .error = "QM2FF_MM_MINIMIZER is 'lbfgs': use bfgs (the default) or openmm",
     .minimizer = "lbfgs"},
    {"multi-pes without the scan name", "multi-pes", "",
     "the multi-pes job needs the command-line setting termname:NAME"},
    {"missing target structure", "target-structures", "", "pdb/2.pdb: cannot be opened",
     {{"multi_str.str", "set nstr 2\nset fstr = pdb/\n"}, {"restraints.str", ""},
      {"pdb/1.pdb", mm_testing::Pdb(mm_testing::kStart)}}},
};

}  // namespace

TEST(MmBadInput, EachFaultEndsTheRunWithItsMessageAndNoOutput) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    mm_testing::WriteMethanolFiles(dir);
    for (const auto& [file, text] : c.files) dir.Write(file, text);
    for (const auto& [file, change] : c.edits) {
      const std::string old = change.substr(0, change.find('|'));
      std::string text = dir.Read(file);
      ASSERT_NE(text.find(old), std::string::npos);
      dir.Write(file, text.replace(text.find(old), old.size(), change.substr(old.size() + 1)));
    }
    for (const auto& [job, outputs] : kOutputs)
      if (job == c.job)
        for (const auto& file : outputs) dir.Write(file, "old\n");
    if (!c.minimizer.empty()) setenv("QM2FF_MM_MINIMIZER", c.minimizer.c_str(), 1);
    const auto r = mm_testing::RunCharmm(dir, c.job.empty() ? c.extra : Script(c.job) + c.extra, c.opts);
    unsetenv("QM2FF_MM_MINIMIZER");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "charmm: error: " + c.error + "\n");
    for (const auto& [job, outputs] : kOutputs)
      for (const auto& file : outputs) EXPECT_FALSE(std::filesystem::exists(dir.path() / file)) << file;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "results/b_cb_og-2.card"));
  }
}
