// The script executor in-process: values set by commands and sections cut
// out of the script.
#include "MainScript.h"

#include <gtest/gtest.h>

#include "gaussian.h"

namespace {

using MainScript::Cursor;

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
