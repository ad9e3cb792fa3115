// The distance matrix, non-bonded energies between molecules and within one,
// dihedral energy, total charge and dipole.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"

using testing::StrEq;
using testing::ThrowsMessage;
using testing_support::ExpectExit;
using testing_support::ForceFieldState;
using testing_support::MakeMolecule;

namespace {

constexpr double kCoulomb = 332.0716;

double LJ(double eps, double rmin, double r) {
  const double s = std::pow(rmin / r, 6);
  return eps * (s * s - 2.0 * s);
}

// The values are checked through the energies below.
TEST(DistanceMatrix, RefreshedByTheEnergy) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 3, 4, 0}});
  EXPECT_EQ(m.Energy(true), 0.0);
  EXPECT_EQ(m.dij, (std::vector<double>{0.0, 5.0, 5.0, 0.0}));
}

CMolecule OneAtom(const std::string& type, double q, double eps, double rmin, double x) {
  CMolecule m = MakeMolecule({{"A", 6, x, 0.0, 0.0}});
  m.atom[0].type = type;
  m.atom[0].q = q;
  m.atom[0].eps = eps;
  m.atom[0].rmin = rmin;
  return m;
}

TEST(InterEner, CoulombLennardJonesAndNbfix) {
  ForceFieldState state;
  nbfix.clear();
  const CMolecule plus = OneAtom("A", 1.0, 0.0, 1.0, 0.0);
  const CMolecule minus = OneAtom("B", -1.0, 0.0, 1.0, 3.0);
  EXPECT_DOUBLE_EQ(plus.inter_ener(minus), -kCoulomb / 3.0);
  EXPECT_DOUBLE_EQ(minus.inter_ener(plus), -kCoulomb / 3.0);

  const CMolecule a = OneAtom("A", 0.0, -0.1, 2.0, 0.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(OneAtom("B", 0.0, -0.1, 2.0, 4.0)), -0.1);
  // At 2^(-1/6) Rmin the repulsion cancels the attraction.
  EXPECT_NEAR(a.inter_ener(OneAtom("B", 0.0, -0.1, 2.0, 4.0 / std::pow(2.0, 1.0 / 6.0))), 0.0,
              1e-12);

  CNBFIX fix;
  fix.eps = -0.3;
  fix.rmin = 5.0;
  fix.a1 = "B";
  fix.a2 = "A";
  nbfix.push_back(fix);
  EXPECT_DOUBLE_EQ(a.inter_ener(OneAtom("B", 0.0, -0.1, 2.0, 5.0)), -0.3);
  EXPECT_DOUBLE_EQ(a.inter_ener(OneAtom("C", 0.0, -0.1, 2.0, 4.0)), -0.1);
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
  for (int i = 0; i + 1 < m.natm; ++i) m.atom[i].bond[i + 1] = m.atom[i + 1].bond[i] = 1;
  testing_support::Printed([&] { m.GenerateStructure(); });
  m.UpdateDistMatrix();
  return m;
}

TEST(EnergyIJ, OneFourPairsUseTheirOwnLennardJonesAndCloserPairsNothing) {
  const CMolecule m = Pentane();
  EXPECT_EQ(m.EnergyIJ({0}, {1, 2}), 0.0);
  EXPECT_EQ(m.EnergyIJ({}, {1, 2, 3, 4}), 0.0);
  const double e14 = kCoulomb * 0.5 * -0.5 / 4.5 + LJ(0.05, 3.0, 4.5);
  const double e15 = kCoulomb * 0.5 * 0.25 / 6.0 + LJ(0.1, 4.0, 6.0);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {3}), e14);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({3}, {0}), e14);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {4}), e15);
  EXPECT_DOUBLE_EQ(m.EnergyIJ({0}, {1, 2, 3, 4}), e14 + e15);
}

TEST(DiheEner, SumsTheTermsOfTheLinkedEntry) {
  ForceFieldState state;
  // A dihedral of 90 degrees, listed as (0, 1, 2, 3) and linked to a fresh table.
  CMolecule m = Pentane();
  m.atom[0].xyz = {1.5, 1, 0};
  m.atom[3].xyz = {3.0, 0, 1};
  param = Param();
  m.CreateListParam(param);
  auto& d = param.dihe[0];
  EXPECT_EQ(m.diheEner({0, 1, 2, 3}), 0.0);  // no terms yet
  EXPECT_EQ(m.diheEner({0, 2, 1, 3}), 0.0);  // no such dihedral
  d.NonZero = {1, 1, 1, 0, 0, 0};
  d.force = {0.5, 1.0, 0.3, 5.0};  // the fourth term is not switched on
  d.angle[1] = 180.0;
  // 0.5 (1 + cos 90) + 1.0 (1 + cos(180 - 180)) + 0.3 (1 + cos 270)
  EXPECT_NEAR(m.diheEner({0, 1, 2, 3}), 2.8, 1e-6);
  EXPECT_NEAR(m.diheEner({3, 2, 1, 0}), 2.8, 1e-6);
  d.ntms = 1;
  EXPECT_NEAR(m.diheEner({0, 1, 2, 3}), 0.5, 1e-6);
}

TEST(ChargeAndDipole, TotalChargeAndDipoleAboutTheOrigin) {
  CMolecule m = MakeMolecule({{"P", 1, 1, 0, 0}, {"N", 1, 0, 0, 0}});
  m.atom[0].q = 0.5;
  m.atom[1].q = -0.5;
  EXPECT_DOUBLE_EQ(m.Q(), 0.0);
  m.Dipole();
  EXPECT_NEAR(m.FFDipole.x, 2.401652336807724, 1e-12);
  EXPECT_EQ(m.FFDipole.y, 0.0);
  EXPECT_EQ(m.FFDipole.z, 0.0);
  m.atom[1].q = 0.5;  // charged: depends on the origin
  m.atom[1].xyz = {0, 2, 0};
  EXPECT_DOUBLE_EQ(m.Q(), 1.0);
  m.Dipole();
  EXPECT_NEAR(m.FFDipole.x, 0.5 / 0.20819, 1e-12);
  EXPECT_NEAR(m.FFDipole.y, 1.0 / 0.20819, 1e-12);
}

TEST(EnergyFailures, EachNamesItsCause) {
  ForceFieldState state;
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 1, 1, 0, 0}});
  const auto e = ExpectExit([&] { m.Energy(false); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err distance between atoms is zero : B and C\n");

  EXPECT_THAT([&] { m.EnergyIJ({0}, {1}); },
              ThrowsMessage<std::logic_error>(
                  StrEq("the pair lists and distances of the molecule are not set up")));
  const CMolecule a = OneAtom("A", 1.0, 0.0, 1.0, 0.0);
  EXPECT_THAT([&] { a.inter_ener(OneAtom("B", 1.0, 0.0, 1.0, 0.0)); },
              ThrowsMessage<std::runtime_error>(StrEq(
                  "err during interaction energy calc : distance between two molecules is zero!")));

  CMolecule chain = Pentane();
  param = Param();  // an empty table: no entry for the dihedral
  EXPECT_THAT(
      [&] {
        chain.diheEner({0, 1, 2, 3});
      },
      ThrowsMessage<std::logic_error>(
          StrEq("the dihedral is not linked to an entry of the parameter table")));
  EXPECT_THAT(
      [&] {
        chain.diheEner({0, 1, 2});
      },
      ThrowsMessage<std::invalid_argument>(StrEq("a dihedral needs four atoms")));
}

}  // namespace
