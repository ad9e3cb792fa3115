#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "constants.h"
#include "vector.h"

class CMolecule;

namespace Gaussian {

// Options of every QM job.
class GaussianJob {
 public:
  int nproc = 1;
  std::string QMTheory = "HF/6-31G*";
  std::string command = "g09";
  std::string addCommand;  // extra Link 0 / route text from `gausscommand`
  int jobs = 1;            // QM jobs run at once (`qmjobs`)
  std::string launcher;    // put in front of every g09 command (`qmlauncher`), e.g. srun
};

extern GaussianJob options;

// What one Gaussian output file held. Every item has a flag in `ifread` that
// says whether the file showed it; values are kept as Gaussian printed them.
class GaussianOutputData {
 public:
  GaussianOutputData();

  // Mark an item as read / ask whether it was read. A key that is not one of
  // `options` ends the process.
  void SetRead(const std::string& key);
  bool IfRead(const std::string& key) const;

  std::map<std::string, bool> ifread;
  const std::vector<std::string> options;

  struct {
    Real energy = 0.0;    // total energy, hartree
    Real distance = 0.0;  // Z-matrix variable RX, Angstrom
    std::vector<Real> xyzInputOrient;
    std::vector<Real> xyzStandardOrient;
    std::vector<Real> xyzZmatrixOrient;
    std::vector<Real> force;  // hartree/bohr, x, y, z per atom
    std::vector<Real> gradIC;
    std::vector<std::vector<int>> atomIC;
    Vector3 dipole;  // Debye; `norma` is the total
    std::vector<Real> espq;
    std::vector<Real> mullikenq;
    std::vector<Real> espcoor;  // x, y, z per fit point, Angstrom
    std::vector<Real> espval;   // potential per fit point, atomic units
    bool ifconverged = false;
    bool iferror = false;
    bool optcompleted = false;   // "Optimization completed" was written
    bool stepsexceeded = false;  // the optimisation stopped at its cycle limit
  } prop;
};

// Parses the Gaussian output fname into w.
void ReadGaussianOutput(const std::string& fname, GaussianOutputData& w);

// What the results of a job are: a single point or population, an
// optimisation, or a constrained optimisation of a scan or force constant
// (their decks allow 20 cycles).
enum class JobKind { Result, Optimisation, ConstrainedOptimisation };

// Parses the output of a job whose results are to be used. An output that
// ends in an error termination, or an optimisation without its "Optimization
// completed" line, ends the run naming the file; except a constrained
// optimisation stopped at its cycle limit, whose last structure is used with
// a warning that names the file (once per file and run).
GaussianOutputData ReadJobOutput(const std::string& fname, JobKind kind);

}  // namespace Gaussian

// One frozen internal coordinate of a constrained optimisation: the leading
// entries of `aid` are 0-based atom indices, the rest -1.
class CConstraint {
 public:
  std::vector<int> aid = {-1, -1, -1, -1};
  Real val = 0.0;
  char type = 'd';
};

// Runs one shell command line and gives back what `system` returned. A job
// stopped by a signal (Ctrl-C, kill) ends the run with status 128 + the signal.
using ShellRunner = std::function<int(const std::string&)>;
int SystemShell(const std::string& commandLine);

// The stop signal (SIGHUP, SIGINT, SIGQUIT, SIGKILL, SIGTERM) that ended a
// shell with the wait status `status`: the shell killed by it, or its exit
// status 128 + the signal; 0 for any other end.
int StopSignalOf(int status);

// The message of a job that left no complete output.
std::string NoCompleteOutput(const std::string& fname_inp, const std::string& fname_out, int status);

// Ends the run with status 128 + the signal, naming `job`, when the wait
// status `status` says a stop signal ended it.
void EndIfStopped(int status, const std::string& job);

// The shell command line that runs the deck fname_inp into fname_out.
std::string GaussCommandLine(const std::string& fname_inp, const std::string& fname_out);

// A deck without its Link 0 lines (%NPROC, %mem, %NoSave, ...): what decides
// the result of the job.
std::string WithoutLink0(const std::string& deck);

// Writes the deck fname_inp of the job whose output is fname_out. An output
// is a result of the deck that produced it: when the deck on disk differs
// from this one (Link 0 lines aside) and an output exists, the output is
// moved aside to fname_out + ".previous", with a line that says so, and the
// job runs again. Without a deck on disk an existing output is kept.
void WriteQMDeck(const std::string& fname_inp, const std::string& fname_out, const std::string& deck);

// True when the output file exists and holds a normal or an error termination
// line; an output without either was cut off (the job was killed or the
// machine stopped) and is not a result.
bool GaussianOutputComplete(const std::string& fname_out);

// What run_gauss does before it starts a job: reports a reused output or
// switched-off QM jobs, moves an incomplete output aside and checks the paths.
// True when the job has to run.
bool GaussRunNeeded(const std::string& fname_inp, const std::string& fname_out);

// Runs the deck fname_inp unless a complete fname_out exists already or QM
// jobs are switched off; afterwards a complete fname_out is there, or the run
// has ended naming the job. An
// incomplete fname_out is moved aside to fname_out + ".incomplete" and the
// job runs again; with QM jobs switched off it ends the process instead.
void run_gauss(const std::string& fname_inp, const std::string& fname_out,
               const ShellRunner& runner = SystemShell);

namespace Gaussian {

// One QM job: its deck, written already, and its output.
class QMJob {
 public:
  std::string inp;
  std::string out;
};

// Runs the jobs as run_gauss runs one, at most `options.jobs` at a time, and
// returns when all have ended. With more than one at a time, every finished
// job prints a progress line; a job that leaves no complete output ends the
// process after the other jobs have ended, naming its output.
void RunQMBatch(const std::vector<QMJob>& batch);

// Runs groups of items whose QM jobs are independent within a group:
// prepare(item, batch) writes the decks of an item and adds its jobs to the
// batch, finish(item) reads its outputs. One job at a time, each item is
// prepared, run and finished before the next (the serial order); else every
// item of a group is prepared in order, the group's jobs run as one batch,
// and its items are finished in the same order.
template <class Item, class Prepare, class Finish>
void RunQMGroups(const std::vector<std::vector<Item>>& groups, Prepare prepare, Finish finish) {
  for (const std::vector<Item>& group : groups) {
    std::vector<QMJob> batch;
    for (const Item& item : group) prepare(item, batch);
    RunQMBatch(batch);
    for (const Item& item : group) finish(item);
  }
}

// The groups of RunQMGroups for items that do not depend on each other: each
// alone when one job runs at a time, else all in one group.
template <class Item>
std::vector<std::vector<Item>> IndependentGroups(const std::vector<Item>& items) {
  std::vector<std::vector<Item>> groups;
  if (options.jobs > 1) {
    groups.push_back(items);
  } else {
    for (const Item& item : items) groups.push_back({item});
  }
  return groups;
}

// Writes the redundant-internal-coordinate optimisation deck FlIn of mol1
// from the coordinates cr (x, y, z per atom), with the coordinates of cons
// frozen.
void WriteOptimizeDeck(const CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
                       const std::vector<Real>& cr,
                       const std::vector<CConstraint>& cons);

// True when the deck FlIn on disk is not the optimisation deck that mol1 and
// cons give now, whatever its start coordinates (Link 0 lines aside); false
// when there is no deck on disk.
bool OptimizeDeckChanged(const CMolecule& mol1, const std::string& FlIn,
                         const std::vector<CConstraint>& cons);

// Writes and runs a redundant-internal-coordinate optimisation of mol1 from
// the coordinates cr (x, y, z per atom), with the coordinates of cons frozen.
void Optimize(const CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
              const std::vector<Real>& cr, const std::vector<CConstraint>& cons,
              const ShellRunner& runner = SystemShell);

}  // namespace Gaussian
