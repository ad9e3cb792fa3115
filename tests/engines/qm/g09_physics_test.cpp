// Physical sense of what the stand-in QM program computes.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "engines/qm/g09_support.h"

namespace {

using namespace g09_testing;

const char* const kTip3pWaterDeck =
    "#HF/6-31G* Test NoSymm\n\nTIP3P water\n\n0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n";

TEST(G09Physics, MethanolWaterProbeHasAHydrogenBondDistanceAndEnergy) {
  const G09Run complex = RunG09(PositiveProbeDeck(Methanol(), 6, {2}, 1, 2.0, 90.0));
  const G09Run methanol = RunG09(SinglePointDeck(Methanol()));
  const G09Run water = RunG09(kTip3pWaterDeck);
  ASSERT_EQ(complex.status, 0) << complex.out;
  ASSERT_EQ(methanol.status, 0) << methanol.out;
  ASSERT_EQ(water.status, 0) << water.out;
  EXPECT_GE(complex.data.prop.distance, 1.7);
  EXPECT_LE(complex.data.prop.distance, 2.3);
  const double interaction =
      (complex.data.prop.energy - methanol.data.prop.energy - water.data.prop.energy) * kHartreeToKcal;
  EXPECT_GE(interaction, -8.0);
  EXPECT_LE(interaction, -2.0);
}

TEST(G09Physics, TheProbeDistanceDoesNotDependOnTheStartValue) {
  const G09Run nearStart = RunG09(PositiveProbeDeck(Methanol(), 6, {2}, 1, 1.8, 90.0));
  const G09Run farStart = RunG09(PositiveProbeDeck(Methanol(), 6, {2}, 1, 3.5, 90.0));
  ASSERT_EQ(nearStart.status, 0);
  ASSERT_EQ(farStart.status, 0);
  EXPECT_NEAR(nearStart.data.prop.distance, farStart.data.prop.distance, 0.01);
  EXPECT_NEAR(nearStart.data.prop.energy, farStart.data.prop.energy, 1e-6);
}

TEST(G09Physics, FrozenDihedralStaysWhileTheRestRelaxes) {
  // Hydroxyl hydrogen turned out of its staggered position; dihedral 3-1-2-6 frozen.
  auto atoms = Methanol();
  const double c = std::cos(M_PI / 3), s = std::sin(M_PI / 3);
  const Point o = atoms[1].xyz;
  const double x = atoms[5].xyz[0] - o[0];
  atoms[5].xyz = {o[0] + x * c, atoms[5].xyz[1], o[2] - x * s};
  const double start = Dihedral(atoms[2].xyz, atoms[0].xyz, atoms[1].xyz, atoms[5].xyz);
  const G09Run sp = RunG09(SinglePointDeck(atoms));
  std::string deck = OptimisationDeck(atoms, "3 1 2 6 F\n");
  deck.replace(deck.find("Opt=ModRedun "), 13, "Opt=(ModRedun, MaxCycle=20) NoSymm");
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& xyz = r.data.prop.xyzInputOrient;
  ASSERT_EQ(xyz.size(), 18u);
  EXPECT_NEAR(Dihedral(At(xyz, 2), At(xyz, 0), At(xyz, 1), At(xyz, 5)), start, 0.5);
  EXPECT_LT(r.data.prop.energy, sp.data.prop.energy - 1e-4);
  EXPECT_GT(std::abs(Distance(At(xyz, 0), At(xyz, 1)) - Distance(atoms[0].xyz, atoms[1].xyz)), 1e-3);
}

TEST(G09Physics, FrozenCentreDoesNotMove) {
  const auto atoms = Methanol();
  std::string body;
  for (size_t i = 0; i < atoms.size(); ++i) {
    body += AtomLines({atoms[i]}, i == 5 || i == 2 ? -1 : 0);
  }
  const std::string deck = "#HF/6-31G* Opt NoSymm\n\nfrozen centres\n\n0 1\n" + body + "\n";
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& xyz = r.data.prop.xyzInputOrient;
  ASSERT_EQ(xyz.size(), 18u);
  for (const int frozen : {2, 5}) {
    EXPECT_NEAR(Distance(At(xyz, frozen), atoms[static_cast<size_t>(frozen)].xyz), 0.0, 1e-6);
  }
  double moved = 0;
  for (const int free : {0, 1, 3, 4}) {
    moved = std::max(moved, Distance(At(xyz, free), atoms[static_cast<size_t>(free)].xyz));
  }
  EXPECT_GT(moved, 1e-3);
}

TEST(G09Physics, ReadmeGivesTheStandInEnergyOfTip3pWater) {
  std::ifstream readme(std::string(QM2FF_SOURCE_DIR) + "/engines/README.md");
  ASSERT_TRUE(readme.good());
  double documented = 0;
  bool found = false;
  for (std::string line; std::getline(readme, line);) {
    std::istringstream words(line);
    std::string key;
    if (words >> key && key == "qmwaterenergy" && words >> documented) found = true;
  }
  ASSERT_TRUE(found) << "no line \"qmwaterenergy <value>\" in engines/README.md";
  const G09Run water = RunG09(kTip3pWaterDeck);
  ASSERT_EQ(water.status, 0) << water.out;
  EXPECT_NEAR(documented, water.data.prop.energy, 1e-8);
}

}  // namespace

namespace {

using namespace g09_testing;

TEST(G09Physics, AnOptimisationOutOfStepsEndsWithAnErrorTerminationAfterItsLastGeometry) {
  std::string deck = OptimisationDeck(Hexane(), "");
  deck.replace(deck.find("Opt=ModRedun "), 13, "Opt=(MaxCycle=2) NoSymm");
  const G09Run r = RunG09(deck);
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(r.data.prop.iferror);
  EXPECT_FALSE(r.data.prop.ifconverged);
  EXPECT_NE(r.out.find("Number of steps exceeded"), std::string::npos);
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 60u);
  EXPECT_TRUE(r.data.IfRead("energy"));
  EXPECT_EQ(r.out.find("Normal termination"), std::string::npos);
}

}  // namespace
