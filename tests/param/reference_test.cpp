// The bonded table of a residue from the reference CHARMM files (skipped
// when the files are absent).
#include <gtest/gtest.h>

#include <sstream>

#include "io.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/run.h"
#include "topology.h"

using testing_support::ForceFieldState;
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

// The reference parameter file without the bond lines of the pair t1-t2.
std::string WithoutBond(const std::string& text, const std::string& t1, const std::string& t2) {
  std::istringstream in(text);
  std::string line, out, section;
  while (std::getline(in, line)) {
    const std::string head = line.substr(0, 4);
    if (head == "BOND" || head == "ANGL" || head == "DIHE" || head == "IMPR" || head == "NONB")
      section = head;
    const std::string f1 = tprint(line, 1), f2 = tprint(line, 2);
    if (section == "BOND" && ((f1 == t1 && f2 == t2) || (f1 == t2 && f2 == t1))) continue;
    out += line + "\n";
  }
  return out;
}

class ReferenceParamTest : public testing::Test {
 protected:
  void SetUp() override {
    ref = testing_support::SharedReferenceDir();
    if (ref.empty()) GTEST_SKIP() << "reference files absent";
    const std::string top = ref + "/toppar/top_all36_cgenff.rtf";
    const std::string text = testing_support::ReadFile(top);
    const auto begin = text.find("RESI ETOH");
    ASSERT_NE(begin, std::string::npos);
    const auto end = text.find("\nRESI", begin + 1);
    CharmmTopPar = Charmm();
    BondStruct = CBonds();
    chemtp = Chem();
    CharmmTopPar.AddNewTopology(top);
    mol1 = CMolecule();
    testing::internal::CaptureStdout();
    mol1.read_top(dir.Write("etoh.rtf", text.substr(begin, end - begin + 1)));
    mol1.ReadCoorPDB(dir.Write("etoh.pdb", kEthanolPdb), 0, "main");
    mol1.bond_create();
    mol1.GenerateStructure();
    testing::internal::GetCapturedStdout();
  }

  // The table of the molecule filled from one parameter file.
  Param TableFrom(const std::string& prm) {
    CharmmTopPar.params = {prm};
    Param p;
    mol1.CreateListParam(p);
    p.Initialize(CharmmTopPar);
    return p;
  }

  ForceFieldState state;
  TempDir dir;
  std::string ref;
};

TEST_F(ReferenceParamTest, EveryEntryOfEthanolIsInTheGeneralForceField) {
  const Param p = TableFrom(ref + "/toppar/par_all36_cgenff.prm");
  EXPECT_EQ(p.nbonds, 5);
  EXPECT_EQ(p.nangles, 7);
  EXPECT_GT(p.ndihe, 0);
  for (int e = 0; e < p.nbonds; ++e)
    EXPECT_EQ(p.bond[e].fOpt, 0) << p.bond[e].atp1 << " " << p.bond[e].atp2;
  for (int e = 0; e < p.nangles; ++e)
    EXPECT_EQ(p.angle[e].fOpt, 0) << p.angle[e].atp1 << " " << p.angle[e].atp2;
  for (int e = 0; e < p.ndihe; ++e)
    EXPECT_EQ(p.dihe[e].fOpt, 0) << p.dihe[e].atp1 << " " << p.dihe[e].atp2;
  for (int e = 0; e < p.nbonds; ++e) EXPECT_TRUE(p.bond[e].ifread);
}

TEST_F(ReferenceParamTest, ACopyWithoutOneBondLineMarksExactlyThatEntry) {
  const std::string text = testing_support::ReadFile(ref + "/toppar/par_all36_cgenff.prm");
  const Param p = TableFrom(dir.Write("copy.prm", WithoutBond(text, "OG311", "HGP1")));
  int marked = 0;
  for (int e = 0; e < p.nbonds; ++e) {
    const auto& b = p.bond[e];
    if (!b.fOpt) continue;
    ++marked;
    EXPECT_TRUE(compareBond("OG311", "HGP1", b.atp1, b.atp2));
  }
  EXPECT_EQ(marked, 1);
  for (int e = 0; e < p.nangles; ++e) EXPECT_EQ(p.angle[e].fOpt, 0);
  for (int e = 0; e < p.ndihe; ++e) EXPECT_EQ(p.dihe[e].fOpt, 0);
}

TEST_F(ReferenceParamTest, LennardJonesOfEveryAtom) {
  CharmmTopPar.params = {ref + "/toppar/par_all36_cgenff.prm"};
  testing::internal::CaptureStderr();
  mol1.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (const auto& a : mol1.atom) {
    EXPECT_LT(a.eps, 0.0) << a.type;
    EXPECT_GT(a.rmin, 0.0) << a.type;
  }
}

}  // namespace
