// How far the MM references of one evaluation are from the QM ones: the
// deviations of the one- and multi-dimensional scans and of the target
// structures, the lines that report them and bond/all.results.dat.
#include <cmath>
#include <cstdio>
#include <iostream>

#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "io.h"
#include "util.h"

namespace {

// Scan points whose QM energy is not below this (kcal/mol) are left out.
constexpr Real kEnergyCutoff = 10.0;
// Scans with at most this many points are the short scans of bonds, angles,
// rigid dihedrals and impropers, whose QM energies scaleFreq^2 scales.
constexpr int kMostPointsShortScan = 9;
// 1 / (R T) at 298 K, mol/kcal: the Boltzmann factor of the multi-dimensional
// scans.
constexpr Real kBeta = 1.6949152542372883;

bool Counted(const CMolecule::ClassPESScanBonded& t, int j) {
  return static_cast<std::size_t>(j) < t.energyQM.size() && t.energyQM[j] < kEnergyCutoff;
}

void ScanDeviations(CMolecule::ClassPESScanBonded& t) {
  const Real scale = t.npt <= kMostPointsShortScan ? OptInter.scaleFreq * OptInter.scaleFreq : 1.0;
  Real value = 0.0, energy = 0.0;
  int m = 0;
  for (int j = 0; j < t.npt; ++j) {
    if (!Counted(t, j)) continue;
    ++m;
    value += std::pow(t.val[j] - t.charmmVal[j], 2);
    energy += std::pow(scale * t.energyQM[j] - t.charmmEner[j], 2);
  }
  t.rmsdVal = m > 0 ? std::sqrt(value / m) : 0.0;
  t.rmsdEner = m > 0 ? std::sqrt(energy / m) : 0.0;
}

const char* Converged(const CMolecule::ClassPESScanBonded& t) {
  switch (t.type) {
    case 'b':
      return t.rmsdEner < 0.2 ? "Yes" : "No";
    case 'a':
    case 'd':
    case 'i':
      return t.rmsdEner < 0.3 ? "Yes" : "No";
    default:
      return "NO";
  }
}

// The CHARMM atom types of the term's atoms.
std::string TypesLabel(const CMolecule& m, const CMolecule::ClassPESScanBonded& t) {
  const auto type = [&](int k) { return m.AtomType(t.aid.at(k)); };
  std::string label = Format("%8s %8s ", type(0).c_str(), type(1).c_str());
  if (t.type == 'a') label += Format("%8s ", type(2).c_str());
  if (t.type == 'd' || t.type == 'i') label += Format("%8s %8s ", type(2).c_str(), type(3).c_str());
  return label;
}

}  // namespace

void ReportScanTerms(CMolecule& m, Real& energySum, Real& valueSum) {
  for (auto& t : m.term) {
    ScanDeviations(t);
    std::printf("term: %25s [ %35s ] npt: %4i scale: %3.2f rmsd_val: %9.3f rmsd_ener: %7.2f ener cov: %5s\n",
                t.name.c_str(), TypesLabel(m, t).c_str(), t.npt, t.scaleCoeff, t.rmsdVal, t.rmsdEner,
                Converged(t));
    energySum += t.scaleCoeff * t.rmsdEner / (t.type == 'b' ? 0.1 : t.type == 'a' ? 0.3 : 0.4);
    valueSum += t.scaleCoeff * t.rmsdVal / (t.type == 'b' ? 0.015 : t.name.rfind('a', 0) == 0 ? 1.5 : 5.0);
  }
}

Real ReportMultiScans(std::vector<CSoftDiheMulti>& scans) {
  Real sum = 0.0;
  for (auto& s : scans) {
    Real squares = 0.0, weights = 0.0;
    bool counted = false;
    for (std::size_t k = 0; k < s.Eqm.size() && k < s.Emm.size(); ++k) {
      const Real qm = s.Eqm[k], mm = s.Emm[k];
      if (qm >= kEnergyCutoff) continue;
      counted = true;
      const Real bqm = std::exp(-kBeta * qm), bmm = std::exp(-kBeta * mm);
      const Real mean = (mm * bmm + qm * bqm) / (bmm + bqm);
      const Real w = std::pow(1.2, -kBeta * mean);
      squares += w * (mm - qm) * (mm - qm);
      weights += w;
    }
    if (counted && weights > 0.0) s.rmsdVal = std::sqrt(squares / weights);
    std::printf("term: %40s npt: %4i rmsd_ener: %9.3f \n", s.termName.c_str(), static_cast<int>(s.point.size()),
                s.rmsdVal);
    sum += s.rmsdVal / 0.4;
  }
  return sum;
}

Real ReportTargetStructures(CTargetStructures& t) {
  const Real e0 = E0(t.Emm, t.Eqm);
  Real value = 0.0;
  if (t.nStr >= 1) {
    Real sum = 0.0;
    for (int i = 0; i < t.nStr; ++i) sum += std::pow(t.Emm.at(i) - t.Eqm.at(i) - e0, 2);
    value = 10.0 * std::sqrt(sum / t.nStr);
  }
  t.rmsdVal = value;
  std::cout << "due to addtional structures " << value << std::endl;
  return value;
}

void WriteAllResults(const CMolecule& m) {
  std::string text;
  for (const auto& t : m.term)
    for (int j = 0; j < t.npt; ++j)
      if (Counted(t, j)) text += Format("%.2f %.2f\n", t.energyQM[j], t.charmmEner[j]);
  WriteTextFile(fpath + "/bond/all.results.dat", text);
}
