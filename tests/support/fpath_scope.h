#pragma once

#include <string>

#include "util.h"

namespace testing_support {

// Sets the working-directory prefix fpath for one scope and restores it.
class FpathScope {
 public:
  explicit FpathScope(const std::string& dir) : saved_(fpath) { fpath = dir; }
  ~FpathScope() { fpath = saved_; }
  FpathScope(const FpathScope&) = delete;
  FpathScope& operator=(const FpathScope&) = delete;

 private:
  std::string saved_;
};

}  // namespace testing_support
