// Filling the bonded parameter table from CHARMM parameter files.
#include <gtest/gtest.h>

#include <utility>

#include "param.h"
#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

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

// alcohol.prm has every kind of section in mixed case, a bond line only after
// NONBONDED and NBFIX, a dihedral in both type orders and an angle without
// Urey-Bradley values for an entry that has the term (it keeps it). Lines
// after END belong to the last section.
TEST(ReadParamFromFile, FillsEveryKindFromItsSection) {
  TempDir dir;
  Param p = AlcoholTable();
  p.angle[0].ub = 1;
  p.angle[0].kub = 7.0;
  p.readParamFromFile(DataPath("param/alcohol.prm"));
  EXPECT_FALSE(p.bond[1].ifread);
  p.readParamFromFile(dir.Write("b.prm", "BONDS\nEND\nOG311 CG331 428.0 1.42\n"));
  ExpectSameAsReference(Dump(p, {DataPath("param"), dir.path().string()}),
                        "param/alcohol_read.txt");

  // Every entry found in a file is kept, the last file winning; the others are to fit.
  Charmm c;
  c.AddNewParam(DataPath("param/alcohol.prm"));
  c.AddNewParam(dir.Write("b.prm", "BONDS\nHGA3 CG331 300.0 1.2\n"));
  Param q = AlcoholTable();
  q.Initialize(c);
  ExpectSameAsReference(Dump(q, {DataPath("param"), dir.path().string()}),
                        "param/alcohol_initialized.txt");
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

}  // namespace
