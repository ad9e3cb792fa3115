#include "io.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "support/printed.h"

namespace {

using testing::ThrowsMessage;

TEST(Words, SplitAtEverySeparator) {
  const std::string text = "  a\tb  ";
  EXPECT_EQ(tprint(text, 1), "a");
  EXPECT_EQ(tprint(text, 2), "b");
  EXPECT_EQ(tprint(text, 3), "");
  EXPECT_EQ(tprint(text, 0), "");
  EXPECT_EQ(NF(text), 2);
  EXPECT_EQ(NF(" \f\n\r\t\v"), 0);
  EXPECT_EQ(NF("x\fy\vz\rw"), 4);
  EXPECT_EQ(tprint("x\fy\vz\rw", 4), "w");

  StringTokenizer t("a,,b,", ",");
  EXPECT_EQ(t.countTokens(), 2);
  EXPECT_EQ(t.nextToken(), "a");
  EXPECT_TRUE(t.hasMoreTokens());
  EXPECT_EQ(t.nextToken(), "b");
  EXPECT_FALSE(t.hasMoreTokens());
  EXPECT_EQ(t.nextToken(), "");
  EXPECT_EQ(StringTokenizer(" \t ").countTokens(), 0);
}

TEST(Words, UntilNextNewLineWalksLinesAndRaisesPastTheEnd) {
  const std::string text = "x\ny";
  std::string::size_type pos = 0;
  EXPECT_EQ(UntilNextNewLine(text, pos), "x");
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(UntilNextNewLine(text, pos), "y");
  EXPECT_EQ(pos, std::string::npos);
  EXPECT_THAT([&] { UntilNextNewLine(text, pos); },
              ThrowsMessage<std::out_of_range>("read past the end of the text"));
  pos = 4;
  EXPECT_EQ(UntilNextNewLine("abc\n", pos), "");  // the empty line after the last newline
  EXPECT_EQ(pos, std::string::npos);
}

TEST(Numbers, PrefixesAreReadAndFailuresNameTheText) {
  EXPECT_EQ(strint("3.7"), 3);
  EXPECT_EQ(strint("  -12x"), -12);
  EXPECT_EQ(strint("-2147483648"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(strfloat(" -1e-3abc"), -1e-3);
  EXPECT_TRUE(std::isinf(strfloat("inf")));
  EXPECT_THAT([] { strint("x1"); }, ThrowsMessage<std::invalid_argument>("not an integer: 'x1'"));
  EXPECT_THAT([] { strint(""); }, ThrowsMessage<std::invalid_argument>("not an integer: ''"));
  EXPECT_THAT([] { strint("2147483648"); },
              ThrowsMessage<std::out_of_range>("integer out of range: '2147483648'"));
  EXPECT_THAT([] { strfloat("!"); }, ThrowsMessage<std::invalid_argument>("not a number: '!'"));
  EXPECT_THAT([] { strfloat("1e999"); },
              ThrowsMessage<std::out_of_range>("number out of range: '1e999'"));
  EXPECT_TRUE(ifInteger("7a"));
  EXPECT_FALSE(ifInteger("!"));
  EXPECT_TRUE(ifFloat("-1e-3"));
  EXPECT_FALSE(ifFloat("D+00"));
}

TEST(Formats, FixedWidthsAndCentring) {
  EXPECT_EQ(prd(3.14159, 2, 8), "    3.14");
  EXPECT_EQ(prd(-3.14159, 2, 3), "-3.14");
  EXPECT_EQ(floattostr(-0.5, 0), "-0");
  EXPECT_EQ(inttostr(-42), "-42");
  EXPECT_EQ(center("ab", 7), "  ab   ");
  EXPECT_EQ(center("abcdef", 4), "abcdef");
  EXPECT_EQ(Format("%5.1f|%s", 1.25, "x"), "  1.2|x");
  EXPECT_EQ(Format("%s", std::string(5000, 'y').c_str()).size(), 5000u);
}

TEST(Console, MessagesSeparatorAndFiles) {
  EXPECT_EQ(testing_support::Printed([] {
              PrintUserMessage("two\nlines\n");
              PrintSeparate();
            }),
            "$ twolines\n" + std::string(100, '-') + "\n");
  EXPECT_TRUE(IfFileExists(QM2FF_SOURCE_DIR "/CMakeLists.txt"));
  EXPECT_FALSE(IfFileExists(QM2FF_SOURCE_DIR "/no-such-file"));
}

}  // namespace
