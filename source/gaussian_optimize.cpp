// The constrained geometry optimisation deck shared by the bonded-term scans.
#include <fstream>
#include <iterator>
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

// The deck with every coordinate blanked out: the atoms of the charge and
// multiplicity section (after the route, its blank line, the title and its
// blank line) keep their atomic number and freeze flag only.
std::string WithoutCoordinates(const std::string& deck) {
  std::string kept;
  int blanks = -1;  // blank lines since the route line; -1 before it
  bool first = true;
  std::size_t at = 0;
  while (at < deck.size()) {
    std::size_t end = deck.find('\n', at);
    end = end == std::string::npos ? deck.size() : end + 1;
    const std::string line = deck.substr(at, end - at);
    at = end;
    if (blanks < 0 && line.starts_with('#')) blanks = 0;
    if (line == "\n") {
      if (blanks >= 0) ++blanks;
      first = true;
    } else if (blanks == 2 && !first) {
      kept += tprint(line, 1) + " " + tprint(line, 2) + "\n";
      continue;
    } else {
      first = false;
    }
    kept += line;
  }
  return kept;
}

}  // namespace

bool OptimizeDeckChanged(const CMolecule& mol1, const std::string& FlIn,
                         const std::vector<CConstraint>& cons) {
  std::ifstream in(FlIn, std::ios::binary);
  if (!in) return false;
  const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<Real> origin(static_cast<std::size_t>(mol1.natm) * 3, 0.0);
  return WithoutLink0(WithoutCoordinates(old)) !=
         WithoutLink0(WithoutCoordinates(OptimizeDeck(mol1, origin, cons)));
}

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
