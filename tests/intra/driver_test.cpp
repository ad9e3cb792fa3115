// The start of the bonded fit: `printmis` stops after the parameter file,
// which holds the default term of a dihedral that has none.
#include <gtest/gtest.h>

#include "intra/BondOpt.h"
#include "intra/section.h"
#include "param/molecule_fixture.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;

// Methanol whose parameter file lacks the C-O bond and the H-C-O-H dihedral.
TEST(BondedFitStart, PrintmisStopsAfterTheParameterFile) {
  const ForceFieldState state;
  TempDir dir;
  const FpathScope fpath(dir.path().string() + "/");
  CharmmTopPar.params = {
      dir.Write("partial.prm",
                "BONDS\nCG331 HGA3 322.0 1.111\nOG311 HGP1 545.0 0.96\n"
                "ANGLES\nHGA3 CG331 OG311 45.9 108.89\nHGA3 CG331 HGA3 35.5 108.4\n"
                "CG331 OG311 HGP1 57.5 106.0\nEND\n")};
  mol1 = TypedMethanol();
  OptInter = COptInter();
  ProcessExit e;
  const std::string printed =
      Printed([&] { e = ExpectExit([] { OptimizeBondedParam::ProcessScriptBondOpt("printmis\nincl bond\n"); }); });
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.message, "");
  EXPECT_TRUE(Contains(printed,
                       "$ dihedral HGA3 CG331 OG311 HGP1 has no term: it starts from "
                       "0.01 kcal/mol, multiplicity 2, phase 0\n"))
      << printed;
  EXPECT_EQ(dir.Read("add_para.inp"),
            "BONDS\n  CG331   OG311  200.00000    1.43000 \n\nANGLES\n\nDIHEDRALS\n"
            "   HGA3   CG331   OG311    HGP1    0.01000    2       0.0 \n\nIMPROPER\n\n");
}

}  // namespace
