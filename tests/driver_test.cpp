// The program as a user runs it: scripts in a temporary directory.
#include "driver.h"

#include <gtest/gtest.h>

#include "support/run.h"

namespace {

using testing_support::RunQm2ff;
using testing_support::TempDir;

std::string CurrentDirLine(const TempDir& dir) {
  return "current directory " + dir.path().string() + "/\n";
}

TEST(Program, EmptyScriptPrintsOnlyTheDirectory) {
  TempDir dir;
  dir.Write("empty.inp", "");
  const auto r = RunQm2ff("empty.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, CurrentDirLine(dir));
  EXPECT_EQ(r.err, "");
}

TEST(Program, MissingScriptOrArgument) {
  TempDir dir;
  auto r = RunQm2ff("absent.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ unable to open file : absent.inp\n");
  EXPECT_EQ(r.out, "");

  r = testing_support::Run(std::string("'") + QM2FF_EXE + "'", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("usage:"), std::string::npos);
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);  // one line
}

TEST(Program, StopInAnyCaseEndsTheReading) {
  TempDir dir;
  dir.Write("s.inp", "charge 1\nsToP\ncharge 2\nstream nothing.inp\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ net molecular charge :   1.0\n");
  EXPECT_EQ(r.err, "");
}

TEST(Program, StopInsideAStreamedFileEndsWhenReached) {
  TempDir dir;
  dir.Write("part.inp", "spin 3\nSTOP\nspin 5");
  dir.Write("s.inp", "charge -1\nstream part.inp\ncharge 2\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, CurrentDirLine(dir) +
                       "$ net molecular charge :  -1.0\n"
                       "$ Spin multiplicity : 3\n");
}

TEST(Program, WorkdirIsPrintedTwiceAndAppliesToLaterStreams) {
  TempDir dir;
  const std::string sub = (dir.path() / "run1").string() + "/";
  dir.Write("run1/part.inp", "nproc 4\n");
  dir.Write("s.inp", "workdir " + sub + "\nstream part.inp\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ working directory : " + sub + "\n" +
                       "$ working directory : " + sub + "\n" +
                       "$ number of processors for gaussian jobs : 4\n");
}

TEST(Program, MissingStreamedFile) {
  TempDir dir;
  dir.Write("s.inp", "charge 1\nstream gone.inp\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ unable to open input file : " + dir.path().string() + "/gone.inp\n");
  EXPECT_EQ(r.out, CurrentDirLine(dir));  // nothing was executed
}

TEST(Program, ValueCommands) {
  TempDir dir;
  dir.Write("s.inp",
            "! a comment\n\nunknownkey 1 2\n"
            "CHARGE 0.5\nspin 2\nqmtheory MP2   6-31G*\nnproc 2\n"
            "gausscommand  %mem=2GB\ngausscommand %nosave\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, CurrentDirLine(dir) +
                       "$ net molecular charge :   0.5\n"
                       "$ Spin multiplicity : 2\n"
                       "$ ab-initio level of theory : MP2 6-31G* \n"
                       "$ number of processors for gaussian jobs : 2\n"
                       "$ gaussian options : %mem=2GB\n"
                       "$ gaussian options : nosave\n");
}

class ScriptErrors : public testing::TestWithParam<std::string> {};

TEST_P(ScriptErrors, EndTheRunNamingTheLine) {
  TempDir dir;
  const std::string line = GetParam();
  dir.Write("s.inp", "spin 1\n" + line + "\nspin 3\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ err in input script in line : " + line + "\n");
  EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ Spin multiplicity : 1\n");
}

INSTANTIATE_TEST_SUITE_P(Commands, ScriptErrors,
                         testing::Values("charge x", "charge", "spin two", "nproc",
                                         "nproc 99999999999", "gausscommand",
                                         "gausscommand "),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return "Line" + std::to_string(info.index);
                         });

}  // namespace
