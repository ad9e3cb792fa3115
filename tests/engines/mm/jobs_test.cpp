// The jobs of the stand-in MM program on methanol, mostly through the
// example job scripts on files as the system writes them; energies against a
// calculation written out here from the general force field's numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "charmm.h"
#include "support/molecule.h"
#include "engines/mm/mm_support.h"

using mm_testing::kStart;
using mm_testing::MethanolEnergy;
using mm_testing::Structure;
using testing_support::TempDir;

namespace {

// RMS of the numerical gradient of MethanolEnergy, kcal/mol/A.
double GradientRms(Structure s) {
  const double h = 1e-5;
  double sum = 0;
  for (auto& [name, p] : s)
    for (int k = 0; k < 3; ++k) {
      const double x = p[k];
      p[k] = x + h;
      const double up = MethanolEnergy(s);
      p[k] = x - h;
      const double down = MethanolEnergy(s);
      p[k] = x;
      sum += std::pow((up - down) / (2 * h), 2);
    }
  return std::sqrt(sum / (3.0 * s.size()));
}

// A methanol structure with HB1-CB-OG-HG1 eclipsed (kStart has it trans).
Structure Eclipsed() {
  Structure s = kStart;
  s["HG1"] = {-0.951, -1.056, 0.0};
  return s;
}

struct MmJobs : ::testing::Test {
  TempDir dir;
  void SetUp() override { mm_testing::WriteMethanolFiles(dir); }
};

}  // namespace

// The example files and, where present, the general force field itself.
TEST(MmMethanol, EnergiesMatchTheHandCalculationAndTheMinimumIsFlat) {
  ASSERT_GT(GradientRms(kStart), 1.0);  // the start is far from the minimum
  const std::string toppar = testing_support::SharedReferenceDir() + "/toppar/";
  for (const bool general : {false, true}) {
    if (general && testing_support::SharedReferenceDir().empty()) GTEST_SKIP() << "no reference force field";
    SCOPED_TRACE(general ? "general force field" : "example files");
    TempDir dir;
    mm_testing::WriteMethanolFiles(dir);
    const auto r = general ? mm_testing::RunCharmm(dir, "topology " + toppar + "top_all36_cgenff.rtf\nparameters " +
                                                            toppar + "par_all36_cgenff.prm\nresidue meoh\n"
                                                                     "coordinates methanol.pdb\njob minimize\n")
                           : mm_testing::RunExample(dir, "minimize.inp");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(mm_testing::Energies(r.out, "start")["total"], MethanolEnergy(kStart), 1e-4) << r.out;
    const Structure min = mm_testing::ReadCard((dir.path() / "emp.card").string());
    ASSERT_EQ(min.size(), 6u);
    EXPECT_LT(GradientRms(min), 0.01);
    auto e = mm_testing::Energies(r.out, "minimized");
    EXPECT_NEAR(e["total"], MethanolEnergy(min), 1e-4);
    EXPECT_LT(e["grms"], 0.01);
    if (general) continue;
    // A CARD file serves as start structure as well.
    std::filesystem::rename(dir.path() / "emp.card", dir.path() / "start.card");
    const auto again = mm_testing::RunCharmm(
        dir, "topology top_methanol.rtf\nparameters par_methanol.prm\ncoordinates start.card\njob minimize\n");
    ASSERT_EQ(again.status, 0) << again.err;
    e = mm_testing::Energies(again.out, "start");
    EXPECT_NEAR(e["total"], MethanolEnergy(mm_testing::ReadCard((dir.path() / "start.card").string())), 1e-6);
    EXPECT_LT(e["grms"], 0.01);
  }
}

TEST(MmMethanol, DihedralRestraintsHoldTheirTargets) {
  // The hydroxyl H turned 30 degrees about C-O out of the trans position.
  Structure turned = kStart;
  turned["HG1"] = {-0.047 + 0.904 * std::cos(mm_testing::Rad(30.0)), -1.056, 0.904 * std::sin(mm_testing::Rad(30.0))};
  const double start = mm_testing::Torsion(turned);
  ASSERT_GT(std::fabs(std::fabs(start) - 180.0), 20.0);
  const std::string cons = "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE ";
  const struct {
    const char* script;  // an example job script
    const char* file;    // the restraint stream it reads
    std::string text;
    const char* card;
    double expected;
  } cases[] = {
      {"minimize_with_restraints.inp", "restraints.str", cons + "1000000.0 MIN -30.00000 PERIod 0 WIDTH 0.0\n",
       "emp_with_retraints.card", -30.0},
      {"minimize_with_restraints.inp", "restraints.str", cons + "1000000.0 MAIN PERIod 0 WIDTH 0.0\n",
       "emp_with_retraints.card", start},
      {"minimize.inp", "restrdihe.inp", cons + "10000.0 MIN 150.00000 PERIod 0 WIDTH 0.0\n\n", "emp.card", 150.0},
      // Without a restraint the same start relaxes to the trans minimum.
      {"minimize.inp", "restrdihe.inp", "\n", "emp.card", 180.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TempDir dir;
    mm_testing::WriteMethanolFiles(dir);
    dir.Write("methanol.pdb", mm_testing::Pdb(turned));
    dir.Write(c.file, c.text);
    const auto r = mm_testing::RunExample(dir, c.script);
    ASSERT_EQ(r.status, 0) << r.err;
    const Structure s = mm_testing::ReadCard((dir.path() / c.card).string());
    ASSERT_EQ(s.size(), 6u);
    EXPECT_NEAR(std::remainder(mm_testing::Torsion(s) - c.expected, 360.0), 0.0, 0.1);
  }
}

TEST_F(MmJobs, PesScansEveryTermAndWritesSurfaceAndResultCards) {
  // A bond (named in upper case, with a dihedral restraint and a QM structure
  // at point 4), an angle and a dihedral, 7 points each.
  const struct {
    std::string name, type;
    std::vector<std::string> atoms;
    double start, step, tol;
  } terms[] = {{"B_CB_OG", "b", {"CB", "OG"}, 1.36, 0.02, 0.005},
               {"a_cb_og_hg1", "a", {"CB", "OG", "HG1"}, 100.0, 2.0, 0.1},
               {"d_hb1_cb_og_hg1", "d", {"HB1", "CB", "OG", "HG1"}, 150.0, 10.0, 0.1}};
  dir.Write("term.list", "! number of pes scans\nset nterms 3\n! terms\nset term1 B_CB_OG\nset term2 a_cb_og_hg1\n"
                         "set term3 d_hb1_cb_og_hg1\n");
  for (const auto& t : terms) {
    std::string text = "! atoms\n";
    for (std::size_t a = 0; a < t.atoms.size(); ++a) text += "set A" + std::to_string(a + 1) + " " + t.atoms[a] + "\n";
    text += "! number of pes points\nset NP 7\n! term type\nset termtype " + t.type + "\n! term points\n";
    for (int k = 0; k < 7; ++k)
      text += "set va" + std::to_string(k + 1) + " " + std::to_string(t.start + k * t.step) + "\n";
    if (t.type == "b")
      text += "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1  FORCE 10000.0 MIN 180.00000 PERIod 0 WIDTH 0.0\n";
    dir.Write(t.name + ".inp", text);
  }
  dir.Write("bond/b_cb_og/pdb/3.pdb", mm_testing::Pdb(kStart));
  const auto r = mm_testing::RunExample(dir, "pes.inp");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = mm_testing::ReadTable(dir.Read("surf.dat"));
  ASSERT_EQ(rows.size(), 21u);
  for (int i = 0; i < 3; ++i) {
    const auto& t = terms[i];
    std::vector<double> hand;
    for (int k = 0; k < 7; ++k) {
      SCOPED_TRACE(t.name + " point " + std::to_string(k));
      const auto& row = rows[i * 7 + k];
      ASSERT_EQ(row.size(), 4u);
      std::string card = t.name + "-" + std::to_string(k) + ".card";  // named in lower case
      std::transform(card.begin(), card.end(), card.begin(), [](unsigned char ch) { return std::tolower(ch); });
      const Structure s = mm_testing::ReadCard((dir.path() / "results" / card).string());
      ASSERT_EQ(s.size(), 6u);
      std::vector<mm_testing::P> p;
      for (const auto& a : t.atoms) p.push_back(s.at(a));
      double reached = p.size() == 2   ? mm_testing::Dist(p[0], p[1])
                       : p.size() == 3 ? mm_testing::AngleDeg(p[0], p[1], p[2])
                                       : mm_testing::DiheDeg(p[0], p[1], p[2], p[3]);
      if (reached < 0) reached += 360.0;  // the dihedral scan runs past 180
      EXPECT_NEAR(reached, t.start + k * t.step, t.tol);
      EXPECT_NEAR(row[0], reached, 1e-5);
      hand.push_back(MethanolEnergy(s));
      if (i == 0) {  // the restraint of the bond scan holds
        EXPECT_NEAR(std::fabs(mm_testing::Torsion(s)), 180.0, 0.1);
      }
      // Only point 4 of the bond scan has a QM structure to compare with.
      EXPECT_TRUE(i == 0 && k == 3 ? row[2] > 0.001 : row[2] == 0.0) << row[2];
    }
    // Energies relative to the lowest of the scan.
    const double lowest = *std::min_element(hand.begin(), hand.end());
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(rows[i * 7 + k][1], hand[k] - lowest, 2e-5);
  }
  // The bond scan at 1.36 A pulls hard on the unrestrained force field.
  EXPECT_GT(rows[0][3], 1.0);
  EXPECT_EQ(mm_testing::ReadCard((dir.path() / "emp.card").string()).size(), 6u);
  // OpenMM's own minimiser reaches the same energies.
  setenv("QM2FF_MM_MINIMIZER", "openmm", 1);
  const auto openmm = mm_testing::RunExample(dir, "pes.inp");
  unsetenv("QM2FF_MM_MINIMIZER");
  ASSERT_EQ(openmm.status, 0) << openmm.err;
  const auto again = mm_testing::ReadTable(dir.Read("surf.dat"));
  ASSERT_EQ(again.size(), rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_NEAR(again[k][1], rows[k][1], 1e-4) << k;
}

// Both jobs see the threefold barrier of 3 x 0.36 kcal/mol between eclipsed
// and staggered.
TEST_F(MmJobs, MultiPesAndTargetStructuresWriteOneEnergyPerStructure) {
  const std::string scan = "multidimensional-hb1_cb_og_hg1";
  dir.Write(scan + ".str",
            "! number of terms\nset nd 1\n! atoms\nset a1_1 HB1\nset a2_1 CB\nset a3_1 OG\nset a4_1 HG1\n"
            "! number of pes points\nset np 3\n! points\nset va1_1  = 0.00\nset pdbid1  = 1\n"
            "set va2_1  = 60.00\nset pdbid2  = 2\nset va3_1  = 180.00\nset pdbid3  = 3\n");
  dir.Write("restraints.str", "");
  dir.Write("bond/" + scan + "/pdb/1.pdb", mm_testing::Pdb(Eclipsed()));
  dir.Write("bond/" + scan + "/pdb/2.pdb", mm_testing::Pdb(kStart));
  dir.Write("bond/" + scan + "/pdb/3.pdb", mm_testing::Pdb(kStart));
  auto r = mm_testing::RunExample(dir, "multi-pes.inp", "termname:" + scan);
  ASSERT_EQ(r.status, 0) << r.err;
  auto rows = mm_testing::ReadTable(dir.Read("surf-multi-pes.dat"));
  ASSERT_EQ(rows.size(), 3u);
  for (const auto& row : rows) ASSERT_EQ(row.size(), 1u);
  EXPECT_NEAR(rows[0][0] - rows[1][0], 1.08, 0.3);
  EXPECT_NEAR(rows[1][0], rows[2][0], 0.05);
  EXPECT_GT(std::fabs(rows[1][0]), 1.0);  // no minimum energy subtracted

  // Structures numbered from 0 (a missing structure of a set numbered from 1
  // is one of the bad-input cases), each minimised with its dihedrals held.
  dir.Write("multi_str.str",
            "! number of structures\nset nstr 2\n! directory\nset fstr = bond/target-structures/pdb/\n");
  dir.Write("restraints.str",
            "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 1000000.0 MAIN PERIod 0 WIDTH 0.0\n");
  dir.Write("bond/target-structures/pdb/0.pdb", mm_testing::Pdb(kStart));
  dir.Write("bond/target-structures/pdb/1.pdb", mm_testing::Pdb(Eclipsed()));
  r = mm_testing::RunExample(dir, "target-str.inp");
  ASSERT_EQ(r.status, 0) << r.err;
  rows = mm_testing::ReadTable(dir.Read("target-str.dat"));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NEAR(rows[1][0] - rows[0][0], 1.08, 0.3);

  // The restraint block the system writes holds both structures eclipsed.
  const CMolecule named = testing_support::MakeMolecule(
      {{"HB1", 1, 0, 0, 0}, {"CB", 6, 1, 0, 0}, {"OG", 8, 2, 0, 0}, {"HG1", 1, 3, 0, 0}});
  dir.Write("restraints.str", CHARMM::RestraintsText(named, {CConstraint{{0, 1, 2, 3}, 0.0, 'd'}}));
  r = mm_testing::RunExample(dir, "target-str.inp");
  ASSERT_EQ(r.status, 0) << r.err;
  rows = mm_testing::ReadTable(dir.Read("target-str.dat"));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NEAR(rows[0][0], rows[1][0], 0.01);
}
