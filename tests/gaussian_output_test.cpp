#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "errors.h"
#include "gaussian.h"
#include "support/gaussian_outputs.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using Gaussian::GaussianOutputData;
using Gaussian::ReadGaussianOutput;
using namespace testing_support;

GaussianOutputData ReadText(const std::string& text) {
  TempDir dir;
  GaussianOutputData w;
  ReadGaussianOutput(dir.Write("job.out", text), w);
  return w;
}

// The values an item of the output holds; "espval" is the potentials part of
// the item "esp", whose own values are the fit points.
std::vector<Real> Values(const GaussianOutputData& w, const std::string& key) {
  const auto& p = w.prop;
  const std::map<std::string, std::vector<Real>> values = {
      {"energy", {p.energy}},
      {"distance", {p.distance}},
      {"force", p.force},
      {"gradIC", p.gradIC},
      {"coorInputOrient", p.xyzInputOrient},
      {"coorStandardOrient", p.xyzStandardOrient},
      {"coorZMatrix", p.xyzZmatrixOrient},
      {"dipole", {p.dipole.x, p.dipole.y, p.dipole.z, p.dipole.norma}},
      {"mullikenq", p.mullikenq},
      {"espq", p.espq},
      {"convergence", {p.ifconverged ? 1.0 : 0.0}},
      {"esp", p.espcoor},
      {"espval", p.espval}};
  return values.at(key);
}

const std::string kWaterRows =
    "      1          8           0        0.000000    0.000000    0.119736\n"
    "      2          1           0        0.000000    0.761572   -0.478944\n"
    "      3          1           0        0.000000   -0.761572   -0.478944\n";
const std::vector<Real> kWater = {0.0,       0.0, 0.119736,  0.0,      0.761572,
                                  -0.478944, 0.0, -0.761572, -0.478944};
const std::string kMullikenRows = "     1  O   -0.319889\n     2  H    0.159944\n";
const std::string kMp2 = " E2 =    -0.3795333610D-01 EUMP2 =    -0.76321608456D+02\n";
const std::string kForces =
    " Center     Atomic                   Forces (Hartrees/Bohr)\n"
    " Number     Number              X              Y              Z\n"
    " -------------------------------------------------------------------\n"
    "      1        8           0.000000000    0.000000000   -0.013493211\n"
    "      2        1           0.1    -0.009107431    0.006746606";
const std::vector<Real> kForceValues = {0.0, 0.0, -0.013493211, 0.1, -0.009107431, 0.006746606};
const std::string kSummedMulliken =
    " Mulliken charges with hydrogens summed into heavy atoms:\n"
    "               1\n"
    "     1  O   -0.000000\n";

// Every item listed is read with these values; no other item is read. An
// error termination is recorded exactly when the text has one.
struct Landmarks {
  const char* name;
  std::string text;
  std::map<std::string, std::vector<Real>> read;
};

TEST(ReadGaussianOutput, ItemsReadFromTheirLandmarks) {
  const std::string met = ConvergenceTable("YES", "YES", "YES", "YES");
  const Landmarks cases[] = {
      {"empty file", "", {}},
      {"the last SCF energy wins",
       ScfDone("-74.9643287914") + ScfDone("-74.9650000000"),
       {{"energy", {-74.965}}}},
      {"MP2 energy after the SCF of its step",
       ScfDone("-74.96") + kMp2,
       {{"energy", {-76.321608456}}}},
      {"Energy= after MP2",
       kMp2 + " Energy=   -76.5000000000 NIter=   0.\n",
       {{"energy", {-76.5}}}},
      {"the last RX distance wins",
       " ! RX          2.1000   -DE/DX =    0.0012                           !\n"
       " ! RX          1.9873   -DE/DX =    0.0                              !\n",
       {{"distance", {1.9873}}}},
      {"forces up to the end of the file", kForces, {{"force", kForceValues}}},
      {"forces up to the closing rule",
       kForces + "\n -----------------------------------------------\n"
                 " Cartesian Forces:  Max     0.013493211 RMS     0.006120357\n",
       {{"force", kForceValues}}},
      // The row that ends a table still meets the landmarks tested after it.
      {"forces closed by a Mulliken header",
       " Center     Atomic                   Forces (Hartrees/Bohr)\n\n -----\n"
       "      1        8           0.1    0.2   -0.3\n"
       " Mulliken charges:\n               1\n     1  O   -0.3\n",
       {{"force", {0.1, 0.2, -0.3}}, {"mullikenq", {-0.3}}}},
      // ... but not those tested before it.
      {"Mulliken charges closed by a dipole header",
       " Mulliken charges:\n               1\n     1  O   -0.3\n" +
           DipoleBlock("0.1", "0.2", "0.3", "0.4"),
       {{"mullikenq", {-0.3}}}},
      {"the second standard orientation wins",
       OrientationTable("Standard", "      1          8           0        9.0    9.0    9.0\n") +
           OrientationTable("Standard", kWaterRows),
       {{"coorStandardOrient", kWater}}},
      {"input and Z-matrix orientations",
       OrientationTable("Input", kWaterRows) +
           OrientationTable("Z-Matrix",
                            "      1          8           0        1.0    2.0    3.0\n"),
       {{"coorInputOrient", kWater}, {"coorZMatrix", {1.0, 2.0, 3.0}}}},
      {"orientation up to the end of the file",
       OrientationHead("Standard") + "      1          8           0        0.5    0.25    0.125",
       {{"coorStandardOrient", {0.5, 0.25, 0.125}}}},
      {"the last dipole wins",
       DipoleBlock("1.0000", "0.0000", "0.0000", "1.0000") +
           DipoleBlock("-0.1000", "0.2000", "-1.5994", "1.6149"),
       {{"dipole", {-0.1, 0.2, -1.5994, 1.6149}}}},
      {"Mulliken atomic charges, summed ones after them left alone",
       " Mulliken atomic charges:\n               1\n" + kMullikenRows + kSummedMulliken,
       {{"mullikenq", {-0.319889, 0.159944}}}},
      {"summed Mulliken charges alone are no block", kSummedMulliken, {}},
      {"later charge blocks replace earlier ones",
       MullikenBlock("     1  O   -0.9\n     2  H    0.9\n") + MullikenBlock("     1  O   -0.3\n") +
           EspChargesBlock("     1  C   -0.500314\n     2  H    0.125323\n") +
           EspChargesBlock("     1  C   -0.2\n"),
       {{"mullikenq", {-0.3}}, {"espq", {-0.2}}}},
      {"ESP charges up to the end of the file",
       " Charges from ESP fit, RMS=   0.00069 RRMS=   0.35027:\n ESP charges:\n               1\n"
       "     1  C   -0.500314",
       {{"espq", {-0.500314}}}},
      {"the last convergence table decides, not met",
       met + ConvergenceTable("YES", "NO", "YES", "YES"),
       {{"convergence", {0.0}}}},
      {"the last convergence table decides, met",
       ConvergenceTable("NO", "NO", "NO", "NO") + met,
       {{"convergence", {1.0}}}},
      {"convergence table cut by the end of the file",
       met.substr(0, met.rfind(" RMS     Displacement")),
       {{"convergence", {0.0}}}},
      // Points and potentials of several jobs gather in file order; their
      // counts are matched by the user of the data.
      {"ESP fit points and potentials",
       "      Atomic Center    1 is at  -0.000000  0.000000  0.000000\n"
       "      ESP Fit Center    2 is at   1.824000  0.000000  -0.5\n"
       "    1 Atom    -14.720181\n"
       "    2 Fit      -0.012345\n"
       "    3 Fit      -0.011877\n"
       "      ESP Fit Center    2 is at   1.781163  0.392778  0.000000\n"
       "    2 Fit      -0.012\n",
       {{"esp", {1.824, 0.0, -0.5, 1.781163, 0.392778, 0.0}},
        {"espval", {-0.012345, -0.011877, -0.012}}}},
      {"an error termination is only recorded",
       " Error termination via Lnk1e in /g16/l9999.exe at Wed Apr  4 10:14:17 2018.\n" +
           ScfDone("-74.96"),
       {{"energy", {-74.96}}}},
      {"the gradient over internal coordinates is never read",
       " Internal  Forces:  Max     0.060679757 RMS     0.012894102\n" + ScfDone("-74.96"),
       {{"energy", {-74.96}}}},
  };
  for (const Landmarks& c : cases) {
    SCOPED_TRACE(c.name);
    const GaussianOutputData w = ReadText(c.text);
    for (const auto& key : w.options) EXPECT_EQ(w.IfRead(key), c.read.contains(key)) << key;
    for (const auto& [key, values] : c.read) EXPECT_EQ(Values(w, key), values) << key;
    EXPECT_EQ(w.prop.iferror, c.text.find(" Error termination") != std::string::npos);
  }
}

TEST(ReadGaussianOutput, FailuresEndTheProcess) {
  GaussianOutputData w;
  const ProcessExit asked = ExpectExit([&] { w.IfRead("charges"); });
  EXPECT_EQ(asked.status, 1);
  EXPECT_EQ(asked.message, "$ err this option is not available : charges\n");
  const ProcessExit set = ExpectExit([&] { w.SetRead("Energy"); });
  EXPECT_EQ(set.status, 1);
  EXPECT_EQ(set.message, "$ err this option is not available : Energy\n");

  TempDir dir;
  const std::string none = (dir.path() / "none.out").string();
  const ProcessExit missing = ExpectExit([&] { ReadGaussianOutput(none, w); });
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.message, none + "can not be opened\n");

  // A line that cannot be read is named with its file.
  const struct {
    std::string text, line;
  } unreadable[] = {
      {ScfDone("-74.96") + " SCF Done:  E(RHF) =  *********  A.U.\n Normal termination\n",
       " SCF Done:  E(RHF) =  *********  A.U."},
      {" E2 =    -0.37E-01 EUMP2 =    -0.75E+02\n", " E2 =    -0.37E-01 EUMP2 =    -0.75E+02"},
      {" Energy=   -1e999\n", " Energy=   -1e999"},
      {" Dipole moment (field-independent basis, Debye):\n", ""},  // no values before the end
  };
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.text);
    const std::string path = dir.Write("job.out", c.text);
    const ProcessExit e = ExpectExit([&] { ReadGaussianOutput(path, w); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err in gaussian output file : " + path + " in line :" + c.line + "\n");
  }
}

// The real outputs beside the project: every landmark they hold, with the
// number of values read (0: not read) and one of the values.
TEST(ReadGaussianOutputReference, LandmarksOfTheRealOutputs) {
  const std::string dir = SharedReferenceDir();
  if (dir.empty()) GTEST_SKIP() << "no reference data";
  const struct {
    std::string file, key;
    std::size_t count, index;
    Real value;
  } cases[] = {
      {"dvb_opt_b3lyp.out", "energy", 1, 0, -382.308266602},
      {"dvb_opt_b3lyp.out", "coorStandardOrient", 60, 58, 0.813041},
      {"dvb_opt_b3lyp.out", "coorInputOrient", 60, 0, -0.075862},
      {"dvb_opt_b3lyp.out", "force", 60, 59, -0.000003344},
      {"dvb_opt_b3lyp.out", "convergence", 1, 0, 1.0},
      {"dvb_opt_b3lyp.out", "esp", 0, 0, 0.0},
      {"water_mp2.out", "energy", 1, 0, -75.002282127454},
      {"water_mp2.out", "mullikenq", 3, 0, -0.319889},
      {"water_mp2.out", "dipole", 4, 2, -1.5994},
      {"water_mp2.out", "convergence", 0, 0, 0.0},
      {"dvb_zmatrix_scan.out", "coorZMatrix", 60, 6, 1.199912},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + c.key);
    GaussianOutputData w;
    ReadGaussianOutput(dir + "/gaussian/" + c.file, w);
    EXPECT_FALSE(w.prop.iferror);
    EXPECT_EQ(w.IfRead(c.key), c.count > 0);
    if (c.count == 0) continue;
    const std::vector<Real> values = Values(w, c.key);
    ASSERT_EQ(values.size(), c.count);
    EXPECT_DOUBLE_EQ(values[c.index], c.value);
  }
}

}  // namespace
