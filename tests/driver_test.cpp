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

TEST(Program, ValueCommandsStreamsWorkdirAndStop) {
  TempDir dir;
  const std::string sub = (dir.path() / "run1").string() + "/";
  dir.Write("run1/part.inp", "nproc 4\nSTOP\nspin 5");  // no final newline
  dir.Write("s.inp",
            "! a comment\n\nunknownkey 1 2\nCHARGE 0.5\nspin 2\nqmtheory MP2   6-31G*\n"
            "gausscommand  %mem=2GB  x\ngausscommand %nosave\n"
            "workdir " +
                sub + "\nstream part.inp\ncharge 2\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // The working directory is printed when read and again when executed; the
  // streamed file is found there, and its STOP ends the run.
  EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ working directory : " + sub + "\n" +
                       "$ net molecular charge :   0.5\n"
                       "$ Spin multiplicity : 2\n"
                       "$ ab-initio level of theory : MP2 6-31G* \n"
                       "$ gaussian options : %mem=2GB  x\n"
                       "$ gaussian options : nosave\n"
                       "$ working directory : " +
                       sub + "\n" + "$ number of processors for gaussian jobs : 4\n");
}

TEST(Program, StopInAnyCaseEndsTheReading) {
  TempDir dir;
  dir.Write("s.inp", "charge 1\nsToP\ncharge 2\nstream nothing.inp\n");
  const auto r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ net molecular charge :   1.0\n");
  EXPECT_EQ(r.err, "");

  // An empty script executes nothing.
  dir.Write("empty.inp", "");
  const auto e = RunQm2ff("empty.inp", dir.path());
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.out, CurrentDirLine(dir));
  EXPECT_EQ(e.err, "");
}

TEST(Program, MissingScriptArgumentOrStreamedFile) {
  TempDir dir;
  auto r = RunQm2ff("absent.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ unable to open file : absent.inp\n");
  EXPECT_EQ(r.out, "");

  r = testing_support::Run(std::string("'") + QM2FF_EXE + "'", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string("usage: ") + QM2FF_EXE + " SCRIPT\n");

  dir.Write("s.inp", "charge 1\nstream gone.inp\n");
  r = RunQm2ff("s.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ unable to open input file : " + dir.path().string() + "/gone.inp\n");
  EXPECT_EQ(r.out, CurrentDirLine(dir));  // nothing was executed
}

TEST(Program, ScriptErrorsEndTheRunNamingTheLine) {
  TempDir dir;
  for (const std::string line : {"charge x", "charge", "spin two", "nproc", "nproc 99999999999",
                                 "gausscommand", "gausscommand "}) {
    SCOPED_TRACE(line);
    dir.Write("s.inp", "spin 1\n" + line + "\nspin 3\n");
    const auto r = RunQm2ff("s.inp", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "$ err in input script in line : " + line + "\n");
    EXPECT_EQ(r.out, CurrentDirLine(dir) + "$ Spin multiplicity : 1\n");
  }
}

}  // namespace
