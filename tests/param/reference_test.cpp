// The bonded table and Lennard-Jones values of a residue from the reference
// CHARMM files (skipped when the files are absent).
#include <gtest/gtest.h>

#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/run.h"
#include "topology.h"

using testing_support::ForceFieldState;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

const char* kEthanolPdb =
    "ATOM      1 C1   ETOH    1       0.000   0.000   0.000  1.00  0.00\n"
    "ATOM      2 O1   ETOH    1      -0.477   1.348   0.000  1.00  0.00\n"
    "ATOM      3 HO1  ETOH    1      -1.437   1.340   0.000  1.00  0.00\n"
    "ATOM      4 H11  ETOH    1      -0.363  -0.513   0.890  1.00  0.00\n"
    "ATOM      5 H12  ETOH    1      -0.363  -0.513  -0.890  1.00  0.00\n"
    "ATOM      6 C2   ETOH    1       1.520   0.000   0.000  1.00  0.00\n"
    "ATOM      7 H21  ETOH    1       1.883  -1.028   0.000  1.00  0.00\n"
    "ATOM      8 H22  ETOH    1       1.883   0.513   0.890  1.00  0.00\n"
    "ATOM      9 H23  ETOH    1       1.883   0.513  -0.890  1.00  0.00\n"
    "END\n";

TEST(ReferenceParam, EveryTermOfEthanolIsInTheGeneralForceField) {
  const std::string ref = testing_support::SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  ForceFieldState state;
  TempDir dir;
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string text = testing_support::ReadFile(top);
  const auto begin = text.find("RESI ETOH");
  ASSERT_NE(begin, std::string::npos);
  const std::string residue = text.substr(begin, text.find("\nRESI", begin + 1) - begin + 1);
  CharmmTopPar = Charmm();
  BondStruct = CBonds();
  chemtp = Chem();
  CharmmTopPar.AddNewTopology(top);
  CharmmTopPar.AddNewParam(ref + "/toppar/par_all36_cgenff.prm");
  mol1 = CMolecule();
  Printed([&] {
    mol1.read_top(dir.Write("etoh.rtf", residue));
    mol1.ReadCoorPDB(dir.Write("etoh.pdb", kEthanolPdb), 0, "main");
    mol1.bond_create();
    mol1.GenerateStructure();
  });

  Param p;
  mol1.CreateListParam(p);
  p.Initialize(CharmmTopPar);
  EXPECT_EQ(p.nbonds, 5);
  EXPECT_EQ(p.nangles, 7);
  EXPECT_GT(p.ndihe, 0);
  for (int e = 0; e < p.nbonds; ++e) EXPECT_TRUE(p.bond[e].ifread) << p.bond[e].atp1;
  for (int e = 0; e < p.nbonds; ++e) EXPECT_EQ(p.bond[e].fOpt, 0) << p.bond[e].atp1;
  for (int e = 0; e < p.nangles; ++e) EXPECT_EQ(p.angle[e].fOpt, 0) << p.angle[e].atp1;
  for (int e = 0; e < p.ndihe; ++e) EXPECT_EQ(p.dihe[e].fOpt, 0) << p.dihe[e].atp1;

  testing::internal::CaptureStderr();
  mol1.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (const auto& a : mol1.atom) {
    EXPECT_LT(a.eps, 0.0) << a.type;
    EXPECT_GT(a.rmin, 0.0) << a.type;
  }
}

}  // namespace
