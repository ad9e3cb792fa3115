// The bonded fit through the executable, with the stand-in programs, on
// methanol whose parameter file lacks the C-O bond, the C-O-H angle and the
// H-C-O-H dihedral: one family, all three, and a start from an earlier result.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "support/methanol_inputs.h"
#include "support/printed.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

// The values of the " sum" lines of the objective's reports, in order.
std::vector<double> Sums(const std::string& out) {
  std::vector<double> sums;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(" sum ", 0) == 0) sums.push_back(std::stod(line.substr(5)));
  return sums;
}

// Position of text in out; npos fails the test.
std::size_t At(const std::string& out, const std::string& text) {
  const std::size_t at = out.find(text);
  EXPECT_NE(at, std::string::npos) << "missing: " << text;
  return at;
}

TEST(BondedFit, OneFamilyAllFamiliesAndAStartFromAnEarlierResult) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  CopyMethanolBondedInputs(d);
  const auto script = [&](const std::string& section) {
    dir.Write("test.inp",
              "topology top_methanol.rtf\nparam methanol_partial.prm\nreadtop top_methanol.rtf\n"
              "readcoorxyz methanol.xyz\noptimizegeometry\n"
              "optintra\n charmm_input charmm\n npespoints 3\n sfactor SP 1.0\n" +
                  section + "run\n");
  };
  const std::string run = "SHELL=/bin/sh '" QM2FF_EXE "' test.inp";

  // One family: the bond stage alone lowers the objective and ends normally.
  script(" incl bond\n");
  const RunResult bond = testing_support::Run(run, d);
  ASSERT_EQ(bond.status, 0) << bond.err;
  const std::vector<double> bondSums = Sums(bond.out);
  ASSERT_GT(bondSums.size(), 2u);
  EXPECT_LT(bondSums.back(), bondSums.front());
  EXPECT_FALSE(Contains(bond.out, "$ optimization of angle terms"));
  At(bond.out, "$ fitted parameters : " + d.string() + "//add_para.inp\n");
  At(bond.out, "$ one-dimensional terms at the start and at the end of the fit\n");

  // Every family: dihedrals, bonds, angles, then one evaluation of all of
  // them with the soft-dihedral data, and a normal end.
  script(" incl bond\n incl angle\n incl dihe\n");
  const RunResult all = testing_support::Run(run, d);
  ASSERT_EQ(all.status, 0) << all.err;
  const std::size_t dihe = At(all.out, "$ optimization of dihedral and improper terms \n");
  const std::size_t bonds = At(all.out, "$ optimization of bond terms\n");
  const std::size_t angles = At(all.out, "$ optimization of angle terms\n");
  const std::size_t test = At(all.out, "$ test of bonded terms without optimization\n");
  EXPECT_LT(dihe, bonds);
  EXPECT_LT(bonds, angles);
  EXPECT_LT(angles, test);
  const std::size_t table = At(all.out, "$ one-dimensional terms at the start and at the end");
  EXPECT_LT(test, table);
  for (const char* term : {" b_cb_og ", " a_", " d_"})
    EXPECT_NE(all.out.find(term, table), std::string::npos) << term;
  EXPECT_TRUE(fs::exists(d / "bond/all.results.dat"));

  // A start from that result: the parameter file is taken whole, and one
  // evaluation of it writes the same file back.
  const std::string fitted = dir.Read("add_para.inp");
  dir.Write("previous.prm", fitted);
  script(" readprev previous.prm\n incl bond\n incl angle\n incl dihe\n single\n");
  const RunResult again = testing_support::Run(run, d);
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(dir.Read("add_para.inp"), fitted);
  EXPECT_EQ(Sums(again.out).size(), 1u);
}

}  // namespace
