#include "mol.h"

#include <gtest/gtest.h>

#include <string>

#include "support/molecule.h"
#include "support/process_exit.h"

using testing_support::ExpectExit;
using testing_support::MakeMolecule;

TEST(MoleculeTest, AtomsAreFoundByWholeNameWithCaseOrByIndex) {
  CMolecule m = MakeMolecule({{"C1", 6}, {"C10", 6}, {"C1", 6}});
  m.atom[1].type = "HA";
  EXPECT_EQ(m.AtomIndex("C1"), 0);  // the lower of two equal names
  EXPECT_EQ(m.AtomIndex("C10"), 1);
  EXPECT_EQ(m.AtomName(1) + m.AtomType(1), "C10HA");

  ProcessExit e = ExpectExit([&] { m.AtomIndex("c1"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err atom was not found : c1\n");
  for (const int i : {3, -1}) {
    for (const auto ask : {&CMolecule::AtomName, &CMolecule::AtomType}) {
      e = ExpectExit([&] { (m.*ask)(i); });
      EXPECT_EQ(e.status, 1);
      EXPECT_EQ(e.message, "$ err atom was not found : " + std::to_string(i) + "\n");
    }
  }
}

TEST(MoleculeTest, GeometriesAreStoredAndActivated) {
  CMolecule m = MakeMolecule({{"A", 6, 1, 2, 3}, {"B", 1, 4, 5, 6}});
  m.ngeom = 2;
  m.QMEnergy = {-1.0, -2.0};
  m.QMDipoleMoment = {Vector3(1, 0, 0), Vector3(0, 2, 0)};
  m.atom[0].xyz = {7, 8, 9};
  m.CopyMainSetToGeometry(1);
  EXPECT_EQ(m.xyz, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 4, 5, 6}));

  m.ActivateGeometry(0);
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(m.energy, -1.0);
  m.ActivateGeometry(1);
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{7, 8, 9}));
  EXPECT_EQ(m.atom[0].rv.z, 9.0);
  EXPECT_EQ(m.QMDipole.y, 2.0);
  EXPECT_EQ(m.energy, -2.0);

  for (const int g : {2, -1}) {
    ProcessExit e = ExpectExit([&] { m.ActivateGeometry(g); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err this geometry was not setup\n");
    e = ExpectExit([&] { m.CopyMainSetToGeometry(g); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err this geometry was not setup\n");
  }
}
