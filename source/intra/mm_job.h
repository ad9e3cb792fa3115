#pragma once

#include <string>
#include <vector>

#include "mol.h"

// One CHARMM job of the bonded fit together with the files it must write.
//
// The files are removed before the run, so that a file left by an earlier
// evaluation never passes for a result of this one; a job that then writes
// none of them (a failed or missing charmm) is reported on the error stream
// with its output file named. Readers go on with whatever the job left, as
// they would without the check.
//
// script:  CHARMM input script (absolute path)
// output:  file that receives CHARMM's standard output (absolute path)
// opts:    command-line settings passed to CHARMM, may be empty
// results: the files the job must write (absolute paths)
// Returns true when at least one of the results exists after the run;
// otherwise nFailedCharmmJobs grows by one.
bool RunCharmmJob(const std::string& script, const std::string& output, const std::string& opts,
                  const std::vector<std::string>& results);

// Reads one MM energy per line (the first word) from path, n lines, for the
// multi-dimensional scans and the target structures. A file that cannot be
// opened is reported on the standard output, and so is a line that is not a
// number (reading stops there). Fewer than n energies end the process
// with " error number of MM points read is different".
std::vector<double> ReadMMEnergies(const std::string& path, std::size_t n);

// The energies less their lowest value (relative MM energies); unchanged
// when empty.
void SubtractLowest(std::vector<double>& energies);

// Writes text as the whole content of path; a file that cannot be written
// ends the process with "$ err unable to open file : " and the path.
void WriteTextFile(const std::string& path, const std::string& text);

// Number of CHARMM jobs of the bonded fit that wrote none of their result
// files since the process started.
extern int nFailedCharmmJobs;

// "CONS DIHE" followed by " AAAA 1 NAME" for each of the four atoms aid of m
// (segment AAAA, residue 1 of the CHARMM job).
std::string ConsDiheAtoms(const CMolecule& m, const std::vector<int>& aid);
