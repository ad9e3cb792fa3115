#pragma once

#include <filesystem>
#include <string>

// Helpers for tests that run programs and use files.
namespace testing_support {

// A fresh directory under the system temporary directory, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes a file relative to the directory and returns its full path.
  std::string Write(const std::string& name, const std::string& text) const;
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line in dir and collects status, standard output and
// standard error. The stand-in programs are first on PATH.
RunResult Run(const std::string& command, const std::filesystem::path& dir);

// Runs the qm2ff executable on the script file in dir.
RunResult RunQm2ff(const std::string& script, const std::filesystem::path& dir);

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// The real reference data beside the project, or "" when it is absent.
std::string SharedReferenceDir();

}  // namespace testing_support
