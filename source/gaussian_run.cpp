// Running Gaussian jobs through the user's shell.
#include <cstdio>
#include <cstdlib>
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

int SystemShell(const std::string& commandLine) {
  std::fflush(stdout);
  return std::system(commandLine.c_str());
}

std::string GaussCommandLine(const std::string& fname_inp, const std::string& fname_out) {
  return GetShellName() + " -c \"" + Gaussian::options.command + " < " + fname_inp + ">" +
         fname_out + " \"";
}

void run_gauss(const std::string& fname_inp, const std::string& fname_out,
               const ShellRunner& runner) {
  if (OptInter.bGsOut == 0) {
    std::printf("$ no QM calculation will be produced for input file : %s \n", fname_inp.c_str());
    return;
  }
  const std::string commandLine = GaussCommandLine(fname_inp, fname_out);
  if (std::ifstream(fname_out)) {
    std::printf("$ %s exists nothing done\n", fname_out.c_str());
    return;
  }
  CheckPlainPath(fname_inp);
  CheckPlainPath(fname_out);
  if (runner(commandLine) == -1)
    std::fprintf(stderr, "$ err in running : %s\n", commandLine.c_str());
}
