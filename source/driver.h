#pragma once

#include <string>
#include <vector>

// The assembled input script: its text, and for every line of it the file
// and line number it came from ("run.inp:12").
struct Script {
  std::string text;
  std::vector<std::string> origin;
};

// Reads the input script: `stream` lines are replaced by the lines of the
// named file (streams inside streamed files too; a file that streams itself,
// directly or not, is an error), `workdir` takes effect at once (and again
// when executed), and `stop` ends the reading. Ends the process when a file
// cannot be opened.
Script ReadScript(const std::string& name);

// The whole program: reads the script named by argv[1], checks every word
// of it and executes it, or prints the help for "--help" or "-h". Returns the
// exit status; every ProcessExit ends up here.
int RunProgram(int argc, char** argv);
