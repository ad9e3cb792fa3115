#pragma once

#include <gtest/gtest.h>

#include "errors.h"

namespace testing_support {

// Runs f, which is to end the process, and gives back how it ended; a test
// failure when f returns normally.
template <class F>
ProcessExit ExpectExit(F f) {
  try {
    f();
  } catch (const ProcessExit& e) {
    return e;
  }
  ADD_FAILURE() << "the process did not end";
  return {-1, ""};
}

}  // namespace testing_support
