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

using testing_support::ForceFieldState;
using testing_support::MakeMolecule;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

CMolecule Typed(const std::vector<std::string>& types) {
  std::vector<testing_support::AtomSpec> specs;
  for (std::size_t i = 0; i < types.size(); ++i)
    specs.push_back({"A" + std::to_string(i), 6, double(i), 0, 0});
  CMolecule m = MakeMolecule(specs);
  for (std::size_t i = 0; i < types.size(); ++i) m.atom[i].type = types[i];
  return m;
}

class NonbondedParamTest : public testing::Test {
 protected:
  void SetUp() override {
    CharmmTopPar = Charmm();
    nbfix.clear();
  }
  ForceFieldState state;
  TempDir dir;
};

TEST_F(NonbondedParamTest, ReadsEveryAtomAndStopsAtATypeWithoutParameters) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm",
                                     "NONBONDED\n"
                                     "HGA3     0.0       -0.0240     1.3400 ! alkane\n"
                                     "CG331    0.0       -0.0780     2.0500   0.0 -0.01 1.9 ! 1-4\n"
                                     "OG311    0.0       -0.1921     1.7650\n"));
  CMolecule m = Typed({"HGA3", "CG331", "OG311"});
  m.atom[0].eps14 = 9.0;
  m.atom[0].rmin14 = 8.0;
  m.read_nnbond();
  // A comment as fifth field: the 1-4 values stay as they were.
  testing_support::ExpectSameAsReference(testing_support::Describe(m), "nonbonded_atoms.txt");
  CMolecule other = Typed({"HGA3", "hga3"});
  EXPECT_THAT([&] { other.read_nnbond(); },
              testing::ThrowsMessage<DetailedError>(testing::HasSubstr(
                  "$ err no NONBONDED parameters for the type hga3 of atom A1 in the parameter files")));
}

TEST_F(NonbondedParamTest, NbfixPairsBetweenSoluteAndWaterAfterTheEarlierEntries) {
  const std::string p = dir.Write("p.prm",
                                  "NBFIX\n"
                                  "OT     CG331    -0.2   3.5\n"
                                  "HGA3   HT       -0.01  2.5\n");
  CharmmTopPar.AddNewParam(p);
  EXPECT_EQ(Printed([] { read_nbfix_for_two_mol(Typed({"HGA3"}), Typed({"OT"})); }), "");

  CNBFIX earlier;
  earlier.a1 = "SOD";
  earlier.a2 = "CLA";
  earlier.eps = -0.083875;
  earlier.rmin = 3.731;
  nbfix.push_back(earlier);
  EXPECT_EQ(Printed([] {
              read_nbfix_for_two_mol(Typed({"HGA3", "CG331", "OG311", "HGA3"}),
                                     Typed({"OT", "HT", "HT"}));
            }),
            "$ nbfix was defined for atom types : \n"
            "SOD CLA -0.083875 3.731\n"
            "OT CG331 -0.2 3.5\n"
            "HGA3 HT -0.01 2.5\n");
  ASSERT_EQ(nbfix.size(), 3u);
  EXPECT_EQ(nbfix[1].a1, "OT");
  EXPECT_EQ(nbfix[1].a2, "CG331");
  EXPECT_DOUBLE_EQ(nbfix[1].eps, -0.2);
  EXPECT_DOUBLE_EQ(nbfix[1].rmin, 3.5);
}

}  // namespace
