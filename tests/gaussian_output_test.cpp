#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "errors.h"
#include "gaussian.h"
#include "support/gaussian_outputs.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using Gaussian::GaussianOutputData;
using Gaussian::ReadGaussianOutput;
using testing_support::ConvergenceTable;
using testing_support::ExpectExit;
using testing_support::OrientationHead;
using testing_support::OrientationTable;
using testing_support::SharedReferenceDir;
using testing_support::TempDir;

GaussianOutputData ReadText(const std::string& text) {
  TempDir dir;
  GaussianOutputData w;
  ReadGaussianOutput(dir.Write("job.out", text), w);
  return w;
}

const std::string kWaterRows =
    "      1          8           0        0.000000    0.000000    0.119736\n"
    "      2          1           0        0.000000    0.761572   -0.478944\n"
    "      3          1           0        0.000000   -0.761572   -0.478944\n";

const std::string kMullikenRows =
    "               1\n"
    "     1  O   -0.319889\n"
    "     2  H    0.159944\n"
    "     3  H    0.159944\n";

TEST(GaussianOutputData, UnknownKeyEndsTheProcess) {
  GaussianOutputData w;
  const ProcessExit asked = ExpectExit([&] { w.IfRead("charges"); });
  EXPECT_EQ(asked.status, 1);
  EXPECT_EQ(asked.message, "$ err this option is not available : charges\n");
  const ProcessExit set = ExpectExit([&] { w.SetRead("Energy"); });
  EXPECT_EQ(set.status, 1);
  EXPECT_EQ(set.message, "$ err this option is not available : Energy\n");
}

TEST(ReadGaussianOutput, EmptyFileReadsNothing) {
  const GaussianOutputData w = ReadText("");
  for (const auto& key : w.options) EXPECT_FALSE(w.IfRead(key)) << key;
  EXPECT_FALSE(w.prop.iferror);
}

TEST(ReadGaussianOutput, MissingFileEndsTheProcess) {
  TempDir dir;
  const std::string path = (dir.path() / "none.out").string();
  GaussianOutputData w;
  const ProcessExit e = ExpectExit([&] { ReadGaussianOutput(path, w); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, path + "can not be opened\n");
}

TEST(ReadGaussianOutput, LastEnergyLineWins) {
  const std::string scf = " SCF Done:  E(RHF) =  -74.9643287914     A.U. after    7 cycles\n";
  const std::string mp2 = " E2 =    -0.3795333610D-01 EUMP2 =    -0.76321608456D+02\n";
  const struct {
    std::string text;
    double energy;
  } cases[] = {
      {scf + " SCF Done:  E(RHF) =  -74.9650000000     A.U. after    5 cycles\n", -74.965},
      {scf + mp2, -76.321608456},  // MP2 follows the SCF of the same step
      {mp2 + " Energy=   -76.5000000000 NIter=   0.\n", -76.5},
  };
  for (const auto& c : cases) {
    const GaussianOutputData w = ReadText(c.text);
    EXPECT_TRUE(w.IfRead("energy")) << c.text;
    EXPECT_DOUBLE_EQ(w.prop.energy, c.energy) << c.text;
  }
}

// A line that cannot be read ends the process, naming the file and the line.
TEST(ReadGaussianOutput, UnreadableLineEndsTheProcess) {
  const struct {
    std::string text, line;
  } cases[] = {
      {" SCF Done:  E(RHF) =  -74.96     A.U.\n"
       " SCF Done:  E(RHF) =  *********  A.U. after 7 cycles\n"
       " Normal termination\n",
       " SCF Done:  E(RHF) =  *********  A.U. after 7 cycles"},
      {" E2 =    -0.37E-01 EUMP2 =    -0.75E+02\n", " E2 =    -0.37E-01 EUMP2 =    -0.75E+02"},
      {" Energy=   -1e999\n", " Energy=   -1e999"},
      {" Dipole moment (field-independent basis, Debye):\n", ""},  // no values before the end
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.Write("job.out", c.text);
    GaussianOutputData w;
    const ProcessExit e = ExpectExit([&] { ReadGaussianOutput(path, w); });
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, "$ err in gaussian output file : " + path + " in line :" + c.line + "\n");
  }
}

TEST(ReadGaussianOutput, RxDistanceLastWins) {
  const GaussianOutputData w = ReadText(
      " ! RX          2.1000   -DE/DX =    0.0012                           !\n"
      " ! RX          1.9873   -DE/DX =    0.0                              !\n");
  EXPECT_TRUE(w.IfRead("distance"));
  EXPECT_DOUBLE_EQ(w.prop.distance, 1.9873);
}

TEST(ReadGaussianOutput, ForcesTableEndsAtRuleOrEndOfFile) {
  const std::string table =
      " Center     Atomic                   Forces (Hartrees/Bohr)\n"
      " Number     Number              X              Y              Z\n"
      " -------------------------------------------------------------------\n"
      "      1        8           0.000000000    0.000000000   -0.013493211\n"
      "      2        1           0.1    -0.009107431    0.006746606";
  for (const std::string end : {"", "\n -----------------------------------------------\n"
                                    " Cartesian Forces:  Max     0.013493211 RMS     0.006120357\n"}) {
    const GaussianOutputData w = ReadText(table + end);
    EXPECT_TRUE(w.IfRead("force"));
    EXPECT_EQ(w.prop.force, (std::vector<Real>{0.0, 0.0, -0.013493211, 0.1, -0.009107431,
                                               0.006746606}));
  }
}

TEST(ReadGaussianOutput, SecondStandardOrientationWins) {
  const GaussianOutputData w = ReadText(
      OrientationTable("Standard", "      1          8           0        9.0    9.0    9.0\n") +
      OrientationTable("Standard", kWaterRows));
  EXPECT_TRUE(w.IfRead("coorStandardOrient"));
  ASSERT_EQ(w.prop.xyzStandardOrient.size(), 9u);
  EXPECT_DOUBLE_EQ(w.prop.xyzStandardOrient[2], 0.119736);
  EXPECT_DOUBLE_EQ(w.prop.xyzStandardOrient[4], 0.761572);
  EXPECT_FALSE(w.IfRead("coorInputOrient"));
}

TEST(ReadGaussianOutput, EachOrientationTableHasItsOwnItem) {
  const GaussianOutputData w = ReadText(
      OrientationTable("Input", kWaterRows) +
      OrientationTable("Z-Matrix", "      1          8           0        1.0    2.0    3.0\n"));
  EXPECT_TRUE(w.IfRead("coorInputOrient"));
  EXPECT_TRUE(w.IfRead("coorZMatrix"));
  EXPECT_FALSE(w.IfRead("coorStandardOrient"));
  EXPECT_EQ(w.prop.xyzInputOrient.size(), 9u);
  EXPECT_EQ(w.prop.xyzZmatrixOrient, (std::vector<Real>{1.0, 2.0, 3.0}));
  EXPECT_TRUE(w.prop.xyzStandardOrient.empty());
}

TEST(ReadGaussianOutput, OrientationTableEndsAtEndOfFile) {
  const std::string text =
      OrientationHead("Standard") + "      1          8           0        0.5    0.25    0.125";
  const GaussianOutputData w = ReadText(text);
  EXPECT_EQ(w.prop.xyzStandardOrient, (std::vector<Real>{0.5, 0.25, 0.125}));
}

TEST(ReadGaussianOutput, DipoleLastWins) {
  const GaussianOutputData w = ReadText(
      " Dipole moment (field-independent basis, Debye):\n"
      "    X=              1.0000    Y=              0.0000    Z=              0.0000  Tot=   "
      "           1.0000\n"
      " Dipole moment (field-independent basis, Debye):\n"
      "    X=             -0.1000    Y=              0.2000    Z=             -1.5994  Tot=   "
      "           1.6149\n");
  EXPECT_TRUE(w.IfRead("dipole"));
  EXPECT_DOUBLE_EQ(w.prop.dipole.x, -0.1);
  EXPECT_DOUBLE_EQ(w.prop.dipole.y, 0.2);
  EXPECT_DOUBLE_EQ(w.prop.dipole.z, -1.5994);
  EXPECT_DOUBLE_EQ(w.prop.dipole.norma, 1.6149);
}

TEST(ReadGaussianOutput, MullikenHeaderWithOrWithoutMiddleWord) {
  for (const std::string header : {" Mulliken charges:\n", " Mulliken atomic charges:\n"}) {
    const GaussianOutputData w =
        ReadText(header + kMullikenRows + " Sum of Mulliken charges =  -0.00000\n");
    EXPECT_TRUE(w.IfRead("mullikenq")) << header;
    EXPECT_EQ(w.prop.mullikenq, (std::vector<Real>{-0.319889, 0.159944, 0.159944}));
  }
}

TEST(ReadGaussianOutput, SummedMullikenChargesDoNotReplaceTheAtomCharges) {
  const GaussianOutputData w =
      ReadText(" Mulliken charges:\n" + kMullikenRows +
               " Sum of Mulliken charges =  -0.00000\n"
               " Mulliken charges with hydrogens summed into heavy atoms:\n"
               "               1\n"
               "     1  O   -0.000000\n");
  EXPECT_EQ(w.prop.mullikenq, (std::vector<Real>{-0.319889, 0.159944, 0.159944}));
}

TEST(ReadGaussianOutput, SummedMullikenHeaderAloneIsNotABlock) {
  const GaussianOutputData w = ReadText(
      " Mulliken charges with hydrogens summed into heavy atoms:\n"
      "               1\n"
      "     1  O   -0.000000\n");
  EXPECT_FALSE(w.IfRead("mullikenq"));
  EXPECT_TRUE(w.prop.mullikenq.empty());
}

TEST(ReadGaussianOutput, EspChargesEndAtTheSumOrEndOfFile) {
  const std::string block =
      " Charges from ESP fit, RMS=   0.00069 RRMS=   0.35027:\n"
      " Charge=   0.00000 Dipole=    -0.0000    0.0000   -1.7510 Tot=     1.7510\n"
      "               1\n"
      "     1  C   -0.500314\n"
      "     2  H    0.125323";
  for (const std::string end : {"", "\n Sum of ESP charges =   0.00000\n"}) {
    const GaussianOutputData w = ReadText(block + end);
    EXPECT_TRUE(w.IfRead("espq"));
    EXPECT_EQ(w.prop.espq, (std::vector<Real>{-0.500314, 0.125323}));
  }
}

TEST(ReadGaussianOutput, ConvergenceNeedsAllFourInTheLastTable) {
  const GaussianOutputData all = ReadText(ConvergenceTable("YES", "YES", "YES", "YES"));
  EXPECT_TRUE(all.IfRead("convergence"));
  EXPECT_TRUE(all.prop.ifconverged);

  const GaussianOutputData three = ReadText(ConvergenceTable("YES", "YES", "YES", "YES") +
                                            ConvergenceTable("YES", "NO", "YES", "YES"));
  EXPECT_TRUE(three.IfRead("convergence"));
  EXPECT_FALSE(three.prop.ifconverged);

  const GaussianOutputData later = ReadText(ConvergenceTable("NO", "NO", "NO", "NO") +
                                            ConvergenceTable("YES", "YES", "YES", "YES"));
  EXPECT_TRUE(later.prop.ifconverged);
}

TEST(ReadGaussianOutput, ConvergenceTableCutByEndOfFile) {
  const GaussianOutputData w = ReadText(
      "         Item               Value     Threshold  Converged?\n"
      " Maximum Force            0.000036     0.000450     YES\n"
      " RMS     Force            0.000010     0.000300     YES\n"
      " Maximum Displacement     0.000678     0.001800     YES\n");
  EXPECT_TRUE(w.IfRead("convergence"));
  EXPECT_FALSE(w.prop.ifconverged);
}

TEST(ReadGaussianOutput, EspPointsAndValuesAccumulateInFileOrder) {
  const std::string job =
      "      Atomic Center    1 is at  -0.000000  0.000000  0.000000\n"
      "      ESP Fit Center    2 is at   1.824000  0.000000  0.000000\n"
      "      ESP Fit Center    3 is at   1.781163  0.392778  -0.5\n"
      "    1 Atom    -14.720181\n"
      "    2 Fit      -0.012345\n"
      "    3 Fit      -0.011877\n";
  const GaussianOutputData w = ReadText(job + job);
  EXPECT_TRUE(w.IfRead("esp"));
  ASSERT_EQ(w.prop.espcoor.size(), 12u);
  ASSERT_EQ(w.prop.espval.size(), 4u);
  EXPECT_DOUBLE_EQ(w.prop.espcoor[3], 1.781163);
  EXPECT_DOUBLE_EQ(w.prop.espcoor[5], -0.5);
  EXPECT_DOUBLE_EQ(w.prop.espcoor[6], 1.824);
  EXPECT_DOUBLE_EQ(w.prop.espval[0], -0.012345);
  EXPECT_DOUBLE_EQ(w.prop.espval[3], -0.011877);
}

TEST(ReadGaussianOutput, EspCountsAreNotCheckedHere) {
  const GaussianOutputData w = ReadText(
      "      ESP Fit Center    2 is at   1.824000  0.000000  0.000000\n"
      "    2 Fit      -0.012345\n"
      "    3 Fit      -0.011877\n");
  EXPECT_EQ(w.prop.espcoor.size(), 3u);
  EXPECT_EQ(w.prop.espval.size(), 2u);
}

TEST(ReadGaussianOutput, ErrorTerminationIsOnlyRecorded) {
  const GaussianOutputData w = ReadText(
      " Error termination via Lnk1e in /g16/l9999.exe at Wed Apr  4 10:14:17 2018.\n"
      " SCF Done:  E(RHF) =  -74.9643287914     A.U. after    7 cycles\n");
  EXPECT_TRUE(w.prop.iferror);
  EXPECT_TRUE(w.IfRead("energy"));
}

TEST(ReadGaussianOutput, GradientOverInternalCoordinatesIsNeverRead) {
  const GaussianOutputData w = ReadText(
      " Internal  Forces:  Max     0.060679757 RMS     0.012894102\n"
      " SCF Done:  E(RHF) =  -74.9643287914     A.U. after    7 cycles\n");
  EXPECT_FALSE(w.IfRead("gradIC"));
  EXPECT_TRUE(w.prop.gradIC.empty());
}

TEST(ReadGaussianOutput, LineClosingATableMeetsOnlyTheLaterLandmarks) {
  // The row that ends the forces is a Mulliken header, tested after the forces.
  const GaussianOutputData later = ReadText(
      " Center     Atomic                   Forces (Hartrees/Bohr)\n"
      " Number     Number              X              Y              Z\n"
      " -------------------------------------------------------------------\n"
      "      1        8           0.1    0.2   -0.3\n"
      " Mulliken charges:\n"
      "               1\n"
      "     1  O   -0.3\n");
  EXPECT_EQ(later.prop.force.size(), 3u);
  EXPECT_EQ(later.prop.mullikenq, (std::vector<Real>{-0.3}));

  // The row that ends the Mulliken charges is a dipole header, tested before them.
  const GaussianOutputData earlier = ReadText(
      " Mulliken charges:\n"
      "               1\n"
      "     1  O   -0.3\n"
      " Dipole moment (field-independent basis, Debye):\n"
      "    X=   0.1    Y=   0.2    Z=   0.3  Tot=   0.4\n");
  EXPECT_EQ(earlier.prop.mullikenq, (std::vector<Real>{-0.3}));
  EXPECT_FALSE(earlier.IfRead("dipole"));
}

// The real outputs beside the project.

std::string ReferenceOutput(const std::string& name) {
  const std::string dir = SharedReferenceDir();
  return dir.empty() ? "" : dir + "/gaussian/" + name;
}

TEST(ReadGaussianOutputReference, GeometryOptimisation) {
  const std::string path = ReferenceOutput("dvb_opt_b3lyp.out");
  if (path.empty()) GTEST_SKIP() << "no reference data";
  GaussianOutputData w;
  ReadGaussianOutput(path, w);
  EXPECT_DOUBLE_EQ(w.prop.energy, -382.308266602);
  ASSERT_EQ(w.prop.xyzStandardOrient.size(), 60u);
  EXPECT_DOUBLE_EQ(w.prop.xyzStandardOrient[0], 0.269445);
  EXPECT_DOUBLE_EQ(w.prop.xyzStandardOrient[58], 0.813041);
  ASSERT_EQ(w.prop.xyzInputOrient.size(), 60u);
  EXPECT_DOUBLE_EQ(w.prop.xyzInputOrient[0], -0.075862);
  ASSERT_EQ(w.prop.force.size(), 60u);
  ASSERT_EQ(w.prop.mullikenq.size(), 20u);
  EXPECT_DOUBLE_EQ(w.prop.mullikenq[0], -0.004504);
  EXPECT_DOUBLE_EQ(w.prop.mullikenq[1], -0.077163);
  EXPECT_TRUE(w.IfRead("dipole"));
  EXPECT_DOUBLE_EQ(w.prop.dipole.norma, 0.0);
  EXPECT_TRUE(w.IfRead("convergence"));
  EXPECT_TRUE(w.prop.ifconverged);
  EXPECT_FALSE(w.prop.iferror);
  EXPECT_FALSE(w.IfRead("esp"));
  EXPECT_FALSE(w.IfRead("espq"));
  EXPECT_FALSE(w.IfRead("coorZMatrix"));
}

TEST(ReadGaussianOutputReference, Mp2SinglePoint) {
  const std::string path = ReferenceOutput("water_mp2.out");
  if (path.empty()) GTEST_SKIP() << "no reference data";
  GaussianOutputData w;
  ReadGaussianOutput(path, w);
  EXPECT_DOUBLE_EQ(w.prop.energy, -75.002282127454);
  EXPECT_EQ(w.prop.mullikenq, (std::vector<Real>{-0.319889, 0.159944, 0.159944}));
  EXPECT_DOUBLE_EQ(w.prop.dipole.z, -1.5994);
  EXPECT_DOUBLE_EQ(w.prop.dipole.norma, 1.5994);
  EXPECT_EQ(w.prop.xyzStandardOrient.size(), 9u);
  EXPECT_EQ(w.prop.xyzInputOrient.size(), 9u);
  EXPECT_FALSE(w.IfRead("convergence"));
  EXPECT_FALSE(w.IfRead("force"));
}

TEST(ReadGaussianOutputReference, ZMatrixScan) {
  const std::string path = ReferenceOutput("dvb_zmatrix_scan.out");
  if (path.empty()) GTEST_SKIP() << "no reference data";
  GaussianOutputData w;
  ReadGaussianOutput(path, w);
  EXPECT_TRUE(w.IfRead("coorZMatrix"));
  ASSERT_EQ(w.prop.xyzZmatrixOrient.size(), 60u);
  EXPECT_DOUBLE_EQ(w.prop.xyzZmatrixOrient[5], 1.391558);
  EXPECT_DOUBLE_EQ(w.prop.xyzZmatrixOrient[6], 1.199912);
  EXPECT_EQ(w.prop.xyzStandardOrient.size(), 60u);
  EXPECT_DOUBLE_EQ(w.prop.energy, -382.294279146);
  EXPECT_FALSE(w.prop.iferror);
}

}  // namespace
