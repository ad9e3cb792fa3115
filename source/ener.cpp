// The interatomic distance matrix, non-bonded energies and the dipole.
#include <cmath>
#include <stdexcept>

#include "errors.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"

void CMolecule::UpdateDistMatrix() {
  const auto n = static_cast<std::size_t>(natm);
  dij.assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const Real d = dist(static_cast<int>(i), static_cast<int>(j));
      if (d == 0.0) {
        EndProcess(1, "$ err distance between atoms is zero : " + atom[i].name + " and " +
                          atom[j].name + "\n");
      }
      dij[i * n + j] = dij[j * n + i] = d;
    }
  }
}

Real CMolecule::Energy(bool /*flag*/) {
  UpdateDistMatrix();
  return 0.0;
}

namespace {

// Lennard-Jones term eps * [(rmin/r)^12 - 2 (rmin/r)^6].
Real LennardJones(Real eps, Real rmin, Real r) {
  const Real s = std::pow(rmin / r, 6);
  return eps * s * (s - 2.0);
}

// The first NBFIX entry for the two types in either order; nullptr when none.
const CNBFIX* FindNbfix(const std::string& t1, const std::string& t2) {
  for (const auto& e : nbfix)
    if ((e.a1 == t1 && e.a2 == t2) || (e.a1 == t2 && e.a2 == t1)) return &e;
  return nullptr;
}

}  // namespace

Real CMolecule::inter_ener(const CMolecule& other) const {
  Real coulomb = 0.0, lj = 0.0;
  for (int i = 0; i < natm; ++i) {
    const auto& a = atom[i];
    for (int j = 0; j < other.natm; ++j) {
      const auto& b = other.atom[j];
      const Real r = a.rv.distance(b.rv);
      if (!(r > Const::Tiny))
        throw std::runtime_error(
            "err during interaction energy calc : distance between two molecules is zero!");
      coulomb += a.q * b.q / r;
      const CNBFIX* fix = FindNbfix(a.type, b.type);
      const Real eps = fix ? std::fabs(fix->eps) : std::sqrt(a.eps * b.eps);
      const Real rmin = fix ? fix->rmin : a.rmin + b.rmin;
      lj += LennardJones(eps, rmin, r);
    }
  }
  return Const::_ATOMIC_TO_KCALS_ * coulomb + lj;
}

Real CMolecule::EnergyIJ(const std::vector<int>& set1, const std::vector<int>& set2) const {
  const auto n = static_cast<std::size_t>(natm);
  if (set1.empty()) return 0.0;
  if (nbondlist.size() != n * n || dij.size() != n * n)
    throw std::logic_error("the pair lists and distances of the molecule are not set up");
  Real energy = 0.0;
  for (int a : set1) {
    for (int b : set2) {
      const std::size_t ab = static_cast<std::size_t>(a) * n + static_cast<std::size_t>(b);
      if (nbondlist.at(ab) <= 0) continue;
      const Real d = dij[ab];
      const auto& p = atom[a];
      const auto& q = atom[b];
      energy += Const::_ATOMIC_TO_KCALS_ * p.q * q.q / d;
      bool is14 = false;
      for (std::size_t k = 0; k + 1 < pairlist14.size() && !is14; k += 2)
        is14 = (pairlist14[k] == a && pairlist14[k + 1] == b) ||
               (pairlist14[k] == b && pairlist14[k + 1] == a);
      if (is14)
        energy += LennardJones(std::sqrt(p.eps14 * q.eps14), p.rmin14 + q.rmin14, d);
      else
        energy += LennardJones(std::sqrt(p.eps * q.eps), p.rmin + q.rmin, d);
    }
  }
  return energy;
}

Real CMolecule::diheEner(const std::vector<int>& aid) const {
  if (aid.size() != 4) throw std::invalid_argument("a dihedral needs four atoms");
  const DihedralClass* found = nullptr;
  for (const auto& d : dihedral) {
    const auto& x = d.aid;
    if ((x[0] == aid[0] && x[1] == aid[1] && x[2] == aid[2] && x[3] == aid[3]) ||
        (x[0] == aid[3] && x[1] == aid[2] && x[2] == aid[1] && x[3] == aid[0]))
      found = &d;
  }
  if (found == nullptr) return 0.0;
  if (found->fid < 0 || found->fid >= param.ndihe)
    throw std::logic_error("the dihedral is not linked to an entry of the parameter table");
  const auto& entry = param.dihe[found->fid];
  const Real phi = Dihe(found->aid[0], found->aid[1], found->aid[2], found->aid[3]);
  Real energy = 0.0;
  for (int n = 1; n <= entry.ntms && n <= kDiheTerms; ++n) {
    if (entry.NonZero[n - 1] <= 0) continue;
    energy +=
        entry.force[n - 1] * (1.0 + std::cos(n * phi - entry.angle[n - 1] * Const::PI / 180.0));
  }
  return energy;
}

Real CMolecule::Q() const {
  Real total = 0.0;
  for (const auto& a : atom) total += a.q;
  return total;
}

void CMolecule::Dipole() {
  Vector3 sum;
  for (int i = 0; i < natm; ++i) {
    const auto& a = atom[i];
    sum = sum + Vector3(a.q * a.xyz[0], a.q * a.xyz[1], a.q * a.xyz[2]);
  }
  FFDipole = sum * Const::UNITS_ATOMIC_TO_DEBYE;
}
