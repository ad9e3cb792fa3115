// QM jobs run several at a time: the settings, and the charge fit of methanol
// with two jobs at once, one of which fails, against one.
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
  const std::string jobs =
      "$ err qmjobs takes one whole number of QM jobs to run at once, 1 or more, not '";
  const std::pair<std::string, std::string> cases[] = {
      {"qmjobs 0", jobs + "0'"},
      {"qmjobs two", jobs + "two'"},
      {"qmjobs 2 3", jobs + "2 3'"},
      {"qmjobs", jobs + "'"},
      {"qmlauncher srun -J\"x\"",
       "$ err qmlauncher takes a command and its options to put in front of g09 (such as "
       "srun -N1 -n1), without quotes, backslashes, $, <, >, |, ; or &: '-J\"x\"'"}};
  for (const auto& [line, message] : cases) {
    const ProcessExit e = ExpectExit([&] { MainScript::ProcessScriptMain(line); });
    EXPECT_EQ(e.status, 1) << line;
    EXPECT_EQ(e.message, message + "\n$ err in input script in line : " + line + "\n");
  }
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

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// With two jobs at once and a g09 in front of the stand-in that fails the
// probe of HG1, the run ends once the other jobs of the batch have ended. Run
// again without the fault, the cut-off output goes aside, the others are
// reused, and the run leaves the files and charges of a run with one job.
TEST(QMBatch, FailedJobEndsTheRunAfterTheOthersOfItsBatchAndARerunEndsTheFit) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no g09 stand-in built";
  TempDir one, two;
  const std::string probes = "  probe HG1 1\n  probe OG 2\n";
  const fs::path dirs[] = {MethanolRun(one.path(), probes, ""),
                           MethanolRun(two.path(), probes, "qmjobs 2\nqmlauncher env\n")};
  const fs::path bin = two.path() / "bin";
  fs::create_directories(bin);
  std::ofstream(bin / "g09")
      << "#!/bin/sh\ndeck=$(mktemp)\ncat > \"$deck\"\n"
      << "if grep -q 'atom HG1' \"$deck\"; then rm \"$deck\"; echo cut off; exit 3; fi\n"
      << "exec < \"$deck\"\nrm \"$deck\"\nexec '" QM2FF_ENGINES_BIN "/g09'\n";
  fs::permissions(bin / "g09", fs::perms::owner_all, fs::perm_options::add);
  const RunResult r = testing_support::Run(
      "PATH='" + bin.string() + "':\"$PATH\" '" QM2FF_EXE "' test.inp", dirs[1]);
  EXPECT_EQ(r.status, 1);
  const std::string stem = dirs[1].string() + "//water1/HG1/HG1.0.0";
  EXPECT_EQ(r.err, "$ err QM job " + stem + ".inp (exit status 3) left no complete output " + stem +
                       ".out: inspect it and run the script again\n");
  EXPECT_EQ(Count(r.out, "$ QM batch of 3 jobs, at most 2 at a time\n"), 1);
  EXPECT_EQ(Count(r.out, "$ QM job done : "), 3);  // the failed one too
  fs::remove_all(bin);

  std::map<std::string, std::string> files[2];
  std::string out[2];
  for (int k = 0; k < 2; ++k) {
    const RunResult again = RunQm2ff("test.inp", dirs[k]);
    ASSERT_EQ(again.status, 0) << again.err;
    out[k] = again.out;
    for (const auto& e : fs::recursive_directory_iterator(dirs[k]))
      if (e.is_regular_file() && e.path().filename() != "test.inp")
        files[k][fs::relative(e.path(), dirs[k]).string()] = ReadFile(e.path());
  }
  EXPECT_EQ(files[1]["water1/HG1/HG1.0.0.out.incomplete"], "cut off\n");
  files[1].erase("water1/HG1/HG1.0.0.out.incomplete");
  EXPECT_TRUE(files[0] == files[1]);
  EXPECT_EQ(Count(out[0], "$ QM "), 0);
  EXPECT_EQ(Count(out[1], "exists nothing done"), 3);
  EXPECT_EQ(Count(out[1], "$ QM job done : "), 1);
  EXPECT_NE(out[1].find("(1 of 1, 0 running, "), std::string::npos);
  // The table of fitted charges and the total charge.
  const auto charges = [](const std::string& o) {
    const auto from = o.find("$ Developed charges");
    return from == std::string::npos ? "" : o.substr(from, o.find("$ topology", from) - from);
  };
  EXPECT_NE(charges(out[0]), "");
  EXPECT_EQ(charges(out[1]), charges(out[0]));
}

}  // namespace
