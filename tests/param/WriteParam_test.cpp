// The bonded parameter table as text.
#include <gtest/gtest.h>

#include "param/param.h"
#include "support/fpath_scope.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::FpathScope;
using testing_support::TempDir;

namespace {

Param Sample() {
  Param p;
  auto& b = p.AddBond();
  b.atp1 = "CG331";
  b.atp2 = "HGA3";
  b.force = 322.0;
  b.rmin = 1.111;
  b.fOpt = 1;
  b.comment = " alkane";
  b.paramfile = "a.prm";
  auto& kept = p.AddBond();
  kept.atp1 = "CG331";
  kept.atp2 = "OG311";
  auto& a = p.AddAngle();
  a.atp1 = "HGA3";
  a.atp2 = "CG331";
  a.atp3 = "HGA3";
  a.force = 35.5;
  a.amin = 108.4;
  a.ub = 1;
  a.kub = 5.4;
  a.s0 = 1.802;
  a.fOpt = 1;
  auto& plain = p.AddAngle();
  plain.atp1 = "HGA3";
  plain.atp2 = "CG331";
  plain.atp3 = "OG311";
  plain.force = 45.9;
  plain.amin = 108.89;
  plain.fOpt = 1;
  plain.comment = "x";
  auto& d = p.AddDihe();
  d.atp1 = "HGA3";
  d.atp2 = "CG331";
  d.atp3 = "OG311";
  d.atp4 = "HGP1";
  d.NonZero[0] = 1;
  d.force[0] = 0.2;
  d.angle[0] = 180.0;
  d.NonZero[2] = 1;
  d.force[2] = 0.18;
  d.paramfile[2] = "b.prm";
  d.fOpt = 1;
  auto& m = p.AddImpr();
  m.atp1 = "CG2O1";
  m.atp2 = "X";
  m.atp3 = "X";
  m.atp4 = "OG2D1";
  m.force = 60.0;
  m.fOpt = 1;
  m.comment = " amide";
  return p;
}

// The parameter file p writes into a working directory of its own.
std::string Written(const Param& p) {
  TempDir dir;
  FpathScope wd(dir.path().string());
  p.write_param();
  return dir.Read("add_para.inp");
}

TEST(WriteParam, WritesTheEntriesToFitInFixedColumns) {
  EXPECT_EQ(Written(Sample()),
            "BONDS\n"
            "  CG331    HGA3  322.00000    1.11100  ! alkane\n"
            "\n"
            "ANGLES\n"
            "   HGA3   CG331    HGA3   35.50000  108.40000       5.40000      1.80200 !\n"
            "   HGA3   CG331   OG311   45.90000  108.89000  !x\n"
            "\n"
            "DIHEDRALS\n"
            "   HGA3   CG331   OG311    HGP1    0.20000    1     180.0 \n"
            "   HGA3   CG331   OG311    HGP1    0.18000    3       0.0 \n"
            "\n"
            "IMPROPER\n"
            "  CG2O1       X       X   OG2D1   60.00000 0 0.0  ! amide\n"
            "\n");
}

TEST(WriteParam, LongTypesWidenTheColumns) {
  Param p;
  auto& b = p.AddBond();
  b.atp1 = "VERYLONGTYPE";
  b.atp2 = "H";
  b.fOpt = 1;
  EXPECT_EQ(
      Written(p),
      "BONDS\nVERYLONGTYPE       H    0.00000    0.00000 \n\nANGLES\n\nDIHEDRALS\n\nIMPROPER\n\n");
}

TEST(WriteParam, NothingToFitWritesOnlyTheHeaders) {
  Param p = Sample();
  for (auto& b : p.bond) b.fOpt = 0;
  for (auto& a : p.angle) a.fOpt = 0;
  for (auto& d : p.dihe) d.fOpt = 0;
  for (auto& m : p.impr) m.fOpt = 0;
  EXPECT_EQ(Written(p), "BONDS\n\nANGLES\n\nDIHEDRALS\n\nIMPROPER\n\n");
}

TEST(WriteParam, UnwritableDirectoryEndsTheProcess) {
  TempDir dir;
  const std::string missing = (dir.path() / "none").string();
  FpathScope wd(missing);
  const auto e = ExpectExit([] { Sample().write_param(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + missing + "/add_para.inp\n");
}

TEST(PrintParam, ListsEveryEntryWithItsOrigin) {
  Param p = Sample();
  testing::internal::CaptureStdout();
  p.PrintParam();
  EXPECT_EQ(
      testing::internal::GetCapturedStdout(),
      "BOND\n"
      "  CG331    HGA3  322.00000    1.11100 ! optimize : yes | read from : a.prm\n"
      "  CG331   OG311    0.00000    0.00000 ! optimize :  no | read from : \n"
      "ANGL\n"
      "   HGA3   CG331    HGA3   35.50000  108.40000    5.40000    1.80200 ! optimize : yes | read "
      "from : \n"
      "   HGA3   CG331   OG311   45.90000  108.89000                       ! optimize : yes | read "
      "from : \n"
      "DIHE\n"
      "   HGA3   CG331   OG311    HGP1    0.20000 1  180.00000 ! optimize : yes | read from : \n"
      "   HGA3   CG331   OG311    HGP1    0.18000 3    0.00000 ! optimize : yes | read from : "
      "b.prm\n"
      "IMPR\n"
      "  CG2O1       X       X   OG2D1   60.00000 0 0.0 ! optimize : yes | read from : \n"
      "\n\n");
}

}  // namespace
