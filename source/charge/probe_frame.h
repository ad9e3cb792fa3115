#pragma once

#include "constants.h"
#include "mol.h"

// The atoms that fix the frame in which a water is placed next to a probed
// atom a1: a2 is its lowest-numbered neighbour, a3 a second neighbour of a1
// (or, for a terminal atom, a neighbour of a2), a4 the third neighbour of an
// atom with exactly three bonds (-1 otherwise).
struct ProbeFrameAtoms {
  int b = 0;  // number of covalent bonds of a1
  int a2 = -1;
  int a3 = -1;
  int a4 = -1;
};

// Number of bonds of the probed atom a1; ends the process when a water
// cannot be placed on it (no bond, or four and more bonds).
int ProbedAtomBonds(const CMolecule& s, int a1);

// Finds the frame atoms of a1; ends the process when they do not exist.
ProbeFrameAtoms FindProbeFrame(const CMolecule& s, int a1);

// Angle A and dihedral D (degrees) that put the probing axis into the frame
// of an atom with two or three bonds (a terminal atom uses dummy centres).
struct ProbeFrameAngles {
  Real A = 0.0;
  Real D = 0.0;
};
ProbeFrameAngles FrameAngles(const CMolecule& s, int b, int a1, int a2, int a3, int a4);
