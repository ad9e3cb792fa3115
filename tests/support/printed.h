#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Standard output printed while f runs. The capture ends also when f throws
// (or ends the process); the exception then goes on to the caller.
template <class F>
std::string Printed(F f) {
  testing::internal::CaptureStdout();
  try {
    f();
  } catch (...) {
    testing::internal::GetCapturedStdout();
    throw;
  }
  return testing::internal::GetCapturedStdout();
}

// True when part occurs in text (a printed line within all that was printed).
inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace testing_support
