// The pes, multi-pes and target-structures jobs of the stand-in MM program on
// hand-written scan files for methanol.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engines/mm/mm_support.h"

using mm_testing::AngleDeg;
using mm_testing::DiheDeg;
using mm_testing::Dist;
using mm_testing::kStart;
using mm_testing::MethanolEnergy;
using mm_testing::P;
using mm_testing::Structure;
using testing_support::TempDir;

namespace {

std::vector<std::vector<double>> ReadTable(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<double> row;
    double v;
    while (words >> v) row.push_back(v);
    rows.push_back(row);
  }
  return rows;
}

std::string Points(int first, double start, double step) {
  std::string text;
  char buf[64];
  for (int k = 1; k <= 7; ++k) {
    std::snprintf(buf, sizeof buf, "set va%d %.5f\n", k + first - 1, start + (k - 1) * step);
    text += buf;
  }
  return text;
}

// A methanol structure with the hydroxyl H rotated so that HB1-CB-OG-HG1 is
// eclipsed (the start structure has it trans).
Structure Eclipsed() {
  Structure s = kStart;
  s["HG1"] = {-0.951, -1.056, 0.0};
  return s;
}

// The three scans of a methanol pes job: a bond (named in upper case, with a
// dihedral constraint and a QM structure at point 4), an angle and a dihedral.
void WritePesFiles(const TempDir& dir) {
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("term.list",
            "! number of pes scans\nset nterms 3\n! terms\nset term1 B_CB_OG\nset term2 a_cb_og_hg1\n"
            "set term3 d_hb1_cb_og_hg1\n");
  dir.Write("B_CB_OG.inp",
            "! atoms \nset A1 CB\nset A2 OG\n! number of pes points\nset NP 7\n! term type\nset termtype b\n"
            "! term points\n" + Points(1, 1.36, 0.02) +
            "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1  FORCE 10000.0 MIN 180.00000 PERIod 0 WIDTH 0.0\n");
  dir.Write("a_cb_og_hg1.inp", "set A1 CB\nset A2 OG\nset A3 HG1\nset NP 7\nset termtype a\n" +
                                   Points(1, 100.0, 2.0));
  dir.Write("d_hb1_cb_og_hg1.inp", "set A1 HB1\nset A2 CB\nset A3 OG\nset A4 HG1\nset NP 7\nset termtype d\n" +
                                       Points(1, 150.0, 10.0));
  dir.Write("bond/b_cb_og/pdb/3.pdb", mm_testing::Pdb(kStart));
}

}  // namespace

TEST(MmJobs, PesScansEveryTermAndWritesSurfaceAndResultCards) {
  TempDir dir;
  WritePesFiles(dir);
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("pes"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = ReadTable(dir.Read("surf.dat"));
  ASSERT_EQ(rows.size(), 21u);
  const std::vector<std::string> names = {"b_cb_og", "a_cb_og_hg1", "d_hb1_cb_og_hg1"};
  const std::vector<double> start = {1.36, 100.0, 150.0}, step = {0.02, 2.0, 10.0};
  const std::vector<double> tol = {0.005, 0.1, 0.1};
  for (int t = 0; t < 3; ++t) {
    double lowest = 1e9, lowestHand = 1e9;
    std::vector<double> hand;
    for (int k = 0; k < 7; ++k) {
      const auto& row = rows[t * 7 + k];
      ASSERT_EQ(row.size(), 4u);
      const Structure s = mm_testing::ReadCard(
          (dir.path() / "results" / (names[t] + "-" + std::to_string(k) + ".card")).string());
      ASSERT_EQ(s.size(), 6u) << names[t] << " " << k;
      const double target = start[t] + k * step[t];
      double reached = 0;
      if (t == 0) reached = Dist(s.at("CB"), s.at("OG"));
      if (t == 1) reached = AngleDeg(s.at("CB"), s.at("OG"), s.at("HG1"));
      if (t == 2) reached = DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1"));
      if (t == 2 && reached < 0) reached += 360.0;  // the scan runs past 180
      EXPECT_NEAR(reached, target, tol[t]) << names[t] << " " << k;
      EXPECT_NEAR(row[0], reached, 1e-5);
      hand.push_back(MethanolEnergy(s));
      lowestHand = std::min(lowestHand, hand.back());
      lowest = std::min(lowest, row[1]);
      if (t == 0) {
        // The dihedral constraint of the bond scan holds.
        EXPECT_NEAR(std::fabs(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1"))), 180.0, 0.1);
      }
      // Only point 4 of the bond scan has a QM structure to compare with.
      if (t == 0 && k == 3)
        EXPECT_GT(row[2], 0.001);
      else
        EXPECT_EQ(row[2], 0.0);
    }
    EXPECT_EQ(lowest, 0.0);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(rows[t * 7 + k][1], hand[k] - lowestHand, 2e-5);
  }
  // The bond scan at 1.36 A pulls hard on the unrestrained force field.
  EXPECT_GT(rows[0][3], 1.0);
  EXPECT_FALSE(mm_testing::ReadCard((dir.path() / "emp.card").string()).empty());
}

TEST(MmJobs, PesRemovesResultsOfAnEarlierRunWhenItFails) {
  TempDir dir;
  WritePesFiles(dir);
  dir.Write("surf.dat", "old\n");
  dir.Write("results/b_cb_og-2.card", "old\n");
  dir.Write("emp.card", "old\n");
  dir.Write("a_cb_og_hg1.inp", "set A1 CB\nset A2 OG\nset A3 HG1\nset NP 7\nset termtype a\nset va1 100\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("pes"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "charmm: error: a_cb_og_hg1.inp: variable va2 is not set\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "surf.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "emp.card"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "results/b_cb_og-2.card"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "results/b_cb_og-0.card"));
}

TEST(MmJobs, MultiPesWritesOneAbsoluteEnergyPerPoint) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  const std::string scan = "multidimensional-hb1_cb_og_hg1";
  dir.Write(scan + ".str",
            "! number of terms\nset nd 1\n! atoms\nset a1_1 HB1\nset a2_1 CB\nset a3_1 OG\nset a4_1 HG1\n"
            "! number of pes points\nset np 3\n! points\nset va1_1  = 0.00\nset pdbid1  = 1\n"
            "set va2_1  = 60.00\nset pdbid2  = 2\nset va3_1  = 180.00\nset pdbid3  = 3\n");
  dir.Write("restraints.str", "");
  dir.Write("bond/" + scan + "/pdb/1.pdb", mm_testing::Pdb(Eclipsed()));
  dir.Write("bond/" + scan + "/pdb/2.pdb", mm_testing::Pdb(kStart));
  dir.Write("bond/" + scan + "/pdb/3.pdb", mm_testing::Pdb(kStart));
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("multi-pes"), "termname:" + scan);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = ReadTable(dir.Read("surf-multi-pes.dat"));
  ASSERT_EQ(rows.size(), 3u);
  for (const auto& row : rows) ASSERT_EQ(row.size(), 1u);
  // A threefold barrier of 3 x 0.36 kcal/mol between eclipsed and staggered,
  // with no minimum energy subtracted.
  EXPECT_NEAR(rows[0][0] - rows[1][0], 1.08, 0.3);
  EXPECT_NEAR(rows[1][0], rows[2][0], 0.05);
  EXPECT_GT(std::fabs(rows[1][0]), 1.0);
}

TEST(MmJobs, MultiPesNeedsTheScanName) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("surf-multi-pes.dat", "1.0\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("multi-pes"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "charmm: error: the multi-pes job needs the command-line setting termname:NAME\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "surf-multi-pes.dat"));
}

TEST(MmJobs, TargetStructuresMinimisesEachStructureWithItsDihedralsHeld) {
  for (const int first : {1, 0}) {
    TempDir dir;
    mm_testing::WriteMethanolFiles(dir);
    dir.Write("multi_str.str",
              "! number of structures\nset nstr 2\n! directory\nset fstr = bond/target-structures/pdb/\n");
    dir.Write("restraints.str",
              "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 1000000.0 MAIN PERIod 0 WIDTH 0.0\n");
    dir.Write("bond/target-structures/pdb/" + std::to_string(first) + ".pdb", mm_testing::Pdb(kStart));
    dir.Write("bond/target-structures/pdb/" + std::to_string(first + 1) + ".pdb", mm_testing::Pdb(Eclipsed()));
    const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("target-structures"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = ReadTable(dir.Read("target-str.dat"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NEAR(rows[1][0] - rows[0][0], 1.08, 0.3) << "numbered from " << first;
  }
}

TEST(MmJobs, TargetStructuresReportsAMissingStructure) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("multi_str.str", "set nstr 2\nset fstr = pdb/\n");
  dir.Write("restraints.str", "");
  dir.Write("pdb/1.pdb", mm_testing::Pdb(kStart));
  dir.Write("target-str.dat", "1.0\n2.0\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("target-structures"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "charmm: error: pdb/2.pdb: cannot be opened\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "target-str.dat"));
}

TEST(MmJobs, StartsFromACardFile) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  ASSERT_EQ(mm_testing::RunCharmm(dir, mm_testing::MethanolScript("minimize")).status, 0);
  std::filesystem::rename(dir.path() / "emp.card", dir.path() / "start.card");
  const auto r = mm_testing::RunCharmm(
      dir, "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates start.card\njob minimize\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const Structure s = mm_testing::ReadCard((dir.path() / "start.card").string());
  EXPECT_NEAR(mm_testing::Energies(r.out, "start").at("total"), MethanolEnergy(s), 1e-6);
  EXPECT_LT(mm_testing::Energies(r.out, "start").at("grms"), 0.01);
}

TEST(MmJobs, RestraintStreamsOfTheScriptHoldTheStartMinimisation) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("restrdihe.inp",
            "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 10000.0 MIN 150.00000 PERIod 0 WIDTH 0.0\n\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("minimize") + "restraints restrdihe.inp\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const Structure s = mm_testing::ReadCard((dir.path() / "emp.card").string());
  ASSERT_EQ(s.size(), 6u);
  EXPECT_NEAR(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1")), 150.0, 0.1);
}

TEST(MmJobs, ExampleScriptsRunEveryJob) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  WritePesFiles(dir);
  const std::string examples = std::string(QM2FF_SOURCE_DIR) + "/examples/methanol/charmm/";
  // The files qm2ff writes before the runs.
  dir.Write("add_para.inp", "BONDS\n\nANGLES\n\nDIHEDRALS\n\nIMPROPER\n\n");
  dir.Write("restrdihe.inp", "\n");
  dir.Write("restraints.str", "");
  dir.Write("m.str", "set nd 1\nset a1_1 HB1\nset a2_1 CB\nset a3_1 OG\nset a4_1 HG1\nset np 1\n"
                     "set va1_1  = 60.00\nset pdbid1  = 1\n");
  dir.Write("bond/m/pdb/1.pdb", mm_testing::Pdb(kStart));
  dir.Write("multi_str.str", "set nstr 1\nset fstr = bond/target-structures/pdb/\n");
  dir.Write("bond/target-structures/pdb/1.pdb", mm_testing::Pdb(kStart));
  const std::vector<std::pair<std::string, std::string>> runs = {
      {"minimize.inp", "emp.card"},
      {"minimize_with_restraints.inp", "emp_with_retraints.card"},
      {"pes.inp", "surf.dat"},
      {"multi-pes.inp termname:m", "surf-multi-pes.dat"},
      {"target-str.inp", "target-str.dat"}};
  for (const auto& [script, output] : runs) {
    const auto space = script.find(' ');
    const std::string file = script.substr(0, space);
    const std::string opts = space == std::string::npos ? "" : script.substr(space + 1);
    const auto r = testing_support::Run("sh -c \"charmm < '" + examples + file + "' " + opts + "\"", dir.path());
    EXPECT_EQ(r.status, 0) << file << ": " << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / output)) << file;
  }
}
