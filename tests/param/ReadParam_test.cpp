// Filling the bonded parameter table from CHARMM parameter files, and the
// starting values of the entries to fit from an earlier result file.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"

using namespace testing_support;

namespace {

// alcohol.prm has every kind of section in mixed case, a bond line only after NONBONDED and NBFIX,
// a dihedral in both type orders and an angle without Urey-Bradley values for an entry that has
// the term (it keeps it). Lines after END belong to the last section; the last file read wins.
TEST(ReadParamFromFile, FillsEveryKindFromItsSection) {
  TempDir dir;
  Param p = AlcoholTable();
  p.angle[0].ub = 1, p.angle[0].kub = 7.0;
  p.readParamFromFile(DataPath("param/alcohol.prm"));
  EXPECT_FALSE(p.bond[1].ifread);
  p.readParamFromFile(dir.Write("b.prm", "BONDS\nEND\nOG311 CG331 428.0 1.42\nHGA3 CG331 300.0 1.2\n"));
  ExpectSameAsReference(RunText(RunText(Dump(p), DataPath("param")), dir.path().string()), "param/alcohol_read.txt");
}

// "X" stands for any type on the file's side only: at both ends of a
// dihedral, in the middle of an improper. An exact line after a wildcard
// line wins, not before it.
TEST(ReadParamFromFile, WildcardsAndTheExactLineAfterThem) {
  EXPECT_FALSE(compareDihe("X", "B", "C", "D", "Q", "B", "C", "R") || compareDihe("A", "B", "C", "D", "X", "B", "C", "X"));
  EXPECT_FALSE(compareImpr("A", "X", "C", "D", "A", "Q", "C", "E") || compareAngle("A", "B", "C", "B", "A", "C"));
  TempDir dir;
  const std::string wildcard = "X A B X 1.0 2 0.0\n", exact = "C A B D 3.0 2 180.0\n";
  for (const bool exactWins : {true, false}) {
    Param p;
    WithTypes(p.AddDihe(), {"C", "A", "B", "D"});
    WithTypes(p.AddDihe(), {"E", "B", "A", "F"});
    testing::internal::CaptureStderr();
    p.readParamFromFile(dir.Write("d.prm", "DIHEDRALS\n" + (exactWins ? wildcard + exact : exact + wildcard)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "$ err repeated dihedral for C A B D 1\n");
    EXPECT_DOUBLE_EQ(p.dihe[0].force[1], exactWins ? 3.0 : 1.0);
    EXPECT_DOUBLE_EQ(p.dihe[0].angle[1], exactWins ? 180.0 : 0.0);
    EXPECT_DOUBLE_EQ(p.dihe[1].force[1], 1.0);
  }
}

// Also for starting values from an earlier result, which go through the same reader.
TEST(ReadParamFromFile, FailuresEndTheProcessNamingFileSectionAndLine) {
  TempDir dir;
  const struct { const char *text, *section, *line, *why; } rows[] = {
      {"BONDS\nCG331 HGA3 strong 1.0\n", "bond", "CG331 HGA3 STRONG 1.0", "not a number: 'STRONG'"},
      {"DIHEDRALS\nHGA3 CG331 OG311 HGP1 0.18 0 0.0\n", "dihe", "HGA3 CG331 OG311 HGP1 0.18 0 0.0",
       "dihedral multiplicity 0 outside 1..6"},
      {"dihedrals\nHGA3 CG331 OG311 HGP1 0.18 7 0\n", "dihe", "HGA3 CG331 OG311 HGP1 0.18 7 0",
       "dihedral multiplicity 7 outside 1..6"},
      {nullptr, "", "", ""},  // no such file
  };
  for (const auto& row : rows) {
    const std::string f = row.text ? dir.Write("bad.prm", row.text) : (dir.path() / "none.prm").string();
    Param p = AlcoholTable();
    for (const bool initial : {false, true}) {
      const auto e = ExpectExit([&] { Printed([&] { initial ? p.ReadInitialParam(f) : p.readParamFromFile(f); }); });
      EXPECT_EQ(e.status, 1);
      EXPECT_EQ(e.message, row.text ? "$ err : while reading file: " + f + " ; within section : " + row.section +
                                          " ;  in line : " + row.line + "\n$ err : " + row.why + "\n"
                                    : "$ error parameter file can not be opened : " + f + "\n");
    }
  }
}

// Only the entries to fit take the values of previous.prm; a file name set before stays, and the
// dihedral, not fitted and without terms, gets a weak two-fold one. With the structure switches on,
// the fitted C-O bond (1.5 A in the file) and H1-C-O angle, made Urey-Bradley here, take their
// equilibrium values from the structure, whose carbon is moved.
TEST(ReadInitialParam, OnlyEntriesToFitTakeTheValuesOfTheFileOrOfTheStructure) {
  ForceFieldState state;
  for (const bool fromStructure : {false, true}) {
    mol1 = TypedMethanol();
    mol1.impr.emplace_back(1, 0, 2, 3);
    param = Param();
    mol1.CreateListParam(param);
    OptInter.fBondFromStructure = OptInter.fAngleFromStructure = fromStructure;
    if (fromStructure) {
      param.bond[1].fOpt = param.angle[0].fOpt = param.angle[0].ub = 1;
      mol1.atom[1].xyz = {0.0, 0.0, 0.1};
    } else {
      param.bond[0].fOpt = param.angle[1].fOpt = param.impr[0].fOpt = 1;
      param.angle[1].paramfile = "initial.prm";
    }
    Printed([] { param.ReadInitialParam(DataPath("param/previous.prm")); });
    ExpectSameAsReference(RunText(Dump(param), DataPath("param")),
                          fromStructure ? "param/initial_structure.txt" : "param/initial.txt");
  }
}

}  // namespace
