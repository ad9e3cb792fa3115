// The help and the command reference name exactly the words the program knows.
#include "help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "MainScript.h"
#include "charge/section.h"
#include "intra/section.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;
using Words = std::set<std::string>;

// The words of the "### `word`" headings of docs/reference.md by the "## "
// heading above them, and the words that begin the lines of the help.
TEST(Reference, HasAnEntryForEveryCommandAndKeywordAndNoOther) {
  Words commands{"stream"}, charge, intra, help;  // `stream` is expanded while the script is read
  for (const auto& [word, command] : MainScript::Commands()) commands.insert(word);
  for (const std::string& word : OptimizeCharge::KeywordNames()) charge.insert(word);
  for (const auto& keyword : OptimizeBondedParam::KeywordNames()) intra.insert(keyword.word);
  std::istringstream text(HelpText());
  for (std::string line; std::getline(text, line);)
    if (line.starts_with("  ") && line[2] != ' ')
      help.insert(line.substr(2, line.find(' ', 2) - 2));
  std::ifstream in(std::string(QM2FF_SOURCE_DIR) + "/docs/reference.md");
  std::map<std::string, Words> reference;
  std::string section;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("## ")) section = line.substr(3);
    if (line.starts_with("### `")) reference[section].insert(line.substr(5, line.find('`', 5) - 5));
  }
  EXPECT_EQ(reference["Commands of the main script"], commands);
  EXPECT_EQ(reference["Keywords of `optcharge`"], charge);
  EXPECT_EQ(reference["Keywords of `optintra`"], intra);
  EXPECT_EQ(help, commands);
}

TEST(Help, IsPrintedWithStatusZero) {
  TempDir dir;
  for (const char* option : {"--help", "-h"}) {
    const RunResult r = RunQm2ff(option, dir.path());
    EXPECT_EQ(r.status, 0) << option;
    EXPECT_EQ(r.err, "") << option;
    ExpectSameAsReference(r.out, "help.txt");
  }
}

}  // namespace
