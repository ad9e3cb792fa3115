// The system's own QM operations run against the stand-in: decks written by
// qm2ff, run through the shell, outputs read back into the molecule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string>

#include "gaussian.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/run.h"
#include "util.h"

namespace {

using testing_support::TempDir;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The molecule in a directory of its own with the stand-ins first on PATH;
// PATH, the working directory and the QM options are put back afterwards.
class SystemWithStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    savedEnvPath_ = path == nullptr ? "" : path;
    setenv("PATH", (std::string(QM2FF_ENGINES_BIN) + ":" + savedEnvPath_).c_str(), 1);
    fpath = dir_.path().string() + "/";
  }
  void TearDown() override {
    setenv("PATH", savedEnvPath_.c_str(), 1);
    fpath = savedPath_;
    Gaussian::options = savedOptions_;
    OptInter = savedInter_;
  }

  template <class F>
  std::string Printed(F f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
  }

  TempDir dir_;
  CMolecule mol_ = testing_support::HydrogenPeroxide();
  std::string savedEnvPath_;
  std::string savedPath_ = fpath;
  Gaussian::GaussianJob savedOptions_ = Gaussian::options;
  COptInter savedInter_ = OptInter;
};

TEST_F(SystemWithStandIn, OptimisationSinglePointAndPopulationRunAndRepeatWithoutNewJobs) {
  const std::string opt = Printed([&] { mol_.QMOptCoordinates(0); });
  EXPECT_TRUE(Contains(opt, "$ full convergence confirmed")) << opt;
  const double optimised = mol_.QMEnergy[0];
  EXPECT_LT(optimised, -5.0);
  const std::string sp = Printed([&] { mol_.QMSinglePoint("sp", Gaussian::options.QMTheory, 0); });
  EXPECT_TRUE(Contains(sp, "$ Single-point calculation finished")) << sp;
  EXPECT_NEAR(mol_.QMEnergy[0], optimised, 1e-6);
  Printed([&] { mol_.PopEspCharges(0); });
  double total = 0;
  for (const auto& a : mol_.atom) total += a.qpop;
  EXPECT_NEAR(total, 0.0, 1e-4);
  ASSERT_EQ(mol_.ESP.QMESPval.size(), 1u);
  const size_t points = mol_.ESP.QMESPval[0].size();
  EXPECT_GT(points, 1000u);
  EXPECT_EQ(mol_.ESP.distESPPoint[0].size(), 4 * points);
  const std::vector<double> firstCoordinates = mol_.xyz;

  // A second run finds every output and starts no job.
  CMolecule again = testing_support::HydrogenPeroxide();
  const std::string rerun = Printed([&] {
    again.QMOptCoordinates(0);
    again.QMSinglePoint("sp", Gaussian::options.QMTheory, 0);
    again.PopEspCharges(0);
  });
  EXPECT_TRUE(Contains(rerun, "opt1.out exists nothing done")) << rerun;
  EXPECT_TRUE(Contains(rerun, "sp1.out exists nothing done")) << rerun;
  EXPECT_TRUE(Contains(rerun, "pop1.out exists nothing done")) << rerun;
  EXPECT_EQ(again.QMEnergy[0], mol_.QMEnergy[0]);
  EXPECT_EQ(again.xyz, firstCoordinates);
  EXPECT_EQ(again.ESP.QMESPval[0], mol_.ESP.QMESPval[0]);
}

}  // namespace
