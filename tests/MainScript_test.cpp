// Sections cut out of the script by the executor.
#include "MainScript.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using MainScript::Cursor;

// Each section is cut after its first line. Scan blocks are kept whole; the
// line after one is tested but not kept. An empty section: the text ends first.
TEST(Sections, EndAtTheirExactLowerCaseWordOrRaisePastTheEnd) {
  const auto charge = MainScript::TakeChargeSection, bond = MainScript::TakeBondSection;
  const struct {
    std::string text;
    std::string (*take)(Cursor&);
    std::string section, next;
  } cases[] = {
      {"optcharge\nprobe O1 2\n  end  \nspin 1\n", charge, "probe O1 2\n  end  \n", "spin 1"},
      {"optintra\nfc\nscan\nd C1 C2 C3 C4\nend\ndropped\nRUN\nrun\nspin 1\n", bond,
       "fc\nscan\nd C1 C2 C3 C4\nend\nRUN\nrun\n", "spin 1"},
      {"optintra\nscan\nend\nrun\nspin 1\n", bond, "scan\nend\n", "spin 1"},
      {"optcharge\nprobe O1 2\nEND\n", charge, "", ""},
      {"optintra\nscan\nd a b c d\n", bond, "", ""},
  };
  for (const auto& s : cases) {
    Cursor c(s.text);
    c.Next();
    if (s.section.empty()) {
      EXPECT_THAT([&] { s.take(c); },
                  testing::ThrowsMessage<std::out_of_range>("read past the end of the text"));
    } else {
      EXPECT_EQ(s.take(c), s.section);
    }
    EXPECT_EQ(s.section.empty() ? c.line : c.Next(), s.next) << s.text;
  }
}

}  // namespace
