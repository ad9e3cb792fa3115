// Angles and dihedrals of the molecule and of its snapshots. Their values and
// the coordinate snapshots of the scans are checked by the references of the
// bonded fits of tests/intra.
#include "MolecularGeometry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "mol.h"
#include "support/molecule.h"
#include "support/process_exit.h"

using testing_support::MakeMolecule;

namespace {

// i-j-k-l with i above the j-k axis and l at (1, y, z).
CMolecule FourAtoms(double ly, double lz) {
  return MakeMolecule(
      {{"I", 6, 0, 1, 0}, {"J", 6, 0, 0, 0}, {"K", 6, 1, 0, 0}, {"L", 6, 1, ly, lz}});
}

// Angles in single precision; dihedrals signed, the same in both directions.
TEST(MolecularGeometryTest, AnglesAndDihedrals) {
  const CMolecule line =
      MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1.5, 0, 0}, {"C", 6, 3.0, 0, 0}});
  EXPECT_NEAR(line.Angle(0, 1, 2), 3.1415927, 1e-7);
  EXPECT_GT(std::fabs(line.Angle(0, 1, 2) - M_PI), 1e-8);
  EXPECT_NEAR(FourAtoms(0, -1).Dihe(0, 1, 2, 3), -M_PI / 2, 1e-12);
  EXPECT_NEAR(FourAtoms(0, 1).IC({3, 2, 1, 0}), 90.0, 1e-6);
  EXPECT_NEAR(std::fabs(FourAtoms(-1, 0).Dihe(0, 1, 2, 3)), M_PI, 1e-12);
}

// Moved coordinates, and the active and comparison sets swapped.
TEST(MolecularGeometryTest, MovedAndSwappedCoordinates) {
  CMolecule m = FourAtoms(0, 1);
  m.trans(Vector3(1, -1, 0.5));
  EXPECT_EQ(m.atom[3].xyz, (std::vector<double>{2, -1, 1.5}));
  EXPECT_EQ(m.atom[3].rv.z, 1.5);
  m.swap();
  EXPECT_EQ(m.atom[3].xyz, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(m.atom[3].rv.z, 0.0);
}

TEST(MolecularGeometryTest, FailuresEndTheProcessNamingTheAtoms) {
  const CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 1, 0, 0}});
  const CMolecularGeometry g(m);  // all atoms at the origin
  const std::string angle = "$ err angle was computed with zero distance between atoms : ";
  const std::string dihe = "$ err dihe angle was computed with zero distance between atoms : ";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { m.Angle(0, 0, 1); }, angle + "0 0 1\n"},
      {[&] { m.Dihe(0, 1, 2, 0); }, dihe + "0 1 2 0\n"},
      {[&] { g.angle(0, 1, 2); }, angle + "0 1 2\n"},
      {[&] { g.dihedral(0, 1, 2, 0); }, dihe + "0 1 2 0\n"},
      {[&] { m.IC({0}); }, "wrong number of atoms in IC()"},
      {[&] {
         m.IC({0, 1, 2, 0, 1});
       },
       "wrong number of atoms in IC()"},
  };
  for (const auto& [call, message] : cases) {
    const ProcessExit e = testing_support::ExpectExit(call);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
  }
  EXPECT_THAT([&] { g.distance(0, 3); }, testing::ThrowsMessage<std::out_of_range>(
                                             "atom 3 is not in the coordinate snapshot"));
}

}  // namespace
