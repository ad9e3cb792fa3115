#pragma once

#include <string>
#include <vector>

#include "constants.h"
#include "gaussian.h"
#include "mol.h"

// Runs of the MM program CHARMM and the restrained minimisation built on it.

// The shell command line that runs CHARMM in the working directory fpath on
// the script fname_inp, with opts as command-line settings, writing its
// output to fname_out. Paths with blanks or other characters the shell would
// take apart are single-quoted; a path that cannot be quoted so ends the
// process with "$ err charmm file name with quotes or shell characters : ".
std::string CharmmCommandLine(const std::string& fname_inp, const std::string& fname_out,
                              const std::string& opts);

// Runs one CHARMM job through tcsh and waits for it; the exit status is not
// examined (a failed job shows as missing output files).
void charmm(const std::string& fname_inp, const std::string& fname_out, const std::string& opts,
            const ShellRunner& runner = SystemShell);

namespace CHARMM {

// The "restraints.str" text for cons: one mmfp GEO block per distance ('b'),
// angle ('a') or dihedral ('d', 'i') restraint; other kinds are skipped.
std::string RestraintsText(const CMolecule& mol1, const std::vector<CConstraint>& cons);

// Minimises mol1 with CHARMM under the restraints cons: writes
// fpath + "restraints.str", runs strCharmmPath + "/minimize_with_restraints.inp",
// reads fpath + "emp_with_retraints.card" into the comparison coordinates and
// copies them into cr (3 values per atom). FlIn and FlOut are not used.
void Optimize(CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
              std::vector<Real>& cr, const std::vector<CConstraint>& cons,
              const ShellRunner& runner = SystemShell);

}  // namespace CHARMM
