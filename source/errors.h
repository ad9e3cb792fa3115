#pragma once

#include <stdexcept>
#include <string>

// How failures travel through the program (see docs/design.md).
//
// A failure inside a command (a word that is not a number, a malformed file
// line, ...) is raised as an ordinary std::exception; the script executor
// catches it once and ends the run with "$ err in input script in line : ".
// Parts that end the process with a message of their own raise ProcessExit,
// which is deliberately not a std::exception: no handler on the way catches
// it, only main, which prints the message and returns the status.
struct ProcessExit {
  int status;
  std::string message;  // written to the error stream by main; may be empty
};

// Ends the process: the message (a whole line or lines, as they are to be
// printed, including any final newline) goes to the error stream.
[[noreturn]] void EndProcess(int status, const std::string& message = "");

// A failure inside a command that knows more than the script line does (the
// file and what is wrong with it): the script handler writes the message as
// a line of its own before its "$ err in input script in line : " line.
class DetailedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the script handler writes when e was raised while `line` ran: the
// message of a DetailedError on a line of its own, then
// "$ err in input script in line : " and the line.
std::string ScriptErrorMessage(const std::exception& e, const std::string& line);
