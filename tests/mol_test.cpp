#include "mol.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/molecule.h"
#include "support/process_exit.h"

using testing_support::MakeMolecule;

// Geometries read by the script commands and unknown atom names in scripts
// are cases of tests/data/scripts.
TEST(MoleculeTest, AtomsAreFoundByWholeNameOrIndexAndGeometriesCopiedAndActivated) {
  CMolecule m = MakeMolecule({{"C1", 6, 1, 2, 3}, {"C10", 6, 4, 5, 6}, {"C1", 6}});
  m.atom[1].type = "HA";
  EXPECT_EQ(m.AtomIndex("C1"), 0);  // the lower of two equal names
  EXPECT_EQ(m.AtomIndex("C10"), 1);
  EXPECT_EQ(m.AtomName(1) + m.AtomType(1), "C10HA");
  m.ngeom = 2;
  m.xyz.resize(18);
  m.atom[0].xyz = {7, 8, 9};
  m.CopyMainSetToGeometry(1);
  EXPECT_EQ(m.xyz, (std::vector<double>{1, 2, 3, 4, 5, 6, 0, 0, 0, 7, 8, 9, 4, 5, 6, 0, 0, 0}));
  m.QMEnergy = {-1.0, -2.0};
  m.QMDipoleMoment = {Vector3(1, 0, 0), Vector3(0, 2, 0)};
  m.ActivateGeometry(0);
  EXPECT_EQ(m.atom[0].xyz, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(m.energy, -1.0);
  m.ActivateGeometry(1);
  EXPECT_EQ(m.atom[0].rv.z, 9.0);
  EXPECT_EQ(m.QMDipole.y, 2.0);
  EXPECT_EQ(m.energy, -2.0);

  const std::string geometry = "$ err this geometry was not setup\n";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { m.AtomIndex("c1"); }, "$ err atom was not found : c1\n"},
      {[&] { m.AtomName(3); }, "$ err atom was not found : 3\n"},
      {[&] { m.AtomType(-1); }, "$ err atom was not found : -1\n"},
      {[&] { m.ActivateGeometry(2); }, geometry},
      {[&] { m.ActivateGeometry(-1); }, geometry},
      {[&] { m.CopyMainSetToGeometry(2); }, geometry},
  };
  for (const auto& [call, message] : cases) {
    const ProcessExit e = testing_support::ExpectExit(call);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
  }
}
