// The constrained geometry optimisation deck shared by the bonded-term scans.
#include <fstream>
#include <stdexcept>

#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "mol.h"

namespace Gaussian {

namespace {

std::string OptimizeDeck(const CMolecule& mol1, const std::vector<Real>& cr,
                         const std::vector<CConstraint>& cons) {
  if (cr.size() < static_cast<std::size_t>(mol1.natm) * 3)
    throw std::length_error("start coordinates hold " + std::to_string(cr.size()) + " values, " +
                            std::to_string(mol1.natm * 3) + " needed");
  std::string deck = options.addCommand + "\n";
  deck += Format("%%NPROCS=%d\n", options.nproc);
  deck += "%NoSave\n#" + options.QMTheory + " Opt=(ModRedun, MaxCycle=20) NoSymm\n\nMolName: \n\n";
  deck += Format("%.0f %d \n", mol1.netcharge, mol1.spinm);
  for (int i = 0; i < mol1.natm; ++i) {
    // Each coordinate keeps at least one blank before it, also beyond -10 A.
    deck += Format("%d%5d %8.5f %8.5f %8.5f\n", mol1.atom.at(i).atmnum, 0, cr[3 * i], cr[3 * i + 1],
                   cr[3 * i + 2]);
  }
  deck += "\n";
  for (const CConstraint& c : cons) {
    for (const int a : c.aid)
      if (a >= 0) deck += Format("%d ", a + 1);
    deck += " F\n";
  }
  deck += "\n";
  return deck;
}

}  // namespace

void WriteOptimizeDeck(const CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
                       const std::vector<Real>& cr, const std::vector<CConstraint>& cons) {
  WriteQMDeck(FlIn, FlOut, OptimizeDeck(mol1, cr, cons));
}

void Optimize(const CMolecule& mol1, const std::string& FlIn, const std::string& FlOut,
              const std::vector<Real>& cr, const std::vector<CConstraint>& cons,
              const ShellRunner& runner) {
  WriteOptimizeDeck(mol1, FlIn, FlOut, cr, cons);
  run_gauss(FlIn, FlOut, runner);
}

}  // namespace Gaussian
