#include "MolecularGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mol.h"
#include "support/molecule.h"
#include "support/process_exit.h"

using testing_support::ExpectExit;
using testing_support::MakeMolecule;

namespace {

// i-j-k-l with i above the j-k axis and l at (1, y, z).
CMolecule FourAtoms(double ly, double lz) {
  return MakeMolecule(
      {{"I", 6, 0, 1, 0}, {"J", 6, 0, 0, 0}, {"K", 6, 1, 0, 0}, {"L", 6, 1, ly, lz}});
}

}  // namespace

TEST(MolecularGeometryTest, DistanceAndAngles) {
  const CMolecule m = MakeMolecule(
      {{"A", 6, 0, 0, 0}, {"B", 6, 1.5, 0, 0}, {"C", 6, 3.0, 0, 0}, {"D", 6, 1.5, 2.0, 0}});
  EXPECT_DOUBLE_EQ(m.dist(0, 1), 1.5);
  EXPECT_DOUBLE_EQ(m.dist(0, 3), 2.5);
  // Collinear atoms: pi in single precision, not the full double value.
  EXPECT_NEAR(m.Angle(0, 1, 2), 3.1415927, 1e-7);
  EXPECT_GT(std::fabs(m.Angle(0, 1, 2) - M_PI), 1e-8);
  // Right angle: pi/2 in single precision.
  EXPECT_NEAR(m.Angle(0, 1, 3), 1.5707964, 5e-8);
}

TEST(MolecularGeometryTest, InternalCoordinatesInAngstromAndDegrees) {
  const CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1.5, 0, 0}, {"C", 6, 1.5, 1, 0}});
  EXPECT_DOUBLE_EQ(m.IC({0, 1}), 1.5);
  EXPECT_NEAR(m.IC({0, 1, 2}), 90.0, 1e-5);
  const CMolecule d = FourAtoms(0, 1);
  EXPECT_NEAR(d.IC({0, 1, 2, 3}), 90.0, 1e-6);
  const ProcessExit e = ExpectExit([&] { m.IC({0}); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "wrong number of atoms in IC()");
  EXPECT_EQ(ExpectExit([&] { m.IC({0, 1, 2, 0, 1}); }).status, 1);
}

TEST(MolecularGeometryTest, DihedralSignAndOrder) {
  EXPECT_NEAR(FourAtoms(1, 0).Dihe(0, 1, 2, 3), 0.0, 1e-12);               // cis
  EXPECT_NEAR(std::fabs(FourAtoms(-1, 0).Dihe(0, 1, 2, 3)), M_PI, 1e-12);  // trans
  const CMolecule m = FourAtoms(0, 1);
  EXPECT_NEAR(m.Dihe(0, 1, 2, 3), M_PI / 2, 1e-12);
  EXPECT_NEAR(m.Dihe(3, 2, 1, 0), M_PI / 2, 1e-12);                  // reversed order, same value
  EXPECT_NEAR(FourAtoms(0, -1).Dihe(0, 1, 2, 3), -M_PI / 2, 1e-12);  // mirror image
  const CMolecule g = FourAtoms(0.5, 0.8);
  EXPECT_DOUBLE_EQ(g.Dihe(0, 1, 2, 3), g.Dihe(3, 2, 1, 0));
}

TEST(MolecularGeometryTest, ZeroDistancesEndTheProcessNamingTheAtoms) {
  const CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 6, 1, 0, 0}});
  ProcessExit e = ExpectExit([&] { m.Angle(0, 0, 1); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err angle was computed with zero distance between atoms : 0 0 1\n");
  e = ExpectExit([&] { m.Dihe(0, 1, 2, 0); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err dihe angle was computed with zero distance between atoms : 0 1 2 0\n");
  EXPECT_EQ(m.dist(1, 2), 0.0);
}

TEST(MolecularGeometryTest, MovingAtomsRefreshesTheirVectors) {
  CMolecule m = MakeMolecule({{"A", 6, 1, 2, 3}, {"B", 1, 0, 0, 0}});
  m.trans(Vector3(1, -1, 0.5));
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{2, 1, 3.5}));
  EXPECT_EQ(m.atom[1].rv.x, 1.0);
  EXPECT_EQ(m.atom[1].rv.z, 0.5);

  m.atom[0].xyzcomp = {9, 8, 7};
  m.swap();
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{9, 8, 7}));
  EXPECT_EQ(m.atom[0].xyzcomp, (std::vector<double>{2, 1, 3.5}));
  EXPECT_EQ(m.atom[0].rv.x, 9.0);
  EXPECT_EQ(m.atom[1].xyzcomp, (std::vector<double>{1, -1, 0.5}));

  m.atom[1].xyz = {4, 4, 4};
  m.fill_rv();
  EXPECT_EQ(m.atom[1].rv.y, 4.0);
}

TEST(MolecularGeometryTest, SnapshotOfComparisonCoordinates) {
  CMolecule m = FourAtoms(0, 1);
  const CMolecularGeometry empty(m);
  EXPECT_EQ(empty.xyz, std::vector<double>(12, 0.0));
  m.swap();  // the coordinates become the comparison set
  CMolecularGeometry g;
  g.CopyFromCompMolecule(m);
  ASSERT_EQ(g.xyz.size(), 12u);
  EXPECT_DOUBLE_EQ(g.distance(0, 1), 1.0);
  EXPECT_NEAR(g.angle(0, 1, 2), 1.5707964, 5e-8);
  EXPECT_NEAR(g.dihedral(0, 1, 2, 3), M_PI / 2, 1e-12);
  EXPECT_NEAR(g.dihedral(3, 2, 1, 0), M_PI / 2, 1e-12);
}

TEST(MolecularGeometryTest, SnapshotFailures) {
  const CMolecularGeometry g(MakeMolecule({{"A", 6}, {"B", 6}, {"C", 6}}));
  ProcessExit e = ExpectExit([&] { g.angle(0, 1, 2); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err angle was computed with zero distance between atoms : 0 1 2\n");
  e = ExpectExit([&] { g.dihedral(0, 1, 2, 0); });
  EXPECT_EQ(e.message,
            "$ err dihe angle was computed with zero distance between atoms : 0 1 2 0\n");
  EXPECT_THROW(g.distance(0, 3), std::out_of_range);
}
