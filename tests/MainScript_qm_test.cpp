// The QM commands run by the executable on a topology and coordinates, with
// the Gaussian outputs already on disk so that no job is started.
#include <gtest/gtest.h>

#include <string>

#include "gaussian.h"
#include "io.h"
#include "support/gaussian_outputs.h"
#include "support/printed.h"
#include "support/run.h"

namespace {

using namespace testing_support;

const char* kWaterTopology =
    "* water\n*\n36 1\n"
    "MASS 1 HT 1.00800 H\n"
    "MASS 2 OT 15.99940 O\n\n"
    "RESI TIP3 0.000\n"
    "GROUP\n"
    "ATOM OH2 OT -0.834\n"
    "ATOM H1 HT 0.417\n"
    "ATOM H2 HT 0.417\n"
    "BOND OH2 H1 OH2 H2\n"
    "END\n";

const char* kWaterPdb =
    "ATOM      1  OH2 TIP3    1       0.000   0.000   0.000  1.00  0.00      W\n"
    "ATOM      2  H1  TIP3    1       0.957   0.000   0.000  1.00  0.00      W\n"
    "ATOM      3  H2  TIP3    1      -0.240   0.927   0.000  1.00  0.00      W\n"
    "END\n";

const std::string kWaterStandard =
    "      1          8           0        0.000000    0.000000    0.119736\n"
    "      2          1           0        0.000000    0.761572   -0.478944\n"
    "      3          1           0        0.000000   -0.761572   -0.478944\n";

const std::string kWaterCharges =
    "     1  O   -0.800000\n"
    "     2  H    0.400000\n"
    "     3  H    0.400000\n";

// Fit points 4 and 5 with their potentials; the second point lies 1 A from
// the optimised oxygen.
std::string WaterEsp(const std::string& secondPoint = "0.000000  0.000000  1.119736",
                     const std::string& values =
                         "    4 Fit      -0.010000\n"
                         "    5 Fit       0.020000\n") {
  return "      Atomic Center    1 is at   0.000000  0.000000  0.119736\n"
         "      ESP Fit Center    4 is at   2.000000  0.000000  0.119736\n"
         "      ESP Fit Center    5 is at   " +
         secondPoint + "\n" + EspChargesBlock(kWaterCharges) + "    1 Atom    -22.300000\n" +
         values;
}

class QMScript : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("water.rtf", kWaterTopology);
    dir_.Write("water.pdb", kWaterPdb);
    dir_.Write("opt1.out",
               OrientationTable("Input", kWaterStandard) +
                   OrientationTable("Standard", kWaterStandard) + ScfDone("-75.9853947") +
                   ConvergenceTable("YES", "YES", "YES", "YES") + MullikenBlock(kWaterCharges) +
                   DipoleBlock("0.0000", "0.0000", "-2.1000", "2.1000"));
    dir_.Write("sp1.out", ScfDone("-75.9800000"));
  }

  RunResult Script(const std::string& commands) {
    dir_.Write("run.inp",
               "topology water.rtf\nreadtop water.rtf\nreadcoorpdb water.pdb\n" + commands);
    return RunQm2ff("run.inp", dir_.path());
  }

  TempDir dir_;
};

TEST_F(QMScript, OptimisationSinglePointAndPopulationFromOutputsOnDisk) {
  dir_.Write("pop1.out", WaterEsp());
  const RunResult r = Script("optimizegeometry\nsinglepoint\npopulation\nwritetop out.rtf\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(r.out, "opt1.out exists nothing done\n"));
  EXPECT_TRUE(Contains(r.out, "sp1.out exists nothing done\n"));
  EXPECT_TRUE(Contains(r.out, "pop1.out exists nothing done\n"));
  EXPECT_TRUE(Contains(r.out, "$ full convergence confirmed\n"));
  EXPECT_TRUE(Contains(r.out, "$ E(HF/6-31G*) =  -75.9853947\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "$ E(HF/6-31G*) =  -75.9800000\n"));

  EXPECT_TRUE(
      Contains(dir_.Read("opt1.pdb"), "ATOM      2   H1 TMP     1       0.000   0.762  -0.479"))
      << dir_.Read("opt1.pdb");
  // The later decks start from the optimised geometry.
  EXPECT_TRUE(Contains(dir_.Read("sp1.inp"), "  1 -1   0.00000   0.76157  -0.47894\n"));
  EXPECT_TRUE(Contains(dir_.Read("pop1.inp"), "  8 -1   0.00000   0.00000   0.11974\n"));
  EXPECT_TRUE(Contains(dir_.Read("opt1.inp"), "  1 0   0.95700   0.00000   0.00000\n"));
}

TEST_F(QMScript, EspCountMismatchEndsTheRun) {
  dir_.Write("pop1.out", WaterEsp("0.000000  0.000000  1.119736", "    4 Fit      -0.010000\n"));
  const RunResult r = Script("population\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ err : the number of esp values and number of coordinates are different\n");
}

// The real optimisation output of divinylbenzene beside a topology and
// coordinates of the same molecule.
TEST(QMScriptReference, RealOptimisationOutputIsReused) {
  const std::string ref = SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "no reference data";
  const std::string output = ref + "/gaussian/dvb_opt_b3lyp.out";
  Gaussian::GaussianOutputData start;
  Gaussian::ReadGaussianOutput(output, start);

  const int atomicNumbers[] = {6, 6, 6, 6, 6, 1, 1, 1, 6, 6, 1, 1, 1, 6, 1, 6, 1, 1, 6, 1};
  std::string rtf =
      "* dvb\n*\n36 1\nMASS 1 HA 1.00800 H\nMASS 2 CA 12.01100 C\n\nRESI DVB 0\nGROUP\n";
  std::string pdb;
  for (int i = 0; i < 20; ++i) {
    const std::string name = (atomicNumbers[i] == 6 ? "C" : "H") + std::to_string(i + 1);
    rtf += "ATOM " + name + (atomicNumbers[i] == 6 ? " CA 0.0\n" : " HA 0.0\n");
    const Real* x = &start.prop.xyzInputOrient[3 * i];
    pdb += Format("ATOM  %5d %-4s DVB     1    %8.3f%8.3f%8.3f  1.00  0.00\n", i + 1, name.c_str(),
                  x[0], x[1], x[2]);
  }
  TempDir dir;
  dir.Write("dvb.rtf", rtf + "END\n");
  dir.Write("dvb.pdb", pdb + "END\n");
  dir.Write("opt1.out", ReadFile(output));
  dir.Write("run.inp",
            "topology dvb.rtf\nreadtop dvb.rtf\nreadcoorpdb dvb.pdb\noptimizegeometry\n");
  const RunResult r = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "opt1.out exists nothing done\n"));
  EXPECT_TRUE(Contains(r.out, "$ full convergence confirmed\n"));
  EXPECT_TRUE(Contains(r.out, "$ E(HF/6-31G*) = -382.3082666\n")) << r.out;
  const std::string written = dir.Read("opt1.pdb");
  EXPECT_TRUE(Contains(written, "ATOM      1   C1 TMP     1       0.269   1.410   0.000"))
      << written;
  EXPECT_TRUE(Contains(written, "ATOM     20  H20 TMP     1       2.365   0.813  -0.000"))
      << written;
}

}  // namespace
