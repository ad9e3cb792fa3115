#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using namespace testing_support;

// A deck in a directory of its own, run through /bin/sh by a runner that
// records the command lines instead of starting them. (The real shell runs
// the stand-in QM program in the engines' system tests.)
class RunGauss : public ::testing::Test {
 protected:
  ShellRunner Runner() {
    return [this](const std::string& line) {
      lines_.push_back(line);
      return status_;
    };
  }

  ShellVariable shell_{"/bin/sh"};
  TempDir dir_;
  const std::string inp_ = dir_.Write("sp1.inp", "deck\n");
  const std::string out_ = (dir_.path() / "sp1.out").string();
  std::vector<std::string> lines_;
  int status_ = 0;
};

// A job that could not be started, or that a signal stopped (itself or the
// shell around it), ends the run naming it. (Whole runs check a job that
// leaves no complete output, and the command line itself.)
TEST_F(RunGauss, EndsTheRunWhenTheJobCannotStartOrIsStopped) {
  const std::string line = "/bin/sh -c \"g09 < " + inp_ + ">" + out_ + " \"";
  const struct {
    int status;  // as `system` gives it back
    int exit;
    std::string message;
  } rows[] = {
      {-1, 1, "$ err QM job " + inp_ + " (could not be started) left no complete output " + out_ +
                  ": inspect it and run the script again\n"},
      {130 << 8, 130, "$ err QM job " + inp_ + " was stopped by signal 2 (Interrupt): the run stops "
                      "here; run the script again to go on, the jobs that ended are reused\n"},
      {SIGTERM, 143, "$ err QM job " + inp_ + " was stopped by signal 15 (Terminated): the run "
                     "stops here; run the script again to go on, the jobs that ended are reused\n"},
  };
  for (const auto& row : rows) {
    status_ = row.status;
    testing::internal::CaptureStderr();
    const ProcessExit e = ExpectExit([&] { Printed([&] { run_gauss(inp_, out_, Runner()); }); });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(e.status, row.exit);
    EXPECT_EQ(e.message, row.message);
    EXPECT_EQ(err, row.status == -1 ? "$ err in running : " + line + "\n" : "");
  }
}

TEST_F(RunGauss, StartsNothingWhenSwitchedOff) {
  const int saved = OptInter.bGsOut;
  OptInter.bGsOut = 0;
  const std::string printed = Printed([&] { run_gauss(inp_, out_, Runner()); });
  OptInter.bGsOut = saved;
  EXPECT_EQ(printed, "$ no QM calculation will be produced for input file : " + inp_ + " \n");
  EXPECT_TRUE(lines_.empty());
}

// An output without a termination line was cut off: it is kept aside and the
// job runs again (a whole run checks that), unless QM jobs are switched off.
TEST_F(RunGauss, AnIncompleteOutputIsNotRunAgainWhenJobsAreSwitchedOff) {
  dir_.Write("sp1.out", " SCF Done:  E(RHF) =  -75.9\n Input orientation:\n");
  const int saved = OptInter.bGsOut;
  OptInter.bGsOut = 0;
  const ProcessExit e = ExpectExit([&] { Printed([&] { run_gauss(inp_, out_, Runner()); }); });
  OptInter.bGsOut = saved;
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err gaussian output " + out_ +
                           " is incomplete (no termination line) and nogaussian forbids running it "
                           "again: remove the file or the nogaussian line\n");
  EXPECT_TRUE(lines_.empty());
}

TEST_F(RunGauss, FileNamesThatTheShellWouldSplitAreRefused) {
  const std::string blank = dir_.Write("my job.inp", "deck");
  const std::string quote = "x\"; rm -rf y; \".out";
  const struct {
    std::string inp, out, refused;
  } cases[] = {{blank, (dir_.path() / "my job.out").string(), blank}, {inp_, quote, quote}};
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit([&] { run_gauss(c.inp, c.out, Runner()); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message,
              "$ err gaussian file name with blanks or shell characters : " + c.refused + "\n");
  }
  EXPECT_TRUE(lines_.empty());
}

}  // namespace
