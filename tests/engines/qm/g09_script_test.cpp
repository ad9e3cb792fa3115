// A whole qm2ff script with the stand-in QM program first on PATH: the QM
// commands run their jobs once; run again, the script reuses every output.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/molecule.h"
#include "support/run.h"

namespace {

using testing_support::RunQm2ff;
using testing_support::TempDir;

// The values of the "$ E(...) = <value>" result lines of a run, in order.
std::vector<double> Energies(const std::string& out) {
  std::istringstream in(out);
  std::vector<double> energies;
  for (std::string l; std::getline(in, l);) {
    if (l.rfind("$ E(", 0) == 0) energies.push_back(std::stod(l.substr(l.find('=') + 1)));
  }
  return energies;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(G09Script, OptimisationSinglePointAndPopulationRunOnceAndAreReused) {
  TempDir dir;
  dir.Write("types.rtf", testing_support::kMethanolTypesRtf);
  dir.Write("meoh.rtf", testing_support::kMethanolRtf);
  dir.Write("meoh.pdb", testing_support::kMethanolPdb);
  dir.Write("run.inp",
            "topology types.rtf\nreadtop meoh.rtf\nreadcoorpdb meoh.pdb\n"
            "optimizegeometry\nsinglepoint\npopulation\n");
  const auto first = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  EXPECT_NE(first.out.find("$ full convergence confirmed"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("$ Population analysis finished"), std::string::npos) << first.out;
  EXPECT_EQ(Count(first.out, "exists nothing done"), 0u);
  // The single point at the optimised geometry gives the optimisation's energy.
  const std::vector<double> energies = Energies(first.out);
  ASSERT_EQ(energies.size(), 2u) << first.out;
  EXPECT_LT(energies[0], -5.0);
  EXPECT_NEAR(energies[1], energies[0], 1e-6);
  const std::string pdb = dir.Read("opt1.pdb");

  const auto second = RunQm2ff("run.inp", dir.path());
  ASSERT_EQ(second.status, 0) << second.err;
  for (const char* job : {"opt1.out", "sp1.out", "pop1.out"}) {
    EXPECT_EQ(Count(second.out, std::string(job) + " exists nothing done"), 1u) << second.out;
  }
  EXPECT_EQ(Energies(second.out), energies);
  EXPECT_EQ(dir.Read("opt1.pdb"), pdb);
}

}  // namespace
