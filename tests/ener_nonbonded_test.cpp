// Non-bonded energies between molecules and within one, dihedral energy,
// total charge and dipole.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"

using testing_support::ForceFieldState;
using testing_support::MakeMolecule;

namespace {

constexpr double kCoulomb = 332.0716;

CMolecule OneAtom(const std::string& type, double q, double eps, double rmin, double x) {
  CMolecule m = MakeMolecule({{"A", 6, x, 0.0, 0.0}});
  m.atom[0].type = type;
  m.atom[0].q = q;
  m.atom[0].eps = eps;
  m.atom[0].rmin = rmin;
  return m;
}

// Links atoms i and i+1 for every i in the list.
void Chain(CMolecule& m) {
  for (int i = 0; i + 1 < m.natm; ++i) m.atom[i].bond[i + 1] = m.atom[i + 1].bond[i] = 1;
  testing::internal::CaptureStdout();
  m.GenerateStructure();
  testing::internal::GetCapturedStdout();
}

TEST(InterEner, OppositeChargesThreeAngstromApart) {
  const CMolecule a = OneAtom("A", 1.0, 0.0, 1.0, 0.0);
  const CMolecule b = OneAtom("B", -1.0, 0.0, 1.0, 3.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(b), -kCoulomb / 3.0);
  EXPECT_DOUBLE_EQ(b.inter_ener(a), -kCoulomb / 3.0);
}

TEST(InterEner, LennardJonesMinimumAtRmin) {
  const CMolecule a = OneAtom("A", 0.0, -0.1, 2.0, 0.0);
  const CMolecule b = OneAtom("B", 0.0, -0.1, 2.0, 4.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(b), -0.1);
  // At 2^(-1/6) Rmin the repulsion cancels the attraction.
  const CMolecule c = OneAtom("B", 0.0, -0.1, 2.0, 4.0 / std::pow(2.0, 1.0 / 6.0));
  EXPECT_NEAR(a.inter_ener(c), 0.0, 1e-12);
}

TEST(InterEner, NbfixReplacesTheCombinedParameters) {
  ForceFieldState state;
  nbfix.clear();
  CNBFIX fix;
  fix.eps = -0.3;
  fix.rmin = 5.0;
  fix.a1 = "B";
  fix.a2 = "A";
  nbfix.push_back(fix);
  const CMolecule a = OneAtom("A", 0.0, -0.1, 2.0, 0.0);
  const CMolecule b = OneAtom("B", 0.0, -0.1, 2.0, 5.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(b), -0.3);
  const CMolecule c = OneAtom("C", 0.0, -0.1, 2.0, 4.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(c), -0.1);
}

TEST(InterEner, CoincidentAtomsAreAnError) {
  const CMolecule a = OneAtom("A", 1.0, 0.0, 1.0, 0.0);
  const CMolecule b = OneAtom("B", 1.0, 0.0, 1.0, 0.0);
  try {
    a.inter_ener(b);
    FAIL() << "no error raised";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "err during interaction energy calc : distance between two molecules is zero!");
  }
}

// Five atoms in a line, 1.5 A apart, bonded in sequence.
CMolecule Pentane() {
  CMolecule m = MakeMolecule({{"C1", 6, 0, 0, 0},
                              {"C2", 6, 1.5, 0, 0},
                              {"C3", 6, 3.0, 0, 0},
                              {"C4", 6, 4.5, 0, 0},
                              {"C5", 6, 6.0, 0, 0}});
  const double q[] = {0.5, 0.0, 0.0, -0.5, 0.25};
  for (int i = 0; i < 5; ++i) {
    auto& a = m.atom[i];
    a.q = q[i];
    a.eps = -0.1;
    a.rmin = 2.0;
    a.eps14 = -0.05;
    a.rmin14 = 1.5;
  }
  Chain(m);
  m.UpdateDistMatrix();
  return m;
}

double LJ(double eps, double rmin, double r) {
  const double s = std::pow(rmin / r, 6);
  return eps * (s * s - 2.0 * s);
}

TEST(EnergyIJ, BondedAndOneThreePairsContributeNothing) {
  const CMolecule m = Pentane();
  EXPECT_EQ(m.EnergyIJ({0}, {1, 2}), 0.0);
  EXPECT_EQ(m.EnergyIJ({}, {1, 2, 3, 4}), 0.0);
}

TEST(EnergyIJ, OneFourPairsUseTheirOwnLennardJonesAndFullCoulomb) {
  const CMolecule m = Pentane();
  const double e14 = kCoulomb * 0.5 * -0.5 / 4.5 + LJ(0.05, 3.0, 4.5);
  const double e15 = kCoulomb * 0.5 * 0.25 / 6.0 + LJ(0.1, 4.0, 6.0);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {3}), e14);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({3}, {0}), e14);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {4}), e15);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {1, 2, 3, 4}), e14 + e15);
}

TEST(EnergyIJ, MoleculeWithoutPairListsIsAnError) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 3, 0, 0}});
  EXPECT_THROW(m.EnergyIJ({0}, {1}), std::logic_error);
}

// Four atoms with a dihedral of 90 degrees, listed as (0, 1, 2, 3).
CMolecule Torsion() {
  CMolecule m = MakeMolecule(
      {{"A", 6, 0, 1, 0}, {"B", 6, 0, 0, 0}, {"C", 6, 1.5, 0, 0}, {"D", 6, 1.5, 0, 1}});
  for (auto& a : m.atom) a.type = "T" + a.name;
  Chain(m);
  return m;
}

// The torsion with its dihedral linked to a fresh parameter table.
class DiheEner : public testing::Test {
 protected:
  void SetUp() override { m.CreateListParam(param); }
  ForceFieldState state;
  CMolecule m = Torsion();
};

TEST_F(DiheEner, SumsTheTermsOfTheLinkedEntry) {
  ASSERT_EQ(param.ndihe, 1);
  auto& d = param.dihe[0];
  d.NonZero[0] = 1;
  d.force[0] = 0.5;
  d.NonZero[1] = 1;
  d.force[1] = 1.0;
  d.angle[1] = 180.0;
  d.NonZero[2] = 1;
  d.force[2] = 0.3;
  // 0.5 (1 + cos 90) + 1.0 (1 + cos(180 - 180)) + 0.3 (1 + cos 270)
  EXPECT_NEAR(m.diheEner({0, 1, 2, 3}), 2.8, 1e-6);
  EXPECT_NEAR(m.diheEner({3, 2, 1, 0}), 2.8, 1e-6);
  d.force[3] = 5.0;  // not switched on: no contribution
  EXPECT_NEAR(m.diheEner({0, 1, 2, 3}), 2.8, 1e-6);
  d.ntms = 1;
  EXPECT_NEAR(m.diheEner({0, 1, 2, 3}), 0.5, 1e-6);
}

TEST_F(DiheEner, UnknownDihedralOrNoTermsGiveZero) {
  EXPECT_EQ(m.diheEner({0, 1, 2, 3}), 0.0);
  EXPECT_EQ(m.diheEner({0, 2, 1, 3}), 0.0);
}

TEST_F(DiheEner, DihedralNotLinkedToTheTableIsAnError) {
  m = Torsion();
  param = Param();
  EXPECT_THROW(m.diheEner({0, 1, 2, 3}), std::logic_error);
}

TEST(ChargeAndDipole, TotalChargeAndDipoleOfTwoCharges) {
  CMolecule m = MakeMolecule({{"P", 1, 1, 0, 0}, {"N", 1, 0, 0, 0}});
  m.atom[0].q = 0.5;
  m.atom[1].q = -0.5;
  EXPECT_DOUBLE_EQ(m.Q(), 0.0);
  m.Dipole();
  EXPECT_NEAR(m.FFDipole.x, 2.401652336807724, 1e-12);
  EXPECT_EQ(m.FFDipole.y, 0.0);
  EXPECT_EQ(m.FFDipole.z, 0.0);
}

TEST(ChargeAndDipole, ChargedMoleculeDependsOnTheOrigin) {
  CMolecule m = MakeMolecule({{"P", 1, 0, 2, 0}});
  m.atom[0].q = 1.0;
  EXPECT_DOUBLE_EQ(m.Q(), 1.0);
  m.Dipole();
  EXPECT_NEAR(m.FFDipole.y, 2.0 / 0.20819, 1e-12);
}

}  // namespace
