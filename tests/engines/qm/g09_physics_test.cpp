// Physical sense of what the stand-in QM program computes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engines/qm/g09_support.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

// A water probe on the methanol hydroxyl hydrogen finds a hydrogen bond, from
// near and from far alike; the water energy is the one documented.
TEST(G09Physics, MethanolWaterProbeHasAHydrogenBondDistanceAndEnergy) {
  const G09Run nearStart = RunG09(ProbeDeck(Methanol(), MethanolBonds(), 6, true, 1.8, 90.0));
  const G09Run farStart = RunG09(ProbeDeck(Methanol(), MethanolBonds(), 6, true, 3.5, 90.0));
  const G09Run methanol = RunG09(SinglePointDeck(Methanol()));
  const G09Run water =
      RunG09("#HF/6-31G* Test NoSymm\n\nTIP3P water\n\n0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n");
  for (const G09Run* r : {&nearStart, &farStart, &methanol, &water}) ASSERT_EQ(r->status, 0) << r->out;
  EXPECT_GE(nearStart.data.prop.distance, 1.7);
  EXPECT_LE(nearStart.data.prop.distance, 2.3);
  EXPECT_NEAR(nearStart.data.prop.distance, farStart.data.prop.distance, 0.01);
  EXPECT_NEAR(nearStart.data.prop.energy, farStart.data.prop.energy, 1e-6);
  const double interaction =
      (nearStart.data.prop.energy - methanol.data.prop.energy - water.data.prop.energy) * 627.51;  // kcal/mol
  EXPECT_GE(interaction, -8.0);
  EXPECT_LE(interaction, -2.0);
  const std::string readme = testing_support::ReadFile(std::string(QM2FF_SOURCE_DIR) + "/engines/README.md");
  const size_t documented = readme.find("\nqmwaterenergy ");
  ASSERT_NE(documented, std::string::npos) << "no line \"qmwaterenergy <value>\" in engines/README.md";
  EXPECT_NEAR(std::stod(readme.substr(documented + 15)), water.data.prop.energy, 1e-8);
}

TEST(G09Physics, AnOptimisationOutOfStepsEndsWithAnErrorTerminationAfterItsLastGeometry) {
  std::string deck = OptimisationDeck(Methanol(), "");
  deck.replace(deck.find("Opt=ModRedun "), 13, "Opt=(MaxCycle=2) NoSymm");
  const G09Run r = RunG09(deck);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.data.prop.iferror);
  EXPECT_FALSE(r.data.prop.ifconverged);
  EXPECT_NE(r.out.find("\n    -- Number of steps exceeded,  NStep=   2\n"), std::string::npos) << r.out;
  EXPECT_EQ(LastLine(r.out), " Error termination request processed by link 9999.");
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 18u);
  EXPECT_TRUE(r.data.IfRead("energy"));
}

}  // namespace
