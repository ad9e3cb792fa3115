#pragma once

#include <string>

#include "constants.h"

// Word access to text. Words are separated by any of blank, form feed,
// newline, carriage return, horizontal tab and vertical tab; every reader of
// scripts, topologies, parameter files and program outputs splits this way.
inline constexpr const char* kWordSeparators = " \f\n\r\t\v";

// The n-th word of text, counting from 1; empty when n < 1 or beyond the last.
std::string tprint(const std::string& text, int n);
// Number of words of text.
int NF(const std::string& text);
// Text from pos up to the next "\n" (excluded); pos moves past that "\n".
// Without a following "\n" the rest is returned and pos becomes npos.
// Raises std::out_of_range when pos lies beyond the text.
std::string UntilNextNewLine(const std::string& text, std::string::size_type& pos);

// Number at the start of s (C conversion rules: leading blanks, sign, and for
// reals the exponent, infinity and not-a-number forms; trailing text ignored).
// Raise std::invalid_argument when no number starts s and std::out_of_range
// when it does not fit (32 bits for integers).
int strint(const std::string& s);
Real strfloat(const std::string& s);
bool ifInteger(const std::string& s);
bool ifFloat(const std::string& s);

// A word that must be a number: the whole word, in decimal, and finite.
// Raise DetailedError naming the word ("$ err 15.99x40 is not a number",
// "... is not a finite number", "... is not a whole number").
Real WholeReal(const std::string& word);
int WholeInt(const std::string& word);

std::string inttostr(int i);
// x in fixed notation with exactly n decimals.
std::string floattostr(Real x, int n);
// x in fixed notation, right-aligned in at least width characters.
std::string prd(Real x, int decDigits, int width);
// s centred in w columns; an odd surplus goes to the right.
std::string center(const std::string& s, int w);
// printf-style formatting into a string of any length.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// A line of 100 "-" on the standard output.
void PrintSeparate();
// "$ " and s without its newlines, on the standard output.
void PrintUserMessage(const std::string& s);
bool IfFileExists(const std::string& name);

// Splits a text into tokens: maximal runs of characters not in delim.
class StringTokenizer {
 public:
  explicit StringTokenizer(const std::string& str, const std::string& delim = kWordSeparators);
  int countTokens();
  bool hasMoreTokens() const;
  std::string nextToken();

  std::string delim_;
  std::string str_;
  int count_ = -1;
  int begin_ = 0;
  int end_ = 0;
};
