// The program as a user runs it: scripts in a temporary directory.
//
// Each file tests/data/scripts/NAME.case is one run: a description, then the
// files of the working directory, each after a line "=== FILE" ("=== FILE
// (no final newline)" drops its last newline; "=== FILE < PATH" starts the
// file with a copy of PATH). The run is `qm2ff run.inp`, or the shell command
// after a line "=== command". The status, both streams, and every file the
// run left, changed or removed are compared with NAME.expected. @DIR@ stands
// for the working directory, @DATA@ for tests/data, @EXAMPLES@ for examples/
// and @REF@ for the real force-field files beside the project (a case that
// names them is skipped without them); in the outputs, @TIME@ for a time of day.
#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
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
  const std::string text = ReadFile(DataPath("scripts/" + GetParam() + ".case"));
  const std::string ref = SharedReferenceDir();
  if (text.find("@REF@") != std::string::npos && ref.empty()) GTEST_SKIP() << "no reference files";
  const std::vector<std::pair<std::string, std::string>> places = {
      {dir.path().string(), "@DIR@"},
      {DataPath(""), "@DATA@"},
      {std::string(QM2FF_SOURCE_DIR) + "/examples", "@EXAMPLES@"},
      {ref.empty() ? "@REF@" : ref, "@REF@"}};
  const auto expand = [&](std::string s) {
    for (const auto& [path, mark] : places) s = Replaced(s, mark, path);
    return s;
  };
  std::map<std::string, std::string> inputs;
  std::string command = "'" QM2FF_EXE "' run.inp";  // or sh on the command file
  for (auto at = text.find("=== "); at != std::string::npos;) {
    const auto body = text.find('\n', at) + 1, next = text.find("\n=== ", body - 1);
    std::string name = text.substr(at + 4, body - 1 - (at + 4));
    std::string content =
        expand(text.substr(body, (next == std::string::npos ? text.size() : next + 1) - body));
    if (name.ends_with(" (no final newline)")) {
      name.resize(name.size() - std::string(" (no final newline)").size());
      content.pop_back();
    }
    if (const auto from = name.find(" < "); from != std::string::npos) {
      content = ReadFile(expand(name.substr(from + 3))) + content;
      name.resize(from);
    }
    at = next == std::string::npos ? next : next + 1;
    if (name == "command") {
      dir.Write(".command", content);
      command = "sh .command";
      continue;
    }
    dir.Write(name, content);
    inputs[name] = content;
  }
  // SHELL held fixed: without it the QM runner prints a notice.
  const RunResult r = testing_support::Run("SHELL=/bin/sh " + command, dir.path());
  std::string report =
      "status " + std::to_string(r.status) + "\n=== stdout\n" + r.out + "=== stderr\n" + r.err;
  std::set<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir.path()))
    if (e.is_regular_file() && e.path().filename() != ".command") left.insert(fs::relative(e.path(), dir.path()).string());
  for (const auto& name : left) {
    const auto input = inputs.find(name);
    if (input == inputs.end()) report += "=== " + name + "\n" + dir.Read(name);
    else if (input->second != dir.Read(name)) report += "=== " + name + " (changed)\n" + dir.Read(name);
  }
  for (const auto& [name, content] : inputs)
    if (!left.contains(name) && !name.ends_with("/")) report += "=== " + name + " (removed)\n";
  for (const auto& [path, mark] : places) report = Replaced(report, path, mark);
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
