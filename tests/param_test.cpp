// The CHARMM file reader: masses, Lennard-Jones and NBFIX lines, single-line
// bonded lookups.
#include "param.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "io.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing::StrEq;
using testing::ThrowsMessage;
using testing_support::ExpectExit;
using testing_support::TempDir;

namespace {

TEST(CharmmMass, ReadsEveryMassLineOfEveryTopologyAndFindsTheFirst) {
  TempDir dir;
  Charmm c;
  c.AddNewTopology(dir.Write("a.rtf",
                             "MASS     1 HGA3     1.00800  ! alkane H\n"
                             "mass     2 cg331   12.01100 C ! lower case\n"
                             "RESI X 0.0\n"
                             "ATOM C1 CG331 -0.27 ! MASS 9 NOPE 1.0\n"));
  c.AddNewTopology(dir.Write("b.rtf", "MASS 7 HGA3 2.0\n"));
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
  c.ReadMass();  // a second reading lists the types again
  EXPECT_EQ(c.type.size(), 6u);
  ASSERT_NE(c.GetMassType("HGA3"), nullptr);
  EXPECT_EQ(c.GetMassType("HGA3")->index, 1);
  EXPECT_EQ(c.GetMassType("hga3"), nullptr);
  EXPECT_EQ(c.GetMassType("NONE"), nullptr);
}

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
    "CG321    0.0       -0.0560     2.0100\n";

TEST(CharmmNonbonded, FindsTheTypeOnlyInsideTheSectionOfTheFirstFile) {
  TempDir dir;
  Charmm c;
  EXPECT_EQ(c.read_par("HGA3"), "");  // no files
  EXPECT_EQ(c.read_nbfix("A", "B"), "");
  c.AddNewParam(dir.Write("p.prm", kNonbonded));
  EXPECT_EQ(c.read_par("HGA3"), "HGA3     0.0       -0.0240     1.3400 ! ALKANE");
  // The bond line names CG331 first but lies outside the section.
  EXPECT_EQ(tprint(c.read_par("CG331"), 3), "-0.0780");
  // HBOND and END do not close the section; NBFIX does.
  EXPECT_EQ(tprint(c.read_par("OG311"), 3), "-0.1921");
  EXPECT_EQ(c.read_par("CG321"), "");
  EXPECT_EQ(c.read_par("hga3"), "");
  // An earlier file wins; its header may be in lower case.
  c.params.insert(c.params.begin(), dir.Write("a.prm", "nonbonded\nHGA3 0.0 -0.5 1.0\n"));
  EXPECT_EQ(tprint(c.read_par("HGA3"), 3), "-0.5");
  EXPECT_EQ(tprint(c.read_par("CG331"), 3), "-0.0780");
}

TEST(CharmmNbfix, PairIsFoundInEitherOrderInsideTheSections) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("p.prm",
                          "NONBONDED\n"
                          "SOD 0.0 -0.0469 1.41075\n"
                          "nbfix\n"
                          "SOD    CLA      -0.083875   3.731 ! osmotic\n"
                          "HBOND CUTHB 0.5\n"
                          "POT    CLA      -0.114236   4.081\n"
                          "NBFIX\n"
                          "OT     SOD      -0.075020   3.190\n"));
  EXPECT_EQ(c.read_nbfix("SOD", "CLA"), "SOD    CLA      -0.083875   3.731 ! OSMOTIC");
  EXPECT_EQ(c.read_nbfix("CLA", "SOD"), "SOD    CLA      -0.083875   3.731 ! OSMOTIC");
  EXPECT_EQ(c.read_nbfix("sod", "cla"), "");
  // HBOND closes the section and a second header reopens it.
  EXPECT_EQ(c.read_nbfix("POT", "CLA"), "");
  EXPECT_EQ(tprint(c.read_nbfix("SOD", "OT"), 3), "-0.075020");
}

TEST(CharmmBondedLookup, EachKindOfTermInBothDirections) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("p.prm",
                          "BONDS\n"
                          "CG331  HGA3    322.00     1.1110\n"
                          "ANGLES\n"
                          "CG331  HGA3    1.0 1.0 ! not a bond\n"
                          "HGA3   CG331  OG311   45.90    108.89\n"
                          "DIHEDRALS\n"
                          "X      CG331  OG311  X        0.1800  3     0.00\n"
                          "HGA3   CG331  OG311  HGP1     0.1800  3     0.00\n"
                          "IMPROPER\n"
                          "CG2O1  X      X      OG2D1   60.0000  0     0.00\n"
                          "NONBONDED\n"
                          "HGA3 0.0 -0.024 1.34\n"));
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

TEST(CharmmFailures, MissingFilesAndBadNumbers) {
  TempDir dir;
  const std::string none = (dir.path() / "none").string();
  const std::string bad = dir.Write("bad",
                                    "MASS 1 HGA3 heavy\n"
                                    "NONBONDED\nBAD 0.0 x 1.0\n"
                                    "NBFIX\nBAD    CLA      x   3.190\n");
  Charmm missing, broken;
  missing.AddNewTopology(none);
  missing.AddNewParam(none);
  broken.AddNewTopology(bad);
  broken.AddNewParam(bad);

  auto e = ExpectExit([&] { missing.ReadMass(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ can not open file " + none + "\n");
  e = ExpectExit([&] { missing.read_par("A", "B"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ error can not open file : " + none + "\n");
  EXPECT_THAT([&] { missing.read_par("HGA3"); },
              ThrowsMessage<std::runtime_error>(StrEq("Can not open file: " + none)));
  EXPECT_THAT([&] { missing.read_nbfix("SOD", "CLA"); },
              ThrowsMessage<std::runtime_error>(StrEq("Cannot open file: " + none)));

  EXPECT_THAT([&] { broken.ReadMass(); },
              ThrowsMessage<std::invalid_argument>(StrEq("not a number: 'heavy'")));
  EXPECT_THAT([&] { broken.read_par("BAD"); },
              ThrowsMessage<std::runtime_error>(
                  StrEq("Error in file: " + bad + " in line: BAD 0.0 X 1.0\nnot a number: 'X'")));
  EXPECT_THAT([&] { broken.read_nbfix("CLA", "BAD"); },
              ThrowsMessage<std::runtime_error>(
                  StrEq("Error in file: " + bad + " in line: BAD    CLA      X   3.190")));
}

}  // namespace
