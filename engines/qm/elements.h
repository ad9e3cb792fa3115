#pragma once

#include <string>

// Element symbols and the radii used for the electrostatic-potential shells.
// The method of xtb covers hydrogen to radon (atomic numbers 1 to 86).
constexpr int kMaxAtomicNumber = 86;

// Symbol of an atomic number in 1..86 ("H", "He", ...).
std::string ElementSymbol(int atomicNumber);

// Atomic number of a symbol (case-insensitive), 0 when it is no element.
int AtomicNumberOfSymbol(const std::string& symbol);

// Atomic number of a centre label such as "C", "OH2", "H1" or "Cl3": the
// leading letters name the element (two letters when they form a symbol).
// 0 for a dummy centre ("X..."), -1 when the label names no element.
int AtomicNumberOfLabel(const std::string& label);

// Radius in Angstrom of the innermost electrostatic-potential shell unit:
// the Merz-Kollman radius where one is defined, else the van der Waals radius.
double EspRadius(int atomicNumber);
