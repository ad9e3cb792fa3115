#pragma once

#include <vector>

#include "vec3.h"

// Merz-Kollman fit points (Angstrom): shells around every atom at radii from
// 1.4 to 2.0 times the atom's radius (`layers` shells evenly spaced in that
// range; 4 shells give 1.4, 1.6, 1.8, 2.0), `density` points per square
// Angstrom, keeping only points outside the same shell of every other atom.
std::vector<Vec3> MerzKollmanPoints(const std::vector<int>& atomicNumbers,
                                    const std::vector<Vec3>& positions, int layers, int density);

struct EspCharges {
  std::vector<double> charges;  // e, one per atom
  double rms = 0;               // root-mean-square misfit, hartree/e
  double rrms = 0;              // misfit relative to the potential itself
};

// Atomic charges whose Coulomb potential best reproduces `potential`
// (hartree/e) at `points` (Angstrom) in the least-squares sense, with their
// sum held at totalCharge. Throws std::runtime_error when the fit is singular.
EspCharges FitEspCharges(const std::vector<Vec3>& positions, const std::vector<Vec3>& points,
                         const std::vector<double>& potential, double totalCharge);
