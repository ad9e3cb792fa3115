// Word access, number reading and formats.
#include "io.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

#include "support/printed.h"

namespace {

using testing::ThrowsMessage;

TEST(Words, SplitAtEverySeparatorAndLinesRaisePastTheEnd) {
  EXPECT_EQ(tprint("  a\tb  ", 2) + "|" + tprint("  a\tb  ", 3) + "|" + tprint("a", 0), "b||");
  EXPECT_EQ(NF(" \f\n\r\t\v"), 0);
  EXPECT_EQ(NF("x\fy\vz\rw"), 4);
  EXPECT_EQ(tprint("x\fy\vz\rw", 4), "w");
  StringTokenizer t("a,,b,", ",");
  EXPECT_EQ(t.countTokens(), 2);
  EXPECT_EQ(t.nextToken(), "a");
  EXPECT_EQ(t.nextToken(), "b");
  EXPECT_FALSE(t.hasMoreTokens());
  EXPECT_EQ(t.nextToken(), "");

  std::string::size_type pos = 2;
  EXPECT_EQ(UntilNextNewLine("x\ny", pos), "y");
  EXPECT_EQ(pos, std::string::npos);
  EXPECT_THAT([&] { UntilNextNewLine("x\ny", pos); },
              ThrowsMessage<std::out_of_range>("read past the end of the text"));
  pos = 4;
  EXPECT_EQ(UntilNextNewLine("abc\n", pos), "");  // the empty line after the last newline
  EXPECT_EQ(pos, std::string::npos);
}

TEST(Numbers, PrefixesAreReadAndFailuresNameTheText) {
  EXPECT_EQ(strint("3.7") + strint("  -12x"), -9);
  EXPECT_EQ(strint("-2147483648"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(strfloat(" -1e-3abc"), -1e-3);
  EXPECT_TRUE(std::isinf(strfloat("inf")));
  EXPECT_TRUE(ifInteger("7a") && ifFloat("-1e-3"));
  EXPECT_FALSE(ifInteger("!") || ifFloat("D+00"));
  const std::pair<std::function<void()>, std::string> failures[] = {
      {[] { strint("x1"); }, "not an integer: 'x1'"},
      {[] { strint(""); }, "not an integer: ''"},
      {[] { strint("2147483648"); }, "integer out of range: '2147483648'"},
      {[] { strfloat("!"); }, "not a number: '!'"},
      {[] { strfloat("1e999"); }, "number out of range: '1e999'"},
  };
  for (const auto& [call, message] : failures)
    EXPECT_THAT(call, ThrowsMessage<std::logic_error>(message));
}

TEST(Formats, LongTextsAndUserMessages) {
  EXPECT_EQ(Format("%5.1f|%s", 1.25, "x"), "  1.2|x");
  EXPECT_EQ(Format("%s", std::string(5000, 'y').c_str()).size(), 5000u);
  EXPECT_EQ(center("ab", 7) + center("abcdef", 4), "  ab   abcdef");
  EXPECT_EQ(testing_support::Printed([] {
              PrintUserMessage("two\nlines\n");
              PrintSeparate();
            }),
            "$ twolines\n" + std::string(100, '-') + "\n");
}

}  // namespace
