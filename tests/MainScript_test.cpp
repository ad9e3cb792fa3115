// The script executor in-process: sections cut out of the script and the
// error handler.
#include "MainScript.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "gaussian.h"
#include "mol.h"

namespace {

using MainScript::Cursor;

ProcessExit ExitOf(const std::string& script) {
  try {
    MainScript::ProcessScriptMain(script);
  } catch (const ProcessExit& e) {
    return e;
  }
  ADD_FAILURE() << "the script did not end the process";
  return {};
}

TEST(Executor, EmptyTextDoesNothing) {
  EXPECT_NO_THROW(MainScript::ProcessScriptMain(""));
  EXPECT_NO_THROW(MainScript::ProcessScriptMain("\n\n"));
}

TEST(Executor, StopEndsWithStatusZero) {
  const auto e = ExitOf("spin 2\nStop\nspin x\n");
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.message, "");
  EXPECT_EQ(mol1.spinm, 2);
  mol1.spinm = 1;
}

TEST(Executor, ValuesReachTheSharedObjects) {
  const Gaussian::GaussianJob saved = Gaussian::options;
  testing::internal::CaptureStdout();
  MainScript::ProcessScriptMain("qmtheory B3LYP/6-31G* \ngausscommand  %mem=2GB  x\nnproc 4");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(Gaussian::options.QMTheory, "B3LYP/6-31G* ");
  EXPECT_EQ(Gaussian::options.addCommand, "%mem=2GB  x");
  EXPECT_EQ(Gaussian::options.nproc, 4);
  EXPECT_EQ(Gaussian::options.command, "g09");
  Gaussian::options = saved;
}

TEST(Executor, ErrorNamesTheCurrentLine) {
  testing::internal::CaptureStdout();
  const auto e = ExitOf("charge 1\ncharge one\n");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err in input script in line : charge one\n");
  mol1.netcharge = 0;
}

TEST(Sections, ChargeSectionEndsAtExactLowerCaseEnd) {
  const std::string text = "optcharge\nprobe O1 2\n  end  \nspin 1\n";
  Cursor c(text);
  c.Next();
  EXPECT_EQ(MainScript::TakeChargeSection(c), "probe O1 2\n  end  \n");
  EXPECT_EQ(c.Next(), "spin 1");

  const std::string open = "optcharge\nprobe O1 2\nEND\n";
  Cursor u(open);
  u.Next();
  EXPECT_THROW(MainScript::TakeChargeSection(u), std::out_of_range);
  EXPECT_EQ(u.line, "");
}

TEST(Sections, BondSectionKeepsScanBlocksAndDropsTheLineAfterThem) {
  const std::string text =
      "optintra\nfc\nscan\nd C1 C2 C3 C4\nend\ndropped\nRUN\nrun\nspin 1\n";
  Cursor c(text);
  c.Next();
  EXPECT_EQ(MainScript::TakeBondSection(c), "fc\nscan\nd C1 C2 C3 C4\nend\nRUN\nrun\n");
  EXPECT_EQ(c.Next(), "spin 1");

  const std::string scanThenRun = "optintra\nscan\nend\nrun\nspin 1\n";
  Cursor d(scanThenRun);
  d.Next();
  EXPECT_EQ(MainScript::TakeBondSection(d), "scan\nend\n");
  EXPECT_EQ(d.line, "run");
}

TEST(Sections, UnterminatedBondSectionRaises) {
  const std::string text = "optintra\nscan\nd a b c d\n";
  Cursor c(text);
  c.Next();
  EXPECT_THROW(MainScript::TakeBondSection(c), std::out_of_range);
}

}  // namespace
