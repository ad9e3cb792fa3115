// The MM jobs of the bonded fit on methanol: the files they write for
// CHARMM, what they report when CHARMM writes nothing, and one whole
// evaluation of the objective with the stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "engines/mm/mm_support.h"
#include "intra/BondOpt.h"
#include "intra/bonded_state.h"
#include "support/bonded_methanol.h"
#include "support/path_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using testing::HasSubstr;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

}  // namespace

// Without charmm the jobs write their inputs, each job is reported once
// with its output file, and the readers go on as they would with stale
// files: the one-dimensional scans keep their values, a multi-dimensional
// scan or the target structures without energies end the run.
TEST(BondedMMJobs, InputsAsWrittenAndJobsThatWriteNothing) {
  testing_support::BondedFitState state;
  TempDir dir;
  const std::string wd = dir.path().string();
  testing_support::PrepareBondedMethanol(wd, 37);
  testing_support::PathScope path("");
  // The MM minimum: O 0.01 A further from C along the bond.
  std::string card = "* minimum\n*\n    6  EXT\n";
  const char* names[] = {"CB", "OG", "HG1", "HB1", "HB2", "HB3"};
  for (int i = 0; i < 6; ++i) {
    auto xyz = mol1.atom[mol1.AtomIndex(names[i])].xyz;
    if (i == 1) xyz[1] -= 0.01;
    card += Format("%10i%10i  MEOH      %-8s%20.10f%20.10f%20.10f  AAAA      1         0.0\n", i + 1, 1, names[i],
                   xyz[0], xyz[1], xyz[2]);
  }
  dir.Write("emp.card", card);
  // An improper scan with the soft dihedral held.
  CMolecule::ClassPESScanBonded impr = mol1.term[0];
  impr.type = 'i';
  impr.name = "i_cb_og_hb1_hb2";
  impr.aid = {0, 1, 3, 4};
  for (int k = 0; k < 3; ++k) impr.val[k] = 25.0 + 5.0 * k;
  impr.cons = {Constraint{'d', {"HB1", "CB", "OG", "HG1"}, {3, 0, 1, 2}, 179.5}};
  mol1.term.push_back(impr);
  std::filesystem::create_directories(dir.path() / "bond" / impr.name);
  auto& multi = OptInter.SoftDiheMulti[0];
  multi.dihedral.push_back(OptInter.SoftDihe[0]);
  multi.dihedral[1].aid[0] = mol1.AtomIndex("HB2");
  for (auto& p : multi.point) p.push_back(p[0] + 120.0);
  multi.constraint = {OptInter.SoftDihe[0]};
  multi.constraint[0].val = -60.5;

  testing::internal::CaptureStderr();
  const std::string out = Printed([] { mol1.CHARMM_PES_scan(); });
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(err, "$ err charmm wrote none"), 1);
  EXPECT_THAT(err, HasSubstr("$ err charmm wrote none of the result files of " + strCharmmPath +
                             "/pes.inp; see its output : " + wd + "//pes.out\n"));
  EXPECT_THAT(out, HasSubstr(wd + "//surf.dat can not be opened\n"));
  EXPECT_EQ(Count(out, "$ wrong input in file : "), 3 + 3 + 37 + 3);
  // The bond scan shifted by the MM minimum, the soft dihedral not.
  EXPECT_EQ(dir.Read("bond/b_cb_og/charmm.results.dat"), "1.37 0\n1.43 0\n1.49 0\n");
  std::string inputs = "== term.list\n" + dir.Read("term.list");
  for (const auto& t : mol1.term) inputs += "== " + t.name + ".inp\n" + dir.Read(t.name + ".inp");

  testing::internal::CaptureStderr();
  ProcessExit end = testing_support::ExpectExit([&] { Printed([&] { mol1.MMMultiPesScan(multi); }); });
  err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(end.status, 1);
  EXPECT_EQ(end.message, " error number of MM points read is different\n");
  EXPECT_THAT(err, HasSubstr("multi-pes.inp; see its output : " + wd + "/" + multi.termName + ".out\n"));
  inputs += "== restraints.str\n" + dir.Read("restraints.str");
  inputs += "== " + multi.termName + ".str\n" + dir.Read(multi.termName + ".str");

  testing::internal::CaptureStderr();
  end = testing_support::ExpectExit([&] { Printed([&] { mol1.MMStructureOptimizatation(TargetStr); }); });
  err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(end.status, 1);
  EXPECT_THAT(err, HasSubstr("target-str.inp; see its output : " + wd + "//target-str.out\n"));
  inputs += "== restraints.str\n" + dir.Read("restraints.str");
  inputs += "== multi_str.str\n" + dir.Read("multi_str.str");
  testing_support::ExpectSameAsReference(inputs, "intra/mm_job_inputs.txt");
}

// One evaluation with `single`: every MM job with the stand-in, the report,
// the result files and the soft-dihedral table, and status 0 at the end.
TEST(BondedMMJobs, OneEvaluationOfMethanolWithTheStandIn) {
  testing_support::BondedFitState state;
  TempDir dir;
  const Vec_DP x = testing_support::PrepareBondedMethanol(dir.path().string(), 37);
  testing_support::PathScope path(QM2FF_ENGINES_BIN);
  OptInter.single = 1;
  testing::internal::CaptureStderr();
  ProcessExit end;
  Printed([&] { end = testing_support::ExpectExit([&] { rmsd_b(x); }); });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(end.status, 0);
  EXPECT_EQ(end.message, "");

  // The energy of every result card, with the trial values of add_para.inp
  // the general force field's, is the stand-in's surf.dat value, relative to
  // the lowest point of its scan.
  for (const auto& t : mol1.term) {
    SCOPED_TRACE(t.name);
    const auto mm = mm_testing::ReadTable(dir.Read("bond/" + t.name + "/charmm.results.dat"));
    ASSERT_EQ(mm.size(), static_cast<std::size_t>(t.npt));
    std::vector<double> card;
    for (int k = 0; k < t.npt; ++k) {
      const auto s = mm_testing::ReadCard((dir.path() / "results" / (t.name + "-" + inttostr(k) + ".card")).string());
      ASSERT_EQ(s.size(), 6u);
      card.push_back(mm_testing::MethanolEnergy(s));
    }
    const double lowest = *std::min_element(card.begin(), card.end());
    for (int k = 0; k < t.npt; ++k) EXPECT_NEAR(card[k] - lowest, mm[k].at(1), 1e-4) << k;
  }
  // The multi-dimensional scan and the target structures: MM energies
  // relative to their lowest, beside the points and the QM energies.
  const auto multi = mm_testing::ReadTable(dir.Read("bond/" + OptInter.SoftDiheMulti[0].termName + "/charmm.results.dat"));
  ASSERT_EQ(multi.size(), 3u);
  EXPECT_EQ(multi[0][0], 60.0);
  EXPECT_EQ(std::min({multi[0][1], multi[1][1], multi[2][1]}), 0.0);
  const std::string targets = dir.Read("bond/target-structures/energy.results.dat");
  ASSERT_EQ(targets.rfind("# Emm Eqm\n", 0), 0u) << targets;
  const auto rows = mm_testing::ReadTable(targets.substr(10));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][1], 1.2);
  EXPECT_EQ(std::min(rows[0][0], rows[1][0]), 0.0);
}
