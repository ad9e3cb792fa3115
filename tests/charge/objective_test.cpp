// The charge objective on tiny systems whose terms can be worked out by hand.
#include "charge/objective.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/printed.h"

namespace {

using namespace testing_support;
using testing::StrEq;
using testing::ThrowsMessage;

// The ion of Ion() and waters of AddFacingWater(): with charges off a
// water's MM optimum lies at 3 A with -0.1 kcal/mol.
class ChargeObjective : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    mol1 = Ion();
    ParamOptCharges.WeghtGeometry = {1.0};
    iStepOpt = 1;
  }
  static double Evaluate() {
    OptimizeCharge::PrepareTargetFunction(mol1);
    return OptimizeCharge::TargetFunction();
  }
  // Two atoms A at (1, 0, 0) and B at the origin; neutral.
  static void Pair(double qa, double qb) {
    mol1 = MakeMolecule({{"A", 6, 1, 0, 0}, {"B", 6, 0, 0, 0}});
    mol1.atom[0].q = qa;
    mol1.atom[1].q = qb;
  }
};

TEST_F(ChargeObjective, WaterEnergyIsCoulombPlusLennardJonesFromOneAngstromWithNbfix) {
  mol1.atom[0].q = 1.0;
  WaterTIP3P& w = AddFacingWater(-1.0, 2.0);
  w.atom[0].q = -0.834;
  w.atom[1].q = w.atom[2].q = 0.417;
  itoopt = 0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  const double coulomb = 332.0716 * (-0.834 / 2.0 + 2 * 0.417 / std::sqrt(5.0));
  const double s = std::pow(3.0 / 2.0, 6);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(2.0), coulomb + 0.1 * s * (s - 2.0), 1e-9);
  EXPECT_NEAR(h2o[0].atom[0].xyz[0], 2.0, 1e-12);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(3.0), 332.0716 * (-0.834 / 3 + 2 * 0.417 / std::sqrt(10.0)) - 0.1,
              1e-9);
  const double at27 = OptimizeCharge::WaterInterEnergy(2.7);  // moves the water first
  EXPECT_NEAR(at27, mol1.inter_ener(h2o[0]), 1e-9);
  const double at1 = OptimizeCharge::WaterInterEnergy(1.0);
  EXPECT_DOUBLE_EQ(OptimizeCharge::WaterInterEnergy(0.3), at1);
  EXPECT_NEAR(h2o[0].atom[0].xyz[0], 1.0, 1e-12);
  // An NBFIX pair replaces the combined Lennard-Jones parameters.
  mol1.atom[0].type = "SOD";
  nbfix.push_back(CNBFIX{-0.2, 4.0, "OT", "SOD"});
  mol1.atom[0].q = 0.0;
  for (auto& a : h2o[0].atom) a.q = 0.0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(4.0), -0.2, 1e-12);
}

TEST_F(ChargeObjective, AWaterAtomOnASoluteAtomRaises) {
  mol1 = MakeMolecule({{"X", 11, 0, 0, 0}, {"Y", 11, 2, 0, 0}});
  AddFacingWater(-1.0, 2.0);
  itoopt = 0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  EXPECT_THAT([] { OptimizeCharge::WaterInterEnergy(2.0); },
              ThrowsMessage<std::runtime_error>(
                  StrEq("err during interaction energy calc : distance between two molecules is zero!")));
}

TEST_F(ChargeObjective, WaterTermsCompareTheMmOptimumWithTheQmReference) {
  EXPECT_DOUBLE_EQ(Evaluate(), 0.0);  // no waters, no terms
  AddFacingWater(-0.5, 2.8);
  const double total = Evaluate();
  const auto& c = targetFunctionContributions;
  EXPECT_NEAR(h2o[0].empdst, 3.0, 1e-6);
  EXPECT_NEAR(h2o[0].empenr, -0.1, 1e-12);
  EXPECT_NEAR(c.interEnergy, 10.0 * 0.4, 1e-9);
  EXPECT_NEAR(c.interWaterDist, 10.0 * 0.2, 1e-6);
  EXPECT_DOUBLE_EQ(c.dipoleMoment, 0.0);
  EXPECT_NEAR(total, c.interEnergy + c.interWaterDist + c.chargeRest, 1e-12);
}

TEST_F(ChargeObjective, ScaledWatersAreAveragedAndDividedByTheirNumberAgain) {
  AddFacingWater(-0.5, 3.0, 1.0);
  AddFacingWater(-0.3, 3.0, 0.5);
  Evaluate();
  // (1 * 0.4^2 + 0.5 * 0.2^2) / 1.5 / 2 waters
  EXPECT_NEAR(targetFunctionContributions.interEnergy, 10.0 * std::sqrt(0.18 / 1.5 / 2.0), 1e-9);
}

TEST_F(ChargeObjective, WatersWithRepulsiveQmEnergyAreLeftOut) {
  AddFacingWater(-0.05, 2.0);
  Evaluate();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.interEnergy, 0.0);
  EXPECT_DOUBLE_EQ(targetFunctionContributions.interWaterDist, 0.0);
  EXPECT_DOUBLE_EQ(h2o[0].empdst, 2.5);  // not evaluated

  h2o[0].QMInterEner = -0.1;
  Evaluate();
  EXPECT_NEAR(targetFunctionContributions.interEnergy, 0.0, 1e-9);
  EXPECT_NEAR(targetFunctionContributions.interWaterDist, 10.0, 1e-6);

  ParamOptCharges.fRemovePositiveInter = false;
  h2o[0].QMInterEner = 0.4;
  Evaluate();
  EXPECT_NEAR(targetFunctionContributions.interEnergy, 5.0, 1e-9);
}

TEST_F(ChargeObjective, DipoleTermOnlyForANeutralMolecule) {
  Pair(0.5, -0.5);
  mol1.QMDipoleMoment[0] = Vector3(1.0, 0.0, 0.0);
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.dipoleMoment, 2.401652336807724 - 1.3, 1e-9);
  mol1.netcharge = -1.0;
  OptimizeCharge::TargetFunction();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.dipoleMoment, 0.0);
}

TEST_F(ChargeObjective, EspErrorIgnoresAConstantOffsetAndCountsOnlyWithAWeight) {
  Pair(0.3, -0.3);
  mol1.netcharge = 1.0;  // no dipole term
  // Two points with distances (2, 3) and (4, 1) to the atoms.
  const double v0 = 332.0716 * (0.3 / 2 - 0.3 / 3), v1 = 332.0716 * (0.3 / 4 - 0.3 / 1);
  mol1.ESP.distESPPoint = {{2.0, 3.0, 4.0, 1.0}};
  mol1.ESP.QMESPval = {{v0 + 5.0, v1 + 5.0}};
  EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(mol1, 0), 0.0, 1e-9);
  mol1.ESP.QMESPval = {{v0 + 1.0, v1 - 1.0}};
  EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(mol1, 0), 1.0, 1e-9);
  EXPECT_DOUBLE_EQ(OptimizeCharge::GetRMSESPfit(mol1, 1), 0.0);  // no ESP for this geometry
  OptimizeCharge::TargetFunction();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.fitESPpot, 0.0);
  ParamOptCharges.WeightESPpot = 2.0;
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.fitESPpot, 2.0, 1e-9);
}

TEST_F(ChargeObjective, RestraintsCountOnlyRestrainedAtoms) {
  Pair(0.3, 5.0);
  mol1.atom[0].qpenalty = 0.9;  // restrained, alpha = 1
  mol1.atom[0].qstart = 0.1;
  // Harmonic towards the start charge; unrestrained atoms count in the normaliser.
  EXPECT_NEAR(OptimizeCharge::ChargeRestraint(mol1), std::sqrt(0.04 / 2.0), 1e-12);
  // Hyperbolic towards zero.
  ParamOptCharges.useHyperbolicRestraint = true;
  EXPECT_NEAR(OptimizeCharge::ChargeRestraint(mol1), std::sqrt(0.09 + 0.01) - 0.1, 1e-12);
  mol1.atom[0].q = 0.0;
  EXPECT_DOUBLE_EQ(OptimizeCharge::ChargeRestraint(mol1), 0.0);
  ParamOptCharges.useHyperbolicRestraint = false;
  mol1.atom[0].qpenalty = 1000.0;
  EXPECT_DOUBLE_EQ(OptimizeCharge::ChargeRestraint(mol1), 0.0);
}

TEST_F(ChargeObjective, ProgressLineEveryHundredEvaluations) {
  iStepOpt = 0;
  const std::string out = Printed([] {
    for (int i = 0; i < 201; ++i) OptimizeCharge::TargetFunction();
  });
  const std::string line =
      "water energy :      0.00 water dist :      0.00 dipole moment :      0.00 esp fit :      0.00 "
      "charge restr :      0.00 total :      0.00 \n";
  EXPECT_EQ(out, "step       0 " + line + "step     100 " + line + "step     200 " + line);
  EXPECT_EQ(iStepOpt, 201);
}

TEST_F(ChargeObjective, ParametersBecomeChargesThroughTheRelations) {
  mol1 = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 2, 0, 0}, {"D", 6, 3, 0, 0}});
  // A independent, C = -1 x A; B fixed at 0.2; D independent.
  mol1.atom[0].qrel = {1, 0, -1, 0};
  mol1.atom[1].qrel = {0, 0, 0, 0};
  mol1.atom[2].qrel = {-1, 0, 0, 0};
  mol1.atom[3].qrel = {0, 0, 0, 1};
  mol1.atom[1].q = 0.2;
  Vec_DP x(2);
  x[0] = 0.4;
  x[1] = 0.1;
  OptimizeCharge::OptimizedFunction(x);
  // Before the net-charge correction: 0.4, 0.2, -0.4, 0.1 (total 0.3); the
  // sum of the independent rows is 1 + (-1) + 1 = 1, so each moves by -0.3 x factor.
  const double expected[] = {0.1, 0.2, -0.1, -0.2};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(mol1.atom[i].q, expected[i], 1e-12) << i;
  EXPECT_THAT([] { OptimizeCharge::OptimizedFunction(Vec_DP(1)); },
              ThrowsMessage<std::invalid_argument>(StrEq("fewer charges than independent atoms")));
}

}  // namespace
