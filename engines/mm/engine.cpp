#include "engine.h"

#include <OpenMM.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "geometry.h"
#include "minimiser.h"

namespace mm {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kKJ = 4.184;        // kJ per kcal
constexpr double kNm = 0.1;          // nm per Angstrom
constexpr double kCoulomb = 332.0716;  // kcal Angstrom / (mol e^2)
constexpr double kRad = kPi / 180.0;
constexpr int kRestraintGroup = 7;
// OpenMM's 1/(4 pi eps0) in kJ nm/(mol e^2), from the CODATA 2018 values it uses.
constexpr double kOpenMMCoulomb =
    1.0 / (4 * kPi * (1e-6 * 8.8541878128e-12 / (1.602176634e-19 * 1.602176634e-19 * 6.02214076e23)));

// Harmonic torsion k * d^2 with d the periodic difference to theta0.
const char* kHarmonicTorsion =
    "k*d^2; d = min(a, 6.283185307179586-a); a = abs(theta-theta0)";
// The same for restraints, whose strength the global parameter kscale scales.
const char* kRestraintTorsion =
    "kscale*k*d^2; d = min(a, 6.283185307179586-a); a = abs(theta-theta0)";
// How far above its minimum the energy of a minimised structure may still
// be, as the quadratic model of the BFGS search estimates it (kcal/mol).
constexpr double kMinimumEnergyError = 1e-7;
// The BFGS search's first guess of the inverse curvature, A^2 mol/kcal: that
// of a bond angle's bending in Cartesian terms, some 100 kcal/mol/A^2.
constexpr double kStartInverseCurvature = 1e-2;
// Restraints stiffer than this are first applied at this strength.
constexpr double kSoftRestraint = 1.0e3;  // kcal/mol per A^2 or rad^2

std::vector<OpenMM::Vec3> ToNm(const Coords& c) {
  std::vector<OpenMM::Vec3> p;
  p.reserve(c.size());
  for (const auto& x : c) p.emplace_back(x[0] * kNm, x[1] * kNm, x[2] * kNm);
  return p;
}

Coords FromNm(const std::vector<OpenMM::Vec3>& p) {
  Coords c;
  c.reserve(p.size());
  for (const auto& x : p) c.push_back({x[0] / kNm, x[1] / kNm, x[2] / kNm});
  return c;
}

std::unique_ptr<OpenMM::CustomTorsionForce> HarmonicTorsionForce(const char* expression = kHarmonicTorsion) {
  auto f = std::make_unique<OpenMM::CustomTorsionForce>(expression);
  f->addPerTorsionParameter("k");
  f->addPerTorsionParameter("theta0");
  return f;
}

// Hands force f, in group g, to system s, which owns it from then on.
void Add(OpenMM::System& s, std::unique_ptr<OpenMM::Force> f, int g) {
  f->setForceGroup(g);
  s.addForce(f.release());
}

// Adds the cosine and harmonic terms of torsions to forces of group g.
void AddTorsions(OpenMM::System& s, const std::vector<TorsionTermSet>& sets, int g) {
  auto periodic = std::make_unique<OpenMM::PeriodicTorsionForce>();
  auto harmonic = HarmonicTorsionForce();
  for (const auto& t : sets)
    for (const auto& term : t.terms) {
      if (term.n > 0)
        periodic->addTorsion(t.a[0], t.a[1], t.a[2], t.a[3], term.n, term.delta * kRad, term.k * kKJ);
      else
        harmonic->addTorsion(t.a[0], t.a[1], t.a[2], t.a[3], {term.k * kKJ, term.delta * kRad});
    }
  Add(s, std::move(periodic), g);
  Add(s, std::move(harmonic), g);
}

std::unique_ptr<OpenMM::Context> NewContext(OpenMM::System& s, OpenMM::Integrator& integrator) {
  return std::make_unique<OpenMM::Context>(s, integrator, OpenMM::Platform::getPlatformByName("Reference"));
}

// The three restraint forces (distance, angle, dihedral; force group
// kRestraintGroup), one entry per restraint in order, parameters to be set.
void AddRestraintForces(OpenMM::System& s, const std::vector<Restraint>& restraints, OpenMM::CustomBondForce*& dist,
                        OpenMM::CustomAngleForce*& angle, OpenMM::CustomTorsionForce*& dihe) {
  auto d = std::make_unique<OpenMM::CustomBondForce>("kscale*k*(r-r0)^2");
  d->addGlobalParameter("kscale", 1.0);
  d->addPerBondParameter("k");
  d->addPerBondParameter("r0");
  auto a = std::make_unique<OpenMM::CustomAngleForce>("kscale*k*(theta-theta0)^2");
  a->addGlobalParameter("kscale", 1.0);
  a->addPerAngleParameter("k");
  a->addPerAngleParameter("theta0");
  auto t = HarmonicTorsionForce(kRestraintTorsion);
  t->addGlobalParameter("kscale", 1.0);
  for (const auto& r : restraints) {
    const auto& x = r.atoms;
    switch (x.size()) {
      case 2: d->addBond(x[0], x[1], {0.0, 0.0}); break;
      case 3: a->addAngle(x[0], x[1], x[2], {0.0, 0.0}); break;
      case 4: t->addTorsion(x[0], x[1], x[2], x[3], {0.0, 0.0}); break;
      default: throw std::invalid_argument("a restraint needs 2, 3 or 4 atoms");
    }
  }
  dist = d.get();
  angle = a.get();
  dihe = t.get();
  Add(s, std::move(d), kRestraintGroup);
  Add(s, std::move(a), kRestraintGroup);
  Add(s, std::move(t), kRestraintGroup);
}

// Force constants and targets of the restraints (targets of holdCurrent
// restraints from start), in the order the forces were built.
void SetRestraints(OpenMM::Context& ctx, OpenMM::CustomBondForce& dist, OpenMM::CustomAngleForce& angle,
                   OpenMM::CustomTorsionForce& dihe, const std::vector<Restraint>& restraints, const Coords& start) {
  int nd = 0, na = 0, nt = 0;
  for (const auto& r : restraints) {
    const double target = r.holdCurrent ? InternalCoordinate(start, r.atoms) : r.target;
    const auto& x = r.atoms;
    switch (x.size()) {
      case 2: dist.setBondParameters(nd++, x[0], x[1], {r.k * kKJ / (kNm * kNm), target * kNm}); break;
      case 3: angle.setAngleParameters(na++, x[0], x[1], x[2], {r.k * kKJ, target * kRad}); break;
      default: dihe.setTorsionParameters(nt++, x[0], x[1], x[2], x[3], {r.k * kKJ, WrapDeg(target) * kRad}); break;
    }
  }
  if (nd > 0) dist.updateParametersInContext(ctx);
  if (na > 0) angle.updateParametersInContext(ctx);
  if (nt > 0) dihe.updateParametersInContext(ctx);
}

// Coulomb (group 5) and Lennard-Jones (group 6) over all pairs without a
// cut-off: 1-2 and 1-3 pairs excluded, 1-4 and NBFIX pairs as exceptions
// with their own values. OpenMM's Coulomb constant differs from CHARMM's in
// the sixth digit, so charges are scaled to give CHARMM's.
void AddNonbonded(OpenMM::System& s, const Molecule& m) {
  const double chargeScale = std::sqrt(kCoulomb * kKJ * kNm / kOpenMMCoulomb);
  auto elec = std::make_unique<OpenMM::NonbondedForce>();
  auto vdw = std::make_unique<OpenMM::NonbondedForce>();
  for (auto* f : {elec.get(), vdw.get()}) {
    f->setNonbondedMethod(OpenMM::NonbondedForce::NoCutoff);
    f->setUseDispersionCorrection(false);
  }
  const double toSigma = 2.0 / std::pow(2.0, 1.0 / 6.0) * kNm;  // Rmin/2 -> sigma
  for (const auto& a : m.atoms) {
    elec->addParticle(a.charge * chargeScale, 1.0, 0.0);
    vdw->addParticle(0.0, a.lj.rminHalf * toSigma, a.lj.eps * kKJ);
  }
  const int n = m.natm();
  std::vector<std::vector<const PairTerm*>> pair(n, std::vector<const PairTerm*>(n, nullptr));
  for (const auto& p : m.pairs) pair[p.i][p.j] = &p;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      const PairTerm* p = pair[i][j];
      if (p == nullptr) {
        elec->addException(i, j, 0.0, 1.0, 0.0);
        vdw->addException(i, j, 0.0, 1.0, 0.0);
        continue;
      }
      if (p->is14) elec->addException(i, j, p->qq * chargeScale * chargeScale, 1.0, 0.0);
      if (p->is14 || p->nbfix)
        vdw->addException(i, j, 0.0, p->rmin / 2 * toSigma, p->eps * kKJ);
    }
  Add(s, std::move(elec), 5);
  Add(s, std::move(vdw), 6);
}

double RmsOfForces(const std::vector<OpenMM::Vec3>& f) {
  double sum = 0;
  for (const auto& v : f) sum += v.dot(v);
  return f.empty() ? 0.0 : std::sqrt(sum / (3.0 * f.size())) / (kKJ / kNm);
}

}  // namespace

std::unique_ptr<OpenMM::System> BuildSystem(const Molecule& m) {
  auto s = std::make_unique<OpenMM::System>();
  for (const auto& a : m.atoms) s->addParticle(a.mass);

  auto bonds = std::make_unique<OpenMM::HarmonicBondForce>();
  for (const auto& b : m.bonds) bonds->addBond(b.i, b.j, b.p.b0 * kNm, 2 * b.p.kb * kKJ / (kNm * kNm));
  Add(*s, std::move(bonds), 0);

  auto angles = std::make_unique<OpenMM::HarmonicAngleForce>();
  auto ub = std::make_unique<OpenMM::HarmonicBondForce>();
  for (const auto& a : m.angles) {
    angles->addAngle(a.i, a.j, a.k, a.p.theta0 * kRad, 2 * a.p.ktheta * kKJ);
    if (a.p.kub != 0) ub->addBond(a.i, a.k, a.p.s0 * kNm, 2 * a.p.kub * kKJ / (kNm * kNm));
  }
  Add(*s, std::move(angles), 1);
  Add(*s, std::move(ub), 2);

  AddTorsions(*s, m.dihedrals, 3);
  AddTorsions(*s, m.impropers, 4);

  AddNonbonded(*s, m);
  return s;
}

Engine::Engine(const Molecule& m) : minimizer(MinimizerFromEnvironment()), mol_(m), system_(BuildSystem(m)) {
  integrator_ = std::make_unique<OpenMM::VerletIntegrator>(0.001);
  context_ = NewContext(*system_, *integrator_);
}

Engine::~Engine() = default;

EnergyTerms Engine::Energies(const Coords& c) {
  context_->setPositions(ToNm(c));
  double e[7];
  for (int g = 0; g < 7; ++g)
    e[g] = context_->getState(OpenMM::State::Energy, false, 1 << g).getPotentialEnergy() / kKJ;
  return EnergyTerms{e[0], e[1], e[2], e[3], e[4], e[5], e[6]};
}

double Engine::GradientRms(const Coords& c) {
  context_->setPositions(ToNm(c));
  return RmsOfForces(context_->getState(OpenMM::State::Forces).getForces());
}

Engine::Restrained& Engine::RestrainedFor(const std::vector<Restraint>& restraints) {
  std::string key;
  for (const auto& r : restraints) {
    for (const int a : r.atoms) key += std::to_string(a) + ",";
    key += ";";
  }
  auto& slot = restrained_[key];
  if (!slot) {
    slot = std::make_unique<Restrained>();
    slot->system = BuildSystem(mol_);
    AddRestraintForces(*slot->system, restraints, slot->distances, slot->angles, slot->dihedrals);
    slot->integrator = std::make_unique<OpenMM::VerletIntegrator>(0.001);
    slot->context = NewContext(*slot->system, *slot->integrator);
  }
  return *slot;
}

MinimizerKind MinimizerFromEnvironment() {
  const char* v = std::getenv("QM2FF_MM_MINIMIZER");
  const std::string name = v ? v : "";
  if (name.empty() || name == "bfgs") return MinimizerKind::Bfgs;
  if (name == "openmm") return MinimizerKind::OpenMM;
  throw std::runtime_error("QM2FF_MM_MINIMIZER is '" + name + "': use bfgs (the default) or openmm");
}

Coords Engine::Minimize(const Coords& start, const std::vector<Restraint>& restraints, double tolerance) {
  if (static_cast<int>(start.size()) != mol_.natm()) throw std::invalid_argument("wrong number of atoms");
  Restrained& rs = RestrainedFor(restraints);
  OpenMM::Context* const ctx = rs.context.get();
  SetRestraints(*ctx, *rs.distances, *rs.angles, *rs.dihedrals, restraints, start);
  ctx->setParameter("kscale", 1.0);
  if (minimizer == MinimizerKind::Bfgs) return MinimizeBfgs(*ctx, start, tolerance);
  ctx->setPositions(ToNm(start));
  // Stiff restraints make the search slow from a start far from their
  // targets: reach the neighbourhood with softened restraints first.
  double kmax = 0;
  for (const auto& r : restraints) kmax = std::max(kmax, r.k);
  if (kmax > kSoftRestraint) {
    ctx->setParameter("kscale", kSoftRestraint / kmax);
    OpenMM::LocalEnergyMinimizer::minimize(*ctx, 0.1 * kKJ / kNm, 0);
    ctx->setParameter("kscale", 1.0);
  }
  const double tolKJ = tolerance * kKJ / kNm;
  // The L-BFGS search can stop early on rounding; start it again from where
  // it ended while that still helps.
  double rms = 0;
  for (int round = 0; round < 20; ++round) {
    OpenMM::LocalEnergyMinimizer::minimize(*ctx, tolKJ, 0);
    rms = RmsOfForces(ctx->getState(OpenMM::State::Forces).getForces());
    if (rms <= tolerance) break;
  }
  return FromNm(ctx->getState(OpenMM::State::Positions).getPositions());
}

Coords Engine::MinimizeBfgs(OpenMM::Context& ctx, const Coords& start, double tolerance) {
  std::vector<double> x;
  x.reserve(3 * start.size());
  for (const auto& a : start) x.insert(x.end(), a.begin(), a.end());
  std::vector<OpenMM::Vec3> nm(start.size());
  const Objective energy = [&](const std::vector<double>& v, std::vector<double>& g) {
    for (std::size_t i = 0; i < nm.size(); ++i) nm[i] = OpenMM::Vec3(v[3 * i], v[3 * i + 1], v[3 * i + 2]) * kNm;
    ctx.setPositions(nm);
    const OpenMM::State state = ctx.getState(OpenMM::State::Energy | OpenMM::State::Forces);
    const auto& f = state.getForces();
    for (std::size_t i = 0; i < f.size(); ++i)
      for (int k = 0; k < 3; ++k) g[3 * i + k] = -f[i][k] * kNm / kKJ;
    return state.getPotentialEnergy() / kKJ;
  };
  MinimiserSettings settings;
  settings.gradientRms = tolerance;
  settings.valueChange = kMinimumEnergyError;
  settings.startInverseCurvature = kStartInverseCurvature;
  const MinimiserResult r = MinimiseBfgs(energy, std::move(x), settings);
  Coords c(start.size());
  for (std::size_t i = 0; i < c.size(); ++i) c[i] = {r.x[3 * i], r.x[3 * i + 1], r.x[3 * i + 2]};
  return c;
}

}  // namespace mm
