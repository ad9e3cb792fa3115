#pragma once

// The constrained QM optimisation that every QM reference of the bonded fit
// is made of, and the pieces its callers share.
#include <string>
#include <vector>

#include "constants.h"
#include "gaussian.h"
#include "mol.h"

// The constraints of one point of scan term t: its own coordinate at value
// (Angstrom or degrees), then every soft dihedral the term holds fixed.
std::vector<CConstraint> TermConstraints(const CMolecule::ClassPESScanBonded& t, Real value);

// A dihedral constraint ('d') on the four atoms aid at value degrees.
CConstraint DiheConstraint(const std::vector<int>& aid, Real value);

// The constrained optimisation of m from the coordinates cr (x, y, z per atom)
// with the deck inp and the output out. Unless out is a complete output of an
// earlier run, CHARMM first minimises under cons (replacing cr) and Gaussian
// then optimises from there with the coordinates of cons frozen. Returns the
// output read back; an output without 3 input-orientation coordinates per
// atom raises a DetailedError that names it.
Gaussian::GaussianOutputData ConstrainedQMOptimization(CMolecule& m, const std::string& inp,
                                                       const std::string& out, std::vector<Real> cr,
                                                       const std::vector<CConstraint>& cons);

// The same in two steps, for a batch of such jobs: the CHARMM minimisation
// and the deck, with the job added to batch (nothing when out is complete
// already); then, after the batch has run, the output read back.
void PrepareConstrainedQMOptimization(CMolecule& m, const std::string& inp, const std::string& out,
                                      std::vector<Real> cr, const std::vector<CConstraint>& cons,
                                      std::vector<Gaussian::QMJob>& batch);
Gaussian::GaussianOutputData ReadConstrainedQMOptimization(const CMolecule& m,
                                                           const std::string& out);

// Puts the coordinates xyz (x, y, z per atom) into the comparison set of m.
void SetComparisonCoordinates(CMolecule& m, const std::vector<Real>& xyz);

// The active coordinates of m and its stored geometries, put back when the
// guard goes: the scans read other structures into the molecule on the way.
class GeometryGuard {
 public:
  explicit GeometryGuard(CMolecule& m);
  ~GeometryGuard();
  GeometryGuard(const GeometryGuard&) = delete;
  GeometryGuard& operator=(const GeometryGuard&) = delete;

 private:
  CMolecule& m_;
  std::vector<std::vector<double>> active_;
  std::vector<double> stored_;
};
