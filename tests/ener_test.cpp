// Energies within and between molecules, total charge and dipole. The pair
// energies within the molecule are checked by the soft-dihedral tables of the
// bonded fits of tests/intra.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
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
using testing_support::MakeMolecule;

namespace {

// Four atoms bonded in sequence with a dihedral of 90 degrees, linked to a fresh table.
CMolecule Butane() {
  CMolecule m = MakeMolecule(
      {{"C1", 6, 1.5, 1, 0}, {"C2", 6, 1.5, 0, 0}, {"C3", 6, 3.0, 0, 0}, {"C4", 6, 3.0, 0, 1}});
  for (int i = 0; i + 1 < m.natm; ++i) m.atom[i].bond[i + 1] = m.atom[i + 1].bond[i] = 1;
  testing_support::Printed([&] { m.GenerateStructure(); });
  param = Param();
  return m;
}

CMolecule OneAtom(const std::string& type, double q, double x) {
  CMolecule m = MakeMolecule({{"A", 6, x, 0.0, 0.0}});
  m.atom[0].type = type;
  m.atom[0].q = q;
  m.atom[0].eps = -0.1;
  m.atom[0].rmin = 2.0;
  return m;
}

TEST(InterEner, CoulombAndLennardJonesOrTheNbfixOfThePairInEitherOrder) {
  testing_support::ForceFieldState state;
  nbfix = {CNBFIX{-0.3, 5.0, "B", "A"}};
  const CMolecule a = OneAtom("A", 1.0, 0.0);
  EXPECT_DOUBLE_EQ(a.inter_ener(OneAtom("C", -1.0, 4.0)), -332.0716 / 4.0 - 0.1);
  EXPECT_DOUBLE_EQ(a.inter_ener(OneAtom("B", 0.0, 5.0)), -0.3);
}

// The dipole about the origin, in Debye, and the total charge.
TEST(ChargeAndDipole, AboutTheOrigin) {
  CMolecule m = MakeMolecule({{"P", 1, 1, 0, 2}, {"N", 1, 0, 3, 0}});
  m.atom[0].q = 0.5;
  m.atom[1].q = 0.25;
  EXPECT_DOUBLE_EQ(m.Q(), 0.75);
  m.Dipole();
  EXPECT_NEAR(m.FFDipole.x, 0.5 / 0.20819, 1e-12);
  EXPECT_NEAR(m.FFDipole.y, 0.75 / 0.20819, 1e-12);
  EXPECT_NEAR(m.FFDipole.z, 1.0 / 0.20819, 1e-12);
}

TEST(DiheEner, SumsTheSwitchedOnTermsOfTheLinkedEntry) {
  testing_support::ForceFieldState state;
  CMolecule m = Butane();
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

TEST(EnergyFailures, EachNamesItsCause) {
  testing_support::ForceFieldState state;
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 1, 1, 0, 0}});
  const ProcessExit e = testing_support::ExpectExit([&] { m.Energy(false); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err distance between atoms is zero : B and C\n");

  const CMolecule chain = Butane();  // an empty table: no entry for the dihedral
  const std::string setUp = "the pair lists and distances of the molecule are not set up";
  const std::string apart =
      "err during interaction energy calc : distance between two molecules is zero!";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] {
         MakeMolecule({{"A", 6}}).EnergyIJ({0}, {1});
       },
       setUp},
      {[&] { m.inter_ener(m); }, apart},
      {[&] {
         chain.diheEner({0, 1, 2, 3});
       },
       "the dihedral is not linked to an entry of the parameter table"},
      {[&] {
         chain.diheEner({0, 1, 2});
       },
       "a dihedral needs four atoms"},
  };
  for (const auto& [call, message] : cases)
    EXPECT_THAT(call, ThrowsMessage<std::exception>(StrEq(message)));
}

}  // namespace
