#pragma once

// printf into a std::string, shared by the stand-in programs (which do not link the
// system's library).

#include <cstdarg>
#include <cstdio>
#include <string>

namespace engines {

inline std::string VFormat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
  return out;
}

}  // namespace engines
