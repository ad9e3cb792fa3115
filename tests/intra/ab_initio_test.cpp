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

// A Gaussian output that holds the coordinates of m and the energy e, ending
// normally.
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
  // Marks the entry over the atoms aid (in either order) as fitted.
  static void Fit(const std::vector<int>& aid) {
    const auto mark = [&](auto& entries, auto atoms) {
      for (auto& e : entries) {
        const std::vector<int> a = atoms(e);
        if (a == aid || std::equal(a.rbegin(), a.rend(), aid.begin(), aid.end())) e.fOpt = 1;
      }
    };
    mark(param.bond, [](const auto& e) { return std::vector<int>{e.i, e.j}; });
    mark(param.angle, [](const auto& e) { return std::vector<int>{e.i, e.j, e.k}; });
    mark(param.dihe, [](const auto& e) { return std::vector<int>{e.i, e.j, e.k, e.l}; });
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
  for (const auto& e : param.bond) {
    if (e.fOpt) {
      EXPECT_NEAR(e.ideal, 1.43, 1e-9);
    }
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
// minimum, its output on disk so that no job runs: a rise respaces the scan
// to the step of the force constant, none or a fall ends the run.
TEST_F(ScanTerms, ForceConstantRespacesTheScan) {
  OptInter.sBond = 1;
  Fit({1, 2});
  mol1.energy = -100.0;
  const std::string out = dir_.path().string() + "//bond/b_c_o/fc.out";
  const struct {
    Real rise;
    std::string message, printed;
  } cases[] = {
      {0.0,
       "$ error during force constant calculations b_c_o: the first scan point has the energy of the minimum, "
       "so no step can be derived; check " + out + "\n",
       ""},
      {-0.5, "",
       "$ error during force constant calculations b_c_o:  minimum structure is not the real minimum;\n"
       "$ redo optimization\n"},
      {1.0, "", "$ " + out + " exists nothing done\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rise);
    Printed([] { BuildScanTerms(mol1); });
    dir_.Write("bond/b_c_o/fc.out", Output(mol1, Format("%.12f", -100.0 + c.rise / 627.51)));
    ProcessExit end{0, ""};
    const std::string printed = Printed([&] {
      try {
        mol1.Force_Const(0);
      } catch (const ProcessExit& e) {
        end = e;
      }
    });
    EXPECT_TRUE(Contains(printed, c.printed)) << printed;
    EXPECT_EQ(end.status, c.rise > 0.0 ? 0 : 1);
    EXPECT_EQ(end.message, c.message);
  }
  const Real step = 0.06 * std::sqrt(2.0) / 3;
  ExpectValues(Values(mol1.term[0]), {1.43 - 3 * step, 1.43 - 2 * step, 1.43 - step, 1.43, 1.43 + step,
                                      1.43 + 2 * step, 1.43 + 3 * step});
  EXPECT_TRUE(Contains(dir_.Read("bond/b_c_o/pdb/fc.pdb"), "  1.430   0.000   0.000"));
}

// Outputs that end normally but lack what a force constant, a scan point or
// a target structure needs stop the run with a message that names them.
TEST_F(ScanTerms, OutputsWithoutTheirItemsAreNamed) {
  OptInter.sBond = 1;
  Fit({1, 2});
  Printed([] { BuildScanTerms(mol1); });
  const std::string bond = dir_.path().string() + "//bond/b_c_o/";
  const std::string target = dir_.path().string() + "/bond/target-structures/";
  const std::string coordinates = Output(mol1, "-100.0");
  CMolecule fewer = mol1;
  fewer.natm = 5;
  const struct {
    char job;  // f: force constant, s: scan point, t: target structures
    std::string file, text, message;
  } cases[] = {
      {'f', "bond/b_c_o/fc.out", Output(fewer, "-99.9"),
       "$ err gaussian output " + bond + "fc.out holds 15 input-orientation coordinates, 18 expected: inspect or "
       "remove it"},
      {'s', "bond/b_c_o/3.scan.out", coordinates.substr(0, coordinates.find(" SCF")) + " Optimization completed.\n" + kNormalTermination,
       "$ err gaussian output " + bond + "3.scan.out holds no energy: inspect or remove it"},
      {'s', "bond/b_c_o/3.scan.out", coordinates,
       "$ err gaussian output " + bond + "3.scan.out holds 0 force components, 18 expected: inspect or remove it"},
      {'t', "bond/target-structures/n-structures.dat", "three\n",
       "$ err the first line of " + target + "n-structures.dat does not start with the number of structures"},
      {'t', "bond/target-structures/n-structures.dat", "1 structure\n",
       "$ err target structure " + target + "0.out is missing or incomplete (no termination line)"},
      {'t', "bond/target-structures/0.out", Output(fewer, "-99.9"),
       "$ err target structure " + target + "0.out holds 15 coordinates, 18 expected"},
      {'t', "bond/target-structures/0.out", coordinates.substr(0, coordinates.find(" SCF")) + kNormalTermination,
       "$ err target structure " + target + "0.out holds 18 coordinates and no energy, 18 expected"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    dir_.Write(c.file, c.text);
    try {
      Printed([&] {
        CTargetStructures t;
        if (c.job == 'f') mol1.Force_Const(0);
        if (c.job == 's') mol1.QM_PES_scan(0);
        if (c.job == 't') mol1.QM_Target_Structures(t);
      });
      ADD_FAILURE() << "no error";
    } catch (const DetailedError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
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
