#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using testing_support::ExpectExit;
using testing_support::ShellVariable;
using testing_support::TempDir;

// A runner that records the command lines instead of starting them.
struct RecordingRunner {
  std::vector<std::string> lines;
  int status = 0;
  ShellRunner Runner() {
    return [this](const std::string& line) {
      lines.push_back(line);
      return status;
    };
  }
};

TEST(GaussCommandLine, FallsBackToTcsh) {
  ShellVariable shell(nullptr);
  testing::internal::CaptureStdout();
  const std::string line = GaussCommandLine("a.inp", "a.out");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(line, "tcsh -c \"g09 < a.inp>a.out \"");
}

TEST(RunGauss, StartsTheJobWhenTheOutputIsMissing) {
  ShellVariable shell("/bin/sh");
  TempDir dir;
  const std::string inp = dir.Write("sp1.inp", "deck");
  const std::string out = (dir.path() / "sp1.out").string();
  RecordingRunner runner;
  run_gauss(inp, out, runner.Runner());
  ASSERT_EQ(runner.lines.size(), 1u);
  EXPECT_EQ(runner.lines[0], "/bin/sh -c \"g09 < " + inp + ">" + out + " \"");
}

TEST(RunGauss, ReusesAnExistingOutputWhateverItHolds) {
  TempDir dir;
  const std::string inp = dir.Write("sp1.inp", "deck");
  const std::string out = dir.Write("sp1.out", "");
  RecordingRunner runner;
  testing::internal::CaptureStdout();
  run_gauss(inp, out, runner.Runner());
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(runner.lines.empty());
  EXPECT_NE(printed.find("$ " + out + " exists nothing done\n"), std::string::npos) << printed;
}

TEST(RunGauss, SwitchedOffRunsNothingNotEvenAMissingOutput) {
  TempDir dir;
  const std::string inp = (dir.path() / "pop1.inp").string();
  const std::string out = (dir.path() / "pop1.out").string();
  RecordingRunner runner;
  const int saved = OptInter.bGsOut;
  OptInter.bGsOut = 0;
  testing::internal::CaptureStdout();
  run_gauss(inp, out, runner.Runner());
  const std::string printed = testing::internal::GetCapturedStdout();
  OptInter.bGsOut = saved;
  EXPECT_TRUE(runner.lines.empty());
  EXPECT_EQ(printed, "$ no QM calculation will be produced for input file : " + inp + " \n");
}

TEST(RunGauss, FailureToStartIsReportedAndTheRunGoesOn) {
  ShellVariable shell("/bin/sh");
  TempDir dir;
  const std::string inp = dir.Write("sp1.inp", "deck");
  const std::string out = (dir.path() / "sp1.out").string();
  RecordingRunner runner;
  runner.status = -1;
  testing::internal::CaptureStderr();
  run_gauss(inp, out, runner.Runner());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "$ err in running : /bin/sh -c \"g09 < " + inp + ">" + out + " \"\n");
}

TEST(RunGauss, FileNamesThatTheShellWouldSplitAreRefused) {
  TempDir dir;
  const std::string inp = dir.Write("my job.inp", "deck");
  const std::string out = (dir.path() / "my job.out").string();
  RecordingRunner runner;
  const ProcessExit e = ExpectExit([&] { run_gauss(inp, out, runner.Runner()); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err gaussian file name with blanks or shell characters : " + inp + "\n");
  EXPECT_TRUE(runner.lines.empty());

  const ProcessExit quote = ExpectExit(
      [&] { run_gauss(dir.Write("a.inp", ""), "x\"; rm -rf y; \".out", runner.Runner()); });
  EXPECT_EQ(quote.status, 1);
  EXPECT_TRUE(runner.lines.empty());
}

TEST(RunGauss, RealShellRunsTheCommand) {
  // A stand-in program named g09 on PATH copies its input to its output.
  TempDir dir;
  const std::string bin = (dir.path() / "bin").string();
  dir.Write("bin/g09", "#!/bin/sh\ncat\n");
  std::filesystem::permissions(dir.path() / "bin" / "g09", std::filesystem::perms::owner_all);
  const std::string inp = dir.Write("job.inp", "deck text\n");
  const std::string out = (dir.path() / "job.out").string();
  ShellVariable shell("/bin/sh");
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
  run_gauss(inp, out);
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(dir.Read("job.out"), "deck text\n");
}

}  // namespace
