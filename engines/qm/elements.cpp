#include "elements.h"

#include <array>
#include <cctype>

namespace {

const std::array<const char*, kMaxAtomicNumber> kSymbols = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn"};

std::string Lowered(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

}  // namespace

std::string ElementSymbol(int atomicNumber) {
  if (atomicNumber < 1 || atomicNumber > kMaxAtomicNumber) return "?";
  return kSymbols[static_cast<size_t>(atomicNumber - 1)];
}

int AtomicNumberOfSymbol(const std::string& symbol) {
  const std::string wanted = Lowered(symbol);
  for (size_t i = 0; i < kSymbols.size(); ++i) {
    if (Lowered(kSymbols[i]) == wanted) return static_cast<int>(i) + 1;
  }
  return 0;
}

int AtomicNumberOfLabel(const std::string& label) {
  if (label.empty() || !std::isalpha(static_cast<unsigned char>(label[0]))) return -1;
  if (std::tolower(static_cast<unsigned char>(label[0])) == 'x') return 0;
  if (label.size() >= 2 && std::isalpha(static_cast<unsigned char>(label[1]))) {
    const int two = AtomicNumberOfSymbol(label.substr(0, 2));
    if (two > 0) return two;
  }
  const int one = AtomicNumberOfSymbol(label.substr(0, 1));
  return one > 0 ? one : -1;
}

double EspRadius(int atomicNumber) {
  switch (atomicNumber) {
    // Merz-Kollman radii.
    case 1: return 1.20;
    case 6: return 1.50;
    case 7: return 1.50;
    case 8: return 1.40;
    case 9: return 1.35;
    case 15: return 1.80;
    case 16: return 1.75;
    case 17: return 1.70;
    // Bondi van der Waals radii for the other common elements.
    case 2: return 1.40;
    case 3: return 1.82;
    case 5: return 1.92;
    case 10: return 1.54;
    case 11: return 2.27;
    case 12: return 1.73;
    case 13: return 1.84;
    case 14: return 2.10;
    case 18: return 1.88;
    case 19: return 2.75;
    case 35: return 1.85;
    case 53: return 1.98;
    default: return 2.00;
  }
}
