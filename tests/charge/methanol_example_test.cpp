// The methanol example through the executable, with the stand-in QM program:
// once from nothing with the water's energy computed, once more on the
// outputs of the first run with the energy given.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

double RmsError(const std::string& out, int column) {
  const auto p = out.find("energy rms error, kcal/mol      & ");
  if (p == std::string::npos) return -1.0;
  double v[2] = {-1.0, -1.0};
  std::sscanf(out.c_str() + p, "energy rms error, kcal/mol      & %lf & %lf", &v[0], &v[1]);
  return v[column];
}

std::string From(const std::string& out, const std::string& mark) {
  const auto p = out.find(mark);
  return p == std::string::npos ? "" : out.substr(p);
}

TEST(MethanolExample, FitsTheChargesAndReusesTheQmOutputs) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no g09 stand-in built";
  TempDir dir;
  const fs::path examples = fs::path(QM2FF_SOURCE_DIR) / "examples";
  fs::copy(examples / "methanol", dir.path() / "methanol", fs::copy_options::recursive);
  fs::copy(examples / "toppar", dir.path() / "toppar", fs::copy_options::recursive);
  const fs::path run = dir.path() / "methanol";
  // The population analysis does not enter the fit (no ESP weight) and is
  // the slowest job of the stand-in: leave it out here.
  std::string script = ReadFile(run / "methanol.inp");
  const auto pop = script.find("population\n");
  ASSERT_NE(pop, std::string::npos);
  script.erase(pop, std::string("population\n").size());
  std::ofstream(run / "test.inp") << script;
  // Without qmwaterenergy the first run computes it with the stand-in.
  const auto given = script.find("  qmwaterenergy");
  ASSERT_NE(given, std::string::npos);
  std::ofstream(run / "computed.inp") << script.erase(given, script.find('\n', given) + 1 - given);

  const RunResult first = RunQm2ff("computed.inp", run);
  ASSERT_EQ(first.status, 0) << first.err << first.out.substr(first.out.size() > 3000 ? first.out.size() - 3000 : 0);
  EXPECT_NE(first.out.find("$ Total charge computed / given :   0.000 /   0.000 \n"), std::string::npos);
  EXPECT_NE(first.out.find("$ QM energy of one TIP3P water : -5.0703694"), std::string::npos);
  EXPECT_EQ(first.err, "");  // the data fix every free charge
  EXPECT_LT(RmsError(first.out, 0), RmsError(first.out, 1));
  EXPECT_GE(RmsError(first.out, 0), 0.0);
  for (const char* f : {"tip3p.out", "water1/OG/OG.0.0.out", "water1/OG/OG.120.0.out", "water1/OG/OG.240.0.out",
                        "water1/HG1/HG1.0.0.out", "water1/HG1/HG1.90.0.out", "water1/respdb/opt.pdb",
                        "water1/respdb/ff.OG.HG1.120.0.pdb", "water1/respdb/qm.HG1.CB.90.0.pdb"}) {
    EXPECT_TRUE(fs::exists(run / f)) << f;
  }
  const std::string topology = ReadFile(run / "methanol_fitted.rtf");
  EXPECT_NE(topology.find("ATOM OG"), std::string::npos);

  const RunResult second = RunQm2ff("test.inp", run);
  ASSERT_EQ(second.status, 0) << second.err;
  int reused = 0;
  for (auto p = second.out.find("exists nothing done"); p != std::string::npos;
       p = second.out.find("exists nothing done", p + 1)) {
    ++reused;
  }
  EXPECT_EQ(reused, 6);  // the optimisation and the five probes; the water energy is given
  EXPECT_EQ(From(second.out, "$ Developed charges"), From(first.out, "$ Developed charges"));
}

}  // namespace
