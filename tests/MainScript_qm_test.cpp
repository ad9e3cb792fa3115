// The QM commands run by the executable on a topology and coordinates, with
// the Gaussian outputs already on disk so that no job is started.
#include <gtest/gtest.h>

#include <string>

#include "support/gaussian_outputs.h"
#include "support/printed.h"
#include "support/run.h"

namespace {

using namespace testing_support;

const char* kWaterTopology =
    "* water\n*\n36 1\nMASS 1 HT 1.00800 H\nMASS 2 OT 15.99940 O\n\nRESI TIP3 0.000\nGROUP\n"
    "ATOM OH2 OT -0.834\nATOM H1 HT 0.417\nATOM H2 HT 0.417\nBOND OH2 H1 OH2 H2\nEND\n";

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
    "     1  O   -0.800000\n     2  H    0.400000\n     3  H    0.400000\n";

// Fit points 4 and 5 and the given potentials; the second point lies 1 A
// from the optimised oxygen.
std::string WaterEsp(const std::string& values) {
  return "      Atomic Center    1 is at   0.000000  0.000000  0.119736\n"
         "      ESP Fit Center    4 is at   2.000000  0.000000  0.119736\n"
         "      ESP Fit Center    5 is at   0.000000  0.000000  1.119736\n" +
         EspChargesBlock(kWaterCharges) + "    1 Atom    -22.300000\n" + values +
         kNormalTermination;
}

TEST(QMScript, OptimisationSinglePointAndPopulationFromOutputsOnDisk) {
  TempDir dir;
  dir.Write("water.rtf", kWaterTopology);
  dir.Write("water.pdb", kWaterPdb);
  dir.Write("opt1.out",
            OrientationTable("Input", kWaterStandard) +
                OrientationTable("Standard", kWaterStandard) + ScfDone("-75.9853947") +
                ConvergenceTable("YES", "YES", "YES", "YES") + MullikenBlock(kWaterCharges) +
                DipoleBlock("0.0000", "0.0000", "-2.1000", "2.1000") + kNormalTermination);
  dir.Write("sp1.out", ScfDone("-75.9800000") + kNormalTermination);
  dir.Write("pop1.out", WaterEsp("    4 Fit      -0.010000\n    5 Fit       0.020000\n"));
  const std::string head = "topology water.rtf\nreadtop water.rtf\nreadcoorpdb water.pdb\n";
  dir.Write("run.inp", head + "optimizegeometry\nsinglepoint\npopulation\n");
  RunResult r = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(r.out, "$ E(HF/6-31G*) =  -75.9853947\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "$ E(HF/6-31G*) =  -75.9800000\n"));
  EXPECT_TRUE(
      Contains(dir.Read("opt1.pdb"), "ATOM      2   H1 TMP     1       0.000   0.762  -0.479"))
      << dir.Read("opt1.pdb");
  // The later decks start from the optimised geometry.
  EXPECT_TRUE(Contains(dir.Read("sp1.inp"), "  1 -1   0.00000   0.76157  -0.47894\n"));
  EXPECT_TRUE(Contains(dir.Read("pop1.inp"), "  8 -1   0.00000   0.00000   0.11974\n"));
  EXPECT_TRUE(Contains(dir.Read("opt1.inp"), "  1 0   0.95700   0.00000   0.00000\n"));

  // Fewer potentials than fit points end the run.
  dir.Write("pop1.out", WaterEsp("    4 Fit      -0.010000\n"));
  dir.Write("run.inp", head + "population\n");
  r = RunQm2ff("run.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "$ err : the number of esp values and number of coordinates are different in gaussian "
            "output file : " +
                dir.path().string() + "//pop1.out\n");
}

}  // namespace
