// The QM reference preparation on small built molecules, with the QM outputs
// placed where the jobs would leave them: no external program runs.
#include "intra/ab_initio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/grid.h"
#include "io.h"
#include "param/molecule_fixture.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/gaussian_outputs.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using namespace testing_support;

// A Gaussian output that holds the coordinates of m (moved by shift along x
// for atom 0) and the energy e, ending normally.
std::string Output(const CMolecule& m, const std::string& e) {
  std::string rows;
  for (int i = 0; i < m.natm; ++i) {
    const auto& x = m.atom[i].xyz;
    rows += Format("%7d %10d %11d %15.6f %11.6f %11.6f\n", i + 1, m.atom[i].atmnum, 0, x[0], x[1],
                   x[2]);
  }
  return OrientationTable("Input", rows) + ScfDone(e) +
         " Optimization completed.\n Normal termination of Gaussian 09.\n";
}

class ScanTerms : public ::testing::Test {
 protected:
  ShellVariable shell_{"/bin/sh"};  // the job command's shell is part of what is printed
  void SetUp() override {
    mol1 = TypedMethanol();  // H1 C O H2 H3 HO; C-O 1.43 A, H1-C-O 90, H1-C-O-HO 90 degrees
    Printed([] { mol1.CreateListParam(param); });
  }
  // Marks the entry of the given kind made by the term over the atoms aid
  // (in either order).
  static void Fit(const std::vector<int>& aid) {
    const auto same = [&](std::vector<int> e) {
      if (e == aid) return true;
      std::reverse(e.begin(), e.end());
      return e == aid;
    };
    for (int e = 0; e < param.nbonds; ++e)
      if (aid.size() == 2 && same({param.bond[e].i, param.bond[e].j})) param.bond[e].fOpt = 1;
    for (int e = 0; e < param.nangles; ++e) {
      const auto& a = param.angle[e];
      if (aid.size() == 3 && same({a.i, a.j, a.k})) param.angle[e].fOpt = 1;
    }
    for (int e = 0; e < param.ndihe; ++e) {
      const auto& d = param.dihe[e];
      if (aid.size() == 4 && same({d.i, d.j, d.k, d.l})) param.dihe[e].fOpt = 1;
    }
  }
  static std::vector<Real> Values(const CMolecule::ClassPESScanBonded& t) {
    return std::vector<Real>(t.val.begin(), t.val.begin() + t.npt);
  }
  static std::vector<int> Order(const CMolecule::ClassPESScanBonded& t) {
    std::vector<int> order;
    for (const auto& o : t.optOrder) order.push_back(o.i * 100 + o.iprev);
    return order;
  }

  ForceFieldState state_;
  TempDir dir_;
  FpathScope fpath_{dir_.path().string() + "/"};
};

void ExpectValues(const std::vector<Real>& got, const std::vector<Real>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-5) << k;
}

TEST_F(ScanTerms, RigidTermsAroundTheCurrentValueFromTheMiddleOutwards) {
  OptInter.sBond = OptInter.sAngle = OptInter.sDihe = 1;
  Fit({1, 2});        // C-O
  Fit({0, 1, 2});     // H1-C-O
  Fit({0, 1, 2, 5});  // H1-C-O-HO
  Printed([] { BuildScanTerms(mol1); });
  ASSERT_EQ(mol1.term.size(), 3u);
  const auto& b = mol1.term[0];
  EXPECT_TRUE(b.name == "b_c_o" || b.name == "b_o_c") << b.name;
  ExpectValues(Values(b), {1.37, 1.39, 1.41, 1.43, 1.45, 1.47, 1.49});
  // Point 3 from the reference, then up from its neighbour, then down.
  EXPECT_EQ(Order(b), (std::vector<int>{299, 403, 504, 605, 203, 102, 1}));
  for (int e = 0; e < param.nbonds; ++e)
    if (param.bond[e].fOpt) {
      EXPECT_NEAR(param.bond[e].ideal, 1.43, 1e-9);
    }
  ExpectValues(Values(mol1.term[1]),
               {86, 86 + 4 / 3.0, 86 + 8 / 3.0, 90, 90 + 4 / 3.0, 90 + 8 / 3.0, 94});
  ExpectValues(Values(mol1.term[2]),
               {65, 65 + 25 / 3.0, 65 + 50 / 3.0, 90, 90 + 25 / 3.0, 90 + 50 / 3.0, 115});
}

// The hydroxyl hydrogen turned so that H1-C-O-HO is phi degrees.
void TurnHydroxyl(Real phi) {
  const Real r = phi * Const::PI / 180.0;
  mol1.atom[5].xyz = {1.43, 0.96 * std::cos(r), 0.96 * std::sin(r)};
  if (std::fabs(mol1.IC({0, 1, 2, 5}) - phi) > 1e-6) mol1.atom[5].xyz[2] *= -1;
}

TEST_F(ScanTerms, SoftDihedralOnATenDegreeGridWithTheCurrentValueInserted) {
  Fit({0, 1, 2, 5});
  CSoftDihe soft;
  soft.atomName = {"", "C", "O", ""};
  soft.aid = {-1, 1, 2, -1};
  // The current value at index `start` between the grid values around it.
  const struct {
    Real phi;
    int start;
    std::vector<Real> around;
  } cases[] = {
      {65.0, 24, {60, 65, 70}}, {-175.0, 1, {-170, -175, -160}}, {180.0, 35, {170, 180, 180}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.phi);
    TurnHydroxyl(c.phi);
    OptInter.SoftDihe = {soft};
    Printed([] { BuildScanTerms(mol1); });
    ASSERT_EQ(mol1.term.size(), 1u);  // no rigid term about a soft bond
    const auto& t = mol1.term[0];
    ASSERT_EQ(t.npt, 37);
    EXPECT_EQ(t.optOrder[0].i, c.start);
    ExpectValues({t.val[c.start - 1], t.val[c.start], t.val[c.start + 1]}, c.around);
    EXPECT_EQ(t.val[0], -170.0);
    EXPECT_EQ(t.val[36], 180.0);
  }
}

TEST_F(ScanTerms, SoftDihedralTakesTheHeaviestOuterAtoms) {
  // H1-C1(C0)-C2(H2)(H3), the hydrogen first: about C2-C1 the outer atoms
  // are H2 or H3 and C0, although the dihedrals over H1 come first.
  mol1 = MakeMolecule({{"H1", 1, -0.4, -1.0, 0.0},
                       {"C1", 6, 0.0, 0.0, 0.0},
                       {"C2", 6, 1.5, 0.0, 0.0},
                       {"C0", 6, -1.2, 0.8, 0.0},
                       {"H2", 1, 1.9, 1.0, 0.2},
                       {"H3", 1, 1.9, -0.5, 0.9}});
  const int bonds[][2] = {{0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}};
  for (const auto& b : bonds) mol1.atom[b[0]].bond[b[1]] = mol1.atom[b[1]].bond[b[0]] = 1;
  for (auto& a : mol1.atom) a.type = a.atmnum == 6 ? "CT" : "HA";
  Printed([] {
    mol1.GenerateStructure();
    mol1.CreateListParam(param);
  });
  CSoftDihe soft;
  soft.aid = {-1, 2, 1, -1};
  OptInter.SoftDihe = {soft};
  Printed([] { BuildScanTerms(mol1); });
  const auto& aid = OptInter.SoftDihe[0].aid;
  ASSERT_EQ(mol1.dihedral[0].aid[0] + mol1.dihedral[0].aid[3], 0 + 4);  // H1-C1-C2-H2 first
  EXPECT_TRUE(aid[0] == 4 || aid[0] == 5);
  EXPECT_EQ(aid[3], 3);
  EXPECT_EQ(OptInter.SoftDihe[0].atomName[3], "C0");
}

TEST_F(ScanTerms, SoftDihedralWithoutADihedralAboutItsBondStopsBeforeAnyJob) {
  CSoftDihe soft;
  soft.aid = {-1, 1, 0, -1};  // C-H1: H1 ends the chain
  OptInter.SoftDihe = {soft};
  const ProcessExit e = ExpectExit([] { Printed([] { mol1.BondedTermsAbInitio(); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(
      e.message,
      "$ soft dihedral was not defined : the molecule has no dihedral about the bond C - H1\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "bond"));
}

// The first point of the C-O scan (1.37 A) found `rise` kcal/mol above the
// minimum; the output is on disk, so no job runs.
TEST_F(ScanTerms, ForceConstantRespacesTheScan) {
  OptInter.sBond = 1;
  Fit({1, 2});
  Printed([] { BuildScanTerms(mol1); });
  mol1.energy = -100.0;
  const std::string out = dir_.path().string() + "//bond/b_c_o/fc.out";
  const Real h = 0.06, step = h * std::sqrt(2.0) / 3;
  const struct {
    const char* rise;
    std::string message;
  } cases[] = {
      {"1.0", ""},
      {"0.0",
       "$ error during force constant calculations b_c_o: the first scan point has the "
       "energy of the minimum, so no step can be derived; check " +
           out + "\n"},
      {"-0.5", ""},
  };
  const std::string notMinimum =
      "$ error during force constant calculations b_c_o:  minimum structure is not the real "
      "minimum;\n$ redo optimization\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rise);
    Printed([] { BuildScanTerms(mol1); });
    const Real e = -100.0 + strfloat(c.rise) / 627.51;
    dir_.Write("bond/b_c_o/fc.out", Output(mol1, Format("%.12f", e)));
    if (strfloat(c.rise) > 0) {
      EXPECT_EQ(Printed([] { mol1.Force_Const(0); }), "$ " + out + " exists nothing done\n");
      ExpectValues(Values(mol1.term[0]), {1.43 - 3 * step, 1.43 - 2 * step, 1.43 - step, 1.43,
                                          1.43 + step, 1.43 + 2 * step, 1.43 + 3 * step});
      EXPECT_TRUE(Contains(dir_.Read("bond/b_c_o/pdb/fc.pdb"), "  1.430   0.000   0.000"));
      continue;
    }
    testing::internal::CaptureStdout();
    const ProcessExit x = ExpectExit([] { mol1.Force_Const(0); });
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(x.status, 1);
    EXPECT_EQ(x.message, c.message);
    if (c.message.empty()) {
      EXPECT_TRUE(Contains(printed, notMinimum)) << printed;
    }
  }
  CMolecule fewer = mol1;
  fewer.natm = 5;
  dir_.Write("bond/b_c_o/fc.out", Output(fewer, "-99.9"));
  try {
    Printed([] { mol1.Force_Const(0); });
    ADD_FAILURE() << "a short output was read";
  } catch (const DetailedError& e) {
    EXPECT_EQ(std::string(e.what()), "$ err gaussian output " + out +
                                         " holds 15 input-orientation coordinates, 18 expected: "
                                         "inspect or remove it");
  }
}

// Outputs that end normally but lack what a scan point or a target structure
// needs stop the run with a message that names them.
TEST_F(ScanTerms, OutputsWithoutTheirItemsAreNamed) {
  OptInter.sBond = 1;
  Fit({1, 2});
  Printed([] { BuildScanTerms(mol1); });
  const std::string scan = dir_.path().string() + "//bond/b_c_o/3.scan.out";
  const std::string target = dir_.path().string() + "/bond/target-structures/";
  const std::string coordinates = Output(mol1, "-100.0");
  const struct {
    const char* name;
    std::string file, text, message;
  } cases[] = {
      {"scan point without energy", "bond/b_c_o/3.scan.out",
       coordinates.substr(0, coordinates.find(" SCF")) + " Optimization completed.\n" + kNormalTermination,
       "$ err gaussian output " + scan + " holds no energy: inspect or remove it"},
      {"scan point without forces", "bond/b_c_o/3.scan.out", coordinates,
       "$ err gaussian output " + scan +
           " holds 0 force components, 18 expected: inspect or remove it"},
      {"structure count that is no number", "bond/target-structures/n-structures.dat", "three\n",
       "$ err the first line of " + target +
           "n-structures.dat does not start with the number of structures"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dir_.Write(c.file, c.text);
    try {
      Printed([&] {
        if (c.file.starts_with("bond/b_c_o")) mol1.QM_PES_scan(0);
        CTargetStructures t;
        mol1.QM_Target_Structures(t);
      });
      ADD_FAILURE() << "no error";
    } catch (const DetailedError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST_F(ScanTerms, TargetStructuresGiveEnergiesAboveTheLowest) {
  CTargetStructures t;
  Printed([&] { mol1.QM_Target_Structures(t); });
  EXPECT_EQ(t.nStr, 0);
  EXPECT_EQ(dir_.Read("bond/target-structures/qm_ref.dat"), "# Nstr Eqm\n");
  dir_.Write("bond/target-structures/n-structures.dat", "3 structures\n");
  const char* energies[] = {"-100.000", "-100.002", "-99.999"};
  for (int i = 0; i < 3; ++i)
    dir_.Write("bond/target-structures/" + std::to_string(i) + ".out", Output(mol1, energies[i]));
  Printed([&] { mol1.QM_Target_Structures(t); });
  ASSERT_EQ(t.Eqm.size(), 3u);
  EXPECT_NEAR(t.Eqm[0], 1.25502, 1e-9);
  EXPECT_EQ(t.Eqm[1], 0.0);
  EXPECT_NEAR(t.Eqm[2], 1.88253, 1e-9);
  EXPECT_EQ(dir_.Read("bond/target-structures/qm_ref.dat"),
            "# Nstr Eqm\n0 1.25502\n1 0\n2 1.88253\n");
  EXPECT_TRUE(Contains(dir_.Read("bond/target-structures/pdb/2.pdb"), "HO "));
  dir_.Write("bond/target-structures/1.out", ScfDone("-100.0"));
  EXPECT_THROW(Printed([&] { mol1.QM_Target_Structures(t); }), DetailedError);
}

TEST(DihedralGrid, PointsNeighboursAcrossTheTurnAndHelpers) {
  const CParamMultiDiheScan saved = ParamMultiDiheScan;
  ParamMultiDiheScan.meshSize = 30.0;
  CGrid g;
  g.nDim = 2;
  std::vector<double> v = {-180.0, -180.0};
  g.AddPoints(0, v);
  ASSERT_EQ(g.point.size(), 144u);
  EXPECT_EQ(g.point[13].val, (std::vector<double>{-150.0, -150.0}));
  std::vector<double> seed = {170.5, 0.5};
  g.NewPoint(seed);
  g.point.back().ifSeed = true;
  g.FindNeighbors();
  const auto at = [&](const CGridPoint* p) { return p->val; };
  // (150, 0): along the first angle 120 and, across the turn, -180.
  const CGridPoint& p = g.point[11 * 12 + 6];
  ASSERT_EQ(p.val, (std::vector<double>{150.0, 0.0}));
  ASSERT_EQ(p.closePoint.size(), 4u);
  EXPECT_EQ(at(p.closePoint[0]), (std::vector<double>{120.0, 0.0}));
  EXPECT_EQ(at(p.closePoint[1]), (std::vector<double>{-180.0, 0.0}));
  EXPECT_EQ(at(p.closePoint[2]), (std::vector<double>{150.0, -30.0}));
  EXPECT_EQ(at(p.closePoint[3]), (std::vector<double>{150.0, 30.0}));
  EXPECT_EQ(g.point.back().closePoint.size(), 4u);  // the four corners around the seed
  std::vector<double> wrong = {1.0};
  const ProcessExit e = ExpectExit([&] { g.NewPoint(wrong); });
  EXPECT_EQ(e.message, "error in multidimentional scan\n");
  ParamMultiDiheScan = saved;

  std::vector<int> a = {1, 2, 3, 4};
  EXPECT_TRUE(ifDiheTheSame(a, {4, 3, 2, 1}));
  EXPECT_FALSE(ifDiheTheSame(a, {1, 2, 4, 3}));
  EXPECT_EQ(ExpectExit([&] {
              ifDiheTheSame(a, {1, 2, 3});
            }).message,
            "wrong dimentions in func ifDiheTheSame\n");
}

}  // namespace
