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

// The ethanol residue as it stands in the reference topology.
std::string EthanolResidue(const std::string& top) {
  const std::string text = testing_support::ReadFile(top);
  const auto begin = text.find("RESI ETOH");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find("\nRESI", begin + 1) - begin + 1);
}

TEST(ReferenceParam, EveryTermOfEthanolIsInTheGeneralForceField) {
  const std::string ref = testing_support::SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  ForceFieldState state;
  TempDir dir;
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string prm = ref + "/toppar/par_all36_cgenff.prm";
  const std::string residue = EthanolResidue(top);
  ASSERT_NE(residue, "");
  CharmmTopPar = Charmm();
  BondStruct = CBonds();
  chemtp = Chem();
  CharmmTopPar.AddNewTopology(top);
  CharmmTopPar.AddNewParam(prm);
  mol1 = CMolecule();
  Printed([&] {
    mol1.read_top(dir.Write("etoh.rtf", residue));
    mol1.ReadCoorPDB(dir.Write("etoh.pdb", kEthanolPdb), 0, "main");
    mol1.bond_create();
    mol1.GenerateStructure();
    mol1.write_top((dir.path() / "out.rtf").string());
  });
  EXPECT_NE(dir.Read("out.rtf").find("ATOM HO1     HGP1      0.420\n"), std::string::npos);

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
  for (int e = 0; e < p.nangles; ++e) EXPECT_TRUE(p.angle[e].ifread) << p.angle[e].atp1;
  for (int e = 0; e < p.ndihe; ++e) EXPECT_TRUE(p.dihe[e].ifread) << p.dihe[e].atp1;

  // A copy of the file without the C-O bond line: exactly that entry is to fit.
  const std::string line = "CG321  OG311   428.00     1.4200 ! PROT methanol vib fit EMB 11/21/89\n";
  std::string copy = testing_support::ReadFile(prm);
  const auto at = copy.find(line);
  ASSERT_NE(at, std::string::npos);
  Charmm without;
  without.AddNewParam(dir.Write("without.prm", copy.erase(at, line.size())));
  Param q;
  mol1.CreateListParam(q);
  q.Initialize(without);
  for (int e = 0; e < q.nbonds; ++e) {
    const bool co = (q.bond[e].atp1 == "CG321" && q.bond[e].atp2 == "OG311") ||
                    (q.bond[e].atp1 == "OG311" && q.bond[e].atp2 == "CG321");
    EXPECT_EQ(q.bond[e].fOpt, co ? 1 : 0) << q.bond[e].atp1 << " " << q.bond[e].atp2;
  }
  for (int e = 0; e < q.nangles; ++e) EXPECT_EQ(q.angle[e].fOpt, 0) << q.angle[e].atp1;
  for (int e = 0; e < q.ndihe; ++e) EXPECT_EQ(q.dihe[e].fOpt, 0) << q.dihe[e].atp1;

  testing::internal::CaptureStderr();
  mol1.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (const auto& a : mol1.atom) {
    EXPECT_LT(a.eps, 0.0) << a.type;
    EXPECT_GT(a.rmin, 0.0) << a.type;
  }
}

TEST(ReferenceParam, ScriptOnTheReferenceFilesRunsToTheEnd) {
  const std::string ref = testing_support::SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  TempDir dir;
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string prm = ref + "/toppar/par_all36_cgenff.prm";
  dir.Write("etoh.rtf", EthanolResidue(top));
  dir.Write("etoh.pdb", kEthanolPdb);
  dir.Write("run.inp", "topology " + top + "\nparam " + prm +
                           "\nreadtop etoh.rtf\nreadcoorpdb etoh.pdb\ngeneratebonds\n"
                           "readparam\nwritetop out.rtf\n");
  const auto r = testing_support::RunQm2ff("run.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const std::string& line :
       {"$ topologyfile file (1) : " + top + "\n", "$ parameter file (1) : " + prm + "\n",
        std::string("$ number of atoms read     :    9\n"),
        std::string("$ total number of bonds : 8; additional bonds created : 0\n"),
        std::string("number of dihe   :    12\n"),
        "$ topology was written to " + dir.path().string() + "//out.rtf\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
  EXPECT_NE(dir.Read("out.rtf").find("ATOM HO1     HGP1      0.420\n"), std::string::npos);
}

}  // namespace
