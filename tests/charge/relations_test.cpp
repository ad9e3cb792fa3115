// The charge-relations file: relations, fixed charges, water scales, geometry
// weights, QM data corrections and the net-charge correction.
#include "charge/relations.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;

class Relations : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  std::string out;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    ParamOptCharges = CParamOptCharges();
    h2o.h2o.clear();
    mol1 = BondedMethanol();
  }
  void Restrain(const std::string& file) {
    if (!file.empty()) dir.Write("charge.rel", file);
    testing::internal::CaptureStdout();
    OptimizeCharge::RestrainCharges(mol1);
    out = testing::internal::GetCapturedStdout();
  }
  WaterTIP3P& Water(int atom, double angle, double e, double d, int geometry = 0) {
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = atom;
    w.atm1 = mol1.atom[atom].name;
    w.atm2 = "C";
    w.h2oangle = angle;
    w.QMInterEner = e;
    w.QMInterDist = d;
    w.iProbedGeometry = geometry;
    return w;
  }
};

TEST_F(Relations, MissingFileLeavesEveryChargeIndependent) {
  Restrain("");
  EXPECT_EQ(CountIndependent(mol1), 6);
  EXPECT_NE(out.find("$ External file with charge restraints was not found\n"), std::string::npos);
  EXPECT_NE(out.find("$ Number of independent atomic charges to optimize : 6\n"), std::string::npos);
  EXPECT_EQ(mol1.atom[1].polar, 1);   // O, |q| = 0.65
  EXPECT_EQ(mol1.atom[2].polar, -1);  // H1, 0.09
}

TEST_F(Relations, ChainedRelationsTieAtomsToTheFirst) {
  Restrain("q H1 H2 1.0\nq h1 h3 1.0\n");
  EXPECT_EQ(CountIndependent(mol1), 4);
  EXPECT_TRUE(IsIndependent(mol1, 2));
  EXPECT_FALSE(IsIndependent(mol1, 3));
  EXPECT_FALSE(IsIndependent(mol1, 4));
  EXPECT_DOUBLE_EQ(mol1.atom[2].qrel[3], 1.0);
  EXPECT_DOUBLE_EQ(mol1.atom[2].qrel[4], 1.0);
  EXPECT_DOUBLE_EQ(mol1.atom[3].qrel[4], 1.0);  // propagated through H1
  EXPECT_NE(out.find("$ External file with charge restraints was found " + fpath + "/charge.rel\n"),
            std::string::npos);
}

TEST_F(Relations, NegativeFactorMakesTheLaterAtomFollowWithOppositeSign) {
  Restrain("q HO H1 -1\n");
  EXPECT_TRUE(IsIndependent(mol1, 2));
  EXPECT_FALSE(IsIndependent(mol1, 5));
  EXPECT_DOUBLE_EQ(mol1.atom[2].qrel[5], -1.0);
  EXPECT_DOUBLE_EQ(mol1.atom[5].qrel[2], -1.0);
}

TEST_F(Relations, FixedChargeIsPrintedOnTheDiagonal) {
  Restrain("f O -0.5\nq C H1 0\n");
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.5);
  EXPECT_FALSE(IsIndependent(mol1, 1));
  EXPECT_EQ(CountIndependent(mol1), 5);
  const std::string table =
      "          C      O     H1     H2     H3     HO   \n\n"
      "      C   v      -      -      -      -      -   \n\n"
      "      O       -0.500    -      -      -      -   \n\n"
      "     H1                 v      -      -      -   \n\n"
      "     H2                        v      -      -   \n\n"
      "     H3                               v      -   \n\n"
      "     HO                                      v   \n\n";
  EXPECT_EQ(out.substr(out.find("          C")), table);
}

TEST_F(Relations, DependentAtomIsMarkedAndItsFactorShown) {
  Restrain("q H2 H3 0.5\n");
  EXPECT_NE(out.find("     H2                        v     0.5     -   \n"), std::string::npos) << out;
  EXPECT_NE(out.find("     H3                               x      -   \n"), std::string::npos) << out;
}

TEST_F(Relations, WaterScaleAndGeometryWeight) {
  mol1.ngeom = 2;
  Water(1, 120.0, -5.0, 2.0, 0);
  Water(1, 120.0, -5.0, 2.0, 1);
  Water(1, 240.0, -5.0, 2.0, 1);
  ParamOptCharges.WeghtGeometry = {1.0, 1.0};
  Restrain("s O 120.0 0.0 2\ng 2 0.25\n");
  EXPECT_DOUBLE_EQ(h2o[0].h2oscale, 1.0);
  EXPECT_DOUBLE_EQ(h2o[1].h2oscale, 0.0);
  EXPECT_DOUBLE_EQ(h2o[2].h2oscale, 1.0);
  EXPECT_DOUBLE_EQ(ParamOptCharges.WeghtGeometry[1], 0.25);
}

TEST_F(Relations, NoshiftKeepsTheRawQmDataAndOthersAreScaledAndShifted) {
  Water(1, 0.0, -5.0, 2.0);
  Water(5, 0.0, -4.0, 1.9);
  Restrain("noshift HO\n");
  testing::internal::CaptureStdout();
  OptimizeCharge::ApplyCorrectionToQMData(mol1);
  const std::string text = testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.0 * 1.16);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 1.8);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterEner, -4.0);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterDist, 1.9);
  EXPECT_NE(text.find(" N & Geometry &     Probed atom &           E, kcal/mol &            Dist, Ang. &      Angle\n"),
            std::string::npos);
  EXPECT_NE(text.find(" 1   &        1 & O-C             &     -5.00 | -5.80     &      2.00 | 1.80      &     0.0\n"),
            std::string::npos)
      << text;
}

TEST_F(Relations, ChargedMoleculeUsesTheChargedCorrections) {
  mol1.netcharge = -1.0;
  Water(1, 0.0, -5.0, 2.0);
  Restrain("");
  testing::internal::CaptureStdout();
  OptimizeCharge::ApplyCorrectionToQMData(mol1);
  testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.0);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 1.9);
}

TEST_F(Relations, WdataReplacesTheScaledValues) {
  Water(1, 0.0, -5.0, 2.0);
  Water(1, 120.0, -5.0, 2.0);
  Restrain("wdata O 120 -7.5 1.75\n");
  testing::internal::CaptureStdout();
  OptimizeCharge::ApplyCorrectionToQMData(mol1);
  const std::string text = testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.8);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterEner, -7.5);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterDist, 1.75);
  EXPECT_NE(text.find("$ Water interaction data were read\n 2   &        1 & O-C             &     -7.50 &      1.75 &   120.0\n"),
            std::string::npos)
      << text;
}

TEST_F(Relations, WdataForAMissingWaterStops) {
  Water(1, 0.0, -5.0, 2.0);
  Restrain("wdata O 90 -7.5 1.75\n");
  testing::internal::CaptureStdout();
  const ProcessExit e = ExpectExit([] { OptimizeCharge::ApplyCorrectionToQMData(mol1); });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err : in file charge.rel, in line : WDATA O 90 -7.5 1.75\n");
}

TEST_F(Relations, FaultyLinesEndTheProcessNamingTheLine) {
  Water(1, 0.0, -5.0, 2.0);
  const struct {
    const char* file;
    const char* message;
  } cases[] = {
      {"q H1 H2 one\n", "$ err : in file charge.rel, in line : Q H1 H2 ONE\n"},
      {"f OX 0.1\n", "$ err atom was not found : OX\n"},
      {"g 2 0.5\n", "$ this geometry was not setupG 2 0.5\n"},
      {"s O 0 0.5 3\n", "err this geometry is not setup : S O 0 0.5 3\n"},
      {"s O 0 0.5 0\n", "err this geometry is not setup : S O 0 0.5 0\n"},
  };
  for (const auto& c : cases) {
    dir.Write("charge.rel", c.file);
    testing::internal::CaptureStdout();
    const ProcessExit e = ExpectExit([] { OptimizeCharge::RestrainCharges(mol1); });
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(e.status, 1) << c.file;
    EXPECT_EQ(e.message, c.message);
  }
  dir.Write("charge.rel", "wdata O 0 -1 2 5\n");
  testing::internal::CaptureStdout();
  const ProcessExit e = ExpectExit([] { OptimizeCharge::ApplyCorrectionToQMData(mol1); });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e.message, "err this geometry is not setup : WDATA O 0 -1 2 5\n");
}

TEST_F(Relations, EqualizeKeepsRelationsAndReachesTheNetCharge) {
  Restrain("q H1 H2 1\nf O -0.6\n");
  mol1.netcharge = 0.0;
  OptimizeCharge::EqualizeCharge(mol1);
  EXPECT_NEAR(mol1.Q(), 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.6);
  EXPECT_DOUBLE_EQ(mol1.atom[2].q, mol1.atom[3].q);
}

TEST_F(Relations, EqualizeWithEveryChargeFixedChangesNothing) {
  Restrain("f C 0.1\nf O 0.1\nf H1 0.1\nf H2 0.1\nf H3 0.1\nf HO 0.1\n");
  OptimizeCharge::EqualizeCharge(mol1);
  EXPECT_NEAR(mol1.Q(), 0.6, 1e-12);
}

}  // namespace
