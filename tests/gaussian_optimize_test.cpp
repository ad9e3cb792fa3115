#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gaussian.h"
#include "support/molecule.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using testing_support::ExpectExit;
using testing_support::HydrogenPeroxide;
using testing_support::ShellVariable;
using testing_support::TempDir;

// Keeps the QM options of the process and puts them back.
class OptimizeDeck : public ::testing::Test {
 protected:
  void TearDown() override { Gaussian::options = saved_; }

  // Writes the deck for the output that is already there and returns its text.
  std::string Deck(const std::vector<Real>& cr, const std::vector<CConstraint>& cons) {
    const std::string out = dir_.Write("scan.out", "");
    testing::internal::CaptureStdout();
    Gaussian::Optimize(mol_, (dir_.path() / "scan.inp").string(), out, cr, cons);
    testing::internal::GetCapturedStdout();
    return dir_.Read("scan.inp");
  }

  static CConstraint Frozen(std::vector<int> atoms) {
    CConstraint c;
    for (std::size_t k = 0; k < atoms.size(); ++k) c.aid[k] = atoms[k];
    return c;
  }

  ShellVariable shell_{"/bin/sh"};
  TempDir dir_;
  CMolecule mol_ = HydrogenPeroxide();
  Gaussian::GaussianJob saved_ = Gaussian::options;
  const std::vector<Real> cr_ = {0.9, 0.8, 0.5, 0.0, 0.7, 0.0, 0.0, -0.7, 0.0, -0.9, -0.8, 0.5};
};

TEST_F(OptimizeDeck, AnionWithTwoAndFourAtomConstraints) {
  mol_.netcharge = -1.0;
  mol_.spinm = 1;
  EXPECT_EQ(Deck(cr_, {Frozen({0, 1}), Frozen({3, 0, 1, 2})}),
            "\n"
            "%NPROCS=1\n"
            "%NoSave\n"
            "#HF/6-31G* Opt=(ModRedun, MaxCycle=20) NoSymm\n"
            "\n"
            "MolName: \n"
            "\n"
            "-1 1 \n"
            "1    0  0.90000  0.80000  0.50000\n"
            "8    0  0.00000  0.70000  0.00000\n"
            "8    0  0.00000 -0.70000  0.00000\n"
            "1    0 -0.90000 -0.80000  0.50000\n"
            "\n"
            "1 2  F\n"
            "4 1 2 3  F\n"
            "\n");
}

TEST_F(OptimizeDeck, ProcessorsAndExtraCommandWithoutConstraints) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=2GB";
  Gaussian::options.QMTheory = "MP2/6-31G* ";
  mol_.spinm = 3;
  EXPECT_EQ(Deck(cr_, {}),
            "%mem=2GB\n"
            "%NPROCS=4\n"
            "%NoSave\n"
            "#MP2/6-31G*  Opt=(ModRedun, MaxCycle=20) NoSymm\n"
            "\n"
            "MolName: \n"
            "\n"
            "0 3 \n"
            "1    0  0.90000  0.80000  0.50000\n"
            "8    0  0.00000  0.70000  0.00000\n"
            "8    0  0.00000 -0.70000  0.00000\n"
            "1    0 -0.90000 -0.80000  0.50000\n"
            "\n"
            "\n");
}

TEST_F(OptimizeDeck, FarCoordinatesStaySeparated) {
  std::vector<Real> far = cr_;
  far[0] = -12.5;
  far[1] = 123.25;
  const std::string deck = Deck(far, {});
  EXPECT_NE(deck.find("1    0 -12.50000 123.25000  0.50000\n"), std::string::npos) << deck;
}

TEST_F(OptimizeDeck, TooFewStartCoordinatesAreAnError) {
  const std::vector<Real> one = {0.0, 0.0, 0.0};
  EXPECT_THROW(Gaussian::Optimize(mol_, (dir_.path() / "scan.inp").string(),
                                  (dir_.path() / "scan.out").string(), one, {}),
               std::length_error);
}

TEST_F(OptimizeDeck, ReusesTheOutputAndStartsNothing) {
  const std::string out = dir_.Write("scan.out", "");
  int started = 0;
  testing::internal::CaptureStdout();
  Gaussian::Optimize(mol_, (dir_.path() / "scan.inp").string(), out, cr_, {},
                     [&started](const std::string&) { return ++started, 0; });
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "$ " + out + " exists nothing done\n");
  EXPECT_EQ(started, 0);
}

TEST_F(OptimizeDeck, DeckThatCannotBeWrittenEndsTheProcess) {
  const std::string inp = (dir_.path() / "missing" / "scan.inp").string();
  const ProcessExit e = ExpectExit(
      [&] { Gaussian::Optimize(mol_, inp, (dir_.path() / "scan.out").string(), cr_, {}); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, inp + "can not be opened\n");
}

}  // namespace
