// The CHARMM file reader: masses, Lennard-Jones and NBFIX lines, single-line
// bonded lookups.
#include "param.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "errors.h"
#include "io.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using testing::StrEq;
using testing::ThrowsMessage;
using namespace testing_support;

namespace {

TEST(CharmmMass, ReadsEveryMassLineOfEveryTopologyAndFindsTheFirst) {
  TempDir dir;
  Charmm c;
  // Lower case, a comment, and a MASS word in a comment of another line.
  c.AddNewTopology(DataPath("param/masses.rtf"));
  c.AddNewTopology(dir.Write("b.rtf", "MASS 7 HGA3 2.0\n"));
  c.ReadMass();
  std::string types;
  for (const auto& t : c.type)
    types += Format("%d %s %g |%s|%s|\n", t.index, t.type.c_str(), t.mass, t.symbol.c_str(),
                    t.comment.c_str());
  EXPECT_EQ(types, "1 HGA3 1.008 |!| alkane H|\n2 CG331 12.011 |C| lower case|\n7 HGA3 2 |||\n");
  c.ReadMass();  // a second reading lists the types again
  EXPECT_EQ(c.type.size(), 6u);
  ASSERT_NE(c.GetMassType("HGA3"), nullptr);
  EXPECT_EQ(c.GetMassType("HGA3")->index, 1);
  EXPECT_EQ(c.GetMassType("hga3"), nullptr);
  EXPECT_EQ(c.GetMassType("NONE"), nullptr);
}

TEST(CharmmNonbonded, FindsTheTypeOnlyInsideTheSectionOfTheFirstFile) {
  TempDir dir;
  Charmm c;
  EXPECT_EQ(c.read_par("HGA3"), "");  // no files
  EXPECT_EQ(c.read_nbfix("A", "B"), "");
  // A bond line before the section, HBOND and END inside it, NBFIX after it.
  c.AddNewParam(DataPath("param/nonbonded.prm"));
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
  c.AddNewParam(DataPath("param/nbfix.prm"));
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
  c.AddNewParam(DataPath("param/bonded.prm"));
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
              ThrowsMessage<DetailedError>(testing::StartsWith("$ err heavy is not a number in " + bad + ":1")));
  EXPECT_THAT([&] { broken.read_par("BAD"); },
              ThrowsMessage<std::runtime_error>(
                  StrEq("Error in file: " + bad + " in line: BAD 0.0 X 1.0\nnot a number: 'X'")));
  EXPECT_THAT([&] { broken.read_nbfix("CLA", "BAD"); },
              ThrowsMessage<std::runtime_error>(
                  StrEq("Error in file: " + bad + " in line: BAD    CLA      X   3.190")));
}

}  // namespace
