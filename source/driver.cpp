#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "MainScript.h"
#include "errors.h"
#include "help.h"
#include "io.h"
#include "script_check.h"
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

// The file a path names, so that two ways of naming it compare equal.
std::string SameFile(const std::string& path) {
  std::error_code error;
  const auto canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

// Appends the lines of a streamed file, expanding the streams it holds.
// `open` holds the files being read, so that a cycle is found.
void AppendStream(Script& script, const std::string& path, std::vector<std::string>& open,
                  const std::string& from) {
  if (std::find(open.begin(), open.end(), SameFile(path)) != open.end()) {
    EndProcess(1, "$ err " + from + ": stream " + path +
                      " is already being read; a file may not stream itself, directly or not\n");
  }
  std::ifstream part(path);
  if (!part) EndProcess(1, "$ unable to open input file : " + path + "\n");
  open.push_back(SameFile(path));
  int number = 0;
  ForEachLine(part, [&](const std::string& l) {
    const std::string where = path + ":" + std::to_string(++number);
    if (Lower(tprint(l, 1)) == "stream") {
      AppendStream(script, UserFilePath(tprint(l, 2)), open, where);
    } else {
      script.text += l + "\n";
      script.origin.push_back(where);
    }
    return true;
  });
  open.pop_back();
}

}  // namespace

Script ReadScript(const std::string& name) {
  std::ifstream in(name);
  if (!in) EndProcess(1, "$ unable to open file : " + name + "\n");
  fpath = GetWorkingPath() + "/";
  std::printf("current directory %s\n", fpath.c_str());

  Script script;
  std::vector<std::string> open{SameFile(name)};
  int number = 0;
  ForEachLine(in, [&](const std::string& line) {
    const std::string where = name + ":" + std::to_string(++number);
    const std::string key = Lower(tprint(line, 1));
    if (key == "stop") return false;
    if (key == "stream") {
      AppendStream(script, UserFilePath(tprint(line, 2)), open, where);
      return true;
    }
    if (key == "workdir") {
      fpath = tprint(line, 2);
      std::printf("$ working directory : %s\n", fpath.c_str());
    }
    script.text += line + "\n";
    script.origin.push_back(where);
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
    const Script script = ReadScript(argv[1]);
    CheckScript(script);
    MainScript::ProcessScriptMain(script.text);
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
