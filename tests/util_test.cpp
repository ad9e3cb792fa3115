#include "util.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "errors.h"
#include "support/run.h"

namespace {

TEST(Rounding, HalvesAwayFromZero) {
  EXPECT_EQ(roundi(2.5), 3.0);
  EXPECT_EQ(roundi(-2.5), -3.0);
  EXPECT_EQ(roundi(-2.4), -2.0);
  EXPECT_DOUBLE_EQ(round(1.23456, 2), 1.23);
  EXPECT_DOUBLE_EQ(round(-1.235, 1), -1.2);
  EXPECT_DOUBLE_EQ(round(0.0005, 3), 0.001);
  EXPECT_EQ(cint(-0.4), 0.0);
  EXPECT_EQ(cint(2.5), 3.0);
  EXPECT_EQ(cint(-1.7), -1.0);
}

TEST(Strings, CaseAndWords) {
  std::string s = "AbC1";
  lower(s);
  EXPECT_EQ(s, "abc1");
  upper(s);
  EXPECT_EQ(s, "ABC1");
  EXPECT_EQ(Lower("StOp"), "stop");
  EXPECT_EQ(Upper("cg331"), "CG331");
  EXPECT_TRUE(ckstr("opt  nosymm\tpop=mk", "nosymm"));
  EXPECT_FALSE(ckstr("opt nosymm", "nosym"));
  EXPECT_EQ(substr("a  b a", "a", "c"), "c b c ");
  EXPECT_EQ(substr("", "a", "c"), "");
  EXPECT_TRUE(ident(1, 1));
  EXPECT_FALSE(ident(1, 2));
  EXPECT_TRUE(ident(1, 2, 1));
  EXPECT_FALSE(ident(1, 2, 3));
}

TEST(Random, SequenceIsReproducibleAndInRange) {
  std::srand(1);  // the generator's start state, which the program never changes
  Real first[5];
  for (Real& x : first) x = RanD(0.4);
  std::srand(1);
  for (Real x : first) {
    EXPECT_EQ(RanD(0.4), x);
    EXPECT_GE(x, 0.0);
    EXPECT_LE(x, 0.4);
  }
  for (int i = 0; i < 100; ++i) {
    const int k = RanI(3);
    EXPECT_GE(k, 0);
    EXPECT_LT(k, 3);
  }
  EXPECT_THROW(RanI(0), std::invalid_argument);
}

TEST(Shell, NameFromEnvironmentOrTcsh) {
  const char* saved = std::getenv("SHELL");
  const std::string keep = saved ? saved : "";
  setenv("SHELL", "/bin/zsh", 1);
  EXPECT_EQ(GetShellName(), "/bin/zsh");
  unsetenv("SHELL");
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetShellName(), "tcsh");
  EXPECT_EQ(GetShellName(), "tcsh");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "err can not determine current shell name, will use tcsh\n"
            "err can not determine current shell name, will use tcsh\n");
  if (saved) setenv("SHELL", keep.c_str(), 1);
}

TEST(Directories, CreateOnceAndFailWithSystemText) {
  testing_support::TempDir dir;
  const std::string path = (dir.path() / "results").string();
  mkdr(path);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  mkdr(path);  // exists: nothing happens
  const std::string file = dir.Write("plain", "x");
  mkdr(file);  // a file at the path also counts as existing
  EXPECT_TRUE(std::filesystem::is_regular_file(file));

  const std::string orphan = (dir.path() / "missing" / "child").string();
  try {
    mkdr(orphan);
    FAIL() << "expected the process to end";
  } catch (const ProcessExit& e) {
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, orphan + " No such file or directory\n");
  }
}

TEST(Paths, WorkingPathAndTime) {
  EXPECT_EQ(GetWorkingPath(), std::filesystem::current_path().string());
  const std::string t = LTime();
  ASSERT_EQ(t.size(), 25u);  // "Sun Dec  6 16:01:23 2026\n"
  EXPECT_EQ(t.back(), '\n');
}

}  // namespace
