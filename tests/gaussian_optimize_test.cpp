// The constrained optimisation deck of the bonded-term scans.
#include <gmock/gmock.h>
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

CConstraint Frozen(std::vector<int> atoms) {
  CConstraint c;
  for (std::size_t k = 0; k < atoms.size(); ++k) c.aid[k] = atoms[k];
  return c;
}

// An anion with options and a two- and a four-atom constraint, its first atom
// far away; the job is started once. Too few coordinates or a deck that
// cannot be written end the run.
TEST(OptimizeDeck, WrittenAndStartedOrRefused) {
  const ShellVariable shell("/bin/sh");
  TempDir dir;
  const std::string inp = (dir.path() / "scan.inp").string(),
                    out = (dir.path() / "scan.out").string();
  const Gaussian::GaussianJob saved = Gaussian::options;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=2GB";
  Gaussian::options.QMTheory = "MP2/6-31G* ";
  CMolecule m = HydrogenPeroxide();
  m.netcharge = -1.0;
  m.spinm = 3;
  std::vector<Real> far = m.xyz;
  far[0] = -12.5;
  far[1] = 123.25;
  std::vector<std::string> started;
  Printed([&] {
    Gaussian::Optimize(m, inp, out, far, {Frozen({0, 1}), Frozen({3, 0, 1, 2})},
                       [&](const std::string& line) {
                         started.push_back(line);
                         dir.Write("scan.out", " Normal termination of Gaussian 09.\n");
                         return 0;
                       });
  });
  Gaussian::options = saved;
  EXPECT_EQ(started, std::vector<std::string>{"/bin/sh -c \"g09 < " + inp + ">" + out + " \""});
  ExpectSameAsReference(dir.Read("scan.inp"), "qm/constrained_optimisation.inp");

  EXPECT_THAT(
      [&] {
        Gaussian::Optimize(m, inp, out, {0.0, 0.0, 0.0}, {});
      },
      testing::ThrowsMessage<std::length_error>("start coordinates hold 3 values, 12 needed"));
  const std::string absent = (dir.path() / "missing" / "scan.inp").string();
  const ProcessExit e = ExpectExit([&] { Gaussian::Optimize(m, absent, out, m.xyz, {}); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + absent + "\n");
}

}  // namespace
