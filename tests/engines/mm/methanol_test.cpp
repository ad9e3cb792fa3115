// Methanol with the stand-in MM program: the energy against a calculation
// written out here from the general force field's numbers, minimisation, and
// restrained minimisation.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engines/mm/mm_support.h"

using mm_testing::AngleDeg;
using mm_testing::DiheDeg;
using mm_testing::Dist;
using mm_testing::P;
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

std::string RealScript(const std::string& job) {
  const std::string t = testing_support::SharedReferenceDir() + "/toppar/";
  return "topology " + t + "top_all36_cgenff.rtf\nparameters " + t +
         "par_all36_cgenff.prm\nresidue meoh\ncoordinates start.pdb\njob " + job + "\n";
}

}  // namespace

TEST(MmMethanol, EnergyWithTheGeneralForceFieldMatchesTheHandCalculation) {
  if (testing_support::SharedReferenceDir().empty()) GTEST_SKIP() << "no reference force field";
  TempDir dir;
  dir.Write("start.pdb", mm_testing::Pdb(kStart));
  const auto r = mm_testing::RunCharmm(dir, RealScript("minimize"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto e = mm_testing::Energies(r.out, "start");
  ASSERT_FALSE(e.empty()) << r.out;
  EXPECT_NEAR(e.at("total"), MethanolEnergy(kStart), 1e-4);
}

TEST(MmMethanol, MinimisationWithTheGeneralForceFieldReachesAFlatGradient) {
  if (testing_support::SharedReferenceDir().empty()) GTEST_SKIP() << "no reference force field";
  TempDir dir;
  dir.Write("start.pdb", mm_testing::Pdb(kStart));
  const auto r = mm_testing::RunCharmm(dir, RealScript("minimize"));
  ASSERT_EQ(r.status, 0) << r.err;
  const Structure min = mm_testing::ReadCard((dir.path() / "emp.card").string());
  ASSERT_EQ(min.size(), 6u);
  EXPECT_LT(GradientRms(min), 0.01);
  EXPECT_GT(GradientRms(kStart), 1.0);  // the start is far from the minimum
  const auto e = mm_testing::Energies(r.out, "minimized");
  EXPECT_NEAR(e.at("total"), MethanolEnergy(min), 1e-4);
  EXPECT_LT(e.at("grms"), 0.01);
}

TEST(MmMethanol, ExampleFilesGiveTheSameEnergyAsTheHandCalculation) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("methanol.pdb", mm_testing::Pdb(kStart));
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("minimize"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NEAR(mm_testing::Energies(r.out, "start").at("total"), MethanolEnergy(kStart), 1e-4);
  const Structure min = mm_testing::ReadCard((dir.path() / "emp.card").string());
  ASSERT_EQ(min.size(), 6u);
  EXPECT_LT(GradientRms(min), 0.01);
}

TEST(MmMethanol, GeoRestraintsHoldDistanceAngleAndDihedralAtTheirTargets) {
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("restraints.str",
            "mmfp\ngeo maxgeo 100 sphere  distance -\n   harmonic symmetric force 500000.0 droff 1.5 -\n"
            "   select type CB end    select type OG end \nend\n"
            "mmfp\ngeo maxgeo 100 sphere  angle -\n   harmonic symmetric force 500000.0 tref 115 dtoff 0.0 -\n"
            "   select type CB end    select type OG end    select type HG1 end \nend\n"
            "mmfp\ngeo maxgeo 100 sphere  dihedral -\n   harmonic symmetric force 500000.0 tref 60 dtoff 0.0 -\n"
            "   select type HB1 end    select type CB end    select type OG end    select type HG1 end \nend\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("restrained-minimize"));
  ASSERT_EQ(r.status, 0) << r.err;
  const Structure s = mm_testing::ReadCard((dir.path() / "emp_with_retraints.card").string());
  ASSERT_EQ(s.size(), 6u);
  EXPECT_NEAR(Dist(s.at("CB"), s.at("OG")), 1.5, 0.005);
  EXPECT_NEAR(AngleDeg(s.at("CB"), s.at("OG"), s.at("HG1")), 115.0, 0.1);
  EXPECT_NEAR(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1")), 60.0, 0.1);
  // The reported energy is that of the force field alone.
  EXPECT_NEAR(mm_testing::Energies(r.out, "minimized").at("total"), MethanolEnergy(s), 1e-4);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "emp.card"));
}

TEST(MmMethanol, ConsDiheHoldsAtMinOrAtTheStartValue) {
  // The hydroxyl H turned 30 degrees about C-O out of the trans position.
  Structure turned = kStart;
  turned["HG1"] = {-0.047 + 0.904 * std::cos(30.0 * 3.14159265358979 / 180), -1.056,
                   0.904 * std::sin(30.0 * 3.14159265358979 / 180)};
  const double start = DiheDeg(turned.at("HB1"), turned.at("CB"), turned.at("OG"), turned.at("HG1"));
  ASSERT_GT(std::fabs(std::fabs(start) - 180.0), 20.0);
  const std::vector<std::pair<std::string, double>> cases = {{"MIN -30.00000", -30.0}, {"MAIN", start}};
  for (const auto& [target, expected] : cases) {
    TempDir dir;
    mm_testing::WriteMethanolFiles(dir);
    dir.Write("methanol.pdb", mm_testing::Pdb(turned));
    dir.Write("restraints.str", "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 1000000.0 " + target +
                                    " PERIod 0 WIDTH 0.0\n");
    const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("restrained-minimize"));
    ASSERT_EQ(r.status, 0) << r.err;
    const Structure s = mm_testing::ReadCard((dir.path() / "emp_with_retraints.card").string());
    ASSERT_EQ(s.size(), 6u);
    EXPECT_NEAR(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1")), expected, 0.1) << target;
  }
  // Without the restraint the same start relaxes to the trans minimum.
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  dir.Write("methanol.pdb", mm_testing::Pdb(turned));
  ASSERT_EQ(mm_testing::RunCharmm(dir, mm_testing::MethanolScript("minimize")).status, 0);
  const Structure s = mm_testing::ReadCard((dir.path() / "emp.card").string());
  EXPECT_NEAR(std::fabs(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1"))), 180.0, 0.1);
}
