#include "text.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "format.h"

namespace mm {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = engines::VFormat(format, args);
  va_end(args);
  return out;
}

namespace {
std::string Located(const std::string& file, int line, const std::string& message) {
  std::string text = file;
  if (line > 0) text += ":" + std::to_string(line);
  return text + ": " + message;
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
}  // namespace

InputError::InputError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(Located(file, line, message)) {}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::string StripComment(const std::string& line, char mark) {
  const auto pos = line.find(mark);
  return pos == std::string::npos ? line : line.substr(0, pos);
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string ToUpper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

std::string ToLower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

double ParseReal(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (word.empty() || end != begin + word.size() || errno == ERANGE)
    throw std::invalid_argument("'" + word + "' is not a number");
  if (!std::isfinite(v)) throw std::invalid_argument("'" + word + "' is not a finite number");
  return v;
}

int ParseInt(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(begin, &end, 10);
  if (word.empty() || end != begin + word.size() || errno == ERANGE || v < -2147483647L ||
      v > 2147483647L)
    throw std::invalid_argument("'" + word + "' is not an integer");
  return static_cast<int>(v);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw InputError(path, 0, "cannot be opened");
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw InputError(path, 0, "cannot be written");
  out << text;
  out.close();
  if (!out) throw InputError(path, 0, "cannot be written");
}

}  // namespace mm
