#pragma once

#include <string>

// The text of `qm2ff --help`: the usage, one line per command of the main
// script and where the full reference is.
std::string HelpText();
