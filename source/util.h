#pragma once

#include <string>

#include "constants.h"
#include "io.h"

// Working-directory prefix of every file the system reads or writes; ends in
// "/". Set by main to the current directory and replaced by `workdir`.
extern std::string fpath;

// A file named in the script: used as it is when absolute, else under fpath.
std::string UserFilePath(const std::string& name);

// Current directory. Raises std::runtime_error ("Insufficient storage",
// "Access denied" or "Unrecognised error N") when it cannot be had.
std::string GetWorkingPath();
// The user's shell from SHELL; "tcsh" (with a note on standard output) when unset.
std::string GetShellName();
// Creates one directory (mode 0777 before the umask) unless something exists
// at path; ends the process with the system's error text when that fails.
void mkdr(const std::string& path);
// Local date and time in the C library's standard layout, ending in "\n".
std::string LTime();

void lower(std::string& s);
void upper(std::string& s);
std::string Lower(const std::string& s);
std::string Upper(const std::string& s);
// True when one of the words of text equals word.
bool ckstr(const std::string& text, const std::string& word);
// Words of str, each followed by one blank, with every word equal to token
// replaced by subst.
std::string substr(const std::string& str, const std::string& token, const std::string& subst);

bool ident(int i, int j);
// True when any two of the three are equal.
bool ident(int i, int j, int k);

// x + 0.5 truncated toward zero.
Real cint(Real x);
// Nearest integer, halves away from zero.
Real roundi(Real x);
// x rounded to places decimals, halves away from zero.
Real round(Real x, int places);

// Uniform real in [0, range] and integer in [0, range) from the C library
// generator, which is never seeded: every run draws the same sequence.
Real RanD(Real range);
int RanI(int range);
