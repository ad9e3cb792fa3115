#include "charmm.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "intra/settings.h"
#include "support/fpath_scope.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "util.h"

// The restrained minimisation with the stand-in runs in the bonded fits of tests/intra.
using namespace testing_support;

namespace {

// Keeps the CHARMM script directory and puts it back; the scripts are in /scripts.
struct ScriptsGuard {
  const std::string old = std::exchange(strCharmmPath, "/scripts");
  ~ScriptsGuard() { strCharmmPath = old; }
};

CConstraint Cons(char type, std::vector<int> aid, Real val) { return {aid, val, type}; }

}  // namespace

// Paths with blanks are quoted; quotes are refused.
TEST(CharmmRunner, CommandLineChangesIntoTheWorkingDirectoryAndRedirects) {
  const FpathScope work("/work/my run/");
  EXPECT_EQ(CharmmCommandLine("/scripts/m.inp", "/w/m.out", "termname:a_b"),
            "tcsh -c \"cd '/work/my run/'; charmm < /scripts/m.inp termname:a_b > /w/m.out \"");
  fpath = "/work/it's/";
  const ProcessExit e = ExpectExit([] { CharmmCommandLine("/scripts/pes.inp", "/x/pes.out", ""); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err charmm file name with quotes or shell characters : /work/it's/\n");
}

// Other kinds are skipped; a zero dihedral is written as one thousandth.
TEST(CharmmRestraints, BlocksByteForByte) {
  const CMolecule m = Methanol();
  ExpectSameAsReference(
      CHARMM::RestraintsText(
          m, {Cons('b', {0, 1}, 1.09), Cons('x', {0, 1}, 1.0), Cons('a', {0, 1, 2}, 109.5),
              Cons('B', {0, 1}, 1.0), Cons('i', {3, 0, 1, 2}, -123.456789),
              Cons('d', {3, 0, 1, 2}, -0.0), Cons('a', {0, 1, 2}, 0.0)}),
      "mm/restraints.str");
}

TEST(CharmmOptimize, WritesRestraintsRunsTheScriptAndReportsAMissingCard) {
  TempDir dir;
  const std::string work = dir.path().string() + "/";
  const ScriptsGuard scripts;
  const FpathScope inDir(work);
  // An empty list still replaces the restraints of an earlier run.
  CMolecule m = Methanol();
  m.atom[2].xyzcomp = {7.0, 8.0, 9.0};
  dir.Write("restraints.str", "!\n");
  dir.Write("emp_with_retraints.card", "* left by an earlier run\n");
  std::vector<Real> cr(18, -1.0);
  std::vector<std::string> seen;
  const std::string out = Printed([&] {
    CHARMM::Optimize(m, "ignored.inp", "ignored.out", cr, {}, [&seen](const std::string& c) {
      seen.push_back(c);
      return 1;
    });
  });
  EXPECT_EQ(seen, std::vector<std::string>{
                      CharmmCommandLine("/scripts/minimize_with_restraints.inp",
                                        work + "/minimize_with_restraints.out", "")});
  EXPECT_EQ(dir.Read("restraints.str"), "");
  // The card of an earlier run is not taken for the result of this one.
  EXPECT_EQ(out, "$ wrong input in file : " + work + "emp_with_retraints.card\n");
  EXPECT_EQ(cr[6] + cr[8], 16.0);
  EXPECT_EQ(cr[0], 0.0);
}

TEST(CharmmOptimize, UnwritableRestraintsOrUnreadableCardEndTheProcess) {
  TempDir dir;
  const std::string work = dir.path().string() + "/";
  CMolecule m = Methanol();
  std::vector<Real> cr(18, 0.0);
  const auto writes = [&dir](const std::string&) {
    dir.Write("emp_with_retraints.card", "* minimized\n*\n    6\n    1    1 MOL  C   1.0 x 0.0\n");
    return 0;
  };
  const struct {
    std::string work, message;
  } cases[] = {
      {work + "absent/", "$ err unable to open file : " + work + "absent/restraints.str\n"},
      {work,
       "$ err x is not a number\n"
       "$ err invalid line in the charmm coord file in line :     1    1 MOL  C   1.0 x 0.0\n"},
  };
  const ScriptsGuard scripts;
  for (const auto& c : cases) {
    const FpathScope inDir(c.work);
    const ProcessExit e = ExpectExit([&] { CHARMM::Optimize(m, "", "", cr, {}, writes); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
}
