#pragma once

#include <sys/types.h>

#include <filesystem>
#include <stdexcept>
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
// Throws Interrupted when a stop signal ended it or reached g09 meanwhile.
bool FinishShell(pid_t pid, const std::string& what);

// A stop signal (SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGKILL of an engine run)
// that ended the job: g09 ends its engine runs and then itself by it.
class Interrupted : public std::runtime_error {
 public:
  explicit Interrupted(int sig);
  int signal;
};

// From here on a stop signal no longer ends g09 at once: it is noted, passed
// on to the engine run waited for, and the wait throws Interrupted.
void NoteStopSignals();

// The stop signal noted so far, 0 when none.
int NotedStopSignal();

// Waits for the child pid (-1: any child) as waitpid does and gives back its
// pid, with its wait status in *status. Throws Interrupted when a stop signal
// was noted or ended the child.
pid_t WaitForChild(pid_t pid, int* status);

// The blank-separated words of a line of an engine's output.
std::vector<std::string> Words(const std::string& line);

// The whole content of a file, "" when it cannot be read.
std::string ReadText(const std::filesystem::path& file);
