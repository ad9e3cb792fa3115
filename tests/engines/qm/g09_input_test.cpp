// What the stand-in QM program accepts and that it answers the same deck
// always the same way without leaving files behind. (The script cases hold
// the decks it refuses.)
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engines/qm/g09_support.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

const std::string kWaterZ = "0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n";
const std::string kError = " Error termination via Lnk1e in the g09 stand-in: ";

// A deck with the given molecule section.
std::string Body(const std::string& molecule) { return "#HF/6-31G*\n\nt\n\n" + molecule; }

// xtb 6.5.1 may abort after its potential run with the potential file
// written in part: the points it lacks are run again, to the same output.
// An xtb that never writes the potential ends the job.
TEST(G09Input, PotentialOfAbortedXtbRunsIsCompletedElseTheJobEnds) {
  std::string real;
  for (const std::string dir : {"/usr/bin", "/usr/local/bin"}) {
    if (std::filesystem::exists(dir + "/xtb")) real = dir + "/xtb";
  }
  if (real.empty()) GTEST_SKIP() << "no xtb";
  const std::string deck = "#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=2,6/42=2)\n\nt\n\n0 1\n" +
                           AtomLines(Methanol(), -1) + "\n\n";
  const G09Run whole = RunG09(deck);
  ASSERT_EQ(whole.status, 0) << whole.out;
  for (const std::string keep : {"half", "none"}) {
    testing_support::TempDir dir;
    dir.Write("job.inp", deck);
    const std::string xtb = dir.Write(
        "bin/xtb", "#!/bin/sh\ncase \"$*\" in *--esp*) ;; *) exec " + real + " \"$@\";; esac\n[ " + keep +
                       " = none ] && exit 134\n" + real + " \"$@\"\nn=$(( ($(wc -l < esp_coord) + 1) / 2 ))\n" +
                       "head -n $n xtb_esp.dat > kept && mv kept xtb_esp.dat\nexit 134\n");
    std::filesystem::permissions(xtb, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    const auto r = testing_support::Run("sh -c 'PATH=\"$PWD/bin:$PATH\" g09 < job.inp'", dir.path());
    if (keep == "half") {
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.out, whole.out);
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(LastLine(r.out), kError + "xtb failed to compute the electrostatic potential") << r.out;
    }
  }
}

// Twice the same deck, byte for byte the same output; only the deck and the
// output are left in the directory.
TEST(G09Input, SameDeckGivesTheSameOutputAndLeavesNoFiles) {
  const std::string probe = ProbeDeck(Methanol(), MethanolBonds(), 6, true, 2.0, 90.0);
  const G09Run first = RunG09(probe);
  ASSERT_EQ(first.status, 0) << first.out;
  EXPECT_EQ(first.out, RunG09(probe).out);
  EXPECT_EQ(first.files, (std::set<std::string>{"job.inp", "job.out"}));
  const std::string opt = OptimisationDeck(Methanol(), "3 1 2 6 F\n");
  const G09Run once = RunG09(opt);
  EXPECT_EQ(once.status, 0);
  EXPECT_EQ(once.out, RunG09(opt).out);
}

// Link 0 lines, a route over two lines, element symbols, commas and a dummy
// centre that is left out of the atoms.
TEST(G09Input, AcceptsLink0LinesCartesianSymbolsDummiesAndLeadingBlankLines) {
  const G09Run r = RunG09(
      "\n%mem=100MB\n%chk=water.chk\n%NoSave\n%NPROCS=2\n%Unknown=7\n#p hf/sto-3g\n# SP NoSymm Pop=MK IOp(6/33=2)\n\n"
      "two-line\ntitle\n\n0,1\nO 0.0 0.0 0.0\nX -1 0.0 0.0 -1.0\nH1 0 0.0 0.0 0.9572\nH2,-1,0.92663,0.0,-0.23999\n\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Will use up to    2 processors"), std::string::npos);
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 9u);
  EXPECT_EQ(r.data.prop.espq.size(), 3u);
  EXPECT_EQ(r.data.prop.espcoor.size(), 3 * r.data.prop.espval.size());
  EXPECT_NEAR(r.data.prop.energy, RunG09(Body(kWaterZ)).data.prop.energy, 1e-6);
}

// Z-matrix dihedrals follow the usual sign convention; several variables are optimised in turn.
TEST(G09Input, ZMatrixGeometryAndOptimisation) {
  const G09Run r =
      RunG09(Body("0 1\nO\nO 1 1.45\nH 1 0.97 2 100.0\nH 2 0.97 1 100.0 3 DHOOH\nVariables:\nDHOOH 115.0\n\n"));
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 12u);
  EXPECT_NEAR(DiheDeg(At(z, 3), At(z, 1), At(z, 0), At(z, 2)), 115.0, 1e-4);
  EXPECT_NEAR(AngleDeg(At(z, 3), At(z, 1), At(z, 0)), 100.0, 1e-4);
  EXPECT_NEAR(Dist(At(z, 3), At(z, 1)), 0.97, 1e-6);

  const G09Run opt = RunG09("#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater\n\n0 1\nO\nH 1 ROH\nH 1 ROH 2 AHOH\n"
                            "Variables:\nROH 1.05\nAHOH 95.0\n\n");
  ASSERT_EQ(opt.status, 0) << opt.out;
  EXPECT_TRUE(opt.data.prop.ifconverged);
  const auto& w = opt.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(w.size(), 9u);
  EXPECT_NEAR(Dist(At(w, 0), At(w, 1)), 0.96, 0.03);
  EXPECT_GT(AngleDeg(At(w, 1), At(w, 0), At(w, 2)), 100.0);
  EXPECT_NE(opt.out.find(" ! ROH "), std::string::npos);
  EXPECT_NE(opt.out.find(" ! AHOH "), std::string::npos);
}

}  // namespace
