// The parts of the bonded objective that need no MM job: trial values
// mapped into the table with their penalties, tied dihedrals, restraint
// sums, structure deviations, the energy shift and the repeat check.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "intra/BondOpt.h"
#include "intra/bonded_state.h"
#include "param/molecule_fixture.h"
#include "support/printed.h"
#include "support/process_exit.h"

using testing_support::Printed;

namespace {

// A table with one entry of each kind: bond ideal 1.0 A, angle ideal
// 109.5 degrees with a Urey-Bradley term, a dihedral and an improper.
Param OneOfEach() {
  Param p;
  p.AddBond().ideal = 1.0;
  auto& a = p.AddAngle();
  a.ideal = 109.5;
  a.ub = 1;
  p.AddDihe();
  p.AddImpr();
  return p;
}

}  // namespace

TEST(BondedObjective, TrialValuesAreClampedAndPenalised) {
  testing_support::BondedFitState state;
  struct Case {
    const char* what;
    char term, kind;
    Real value;
    int dinvert;
    Real stored, bond, angle;  // value in the table, penalties B and A
    const char* printed;
  };
  const Case cases[] = {
      {"weak bond", 'b', 'f', 0.5, 1, 1.0, 0.5, 0.0, ""},
      {"bond force", 'b', 'f', 300.0, 1, 300.0, 0.0, 0.0, ""},
      {"long bond", 'b', 'b', 1.5, 1, 1.05, 50.0, 0.0, "not ok 1.5\n"},
      {"stretched bond", 'b', 'b', 1.35, 1, 1.35, 0.0, 0.0, " val : 7 7.25 1 1.35 1.35\n"},
      {"wide angle", 'a', 'a', 200.0, 1, 180.0, 0.0, 20.0 + 61.5, "debug angle too large 20 200\n"},
      {"flat angle", 'a', 'a', 0.05, 1, 0.1, 0.0, 0.05 + 100.4, "debug angle too small 0.05 0.05\n"},
      {"angle", 'a', 'a', 112.0, 1, 112.0, 0.0, 0.25, ""},
      {"negative kub", 'a', 'k', -2.0, 1, 2.0, 0.0, 40.0, ""},
      {"short s0", 'a', 's', 0.05, 1, 0.05, 0.0, 0.025, ""},
      {"dihedral", 'd', 'f', -0.3, 1, -0.3, 0.0, 0.0, ""},
      {"dihedral, invertno", 'd', 'f', -0.3, 0, 0.3, 0.0, 0.0, ""},
      {"improper, invertno", 'i', 'f', -2.0, 0, 2.0, 0.0, 0.0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Param p = OneOfEach();
    OptInter.dinvert = c.dinvert;
    prevrmsd = 7.0;
    paramToOpt.init();
    paramToOpt.newParam(c.term, c.kind, 2, 0, 0.0);
    TrialPenalties pen;
    EXPECT_EQ(Printed([&] { pen = ApplyTrialParameters(Vec_DP(c.value, 1), p); }), c.printed);
    const Real stored = c.term == 'b'   ? (c.kind == 'f' ? p.bond[0].force : p.bond[0].rmin)
                        : c.term == 'd' ? p.dihe[0].force[2]
                        : c.term == 'i' ? p.impr[0].force
                        : c.kind == 'a' ? p.angle[0].amin
                        : c.kind == 'k' ? p.angle[0].kub
                                        : p.angle[0].s0;
    EXPECT_NEAR(stored, c.stored, 1e-12);
    EXPECT_NEAR(pen.bond, c.bond, 1e-9);
    EXPECT_NEAR(pen.angle, c.angle, 1e-9);
    EXPECT_FALSE(pen.softAngle);
  }
  // An angle force constant at or below 1 stops the evaluation early, before
  // any MM job, with its distance from 1 added to the previous value.
  Param p = OneOfEach();
  param = p;
  paramToOpt.init();
  paramToOpt.newParam('a', 'f', 0, 0, 0.0);
  xPrev[0] = -100.0;
  Real value = 0.0;
  EXPECT_EQ(Printed([&] { value = rmsd_b(Vec_DP(0.25, 1)); }), " debug angle force too small 0.75 0.25\n");
  EXPECT_DOUBLE_EQ(value, 7.75);
  // The repeat check: a vector within 1e-5 of the previous computed one
  // returns the previous value without an evaluation.
  xPrev[0] = static_cast<float>(0.25);
  EXPECT_EQ(Printed([&] { value = rmsd_b(Vec_DP(0.250001, 1)); }),
            "the same param!\n0         0.25000000         0.25000100\n");
  EXPECT_DOUBLE_EQ(value, 7.0);
}

TEST(BondedObjective, TiedDihedralsAndRestraintSums) {
  testing_support::BondedFitState state;
  Param initial;
  for (int i = 0; i < 2; ++i) {
    auto& b = initial.AddBond();
    b.fOpt = 1;
    b.force = 300.0;
    auto& a = initial.AddAngle();
    a.fOpt = 1;
    a.force = 50.0;
    a.ub = i;
    a.kub = 5.0;
  }
  initial.AddBond().force = 100.0;  // not fitted
  for (int i = 0; i < 3; ++i) {
    auto& d = initial.AddDihe();
    d.fOpt = 1;
    d.NonZero = {1, 0, 1};
    d.ntms = 3;
  }
  initial.AddImpr().fOpt = 1;
  initial.relDihe[0][2] = 1;

  Param p = initial;
  p.bond[0].rmin = 1.3;  // ideals 0: deviations 1.3 and 0.4
  p.bond[1].rmin = 0.4;
  p.bond[0].force = 303.0;
  p.bond[2].force = 0.0;
  p.angle[0].amin = 3.0;
  p.angle[1].amin = 4.0;
  p.angle[1].force = 56.0;
  p.angle[1].s0 = 2.0;
  p.angle[1].idealUB = 1.0;
  p.angle[1].kub = 7.0;
  p.dihe[0].force = {0.5, 9.0, 0.5};
  p.dihe[0].angle = {180.0, 0.0, 180.0};
  p.dihe[1].force = {1.0, 0.0, 0.0};
  p.impr[0].force = 3.0;
  TieRelatedDihedrals(p);
  EXPECT_THAT(p.dihe[2].force, testing::ElementsAre(0.5, 9.0, 0.5, 0, 0, 0));
  EXPECT_THAT(p.dihe[2].angle, testing::ElementsAre(180.0, 0.0, 180.0, 0, 0, 0));
  EXPECT_EQ(p.dihe[1].force[0], 1.0);

  OptInter.sBond = OptInter.sAngle = OptInter.sDihe = 1;
  ClassRestraints r;
  SumRestraints(p, initial, r);
  EXPECT_DOUBLE_EQ(r.bondValRest, std::sqrt((1.69 + 0.16) / 2));
  EXPECT_DOUBLE_EQ(r.bondForce, std::sqrt(9.0 / 2));
  EXPECT_DOUBLE_EQ(r.angleValRest, std::sqrt(25.0 / 2));
  EXPECT_DOUBLE_EQ(r.angleForce, std::sqrt(36.0 / 2));
  EXPECT_DOUBLE_EQ(r.angleUBValRest, std::sqrt(1.0 / 2));  // over all fitted angles
  EXPECT_DOUBLE_EQ(r.angleForceUB, 4.0);                   // a plain sum
  // Multiplicities 1 and 3 of three entries; slot 2 (9.0) is not present.
  EXPECT_DOUBLE_EQ(r.diheForce, std::sqrt((0.25 * 4 + 1.0) / 6));
  EXPECT_DOUBLE_EQ(r.imprForce, 9.0);
  OptInter.sBond = OptInter.sAngle = OptInter.sDihe = 0;
  SumRestraints(p, initial, r);
  EXPECT_EQ(r.Total(), 0.0);
}

TEST(BondedObjective, StructureDeviationsAndEnergyShift) {
  testing_support::BondedFitState state;
  mol1 = testing_support::TypedMethanol();
  param = Param();
  mol1.CreateListParam(param);
  for (auto& b : param.bond) b.fOpt = 0;
  param.bond[mol1.bond[1].fid].fOpt = 1;  // C-O
  for (auto& a : param.angle) a.fOpt = 0;
  auto& angle = param.angle[mol1.angle[0].fid];
  angle.fOpt = 1;
  angle.ub = 1;
  // Two bond scans of 3 points and one angle scan of 2. The MM structures
  // follow the QM ones except that the MM C-O is 0.01 A longer at point 1
  // of each bond scan.
  const CMolecularGeometry reference(mol1);
  std::vector<Real> xyz(3 * 6);
  mol1.CopyFromCoor(xyz, "main");
  for (const auto& [type, npt] : {std::pair{'b', 3}, {'b', 3}, {'a', 2}}) {
    CMolecule::ClassPESScanBonded t;
    t.type = type;
    t.npt = npt;
    for (int k = 0; k < npt; ++k) {
      CMolecularGeometry g(mol1);
      g.xyz = xyz;
      g.xyz[6] += 0.1 * k;  // O moves along the C-O axis
      t.QMPESStructure.push_back(g);
      if (type == 'b' && k == 1) g.xyz[6] += 0.01;
      t.EMPPESStructure.push_back(g);
    }
    mol1.term.push_back(t);
  }
  OptInter.sBond = OptInter.sAngle = 1;
  // Per bond scan two squared deviations of 0.01 A over a count of 2 + 2.
  EXPECT_NEAR(rmsd_str(), 1000.0 * std::sqrt(4e-4 / 4), 1e-9);
  OptInter.sBond = 0;
  EXPECT_NEAR(rmsd_str(), 0.0, 1e-9);

  EXPECT_NEAR(E0({5.0, 3.0, 4.0}, {4.0, 2.0, 3.0}), 1.0, 1e-6);
  EXPECT_NEAR(func0(0.0), std::sqrt(3.0), 1e-12);
  r_1.clear();
  r_2.clear();
  EXPECT_EQ(func0(1.0), 0.0);
  const ProcessExit e = testing_support::ExpectExit([] { E0({1.0}, {1.0, 2.0}); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "error in size\n");
}

TEST(BondedObjective, DihedralsCompareForwardOrReversed) {
  EXPECT_TRUE(compareDihe({1, 2, 3, 4}, {1, 2, 3, 4}));
  EXPECT_TRUE(compareDihe({1, 2, 3, 4}, {4, 3, 2, 1}));
  EXPECT_FALSE(compareDihe({1, 2, 3, 4}, {1, 2, 4, 3}));
  EXPECT_THAT([] { compareDihe({1, 2, 3}, {1, 2, 3, 4}); },
              testing::ThrowsMessage<std::invalid_argument>("wrong array size in compareDihe"));
}
