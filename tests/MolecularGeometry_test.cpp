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

}  // namespace

TEST(MolecularGeometryTest, DistancesAnglesAndInternalCoordinates) {
  const CMolecule m = MakeMolecule(
      {{"A", 6, 0, 0, 0}, {"B", 6, 1.5, 0, 0}, {"C", 6, 3.0, 0, 0}, {"D", 6, 1.5, 2.0, 0}});
  EXPECT_DOUBLE_EQ(m.dist(0, 3), 2.5);
  // Angles in single precision: collinear atoms give pi, not the full double value.
  EXPECT_NEAR(m.Angle(0, 1, 2), 3.1415927, 1e-7);
  EXPECT_GT(std::fabs(m.Angle(0, 1, 2) - M_PI), 1e-8);
  EXPECT_DOUBLE_EQ(m.IC({0, 1}), 1.5);  // Angstrom and degrees
  EXPECT_NEAR(m.IC({0, 1, 3}), 90.0, 1e-5);
  EXPECT_NEAR(FourAtoms(0, 1).IC({0, 1, 2, 3}), 90.0, 1e-6);
}

TEST(MolecularGeometryTest, DihedralSignAndOrder) {
  EXPECT_NEAR(FourAtoms(1, 0).Dihe(0, 1, 2, 3), 0.0, 1e-12);               // cis
  EXPECT_NEAR(std::fabs(FourAtoms(-1, 0).Dihe(0, 1, 2, 3)), M_PI, 1e-12);  // trans
  EXPECT_NEAR(FourAtoms(0, 1).Dihe(3, 2, 1, 0), M_PI / 2, 1e-12);
  EXPECT_NEAR(FourAtoms(0, -1).Dihe(0, 1, 2, 3), -M_PI / 2, 1e-12);  // mirror image
  const CMolecule g = FourAtoms(0.5, 0.8);
  EXPECT_DOUBLE_EQ(g.Dihe(0, 1, 2, 3), g.Dihe(3, 2, 1, 0));
}

TEST(MolecularGeometryTest, MovedAndSwappedCoordinatesAndTheirSnapshot) {
  CMolecule m = FourAtoms(0, 1);
  EXPECT_EQ(CMolecularGeometry(m).xyz, std::vector<double>(12, 0.0));
  m.trans(Vector3(1, -1, 0.5));
  EXPECT_EQ(m.atom[3].xyz, (std::vector<double>{2, -1, 1.5}));
  EXPECT_EQ(m.atom[3].rv.z, 1.5);
  m.swap();  // the moved coordinates become the comparison set
  EXPECT_EQ(m.atom[3].xyz, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(m.atom[3].rv.z, 0.0);
  CMolecularGeometry g;
  g.CopyFromCompMolecule(m);
  EXPECT_DOUBLE_EQ(g.distance(0, 1), 1.0);
  EXPECT_NEAR(g.angle(0, 1, 2), 1.5707964, 5e-8);
  EXPECT_NEAR(g.dihedral(3, 2, 1, 0), M_PI / 2, 1e-12);
}

TEST(MolecularGeometryTest, FailuresEndTheProcessNamingTheAtoms) {
  const CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 1, 0, 0}});
  const CMolecularGeometry g(m);  // all atoms at the origin
  const std::string angle = "$ err angle was computed with zero distance between atoms : ";
  const std::string dihe = "$ err dihe angle was computed with zero distance between atoms : ";
  const struct {
    const char* name;
    std::function<void()> call;
    std::string message;
  } cases[] = {
      {"angle", [&] { m.Angle(0, 0, 1); }, angle + "0 0 1\n"},
      {"dihedral", [&] { m.Dihe(0, 1, 2, 0); }, dihe + "0 1 2 0\n"},
      {"snapshot angle", [&] { g.angle(0, 1, 2); }, angle + "0 1 2\n"},
      {"snapshot dihedral", [&] { g.dihedral(0, 1, 2, 0); }, dihe + "0 1 2 0\n"},
      {"one atom", [&] { m.IC({0}); }, "wrong number of atoms in IC()"},
      {"five atoms",
       [&] {
         m.IC({0, 1, 2, 0, 1});
       },
       "wrong number of atoms in IC()"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProcessExit e = testing_support::ExpectExit(c.call);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
  EXPECT_THAT([&] { g.distance(0, 3); }, testing::ThrowsMessage<std::out_of_range>(
                                             "atom 3 is not in the coordinate snapshot"));
}
