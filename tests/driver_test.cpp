// The program as a user runs it: scripts in a temporary directory.
//
// Each file tests/data/scripts/NAME.case is one run: a description, then the
// files of the working directory, each after a line "=== FILE" ("=== FILE
// (no final newline)" drops its last newline); the script is run.inp. The
// status, both streams and every file the run left are compared with
// NAME.expected. In the inputs and the outputs, @DIR@ stands for the working
// directory and @DATA@ for tests/data; in the outputs, @TIME@ for a time of day.
#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(DataPath("scripts")))
    if (e.path().extension() == ".case") names.push_back(e.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ScriptCase : public testing::TestWithParam<std::string> {};

TEST_P(ScriptCase, GivesTheExpectedStatusOutputsAndFiles) {
  TempDir dir;
  const std::string data = DataPath(""), work = dir.path().string();
  const std::string text = ReadFile(DataPath("scripts/" + GetParam() + ".case"));
  std::set<std::string> inputs;
  for (auto at = text.find("=== "); at != std::string::npos;) {
    const auto body = text.find('\n', at) + 1, next = text.find("\n=== ", body - 1);
    std::string name = text.substr(at + 4, body - 1 - (at + 4));
    std::string content =
        text.substr(body, (next == std::string::npos ? text.size() : next + 1) - body);
    if (name.ends_with(" (no final newline)")) {
      name.resize(name.size() - std::string(" (no final newline)").size());
      content.pop_back();
    }
    dir.Write(name, Replaced(Replaced(content, "@DATA@", data), "@DIR@", work));
    inputs.insert(name);
    at = next == std::string::npos ? next : next + 1;
  }
  // SHELL held fixed: without it the QM runner prints a notice.
  const RunResult r = testing_support::Run("SHELL=/bin/sh '" QM2FF_EXE "' run.inp", dir.path());
  std::string report =
      "status " + std::to_string(r.status) + "\n=== stdout\n" + r.out + "=== stderr\n" + r.err;
  std::set<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir.path()))
    if (e.is_regular_file()) left.insert(fs::relative(e.path(), dir.path()).string());
  for (const auto& name : left)
    if (!inputs.contains(name)) report += "=== " + name + "\n" + dir.Read(name);
  report = Replaced(Replaced(report, work, "@DIR@"), data, "@DATA@");
  report = std::regex_replace(report, std::regex(R"(\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4})"),
                              "@TIME@");
  ExpectSameAsReference(report, "scripts/" + GetParam() + ".expected");
}

INSTANTIATE_TEST_SUITE_P(Program, ScriptCase, testing::ValuesIn(CaseNames()), [](const auto& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

TEST(Program, MissingScriptArgumentOrScript) {
  TempDir dir;
  auto r = RunQm2ff("absent.inp", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ unable to open file : absent.inp\n");
  EXPECT_EQ(r.out, "");
  r = testing_support::Run(std::string("'") + QM2FF_EXE + "'", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string("usage: ") + QM2FF_EXE + " SCRIPT\n");
}

}  // namespace
