// The working directory and the time of day are printed by every script run
// of tests/data/scripts.
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

TEST(Strings, RoundingCaseAndWords) {
  EXPECT_EQ(roundi(-2.5) + cint(-0.4) + cint(-1.7), -4.0);  // halves away from zero
  EXPECT_DOUBLE_EQ(round(1.23456, 2) + round(-1.235, 1), 1.23 - 1.2);
  std::string s = "AbC1";
  lower(s);
  EXPECT_EQ(s, "abc1");
  upper(s);
  EXPECT_EQ(s + Lower("StOp") + Upper("cg331"), "ABC1stopCG331");
  EXPECT_TRUE(ckstr("opt  nosymm\tpop=mk", "nosymm") && !ckstr("opt nosymm", "nosym"));
  EXPECT_EQ(substr("a  b a", "a", "c"), "c b c ");
  EXPECT_TRUE(ident(1, 1) && ident(1, 2, 1));
  EXPECT_FALSE(ident(1, 2) || ident(1, 2, 3));
}

// From the generator's start state, which the program never changes.
TEST(Random, SequenceIsReproducibleAndInRange) {
  std::srand(1);
  const Real first = RanD(0.4);
  const int k = RanI(3);
  std::srand(1);
  EXPECT_EQ(RanD(0.4), first);
  EXPECT_EQ(RanI(3), k);
  for (int i = 0; i < 100; ++i)
    EXPECT_TRUE(RanD(0.4) <= 0.4 && RanI(3) < 3 && RanD(1) >= 0 && RanI(3) >= 0);
  EXPECT_THAT([] { RanI(0); }, testing::ThrowsMessage<std::invalid_argument>("RanI: empty range"));
  std::srand(1);
}

TEST(Shell, NameFromEnvironmentOrTcsh) {
  std::string name;
  {
    const ShellVariable zsh("/bin/zsh");
    EXPECT_EQ(GetShellName(), "/bin/zsh");
  }
  const ShellVariable none(nullptr);
  EXPECT_EQ(testing_support::Printed([&] { name = GetShellName(); }),
            "err can not determine current shell name, will use tcsh\n");
  EXPECT_EQ(name, "tcsh");
}

// An existing directory or file counts as made.
TEST(Directories, CreateOnceAndFailWithSystemText) {
  testing_support::TempDir dir;
  const std::string path = (dir.path() / "results").string();
  mkdr(path);
  mkdr(path);
  mkdr(dir.Write("plain", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  const std::string orphan = (dir.path() / "missing" / "child").string();
  const ProcessExit e = testing_support::ExpectExit([&] { mkdr(orphan); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, orphan + " No such file or directory\n");
}

}  // namespace
