// The bonded table and Lennard-Jones values of a residue from the reference
// CHARMM files (skipped when the files are absent).
#include <gtest/gtest.h>

#include "mol.h"
#include "param.h"
#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "topology.h"

using namespace testing_support;

namespace {

// The ethanol residue as it stands in the reference topology.
std::string EthanolResidue(const std::string& top) {
  const std::string text = ReadFile(top);
  const auto begin = text.find("RESI ETOH");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find("\nRESI", begin + 1) - begin + 1);
}

// The script reads, perceives and writes the residue; every term is in the
// general force field, and a copy of the file without the C-O bond line
// leaves exactly that entry to fit.
TEST(ReferenceParam, EveryTermOfEthanolIsInTheGeneralForceField) {
  const std::string ref = SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "reference files absent";
  TempDir dir;
  const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
  const std::string prm = ref + "/toppar/par_all36_cgenff.prm";
  dir.Write("etoh.rtf", EthanolResidue(top));
  dir.Write("etoh.pdb", ReadFile(DataPath("param/ethanol.pdb")));
  dir.Write("run.inp", "topology " + top + "\nparam " + prm +
                           "\nreadtop etoh.rtf\nreadcoorpdb etoh.pdb\ngeneratebonds\n"
                           "readparam\nwritetop out.rtf\n");
  const auto r = RunQm2ff("run.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const std::string& line :
       {"$ topologyfile file (1) : " + top + "\n", "$ parameter file (1) : " + prm + "\n",
        std::string("$ number of atoms read     :    9\n"),
        std::string("$ total number of bonds : 8; additional bonds created : 0\n"),
        std::string("number of dihe   :    12\n"),
        "$ topology was written to " + dir.path().string() + "//out.rtf\n"})
    EXPECT_TRUE(Contains(r.out, line)) << line << r.out;
  EXPECT_TRUE(Contains(dir.Read("out.rtf"), "ATOM HO1     HGP1      0.420\n"));

  ForceFieldState state;
  CharmmTopPar = Charmm();
  BondStruct = CBonds();
  chemtp = Chem();
  CharmmTopPar.AddNewTopology(top);
  CharmmTopPar.AddNewParam(prm);
  mol1 = CMolecule();
  Printed([&] {
    mol1.read_top(dir.Write("etoh.rtf", EthanolResidue(top)));
    mol1.ReadCoorPDB(DataPath("param/ethanol.pdb"), 0, "main");
    mol1.bond_create();
    mol1.GenerateStructure();
  });
  Param p;
  mol1.CreateListParam(p);
  p.Initialize(CharmmTopPar);
  EXPECT_EQ(p.nbonds, 5);
  EXPECT_EQ(p.nangles, 7);
  EXPECT_GT(p.ndihe, 0);
  const std::string all = Dump(p);
  EXPECT_FALSE(Contains(all, "fOpt 1") || Contains(all, "read 0")) << all;

  const std::string line =
      "CG321  OG311   428.00     1.4200 ! PROT methanol vib fit EMB 11/21/89\n";
  std::string copy = ReadFile(prm);
  const auto at = copy.find(line);
  ASSERT_NE(at, std::string::npos);
  Charmm without;
  without.AddNewParam(dir.Write("without.prm", copy.erase(at, line.size())));
  Param q;
  mol1.CreateListParam(q);
  q.Initialize(without);
  const std::string fitted = Dump(q);
  const auto first = fitted.find("fOpt 1");
  ASSERT_NE(first, std::string::npos);
  const std::string entry = fitted.substr(fitted.rfind('\n', first) + 1, 30);
  EXPECT_TRUE(entry.starts_with("bond ") && Contains(entry, "CG321") && Contains(entry, "OG311"));
  EXPECT_EQ(fitted.find("fOpt 1", first + 1), std::string::npos) << fitted;

  testing::internal::CaptureStderr();
  mol1.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (const auto& a : mol1.atom) {
    EXPECT_LT(a.eps, 0.0) << a.type;
    EXPECT_GT(a.rmin, 0.0) << a.type;
  }
}

}  // namespace
