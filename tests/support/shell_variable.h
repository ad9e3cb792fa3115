#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support {

// Sets SHELL (or unsets it, for nullptr) for the life of the object and puts the old value back,
// so that a test's captured output does not depend on the shell it was started from.
class ShellVariable {
 public:
  explicit ShellVariable(const char* value) {
    if (const char* old = std::getenv("SHELL")) old_ = old;
    if (value != nullptr)
      setenv("SHELL", value, 1);
    else
      unsetenv("SHELL");
  }
  ~ShellVariable() {
    if (old_)
      setenv("SHELL", old_->c_str(), 1);
    else
      unsetenv("SHELL");
  }
  ShellVariable(const ShellVariable&) = delete;
  ShellVariable& operator=(const ShellVariable&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace testing_support
