#pragma once

#include <map>
#include <string>

namespace MainScript {

// Read position in the assembled script and the line being executed.
class Cursor {
 public:
  explicit Cursor(const std::string& text) : text(text) {}
  // True while the read position lies inside the text.
  bool HasMore() const { return pos < text.size(); }
  // Takes the next line into `line`; raises std::out_of_range past the end,
  // which ends an unterminated block with the script error.
  const std::string& Next();

  const std::string& text;
  std::string::size_type pos = 0;
  std::string line;
};

// A script command: runs the current line of the cursor (and may take more).
using Command = void (*)(Cursor&);

// The commands by lower-case key.
const std::map<std::string, Command>& Commands();

// The lines of an `optcharge` section: up to and including the first line
// whose first word is exactly "end".
std::string TakeChargeSection(Cursor& cursor);
// The lines of an `optintra` section: up to the first line whose first word
// is exactly "run"; `scan` blocks are taken whole up to their "end", and the
// line right after such a block is tested but not kept.
std::string TakeBondSection(Cursor& cursor);

// Executes the assembled script text line by line.
void ProcessScriptMain(const std::string& script);

}  // namespace MainScript
