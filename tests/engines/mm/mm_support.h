#pragma once

#include <array>
#include <map>
#include <string>

#include "support/run.h"

// Helpers of the tests of the stand-in MM program.
namespace mm_testing {

using P = std::array<double, 3>;

// Geometry written out anew for the hand calculations (Angstrom, degrees).
double Dist(const P& a, const P& b);
double AngleDeg(const P& a, const P& b, const P& c);
double DiheDeg(const P& a, const P& b, const P& c, const P& d);

// Writes the job script "job.inp" into dir and runs `charmm < job.inp opts`.
testing_support::RunResult RunCharmm(const testing_support::TempDir& dir, const std::string& script,
                                     const std::string& opts = "");

// The energy terms of the log line "ENER> label ..." (total, bond, angle,
// urey, dihe, impr, elec, vdw, grms); empty when there is none.
std::map<std::string, double> Energies(const std::string& log, const std::string& label);

// Atom name -> coordinates of a CARD file; empty when it cannot be read.
std::map<std::string, P> ReadCard(const std::string& path);

// Copies the methanol topology, parameters and start structure of the
// examples into dir as top_methanol.rtf, par_methanol.prm, methanol.pdb.
void WriteMethanolFiles(const testing_support::TempDir& dir);

// A job script over the example methanol files.
std::string MethanolScript(const std::string& job);

using Structure = std::map<std::string, P>;

// A methanol structure (residue MEOH) away from its minimum.
extern const Structure kStart;

// The CHARMM energy of methanol (residue MEOH) worked out from the values of
// the general force field for types CG331, OG311, HGP1 and HGA3.
double MethanolEnergy(const Structure& s);

// A PDB file of the named atoms (residue MEOH).
std::string Pdb(const std::map<std::string, P>& atoms);

}  // namespace mm_testing
