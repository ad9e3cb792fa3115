// Filling the bonded parameter table from CHARMM parameter files.
#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "param.h"
#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::Printed;
using testing_support::TempDir;
using testing_support::WithTypes;

namespace {

// A table of the kind a small alcohol needs.
Param AlcoholTable() {
  Param p;
  WithTypes(p.AddBond(), {"CG331", "HGA3"});
  WithTypes(p.AddBond(), {"CG331", "OG311"});
  WithTypes(p.AddAngle(), {"HGA3", "CG331", "OG311"});
  WithTypes(p.AddAngle(), {"HGA3", "CG331", "HGA3"});
  WithTypes(p.AddAngle(), {"CG331", "OG311", "HGP1"});
  WithTypes(p.AddDihe(), {"HGA3", "CG331", "OG311", "HGP1"});
  WithTypes(p.AddImpr(), {"CG2O1", "A", "B", "OG2D1"});
  return p;
}

const char* kFile =
    "* alcohol\n"
    "*\n"
    "bonds\n"
    "CG331  HGA3    322.00     1.1110 ! alkane, adm\n"
    "Angles\n"
    "HGA3   CG331  OG311   45.90    108.89 ! no urey-bradley\n"
    "HGA3   CG331  HGA3    35.50    108.40    5.40   1.80200 ! with urey-bradley\n"
    "CG331  OG311  HGP1    57.50    106.00 !glued comment\n"
    "DIHEDRALS\n"
    "HGA3   CG331  OG311  HGP1     0.1800  3     0.00\n"
    "HGP1   OG311  CG331  HGA3     0.2000  1   180.00 ! reversed\n"
    "IMPROPER\n"
    "OG2D1  X      X      CG2O1   60.0000  0     0.00\n"
    "CMAP\n"
    "CG331  HGA3    1.0 1.0\n"
    "NONBONDED nbxmod  5\n"
    "CG331  OG311    0.0       -0.0780     2.0500\n"
    "NBFIX\n"
    "CG331  OG311    -0.1 3.0\n"
    "HBOND CUTHB 0.5\n"
    "END\n";

TEST(ReadParamFromFile, FillsEveryKindFromItsSection) {
  TempDir dir;
  const std::string f = dir.Write("a.prm", kFile);
  Param p = AlcoholTable();
  p.angle[0].ub = 1;  // a line without Urey-Bradley values keeps the term
  p.angle[0].kub = 7.0;
  p.readParamFromFile(f);

  EXPECT_TRUE(p.bond[0].ifread);
  EXPECT_DOUBLE_EQ(p.bond[0].force, 322.0);
  EXPECT_DOUBLE_EQ(p.bond[0].rmin, 1.111);
  EXPECT_EQ(p.bond[0].comment, " ALKANE, ADM");
  EXPECT_EQ(p.bond[0].paramfile, f);
  // Found only after NONBONDED or NBFIX: not a bond line.
  EXPECT_FALSE(p.bond[1].ifread);

  EXPECT_DOUBLE_EQ(p.angle[0].force, 45.9);
  EXPECT_DOUBLE_EQ(p.angle[0].amin, 108.89);
  EXPECT_DOUBLE_EQ(p.angle[0].ideal, 108.89);
  EXPECT_EQ(p.angle[0].ub, 1);
  EXPECT_DOUBLE_EQ(p.angle[0].kub, 7.0);
  EXPECT_EQ(p.angle[1].ub, 1);
  EXPECT_DOUBLE_EQ(p.angle[1].kub, 5.4);
  EXPECT_DOUBLE_EQ(p.angle[1].s0, 1.802);
  EXPECT_TRUE(p.angle[2].ifread);
  EXPECT_EQ(p.angle[2].ub, 0);
  EXPECT_EQ(p.angle[2].comment, "GLUED COMMENT");

  const auto& d = p.dihe[0];
  EXPECT_TRUE(d.ifread);
  EXPECT_EQ(d.NonZero, (std::array<int, kDiheTerms>{1, 0, 1, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(d.force[0], 0.2);
  EXPECT_DOUBLE_EQ(d.angle[0], 180.0);
  EXPECT_DOUBLE_EQ(d.ideal[0], 180.0);
  EXPECT_DOUBLE_EQ(d.force[2], 0.18);
  EXPECT_TRUE(d.ifReadHarm[2]);
  EXPECT_EQ(d.paramfile[2], f);
  EXPECT_EQ(d.comment, " REVERSED");

  EXPECT_TRUE(p.impr[0].ifread);
  EXPECT_DOUBLE_EQ(p.impr[0].force, 60.0);

  // Lines after END belong to the last section.
  p.readParamFromFile(dir.Write("b.prm", "BONDS\nEND\nOG311 CG331 428.0 1.42\n"));
  EXPECT_DOUBLE_EQ(p.bond[1].force, 428.0);
}

TEST(ReadParamFromFile, ExactLineAfterWildcardWinsAndNotBefore) {
  TempDir dir;
  const std::string wildcard = "X A B X 1.0 2 0.0\n", exact = "C A B D 3.0 2 180.0\n";
  for (const bool exactWins : {true, false}) {
    SCOPED_TRACE(exactWins ? "wildcard first" : "exact first");
    Param p;
    WithTypes(p.AddDihe(), {"C", "A", "B", "D"});
    WithTypes(p.AddDihe(), {"E", "B", "A", "F"});
    const std::string f =
        dir.Write("d.prm", "DIHEDRALS\n" + (exactWins ? wildcard + exact : exact + wildcard));
    testing::internal::CaptureStderr();
    p.readParamFromFile(f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "$ err repeated dihedral for C A B D 1\n");
    EXPECT_DOUBLE_EQ(p.dihe[0].force[1], exactWins ? 3.0 : 1.0);
    EXPECT_DOUBLE_EQ(p.dihe[0].angle[1], exactWins ? 180.0 : 0.0);
    EXPECT_DOUBLE_EQ(p.dihe[1].force[1], 1.0);
  }
}

TEST(ReadParamFromFile, FailuresEndTheProcessNamingFileSectionAndLine) {
  TempDir dir;
  const std::string missing = (dir.path() / "none.prm").string();
  const auto within = [](const std::string& f, const std::string& section, const std::string& line,
                         const std::string& why) {
    return "$ err : while reading file: " + f + " ; within section : " + section +
           " ;  in line : " + line + "\n$ err : " + why + "\n";
  };
  const std::string bad = dir.Write("bad.prm", "BONDS\nCG331 HGA3 strong 1.0\n");
  const std::string zero = dir.Write("zero.prm", "DIHEDRALS\nHGA3 CG331 OG311 HGP1 0.18 0 0.0\n");
  const std::string seven = dir.Write("seven.prm", "dihedrals\nHGA3 CG331 OG311 HGP1 0.18 7 0\n");
  const std::pair<std::string, std::string> cases[] = {
      {bad, within(bad, "bond", "CG331 HGA3 STRONG 1.0", "not a number: 'STRONG'")},
      {zero, within(zero, "dihe", "HGA3 CG331 OG311 HGP1 0.18 0 0.0",
                    "dihedral multiplicity 0 outside 1..6")},
      {seven, within(seven, "dihe", "HGA3 CG331 OG311 HGP1 0.18 7 0",
                     "dihedral multiplicity 7 outside 1..6")},
      {missing, "$ error parameter file can not be opened : " + missing + "\n"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    Param p = AlcoholTable();
    const auto e = ExpectExit([&] { p.readParamFromFile(file); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
    // Starting values from an earlier result go through the same reader.
    const auto again = ExpectExit([&] { Printed([&] { p.ReadInitialParam(file); }); });
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.message, message);
  }
}

TEST(ParamInitialize, MarksEveryEntryNoFileSuppliedAndLastFileWins) {
  TempDir dir;
  Charmm c;
  c.AddNewParam(dir.Write("a.prm", kFile));
  const std::string second = dir.Write("b.prm", "BONDS\nHGA3 CG331 300.0 1.2\n");
  c.AddNewParam(second);
  Param p = AlcoholTable();
  p.Initialize(c);
  EXPECT_EQ(p.bond[0].fOpt, 0);
  EXPECT_DOUBLE_EQ(p.bond[0].force, 300.0);
  EXPECT_EQ(p.bond[0].paramfile, second);
  EXPECT_EQ(p.bond[1].fOpt, 1);
  EXPECT_DOUBLE_EQ(p.bond[1].force, 0.0);
  EXPECT_EQ(p.angle[0].fOpt, 0);
  EXPECT_EQ(p.angle[1].fOpt, 0);
  EXPECT_EQ(p.dihe[0].fOpt, 0);
  EXPECT_EQ(p.impr[0].fOpt, 0);
}

}  // namespace
