// The charge objective on tiny systems whose terms can be worked out by hand.
#include "charge/objective.h"

#include <gtest/gtest.h>

#include <cmath>

#include "charge/charge_support.h"
#include "charge/relations.h"
#include "support/molecule.h"

namespace {

using namespace testing_support;

// One solute atom at the origin; one water whose oxygen faces it along +x
// with its hydrogens at +-1 A in y. The oxygen has Rmin/2 1.0 and the solute
// atom eps -0.1, Rmin/2 2.0, so that with charges switched off the water's
// MM optimum lies at exactly 3 A with -0.1 kcal/mol.
class TinySystem : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  void SetUp() override {
    mol1 = MakeMolecule({{"X", 11, 0, 0, 0}});
    mol1.atom[0].eps = -0.1;
    mol1.atom[0].rmin = 2.0;
    mol1.netcharge = 1.0;
    ParamOptCharges = CParamOptCharges();
    ParamOptCharges.WeghtGeometry = {1.0};
    nbfix.clear();
    h2o.h2o.clear();
    iStepOpt = 1;
  }
  WaterTIP3P& AddWater(double qmEnergy, double qmDist, double scale = 1.0, double chargeScale = 0.0) {
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = 0;
    w.iWaterProbeAtom = 0;
    w.atom[0].xyz = {2.5, 0.0, 0.0};
    w.atom[1].xyz = {2.5, 1.0, 0.0};
    w.atom[2].xyz = {2.5, -1.0, 0.0};
    w.fill_rv();
    w.atom[0].eps = -0.1;
    w.atom[0].rmin = 1.0;
    for (auto& a : w.atom) a.q *= chargeScale;
    w.QMInterEner = qmEnergy;
    w.QMInterDist = qmDist;
    w.h2oscale = scale;
    return w;
  }
  static double Evaluate() {
    OptimizeCharge::PrepareTargetFunction(mol1);
    return OptimizeCharge::TargetFunction();
  }
};

TEST_F(TinySystem, WaterEnergyAtADistanceIsCoulombPlusLennardJones) {
  mol1.atom[0].q = 1.0;
  AddWater(-1.0, 2.0, 1.0, 1.0);
  itoopt = 0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  const double coulomb = 332.0716 * (-0.834 / 2.0 + 2 * 0.417 / std::sqrt(5.0));
  const double s = std::pow(3.0 / 2.0, 6);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(2.0), coulomb + 0.1 * s * (s - 2.0), 1e-9);
  EXPECT_NEAR(h2o[0].atom[0].xyz[0], 2.0, 1e-12);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(3.0), 332.0716 * (-0.834 / 3 + 2 * 0.417 / std::sqrt(10.0)) - 0.1,
              1e-9);
  // The same as the molecule's own interaction energy.
  const double prepared = OptimizeCharge::WaterInterEnergy(2.7);
  EXPECT_NEAR(prepared, mol1.inter_ener(h2o[0]), 1e-9);
}

TEST_F(TinySystem, ShortTrialDistancesAreEvaluatedAtOneAngstrom) {
  AddWater(-1.0, 2.0);
  itoopt = 0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  const double at1 = OptimizeCharge::WaterInterEnergy(1.0);
  EXPECT_DOUBLE_EQ(OptimizeCharge::WaterInterEnergy(0.3), at1);
  EXPECT_NEAR(h2o[0].atom[0].xyz[0], 1.0, 1e-12);
}

TEST_F(TinySystem, NbfixPairReplacesTheCombinedParameters) {
  mol1.atom[0].type = "SOD";
  AddWater(-1.0, 2.0);
  nbfix.push_back(CNBFIX{-0.2, 4.0, "OT", "SOD"});
  itoopt = 0;
  OptimizeCharge::PrepareTargetFunction(mol1);
  EXPECT_NEAR(OptimizeCharge::WaterInterEnergy(4.0), -0.2, 1e-12);
}

TEST_F(TinySystem, WaterTermsCompareTheMmOptimumWithTheQmReference) {
  AddWater(-0.5, 2.8);
  const double total = Evaluate();
  const auto& c = targetFunctionContributions;
  EXPECT_NEAR(h2o[0].empdst, 3.0, 1e-6);
  EXPECT_NEAR(h2o[0].empenr, -0.1, 1e-12);
  EXPECT_NEAR(c.interEnergy, 10.0 * 0.4, 1e-9);
  EXPECT_NEAR(c.interWaterDist, 10.0 * 0.2, 1e-6);
  EXPECT_DOUBLE_EQ(c.dipoleMoment, 0.0);
  EXPECT_NEAR(total, c.interEnergy + c.interWaterDist + c.chargeRest, 1e-12);
}

TEST_F(TinySystem, ScaledWatersAreAveragedAndDividedByTheirNumberAgain) {
  AddWater(-0.5, 3.0, 1.0);
  AddWater(-0.3, 3.0, 0.5);
  Evaluate();
  // (1 * 0.4^2 + 0.5 * 0.2^2) / 1.5 / 2 waters
  EXPECT_NEAR(targetFunctionContributions.interEnergy, 10.0 * std::sqrt(0.18 / 1.5 / 2.0), 1e-9);
}

TEST_F(TinySystem, WatersWithRepulsiveQmEnergyAreLeftOut) {
  AddWater(-0.05, 2.0);
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

TEST_F(TinySystem, WithoutWatersTheWaterTermsAreZero) {
  EXPECT_DOUBLE_EQ(Evaluate(), 0.0);
  EXPECT_FALSE(std::isnan(targetFunctionContributions.interEnergy));
}

TEST(ChargeObjective, DipoleTermOnlyForANeutralMolecule) {
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  h2o.h2o.clear();
  mol1 = MakeMolecule({{"A", 6, 1, 0, 0}, {"B", 6, 0, 0, 0}});
  mol1.atom[0].q = 0.5;
  mol1.atom[1].q = -0.5;
  mol1.QMDipoleMoment[0] = Vector3(1.0, 0.0, 0.0);
  iStepOpt = 1;
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.dipoleMoment, 2.401652336807724 - 1.3, 1e-9);

  mol1.netcharge = -1.0;
  OptimizeCharge::TargetFunction();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.dipoleMoment, 0.0);
}

TEST(ChargeObjective, EspErrorIgnoresAConstantOffset) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}});
  m.atom[0].q = 0.3;
  m.atom[1].q = -0.3;
  // Two points with distances (2, 3) and (4, 1) to the atoms.
  const std::vector<double> d = {2.0, 3.0, 4.0, 1.0};
  const double v0 = 332.0716 * (0.3 / 2 - 0.3 / 3), v1 = 332.0716 * (0.3 / 4 - 0.3 / 1);
  m.ESP.distESPPoint = {d};
  m.ESP.QMESPval = {{v0 + 5.0, v1 + 5.0}};
  EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(m, 0), 0.0, 1e-9);
  m.ESP.QMESPval = {{v0 + 1.0, v1 - 1.0}};
  EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(m, 0), 1.0, 1e-9);
  // No population analysis for a geometry: no error.
  EXPECT_DOUBLE_EQ(OptimizeCharge::GetRMSESPfit(m, 1), 0.0);
}

TEST(ChargeObjective, EspTermOnlyWithAWeight) {
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  h2o.h2o.clear();
  mol1 = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}});
  mol1.netcharge = 1.0;
  mol1.ESP.distESPPoint = {{2.0, 3.0, 4.0, 1.0}};
  mol1.ESP.QMESPval = {{1.0, -1.0}};
  iStepOpt = 1;
  OptimizeCharge::TargetFunction();
  EXPECT_DOUBLE_EQ(targetFunctionContributions.fitESPpot, 0.0);
  ParamOptCharges.WeightESPpot = 2.0;
  OptimizeCharge::TargetFunction();
  EXPECT_NEAR(targetFunctionContributions.fitESPpot, 2.0, 1e-9);
}

TEST(ChargeObjective, HarmonicRestraintCountsUnrestrainedAtomsInTheNormaliser) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}});
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  m.atom[0].qpenalty = 0.9;  // alpha = 1
  m.atom[0].qstart = 0.1;
  m.atom[0].q = 0.3;
  m.atom[1].qpenalty = 100.0;
  m.atom[1].qstart = 0.0;
  m.atom[1].q = 5.0;
  EXPECT_NEAR(OptimizeCharge::ChargeRestraint(m), std::sqrt(0.04 / 2.0), 1e-12);
  m.atom[0].qpenalty = 1000.0;
  EXPECT_DOUBLE_EQ(OptimizeCharge::ChargeRestraint(m), 0.0);
}

TEST(ChargeObjective, HyperbolicRestraintPullsRestrainedChargesTowardsZero) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}});
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  ParamOptCharges.useHyperbolicRestraint = true;
  ParamOptCharges.bResp = 0.1;
  m.atom[0].qpenalty = 1.0;
  m.atom[0].q = -0.3;
  m.atom[0].qstart = -0.3;
  m.atom[1].q = 0.7;  // not restrained
  EXPECT_NEAR(OptimizeCharge::ChargeRestraint(m), std::sqrt(0.1) - 0.1, 1e-12);
  m.atom[0].q = 0.0;
  EXPECT_DOUBLE_EQ(OptimizeCharge::ChargeRestraint(m), 0.0);
}

TEST(ChargeObjective, ProgressLineEveryHundredEvaluations) {
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  h2o.h2o.clear();
  mol1 = MakeMolecule({{"A", 6, 0, 0, 0}});
  mol1.netcharge = 1.0;
  iStepOpt = 0;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 201; ++i) OptimizeCharge::TargetFunction();
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string line =
      "water energy :      0.00 water dist :      0.00 dipole moment :      0.00 esp fit :      0.00 "
      "charge restr :      0.00 total :      0.00 \n";
  EXPECT_EQ(out, "step       0 " + line + "step     100 " + line + "step     200 " + line);
  EXPECT_EQ(iStepOpt, 201);
}

TEST(ChargeObjective, ParametersBecomeChargesThroughTheRelations) {
  ChargeStateGuard guard;
  ParamOptCharges = CParamOptCharges();
  h2o.h2o.clear();
  mol1 = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 2, 0, 0}, {"D", 6, 3, 0, 0}});
  mol1.netcharge = 0.0;
  // A independent, C = -1 x A; B fixed at 0.2; D independent.
  mol1.atom[0].qrel = {1, 0, -1, 0};
  mol1.atom[1].qrel = {0, 0, 0, 0};
  mol1.atom[2].qrel = {-1, 0, 0, 0};
  mol1.atom[3].qrel = {0, 0, 0, 1};
  mol1.atom[1].q = 0.2;
  iStepOpt = 1;
  Vec_DP x(2);
  x[0] = 0.4;
  x[1] = 0.1;
  OptimizeCharge::OptimizedFunction(x);
  // Before the net-charge correction: 0.4, 0.2, -0.4, 0.1 (total 0.3); the
  // sum of the independent rows is 1 + (-1) + 1 = 1, so each moves by -0.3 x factor.
  EXPECT_NEAR(mol1.atom[0].q, 0.1, 1e-12);
  EXPECT_NEAR(mol1.atom[1].q, 0.2, 1e-12);
  EXPECT_NEAR(mol1.atom[2].q, -0.1, 1e-12);
  EXPECT_NEAR(mol1.atom[3].q, -0.2, 1e-12);
  EXPECT_NEAR(mol1.Q(), 0.0, 1e-12);
}

}  // namespace
