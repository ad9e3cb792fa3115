// A whole qm2ff script with the stand-in QM program first on PATH: the QM
// commands run their jobs once; run again, the script reuses every output.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/run.h"

namespace {

using testing_support::RunQm2ff;
using testing_support::TempDir;

const char* const kTypes =
    "MASS 1 HGA3    1.00800 H\n"
    "MASS 2 CG331  12.01100 C\n"
    "MASS 3 OG311  15.99940 O\n"
    "MASS 4 HGP1    1.00800 H\n";

const char* const kMethanol =
    "RESI MEOH 0.00\n"
    "GROUP\n"
    "ATOM CB  CG331 -0.04\n"
    "ATOM OG  OG311 -0.65\n"
    "ATOM HG1 HGP1   0.42\n"
    "ATOM HB1 HGA3   0.09\n"
    "ATOM HB2 HGA3   0.09\n"
    "ATOM HB3 HGA3   0.09\n"
    "BOND CB OG OG HG1\n";

const char* const kMethanolPdb =
    "ATOM      1 CB   MEOH    1       0.000   0.000   0.000  1.00  0.00\n"
    "ATOM      2 OG   MEOH    1       1.430   0.000   0.000  1.00  0.00\n"
    "ATOM      3 HG1  MEOH    1       1.750   0.910   0.000  1.00  0.00\n"
    "ATOM      4 HB1  MEOH    1      -0.360   1.030   0.000  1.00  0.00\n"
    "ATOM      5 HB2  MEOH    1      -0.360  -0.510   0.890  1.00  0.00\n"
    "ATOM      6 HB3  MEOH    1      -0.360  -0.510  -0.890  1.00  0.00\n"
    "END\n";

// The "$ E(...)" result lines of a run, in order.
std::string EnergyLines(const std::string& out) {
  std::istringstream in(out);
  std::string lines;
  for (std::string l; std::getline(in, l);) {
    if (l.rfind("$ E(", 0) == 0) lines += l + "\n";
  }
  return lines;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(G09Script, OptimisationSinglePointAndPopulationRunOnceAndAreReused) {
  TempDir dir;
  dir.Write("types.rtf", kTypes);
  dir.Write("meoh.rtf", kMethanol);
  dir.Write("meoh.pdb", kMethanolPdb);
  dir.Write("run.inp",
            "topology types.rtf\nreadtop meoh.rtf\nreadcoorpdb meoh.pdb\n"
            "optimizegeometry\nsinglepoint\npopulation\n");
  const auto first = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  EXPECT_NE(first.out.find("$ full convergence confirmed"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("$ Population analysis finished"), std::string::npos) << first.out;
  EXPECT_EQ(Count(first.out, "exists nothing done"), 0u);
  const std::string energies = EnergyLines(first.out);
  EXPECT_EQ(Count(energies, "$ E("), 2u) << first.out;
  const std::string pdb = dir.Read("opt1.pdb");

  const auto second = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(Count(second.out, "exists nothing done"), 3u) << second.out;
  EXPECT_EQ(EnergyLines(second.out), energies);
  EXPECT_EQ(dir.Read("opt1.pdb"), pdb);
}

}  // namespace
