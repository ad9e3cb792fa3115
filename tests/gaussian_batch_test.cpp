// QM jobs run several at a time: the settings, the charge fit of methanol
// with two jobs at once against one, and a job that fails in its batch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "MainScript.h"
#include "gaussian.h"
#include "support/process_exit.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

TEST(QMJobSettings, BadValuesNameTheWord) {
  const Gaussian::GaussianJob saved = Gaussian::options;
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"qmjobs 0", "$ err qmjobs takes one whole number of QM jobs to run at once, 1 or more, not '0'"},
      {"qmjobs two", "$ err qmjobs takes one whole number of QM jobs to run at once, 1 or more, not 'two'"},
      {"qmjobs 2 3", "$ err qmjobs takes one whole number of QM jobs to run at once, 1 or more, not '2 3'"},
      {"qmjobs", "$ err qmjobs takes one whole number of QM jobs to run at once, 1 or more, not ''"},
      {"qmlauncher srun -J\"x\"",
       "$ err qmlauncher takes a command and its options to put in front of g09 (such as srun -N1 "
       "-n1), without quotes, backslashes, $, <, >, |, ; or &: '-J\"x\"'"},
  };
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit([&] { MainScript::ProcessScriptMain(c.line); });
    EXPECT_EQ(e.status, 1) << c.line;
    EXPECT_EQ(e.message, std::string(c.message) + "\n$ err in input script in line : " + c.line + "\n");
  }
  MainScript::ProcessScriptMain("qmjobs 3\nqmlauncher srun   -N1 -n1\n");
  EXPECT_EQ(Gaussian::options.jobs, 3);
  EXPECT_NE(GaussCommandLine("a.inp", "a.out").find(" -c \"srun -N1 -n1 g09 < a.inp>a.out \""),
            std::string::npos);
  Gaussian::options = saved;
}

// The methanol example without its population analysis, with `probes` in
// place of its probe lines and `settings` at its top, in dir.
fs::path MethanolRun(const fs::path& dir, const std::string& probes, const std::string& settings) {
  const fs::path examples = fs::path(QM2FF_SOURCE_DIR) / "examples";
  fs::copy(examples / "methanol", dir / "methanol", fs::copy_options::recursive);
  fs::copy(examples / "toppar", dir / "toppar", fs::copy_options::recursive);
  std::string script = ReadFile(dir / "methanol" / "methanol.inp");
  script.erase(script.find("population\n"), std::string("population\n").size());
  const auto from = script.find("  probe OG 3");
  script.replace(from, script.find("end\n") - from, probes);
  std::ofstream(dir / "methanol" / "test.inp") << settings << script;
  return dir / "methanol";
}

std::map<std::string, std::string> Files(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = ReadFile(e.path());
  return files;
}

// The table of fitted charges and the total charge of a run's output.
std::string Charges(const std::string& out) {
  const auto from = out.find("$ Developed charges");
  return from == std::string::npos ? "" : out.substr(from, out.find("$ topology", from) - from);
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST(QMBatch, ChargeFitWithTwoJobsWritesTheFilesOfOneJob) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no g09 stand-in built";
  TempDir one, two;
  const std::string probes = "  probe OG 2\n  probe HG1 1\n";
  const fs::path serial = MethanolRun(one.path(), probes, "");
  const fs::path parallel = MethanolRun(two.path(), probes, "qmjobs 2\nqmlauncher env\n");
  const RunResult a = RunQm2ff("test.inp", serial);
  ASSERT_EQ(a.status, 0) << a.err;
  const RunResult b = RunQm2ff("test.inp", parallel);
  ASSERT_EQ(b.status, 0) << b.err;
  const auto filesA = Files(serial), filesB = Files(parallel);
  EXPECT_EQ(filesA.size(), filesB.size());
  for (const auto& [name, text] : filesA) {
    const bool same = name == "test.inp" || (filesB.count(name) && filesB.at(name) == text);
    EXPECT_TRUE(same) << name;
  }
  EXPECT_NE(Charges(a.out), "");
  EXPECT_EQ(Charges(b.out), Charges(a.out));
  EXPECT_EQ(Count(a.out, "$ QM "), 0);
  EXPECT_EQ(Count(b.out, "$ QM batch of 3 jobs, at most 2 at a time\n"), 1);
  EXPECT_EQ(Count(b.out, "$ QM job done : "), 3);
  EXPECT_NE(b.out.find("(3 of 3, 0 running, "), std::string::npos);
}

// A g09 in front of the stand-in that fails the probe of HG1 at once.
void AddFailingG09(const fs::path& bin) {
  fs::create_directories(bin);
  std::ofstream(bin / "g09") << "#!/bin/sh\ndeck=$(mktemp)\ncat > \"$deck\"\n"
                             << "if grep -q 'atom HG1' \"$deck\"; then rm \"$deck\"; echo cut off; exit 3; fi\n"
                             << "exec < \"$deck\"\nrm \"$deck\"\nexec '" QM2FF_ENGINES_BIN "/g09'\n";
  fs::permissions(bin / "g09", fs::perms::owner_all, fs::perm_options::add);
}

TEST(QMBatch, FailedJobEndsTheRunAfterTheOthersOfItsBatch) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no g09 stand-in built";
  TempDir dir;
  const fs::path run = MethanolRun(dir.path(), "  probe HG1 1\n  probe OG 2\n", "qmjobs 2\n");
  AddFailingG09(dir.path() / "bin");
  const RunResult r = testing_support::Run(
      "PATH='" + (dir.path() / "bin").string() + "':\"$PATH\" '" QM2FF_EXE "' test.inp", run);
  EXPECT_EQ(r.status, 1);
  const std::string stem = run.string() + "//water1/HG1/HG1.0.0";
  EXPECT_EQ(r.err, "$ err QM job " + stem + ".inp (exit status 3) left no complete output " + stem +
                       ".out: inspect it and run the script again\n");
  EXPECT_EQ(ReadFile(stem + ".out"), "cut off\n");
  for (const char* f : {"water1/OG/OG.0.0.out", "water1/OG/OG.180.0.out"})
    EXPECT_TRUE(GaussianOutputComplete((run / f).string())) << f;

  // Again without the fault: the cut-off output goes aside, the others are reused.
  const RunResult again = RunQm2ff("test.inp", run);
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(ReadFile(stem + ".out.incomplete"), "cut off\n");
  EXPECT_EQ(Count(again.out, "exists nothing done"), 3);
  EXPECT_EQ(Count(again.out, "$ QM job done : "), 1);
}

}  // namespace
