// The bonded parameter table as text.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"

using namespace testing_support;

namespace {

// The file of the entries to fit, in fixed columns, and the listing of every
// entry: alcohol.prm read, every entry fitted but one bond that is kept.
TEST(WriteParam, WritesTheEntriesToFitAndListsEveryEntry) {
  TempDir dir;
  Param p = AlcoholTable();
  p.readParamFromFile(DataPath("param/alcohol.prm"));
  for (auto* fOpt : {&p.bond[0].fOpt, &p.angle[0].fOpt, &p.angle[1].fOpt, &p.dihe[0].fOpt, &p.impr[0].fOpt}) *fOpt = 1;
  FpathScope wd(dir.path().string());
  p.write_param();
  ExpectSameAsReference(dir.Read("add_para.inp"), "param/add_para.inp");
  ExpectSameAsReference(RunText(Printed([&] { p.PrintParam(); }), DataPath("param")), "param/listing.txt");
  FpathScope missing((dir.path() / "none").string());
  const auto e = ExpectExit([&] { p.write_param(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + fpath + "/add_para.inp\n");
}

}  // namespace
