#include "charge/charge_support.h"

#include "intra/BondOpt.h"
#include "io.h"
#include "support/molecule.h"

namespace testing_support {

ChargeStateGuard::ChargeStateGuard()
    : mol1_(mol1),
      h2o_(h2o),
      optCharge_(OptCharge),
      param_(ParamOptCharges),
      contributions_(targetFunctionContributions),
      fpath_(fpath),
      options_(Gaussian::options),
      iStepOpt_(iStepOpt),
      itoopt_(itoopt),
      nbfix_(nbfix),
      charmm_(CharmmTopPar),
      bGsOut_(OptInter.bGsOut) {}

ChargeStateGuard::~ChargeStateGuard() {
  mol1 = mol1_;
  h2o = h2o_;
  OptCharge = optCharge_;
  ParamOptCharges = param_;
  targetFunctionContributions = contributions_;
  fpath = fpath_;
  Gaussian::options = options_;
  iStepOpt = iStepOpt_;
  itoopt = itoopt_;
  nbfix = nbfix_;
  CharmmTopPar = charmm_;
  OptInter.bGsOut = bGsOut_;
}

void Bond(CMolecule& m, int i, int j) {
  m.atom[i].bond[j] = 1;
  m.atom[j].bond[i] = 1;
  ++m.atom[i].ibond;
  ++m.atom[j].ibond;
}

CMolecule BondedMethanol() {
  CMolecule m = Methanol();
  for (const int h : {2, 3, 4}) Bond(m, 0, h);
  Bond(m, 0, 1);
  Bond(m, 1, 5);
  const char* types[] = {"CG331", "OG311", "HGA3", "HGA3", "HGA3", "HGP1"};
  const double charges[] = {-0.04, -0.65, 0.09, 0.09, 0.09, 0.42};
  for (int i = 0; i < m.natm; ++i) {
    m.atom[i].type = types[i];
    m.atom[i].q = charges[i];
  }
  return m;
}

std::string ProbeOutput(double rx, double energy, const std::vector<double>& centres,
                        bool errorTermination) {
  std::string t = " Entering Gaussian System\n";
  t += "                          Z-Matrix orientation:\n";
  t += " ---------------------------------------------------------------------\n";
  t += " Center     Atomic      Atomic             Coordinates (Angstroms)\n";
  t += " Number     Number       Type             X           Y           Z\n";
  t += " ---------------------------------------------------------------------\n";
  for (std::size_t i = 0; i < centres.size() / 3; ++i) {
    t += Format("%7d %10d %11d %15.6f %11.6f %11.6f\n", static_cast<int>(i) + 1, 1, 0,
                centres[3 * i], centres[3 * i + 1], centres[3 * i + 2]);
  }
  t += " ---------------------------------------------------------------------\n";
  t += Format(" SCF Done:  E(RHF) =  %.9f     A.U. after    9 cycles\n", energy);
  t += Format(" ! RX            %.4f         -DE/DX =    0.0                 !\n", rx);
  if (errorTermination) t += " Error termination via Lnk1e in l101.exe\n";
  t += " Normal termination of Gaussian 09\n";
  return t;
}

std::vector<double> ComplexCentres(const CMolecule& solute, int nWaterCentres) {
  std::vector<double> c;
  for (int i = 0; i < solute.natm; ++i) {
    c.insert(c.end(), solute.atom[i].xyz.begin(), solute.atom[i].xyz.end());
  }
  for (int k = 0; k < nWaterCentres; ++k) {
    c.insert(c.end(), {5.0 + k, 0.5 * k, -0.25 * k});
  }
  return c;
}

}  // namespace testing_support
