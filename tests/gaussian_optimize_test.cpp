#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gaussian.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using namespace testing_support;

// Keeps the QM options of the process and puts them back.
class OptimizeDeck : public ::testing::Test {
 protected:
  void TearDown() override { Gaussian::options = saved_; }

  // Writes the deck, checks that the job is started once (its output is a bare
  // normal termination), and returns the deck.
  std::string Deck(const std::vector<Real>& cr, const std::vector<CConstraint>& cons) {
    std::vector<std::string> started;
    Printed([&] {
      Gaussian::Optimize(mol_, inp_, out_, cr, cons, [&](const std::string& line) {
        started.push_back(line);
        dir_.Write("scan.out", " Normal termination of Gaussian 09.\n");
        return 0;
      });
    });
    EXPECT_EQ(started, std::vector<std::string>{"/bin/sh -c \"g09 < " + inp_ + ">" + out_ + " \""});
    return dir_.Read("scan.inp");
  }

  static CConstraint Frozen(std::vector<int> atoms) {
    CConstraint c;
    for (std::size_t k = 0; k < atoms.size(); ++k) c.aid[k] = atoms[k];
    return c;
  }

  ShellVariable shell_{"/bin/sh"};
  TempDir dir_;
  const std::string inp_ = (dir_.path() / "scan.inp").string();
  const std::string out_ = (dir_.path() / "scan.out").string();
  CMolecule mol_ = HydrogenPeroxide();
  const std::vector<Real> cr_ = mol_.xyz;  // its stored geometry
  Gaussian::GaussianJob saved_ = Gaussian::options;
};

TEST_F(OptimizeDeck, AnionWithOptionsAndTwoAndFourAtomConstraints) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=2GB";
  Gaussian::options.QMTheory = "MP2/6-31G* ";
  mol_.netcharge = -1.0;
  mol_.spinm = 3;
  ExpectSameAsReference(Deck(cr_, {Frozen({0, 1}), Frozen({3, 0, 1, 2})}),
                        "qm/constrained_optimisation.inp");
}

TEST_F(OptimizeDeck, DefaultsWithoutConstraintsAndFarCoordinates) {
  std::vector<Real> far = cr_;
  far[0] = -12.5;
  far[1] = 123.25;
  const std::string deck = Deck(far, {});
  EXPECT_TRUE(deck.starts_with("\n%NPROCS=1\n%NoSave\n#HF/6-31G* Opt=(ModRedun, MaxCycle=20)"))
      << deck;
  EXPECT_TRUE(Contains(deck, "\n0 1 \n1    0 -12.50000 123.25000  0.50000\n")) << deck;
  EXPECT_TRUE(deck.ends_with("1    0 -0.90000 -0.80000  0.50000\n\n\n")) << deck;
}

TEST_F(OptimizeDeck, Failures) {
  try {
    Gaussian::Optimize(mol_, inp_, out_, {0.0, 0.0, 0.0}, {});
    ADD_FAILURE() << "too few start coordinates were taken";
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(), "start coordinates hold 3 values, 12 needed");
  }
  const std::string absent = (dir_.path() / "missing" / "scan.inp").string();
  const ProcessExit e = ExpectExit([&] { Gaussian::Optimize(mol_, absent, out_, cr_, {}); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + absent + "\n");
}

}  // namespace
