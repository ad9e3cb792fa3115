#include "charmm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engines/mm/mm_support.h"
#include "intra/settings.h"
#include "support/molecule.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "util.h"

using namespace testing_support;

namespace {

// Sets the working directory prefix and the CHARMM script directory for one
// test and puts the old values back afterwards.
struct PathsGuard {
  const std::string oldWork = fpath, oldScripts = strCharmmPath;
  PathsGuard(const std::string& work, const std::string& scripts) {
    fpath = work;
    strCharmmPath = scripts;
  }
  ~PathsGuard() {
    fpath = oldWork;
    strCharmmPath = oldScripts;
  }
  PathsGuard(const PathsGuard&) = delete;
  PathsGuard& operator=(const PathsGuard&) = delete;
};

CConstraint Cons(char type, std::vector<int> aid, Real val) { return {aid, val, type}; }

// Methanol with the atom names of the CHARMM residue MEOH.
CMolecule Meoh() {
  return testing_support::MakeMolecule({{"CB", 6, -0.047, 0.665, 0.0}, {"OG", 8, -0.047, -0.755, 0.0},
                                        {"HG1", 1, 0.857, -1.056, 0.0}, {"HB1", 1, -1.091, 0.978, 0.0},
                                        {"HB2", 1, 0.433, 1.075, 0.890}, {"HB3", 1, 0.433, 1.075, -0.890}});
}

}  // namespace

TEST(CharmmRunner, CommandLineChangesIntoTheWorkingDirectoryAndRedirects) {
  PathsGuard paths("/work/run/", "/scripts");
  EXPECT_EQ(CharmmCommandLine("/scripts/pes.inp", "/work/run//pes.out", ""),
            "tcsh -c \"cd /work/run/; charmm < /scripts/pes.inp  > /work/run//pes.out \"");
  EXPECT_EQ(CharmmCommandLine("/scripts/multi-pes.inp", "/work/run/m.out", "termname:multidimensional-a_b_c_d"),
            "tcsh -c \"cd /work/run/; charmm < /scripts/multi-pes.inp termname:multidimensional-a_b_c_d > "
            "/work/run/m.out \"");
  // Paths with blanks are quoted.
  fpath = "/work/my run/";
  EXPECT_EQ(CharmmCommandLine("/scripts/pes.inp", "/work/my run//pes.out", ""),
            "tcsh -c \"cd '/work/my run/'; charmm < /scripts/pes.inp  > '/work/my run//pes.out' \"");
}

TEST(CharmmRunner, PathsWithQuotesEndTheProcess) {
  PathsGuard paths("/work/it's/", "/scripts");
  const ProcessExit e = ExpectExit([] { CharmmCommandLine("/scripts/pes.inp", "/x/pes.out", ""); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err charmm file name with quotes or shell characters : /work/it's/\n");
}

TEST(CharmmRestraints, BlocksByteForByteSkippingOtherKinds) {
  ExpectSameAsReference(CHARMM::RestraintsText(Meoh(), {Cons('b', {0, 1}, 1.09), Cons('x', {0, 1}, 1.0),
                                            Cons('a', {0, 1, 2}, 109.5), Cons('B', {0, 1}, 1.0),
                                            Cons('i', {3, 0, 1, 2}, -123.456789)}),
                        "mm/restraints.str");
}

TEST(CharmmRestraints, ZeroDihedralIsWrittenAsOneThousandth) {
  CMolecule m = Meoh();
  const std::string zero = CHARMM::RestraintsText(m, {Cons('d', {3, 0, 1, 2}, 0.0)});
  EXPECT_NE(zero.find("tref 0.001 dtoff"), std::string::npos) << zero;
  EXPECT_EQ(CHARMM::RestraintsText(m, {Cons('d', {3, 0, 1, 2}, -0.0)}), zero);
  // A zero distance or angle is not changed.
  EXPECT_NE(CHARMM::RestraintsText(m, {Cons('a', {0, 1, 2}, 0.0)}).find("tref 0 dtoff"), std::string::npos);
}

TEST(CharmmOptimize, WritesRestraintsRunsTheScriptAndReportsAMissingCard) {
  TempDir dir;
  const std::string work = dir.path().string() + "/";
  PathsGuard paths(work, "/scripts");
  // An empty list still replaces the restraints of an earlier run.
  for (const std::vector<CConstraint>& cons : {std::vector<CConstraint>{Cons('b', {0, 1}, 1.5)}, {}}) {
    SCOPED_TRACE(cons.size());
    CMolecule m = Meoh();
    m.atom[2].xyzcomp = {7.0, 8.0, 9.0};
    dir.Write("restraints.str", std::string(300, '!') + "\n");
    dir.Write("emp_with_retraints.card", "* left by an earlier run\n");
    std::vector<Real> cr(18, -1.0);
    std::vector<std::string> seen;
    testing::internal::CaptureStdout();
    CHARMM::Optimize(m, "ignored.inp", "ignored.out", cr, cons, [&seen](const std::string& c) {
      seen.push_back(c);
      return 1;
    });
    std::fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(seen, std::vector<std::string>{CharmmCommandLine("/scripts/minimize_with_restraints.inp",
                                                               work + "/minimize_with_restraints.out", "")});
    EXPECT_EQ(dir.Read("restraints.str"), cons.empty() ? "" : CHARMM::RestraintsText(m, cons));
    // The card of an earlier run is not taken for the result of this one.
    EXPECT_EQ(out, "$ wrong input in file : " + work + "emp_with_retraints.card\n");
    EXPECT_EQ(cr[6], 7.0);
    EXPECT_EQ(cr[8], 9.0);
    EXPECT_EQ(cr[0], 0.0);
  }
}

TEST(CharmmOptimize, MinimisesWithTheStandInUnderRestraints) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  PathsGuard paths(dir.path().string() + "/", std::string(QM2FF_SOURCE_DIR) + "/examples/methanol/charmm");
  CMolecule m = Meoh();
  std::vector<Real> cr(18, 0.0);
  const std::vector<CConstraint> cons = {Cons('b', {0, 1}, 1.5), Cons('a', {0, 1, 2}, 115.0),
                                         Cons('d', {3, 0, 1, 2}, 60.0), Cons('q', {0, 1}, 3.0)};
  testing::internal::CaptureStdout();
  CHARMM::Optimize(m, "", "", cr, cons, [](const std::string& c) {
    std::fflush(stdout);
    return std::system(("PATH='" QM2FF_ENGINES_BIN "':\"$PATH\" " + c).c_str());
  });
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("wrong input"), std::string::npos) << out;
  mm_testing::Structure s;
  for (int i = 0; i < 6; ++i) s[m.AtomName(i)] = {cr[3 * i], cr[3 * i + 1], cr[3 * i + 2]};
  EXPECT_NEAR(mm_testing::Dist(s["CB"], s["OG"]), 1.5, 0.005);
  EXPECT_NEAR(mm_testing::AngleDeg(s["CB"], s["OG"], s["HG1"]), 115.0, 0.1);
  EXPECT_NEAR(mm_testing::Torsion(s), 60.0, 0.1);
  // The reported energy is that of the force field alone.
  const std::string log = dir.Read("minimize_with_restraints.out");
  EXPECT_NEAR(mm_testing::Energies(log, "minimized")["total"], mm_testing::MethanolEnergy(s), 1e-4) << log;
  EXPECT_EQ(m.atom[5].xyzcomp, (std::vector<double>{cr[15], cr[16], cr[17]}));
  // The active coordinates stay as they were.
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{-0.047, 0.665, 0.0}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "emp.card"));
}

TEST(CharmmOptimize, UnwritableRestraintsOrUnreadableCardEndTheProcess) {
  TempDir dir;
  const std::string work = dir.path().string() + "/";
  CMolecule m = Meoh();
  std::vector<Real> cr(18, 0.0);
  {
    PathsGuard paths(work + "absent/", "/scripts");
    const ProcessExit e =
        ExpectExit([&] { CHARMM::Optimize(m, "", "", cr, {}, [](const std::string&) { return 0; }); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err unable to open file : " + work + "absent/restraints.str\n");
  }
  PathsGuard paths(work, "/scripts");
  const ProcessExit e = ExpectExit([&] {
    CHARMM::Optimize(m, "", "", cr, {}, [&dir](const std::string&) {
      dir.Write("emp_with_retraints.card", "* minimized\n*\n    6\n    1    1 MEOH CB  1.0 x 0.0\n");
      return 0;
    });
  });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(
      e.message,
      "$ err x is not a number\n"
      "$ err invalid line in the charmm coord file in line :     1    1 MEOH CB  1.0 x 0.0\n");
}
