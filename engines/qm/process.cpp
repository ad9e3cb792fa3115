#include "process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory(const std::string& prefix) {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / (prefix + std::to_string(rd()) + std::to_string(rd()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch directory " + prefix + "* under " +
                           fs::temp_directory_path().string());
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

pid_t StartShell(const std::string& command, const std::string& what, int input, int output) {
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, 0);
  if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, 1);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start a shell for " + what);
  return pid;
}

namespace {

volatile std::sig_atomic_t notedSignal = 0;

extern "C" void NoteSignal(int sig) { notedSignal = sig; }

// The stop signal that ended a child with this wait status, either itself or
// the shell around it (exit status 128 + the signal); 0 for any other end.
int StopSignalOf(int status) {
  int sig = 0;
  if (WIFSIGNALED(status)) sig = WTERMSIG(status);
  if (WIFEXITED(status) && WEXITSTATUS(status) > 128) sig = WEXITSTATUS(status) - 128;
  for (const int stop : {SIGHUP, SIGINT, SIGQUIT, SIGKILL, SIGTERM})
    if (sig == stop) return sig;
  return 0;
}

}  // namespace

Interrupted::Interrupted(int sig)
    : std::runtime_error(std::string("interrupted by signal ") + std::to_string(sig) + " (" + strsignal(sig) + ")"),
      signal(sig) {}

void NoteStopSignals() {
  for (const int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) std::signal(sig, NoteSignal);
}

int NotedStopSignal() { return notedSignal; }

pid_t WaitForChild(pid_t pid, int* status) {
  pid_t ended;
  while ((ended = waitpid(pid, status, 0)) < 0) {
    if (errno != EINTR) return ended;
    // The signal goes on to the run waited for, which ends by it; runs of a
    // group are stopped by their owner as the exception passes.
    if (notedSignal != 0 && pid <= 0) throw Interrupted(notedSignal);
    if (notedSignal != 0) kill(pid, notedSignal);
  }
  if (notedSignal != 0) throw Interrupted(notedSignal);
  if (const int sig = StopSignalOf(*status); sig != 0) throw Interrupted(sig);
  return ended;
}

bool FinishShell(pid_t pid, const std::string& what) {
  int status = 0;
  if (WaitForChild(pid, &status) < 0) throw std::runtime_error("lost track of a " + what + " run");
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream s(line);
  std::vector<std::string> w;
  for (std::string t; s >> t;) w.push_back(t);
  return w;
}
