// The force-field script commands: file lists, topology reading and writing,
// and the molecule's parameter table, through the real executable.
#include <gtest/gtest.h>

#include "MainScript.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/run.h"

using testing_support::Contains;
using testing_support::ForceFieldState;
using testing_support::RunQm2ff;
using testing_support::TempDir;

namespace {

TEST(ForceFieldCommands, TopologyAndParamAppendEveryWordUnchanged) {
  ForceFieldState state;
  CharmmTopPar = Charmm();
  testing::internal::CaptureStdout();
  MainScript::ProcessScriptMain("topology a.rtf B.rtf\nPARAM p.prm\nparam q.prm\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "$ topologyfile file (1) : a.rtf\n"
            "$ topologyfile file (2) : B.rtf\n"
            "$ parameter file (1) : p.prm\n"
            "$ parameter file (2) : q.prm\n");
  EXPECT_EQ(CharmmTopPar.tops, (std::vector<std::string>{"a.rtf", "B.rtf"}));
  EXPECT_EQ(CharmmTopPar.params, (std::vector<std::string>{"p.prm", "q.prm"}));
}

void WriteMethanol(const TempDir& dir) {
  dir.Write("types.rtf", testing_support::kMethanolTypesRtf);
  dir.Write("small.prm", "BONDS\nCG331  HGA3    322.00     1.1110\n");
  dir.Write("meoh.rtf", testing_support::kMethanolRtf);
  dir.Write("meoh.pdb", testing_support::kMethanolPdb);
}

TEST(ForceFieldScript, ReadsPerceivesListsParametersAndWritesTheTopology) {
  TempDir dir;
  WriteMethanol(dir);
  dir.Write("run.inp",
            "topology types.rtf\n"
            "param small.prm\n"
            "readtop meoh.rtf\n"
            "readcoorpdb meoh.pdb\n"
            "generatebonds\n"
            "readparam\n"
            "writetop out.rtf\n");
  const auto r = RunQm2ff("run.inp", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(r.out, "$ number of atoms read     :    6\n"));
  EXPECT_TRUE(Contains(r.out, "$ total number of bonds    :    2\n"));
  EXPECT_TRUE(Contains(r.out, "$ total number of bonds : 5; additional bonds created : 3\n"));
  EXPECT_TRUE(Contains(r.out, "$ topology was written to " + dir.path().string() + "//out.rtf\n"));
  const std::string top = dir.Read("out.rtf");
  EXPECT_TRUE(
      Contains(top, "BOND       CB      OG      CB     HB1      CB     HB2      CB     HB3\n"))
      << top;
  EXPECT_TRUE(Contains(top, "ATOM HG1     HGP1      0.420\n"));
}

TEST(ForceFieldScript, FailuresEndTheRunWithTheirMessage) {
  const struct {
    std::string script, err;
  } cases[] = {
      // A failing reader inside a command: the executor names the line.
      {"topology bad.rtf\nreadtop meoh.rtf\nwritetop out.rtf\n",
       "$ err in input script in line : readtop meoh.rtf\n"},
      // Constraint atoms are looked up in upper case; the first unknown one ends the run.
      {"topology types.rtf\nreadtop meoh.rtf\nconstrain\nd hb1 cb og hg1 10\nb cb og\n"
       "b cb xx\nend\nwritetop out.rtf\n",
       "$ err atom was not found : XX\n"},
      // A reader that ends the process itself.
      {"topology types.rtf\nparam none.prm\nreadtop meoh.rtf\nreadcoorpdb meoh.pdb\n"
       "generatebonds\nreadparam\nwritetop out.rtf\n",
       "$ error parameter file can not be opened : none.prm\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    TempDir dir;
    WriteMethanol(dir);
    dir.Write("bad.rtf", "MASS 1 HGA3 heavy H\n");
    dir.Write("run.inp", c.script);
    const auto r = RunQm2ff("run.inp", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(dir.Read("out.rtf"), "");
  }
}

}  // namespace
