#pragma once

#include <string>
#include <vector>

#include "deck.h"
#include "esp_fit.h"
#include "vec3.h"

// The output text, assembled in memory and written out in one piece at the
// end (so that an error stop still shows everything printed before it).
class Output {
 public:
  std::string text;
  // Appends printf-formatted text.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// Banner, the lines (engineLines) that say what really computes the numbers,
// and the echo of the deck (Link 0, route, title, charge and multiplicity,
// centres, values).
void WriteHeader(Output& out, const Deck& deck, const std::string& engineLines);

// An orientation table ("Input", "Z-Matrix" or "Standard"): one row per
// centre with its atomic number (-1 for a dummy) and position in Angstrom.
void WriteOrientation(Output& out, const std::string& kind, const std::vector<int>& atomicNumbers,
                      const std::vector<Vec3>& positions);

// "SCF Done:  E(RHF) = ..." with the SCF's name ("RHF", "RB3LYP", "GFN2-xTB").
void WriteScfDone(Output& out, const std::string& scfName, double energy);
// The MP2 line: the correlation energy E2 and the total EUMP2 (hartree).
void WriteMp2Energy(Output& out, double e2, double total);

// The forces table (hartree/bohr) from a gradient.
void WriteForces(Output& out, const std::vector<int>& atomicNumbers, const std::vector<Vec3>& gradient);

// The convergence table: maximum and RMS force, maximum and RMS displacement.
// Returns true when all four are below their thresholds.
bool WriteConvergence(Output& out, double maxForce, double rmsForce, double maxStep, double rmsStep);

// One row of the "Optimized Parameters" table.
struct ParameterRow {
  std::string name;        // "RX", "D1"
  std::string definition;  // "" for a Z-matrix variable, "D(1,2,3,4)" for a frozen coordinate
  double value = 0;
  double derivative = 0;   // -DE/DX in internal units
  bool frozen = false;
};
void WriteOptimizedParameters(Output& out, const std::vector<ParameterRow>& rows);

void WriteMulliken(Output& out, const std::vector<int>& atomicNumbers, const std::vector<double>& charges);
void WriteDipole(Output& out, const Vec3& dipole);

// The Merz-Kollman blocks: centres (fit points only with printPoints), the
// fitted charges and the potential at the fit points.
void WriteEsp(Output& out, const std::vector<int>& atomicNumbers, const std::vector<Vec3>& atoms,
              const std::vector<Vec3>& points, const std::vector<double>& potential, const EspCharges& fit,
              bool printPoints);

void WriteNormalTermination(Output& out);
void WriteErrorTermination(Output& out, const std::string& problem);
