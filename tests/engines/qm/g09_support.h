#pragma once

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "charge/probe_frame.h"
#include "charge/probe_qm.h"
#include "charge/water.h"
#include "engines/mm/mm_support.h"
#include "gaussian.h"
#include "io.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/run.h"

// Running the stand-in QM program on decks and reading what it answers.
namespace g09_testing {

using Point = mm_testing::P;
using mm_testing::AngleDeg;
using mm_testing::DiheDeg;
using mm_testing::Dist;

struct Atom {
  int atomicNumber;
  Point xyz;
};
using Bonds = std::vector<std::pair<int, int>>;  // 1-based atom numbers

// Small molecules in Angstrom: C1 O2 H3 H4 H5 H6(hydroxyl); C1 O2 H3 H4; N1 H2 H3 H4.
inline std::vector<Atom> Methanol() {
  return {{6, {-0.04652, 0.66312, 0.0}},     {8, {-0.04652, -0.75545, 0.0}},
          {1, {-1.08607, 0.97598, 0.0}},     {1, {0.43789, 1.07162, 0.88966}},
          {1, {0.43789, 1.07162, -0.88966}}, {1, {0.86126, -1.05490, 0.0}}};
}
inline Bonds MethanolBonds() { return {{1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 6}}; }
inline std::vector<Atom> Formaldehyde() {
  return {{6, {0.0, 0.0, -0.52}}, {8, {0.0, 0.0, 0.68}}, {1, {0.0, 0.94, -1.11}}, {1, {0.0, -0.94, -1.11}}};
}
inline std::vector<Atom> Ammonia() {
  return {{7, {0.0, 0.0, 0.11}}, {1, {0.0, 0.94, -0.26}}, {1, {0.81, -0.47, -0.26}}, {1, {-0.81, -0.47, -0.26}}};
}

// The atoms as a molecule of the system, atom k named "A<k>".
inline CMolecule ToMolecule(const std::vector<Atom>& atoms, const Bonds& bonds = {}) {
  std::vector<testing_support::AtomSpec> specs;
  for (const Atom& a : atoms)
    specs.push_back({"A" + std::to_string(specs.size() + 1), a.atomicNumber, a.xyz[0], a.xyz[1], a.xyz[2]});
  CMolecule m = testing_support::MakeMolecule(specs);
  for (const auto& [i, j] : bonds) {
    m.atom[i - 1].bond[j - 1] = m.atom[j - 1].bond[i - 1] = 1;
    ++m.atom[i - 1].ibond;
    ++m.atom[j - 1].ibond;
  }
  return m;
}

struct G09Run {
  int status = -1;
  std::string out;                    // the output text
  Gaussian::GaussianOutputData data;  // the output as the system reads it
  std::set<std::string> files;        // the files in the directory afterwards
};

// Writes deck into a fresh directory, runs "g09 < deck > output" there and
// reads the output with the system's reader.
inline G09Run RunG09(const std::string& deck) {
  testing_support::TempDir dir;
  dir.Write("job.inp", deck);
  G09Run r;
  r.status = testing_support::Run("sh -c 'g09 < job.inp > job.out'", dir.path()).status;
  r.out = dir.Read("job.out");
  Gaussian::ReadGaussianOutput((dir.path() / "job.out").string(), r.data);
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) r.files.insert(e.path().filename().string());
  return r;
}

// The last non-empty line of a text.
inline std::string LastLine(const std::string& text) {
  const size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  const size_t start = text.rfind('\n', end);
  const size_t from = start == std::string::npos ? 0 : start + 1;
  return text.substr(from, end - from + 1);
}

// Atom lines "%3d <code> %9.5f %9.5f %9.5f".
inline std::string AtomLines(const std::vector<Atom>& atoms, int freezeCode) {
  std::string text;
  for (const Atom& a : atoms)
    text += Format("%3d %d %9.5f %9.5f %9.5f\n", a.atomicNumber, freezeCode, a.xyz[0], a.xyz[1], a.xyz[2]);
  return text;
}

// The decks the system writes for a molecule (neutral singlet).
inline std::string SinglePointDeck(const std::vector<Atom>& atoms) {
  return "#HF/6-31G* Test NoSymm\n\nMolName: \n\n    0 1\n" + AtomLines(atoms, -1) + "\n\n";
}
inline std::string OptimisationDeck(const std::vector<Atom>& atoms, const std::string& constraintLines) {
  return "%NoSave\n#HF/6-31G* Opt=ModRedun \n\noptimization for geometry 0\n\n0 1\n" + AtomLines(atoms, 0) + "\n" +
         constraintLines + "\n\n";
}
inline std::string PopulationDeck(const std::vector<Atom>& atoms) {
  return "%NoSave\n#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)\n\nMK charges and electric potentials\n\n0 1\n" +
         AtomLines(atoms, -1) + "\n\n";
}
// The system's water-probe deck on atom `probed` (1-based) of the molecule.
inline std::string ProbeDeck(const std::vector<Atom>& atoms, const Bonds& bonds, int probed, bool positive, double rx,
                             double turn) {
  const CMolecule m = ToMolecule(atoms, bonds);
  const ProbeFrameAtoms frame = FindProbeFrame(m, probed - 1);
  WaterTIP3P w;
  w.aid1 = probed - 1;
  w.aid2 = frame.a2;
  w.aid3 = frame.a3;
  w.aid4 = frame.a4;
  w.atm1 = m.atom[probed - 1].name;
  return WaterProbeDeck(w, m, rx, turn, positive);
}

// Point i (0-based) of a flat x, y, z list.
inline Point At(const std::vector<double>& xyz, int i) {
  const size_t k = 3 * static_cast<size_t>(i);
  if (k + 2 >= xyz.size()) throw std::out_of_range("no such centre in the table");
  return {xyz[k], xyz[k + 1], xyz[k + 2]};
}

}  // namespace g09_testing
