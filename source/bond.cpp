// Bond perception from distances and the bonded structure (bonds, angles,
// dihedrals, pair lists) from the adjacency rows of the atoms.
#include "bond.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

#include "mol.h"

namespace {

// Atomic numbers 0 (lone pairs, dummies) to 100.
constexpr int kTableSize = 101;
using LengthTable = std::array<std::array<Real, kTableSize>, kTableSize>;

LengthTable MakeLengthTable() {
  LengthTable t;
  for (auto& row : t) row.fill(-1.0);
  enum { H = 1, C = 6, N = 7, O = 8, F = 9, P = 15, S = 16, Cl = 17, I = 53 };
  const auto set = [&t](int a, int b, Real d) { t[a][b] = t[b][a] = d; };
  set(H, H, 0.0);
  set(H, C, 1.2);
  set(H, N, 1.2);
  set(H, O, 1.2);
  set(H, F, 0.0);
  set(H, S, 1.4);
  set(H, Cl, 0.0);
  set(C, C, 1.65);
  set(C, N, 1.6);
  set(C, O, 1.55);
  set(C, F, 1.65);
  set(C, S, 2.0);
  set(C, Cl, 1.9);
  set(C, I, 2.2);
  set(N, N, 0.0);
  set(N, O, 1.4);
  set(N, P, 1.9);
  set(N, S, 1.9);
  set(O, O, 1.6);
  set(O, F, 0.0);
  set(O, P, 1.9);
  set(O, S, 1.8);
  set(F, F, 0.0);
  set(S, S, 2.2);
  return t;
}

// Bonded-neighbour flag, tolerant of rows not yet sized.
bool Bonded(const CMolecule& m, int i, int j) {
  const auto& row = m.atom[i].bond;
  return static_cast<std::size_t>(j) < row.size() && row[j] > 0;
}

int CountBonds(const CMolecule& m) {
  int n = 0;
  for (int i = 0; i < m.natm; ++i) {
    for (int j = i + 1; j < m.natm; ++j) n += Bonded(m, i, j) ? 1 : 0;
  }
  return n;
}

template <class Term>
bool Listed(const std::vector<Term>& terms, const std::vector<int>& aid) {
  return std::any_of(terms.begin(), terms.end(), [&aid](const Term& t) { return t.aid == aid; });
}

}  // namespace

Real mdist(int z1, int z2) {
  static const LengthTable table = MakeLengthTable();
  if (z1 < 0 || z2 < 0 || z1 >= kTableSize || z2 >= kTableSize) return -1.0;
  return table[z1][z2];
}

void CMolecule::bond_create() {
  std::printf("$ creating (additional) bonds\n");
  UpdateDistMatrix();
  for (int i = 0; i < natm; ++i) {
    auto& row = atom.at(i).bond;
    if (row.size() < static_cast<std::size_t>(natm)) row.resize(natm, 0);
  }
  const int before = CountBonds(*this);
  for (int i = 0; i < natm; ++i) {
    for (int j = i + 1; j < natm; ++j) {
      const Real m = mdist(atom[i].atmnum, atom[j].atmnum);
      if (m < 0.0) {
        std::printf("$ mdist was not defined for %i and %i; enter bonds in the topology manually\n",
                    atom[i].atmnum, atom[j].atmnum);
      } else if (m >= dij[static_cast<std::size_t>(i) * natm + j]) {
        atom[i].bond[j] = 1;
        atom[j].bond[i] = 1;
      }
    }
  }
  for (int i = 0; i < natm; ++i) {
    atom[i].ibond = static_cast<int>(
        std::count_if(atom[i].bond.begin(), atom[i].bond.end(), [](int b) { return b > 0; }));
  }
  const int total = CountBonds(*this);
  std::printf("$ total number of bonds : %i; additional bonds created : %i\n", total,
              total - before);
}

void CMolecule::GenerateStructure() {
  if (atom.size() < static_cast<std::size_t>(natm))
    throw std::out_of_range("fewer atoms than natm");
  for (int i = 0; i < natm; ++i) {
    for (int j = i + 1; j < natm; ++j) {
      if (Bonded(*this, i, j) && !Listed(bond, {i, j})) bond.emplace_back(i, j);
    }
  }
  for (int i = 0; i < natm; ++i) {
    for (int j = 0; j < natm; ++j) {
      if (j == i || !Bonded(*this, i, j)) continue;
      for (int k = i + 1; k < natm; ++k) {
        if (k == j || !Bonded(*this, j, k)) continue;
        if (!Listed(angle, {i, j, k})) angle.emplace_back(i, j, k);
      }
    }
  }
  for (int i = 0; i < natm; ++i) {
    for (int j = 0; j < natm; ++j) {
      if (j == i || !Bonded(*this, i, j)) continue;
      for (int k = 0; k < natm; ++k) {
        if (k == i || k == j || !Bonded(*this, j, k)) continue;
        for (int l = i + 1; l < natm; ++l) {
          if (l == j || l == k || !Bonded(*this, k, l)) continue;
          if (!Listed(dihedral, {i, j, k, l})) dihedral.emplace_back(i, j, k, l);
        }
      }
    }
  }

  pairlist14.clear();
  for (const auto& d : dihedral) {
    pairlist14.push_back(d.aid[0]);
    pairlist14.push_back(d.aid[3]);
  }
  n14inter = static_cast<int>(dihedral.size());

  // 1 for pairs that are neither bonded nor share a bonded neighbour.
  nbondlist.assign(static_cast<std::size_t>(natm) * natm, 0);
  for (int i = 0; i < natm; ++i) {
    for (int j = 0; j < natm; ++j) {
      if (i == j || Bonded(*this, i, j)) continue;
      bool shared = false;
      for (int k = 0; k < natm && !shared; ++k) shared = Bonded(*this, i, k) && Bonded(*this, k, j);
      if (!shared) nbondlist[static_cast<std::size_t>(i) * natm + j] = 1;
    }
  }

  std::printf("$ summary of the structure : \n");
  std::printf("number of bonds  : %5i\n", static_cast<int>(bond.size()));
  std::printf("number of angles : %5i\n", static_cast<int>(angle.size()));
  std::printf("number of dihe   : %5i\n", static_cast<int>(dihedral.size()));
}
