#include "io.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "errors.h"

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

// Start and end of the word that begins at or after pos; false when none.
bool NextWord(const std::string& text, std::string::size_type& pos, std::string::size_type& end) {
  const auto n = text.size();
  while (pos < n && IsSeparator(text[pos])) ++pos;
  if (pos >= n) return false;
  end = pos;
  while (end < n && !IsSeparator(text[end])) ++end;
  return true;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace

std::string tprint(const std::string& text, int n) {
  if (n < 1) return "";
  std::string::size_type pos = 0, end = 0;
  for (int i = 1; NextWord(text, pos, end); ++i, pos = end) {
    if (i == n) return text.substr(pos, end - pos);
  }
  return "";
}

int NF(const std::string& text) {
  int count = 0;
  std::string::size_type pos = 0, end = 0;
  while (NextWord(text, pos, end)) {
    ++count;
    pos = end;
  }
  return count;
}

std::string UntilNextNewLine(const std::string& text, std::string::size_type& pos) {
  if (pos > text.size()) throw std::out_of_range("read past the end of the text");
  const auto nl = text.find('\n', pos);
  std::string line;
  if (nl == std::string::npos) {
    line = text.substr(pos);
    pos = std::string::npos;
  } else {
    line = text.substr(pos, nl - pos);
    pos = nl + 1;
  }
  return line;
}

int strint(const std::string& s) {
  const char* start = s.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(start, &end, 10);
  if (end == start) throw std::invalid_argument("not an integer: " + Quoted(s));
  if (errno == ERANGE || value < INT_MIN || value > INT_MAX)
    throw std::out_of_range("integer out of range: " + Quoted(s));
  return static_cast<int>(value);
}

Real strfloat(const std::string& s) {
  const char* start = s.c_str();
  char* end = nullptr;
  errno = 0;
  const Real value = std::strtod(start, &end);
  if (end == start) throw std::invalid_argument("not a number: " + Quoted(s));
  if (errno == ERANGE) throw std::out_of_range("number out of range: " + Quoted(s));
  return value;
}

Real WholeReal(const std::string& word) {
  if (word.empty()) throw DetailedError("$ err a number is missing");
  const char* start = word.c_str();
  char* end = nullptr;
  const Real value = std::strtod(start, &end);
  const bool whole = end == start + word.size() && word.find_first_of("xX") == std::string::npos;
  if (whole && !std::isfinite(value))
    throw DetailedError("$ err " + word + " is not a finite number");
  if (!whole || !ifFloat(word)) throw DetailedError("$ err " + word + " is not a number");
  return value;
}

int WholeInt(const std::string& word) {
  const Real value = WholeReal(word);
  if (value != std::floor(value)) throw DetailedError("$ err " + word + " is not a whole number");
  if (value < INT_MIN || value > INT_MAX) throw DetailedError("$ err " + word + " is too large");
  return static_cast<int>(value);
}

bool ifInteger(const std::string& s) {
  try {
    strint(s);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool ifFloat(const std::string& s) {
  try {
    strfloat(s);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  va_end(args);
  return out;
}

std::string inttostr(int i) { return std::to_string(i); }

std::string floattostr(Real x, int n) { return Format("%.*f", n, x); }

std::string prd(Real x, int decDigits, int width) { return Format("%*.*f", width, decDigits, x); }

std::string center(const std::string& s, int w) {
  const int d = w - static_cast<int>(s.size());
  if (d <= 0) return s;
  const int p = d / 2;
  std::string pad(static_cast<std::size_t>(p), ' ');
  return pad + s + pad + (d % 2 ? " " : "");
}

void PrintSeparate() { std::printf("%s\n", std::string(100, '-').c_str()); }

void PrintUserMessage(const std::string& s) {
  std::string text;
  for (char c : s)
    if (c != '\n') text += c;
  std::printf("$ %s\n", text.c_str());
}

bool IfFileExists(const std::string& name) {
  std::ifstream f(name);
  return f.good();
}

StringTokenizer::StringTokenizer(const std::string& str, const std::string& delim)
    : delim_(delim), str_(str) {
  begin_ = static_cast<int>(str_.find_first_not_of(delim_));
  if (begin_ < 0) begin_ = static_cast<int>(str_.size());
  end_ = begin_;
}

int StringTokenizer::countTokens() {
  if (count_ < 0) {
    count_ = 0;
    std::string::size_type pos = str_.find_first_not_of(delim_);
    while (pos != std::string::npos) {
      ++count_;
      pos = str_.find_first_of(delim_, pos);
      if (pos == std::string::npos) break;
      pos = str_.find_first_not_of(delim_, pos);
    }
  }
  return count_;
}

bool StringTokenizer::hasMoreTokens() const { return begin_ < static_cast<int>(str_.size()); }

std::string StringTokenizer::nextToken() {
  if (!hasMoreTokens()) return "";
  auto stop = str_.find_first_of(delim_, static_cast<std::string::size_type>(begin_));
  if (stop == std::string::npos) stop = str_.size();
  end_ = static_cast<int>(stop);
  std::string token =
      str_.substr(static_cast<std::size_t>(begin_), stop - static_cast<std::size_t>(begin_));
  auto next = str_.find_first_not_of(delim_, stop);
  begin_ = next == std::string::npos ? static_cast<int>(str_.size()) : static_cast<int>(next);
  return token;
}
