#include "calculations.h"

#include <sched.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "esp_fit.h"
#include "line_search.h"
#include "zmatrix.h"

namespace {

// The deck's real atoms and the numbering of its centres.
struct Atoms {
  std::vector<int> centreOfAtom;   // deck centre index of every atom
  std::vector<int> atomOfCentre;   // atom index of every centre, -1 for a dummy
  std::vector<int> atomicNumbers;  // per atom
  std::vector<int> centreNumbers;  // per centre, 0 for a dummy
};

Atoms DeckAtoms(const Deck& deck) {
  Atoms a;
  for (size_t i = 0; i < deck.centres.size(); ++i) {
    const int z = deck.centres[i].atomicNumber;
    a.centreNumbers.push_back(z);
    a.atomOfCentre.push_back(z > 0 ? static_cast<int>(a.centreOfAtom.size()) : -1);
    if (z > 0) {
      a.centreOfAtom.push_back(static_cast<int>(i));
      a.atomicNumbers.push_back(z);
    }
  }
  return a;
}

std::vector<Vec3> AtomPositions(const Atoms& atoms, const std::vector<Vec3>& centres) {
  std::vector<Vec3> out;
  for (const int c : atoms.centreOfAtom) out.push_back(centres[static_cast<size_t>(c)]);
  return out;
}

// Cores this process may run on.
int AvailableCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return std::max(1, CPU_COUNT(&set));
}

QmSystem System(const Deck& deck, const Atoms& atoms, const std::vector<Vec3>& positions) {
  QmSystem s;
  s.atomicNumbers = atoms.atomicNumbers;
  s.positions = positions;
  s.charge = deck.charge;
  s.unpairedElectrons = deck.multiplicity - 1;
  s.threads = deck.nproc;
  s.processes = deck.nprocGiven ? deck.nproc : AvailableCores();
  return s;
}

// Orientation tables of one geometry: the Z-matrix frame (with dummies) for
// Z-matrix input, else the input frame; the standard frame (the same frame,
// atoms only) unless symmetry is switched off.
void WriteGeometry(Output& out, const Deck& deck, const Atoms& atoms, const std::vector<Vec3>& centres) {
  const std::vector<Vec3> positions = AtomPositions(atoms, centres);
  if (deck.HasZMatrix()) {
    WriteOrientation(out, "Z-Matrix", atoms.centreNumbers, centres);
  } else {
    WriteOrientation(out, "Input", atoms.atomicNumbers, positions);
  }
  if (!deck.route.noSymm) WriteOrientation(out, "Standard", atoms.atomicNumbers, positions);
}

// Energy and properties at one geometry; with Pop=MK also the potential at the
// Merz-Kollman points, which are returned in `points`.
QmPoint Compute(const QmEngine& engine, const Deck& deck, const Atoms& atoms, const std::vector<Vec3>& positions,
                bool withEsp, std::vector<Vec3>& points) {
  points.clear();
  if (withEsp) {
    points = MerzKollmanPoints(atoms.atomicNumbers, positions, deck.route.espLayers, deck.route.espDensity);
  }
  return engine.SinglePoint(System(deck, atoms, positions), points);
}

// The "SCF Done" line, and for a correlated method the line of its energy.
void WriteEnergies(Output& out, const QmEngine& engine, double scfEnergy, double energy) {
  WriteScfDone(out, engine.ScfName(), scfEnergy);
  if (engine.Correlated()) WriteMp2Energy(out, energy - scfEnergy, energy);
}

void WritePopulation(Output& out, const Deck& deck, const Atoms& atoms, const std::vector<Vec3>& positions,
                     const QmPoint& point, const std::vector<Vec3>& points) {
  out.Printf(" **********************************************************************\n");
  out.Printf("            Population analysis using the SCF density.\n");
  out.Printf(" **********************************************************************\n");
  WriteMulliken(out, atoms.atomicNumbers, point.charges);
  WriteDipole(out, point.dipole);
  if (deck.route.popMK) {
    const EspCharges fit = FitEspCharges(positions, points, point.potential, deck.charge);
    WriteEsp(out, atoms.atomicNumbers, positions, points, point.potential, fit, deck.route.printEspPoints);
  }
}

// ---- Cartesian optimisation -------------------------------------------------

// Value of an internal coordinate of 2, 3 or 4 atoms: Angstrom or radians.
double InternalValue(const std::vector<Vec3>& x, const std::vector<int>& a) {
  const auto p = [&](size_t k) { return x[static_cast<size_t>(a[k])]; };
  if (a.size() == 2) return Distance(p(0), p(1));
  if (a.size() == 3) return AngleDeg(p(0), p(1), p(2)) * kPi / 180;
  return DihedralDeg(p(0), p(1), p(2), p(3)) * kPi / 180;
}

std::string InternalName(const std::vector<int>& a) {
  std::string s = a.size() == 2 ? "R(" : (a.size() == 3 ? "A(" : "D(");
  for (size_t k = 0; k < a.size(); ++k) s += (k ? "," : "") + std::to_string(a[k] + 1);
  return s + ")";
}

// Forces (hartree/bohr, 3 per atom) with the frozen atoms and the directions
// of the frozen internal coordinates taken out: what is left would still move
// the optimisation.
std::vector<double> FreeForces(const std::vector<Vec3>& x, const std::vector<Vec3>& gradient,
                               const std::vector<bool>& frozen, const std::vector<QmConstraint>& constraints) {
  const size_t n = x.size();
  std::vector<double> f(3 * n);
  for (size_t i = 0; i < n; ++i) {
    if (frozen[i]) continue;
    f[3 * i] = -gradient[i].x;
    f[3 * i + 1] = -gradient[i].y;
    f[3 * i + 2] = -gradient[i].z;
  }
  std::vector<std::vector<double>> basis;
  for (const QmConstraint& c : constraints) {
    std::vector<double> b(3 * n, 0.0);
    for (const int atom : c.atoms) {
      const size_t i = static_cast<size_t>(atom);
      if (frozen[i]) continue;
      for (int k = 0; k < 3; ++k) {
        const double h = 1e-5;
        std::vector<Vec3> plus = x, minus = x;
        double& cp = k == 0 ? plus[i].x : (k == 1 ? plus[i].y : plus[i].z);
        double& cm = k == 0 ? minus[i].x : (k == 1 ? minus[i].y : minus[i].z);
        cp += h;
        cm -= h;
        double d = InternalValue(plus, c.atoms) - InternalValue(minus, c.atoms);
        if (d > kPi) d -= 2 * kPi;
        if (d < -kPi) d += 2 * kPi;
        b[3 * i + static_cast<size_t>(k)] = d / (2 * h);
      }
    }
    for (const auto& e : basis) {
      double dot = 0;
      for (size_t k = 0; k < b.size(); ++k) dot += b[k] * e[k];
      for (size_t k = 0; k < b.size(); ++k) b[k] -= dot * e[k];
    }
    double norm = 0;
    for (const double v : b) norm += v * v;
    norm = std::sqrt(norm);
    if (norm < 1e-8) continue;
    for (double& v : b) v /= norm;
    basis.push_back(b);
  }
  for (const auto& e : basis) {
    double dot = 0;
    for (size_t k = 0; k < f.size(); ++k) dot += f[k] * e[k];
    for (size_t k = 0; k < f.size(); ++k) f[k] -= dot * e[k];
  }
  return f;
}

void MaxAndRms(const std::vector<double>& v, size_t count, double& largest, double& rms) {
  largest = 0;
  double sum = 0;
  for (const double x : v) {
    largest = std::max(largest, std::abs(x));
    sum += x * x;
  }
  rms = count == 0 ? 0 : std::sqrt(sum / static_cast<double>(count));
}

std::vector<Vec3> CentresWithAtoms(const Atoms& atoms, std::vector<Vec3> centres, const std::vector<Vec3>& positions) {
  for (size_t a = 0; a < positions.size(); ++a) centres[static_cast<size_t>(atoms.centreOfAtom[a])] = positions[a];
  return centres;
}

bool CartesianOptimisation(const QmEngine& engine, const Deck& deck, const Atoms& atoms, Output& out) {
  const std::vector<Vec3> startCentres = CentrePositions(deck, {});
  const std::vector<Vec3> start = AtomPositions(atoms, startCentres);
  std::vector<int> frozenList;
  std::vector<bool> frozen(start.size(), false);
  for (size_t a = 0; a < start.size(); ++a) {
    if (deck.centres[static_cast<size_t>(atoms.centreOfAtom[a])].freezeCode == -1) {
      frozenList.push_back(static_cast<int>(a));
      frozen[a] = true;
    }
  }
  std::vector<QmConstraint> constraints;
  for (const DeckConstraint& dc : deck.constraints) {
    QmConstraint c;
    for (const int centre : dc.centres) c.atoms.push_back(atoms.atomOfCentre[static_cast<size_t>(centre)]);
    c.hasValue = dc.hasValue;
    c.value = dc.value;
    constraints.push_back(c);
  }
  QmOptimisation run;
  if (frozenList.size() == start.size()) {
    run.steps.push_back(start);
    run.stepEnergies.push_back(0);
    run.stepScfEnergies.push_back(0);
    run.converged = true;
  } else {
    run = engine.Optimise(System(deck, atoms, start), frozenList, constraints, deck.route.maxCycle);
  }
  for (size_t s = 0; s + 1 < run.steps.size(); ++s) {
    WriteGeometry(out, deck, atoms, CentresWithAtoms(atoms, startCentres, run.steps[s]));
    WriteEnergies(out, engine, run.stepScfEnergies[s], run.stepEnergies[s]);
  }
  const std::vector<Vec3>& final = run.steps.back();
  const std::vector<Vec3> finalCentres = CentresWithAtoms(atoms, startCentres, final);
  std::vector<Vec3> points;
  const QmPoint point = Compute(engine, deck, atoms, final, deck.route.popMK, points);
  WriteGeometry(out, deck, atoms, finalCentres);
  WriteEnergies(out, engine, point.scfEnergy, point.energy);
  WriteForces(out, atoms.atomicNumbers, point.gradient);
  double maxForce = 0, rmsForce = 0, maxStep = 0, rmsStep = 0;
  MaxAndRms(FreeForces(final, point.gradient, frozen, constraints), 3 * final.size(), maxForce, rmsForce);
  if (run.steps.size() >= 2) {
    const std::vector<Vec3>& before = run.steps[run.steps.size() - 2];
    std::vector<double> step;
    for (size_t a = 0; a < final.size(); ++a) {
      const Vec3 d = (1.0 / kBohrInAngstrom) * (final[a] - before[a]);
      step.insert(step.end(), {d.x, d.y, d.z});
    }
    MaxAndRms(step, step.size(), maxStep, rmsStep);
  }
  if (run.measures.size() == 4) {
    maxForce = run.measures[0];
    rmsForce = run.measures[1];
    maxStep = run.measures[2];
    rmsStep = run.measures[3];
  }
  WriteConvergence(out, maxForce, rmsForce, maxStep, rmsStep);
  if (run.converged) {
    out.Printf(" Optimization completed.\n    -- Stationary point found.\n");
  } else {
    out.Printf(" Optimization stopped.\n    -- Number of steps exceeded,  NStep=%4zu\n", run.steps.size());
  }
  std::vector<ParameterRow> rows;
  for (size_t k = 0; k < constraints.size(); ++k) {
    ParameterRow r;
    const auto& c = constraints[k].atoms;
    r.name = std::string(c.size() == 2 ? "R" : (c.size() == 3 ? "A" : "D")) + std::to_string(k + 1);
    r.definition = InternalName(deck.constraints[k].centres);
    r.value = InternalValue(final, c) * (c.size() == 2 ? 1.0 : 180.0 / kPi);
    r.frozen = true;
    rows.push_back(r);
  }
  WriteOptimizedParameters(out, rows);
  WriteGeometry(out, deck, atoms, finalCentres);
  WritePopulation(out, deck, atoms, final, point, points);
  return run.converged;
}

// ---- Z-matrix optimisation --------------------------------------------------

enum class VariableKind { Length, Angle, Dihedral };

VariableKind KindOf(const Deck& deck, const std::string& key) {
  const auto is = [&](const DeckValue& v) {
    std::string n = v.name;
    for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return v.isName && n == key;
  };
  for (const DeckCentre& c : deck.centres) {
    if (c.cartesian) continue;
    if (is(c.internal[1])) return VariableKind::Angle;
    if (is(c.internal[2])) return VariableKind::Dihedral;
  }
  return VariableKind::Length;
}

struct ZStep {
  std::map<std::string, double> variables;
  std::vector<Vec3> centres;
  QmPoint point;
};

bool ZMatrixOptimisation(const QmEngine& engine, const Deck& deck, const Atoms& atoms, Output& out) {
  if (!deck.constraints.empty()) throw DeckError("ModRedun constraints need Cartesian input");
  std::map<std::string, double> variables = StartVariables(deck);
  std::vector<ZStep> steps;
  const auto evaluate = [&](const std::map<std::string, double>& vars) -> const ZStep& {
    for (const ZStep& s : steps) {
      if (s.variables == vars) return s;
    }
    ZStep s;
    s.variables = vars;
    s.centres = CentrePositions(deck, vars);
    s.point = engine.SinglePoint(System(deck, atoms, AtomPositions(atoms, s.centres)), {});
    steps.push_back(std::move(s));
    return steps.back();
  };
  // dE/dv in hartree per Angstrom or per degree, from the Cartesian gradient
  // and the motion of the centres with the variable.
  const auto slope = [&](const ZStep& s, const std::string& key) {
    const double h = 1e-5;
    std::map<std::string, double> plus = s.variables, minus = s.variables;
    plus[key] += h;
    minus[key] -= h;
    const std::vector<Vec3> p = CentrePositions(deck, plus), m = CentrePositions(deck, minus);
    double d = 0;
    for (size_t a = 0; a < atoms.centreOfAtom.size(); ++a) {
      const size_t c = static_cast<size_t>(atoms.centreOfAtom[a]);
      d += Dot(s.point.gradient[a], (1.0 / (2 * h)) * (p[c] - m[c]));
    }
    return d / kBohrInAngstrom;
  };
  std::map<std::string, double> curvature;
  double energy = evaluate(variables).point.energy;
  for (int cycle = 0; cycle < 30 && !deck.variables.empty(); ++cycle) {
    const double before = energy;
    for (const auto& [key, value] : StartVariables(deck)) {
      const VariableKind kind = KindOf(deck, key);
      const bool length = kind == VariableKind::Length;
      const double lower = length ? 0.3 : (kind == VariableKind::Angle ? 0.5 : -1e6);
      const double upper = length ? 50.0 : (kind == VariableKind::Angle ? 179.5 : 1e6);
      const auto along = [&](double x) {
        std::map<std::string, double> vars = variables;
        vars[key] = x;
        const ZStep& s = evaluate(vars);
        return LinePoint{x, s.point.energy, slope(s, key)};
      };
      const LineMinimum m = MinimiseAlongLine(along, variables[key], length ? 0.1 : 5.0, lower, upper,
                                              length ? 5e-4 : 0.05, length ? 1e-5 : 1e-6, 40);
      variables[key] = m.best.x;
      energy = m.best.f;
      curvature[key] = m.curvature;
    }
    if (deck.variables.size() == 1 || std::abs(before - energy) < 1e-7) break;
  }
  const ZStep best = evaluate(variables);
  for (const ZStep& s : steps) {
    WriteGeometry(out, deck, atoms, s.centres);
    WriteEnergies(out, engine, s.point.scfEnergy, s.point.energy);
  }
  std::vector<Vec3> points;
  const std::vector<Vec3> final = AtomPositions(atoms, best.centres);
  const QmPoint point = deck.route.popMK ? Compute(engine, deck, atoms, final, true, points) : best.point;
  WriteGeometry(out, deck, atoms, best.centres);
  WriteEnergies(out, engine, point.scfEnergy, point.energy);
  WriteForces(out, atoms.atomicNumbers, point.gradient);
  std::vector<double> forces, displacements;
  std::vector<ParameterRow> rows;
  for (const auto& [name, start] : deck.variables) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool length = KindOf(deck, key) == VariableKind::Length;
    const double toInternal = length ? kBohrInAngstrom : 180.0 / kPi;  // per bohr or per radian
    const double g = slope(best, key);
    const double k = curvature[key];
    const double predicted = k > 0 ? std::abs(g / k) : 0.0;
    forces.push_back(g * toInternal);
    displacements.push_back(predicted / (length ? kBohrInAngstrom : 180.0 / kPi));
    rows.push_back({name, "", variables[key], -g * toInternal, false});
  }
  double maxForce = 0, rmsForce = 0, maxStep = 0, rmsStep = 0;
  MaxAndRms(forces, forces.size(), maxForce, rmsForce);
  MaxAndRms(displacements, displacements.size(), maxStep, rmsStep);
  WriteConvergence(out, maxForce, rmsForce, maxStep, rmsStep);
  out.Printf(" Optimization completed.\n    -- Stationary point found.\n");
  WriteOptimizedParameters(out, rows);
  WriteGeometry(out, deck, atoms, best.centres);
  WritePopulation(out, deck, atoms, final, point, points);
  return true;
}

bool SinglePoint(const QmEngine& engine, const Deck& deck, const Atoms& atoms, Output& out) {
  const std::vector<Vec3> centres = CentrePositions(deck, {});
  const std::vector<Vec3> positions = AtomPositions(atoms, centres);
  std::vector<Vec3> points;
  const QmPoint point = Compute(engine, deck, atoms, positions, deck.route.popMK, points);
  WriteGeometry(out, deck, atoms, centres);
  WriteEnergies(out, engine, point.scfEnergy, point.energy);
  WritePopulation(out, deck, atoms, positions, point, points);
  return true;
}

}  // namespace

bool RunCalculation(const Deck& deck, const QmEngine& engine, Output& out) {
  const Atoms atoms = DeckAtoms(deck);
  if (!deck.route.opt) return SinglePoint(engine, deck, atoms, out);
  if (deck.route.optZMatrix || deck.HasZMatrix()) return ZMatrixOptimisation(engine, deck, atoms, out);
  return CartesianOptimisation(engine, deck, atoms, out);
}
