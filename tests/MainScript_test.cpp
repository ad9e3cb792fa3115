// Sections cut out of the script by the executor.
#include "MainScript.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using MainScript::Cursor;

// The section that take cuts after the first line of text, and the line after it.
template <class Take>
std::pair<std::string, std::string> Section(const std::string& text, Take take) {
  Cursor c(text);
  c.Next();
  const std::string section = take(c);
  return {section, c.Next()};
}

TEST(Sections, EndAtTheirExactLowerCaseWord) {
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(Section("optcharge\nprobe O1 2\n  end  \nspin 1\n", MainScript::TakeChargeSection),
            P("probe O1 2\n  end  \n", "spin 1"));
  // Scan blocks are kept whole; the line after one is tested but not kept.
  EXPECT_EQ(Section("optintra\nfc\nscan\nd C1 C2 C3 C4\nend\ndropped\nRUN\nrun\nspin 1\n",
                    MainScript::TakeBondSection),
            P("fc\nscan\nd C1 C2 C3 C4\nend\nRUN\nrun\n", "spin 1"));
  EXPECT_EQ(Section("optintra\nscan\nend\nrun\nspin 1\n", MainScript::TakeBondSection),
            P("scan\nend\n", "spin 1"));
}

TEST(Sections, UnterminatedSectionsRaise) {
  const struct {
    std::string text;
    std::string (*take)(Cursor&);
  } cases[] = {{"optcharge\nprobe O1 2\nEND\n", MainScript::TakeChargeSection},
               {"optintra\nscan\nd a b c d\n", MainScript::TakeBondSection}};
  for (const auto& s : cases) {
    Cursor c(s.text);
    c.Next();
    EXPECT_THAT([&] { s.take(c); },
                testing::ThrowsMessage<std::out_of_range>("read past the end of the text"));
    EXPECT_EQ(c.line, "");
  }
}

}  // namespace
