#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Text helpers of the MM engine: words, case, numbers, and the error that
// names a file and a line.
namespace mm {

// An input fault located in a file; what() reads "FILE:LINE: message"
// (the line part is left out when line is 0).
class InputError : public std::runtime_error {
 public:
  InputError(const std::string& file, int line, const std::string& message);
};

// Blank-separated words (blank, tab, CR, LF, FF, VT).
std::vector<std::string> Words(const std::string& line);
// The line without a comment that starts at the first `mark`.
std::string StripComment(const std::string& line, char mark = '!');
std::string Trim(const std::string& s);
std::string ToUpper(std::string s);
std::string ToLower(std::string s);
bool StartsWith(const std::string& s, const std::string& prefix);

// printf-style formatting into a string of any length.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whole-word numbers; throw std::invalid_argument naming the word.
double ParseReal(const std::string& word);
int ParseInt(const std::string& word);

// The lines of a text file; throws InputError(path, 0, "cannot be opened").
std::vector<std::string> ReadLines(const std::string& path);
bool FileExists(const std::string& path);
// Writes a whole file or throws InputError(path, 0, "cannot be written").
void WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace mm
