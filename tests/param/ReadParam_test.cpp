// Filling the bonded parameter table from CHARMM parameter files.
#include <gtest/gtest.h>

#include "param.h"
#include "param/param.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::TempDir;

namespace {

void SetBond(Param& p, const std::string& t1, const std::string& t2) {
  auto& b = p.AddBond();
  b.atp1 = t1;
  b.atp2 = t2;
}

void SetAngle(Param& p, const std::string& t1, const std::string& t2, const std::string& t3) {
  auto& a = p.AddAngle();
  a.atp1 = t1;
  a.atp2 = t2;
  a.atp3 = t3;
}

template <class Entry>
void SetTypes4(Entry& e, const std::string& t1, const std::string& t2, const std::string& t3,
               const std::string& t4) {
  e.atp1 = t1;
  e.atp2 = t2;
  e.atp3 = t3;
  e.atp4 = t4;
}

// A table of the kind a small alcohol needs.
Param AlcoholTable() {
  Param p;
  SetBond(p, "CG331", "HGA3");
  SetBond(p, "CG331", "OG311");
  SetAngle(p, "HGA3", "CG331", "OG311");
  SetAngle(p, "HGA3", "CG331", "HGA3");
  SetAngle(p, "CG331", "OG311", "HGP1");
  SetTypes4(p.AddDihe(), "HGA3", "CG331", "OG311", "HGP1");
  SetTypes4(p.AddImpr(), "CG2O1", "A", "B", "OG2D1");
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
  EXPECT_EQ(p.angle[0].ub, 0);
  EXPECT_EQ(p.angle[1].ub, 1);
  EXPECT_DOUBLE_EQ(p.angle[1].kub, 5.4);
  EXPECT_DOUBLE_EQ(p.angle[1].s0, 1.802);
  EXPECT_TRUE(p.angle[2].ifread);
  EXPECT_EQ(p.angle[2].ub, 0);
  EXPECT_EQ(p.angle[2].comment, "GLUED COMMENT");

  const auto& d = p.dihe[0];
  EXPECT_TRUE(d.ifread);
  EXPECT_EQ(d.NonZero[0], 1);
  EXPECT_EQ(d.NonZero[1], 0);
  EXPECT_EQ(d.NonZero[2], 1);
  EXPECT_DOUBLE_EQ(d.force[0], 0.2);
  EXPECT_DOUBLE_EQ(d.angle[0], 180.0);
  EXPECT_DOUBLE_EQ(d.ideal[0], 180.0);
  EXPECT_DOUBLE_EQ(d.force[2], 0.18);
  EXPECT_TRUE(d.ifReadHarm[2]);
  EXPECT_EQ(d.paramfile[2], f);
  EXPECT_EQ(d.comment, " REVERSED");

  EXPECT_TRUE(p.impr[0].ifread);
  EXPECT_DOUBLE_EQ(p.impr[0].force, 60.0);
}

TEST(ReadParamFromFile, LinesAfterEndBelongToTheLastSection) {
  TempDir dir;
  Param p = AlcoholTable();
  p.readParamFromFile(dir.Write("a.prm", "BONDS\nEND\nOG311 CG331 428.0 1.42\n"));
  EXPECT_TRUE(p.bond[1].ifread);
  EXPECT_DOUBLE_EQ(p.bond[1].force, 428.0);
}

TEST(ReadParamFromFile, AngleLineCanAddUreyBradleyButNeverRemovesIt) {
  TempDir dir;
  Param p = AlcoholTable();
  p.angle[0].ub = 1;
  p.angle[0].kub = 7.0;
  p.readParamFromFile(dir.Write("a.prm", "ANGLES\nHGA3 CG331 OG311 45.90 108.89 !\n"));
  EXPECT_EQ(p.angle[0].ub, 1);
  EXPECT_DOUBLE_EQ(p.angle[0].kub, 7.0);
  EXPECT_EQ(p.angle[0].comment, "");
}

TEST(ReadParamFromFile, ExactLineAfterWildcardWinsAndNotBefore) {
  TempDir dir;
  const char* wildcardFirst =
      "DIHEDRALS\n"
      "X A B X 1.0 2 0.0\n"
      "C A B D 3.0 2 180.0\n";
  const char* exactFirst =
      "DIHEDRALS\n"
      "C A B D 3.0 2 180.0\n"
      "X A B X 1.0 2 0.0\n";
  for (const auto* text : {wildcardFirst, exactFirst}) {
    Param p;
    SetTypes4(p.AddDihe(), "C", "A", "B", "D");
    SetTypes4(p.AddDihe(), "E", "B", "A", "F");
    testing::internal::CaptureStderr();
    p.readParamFromFile(dir.Write("d.prm", text));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "$ err repeated dihedral for C A B D 1\n");
    const bool exactWins = text == wildcardFirst;
    EXPECT_DOUBLE_EQ(p.dihe[0].force[1], exactWins ? 3.0 : 1.0);
    EXPECT_DOUBLE_EQ(p.dihe[0].angle[1], exactWins ? 180.0 : 0.0);
    EXPECT_DOUBLE_EQ(p.dihe[1].force[1], 1.0);
  }
}

TEST(ReadParamFromFile, BadNumberEndsTheProcessNamingTheSection) {
  TempDir dir;
  const std::string f = dir.Write("a.prm", "BONDS\nCG331 HGA3 strong 1.0\n");
  Param p = AlcoholTable();
  const auto e = ExpectExit([&] { p.readParamFromFile(f); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err : while reading file: " + f +
                           " ; within section : bond ;  in line : CG331 HGA3 STRONG 1.0\n"
                           "$ err : not a number: 'STRONG'\n");
}

TEST(ReadParamFromFile, MultiplicityOutsideOneToSixNamesFileAndLine) {
  TempDir dir;
  Param p = AlcoholTable();
  for (const char* n : {"0", "7"}) {
    const std::string f =
        dir.Write("a.prm", std::string("DIHEDRALS\nHGA3 CG331 OG311 HGP1 0.18 ") + n + " 0.0\n");
    const auto e = ExpectExit([&] { p.readParamFromFile(f); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err : while reading file: " + f +
                             " ; within section : dihe ;  in line : HGA3 CG331 OG311 HGP1 0.18 " +
                             n + " 0.0\n$ err : dihedral multiplicity " + n + " outside 1..6\n");
  }
}

TEST(ReadParamFromFile, MissingFileEndsTheProcess) {
  TempDir dir;
  const std::string f = (dir.path() / "none.prm").string();
  Param p;
  const auto e = ExpectExit([&] { p.readParamFromFile(f); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ error parameter file can not be opened : " + f + "\n");
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
