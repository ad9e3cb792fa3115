#pragma once

#include <string>
#include <vector>

#include "constants.h"

// Weights, scalings, files and switches of the charge fit; filled by the
// `optcharge` section and kept between sections.
class CParamOptCharges {
 public:
  bool startFromQPOP = false;
  bool skipOpt = false;
  // QM energy of one TIP3P water at the probes' level, hartree; computed by
  // its own single-point job unless the section gives it.
  Real QMWaterEnergy = 0.0;
  bool QMWaterEnergyGiven = false;
  Real QMEnergyScaleNeutral = 1.16;
  Real QMEnergyScaleCharged = 1.0;
  Real QMDistShiftNeutral = 0.2;  // Angstrom
  Real QMDistShiftCharged = 0.1;  // Angstrom
  Real QMScaleDipole = 1.3;
  Real WeightWaterInterEner = 10.0;
  Real WeightWaterInterDist = 10.0;
  Real WeightDipoleMoment = 1.0;
  Real WeightESPpot = 0.0;
  Real WeightChargeRestraint = 100.0;
  bool useHyperbolicRestraint = false;
  Real bResp = 0.1;
  std::string chargeRelFile = "charge.rel";
  std::string chargeInitFile;
  std::vector<Real> WeghtGeometry;
  bool fRemovePositiveInter = true;
};

// The atoms whose interaction with water probes enters the charge fit.
class COptCharge {
 public:
  class CProbeAtom {
   public:
    std::vector<std::string> atom;  // upper-case atom names
    std::vector<int> iatom;         // their 0-based indices in the molecule
    int iProbedGeometry = 0;
    int nWaters = 0;
    Real angle = 0.0;
  };

  std::size_t size() const { return AtomProbe.size(); }
  CProbeAtom& operator[](std::size_t i) { return AtomProbe[i]; }
  const CProbeAtom& operator[](std::size_t i) const { return AtomProbe[i]; }
  // Appends a fresh probed atom and gives it to be filled.
  CProbeAtom& GetNextProbedAtom() { return AtomProbe.emplace_back(); }

  std::vector<CProbeAtom> AtomProbe;
};

// The weighted terms of the last evaluation of the charge objective.
class ClassTargetFunctionContributions {
 public:
  // Sum of the weighted terms: the objective.
  Real Total() const {
    return interEnergy + interWaterDist + dipoleMoment + fitESPpot + chargeRest;
  }
  // One progress line of the terms and their total, without a leading step.
  void print() const;

  Real interEnergy = 0.0;
  Real interWaterDist = 0.0;
  Real dipoleMagn = 0.0;
  Real dipoleDir = 0.0;
  Real dipoleMoment = 0.0;
  Real fitESPpot = 0.0;
  Real chargeRest = 0.0;
};

extern CParamOptCharges ParamOptCharges;
extern COptCharge OptCharge;
extern ClassTargetFunctionContributions targetFunctionContributions;
