#include "util.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using testing_support::ShellVariable;

TEST(Rounding, HalvesAwayFromZero) {
  EXPECT_EQ(roundi(-2.5), -3.0);
  EXPECT_DOUBLE_EQ(round(1.23456, 2), 1.23);
  EXPECT_DOUBLE_EQ(round(-1.235, 1), -1.2);
  EXPECT_EQ(cint(-0.4), 0.0);
  EXPECT_EQ(cint(-1.7), -1.0);
}

TEST(Strings, CaseAndWords) {
  std::string s = "AbC1";
  lower(s);
  EXPECT_EQ(s, "abc1");
  upper(s);
  EXPECT_EQ(s, "ABC1");
  EXPECT_EQ(Lower("StOp") + Upper("cg331"), "stopCG331");
  EXPECT_TRUE(ckstr("opt  nosymm\tpop=mk", "nosymm"));
  EXPECT_FALSE(ckstr("opt nosymm", "nosym"));
  EXPECT_EQ(substr("a  b a", "a", "c"), "c b c ");
  EXPECT_TRUE(ident(1, 1) && ident(1, 2, 1));
  EXPECT_FALSE(ident(1, 2) || ident(1, 2, 3));
}

TEST(Random, SequenceIsReproducibleAndInRange) {
  std::srand(1);  // the generator's start state, which the program never changes
  const Real first = RanD(0.4);
  const int k = RanI(3);
  std::srand(1);
  EXPECT_EQ(RanD(0.4), first);
  EXPECT_EQ(RanI(3), k);
  for (int i = 0; i < 100; ++i) {
    EXPECT_THAT(RanD(0.4), testing::AllOf(testing::Ge(0.0), testing::Le(0.4)));
    EXPECT_THAT(RanI(3), testing::AllOf(testing::Ge(0), testing::Lt(3)));
  }
  EXPECT_THAT([] { RanI(0); }, testing::ThrowsMessage<std::invalid_argument>("RanI: empty range"));
  std::srand(1);
}

TEST(Shell, NameFromEnvironmentOrTcsh) {
  {
    const ShellVariable zsh("/bin/zsh");
    EXPECT_EQ(GetShellName(), "/bin/zsh");
  }
  const ShellVariable none(nullptr);
  std::string name;
  EXPECT_EQ(testing_support::Printed([&] { name = GetShellName(); }),
            "err can not determine current shell name, will use tcsh\n");
  EXPECT_EQ(name, "tcsh");
}

TEST(Directories, CreateOnceAndFailWithSystemText) {
  testing_support::TempDir dir;
  const std::string path = (dir.path() / "results").string();
  mkdr(path);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  mkdr(path);                     // exists: nothing happens
  mkdr(dir.Write("plain", "x"));  // a file at the path also counts as existing

  const std::string orphan = (dir.path() / "missing" / "child").string();
  const ProcessExit e = testing_support::ExpectExit([&] { mkdr(orphan); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, orphan + " No such file or directory\n");
}

TEST(Paths, WorkingPathAndTime) {
  EXPECT_EQ(GetWorkingPath(), std::filesystem::current_path().string());
  const std::string t = LTime();
  ASSERT_EQ(t.size(), 25u);  // "Sun Dec  6 16:01:23 2026\n"
  EXPECT_EQ(t.back(), '\n');
}

}  // namespace
