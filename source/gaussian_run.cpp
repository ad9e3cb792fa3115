// Running Gaussian jobs through the user's shell.
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "intra/BondOpt.h"
#include "util.h"

namespace {

// Characters that pass unchanged through both shells that see a file name
// here: the one of `system` and the user's shell inside the double quotes.
bool IsPlainPath(std::string_view path) {
  constexpr std::string_view kPunctuation = "/._-+=,:@%";
  for (const char c : path) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && kPunctuation.find(c) == std::string_view::npos) return false;
  }
  return !path.empty();
}

// What a wait status says of how a job ended ("exit status 1", ...).
std::string JobStatusText(int status) {
  if (status == -1) return "could not be started";
  if (WIFEXITED(status)) return Format("exit status %d", WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return Format("killed by signal %d", WTERMSIG(status));
  return Format("wait status %d", status);
}

void CheckPlainPath(const std::string& path) {
  if (!IsPlainPath(path))
    EndProcess(1, "$ err gaussian file name with blanks or shell characters : " + path + "\n");
}

}  // namespace

std::string WithoutLink0(const std::string& deck) {
  std::string kept;
  std::size_t at = 0;
  while (at < deck.size()) {
    std::size_t end = deck.find('\n', at);
    end = end == std::string::npos ? deck.size() : end + 1;
    if (deck[at] != '%') kept.append(deck, at, end - at);
    at = end;
  }
  return kept;
}

void WriteQMDeck(const std::string& fname_inp, const std::string& fname_out, const std::string& deck) {
  std::error_code regular;
  const bool hadDeck = std::filesystem::is_regular_file(fname_inp, regular);
  std::string old;
  if (hadDeck) {
    std::ifstream before(fname_inp, std::ios::binary);
    old.assign(std::istreambuf_iterator<char>(before), std::istreambuf_iterator<char>());
  }
  if (hadDeck && WithoutLink0(old) != WithoutLink0(deck) && std::filesystem::exists(fname_out)) {
    const std::string aside = fname_out + ".previous";
    std::error_code ec;
    std::filesystem::rename(fname_out, aside, ec);
    if (ec)
      EndProcess(1, "$ err unable to move gaussian output " + fname_out + " aside : " + ec.message() +
                        "\n");
    std::printf("$ %s differs from the deck that produced %s: that output is kept as %s and the "
                "job runs again\n",
                fname_inp.c_str(), fname_out.c_str(), aside.c_str());
  }
  std::ofstream file(fname_inp, std::ios::binary | std::ios::trunc);
  if (!file) EndProcess(1, "$ err unable to open file : " + fname_inp + "\n");
  file << deck;
  file.close();
  if (!file) EndProcess(1, "$ err unable to write file : " + fname_inp + "\n");
}

bool GaussianOutputComplete(const std::string& fname_out) {
  std::ifstream in(fname_out);
  std::string line;
  while (std::getline(in, line)) {
    //  Normal termination of Gaussian 09 at Mon Jan  5 10:11:12 2015.
    //  Error termination request processed by link 9999.
    //  Error termination via Lnk1e in /opt/g09/l9999.exe at Mon Jan  5 10:11:12 2015.
    const std::string first = tprint(line, 1);
    if ((first == "Normal" || first == "Error") && tprint(line, 2) == "termination") return true;
  }
  return false;
}

std::string NoCompleteOutput(const std::string& fname_inp, const std::string& fname_out, int status) {
  return "$ err QM job " + fname_inp + " (" + JobStatusText(status) + ") left no complete output " +
         fname_out + ": inspect it and run the script again\n";
}

int StopSignalOf(int status) {
  int sig = 0;
  if (status != -1 && WIFSIGNALED(status)) sig = WTERMSIG(status);
  if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) > 128) sig = WEXITSTATUS(status) - 128;
  for (const int stop : {SIGHUP, SIGINT, SIGQUIT, SIGKILL, SIGTERM})
    if (sig == stop) return sig;
  return 0;
}

void EndIfStopped(int status, const std::string& job) {
  const int sig = StopSignalOf(status);
  if (sig == 0) return;
  EndProcess(128 + sig, Format("$ err %s was stopped by signal %d (%s): the run stops here; run "
                               "the script again to go on, the jobs that ended are reused\n",
                               job.c_str(), sig, strsignal(sig)));
}

int SystemShell(const std::string& commandLine) {
  std::fflush(stdout);
  const int status = std::system(commandLine.c_str());
  EndIfStopped(status, "the job " + commandLine);
  return status;
}

std::string GaussCommandLine(const std::string& fname_inp, const std::string& fname_out) {
  const std::string& launcher = Gaussian::options.launcher;
  return GetShellName() + " -c \"" + (launcher.empty() ? "" : launcher + " ") +
         Gaussian::options.command + " < " + fname_inp + ">" + fname_out + " \"";
}

bool GaussRunNeeded(const std::string& fname_inp, const std::string& fname_out) {
  const bool exists = static_cast<bool>(std::ifstream(fname_out));
  const bool complete = exists && GaussianOutputComplete(fname_out);
  if (OptInter.bGsOut == 0) {
    if (exists && !complete) {
      EndProcess(1, "$ err gaussian output " + fname_out +
                        " is incomplete (no termination line) and nogaussian forbids running it "
                        "again: remove the file or the nogaussian line\n");
    }
    std::printf("$ no QM calculation will be produced for input file : %s \n", fname_inp.c_str());
    return false;
  }
  if (complete) {
    std::printf("$ %s exists nothing done\n", fname_out.c_str());
    return false;
  }
  if (exists) {
    const std::string aside = fname_out + ".incomplete";
    std::error_code ec;
    std::filesystem::rename(fname_out, aside, ec);
    if (ec)
      EndProcess(1, "$ err unable to move incomplete gaussian output " + fname_out + " : " +
                        ec.message() + "\n");
    std::printf("$ %s is incomplete (no termination line), moved to %s; the job runs again\n",
                fname_out.c_str(), aside.c_str());
  }
  CheckPlainPath(fname_inp);
  CheckPlainPath(fname_out);
  return true;
}

void run_gauss(const std::string& fname_inp, const std::string& fname_out,
               const ShellRunner& runner) {
  if (!GaussRunNeeded(fname_inp, fname_out)) return;
  const std::string commandLine = GaussCommandLine(fname_inp, fname_out);
  const int status = runner(commandLine);
  if (status == -1) std::fprintf(stderr, "$ err in running : %s\n", commandLine.c_str());
  EndIfStopped(status, "QM job " + fname_inp);
  if (!GaussianOutputComplete(fname_out)) EndProcess(1, NoCompleteOutput(fname_inp, fname_out, status));
}
