#include "output.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "elements.h"
#include "format.h"

void Output::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  text += engines::VFormat(format, args);
  va_end(args);
}

namespace {

void Rule(Output& out, size_t width) { out.Printf(" %s\n", std::string(width, '-').c_str()); }

std::string Symbol(int z) { return z == 0 ? "X" : ElementSymbol(z); }

// Minus zero prints as zero so that equal geometries print equally.
double Clean(double v) { return std::abs(v) < 5e-10 ? 0.0 : v; }

void WriteValue(Output& out, const DeckValue& v) {
  if (v.isName) {
    out.Printf("%s%s", v.negate ? "-" : "", v.name.c_str());
  } else {
    out.Printf("%.6f", v.number);
  }
}

}  // namespace

void WriteHeader(Output& out, const Deck& deck, const std::string& engineLines) {
  out.Printf(" Entering Gaussian System, Link 0=g09\n");
  out.Printf("%s", engineLines.c_str());
  for (const std::string& l : deck.link0) out.Printf(" %s\n", l.c_str());
  out.Printf(" Will use up to %4d processors via shared memory.\n", deck.nproc);
  Rule(out, deck.route.text.size() + 1);
  out.Printf(" %s\n", deck.route.text.c_str());
  Rule(out, deck.route.text.size() + 1);
  size_t titleWidth = 0;
  for (const std::string& t : deck.titleLines) titleWidth = std::max(titleWidth, t.size() + 1);
  Rule(out, titleWidth);
  for (const std::string& t : deck.titleLines) out.Printf(" %s\n", t.c_str());
  Rule(out, titleWidth);
  out.Printf(" Symbolic Z-matrix:\n");
  out.Printf(" Charge = %2d Multiplicity = %d\n", deck.charge, deck.multiplicity);
  for (const DeckCentre& c : deck.centres) {
    out.Printf(" %-20s", c.atomicNumber == 0 ? "X" : ElementSymbol(c.atomicNumber).c_str());
    if (c.cartesian) {
      out.Printf(" %3d", c.freezeCode);
      for (const DeckValue& v : c.xyz) {
        out.Printf("  ");
        WriteValue(out, v);
      }
    } else {
      for (size_t k = 0; k < 3 && c.refs[k] >= 0; ++k) {
        out.Printf(" %4d  ", c.refs[k] + 1);
        WriteValue(out, c.internal[k]);
      }
    }
    out.Printf("\n");
  }
  if (!deck.variables.empty()) out.Printf("       Variables:\n");
  for (const auto& [name, value] : deck.variables) out.Printf("  %-20s%12.6f\n", name.c_str(), value);
  if (!deck.constants.empty()) out.Printf("       Constants:\n");
  for (const auto& [name, value] : deck.constants) out.Printf("  %-20s%12.6f\n", name.c_str(), value);
  if (!deck.constraints.empty()) out.Printf(" The following ModRedundant input section has been read:\n");
  for (const DeckConstraint& c : deck.constraints) {
    out.Printf(" %c", "??BAD"[c.centres.size()]);
    for (const int k : c.centres) out.Printf(" %5d", k + 1);
    if (c.hasValue) out.Printf(" %10.4f", c.value);
    out.Printf(" F\n");
  }
}

void WriteOrientation(Output& out, const std::string& kind, const std::vector<int>& atomicNumbers,
                      const std::vector<Vec3>& positions) {
  const std::string title = kind + " orientation:";
  out.Printf("%*s%s\n", static_cast<int>(35 - title.size() / 2), "", title.c_str());
  Rule(out, 69);
  out.Printf(" Center     Atomic      Atomic             Coordinates (Angstroms)\n");
  out.Printf(" Number     Number       Type             X           Y           Z\n");
  Rule(out, 69);
  for (size_t i = 0; i < positions.size(); ++i) {
    out.Printf("%7zu%11d%12d    %12.6f%12.6f%12.6f\n", i + 1, atomicNumbers[i] == 0 ? -1 : atomicNumbers[i], 0,
               Clean(positions[i].x), Clean(positions[i].y), Clean(positions[i].z));
  }
  Rule(out, 69);
}

void WriteScfDone(Output& out, const std::string& scfName, double energy) {
  out.Printf(" SCF Done:  E(%s) =  %.9f     A.U. after    1 cycles\n", scfName.c_str(), energy);
}

namespace {

// A number as the real program writes it with a D exponent: -0.76209054040D+02.
std::string FortranD(double v, int digits) {
  int exponent = v == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::abs(v)))) + 1;
  char mantissa[64];
  std::snprintf(mantissa, sizeof mantissa, "%.*f", digits, std::abs(v) / std::pow(10.0, exponent));
  if (mantissa[0] == '1') {  // rounded up to 1.000...
    ++exponent;
    std::snprintf(mantissa, sizeof mantissa, "%.*f", digits, std::abs(v) / std::pow(10.0, exponent));
  }
  char text[96];
  std::snprintf(text, sizeof text, "%s%sD%c%02d", v < 0 ? "-" : "", mantissa, exponent < 0 ? '-' : '+',
                std::abs(exponent));
  return text;
}

}  // namespace

void WriteMp2Energy(Output& out, double e2, double total) {
  out.Printf(" E2 =    %s EUMP2 =    %s\n", FortranD(e2, 10).c_str(), FortranD(total, 14).c_str());
}

void WriteForces(Output& out, const std::vector<int>& atomicNumbers, const std::vector<Vec3>& gradient) {
  Rule(out, 67);
  out.Printf(" Center     Atomic                   Forces (Hartrees/Bohr)\n");
  out.Printf(" Number     Number              X              Y              Z\n");
  Rule(out, 67);
  double largest = 0, sum = 0;
  for (size_t i = 0; i < gradient.size(); ++i) {
    const Vec3 f = -1.0 * gradient[i];
    out.Printf("%7zu%9d       %15.9f%15.9f%15.9f\n", i + 1, atomicNumbers[i], Clean(f.x), Clean(f.y), Clean(f.z));
    for (const double c : {f.x, f.y, f.z}) {
      largest = std::max(largest, std::abs(c));
      sum += c * c;
    }
  }
  Rule(out, 67);
  const double rms = gradient.empty() ? 0 : std::sqrt(sum / (3.0 * static_cast<double>(gradient.size())));
  out.Printf(" Cartesian Forces:  Max %15.9f RMS %15.9f\n", largest, rms);
}

bool WriteConvergence(Output& out, double maxForce, double rmsForce, double maxStep, double rmsStep) {
  struct Row {
    const char* name;
    double value, threshold;
  };
  const Row rows[] = {{"Maximum Force           ", maxForce, 0.000450},
                      {"RMS     Force           ", rmsForce, 0.000300},
                      {"Maximum Displacement    ", maxStep, 0.001800},
                      {"RMS     Displacement    ", rmsStep, 0.001200}};
  out.Printf("         Item               Value     Threshold  Converged?\n");
  bool all = true;
  for (const Row& r : rows) {
    const bool yes = r.value < r.threshold;
    all = all && yes;
    out.Printf(" %s%10.6f%13.6f     %s\n", r.name, r.value, r.threshold, yes ? "YES" : "NO ");
  }
  return all;
}

void WriteOptimizedParameters(Output& out, const std::vector<ParameterRow>& rows) {
  out.Printf("                           ----------------------------\n");
  out.Printf("                           !   Optimized Parameters   !\n");
  out.Printf("                           ! (Angstroms and Degrees)  !\n");
  out.Printf(" --------------------------                            --------------------------\n");
  out.Printf(" ! Name  Definition              Value          Derivative Info.                !\n");
  Rule(out, 80);
  for (const ParameterRow& r : rows) {
    if (r.definition.empty()) {
      out.Printf(" ! %-10s%12.4f   -DE/DX = %10.6f                              !\n", r.name.c_str(), r.value,
                 Clean(r.derivative));
    } else if (r.frozen) {
      out.Printf(" ! %-5s %-18s%10.4f         Frozen                         !\n", r.name.c_str(),
                 r.definition.c_str(), r.value);
    }
  }
  Rule(out, 80);
}

void WriteMulliken(Output& out, const std::vector<int>& atomicNumbers, const std::vector<double>& charges) {
  out.Printf(" Mulliken charges:\n");
  out.Printf("               1\n");
  double sum = 0;
  for (size_t i = 0; i < charges.size(); ++i) {
    out.Printf("%6zu  %-2s %11.6f\n", i + 1, Symbol(atomicNumbers[i]).c_str(), Clean(charges[i]));
    sum += charges[i];
  }
  out.Printf(" Sum of Mulliken charges = %8.5f\n", Clean(sum));
}

void WriteDipole(Output& out, const Vec3& dipole) {
  out.Printf(" Dipole moment (field-independent basis, Debye):\n");
  out.Printf("    X=%20.4f    Y=%20.4f    Z=%20.4f  Tot=%20.4f\n", Clean(dipole.x), Clean(dipole.y),
             Clean(dipole.z), Norm(dipole));
}

void WriteEsp(Output& out, const std::vector<int>& atomicNumbers, const std::vector<Vec3>& atoms,
              const std::vector<Vec3>& points, const std::vector<double>& potential, const EspCharges& fit,
              bool printPoints) {
  out.Printf(" Merz-Kollman atomic radii used.\n");
  out.Printf(" Generate Potential Derived Charges using the Merz-Kollman scheme:\n");
  out.Printf(" NAtoms= %5zu NFitPoints= %8zu\n", atoms.size(), points.size());
  if (printPoints) {
    for (size_t i = 0; i < atoms.size(); ++i) {
      out.Printf("      Atomic Center %4zu is at %10.6f %10.6f %10.6f\n", i + 1, Clean(atoms[i].x), Clean(atoms[i].y),
                 Clean(atoms[i].z));
    }
    for (size_t p = 0; p < points.size(); ++p) {
      out.Printf("      ESP Fit Center %4zu is at %10.6f %10.6f %10.6f\n", atoms.size() + p + 1, Clean(points[p].x),
                 Clean(points[p].y), Clean(points[p].z));
    }
  }
  out.Printf(" Charges from ESP fit, RMS= %9.5f RRMS= %9.5f:\n", fit.rms, fit.rrms);
  out.Printf(" ESP charges:\n");
  out.Printf("               1\n");
  double sum = 0;
  for (size_t i = 0; i < fit.charges.size(); ++i) {
    out.Printf("%6zu  %-2s %11.6f\n", i + 1, Symbol(atomicNumbers[i]).c_str(), Clean(fit.charges[i]));
    sum += fit.charges[i];
  }
  out.Printf(" Sum of ESP charges = %8.5f\n", Clean(sum));
  if (printPoints) {
    Rule(out, 65);
    out.Printf("              Electrostatic Properties (Atomic Units)\n");
    Rule(out, 65);
    out.Printf("    Center     Electric         -------- Electric Field --------\n");
    out.Printf("               Potential          X             Y             Z\n");
    Rule(out, 65);
    for (size_t p = 0; p < points.size(); ++p) {
      out.Printf("%5zu Fit  %13.6f\n", atoms.size() + p + 1, Clean(potential[p]));
    }
    Rule(out, 65);
  }
}

void WriteNormalTermination(Output& out) { out.Printf(" Normal termination of Gaussian 09.\n"); }

void WriteErrorTermination(Output& out, const std::string& problem) {
  out.Printf(" %s\n", problem.c_str());
  out.Printf(" Error termination via Lnk1e in the g09 stand-in: %s\n", problem.c_str());
}
