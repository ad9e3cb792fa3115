// The record of CHARMM jobs kept while a minimiser runs, with a charmm that
// counts its runs and copies the parameter file into its result.
#include <gtest/gtest.h>

#include <filesystem>

#include "intra/mm_job.h"
#include "support/fpath_scope.h"
#include "support/path_scope.h"
#include "support/run.h"
#include "util.h"

namespace {

using namespace testing_support;

TEST(CharmmJobMemo, AJobRunsOncePerParameterFileWhileOn) {
  TempDir dir;
  const std::string wd = dir.path().string() + "/";
  const FpathScope scope(wd);
  std::filesystem::create_directory(dir.path() / "bin");
  const std::string charmm = dir.Write("bin/charmm", "#!/bin/sh\necho run >> runs.txt\ncat add_para.inp > result.dat\n");
  std::filesystem::permissions(charmm, std::filesystem::perms::owner_all);
  const PathScope path(wd + "bin");
  const std::string script = dir.Write("job.inp", "");
  const auto job = [&](const char* parameters) {
    dir.Write("add_para.inp", parameters);
    charmmJobMemo.Read(wd + "add_para.inp");
    EXPECT_TRUE(RunCharmmJob(script, wd + "job.out", "", {wd + "result.dat"}));
    return dir.Read("result.dat");
  };
  charmmJobMemo.Switch(true);
  EXPECT_EQ(job("a"), "a");
  EXPECT_EQ(job("b"), "b");
  EXPECT_EQ(job("a"), "a");  // written back from the record
  EXPECT_EQ(dir.Read("runs.txt"), "run\nrun\n");
  charmmJobMemo.Switch(false);
  EXPECT_EQ(job("a"), "a");
  EXPECT_EQ(dir.Read("runs.txt"), "run\nrun\nrun\n");
}

}  // namespace
