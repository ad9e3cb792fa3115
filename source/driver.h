#pragma once

#include <string>

// Reads the input script: `stream` lines are replaced by the lines of the
// named file, `workdir` takes effect at once (and again when executed), and
// `stop` ends the reading. Ends the process when a file cannot be opened.
std::string ReadScript(const std::string& name);

// The whole program: reads the script named by argv[1] and executes it, or
// prints the help for "--help" or "-h". Returns the exit status; every
// ProcessExit ends up here.
int RunProgram(int argc, char** argv);
