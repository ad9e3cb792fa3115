// Running a batch of independent QM jobs, several at a time.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>

#include "errors.h"
#include "gaussian.h"
#include "io.h"

extern char** environ;

namespace Gaussian {

namespace {

using Clock = std::chrono::steady_clock;

Real SecondsSince(Clock::time_point start) {
  return std::chrono::duration<Real>(Clock::now() - start).count();
}

// Starts the command line as `system` would, without waiting: /bin/sh -c.
// Returns the process id, or -1 when it could not be started.
pid_t StartShell(const std::string& commandLine) {
  std::fflush(stdout);
  std::fflush(stderr);
  const char* argv[] = {"sh", "-c", commandLine.c_str(), nullptr};
  pid_t pid = -1;
  // posix_spawn takes the argument strings as char* const[] but leaves them untouched.
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
    return -1;
  return pid;
}

// Runs the jobs at most `limit` at a time, in their order, with a progress
// line per finished job. Gives back what each job's shell ended with
// (-1: it could not be started).
std::vector<int> RunAtMost(const std::vector<QMJob>& jobs, int limit) {
  const Clock::time_point start = Clock::now();
  std::printf("$ QM batch of %zu jobs, at most %d at a time\n", jobs.size(), limit);
  std::vector<int> status(jobs.size(), -1);
  std::map<pid_t, std::size_t> running;
  std::size_t next = 0, done = 0;
  while (done < jobs.size()) {
    while (next < jobs.size() && static_cast<int>(running.size()) < limit) {
      const pid_t pid = StartShell(GaussCommandLine(jobs[next].inp, jobs[next].out));
      if (pid > 0) {
        running[pid] = next;
      } else {
        std::fprintf(stderr, "$ err in running : %s\n",
                     GaussCommandLine(jobs[next].inp, jobs[next].out).c_str());
        ++done;
      }
      ++next;
    }
    if (running.empty()) continue;
    int ws = 0;
    const pid_t pid = waitpid(-1, &ws, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      EndProcess(1, std::string("$ err waiting for the QM jobs : ") + std::strerror(errno) + "\n");
    }
    const auto job = running.find(pid);
    if (job == running.end()) continue;
    const std::size_t finished = job->second;
    running.erase(job);
    status[finished] = ws;
    ++done;
    std::printf("$ QM job done : %s (%zu of %zu, %zu running, %.1f s)\n",
                jobs[finished].out.c_str(), done, jobs.size(), running.size(), SecondsSince(start));
    std::fflush(stdout);
  }
  return status;
}

}  // namespace

void RunQMBatch(const std::vector<QMJob>& batch) {
  if (options.jobs <= 1) {
    for (const QMJob& job : batch) run_gauss(job.inp, job.out);
    return;
  }
  std::vector<QMJob> torun;
  for (const QMJob& job : batch)
    if (GaussRunNeeded(job.inp, job.out)) torun.push_back(job);
  if (torun.empty()) return;
  const std::vector<int> status = RunAtMost(torun, options.jobs);
  for (std::size_t i = 0; i < torun.size(); ++i) EndIfStopped(status[i], "QM job " + torun[i].inp);
  std::string failed;
  for (std::size_t i = 0; i < torun.size(); ++i) {
    if (!GaussianOutputComplete(torun[i].out)) failed += NoCompleteOutput(torun[i].inp, torun[i].out, status[i]);
  }
  if (!failed.empty()) EndProcess(1, failed);
}

}  // namespace Gaussian
