// The one-dimensional MM scans of the bonded fit: every scan term of the
// molecule is scanned with the trial parameters in one CHARMM job.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "constants.h"
#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

constexpr Real kDegreesPerRadian = 180.0 / Const::PI;
// Dihedral and improper scans with more points than this (the soft-dihedral
// scans) keep their QM grid: it spans the whole turn.
constexpr int kMostPointsShifted = 29;

// The term's internal coordinate in m: Angstrom or degrees.
Real Coordinate(const CMolecule& m, const CMolecule::ClassPESScanBonded& t) {
  const auto& a = t.aid;
  switch (t.type) {
    case 'b':
      return m.dist(a.at(0), a.at(1));
    case 'a':
      return m.Angle(a.at(0), a.at(1), a.at(2)) * kDegreesPerRadian;
    case 'd':
    case 'i':
      return m.Dihe(a.at(0), a.at(1), a.at(2), a.at(3)) * kDegreesPerRadian;
    default:
      throw std::invalid_argument(std::string("scan term ") + t.name + " has the unknown type '" +
                                  t.type + "'");
  }
}

std::string TermListText(const std::vector<CMolecule::ClassPESScanBonded>& terms) {
  std::string text = "! number of pes scans\nset nterms " + inttostr(static_cast<int>(terms.size())) +
                     "\n! terms\n";
  for (std::size_t n = 0; n < terms.size(); ++n)
    text += "set term" + inttostr(static_cast<int>(n) + 1) + " " + terms[n].name + "\n";
  return text;
}

// The scan file of one term: its atoms, points and dihedral restraints.
std::string TermScanText(const CMolecule& m, const CMolecule::ClassPESScanBonded& t) {
  std::string text = "! atoms \n";
  for (std::size_t k = 0; k < t.aid.size(); ++k)
    text += "set A" + inttostr(static_cast<int>(k) + 1) + " " + m.AtomName(t.aid[k]) + "\n";
  text += "! number of pes points\nset NP " + inttostr(t.npt) + "\n";
  text += std::string("! term type\nset termtype ") + (t.type == 'i' ? 'd' : t.type) + "\n";
  text += "! term points\n";
  for (int k = 0; k < t.npt; ++k)
    text += "set va" + inttostr(k + 1) + " " + floattostr(t.charmmVal[k], 5) + "\n";
  for (const Constraint& c : t.cons) {
    if (c.type != 'd') continue;
    text += "CONS DIHE ";
    for (int k = 0; k < 4; ++k) text += "AAAA 1 " + m.AtomName(c.aid.at(k)) + " ";
    text += " FORCE 10000.0 MIN " + floattostr(c.val, 5) + " PERIod 0 WIDTH 0.0\n";
  }
  return text;
}

std::string ResultCard(const CMolecule::ClassPESScanBonded& t, int k) {
  return fpath + "/results/" + Lower(t.name) + "-" + inttostr(k) + ".card";
}

// surf.dat: npt lines per term, terms in order. Sample:
//   1.360214 2.841736 0.000000 14.553187
//   1.380011 1.524466 0.000000 9.671902
// (coordinate reached, MM energy, RMS deviation, RMS force). Reading stops at
// the first line that does not hold four numbers; earlier values are kept.
void ReadSurface(const std::string& path, std::vector<CMolecule::ClassPESScanBonded>& terms) {
  std::ifstream in(path);
  if (!in) {
    std::printf("%s can not be opened\n", path.c_str());
    return;
  }
  std::string line;
  for (auto& t : terms) {
    for (int k = 0; k < t.npt; ++k) {
      if (!std::getline(in, line)) line.clear();
      Real v[4];
      try {
        for (int f = 0; f < 4; ++f) v[f] = strfloat(tprint(line, f + 1));
      } catch (const std::exception&) {
        std::printf("erro in charmm data file \n");
        return;
      }
      t.charmmVal[k] = v[0];
      t.charmmEner[k] = v[1];
      t.charmmRMS[k] = v[2];
      t.charmmRMSForce[k] = v[3];
    }
  }
}

std::string ResultsText(const CMolecule::ClassPESScanBonded& t) {
  std::ostringstream out;
  for (int k = 0; k < t.npt; ++k) out << t.charmmVal[k] << " " << t.charmmEner[k] << "\n";
  return out.str();
}

}  // namespace

void CMolecule::AssignNewPoints() {
  // The MM minimum of the trial parameters; without it the shift uses the
  // structure moltmp holds.
  const std::string minimum = fpath + "/emp.card";
  if (IfFileExists(minimum)) {
    moltmp.ReadCoorCARD(minimum, 0, "main");
  } else {
    std::fflush(stdout);
    std::fprintf(stderr, "$ err unable to open file : %s\n", minimum.c_str());
  }
  for (auto& t : term) {
    Real shift = Coordinate(moltmp, t) - Coordinate(*this, t);
    // Two dihedrals are compared the short way round the circle: minima at
    // 179.9 and -179.9 degrees lie 0.2 degrees apart, not 359.8.
    if (t.type == 'd' || t.type == 'i') shift = std::remainder(shift, 360.0);
    const bool keepGrid = (t.type == 'd' || t.type == 'i') && t.npt > kMostPointsShifted;
    for (int k = 0; k < t.npt; ++k) t.charmmVal[k] = keepGrid ? t.val[k] : t.val[k] + shift;
  }
}

void CMolecule::CHARMM_PES_scan() {
  WriteTextFile(fpath + "/term.list", TermListText(term));
  AssignNewPoints();
  std::vector<std::string> results{fpath + "/surf.dat"};
  for (const auto& t : term) {
    WriteTextFile(fpath + t.name + ".inp", TermScanText(*this, t));
    for (int k = 0; k < t.npt; ++k) results.push_back(ResultCard(t, k));
  }
  RunCharmmJob(strCharmmPath + "/pes.inp", fpath + "/pes.out", "", results);
  ReadSurface(fpath + "/surf.dat", term);
  for (const auto& t : term)
    WriteTextFile(fpath + "/bond/" + Lower(t.name) + "/charmm.results.dat", ResultsText(t));
  for (auto& t : term) {
    if (static_cast<int>(t.EMPPESStructure.size()) < t.npt) t.EMPPESStructure.resize(t.npt);
    for (int k = 0; k < t.npt; ++k) {
      const std::string card = ResultCard(t, k);
      if (!IfFileExists(card)) {
        std::printf("$ wrong input in file : %s\n", card.c_str());
        continue;
      }
      ReadCoorCARD(card, 0, "comp");
      t.EMPPESStructure[k].CopyFromCompMolecule(*this);
    }
  }
}
