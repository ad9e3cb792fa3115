// The bonded parameter table as text.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

namespace {

// One entry of each kind to fit, with and without Urey-Bradley term and
// comment, and a bond that is kept.
Param Sample() {
  Param p;
  auto& b = WithTypes(p.AddBond(), {"CG331", "HGA3"});
  b.force = 322.0;
  b.rmin = 1.111;
  b.fOpt = 1;
  b.comment = " alkane";
  b.paramfile = "a.prm";
  WithTypes(p.AddBond(), {"CG331", "OG311"});
  auto& a = WithTypes(p.AddAngle(), {"HGA3", "CG331", "HGA3"});
  a.force = 35.5;
  a.amin = 108.4;
  a.ub = 1;
  a.kub = 5.4;
  a.s0 = 1.802;
  a.fOpt = 1;
  auto& plain = WithTypes(p.AddAngle(), {"HGA3", "CG331", "OG311"});
  plain.force = 45.9;
  plain.amin = 108.89;
  plain.fOpt = 1;
  plain.comment = "x";
  auto& d = WithTypes(p.AddDihe(), {"HGA3", "CG331", "OG311", "HGP1"});
  d.NonZero = {1, 0, 1, 0, 0, 0};
  d.force = {0.2, 0.0, 0.18};
  d.angle = {180.0};
  d.paramfile[2] = "b.prm";
  d.fOpt = 1;
  auto& m = WithTypes(p.AddImpr(), {"CG2O1", "X", "X", "OG2D1"});
  m.force = 60.0;
  m.fOpt = 1;
  m.comment = " amide";
  return p;
}

// The file of the entries to fit and the listing of every entry.
TEST(WriteParam, WritesTheEntriesToFitInFixedColumnsAndListsEveryEntry) {
  TempDir dir;
  FpathScope wd(dir.path().string());
  Sample().write_param();
  ExpectSameAsReference(dir.Read("add_para.inp"), "param/add_para.inp");
  ExpectSameAsReference(Printed([] { Sample().PrintParam(); }), "param/listing.txt");
}

TEST(WriteParam, UnwritableDirectoryEndsTheProcess) {
  TempDir dir;
  const std::string missing = (dir.path() / "none").string();
  FpathScope wd(missing);
  const auto e = ExpectExit([] { Sample().write_param(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + missing + "/add_para.inp\n");
}

}  // namespace
