#include <gtest/gtest.h>

#include <cmath>

#include "mol.h"
#include "support/molecule.h"
#include "support/process_exit.h"

using testing_support::ExpectExit;
using testing_support::MakeMolecule;

TEST(DistanceMatrixTest, SymmetricWithZeroDiagonal) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 3, 4, 0}, {"C", 6, 0, 0, 2}});
  m.UpdateDistMatrix();
  ASSERT_EQ(m.dij.size(), 9u);
  EXPECT_EQ(m.dij[0], 0.0);
  EXPECT_EQ(m.dij[1], 5.0);
  EXPECT_EQ(m.dij[3], 5.0);
  EXPECT_EQ(m.dij[2 * 3 + 0], 2.0);
  EXPECT_DOUBLE_EQ(m.dij[1 * 3 + 2], std::sqrt(29.0));
}

TEST(DistanceMatrixTest, EnergyRefreshesTheMatrixAndReturnsZero) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}});
  m.UpdateDistMatrix();
  m.atom[1].xyz = {2, 0, 0};
  EXPECT_EQ(m.Energy(true), 0.0);
  EXPECT_EQ(m.dij[1], 2.0);
}

TEST(DistanceMatrixTest, CoincidentAtomsEndTheProcess) {
  CMolecule m = MakeMolecule({{"A", 6, 0, 0, 0}, {"B", 6, 1, 0, 0}, {"C", 1, 1, 0, 0}});
  const ProcessExit e = ExpectExit([&] { m.Energy(false); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err distance between atoms is zero : B and C\n");
}
