#pragma once

#include <gtest/gtest.h>

#include "errors.h"

namespace testing_support {

// Runs f, which must end the process; returns how it ended. A failure is
// recorded (and status -1 returned) when f returns normally.
template <class F>
ProcessExit ExpectExit(F f) {
  try {
    f();
  } catch (const ProcessExit& e) {
    return e;
  }
  ADD_FAILURE() << "the process was expected to end";
  return ProcessExit{-1, ""};
}

}  // namespace testing_support
