#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "MainScript.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "support/gaussian_outputs.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "util.h"

namespace {

using namespace testing_support;

const std::string kInputRows =
    "      1          1           0        0.900000    0.800000    0.500000\n"
    "      2          8           0        0.000000    0.700000    0.000000\n"
    "      3          8           0        0.000000   -0.700000    0.000000\n"
    "      4          1           0       -0.900000   -0.800000    0.500000\n";
const std::string kStandardRows =
    "      1          1           0        0.800000    0.900000    0.500000\n"
    "      2          8           0        0.700000    0.000000    0.000000\n"
    "      3          8           0       -0.700000    0.000000    0.000000\n"
    "      4          1           0       -0.800000   -0.900000    0.500000\n";
const std::string kMullikenRows =
    "     1  H    0.250000\n"
    "     2  O   -0.750000\n"
    "     3  O   -0.750000\n"
    "     4  H    0.250000\n";
const std::string kDipole = DipoleBlock("0.1000", "-0.2000", "1.5000", "1.5166");

std::string OptOutput(const std::string& standardRows = kStandardRows,
                      const std::string& mullikenRows = kMullikenRows,
                      const char* lastAnswer = "YES") {
  return OrientationTable("Input", kInputRows) +
         (standardRows.empty() ? "" : OrientationTable("Standard", standardRows)) +
         ScfDone("-151.1234567") + ConvergenceTable("YES", "YES", "YES", lastAnswer) +
         MullikenBlock(mullikenRows) + kDipole;
}

// The QM operations on a small molecule in a directory of its own; the QM
// options, the bonded-fit settings and the working directory are put back.
class QMOperations : public ::testing::Test {
 protected:
  void SetUp() override { fpath = dir_.path().string() + "/"; }
  void TearDown() override {
    fpath = savedPath_;
    Gaussian::options = savedOptions_;
    OptInter = savedInter_;
  }

  // Adds a second stored geometry with the same coordinates.
  void AddGeometry() {
    mol_.ngeom = 2;
    mol_.xyz.insert(mol_.xyz.end(), mol_.xyz.begin(), mol_.xyz.end());
    mol_.QMEnergy.resize(2, 0.0);
    mol_.QMDipoleMoment.resize(2);
  }

  TempDir dir_;
  CMolecule mol_ = HydrogenPeroxide();
  std::string savedPath_ = fpath;
  Gaussian::GaussianJob savedOptions_ = Gaussian::options;
  COptInter savedInter_ = OptInter;
};

TEST_F(QMOperations, OptimisationDeckForAnAnion) {
  mol_.netcharge = -1.0;
  dir_.Write("opt1.out", OptOutput());
  Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(dir_.Read("opt1.inp"),
            "%NoSave\n"
            "#HF/6-31G* Opt=ModRedun \n"
            "\n"
            "optimization for geometry 0\n"
            "\n"
            "-1 1\n"
            "  1 0   0.90000   0.80000   0.50000\n"
            "  8 0   0.00000   0.70000   0.00000\n"
            "  8 0   0.00000  -0.70000   0.00000\n"
            "  1 0  -0.90000  -0.80000   0.50000\n"
            "\n"
            "\n"
            "\n");
}

TEST_F(QMOperations, OptimisationDeckWithProcessorsCommandAndGlobalConstraints) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  OptInter.nCostrGlobal = 2;
  OptInter.FixDihe[0].AtomName = {1, 2, -1, -1};
  OptInter.FixDihe[0].value = 500.0;
  OptInter.FixDihe[1].AtomName = {0, 1, 2, 3};
  OptInter.FixDihe[1].value = 120.5;
  OptInter.FixDihe[2].AtomName = {3, 2, 1, 0};  // beyond the count: not written
  dir_.Write("opt1.out", OptOutput());
  Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(dir_.Read("opt1.inp"),
            "%mem=1GB\n"
            "%NPROC=4\n"
            "%NoSave\n"
            "#HF/6-31G* Opt=ModRedun \n"
            "\n"
            "optimization for geometry 0\n"
            "\n"
            "0 1\n"
            "  1 0   0.90000   0.80000   0.50000\n"
            "  8 0   0.00000   0.70000   0.00000\n"
            "  8 0   0.00000  -0.70000   0.00000\n"
            "  1 0  -0.90000  -0.80000   0.50000\n"
            "\n"
            "2 3 500.00000 F\n"
            "1 2 3 4 120.50000 F\n"
            "\n"
            "\n");
}

TEST_F(QMOperations, OptimisationTakesTheStandardOrientationAndStoresTheResults) {
  dir_.Write("opt1.out", OptOutput());
  const std::string printed = Printed([&] { mol_.QMOptCoordinates(0); });

  EXPECT_TRUE(Contains(printed, "$ Optimization started : ")) << printed;
  EXPECT_TRUE(Contains(printed, "$ Ab-initio level of theory : HF/6-31G* \n"));
  EXPECT_TRUE(Contains(printed, "$ Using coordinate of geometry : 1\n"));
  EXPECT_TRUE(Contains(printed, "$ " + fpath + "/opt1.out exists nothing done\n"));
  EXPECT_TRUE(Contains(printed,
                       "$ full convergence confirmed\n"
                       "$ Coordinates are set to the optimized\n"
                       "$ E(HF/6-31G*) = -151.1234567\n"
                       "$ Optimization was completed "))
      << printed;

  EXPECT_EQ(mol_.atom[0].xyz, (std::vector<double>{0.8, 0.9, 0.5}));
  EXPECT_EQ(mol_.atom[3].xyz, (std::vector<double>{-0.8, -0.9, 0.5}));
  EXPECT_DOUBLE_EQ(mol_.atom[1].rv.x, 0.7);
  EXPECT_DOUBLE_EQ(mol_.xyz[3], 0.7);  // geometry 0, atom 1, x
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[0], -151.1234567);
  EXPECT_DOUBLE_EQ(mol_.energy, -151.1234567);
  EXPECT_DOUBLE_EQ(mol_.QMDipoleMoment[0].z, 1.5);
  EXPECT_DOUBLE_EQ(mol_.QMDipoleMoment[0].norma, 1.5166);
  EXPECT_DOUBLE_EQ(mol_.QMDipole.y, -0.2);
  EXPECT_DOUBLE_EQ(mol_.atom[0].qpop, 0.25);
  EXPECT_DOUBLE_EQ(mol_.atom[2].qpop, -0.75);

  const std::string pdb = dir_.Read("opt1.pdb");
  EXPECT_TRUE(Contains(pdb, "ATOM      1   H1 MOL     1       0.800   0.900   0.500  1.00  0.00"))
      << pdb;
  EXPECT_TRUE(pdb.ends_with("END\n"));
}

TEST_F(QMOperations, RepeatedOptimisationGivesTheSameMolecule) {
  dir_.Write("opt1.out", OptOutput());
  Printed([&] { mol_.QMOptCoordinates(0); });
  const CMolecule once = mol_;
  Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(mol_.xyz, once.xyz);
  EXPECT_EQ(mol_.QMEnergy, once.QMEnergy);
  EXPECT_EQ(mol_.atom[0].xyz, once.atom[0].xyz);
}

TEST_F(QMOperations, OptimisationOfTheSecondGeometry) {
  AddGeometry();
  dir_.Write("opt2.out", OptOutput());
  Printed([&] { mol_.QMOptCoordinates(1); });
  EXPECT_TRUE(Contains(dir_.Read("opt2.inp"), "\noptimization for geometry 1\n"));
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[1], -151.1234567);
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[0], 0.0);
  EXPECT_DOUBLE_EQ(mol_.xyz[12], 0.8);  // geometry 1, atom 0, x
  EXPECT_DOUBLE_EQ(mol_.xyz[0], 0.9);   // geometry 0 keeps its coordinates
  EXPECT_TRUE(Contains(dir_.Read("opt2.pdb"), "0.800   0.900   0.500"));
}

TEST_F(QMOperations, OptimisationFallsBackToTheInputOrientation) {
  dir_.Write("opt1.out", OptOutput(""));
  Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(mol_.atom[0].xyz, (std::vector<double>{0.9, 0.8, 0.5}));
}

TEST_F(QMOperations, UnconvergedOptimisationIsReportedAndItsGeometryKept) {
  dir_.Write("opt1.out", OptOutput(kStandardRows, kMullikenRows, "NO"));
  const std::string printed = Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_TRUE(Contains(printed,
                       "$ err no convergence : please check the output file\n"
                       "$ Coordinates are set to the optimized\n"));
  EXPECT_FALSE(Contains(printed, "full convergence"));
  EXPECT_EQ(mol_.atom[0].xyz, (std::vector<double>{0.8, 0.9, 0.5}));
}

TEST_F(QMOperations, BrokenOptimisationOutputEndsTheProcess) {
  const std::string out = fpath + "/opt1.out\n";
  const struct {
    std::string output, message;
  } cases[] = {
      {ScfDone("-151.1") + MullikenBlock(kMullikenRows),
       " no output orientation in gaussian file " + out},
      {OptOutput(kStandardRows.substr(0, kStandardRows.size() / 2)),
       "$ err 2 atoms instead of 4 in the orientation of gaussian file " + out},
      {OptOutput(kStandardRows, "     1  H    0.250000\n"), ""},  // wrong Mulliken count
      {OrientationTable("Standard", kStandardRows) + MullikenBlock(kMullikenRows),
       "$ err no energy in gaussian output file : " + out},
  };
  for (const auto& c : cases) {
    dir_.Write("opt1.out", c.output);
    const ProcessExit e = ExpectExit([&] { Printed([&] { mol_.QMOptCoordinates(0); }); });
    EXPECT_EQ(e.status, 1) << c.message;
    EXPECT_EQ(e.message, c.message);
  }
}

TEST_F(QMOperations, DeckThatCannotBeWrittenEndsTheProcess) {
  fpath = (dir_.path() / "absent").string() + "/";
  const ProcessExit opt = ExpectExit([&] { Printed([&] { mol_.QMOptCoordinates(0); }); });
  EXPECT_EQ(opt.status, 1);
  EXPECT_EQ(opt.message, "$ err unable to open file : " + fpath + "/opt1.inp\n");
  const ProcessExit sp = ExpectExit([&] { Printed([&] { mol_.QMSinglePoint("sp", "HF", 0); }); });
  EXPECT_EQ(sp.message, "$ err unable to open file : " + fpath + "/sp1.inp\n");
  const ProcessExit pop = ExpectExit([&] { Printed([&] { mol_.PopEspCharges(0); }); });
  EXPECT_EQ(pop.status, 1);
  EXPECT_EQ(pop.message, "$ Unable to open file : " + fpath + "/pop1.inp\n");
}

TEST_F(QMOperations, SinglePointDeckAndEnergy) {
  mol_.netcharge = -1.0;
  Gaussian::options.addCommand = "%mem=1GB";  // not part of this deck
  dir_.Write("sp1.out",
             ScfDone("-150.5") + " E2 =    -0.3795333610D-01 EUMP2 =    -0.15100000000D+03\n");
  const std::string printed = Printed([&] { mol_.QMSinglePoint("sp", "MP2/6-31G* ", 0); });
  EXPECT_EQ(dir_.Read("sp1.inp"),
            "#MP2/6-31G*  Test NoSymm\n"
            "\n"
            "MolName: \n"
            "\n"
            "   -1 1\n"
            "  1 -1   0.90000   0.80000   0.50000\n"
            "  8 -1   0.00000   0.70000   0.00000\n"
            "  8 -1   0.00000  -0.70000   0.00000\n"
            "  1 -1  -0.90000  -0.80000   0.50000\n"
            "\n"
            "\n");
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[0], -151.0);
  EXPECT_DOUBLE_EQ(mol_.energy, -151.0);
  EXPECT_TRUE(Contains(printed, "$ Single-point calculation started : "));
  EXPECT_TRUE(Contains(printed, "$ Ab-initio level of theory : MP2/6-31G* \n"));
  EXPECT_TRUE(Contains(printed, "$ Single-point calculation finished : "));
  EXPECT_TRUE(Contains(printed, "$ E(HF/6-31G*) = -151.0000000\n")) << printed;
}

TEST_F(QMOperations, SinglePointDeckWithProcessors) {
  Gaussian::options.nproc = 4;
  AddGeometry();
  dir_.Write("wat2.out", ScfDone("-150.5"));
  Printed([&] { mol_.QMSinglePoint("wat", "HF/STO-3G", 1); });
  EXPECT_TRUE(dir_.Read("wat2.inp").starts_with("%NPROC=4\n#HF/STO-3G Test NoSymm\n"));
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[1], -150.5);
}

TEST_F(QMOperations, SinglePointWithoutEnergyEndsTheProcess) {
  dir_.Write("sp1.out", MullikenBlock(kMullikenRows));
  const ProcessExit e = ExpectExit([&] { Printed([&] { mol_.QMSinglePoint("sp", "HF", 0); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err no energy in gaussian output file : " + fpath + "/sp1.out\n");
}

const std::string kEspRows =
    "     1  H    0.400000\n"
    "     2  O   -0.400000\n"
    "     3  O   -0.400000\n"
    "     4  H    0.400000\n";

std::string EspPoints() {
  return "      ESP Fit Center    5 is at   0.000000  0.000000  0.000000\n"
         "      ESP Fit Center    6 is at   3.000000  4.700000  0.000000\n";
}

std::string EspValues() {
  return "    1 Atom     -1.000000\n"
         "    5 Fit      -0.010000\n"
         "    6 Fit       0.020000\n";
}

TEST_F(QMOperations, PopulationDeckWithDummyCentreProcessorsAndCommand) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  mol_.netcharge = -1.0;
  mol_.atom[3].atmnum = 0;
  dir_.Write("pop1.out", EspPoints() +
                             EspChargesBlock("     1  H    0.4\n     2  O   -0.7\n"
                                             "     3  O   -0.7\n") +
                             EspValues());
  Printed([&] { mol_.PopEspCharges(0); });
  EXPECT_EQ(dir_.Read("pop1.inp"),
            "%NPROC=4\n"
            "%mem=1GB\n"
            "%NoSave\n"
            "#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)\n"
            "\n"
            "MK charges and electric potentials\n"
            "\n"
            "-1 1\n"
            "  1 -1   0.90000   0.80000   0.50000\n"
            "  8 -1   0.00000   0.70000   0.00000\n"
            "  8 -1   0.00000  -0.70000   0.00000\n"
            " X  -1  -0.90000  -0.80000   0.50000\n"
            "\n"
            "\n");
  // Gaussian leaves the dummy centre out of the charges.
  EXPECT_DOUBLE_EQ(mol_.atom[2].qpop, -0.7);
  EXPECT_DOUBLE_EQ(mol_.atom[3].qpop, 0.0);
}

TEST_F(QMOperations, PopulationDeckWithOneProcessorAndNoCommand) {
  dir_.Write("pop1.out", EspPoints() + EspChargesBlock(kEspRows) + EspValues());
  Printed([&] { mol_.PopEspCharges(0); });
  EXPECT_TRUE(dir_.Read("pop1.inp").starts_with("%NoSave\n#HF/6-31G* NoSymm Pop=MK"));
}

TEST_F(QMOperations, PopulationStoresChargesDipoleAndPotentialPointByPoint) {
  AddGeometry();
  dir_.Write("pop2.out", EspPoints() + EspChargesBlock(kEspRows) + EspValues() + kDipole);
  const std::string printed = Printed([&] { mol_.PopEspCharges(1); });
  EXPECT_TRUE(Contains(printed, "$ Population analysis started : "));
  EXPECT_TRUE(Contains(printed, "$ Ab-initio level of theory : HF/6-31G* \n"));
  EXPECT_TRUE(Contains(printed, "$ Using coordinate of geometry : 2\n"));
  EXPECT_TRUE(Contains(printed, "$ Population analysis finished : "));

  EXPECT_DOUBLE_EQ(mol_.atom[0].qpop, 0.4);
  EXPECT_DOUBLE_EQ(mol_.atom[1].qpop, -0.4);
  EXPECT_DOUBLE_EQ(mol_.QMDipoleMoment[1].x, 0.1);
  EXPECT_DOUBLE_EQ(mol_.QMDipole.norma, 1.5166);

  ASSERT_EQ(mol_.ESP.QMESPval.size(), 2u);
  ASSERT_EQ(mol_.ESP.distESPPoint.size(), 2u);
  EXPECT_TRUE(mol_.ESP.QMESPval[0].empty());
  ASSERT_EQ(mol_.ESP.QMESPval[1].size(), 2u);
  EXPECT_DOUBLE_EQ(mol_.ESP.QMESPval[1][0], -0.01 * 627.51);
  EXPECT_DOUBLE_EQ(mol_.ESP.QMESPval[1][1], 0.02 * 627.51);
  const auto& d = mol_.ESP.distESPPoint[1];
  ASSERT_EQ(d.size(), 8u);
  EXPECT_DOUBLE_EQ(d[1], 0.7);                                      // point 0, atom O1
  EXPECT_DOUBLE_EQ(d[4], std::sqrt(2.1 * 2.1 + 3.9 * 3.9 + 0.25));  // point 1, atom H1
  EXPECT_DOUBLE_EQ(d[6], std::sqrt(9.0 + 5.4 * 5.4));               // point 1, atom O2
  EXPECT_TRUE(mol_.ESP.val.empty());
  EXPECT_TRUE(mol_.ESP.dist.empty());
}

TEST_F(QMOperations, BrokenPopulationOutputEndsTheProcess) {
  const std::string differentCounts =
      "$ err : the number of esp values and number of coordinates are different\n";
  const struct {
    std::string output, message;
  } cases[] = {
      {EspPoints() + EspChargesBlock(kEspRows) + "    5 Fit      -0.010000\n", differentCounts},
      {EspChargesBlock(kEspRows), differentCounts},  // no points at all
      {"      ESP Fit Center    5 is at   0.000000  -0.700000  0.000000\n" +
           EspChargesBlock(kEspRows) + "    5 Fit      -0.010000\n",
       "$ err distance between esp point and an atom is too small\n"},
      {EspPoints() + EspChargesBlock("     1  H    0.4\n     2  O   -0.4\n") + EspValues(),
       "$ err no ESP charges for every atom in gaussian output file : " + fpath + "/pop1.out\n"},
  };
  for (const auto& c : cases) {
    dir_.Write("pop1.out", c.output);
    const ProcessExit e = ExpectExit([&] { Printed([&] { mol_.PopEspCharges(0); }); });
    EXPECT_EQ(e.status, 1) << c.message;
    EXPECT_EQ(e.message, c.message);
  }
}

// The script commands act on the process-wide molecule.
class QMCommands : public QMOperations {
 protected:
  void SetUp() override {
    QMOperations::SetUp();
    AddGeometry();
    mol1 = mol_;
  }
  void TearDown() override {
    mol1 = savedMolecule_;
    QMOperations::TearDown();
  }
  CMolecule savedMolecule_ = mol1;
};

TEST_F(QMCommands, GeometryNumberOnlyAsTheSecondOfTwoWords) {
  dir_.Write("opt1.out", OptOutput());
  dir_.Write("opt2.out", OptOutput());
  dir_.Write("sp2.out", ScfDone("-150.25"));
  dir_.Write("pop1.out", EspPoints() + EspChargesBlock(kEspRows) + EspValues());
  Printed([&] {
    MainScript::ProcessScriptMain(
        "OptimizeGeometry 2\n"
        "singlepoint 2\n"
        "population 2 extra\n");
  });
  EXPECT_TRUE(Contains(dir_.Read("opt2.inp"), "optimization for geometry 1\n"));
  EXPECT_FALSE(std::ifstream(dir_.path() / "opt1.inp"));
  EXPECT_TRUE(Contains(dir_.Read("sp2.inp"), "#HF/6-31G* Test NoSymm\n"));
  EXPECT_DOUBLE_EQ(mol1.QMEnergy[1], -150.25);
  EXPECT_FALSE(dir_.Read("pop1.inp").empty());
  EXPECT_DOUBLE_EQ(mol1.atom[0].qpop, 0.4);

  Printed([&] { MainScript::ProcessScriptMain("optimizegeometry\n"); });
  EXPECT_TRUE(Contains(dir_.Read("opt1.inp"), "optimization for geometry 0\n"));
}

TEST_F(QMCommands, BadGeometryNumberIsAScriptError) {
  const ProcessExit e =
      ExpectExit([&] { Printed([&] { MainScript::ProcessScriptMain("singlepoint x\n"); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err in input script in line : singlepoint x\n");
}

// The real optimisation output of divinylbenzene, placed where the job
// would leave it.
TEST_F(QMOperations, RealOptimisationOutputIsTakenWithoutAJob) {
  const std::string ref = SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "no reference data";
  const std::string text = ReadFile(ref + "/gaussian/dvb_opt_b3lyp.out");
  dir_.Write("opt1.out", text);
  const int atomicNumbers[] = {6, 6, 6, 6, 6, 1, 1, 1, 6, 6, 1, 1, 1, 6, 1, 6, 1, 1, 6, 1};
  std::vector<AtomSpec> atoms;
  for (const int z : atomicNumbers)
    atoms.push_back({(z == 6 ? "C" : "H") + std::to_string(atoms.size() + 1), z});
  CMolecule dvb = MakeMolecule(atoms);
  const std::string printed = Printed([&] { dvb.QMOptCoordinates(0); });
  EXPECT_TRUE(Contains(printed, "exists nothing done"));
  EXPECT_TRUE(Contains(printed, "$ full convergence confirmed\n"));
  EXPECT_TRUE(Contains(printed, "$ E(HF/6-31G*) = -382.3082666\n")) << printed;
  EXPECT_EQ(dvb.atom[0].xyz, (std::vector<double>{0.269445, 1.410118, 0.0}));
  EXPECT_EQ(dvb.atom[19].xyz, (std::vector<double>{2.364759, 0.813041, -0.0}));
  const std::string pdb = dir_.Read("opt1.pdb");
  EXPECT_TRUE(Contains(pdb, "   0.269   1.410   0.000")) << pdb;
  EXPECT_DOUBLE_EQ(dvb.atom[0].qpop, -0.004504);
}

}  // namespace
