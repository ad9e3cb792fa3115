#pragma once

#include <cstdlib>
#include <string>

namespace testing_support {

// Puts dir first on PATH for the life of the object, or, with an empty dir,
// leaves only the system directories on it.
class PathScope {
 public:
  explicit PathScope(const std::string& dir) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", (dir.empty() ? std::string("/usr/bin:/bin") : dir + ":" + old_).c_str(), 1);
  }
  ~PathScope() { setenv("PATH", old_.c_str(), 1); }
  PathScope(const PathScope&) = delete;
  PathScope& operator=(const PathScope&) = delete;

 private:
  std::string old_;
};

}  // namespace testing_support
