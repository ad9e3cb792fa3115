// Methanol with the stand-in MM program: the energy against a calculation
// written out here from the general force field's numbers, minimisation, and
// restrained minimisation.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "engines/mm/mm_support.h"

using mm_testing::AngleDeg;
using mm_testing::DiheDeg;
using mm_testing::Dist;
using mm_testing::P;
using testing_support::TempDir;

namespace {

constexpr double kPi = 3.14159265358979323846;
double Rad(double deg) { return deg * kPi / 180.0; }

using Structure = std::map<std::string, P>;

const Structure kStart = {{"CB", {-0.047, 0.665, 0.000}}, {"OG", {-0.047, -0.755, 0.000}},
                          {"HG1", {0.857, -1.056, 0.000}}, {"HB1", {-1.091, 0.978, 0.000}},
                          {"HB2", {0.433, 1.075, 0.890}},  {"HB3", {0.433, 1.075, -0.890}}};

// The CHARMM energy of methanol (residue MEOH) with the values of the
// general force field for types CG331, OG311, HGP1 and HGA3.
double MethanolEnergy(const Structure& s) {
  auto at = [&s](const char* n) { return s.at(n); };
  const char* hb[] = {"HB1", "HB2", "HB3"};
  double e = 428.0 * std::pow(Dist(at("CB"), at("OG")) - 1.42, 2) +
             545.0 * std::pow(Dist(at("OG"), at("HG1")) - 0.96, 2) +
             57.5 * std::pow(Rad(AngleDeg(at("CB"), at("OG"), at("HG1")) - 106.0), 2);
  for (int i = 0; i < 3; ++i) {
    const P h = at(hb[i]);
    e += 322.0 * std::pow(Dist(at("CB"), h) - 1.111, 2);
    e += 45.9 * std::pow(Rad(AngleDeg(at("OG"), at("CB"), h) - 108.89), 2);
    e += 0.18 * (1 + std::cos(3 * Rad(DiheDeg(h, at("CB"), at("OG"), at("HG1")))));
    const double r = Dist(h, at("HG1"));
    const double rmin = 0.2245 + 1.34, eps = std::sqrt(0.046 * 0.024);
    e += 332.0716 * 0.42 * 0.09 / r + eps * (std::pow(rmin / r, 12) - 2 * std::pow(rmin / r, 6));
    for (int j = i + 1; j < 3; ++j) {
      const P h2 = at(hb[j]);
      e += 35.5 * std::pow(Rad(AngleDeg(h, at("CB"), h2) - 108.4), 2) + 5.4 * std::pow(Dist(h, h2) - 1.802, 2);
    }
  }
  return e;
}

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
  TempDir dir;
  mm_testing::WriteMethanolFiles(dir);
  const double start = DiheDeg(kStart.at("HB2"), kStart.at("CB"), kStart.at("OG"), kStart.at("HG1"));
  dir.Write("methanol.pdb", mm_testing::Pdb(kStart));
  dir.Write("restraints.str",
            "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 1000000.0 MIN -30.00000 PERIod 0 WIDTH 0.0\n"
            "CONS DIHE AAAA 1 HB2 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 1000000.0 MAIN PERIod 0 WIDTH 0.0\n");
  const auto r = mm_testing::RunCharmm(dir, mm_testing::MethanolScript("restrained-minimize"));
  ASSERT_EQ(r.status, 0) << r.err;
  const Structure s = mm_testing::ReadCard((dir.path() / "emp_with_retraints.card").string());
  ASSERT_EQ(s.size(), 6u);
  EXPECT_NEAR(DiheDeg(s.at("HB1"), s.at("CB"), s.at("OG"), s.at("HG1")), -30.0, 0.1);
  EXPECT_NEAR(DiheDeg(s.at("HB2"), s.at("CB"), s.at("OG"), s.at("HG1")), start, 0.1);
}
