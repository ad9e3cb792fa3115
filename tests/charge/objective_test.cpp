// The charge objective on tiny systems whose terms can be worked out by hand:
// what the methanol runs of methanol_example_test.cpp do not reach (NBFIX
// pairs, a charged molecule, the ESP term) and the failures.
#include "charge/objective.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "charge/charge_support.h"
#include "support/molecule.h"

namespace {

using namespace testing_support;
using testing::ThrowsMessage;

class ChargeObjective : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    ParamOptCharges.WeghtGeometry = {1.0};
    iStepOpt = itoopt = 0;
  }
};

// An ion X at the origin (eps -0.1, Rmin/2 2.0) and a TIP3P water facing it
// from 2.5 A along +x (oxygen eps -0.1, Rmin/2 1.0), hydrogens 1 A off in +-y.
TEST_F(ChargeObjective, WaterEnergyIsCoulombPlusLennardJonesFromOneAngstromWithNbfix) {
  mol1 = MakeMolecule({{"X", 11, 0, 0, 0}});
  mol1.atom[0].eps = -0.1, mol1.atom[0].rmin = 2.0, mol1.atom[0].q = mol1.netcharge = 1.0;
  WaterTIP3P& w = h2o.AddWater();
  w.aid1 = 0, w.QMInterEner = -1.0, w.QMInterDist = 2.0;
  w.atom[0].xyz = {2.5, 0.0, 0.0}, w.atom[1].xyz = {2.5, 1.0, 0.0}, w.atom[2].xyz = {2.5, -1.0, 0.0};
  w.fill_rv();
  w.atom[0].eps = -0.1, w.atom[0].rmin = 1.0, w.atom[0].q = -0.834;
  w.atom[1].q = w.atom[2].q = 0.417;
  OptimizeCharge::PrepareTargetFunction(mol1);
  const double coulomb = 332.0716 * (-0.834 / 2.0 + 2 * 0.417 / std::sqrt(5.0));
  const double s = std::pow(3.0 / 2.0, 6);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(2.0), coulomb + 0.1 * s * (s - 2.0), 1e-9);
  EXPECT_NEAR(h2o[0].atom[0].xyz[0], 2.0, 1e-12);  // moves the water first
  EXPECT_DOUBLE_EQ(OptimizeCharge::WaterInterEnergy(0.3), OptimizeCharge::WaterInterEnergy(1.0));
  // An NBFIX pair replaces the combined Lennard-Jones parameters.
  mol1.atom[0].type = "SOD";
  nbfix.push_back(CNBFIX{-0.2, 4.0, "OT", "SOD"});
  mol1.atom[0].q = 0.0;
  for (auto& a : h2o[0].atom) a.q = 0.0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(4.0), -0.2, 1e-12);
  // A water atom on a solute atom.
  mol1 = MakeMolecule({{"X", 11, 0, 0, 0}, {"Y", 11, 2, 0, 0}});
  OptimizeCharge::PrepareTargetFunction(mol1);
  EXPECT_THAT([] { OptimizeCharge::WaterInterEnergy(2.0); },
              ThrowsMessage<std::runtime_error>(
                  "err during interaction energy calc : distance between two molecules is zero!"));
}

// Two atoms A at (1, 0, 0) and B at the origin, neutral, then charged.
TEST_F(ChargeObjective, DipoleTermOnlyForANeutralMoleculeAndEspTermOnlyWithAWeight) {
  mol1 = MakeMolecule({{"A", 6, 1, 0, 0}, {"B", 6, 0, 0, 0}});
  mol1.atom[0].q = 0.5;
  mol1.atom[1].q = -0.5;
  mol1.QMDipoleMoment[0] = Vector3(1.0, 0.0, 0.0);
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.dipoleMoment, 2.401652336807724 - 1.3, 1e-9);
  mol1.netcharge = -1.0;
  // Two ESP points with distances (2, 3) and (4, 1) to the atoms, 1 off the charges' potential.
  const double v0 = 332.0716 * (0.5 / 2 - 0.5 / 3), v1 = 332.0716 * (0.5 / 4 - 0.5 / 1);
  mol1.ESP.distESPPoint = {{2.0, 3.0, 4.0, 1.0}};
  mol1.ESP.QMESPval = {{v0 + 1.0, v1 - 1.0}};
  OptimizeCharge::TargetFunction();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.dipoleMoment, 0.0);
  EXPECT_DOUBLE_EQ(targetFunctionContributions.fitESPpot, 0.0);
  ParamOptCharges.WeightESPpot = 2.0;
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.fitESPpot, 2.0, 1e-9);
  EXPECT_DOUBLE_EQ(OptimizeCharge::GetRMSESPfit(mol1, 1), 0.0);  // no ESP for this geometry
  mol1.atom[0].qrel = {1, 0}, mol1.atom[1].qrel = {0, 1};  // two independent charges
  EXPECT_THAT([] { OptimizeCharge::OptimizedFunction(Vec_DP(1)); },
              ThrowsMessage<std::invalid_argument>("fewer charges than independent atoms"));
}

}  // namespace
