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

}  // namespace testing_support
