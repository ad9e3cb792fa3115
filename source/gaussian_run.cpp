// Running Gaussian jobs through the user's shell.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "errors.h"
#include "gaussian.h"
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

void CheckPlainPath(const std::string& path) {
  if (!IsPlainPath(path))
    EndProcess(1, "$ err gaussian file name with blanks or shell characters : " + path + "\n");
}

}  // namespace

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

int SystemShell(const std::string& commandLine) {
  std::fflush(stdout);
  return std::system(commandLine.c_str());
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
  if (runner(commandLine) == -1)
    std::fprintf(stderr, "$ err in running : %s\n", commandLine.c_str());
}
