#include "driver.h"

#include <cstdio>
#include <fstream>
#include <iostream>

#include "MainScript.h"
#include "errors.h"
#include "help.h"
#include "io.h"
#include "util.h"

namespace {

// Calls f on every line of the file, including the empty line that the final
// read at the end of the file yields.
template <class F>
void ForEachLine(std::ifstream& in, F f) {
  std::string line;
  while (true) {
    std::getline(in, line);
    if (!f(line) || in.eof() || in.bad()) return;
  }
}

}  // namespace

std::string ReadScript(const std::string& name) {
  std::ifstream in(name);
  if (!in) EndProcess(1, "$ unable to open file : " + name + "\n");
  fpath = GetWorkingPath() + "/";
  std::printf("current directory %s\n", fpath.c_str());

  std::string script;
  ForEachLine(in, [&](const std::string& line) {
    const std::string key = Lower(tprint(line, 1));
    if (key == "stop") return false;
    if (key == "stream") {
      const std::string path = fpath + tprint(line, 2);
      std::ifstream part(path);
      if (!part) EndProcess(1, "$ unable to open input file : " + path + "\n");
      ForEachLine(part, [&](const std::string& l) {
        script += l + "\n";
        return true;
      });
      return true;
    }
    if (key == "workdir") {
      fpath = tprint(line, 2);
      std::printf("$ working directory : %s\n", fpath.c_str());
    }
    script += line + "\n";
    return true;
  });
  return script;
}

int RunProgram(int argc, char** argv) {
  try {
    if (argc < 2) {
      std::fprintf(stderr, "usage: %s SCRIPT\n", argc > 0 ? argv[0] : "qm2ff");
      return 1;
    }
    if (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    }
    MainScript::ProcessScriptMain(ReadScript(argv[1]));
  } catch (const ProcessExit& exit) {
    std::fflush(stdout);
    std::fputs(exit.message.c_str(), stderr);
    std::fflush(stderr);
    return exit.status;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "$ err %s\n", e.what());
    return 1;
  }
  std::fflush(stdout);
  return 0;
}
