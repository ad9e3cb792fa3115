#pragma once

#include <vector>

#include "coordinates.h"

// Internal coordinates and structure comparison, in Angstrom and degrees.
namespace mm {

double Distance(const Point& a, const Point& b);
double AngleDeg(const Point& a, const Point& b, const Point& c);
// Dihedral a-b-c-d in (-180, 180].
double DihedralDeg(const Point& a, const Point& b, const Point& c, const Point& d);
// The value of the 2-, 3- or 4-atom coordinate (distance, angle or dihedral).
double InternalCoordinate(const Coords& c, const std::vector<int>& atoms);
// x - y folded into (-180, 180].
double WrapDeg(double d);

// RMS deviation between two structures after the best superposition of b on a.
double RmsdSuperposed(const Coords& a, const Coords& b);

}  // namespace mm
