// The charge-relations file: relations, fixed charges, water scales, geometry
// weights, QM data corrections and the net-charge correction.
#include "charge/relations.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;

class Relations : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    mol1 = BondedMethanol();
  }
  // The printout of f with the directory as DIR.
  template <class F>
  static std::string Masked(F f) {
    std::string out = Printed(f);
    if (const auto at = out.find(fpath); at != std::string::npos) out.replace(at, fpath.size(), "DIR/");
    return out;
  }
  // Applies the relations file (none when empty) to mol1; returns the printout.
  std::string Restrain(const std::string& file) {
    if (!file.empty()) dir.Write("charge.rel", file);
    return Masked([] { OptimizeCharge::RestrainCharges(mol1); });
  }
  static std::string Correct() { return Masked([] { OptimizeCharge::ApplyCorrectionToQMData(mol1); }); }
  static void Water(int atom, double angle, double e, double d, int geometry = 0) {
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = atom;
    w.atm1 = mol1.atom[atom].name;
    w.atm2 = "C";
    w.h2oangle = angle;
    w.QMInterEner = e;
    w.QMInterDist = d;
    w.iProbedGeometry = geometry;
  }
};

TEST_F(Relations, RelationsChainThroughTheFirstAtomAndAreTabled) {
  std::string out = Restrain("");
  EXPECT_EQ(CountIndependent(mol1), 6);
  EXPECT_EQ(mol1.atom[1].polar, 1);   // O, |q| = 0.65
  EXPECT_EQ(mol1.atom[2].polar, -1);  // H1, 0.09
  // A zero factor is no relation; the later atom of a pair follows the earlier.
  out += Restrain("f O -0.5\nq H1 H2 1.0\nq h1 h3 0.5\nq C H1 0\nq HO C -1\n");
  EXPECT_EQ(CountIndependent(mol1), 2);
  EXPECT_TRUE(IsIndependent(mol1, 0));
  EXPECT_TRUE(IsIndependent(mol1, 2));
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.5);
  EXPECT_DOUBLE_EQ(mol1.atom[3].qrel[4], 0.5);  // propagated through H1
  EXPECT_DOUBLE_EQ(mol1.atom[5].qrel[0], -1.0);
  ExpectSameAsReference(out, "charge/relations.txt");
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

// Printed: the corrections of the first and the data of the third water.
TEST_F(Relations, QmDataOfPolarAtomsAreScaledAndShiftedUnlessNoshiftOrWdata) {
  Water(1, 0.0, -5.0, 2.0);
  Water(5, 0.0, -4.0, 1.9);
  Water(1, 120.0, -5.0, 2.0);
  Restrain("noshift HO\nwdata O 120 -7.5 1.75\n");
  const std::string out = Correct();
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.0 * 1.16);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 1.8);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterEner, -4.0);
  EXPECT_DOUBLE_EQ(h2o[1].QMInterDist, 1.9);
  EXPECT_DOUBLE_EQ(h2o[2].QMInterEner, -7.5);
  EXPECT_DOUBLE_EQ(h2o[2].QMInterDist, 1.75);
  ExpectSameAsReference(out, "charge/corrected_qm_data.txt");

  // A charged molecule takes the charged scale (1.0) and shift (0.1).
  h2o[0].QMInterEner = -5.0;
  h2o[0].QMInterDist = 2.0;
  mol1.netcharge = -1.0;
  Correct();
  EXPECT_DOUBLE_EQ(h2o[0].QMInterEner, -5.0);
  EXPECT_DOUBLE_EQ(h2o[0].QMInterDist, 1.9);
}

TEST_F(Relations, FaultyLinesEndTheProcessNamingTheLine) {
  Water(1, 0.0, -5.0, 2.0);
  const struct {
    const char* file;
    const char* message;
  } cases[] = {
      {"q H1 H2 one\n",
       "$ err ONE is not a number\n$ err : in file DIR//charge.rel, in line : Q H1 H2 ONE\n"},
      {"f OX 0.1\n", "$ err atom was not found : OX\n"},
      {"g 2 0.5\n", "$ this geometry was not setupG 2 0.5\n"},
      {"s O 0 0.5 3\n", "err this geometry is not setup : S O 0 0.5 3\n"},
      {"s O 0 0.5 0\n", "err this geometry is not setup : S O 0 0.5 0\n"},
      {"wdata O 90 -7.5 1.75\n",
       "$ err : in file DIR//charge.rel, in line : WDATA O 90 -7.5 1.75\n"},
      {"wdata O 0 -7.5 near\n",
       "$ err NEAR is not a number\n$ err : in file DIR//charge.rel, in line : WDATA O 0 -7.5 "
       "NEAR\n"},
      {"wdata O 0 -1 2 5\n", "err this geometry is not setup : WDATA O 0 -1 2 5\n"},
  };
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit([&] {
      Restrain(c.file);
      Correct();
    });
    EXPECT_EQ(e.status, 1) << c.file;
    std::string message = e.message;
    if (const auto at = message.find(fpath); at != std::string::npos)
      message.replace(at, fpath.size(), "DIR/");
    EXPECT_EQ(message, c.message) << c.file;
  }
}

TEST_F(Relations, EqualizeKeepsRelationsAndReachesTheNetCharge) {
  Restrain("q H1 H2 1\nf O -0.6\n");
  OptimizeCharge::EqualizeCharge(mol1);
  EXPECT_NEAR(mol1.Q(), 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(mol1.atom[1].q, -0.6);
  EXPECT_DOUBLE_EQ(mol1.atom[2].q, mol1.atom[3].q);
  // A negative factor is carried along a chain: H3 follows H1 through H2.
  Restrain("q H1 H2 1\nq H2 H3 -1\n");
  EXPECT_DOUBLE_EQ(mol1.atom[2].qrel[4], -1.0);
  const double h2 = mol1.atom[3].q, h3 = mol1.atom[4].q;
  mol1.netcharge = 1.0;
  OptimizeCharge::EqualizeCharge(mol1);
  EXPECT_NEAR(mol1.Q(), 1.0, 1e-12);
  EXPECT_GT(mol1.atom[3].q - h2, 0.01);
  EXPECT_NEAR(mol1.atom[4].q - h3, -(mol1.atom[3].q - h2), 1e-12);
  mol1.netcharge = 0.0;
  // With every charge fixed there is nothing to move.
  Restrain("f C 0.1\nf O 0.1\nf H1 0.1\nf H2 0.1\nf H3 0.1\nf HO 0.1\n");
  OptimizeCharge::EqualizeCharge(mol1);
  EXPECT_NEAR(mol1.Q(), 0.6, 1e-12);
}

}  // namespace
