// The methanol example through the executable with the stand-in QM program:
// first from nothing, with the water's QM energy computed, then on the QM
// outputs of that run with other optcharge sections. Each case is a
// directory of tests/data/charge/runs: case.txt holds the section ("===
// section"), script lines to put before it ("=== before"), the files to put
// beside the script, the list of written files ("=== files") compared with
// their copies there, as is the output, and of files not written ("=== absent").
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

// The blocks "=== NAME\n..." of text by name.
std::map<std::string, std::string> Blocks(const std::string& text) {
  std::map<std::string, std::string> blocks;
  for (auto at = text.find("=== "); at != std::string::npos;) {
    const auto body = text.find('\n', at) + 1, next = text.find("\n=== ", body);
    blocks[text.substr(at + 4, body - 1 - at - 4)] = text.substr(body, next == std::string::npos ? next : next + 1 - body);
    at = next == std::string::npos ? next : next + 1;
  }
  return blocks;
}

TEST(MethanolExample, FitsTheChargesAndReusesTheQmOutputs) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no g09 stand-in built";
  TempDir dir;
  const fs::path examples = fs::path(QM2FF_SOURCE_DIR) / "examples", run = dir.path() / "methanol";
  fs::copy(examples / "methanol", run, fs::copy_options::recursive);
  fs::copy(examples / "toppar", dir.path() / "toppar", fs::copy_options::recursive);
  // The population analysis does not enter these fits (no ESP weight) and
  // is the slowest job of the stand-in: leave it out.
  std::string script = ReadFile(run / "methanol.inp");
  script.erase(script.find("population\n"), std::string("population\n").size());
  const auto from = script.find("optcharge\n"), to = script.find("end\n", from);
  for (const char* name : {"computed", "example", "single", "fixed", "unprobed", "twogeometries"}) {
    SCOPED_TRACE(name);
    const std::string ref = std::string("charge/runs/") + name;
    auto blocks = Blocks(ReadFile(DataPath(ref + "/case.txt")));
    for (const auto& [file, text] : blocks) dir.Write("methanol/" + file, text);
    std::ofstream(run / "test.inp") << script.substr(0, from) + blocks["before"] + "optcharge\n" + blocks["section"] +
                                          script.substr(to);
    fs::remove_all(run / "water1" / "respdb");
    const RunResult r = testing_support::Run("SHELL=/bin/sh '" QM2FF_EXE "' test.inp", run);
    EXPECT_EQ(r.status, 0) << r.err;
    ExpectSameAsReference(RunText(r.out + "=== standard error\n" + r.err, run.string()), ref + "/out.txt");
    std::istringstream files(blocks["files"]);
    ExpectSameFilesAsReference(run, {std::istream_iterator<std::string>(files), {}}, ref);
    std::istringstream absent(blocks["absent"]);
    for (std::string f; absent >> f;) EXPECT_FALSE(fs::exists(run / f)) << f;
  }
}

}  // namespace
