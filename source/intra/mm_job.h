#pragma once

#include <map>
#include <string>
#include <utility>
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

// The results of the CHARMM jobs of one minimiser run, by the trial
// parameter file they were computed with. Brent's search ends with steps far
// below the five decimals the parameter file holds, so it asks again and
// again for parameters whose file is one computed before; every other input
// of the jobs is fixed while the minimiser runs and the jobs are
// deterministic, so the recorded files are what a new run would write.
//
// While `on`, RunCharmmJob looks up the job (script, settings and
// `parameters`, the text of the parameter file now written) and, when it ran
// before, writes its output and result files back instead of running it; a
// job that wrote all its result files is recorded. Off, and empty, outside
// a minimiser run.
class CCharmmJobMemo {
 public:
  bool on = false;
  std::string parameters;
  // Takes the text of the parameter file at path for the jobs that follow.
  void Read(const std::string& path);
  // job key -> (file, content) of the output and each result file
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> runs;
  // Starts (on) or ends (off) a minimiser run; either way forgets every job.
  void Switch(bool enable) {
    on = enable;
    parameters.clear();
    runs.clear();
  }
};
extern CCharmmJobMemo charmmJobMemo;

// "CONS DIHE" followed by " AAAA 1 NAME" for each of the four atoms aid of m
// (segment AAAA, residue 1 of the CHARMM job).
std::string ConsDiheAtoms(const CMolecule& m, const std::vector<int>& aid);
