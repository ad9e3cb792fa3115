// charmm: the project's stand-in for the CHARMM program. Reads a job script
// on standard input, takes name:value settings as arguments, works in the
// current directory and writes its log on standard output.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "job_script.h"
#include "jobs.h"

int main(int argc, char** argv) {
  try {
    const auto settings = mm::ReadSettings(std::vector<std::string>(argv + 1, argv + argc));
    const mm::JobScript script = mm::ReadJobScript(std::cin, "standard input");
    std::cout << "charmm stand-in (OpenMM, Reference platform)\n";
    mm::RunJob(script, settings, std::cout);
    std::cout << "NORMAL TERMINATION\n";
    return 0;
  } catch (const std::exception& e) {
    std::cout << "ABNORMAL TERMINATION: " << e.what() << "\n";
    std::cerr << "charmm: error: " << e.what() << "\n";
    return 1;
  }
}
