#include "io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

TEST(Words, SplitAtEverySeparator) {
  const std::string text = "  a\tb  ";
  EXPECT_EQ(tprint(text, 1), "a");
  EXPECT_EQ(tprint(text, 2), "b");
  EXPECT_EQ(tprint(text, 3), "");
  EXPECT_EQ(tprint(text, 0), "");
  EXPECT_EQ(tprint(text, -1), "");
  EXPECT_EQ(NF(text), 2);
  EXPECT_EQ(NF(""), 0);
  EXPECT_EQ(NF(" \f\n\r\t\v"), 0);
  EXPECT_EQ(NF("x\fy\vz\rw"), 4);
  EXPECT_EQ(tprint("x\fy\vz\rw", 4), "w");
}

TEST(Words, UntilNextNewLineWalksLinesAndRaisesPastTheEnd) {
  const std::string text = "x\ny";
  std::string::size_type pos = 0;
  EXPECT_EQ(UntilNextNewLine(text, pos), "x");
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(UntilNextNewLine(text, pos), "y");
  EXPECT_EQ(pos, std::string::npos);
  EXPECT_THROW(UntilNextNewLine(text, pos), std::out_of_range);

  std::string::size_type atEnd = 4;
  const std::string withNewline = "abc\n";
  EXPECT_EQ(UntilNextNewLine(withNewline, atEnd), "");
  EXPECT_EQ(atEnd, std::string::npos);
}

TEST(Numbers, IntegerPrefixes) {
  EXPECT_EQ(strint("3.7"), 3);
  EXPECT_EQ(strint("  -12x"), -12);
  EXPECT_EQ(strint("+5"), 5);
  EXPECT_THROW(strint(""), std::invalid_argument);
  EXPECT_THROW(strint("x1"), std::invalid_argument);
  EXPECT_THROW(strint("2147483648"), std::out_of_range);
  EXPECT_EQ(strint("-2147483648"), -2147483647 - 1);
  EXPECT_TRUE(ifInteger("7a"));
  EXPECT_FALSE(ifInteger("!"));
}

TEST(Numbers, RealPrefixes) {
  EXPECT_DOUBLE_EQ(strfloat("1.5abc"), 1.5);
  EXPECT_DOUBLE_EQ(strfloat(" -1e-3"), -1e-3);
  EXPECT_TRUE(std::isinf(strfloat("inf")));
  EXPECT_TRUE(std::isnan(strfloat("nan")));
  EXPECT_THROW(strfloat("!"), std::invalid_argument);
  EXPECT_THROW(strfloat(""), std::invalid_argument);
  EXPECT_THROW(strfloat("1e999"), std::out_of_range);
  EXPECT_TRUE(ifFloat("-1e-3"));
  EXPECT_FALSE(ifFloat("!"));
  EXPECT_FALSE(ifFloat("D+00"));
}

TEST(Formats, FixedWidthsAndCentring) {
  EXPECT_EQ(prd(3.14159, 2, 8), "    3.14");
  EXPECT_EQ(prd(-3.14159, 2, 3), "-3.14");
  EXPECT_EQ(floattostr(2.0, 3), "2.000");
  EXPECT_EQ(floattostr(-0.5, 0), "-0");
  EXPECT_EQ(inttostr(-42), "-42");
  EXPECT_EQ(center("ab", 7), "  ab   ");
  EXPECT_EQ(center("ab", 6), "  ab  ");
  EXPECT_EQ(center("abcdef", 4), "abcdef");
  EXPECT_EQ(center("abc", 3), "abc");
  EXPECT_EQ(Format("%5.1f|%s", 1.25, "x"), "  1.2|x");
  EXPECT_EQ(Format("%s", std::string(5000, 'y').c_str()).size(), 5000u);
}

TEST(Console, MessagesAndSeparator) {
  testing::internal::CaptureStdout();
  PrintUserMessage("two\nlines\n");
  PrintSeparate();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "$ twolines\n" + std::string(100, '-') + "\n");
}

TEST(Console, FileExistence) {
  EXPECT_TRUE(IfFileExists(QM2FF_SOURCE_DIR "/CMakeLists.txt"));
  EXPECT_FALSE(IfFileExists(QM2FF_SOURCE_DIR "/no-such-file"));
}

TEST(Tokenizer, CountsAndWalksTokens) {
  StringTokenizer t("a,,b,c,", ",");
  EXPECT_EQ(t.countTokens(), 3);
  EXPECT_EQ(t.nextToken(), "a");
  EXPECT_EQ(t.nextToken(), "b");
  EXPECT_TRUE(t.hasMoreTokens());
  EXPECT_EQ(t.nextToken(), "c");
  EXPECT_FALSE(t.hasMoreTokens());
  EXPECT_EQ(t.nextToken(), "");

  StringTokenizer blanks(" \t ");
  EXPECT_EQ(blanks.countTokens(), 0);
  EXPECT_FALSE(blanks.hasMoreTokens());
}

}  // namespace
