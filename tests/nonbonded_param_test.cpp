// Lennard-Jones parameters of the atoms and NBFIX entries for the water probes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "errors.h"
#include "mol.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

namespace {

CMolecule Typed(const std::vector<std::string>& types) {
  std::vector<AtomSpec> specs;
  for (std::size_t i = 0; i < types.size(); ++i)
    specs.push_back({"A" + std::to_string(i), 6, double(i), 0, 0});
  CMolecule m = MakeMolecule(specs);
  for (std::size_t i = 0; i < types.size(); ++i) m.atom[i].type = types[i];
  return m;
}

// A comment as fifth field leaves the 1-4 values as they were; a type in
// another case has no parameters. NBFIX pairs between solute and water come
// after the earlier entries.
TEST(NonbondedParamTest, AtomParametersAndNbfixPairs) {
  const ForceFieldState state;
  TempDir dir;
  CharmmTopPar = Charmm();
  CharmmTopPar.AddNewParam(
      dir.Write("p.prm",
                "NONBONDED\n"
                "HGA3     0.0       -0.0240     1.3400 ! alkane\n"
                "CG331    0.0       -0.0780     2.0500   0.0 -0.01 1.9 ! 1-4\n"
                "OG311    0.0       -0.1921     1.7650\n"
                "NBFIX\nOT     CG331    -0.2   3.5\nHGA3   HT       -0.01  2.5\n"));
  CMolecule m = Typed({"HGA3", "CG331", "OG311"});
  m.atom[0].eps14 = 9.0;
  m.atom[0].rmin14 = 8.0;
  m.read_nnbond();
  ExpectSameAsReference(Describe(m), "nonbonded_atoms.txt");
  EXPECT_THAT(
      [&] {
        Typed({"HGA3", "hga3"}).read_nnbond();
      },
      testing::ThrowsMessage<DetailedError>(testing::HasSubstr(
          "$ err no NONBONDED parameters for the type hga3 of atom A1 in the parameter files")));

  nbfix.clear();
  EXPECT_EQ(Printed([] { read_nbfix_for_two_mol(Typed({"HGA3"}), Typed({"OT"})); }), "");
  nbfix = {CNBFIX{-0.083875, 3.731, "SOD", "CLA"}};
  EXPECT_EQ(Printed([] {
              read_nbfix_for_two_mol(Typed({"HGA3", "CG331", "OG311", "HGA3"}),
                                     Typed({"OT", "HT", "HT"}));
            }),
            "$ nbfix was defined for atom types : \n"
            "SOD CLA -0.083875 3.731\n"
            "OT CG331 -0.2 3.5\n"
            "HGA3 HT -0.01 2.5\n");
  EXPECT_EQ(nbfix.size(), 3u);
}

}  // namespace
