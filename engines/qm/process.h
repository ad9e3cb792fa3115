#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// Running the engine programs: scratch directories, shell commands, their files.

// A directory of its own under the system temporary directory, named
// "<prefix><random digits>", removed with everything in it when the object goes.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& prefix);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The text quoted for the shell.
std::string ShellQuote(const std::string& s);

// Starts "/bin/sh -c command" with the environment of this process, its
// standard input and output on the given descriptors (-1: this process's own);
// `what` names the program in the error thrown when the shell cannot be started.
pid_t StartShell(const std::string& command, const std::string& what, int input = -1, int output = -1);

// Waits for a command started by StartShell; true when it exited with status 0.
bool FinishShell(pid_t pid, const std::string& what);

// The blank-separated words of a line of an engine's output.
std::vector<std::string> Words(const std::string& line);

// The whole content of a file, "" when it cannot be read.
std::string ReadText(const std::filesystem::path& file);
