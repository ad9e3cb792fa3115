// The script commands that act on the molecule, executed in-process on a
// molecule built in the test.
#include <gtest/gtest.h>

#include "MainScript.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;

namespace {

// Ethane as the molecule, the working directory a fresh one; the molecule,
// the settings and the directory are restored afterwards.
class MoleculeCommandTest : public testing::Test {
 protected:
  MoleculeCommandTest() { mol1 = testing_support::Ethane(); }
  // Runs the script with its standard output captured.
  std::string Execute(const std::string& script) {
    return testing_support::Printed([&] { MainScript::ProcessScriptMain(script); });
  }

  testing_support::ForceFieldState saved;
  testing_support::TempDir dir;
  testing_support::FpathScope workdir{dir.path().string()};
};

}  // namespace

TEST_F(MoleculeCommandTest, ConstrainFillsTheGlobalConstraints) {
  Execute("constrain\n  b c1 h11 300\n  # a comment\n  d h11 c1 c2 h21\nEnd\ncharge 1\n");
  EXPECT_EQ(OptInter.nCostrGlobal, 2);
  EXPECT_EQ(OptInter.FixDihe[0].AtomName, (std::array<int, 4>{0, 2, -1, -1}));
  EXPECT_EQ(OptInter.FixDihe[0].value, 300.0);
  EXPECT_EQ(OptInter.FixDihe[1].AtomName, (std::array<int, 4>{2, 0, 1, 5}));
  EXPECT_EQ(OptInter.FixDihe[1].value, 500.0);
  EXPECT_EQ(mol1.netcharge, 1.0);  // execution goes on after `end`

  std::string twenty = "constrain\n";
  for (int i = 0; i < 20; ++i) twenty += "b c1 h11\n";
  Execute(twenty + "end\n");
  EXPECT_EQ(OptInter.nCostrGlobal, 20);

  const struct {
    std::string script, message;
  } failures[] = {
      {twenty + "d c1 c2 h21 h22 10\nend\n",
       "$ err in input script in line : d c1 c2 h21 h22 10\n"},
      {"constrain\nb c1 x9\nend\n", "$ err atom was not found : X9\n"},
      {"constrain\nb c1 h11 abc\nend\n", "$ err in input script in line : b c1 h11 abc\n"},
      {"constrain\nb c1 h11\n", "$ err in input script in line : \n"},  // no `end`
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.script);
    const ProcessExit e = ExpectExit([&] { Execute(f.script); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, f.message);
  }
}

TEST_F(MoleculeCommandTest, ReadCoordinatesIntoGeometries) {
  CMolecule m = mol1;
  m.trans(Vector3(1, 2, 3));
  m.WriteCoorPDB((dir.path() / "moved.pdb").string(), "main");
  dir.Write("w.xyz",
            "8\n\nC 0 0 9\nC 1 0 9\nH 0 1 9\nH 0 2 9\nH 0 3 9\nH 1 1 9\nH 1 2 9\nH 1 3 9\n");

  EXPECT_EQ(Execute("readcoorpdb moved.pdb\n"), "");
  EXPECT_NEAR(mol1.atom[1].xyz[0], 2.53, 1e-9);
  EXPECT_EQ(Execute("READCOORXYZ w.xyz 2\n"), "$ additional geometry 2\n");
  EXPECT_EQ(mol1.atom[7].xyz, (std::vector<double>{1, 3, 9}));
  // Without exactly three words the geometry is the first.
  EXPECT_EQ(Execute("readcoorpdb moved.pdb 2 extra\n"), "");
  EXPECT_EQ(mol1.xyz[2], 3.0);
  EXPECT_EQ(mol1.xyz[8 * 3 + 2], 9.0);

  ProcessExit e = ExpectExit([&] { Execute("readcoorpdb moved.pdb 4\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err geometry 4 can not be stored: 2 geometries are set up, the next one is 3\n");
  e = ExpectExit([&] { Execute("readcoorpdb moved.pdb two\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err in input script in line : readcoorpdb moved.pdb two\n");
}

TEST_F(MoleculeCommandTest, GenerateBondsAndEnergy) {
  EXPECT_NE(Execute("generatebonds\n").find("number of dihe   :     9\n"), std::string::npos);
  EXPECT_EQ(mol1.bond.size(), 7u);
  mol1.atom[1].xyz = {3, 0, 0};
  const ProcessExit e = ExpectExit([&] { Execute("energy\ncharge 5\n"); });
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(mol1.dij[1], 3.0);
  EXPECT_EQ(mol1.netcharge, 0.0);  // nothing after `energy` runs
}
