#pragma once

#include <gtest/gtest.h>

#include "errors.h"

namespace testing_support {

// Runs f, which must end the process through EndProcess, and returns what
// main would receive. Records a failure when f returns normally.
template <class F>
ProcessExit ExpectExit(F f) {
  try {
    f();
  } catch (const ProcessExit& e) {
    return e;
  }
  ADD_FAILURE() << "the process was not ended";
  return ProcessExit{-1, ""};
}

}  // namespace testing_support
