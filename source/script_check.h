#pragma once

#include <string>
#include <vector>

#include "driver.h"

// Checks every line of the assembled script before the first command runs:
// the first word of each line must be a command, a keyword of the section
// or block it stands in, a comment (a word that starts with "!" or "#") or
// nothing; every block and section must be closed. The first line that is
// not ends the process, naming its file and line, the word and the closest
// known word.
void CheckScript(const Script& script);

// The known word closest to word (fewest single-letter edits; the first of
// equals in the order given).
std::string ClosestWord(const std::string& word, const std::vector<std::string>& known);
