#include "molecule.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "text.h"

namespace mm {

int Molecule::Index(const std::string& name) const {
  const std::string n = ToUpper(name);
  for (int i = 0; i < natm(); ++i)
    if (atoms[i].name == n) return i;
  return -1;
}

int Molecule::IndexOrThrow(const std::string& name) const {
  const int i = Index(name);
  if (i < 0) throw std::runtime_error("atom " + name + " is not in residue " + residue);
  return i;
}

namespace {

std::string Describe(const Molecule& m, const std::vector<int>& idx) {
  std::string names, types;
  for (int i : idx) {
    names += (names.empty() ? "" : " ") + m.atoms[i].name;
    types += (types.empty() ? "" : " ") + m.atoms[i].type;
  }
  return names + " (types " + types + ")";
}

std::vector<std::string> TypesOf(const Molecule& m, const std::vector<int>& idx) {
  std::vector<std::string> t;
  for (int i : idx) t.push_back(m.atoms[i].type);
  return t;
}

std::vector<std::string> Reversed(std::vector<std::string> v) {
  std::reverse(v.begin(), v.end());
  return v;
}

// Looks a key up in the given order or reversed.
template <class Map>
const typename Map::mapped_type* Find(const Map& table, const std::vector<std::string>& types) {
  auto it = table.find(Key(types));
  if (it == table.end()) it = table.find(Key(Reversed(types)));
  return it == table.end() ? nullptr : &it->second;
}

const std::vector<TorsionTerm>* FindDihedral(const ParameterSet& set,
                                             const std::vector<std::string>& t) {
  if (auto p = Find(set.dihedrals, t)) return p;
  return Find(set.dihedrals, {"X", t[1], t[2], "X"});
}

// Exact types first, then the wildcard forms A X X D, X B C D and X X C D.
const std::vector<TorsionTerm>* FindImproper(const ParameterSet& set,
                                             const std::vector<std::string>& t) {
  if (auto p = Find(set.impropers, t)) return p;
  if (auto p = Find(set.impropers, {t[0], "X", "X", t[3]})) return p;
  if (auto p = Find(set.impropers, {"X", t[1], t[2], t[3]})) return p;
  return Find(set.impropers, {"X", "X", t[2], t[3]});
}

[[noreturn]] void Missing(const Molecule& m, const char* kind, const std::vector<int>& idx) {
  throw std::runtime_error(std::string("no ") + kind + " parameters for atoms " + Describe(m, idx));
}

}  // namespace

Molecule BuildMolecule(const Residue& r, const std::map<std::string, double>& masses,
                       const ParameterSet& set) {
  Molecule m;
  m.residue = r.name;
  for (const auto& a : r.atoms) {
    Atom atom{a.name, a.type, a.charge, 0, {}};
    // Masses from the MASS lines of the topology files, else of the parameter files.
    if (const auto t = masses.find(a.type); t != masses.end())
      atom.mass = t->second;
    else if (const auto pm = set.masses.find(a.type); pm != set.masses.end())
      atom.mass = pm->second;
    else
      throw std::runtime_error("no mass for atom " + a.name + " (type " + a.type + ")");
    if (!(atom.mass > 0))
      throw std::runtime_error("atom " + a.name + " (type " + a.type + ") has no positive mass");
    const auto lj = set.lj.find(a.type);
    if (lj == set.lj.end())
      throw std::runtime_error("no nonbonded parameters for atom " + a.name + " (type " + a.type + ")");
    atom.lj = lj->second;
    m.atoms.push_back(atom);
  }
  const int n = m.natm();
  if (n == 0) throw std::runtime_error("residue " + r.name + " has no atoms");

  // Connectivity.
  std::vector<std::set<int>> nb(n);
  for (const auto& [a, b] : r.bonds) {
    const int i = m.IndexOrThrow(a), j = m.IndexOrThrow(b);
    if (i == j) throw std::runtime_error("atom " + a + " bonded to itself");
    if (nb[i].count(j)) continue;
    nb[i].insert(j);
    nb[j].insert(i);
    const auto* p = Find(set.bonds, TypesOf(m, {i, j}));
    if (!p) Missing(m, "bond", {i, j});
    m.bonds.push_back({i, j, *p});
  }
  for (int j = 0; j < n; ++j)
    for (int i : nb[j])
      for (int k : nb[j])
        if (i < k) {
          const auto* p = Find(set.angles, TypesOf(m, {i, j, k}));
          if (!p) Missing(m, "angle", {i, j, k});
          m.angles.push_back({i, j, k, *p});
        }
  for (const auto& bond : m.bonds) {
    const int j = std::min(bond.i, bond.j), k = std::max(bond.i, bond.j);
    for (int i : nb[j])
      for (int l : nb[k])
        if (i != k && l != j && i != l) {
          const auto* p = FindDihedral(set, TypesOf(m, {i, j, k, l}));
          if (!p) Missing(m, "dihedral", {i, j, k, l});
          m.dihedrals.push_back({{i, j, k, l}, *p});
        }
  }
  for (const auto& im : r.impropers) {
    const std::vector<int> idx = {m.IndexOrThrow(im[0]), m.IndexOrThrow(im[1]),
                                  m.IndexOrThrow(im[2]), m.IndexOrThrow(im[3])};
    const auto* p = FindImproper(set, TypesOf(m, idx));
    if (!p) Missing(m, "improper", idx);
    m.impropers.push_back({{idx[0], idx[1], idx[2], idx[3]}, *p});
  }

  // Non-bonded pairs: 1-2 and 1-3 excluded, 1-4 with the 1-4 values.
  std::vector<std::vector<int>> sep(n, std::vector<int>(n, 99));
  for (int i = 0; i < n; ++i) {
    sep[i][i] = 0;
    for (int j : nb[i]) {
      sep[i][j] = std::min(sep[i][j], 1);
      for (int k : nb[j]) {
        if (k != i) sep[i][k] = std::min(sep[i][k], 2);
        for (int l : nb[k])
          if (l != j && l != i) sep[i][l] = std::min(sep[i][l], 3);
      }
    }
  }
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      if (sep[i][j] <= 2) continue;
      const bool is14 = sep[i][j] == 3;
      const Atom& a = m.atoms[i];
      const Atom& b = m.atoms[j];
      PairTerm pt{i, j, a.charge * b.charge, 0, 0, is14, false};
      if (const auto* fix = Find(set.nbfix, std::vector<std::string>{a.type, b.type})) {
        pt.nbfix = true;
        pt.eps = is14 ? fix->eps14 : fix->eps;
        pt.rmin = is14 ? fix->rmin14 : fix->rmin;
      } else if (is14) {
        pt.eps = std::sqrt(a.lj.eps14 * b.lj.eps14);
        pt.rmin = a.lj.rminHalf14 + b.lj.rminHalf14;
      } else {
        pt.eps = std::sqrt(a.lj.eps * b.lj.eps);
        pt.rmin = a.lj.rminHalf + b.lj.rminHalf;
      }
      m.pairs.push_back(pt);
    }
  return m;
}

}  // namespace mm
