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
  } prop;
};

// Parses the Gaussian output fname into w.
void ReadGaussianOutput(const std::string& fname, GaussianOutputData& w);

}  // namespace Gaussian

// One frozen internal coordinate of a constrained optimisation: the leading
// entries of `aid` are 0-based atom indices, the rest -1.
class CConstraint {
 public:
  std::vector<int> aid = {-1, -1, -1, -1};
  Real val = 0.0;
  char type = 'd';
};

// Runs one shell command line and gives back what `system` returned.
using ShellRunner = std::function<int(const std::string&)>;
int SystemShell(const std::string& commandLine);

// The shell command line that runs the deck fname_inp into fname_out.
std::string GaussCommandLine(const std::string& fname_inp, const std::string& fname_out);

// True when the output file exists and holds a normal or an error termination
// line; an output without either was cut off (the job was killed or the
// machine stopped) and is not a result.
bool GaussianOutputComplete(const std::string& fname_out);

// Runs the deck fname_inp unless a complete fname_out exists already or QM
// jobs are switched off; afterwards fname_out is there or the run failed. An
// incomplete fname_out is moved aside to fname_out + ".incomplete" and the
// job runs again; with QM jobs switched off it ends the process instead.
void run_gauss(const std::string& fname_inp, const std::string& fname_out,
               const ShellRunner& runner = SystemShell);

namespace Gaussian {

// Writes and runs a redundant-internal-coordinate optimisation of mol1 from
// the coordinates cr (x, y, z per atom), with the coordinates of cons frozen.
void Optimize(const CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
              const std::vector<Real>& cr, const std::vector<CConstraint>& cons,
              const ShellRunner& runner = SystemShell);

}  // namespace Gaussian
