// The CHARMM file reader: masses, Lennard-Jones and NBFIX lines, single-line
// bonded lookups.
#include "param.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "io.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::TempDir;

namespace {

// The text of the std::runtime_error that f raises.
template <class F>
std::string RuntimeError(F f) {
  try {
    f();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  ADD_FAILURE() << "no error raised";
  return "";
}

const char* kTopology =
    "* test types\n"
    "*\n"
    "36 1\n"
    "MASS     1 HGA3     1.00800  ! alkane H\n"
    "mass     2 cg331   12.01100 C ! lower case\n"
    "MASS     3 OG311   15.99940\n"
    "RESI X 0.0\n"
    "ATOM C1 CG331 -0.27 ! MASS 9 NOPE 1.0\n";

const char* kNonbonded =
    "* params\n"
    "BONDS\n"
    "CG331  HGA3    322.00     1.1110 ! alkane\n"
    "NONBONDED nbxmod  5 atom cdiel -\n"
    "cutnb 14.0 ctofnb 12.0\n"
    "HGA3     0.0       -0.0240     1.3400 ! alkane\n"
    "CG331    0.0       -0.0780     2.0500   0.0 -0.01 1.9 ! with 1-4\n"
    "HBOND CUTHB 0.5\n"
    "END\n"
    "OG311    0.0       -0.1921     1.7650 ! after end\n"
    "NBFIX\n"
    "CG321    0.0       -0.0560     2.0100\n"
    "bad      0.0       x           1.0\n";

TEST(CharmmMass, ReadsEveryMassLineOfEveryTopology) {
  TempDir dir;
  Charmm c;
  c.AddNewTopology(dir.Write("a.rtf", kTopology));
  c.ReadMass();
  ASSERT_EQ(c.type.size(), 3u);
  EXPECT_EQ(c.type[0].index, 1);
  EXPECT_EQ(c.type[0].type, "HGA3");
  EXPECT_DOUBLE_EQ(c.type[0].mass, 1.008);
  EXPECT_EQ(c.type[0].symbol, "!");
  EXPECT_EQ(c.type[0].comment, " alkane H");
  EXPECT_EQ(c.type[1].type, "CG331");
  EXPECT_EQ(c.type[1].symbol, "C");
  EXPECT_EQ(c.type[1].comment, " lower case");
  EXPECT_EQ(c.type[2].symbol, "");
  EXPECT_EQ(c.type[2].comment, "");
}

TEST(CharmmMass, ReadingTwiceListsTypesTwiceAndTheFirstIsFound) {
  TempDir dir;
  Charmm c;
  c.AddNewTopology(dir.Write("a.rtf", "MASS 1 HGA3 1.008\n"));
  c.AddNewTopology(dir.Write("b.rtf", "MASS 7 HGA3 2.0\n"));
  c.ReadMass();
  c.ReadMass();
  EXPECT_EQ(c.type.size(), 4u);
  const auto* t = c.GetMassType("HGA3");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->index, 1);
  EXPECT_EQ(c.GetMassType("hga3"), nullptr);
  EXPECT_EQ(c.GetMassType("NONE"), nullptr);
}

TEST(CharmmMass, MissingTopologyEndsTheProcess) {
  TempDir dir;
  Charmm c;
  const std::string missing = (dir.path() / "none.rtf").string();
  c.AddNewTopology(missing);
  const auto e = ExpectExit([&] { c.ReadMass(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ can not open file " + missing + "\n");
}

TEST(CharmmMass, BadMassNumberIsAnError) {
  TempDir dir;
  Charmm c;
  c.AddNewTopology(dir.Write("a.rtf", "MASS 1 HGA3 heavy\n"));
  EXPECT_THROW(c.ReadMass(), std::invalid_argument);
}

TEST(CharmmNonbonded, FindsTheTypeOnlyInsideTheSection) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("p.prm", kNonbonded));
  EXPECT_EQ(c.read_par("HGA3"), "HGA3     0.0       -0.0240     1.3400 ! ALKANE");
  // The bond line names CG331 first but lies outside the section.
  EXPECT_EQ(tprint(c.read_par("CG331"), 3), "-0.0780");
  // HBOND and END do not close the section; NBFIX does.
  EXPECT_EQ(tprint(c.read_par("OG311"), 3), "-0.1921");
  EXPECT_EQ(c.read_par("CG321"), "");
  EXPECT_EQ(c.read_par("hga3"), "");
}

TEST(CharmmNonbonded, EarlierFileWinsAndHeadersMatchInAnyCase) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("a.prm", "nonbonded\nHGA3 0.0 -0.5 1.0\n"));
  c.AddNewParam(dir.Write("b.prm", kNonbonded));
  EXPECT_EQ(tprint(c.read_par("HGA3"), 3), "-0.5");
  EXPECT_EQ(tprint(c.read_par("CG331"), 3), "-0.0780");
}

TEST(CharmmNonbonded, BadNumberNamesFileAndLine) {
  TempDir dir;
  Charmm c;
  const std::string p = dir.Write("p.prm", "NONBONDED\nBAD 0.0 x 1.0\n");
  c.AddNewParam(p);
  EXPECT_EQ(RuntimeError([&] { c.read_par("BAD"); }),
            "Error in file: " + p + " in line: BAD 0.0 X 1.0\nnot a number: 'X'");
}

TEST(CharmmNonbonded, MissingFileIsAnError) {
  TempDir dir;
  Charmm c;
  const std::string missing = (dir.path() / "none.prm").string();
  c.AddNewParam(missing);
  EXPECT_EQ(RuntimeError([&] { c.read_par("HGA3"); }), "Can not open file: " + missing);
}

TEST(CharmmNonbonded, NoFilesFindNothing) {
  const Charmm c;
  EXPECT_EQ(c.read_par("HGA3"), "");
  EXPECT_EQ(c.read_nbfix("A", "B"), "");
}

const char* kNbfix =
    "NONBONDED\n"
    "SOD 0.0 -0.0469 1.41075\n"
    "nbfix\n"
    "SOD    CLA      -0.083875   3.731 ! osmotic\n"
    "HBOND CUTHB 0.5\n"
    "POT    CLA      -0.114236   4.081\n"
    "NBFIX\n"
    "OT     SOD      -0.075020   3.190\n"
    "BAD    CLA      x   3.190\n";

TEST(CharmmNbfix, PairIsFoundInEitherOrderInsideTheSections) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("p.prm", kNbfix));
  EXPECT_EQ(c.read_nbfix("SOD", "CLA"), "SOD    CLA      -0.083875   3.731 ! OSMOTIC");
  EXPECT_EQ(c.read_nbfix("CLA", "SOD"), "SOD    CLA      -0.083875   3.731 ! OSMOTIC");
  EXPECT_EQ(c.read_nbfix("sod", "cla"), "");
  // HBOND closes the section and a second header reopens it.
  EXPECT_EQ(c.read_nbfix("POT", "CLA"), "");
  EXPECT_EQ(tprint(c.read_nbfix("SOD", "OT"), 3), "-0.075020");
}

TEST(CharmmNbfix, BadNumberAndMissingFileAreErrors) {
  TempDir dir;
  Charmm c;
  const std::string p = dir.Write("p.prm", kNbfix);
  c.AddNewParam(p);
  EXPECT_EQ(RuntimeError([&] { c.read_nbfix("CLA", "BAD"); }),
            "Error in file: " + p + " in line: BAD    CLA      X   3.190");
  Charmm none;
  const std::string missing = (dir.path() / "none.prm").string();
  none.AddNewParam(missing);
  EXPECT_EQ(RuntimeError([&] { none.read_nbfix("SOD", "CLA"); }), "Cannot open file: " + missing);
}

const char* kBonded =
    "BONDS\n"
    "CG331  HGA3    322.00     1.1110\n"
    "ANGLES\n"
    "CG331  HGA3    1.0 1.0 ! not a bond\n"
    "HGA3   CG331  OG311   45.90    108.89\n"
    "DIHEDRALS\n"
    "X      CG331  OG311  X        0.1800  3     0.00\n"
    "HGA3   CG331  OG311  HGP1     0.1800  3     0.00\n"
    "HGA3   CG331  OG311  HGP1     0.5000  1     0.00\n"
    "IMPROPER\n"
    "CG2O1  X      X      OG2D1   60.0000  0     0.00\n"
    "NONBONDED\n"
    "HGA3 0.0 -0.024 1.34\n";

TEST(CharmmBondedLookup, EachKindOfTermInBothDirections) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("p.prm", kBonded));
  EXPECT_EQ(tprint(c.read_par("HGA3", "CG331"), 3), "322.00");
  EXPECT_EQ(tprint(c.read_par("CG331", "HGA3"), 3), "322.00");
  EXPECT_EQ(tprint(c.read_par("OG311", "CG331", "HGA3"), 4), "45.90");
  EXPECT_EQ(c.read_par("CG331", "OG311", "HGA3"), "");
  EXPECT_EQ(c.read_par("hga3", "cg331"), "");
  // The first dihedral line wins, wildcard or not.
  EXPECT_EQ(tprint(c.read_par("HGP1", "OG311", "CG331", "HGA3"), 1), "X");
  EXPECT_EQ(tprint(c.read_par("A", "CG331", "OG311", "B"), 1), "X");
  EXPECT_EQ(c.read_par("A", "CG331", "CG331", "B"), "");
  // Impropers with wildcards in the middle.
  EXPECT_EQ(tprint(c.read_par("CG2O1", "A", "B", "OG2D1", ""), 5), "60.0000");
  EXPECT_EQ(tprint(c.read_par("OG2D1", "A", "B", "CG2O1", ""), 5), "60.0000");
  EXPECT_EQ(c.read_par("OG2D1", "A", "B", "CG2O2", ""), "");
}

TEST(CharmmBondedLookup, MissingFileEndsTheProcess) {
  TempDir dir;
  Charmm c;
  const std::string missing = (dir.path() / "none.prm").string();
  c.AddNewParam(missing);
  const auto e = ExpectExit([&] { c.read_par("A", "B"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ error can not open file : " + missing + "\n");
}

TEST(CharmmNumbers, IsNumberFollowsTheConversionRules) {
  EXPECT_TRUE(is_number("-0.083875"));
  EXPECT_TRUE(is_number("  3.1abc"));
  EXPECT_TRUE(is_number("1e3"));
  EXPECT_FALSE(is_number("x"));
  EXPECT_FALSE(is_number(""));
  EXPECT_FALSE(is_number("!"));
  EXPECT_FALSE(is_number("1e999"));
}

}  // namespace
