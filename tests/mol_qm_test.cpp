#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "MainScript.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/gaussian_outputs.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "util.h"

namespace {

using namespace testing_support;

// Both orientations differ from the molecule's own coordinates.
const std::string kInputRows =
    "      1          1           0        0.900000    0.800000    0.600000\n"
    "      2          8           0        0.000000    0.700000    0.000000\n"
    "      3          8           0        0.000000   -0.700000    0.000000\n"
    "      4          1           0       -0.900000   -0.800000    0.600000\n";
const std::string kStandardRows =
    "      1          1           0        0.800000    0.900000    0.500000\n"
    "      2          8           0        0.700000    0.000000    0.000000\n"
    "      3          8           0       -0.700000    0.000000    0.000000\n"
    "      4          1           0       -0.800000   -0.900000    0.500000\n";
const std::string kMullikenRows =
    "     1  H    0.250000\n     2  O   -0.750000\n     3  O   -0.750000\n     4  H    0.250000\n";
const std::string kEspRows =
    "     1  H    0.400000\n     2  O   -0.400000\n     3  O   -0.400000\n     4  H    0.400000\n";
const std::string kDipole = DipoleBlock("0.1000", "-0.2000", "1.5000", "1.5166");

std::string OptOutput(const std::string& standardRows = kStandardRows,
                      const std::string& mullikenRows = kMullikenRows,
                      const char* lastAnswer = "YES") {
  return OrientationTable("Input", kInputRows) +
         (standardRows.empty() ? "" : OrientationTable("Standard", standardRows)) +
         ScfDone("-151.1234567") + ConvergenceTable("YES", "YES", "YES", lastAnswer) +
         MullikenBlock(mullikenRows) + kDipole + kNormalTermination;
}

const std::string kEspPoints =
    "      ESP Fit Center    5 is at   0.000000  0.000000  0.000000\n"
    "      ESP Fit Center    6 is at   3.000000  4.700000  0.000000\n";
const std::string kEspValues =
    "    1 Atom     -1.000000\n    5 Fit      -0.010000\n    6 Fit       0.020000\n";

std::string PopOutput(const std::string& chargeRows = kEspRows) {
  return kEspPoints + EspChargesBlock(chargeRows) + kEspValues + kNormalTermination;
}

// The QM operations on a small molecule in a directory of its own; the QM
// options, the process-wide molecule, the bonded-fit settings and the
// working directory are put back.
class QMOperations : public ::testing::Test {
 protected:
  void TearDown() override { Gaussian::options = savedOptions_; }

  // Adds a second stored geometry with the same coordinates.
  void AddGeometry() {
    mol_.ngeom = 2;
    mol_.xyz.insert(mol_.xyz.end(), mol_.xyz.begin(), mol_.xyz.end());
    mol_.QMEnergy.resize(2, 0.0);
    mol_.QMDipoleMoment.resize(2);
  }

  TempDir dir_;
  FpathScope fpath_{dir_.path().string() + "/"};
  ForceFieldState state_;
  Gaussian::GaussianJob savedOptions_ = Gaussian::options;
  CMolecule mol_ = HydrogenPeroxide();
};

TEST_F(QMOperations, OptimisationDeckAndResults) {
  mol_.netcharge = -1.0;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  OptInter.nCostrGlobal = 2;
  OptInter.FixDihe[0].AtomName = {1, 2, -1, -1};
  OptInter.FixDihe[0].value = 500.0;
  OptInter.FixDihe[1].AtomName = {0, 1, 2, 3};
  OptInter.FixDihe[1].value = 120.5;
  OptInter.FixDihe[2].AtomName = {3, 2, 1, 0};  // beyond the count: not written
  dir_.Write("opt1.out", OptOutput());
  const std::string printed = Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(dir_.Read("opt1.inp"),
            "%mem=1GB\n%NPROC=4\n%NoSave\n#HF/6-31G* Opt=ModRedun \n"
            "\noptimization for geometry 0\n\n"
            "-1 1\n"
            "  1 0   0.90000   0.80000   0.50000\n"
            "  8 0   0.00000   0.70000   0.00000\n"
            "  8 0   0.00000  -0.70000   0.00000\n"
            "  1 0  -0.90000  -0.80000   0.50000\n"
            "\n"
            "2 3 500.00000 F\n"
            "1 2 3 4 120.50000 F\n"
            "\n\n");
  const std::string reused = "$ " + fpath + "/opt1.out exists nothing done\n";
  EXPECT_TRUE(Contains(printed,
                       "$ Ab-initio level of theory : HF/6-31G* \n"
                       "$ Using coordinate of geometry : 1\n"));
  EXPECT_TRUE(Contains(printed, reused + "$ full convergence confirmed\n"
                                         "$ Coordinates are set to the optimized\n"
                                         "$ E(HF/6-31G*) = -151.1234567\n"
                                         "$ Optimization was completed "))
      << printed;
  EXPECT_TRUE(printed.starts_with("$ Optimization started : "));

  // The standard orientation, energy, dipole and Mulliken charges are taken.
  EXPECT_EQ(mol_.atom[3].xyz, (std::vector<double>{-0.8, -0.9, 0.5}));
  EXPECT_DOUBLE_EQ(mol_.atom[1].rv.x, 0.7);
  EXPECT_DOUBLE_EQ(mol_.xyz[3], 0.7);  // geometry 0, atom 1, x
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[0], -151.1234567);
  EXPECT_DOUBLE_EQ(mol_.energy, -151.1234567);
  EXPECT_DOUBLE_EQ(mol_.QMDipoleMoment[0].norma, 1.5166);
  EXPECT_DOUBLE_EQ(mol_.QMDipole.y, -0.2);
  EXPECT_DOUBLE_EQ(mol_.atom[2].qpop, -0.75);
  const std::string pdb = dir_.Read("opt1.pdb");
  EXPECT_TRUE(Contains(pdb, "ATOM      1   H1 MOL     1       0.800   0.900   0.500  1.00  0.00"))
      << pdb;
  EXPECT_TRUE(pdb.ends_with("END\n"));

  // Doing it again changes nothing.
  const std::vector<Real> once = mol_.xyz;
  Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_EQ(mol_.xyz, once);
}

TEST_F(QMOperations, UnconvergedOptimisationFromTheInputOrientationIsKept) {
  dir_.Write("opt1.out", OptOutput("", kMullikenRows, "NO"));
  const std::string printed = Printed([&] { mol_.QMOptCoordinates(0); });
  // Without processors, extra command and constraints.
  const std::string deck = dir_.Read("opt1.inp");
  EXPECT_TRUE(deck.starts_with("%NoSave\n#HF/6-31G* Opt=ModRedun \n\noptimization")) << deck;
  EXPECT_TRUE(deck.ends_with("  0.50000\n\n\n\n")) << deck;
  EXPECT_TRUE(Contains(printed,
                       "$ err no convergence : please check the output file\n"
                       "$ Coordinates are set to the optimized\n"));
  EXPECT_FALSE(Contains(printed, "full convergence"));
  EXPECT_EQ(mol_.atom[0].xyz, (std::vector<double>{0.9, 0.8, 0.6}));
  EXPECT_DOUBLE_EQ(mol_.QMEnergy[0], -151.1234567);
}

TEST_F(QMOperations, SinglePointDeckAndEnergyOfTheSecondGeometry) {
  mol_.netcharge = -1.0;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";  // not part of this deck
  AddGeometry();
  dir_.Write("wat2.out", ScfDone("-150.5") +
                             " E2 =    -0.3795333610D-01 EUMP2 =    -0.15100000000D+03\n" +
                             kNormalTermination);
  const std::string printed = Printed([&] { mol_.QMSinglePoint("wat", "MP2/6-31G* ", 1); });
  EXPECT_EQ(dir_.Read("wat2.inp"),
            "%NPROC=4\n#MP2/6-31G*  Test NoSymm\n"
            "\nMolName: \n\n"
            "   -1 1\n"
            "  1 -1   0.90000   0.80000   0.50000\n"
            "  8 -1   0.00000   0.70000   0.00000\n"
            "  8 -1   0.00000  -0.70000   0.00000\n"
            "  1 -1  -0.90000  -0.80000   0.50000\n"
            "\n\n");
  EXPECT_EQ(mol_.QMEnergy, (std::vector<Real>{0.0, -151.0}));
  EXPECT_DOUBLE_EQ(mol_.energy, -151.0);
  EXPECT_TRUE(printed.starts_with("$ Single-point calculation started : "));
  EXPECT_TRUE(Contains(printed,
                       "$ Ab-initio level of theory : MP2/6-31G* \n"
                       "$ Using coordinate of geometry : 2\n"));
  EXPECT_TRUE(Contains(printed, "$ Single-point calculation finished : "));
  EXPECT_TRUE(printed.ends_with("$ E(HF/6-31G*) = -151.0000000\n")) << printed;
}

TEST_F(QMOperations, PopulationDeckAndChargesDipoleAndPotentialPointByPoint) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  mol_.netcharge = -1.0;
  mol_.atom[3].atmnum = 0;
  AddGeometry();
  // Gaussian leaves the dummy centre out of the charges.
  dir_.Write("pop2.out",
             PopOutput("     1  H    0.4\n     2  O   -0.7\n     3  O   -0.7\n") + kDipole);
  const std::string printed = Printed([&] { mol_.PopEspCharges(1); });
  EXPECT_EQ(dir_.Read("pop2.inp"),
            "%NPROC=4\n%mem=1GB\n%NoSave\n#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)\n"
            "\nMK charges and electric potentials\n\n"
            "-1 1\n"
            "  1 -1   0.90000   0.80000   0.50000\n"
            "  8 -1   0.00000   0.70000   0.00000\n"
            "  8 -1   0.00000  -0.70000   0.00000\n"
            " X  -1  -0.90000  -0.80000   0.50000\n"
            "\n\n");
  EXPECT_TRUE(printed.starts_with("$ Population analysis started : "));
  EXPECT_TRUE(Contains(printed,
                       "$ Ab-initio level of theory : HF/6-31G* \n"
                       "$ Using coordinate of geometry : 2\n"));
  EXPECT_TRUE(Contains(printed, "$ Population analysis finished : "));

  EXPECT_DOUBLE_EQ(mol_.atom[2].qpop, -0.7);
  EXPECT_DOUBLE_EQ(mol_.atom[3].qpop, 0.0);
  EXPECT_DOUBLE_EQ(mol_.QMDipoleMoment[1].x, 0.1);
  EXPECT_DOUBLE_EQ(mol_.QMDipole.norma, 1.5166);
  ASSERT_EQ(mol_.ESP.QMESPval.size(), 2u);
  ASSERT_EQ(mol_.ESP.distESPPoint.size(), 2u);
  EXPECT_TRUE(mol_.ESP.QMESPval[0].empty());
  EXPECT_EQ(mol_.ESP.QMESPval[1], (std::vector<Real>{-0.01 * 627.51, 0.02 * 627.51}));
  const auto& d = mol_.ESP.distESPPoint[1];
  ASSERT_EQ(d.size(), 8u);
  EXPECT_DOUBLE_EQ(d[1], 0.7);                                      // point 0, atom O1
  EXPECT_DOUBLE_EQ(d[4], std::sqrt(2.1 * 2.1 + 3.9 * 3.9 + 0.25));  // point 1, atom H1
  EXPECT_DOUBLE_EQ(d[6], std::sqrt(9.0 + 5.4 * 5.4));               // point 1, atom O2
  EXPECT_TRUE(mol_.ESP.val.empty() && mol_.ESP.dist.empty());
}

// Each row runs one operation on geometry 0. With an output, the file is
// written before; without, the working directory does not exist. "@" in the
// message stands for the working directory and the file.
TEST_F(QMOperations, FailuresEndTheProcess) {
  using Operation = void (*)(CMolecule&);
  const Operation opt = [](CMolecule& m) { m.QMOptCoordinates(0); };
  const Operation sp = [](CMolecule& m) { m.QMSinglePoint("sp", "HF", 0); };
  const Operation pop = [](CMolecule& m) { m.PopEspCharges(0); };
  const std::string noEnergy = "$ err no energy in gaussian output file : @\n";
  const std::string differentCounts =
      "$ err : the number of esp values and number of coordinates are different in gaussian output "
      "file : @\n";
  const struct {
    const char* name;
    Operation run;
    std::string file;
    std::optional<std::string> output;
    std::string message;
  } cases[] = {
      {"optimisation deck", opt, "opt1.inp", std::nullopt, "$ err unable to open file : @\n"},
      {"single-point deck", sp, "sp1.inp", std::nullopt, "$ err unable to open file : @\n"},
      {"population deck", pop, "pop1.inp", std::nullopt, "$ Unable to open file : @\n"},
      {"optimisation without orientation", opt, "opt1.out",
       ScfDone("-151.1") + MullikenBlock(kMullikenRows),
       " no output orientation in gaussian file @\n"},
      {"optimisation of other atoms", opt, "opt1.out",
       OptOutput(kStandardRows.substr(0, kStandardRows.size() / 2)),
       "$ err 2 atoms instead of 4 in the orientation of gaussian file @\n"},
      {"optimisation with too few Mulliken charges", opt, "opt1.out",
       OptOutput(kStandardRows, "     1  H    0.250000\n"),
       "$ err 1 Mulliken charges instead of 4 in gaussian output file : @\n"},
      {"optimisation without energy", opt, "opt1.out",
       OrientationTable("Standard", kStandardRows) + MullikenBlock(kMullikenRows), noEnergy},
      {"single point without energy", sp, "sp1.out", MullikenBlock(kMullikenRows), noEnergy},
      {"fewer potentials than points", pop, "pop1.out",
       kEspPoints + EspChargesBlock(kEspRows) + "    5 Fit      -0.010000\n", differentCounts},
      {"no fit points", pop, "pop1.out", EspChargesBlock(kEspRows), differentCounts},
      {"fit point on an atom", pop, "pop1.out",
       "      ESP Fit Center    5 is at   0.000000  -0.700000  0.000000\n" +
           EspChargesBlock(kEspRows) + "    5 Fit      -0.010000\n",
       "$ err distance between esp point and an atom is too small in gaussian output file : @\n"},
      {"ESP charges not for every atom", pop, "pop1.out",
       PopOutput("     1  H    0.4\n     2  O   -0.4\n"),
       "$ err no ESP charges for every atom in gaussian output file : @\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    mol_ = HydrogenPeroxide();
    fpath = dir_.path().string() + (c.output ? "/" : "/absent/");
    if (c.output) dir_.Write(c.file, *c.output + kNormalTermination);
    std::string message = c.message;
    if (const auto at = message.find('@'); at != std::string::npos)
      message.replace(at, 1, fpath + "/" + c.file);
    const ProcessExit e = ExpectExit([&] { Printed([&] { c.run(mol_); }); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
  }
}

// The script commands act on the process-wide molecule.
TEST_F(QMOperations, CommandsTakeAGeometryNumberOnlyAsTheSecondOfTwoWords) {
  AddGeometry();
  mol1 = mol_;
  dir_.Write("opt1.out", OptOutput());
  dir_.Write("opt2.out", OptOutput());
  dir_.Write("sp2.out", ScfDone("-150.25") + kNormalTermination);
  dir_.Write("pop1.out", PopOutput());
  Printed([&] {
    MainScript::ProcessScriptMain("OptimizeGeometry 2\nsinglepoint 2\npopulation 2 extra\n");
  });
  EXPECT_TRUE(Contains(dir_.Read("opt2.inp"), "optimization for geometry 1\n"));
  EXPECT_TRUE(Contains(dir_.Read("opt2.pdb"), "0.800   0.900   0.500"));
  EXPECT_FALSE(std::ifstream(dir_.path() / "opt1.inp"));
  EXPECT_DOUBLE_EQ(mol1.xyz[12], 0.8);  // geometry 1, atom 0, x
  EXPECT_DOUBLE_EQ(mol1.xyz[0], 0.9);   // geometry 0 keeps its coordinates
  EXPECT_TRUE(dir_.Read("sp2.inp").starts_with("#HF/6-31G* Test NoSymm\n"));
  EXPECT_EQ(mol1.QMEnergy, (std::vector<Real>{0.0, -150.25}));
  EXPECT_TRUE(dir_.Read("pop1.inp").starts_with("%NoSave\n#HF/6-31G* NoSymm Pop=MK"));
  EXPECT_DOUBLE_EQ(mol1.atom[0].qpop, 0.4);

  Printed([&] { MainScript::ProcessScriptMain("optimizegeometry\n"); });
  EXPECT_TRUE(Contains(dir_.Read("opt1.inp"), "optimization for geometry 0\n"));

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
  dir_.Write("opt1.out", ReadFile(ref + "/gaussian/dvb_opt_b3lyp.out"));
  std::vector<AtomSpec> atoms;
  for (const int z : {6, 6, 6, 6, 6, 1, 1, 1, 6, 6, 1, 1, 1, 6, 1, 6, 1, 1, 6, 1})
    atoms.push_back({(z == 6 ? "C" : "H") + std::to_string(atoms.size() + 1), z});
  CMolecule dvb = MakeMolecule(atoms);
  const std::string printed = Printed([&] { dvb.QMOptCoordinates(0); });
  EXPECT_TRUE(Contains(printed, "exists nothing done"));
  EXPECT_TRUE(Contains(printed, "$ full convergence confirmed\n"));
  EXPECT_TRUE(Contains(printed, "$ E(HF/6-31G*) = -382.3082666\n")) << printed;
  EXPECT_EQ(dvb.atom[0].xyz, (std::vector<double>{0.269445, 1.410118, 0.0}));
  EXPECT_EQ(dvb.atom[19].xyz, (std::vector<double>{2.364759, 0.813041, -0.0}));
  EXPECT_TRUE(
      Contains(dir_.Read("opt1.pdb"), "ATOM     20  H20 MOL     1       2.365   0.813  -0.000"));
  EXPECT_DOUBLE_EQ(dvb.atom[0].qpop, -0.004504);
}

}  // namespace
