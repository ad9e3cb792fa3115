#include "charge/charge_support.h"

#include "support/molecule.h"

namespace testing_support {

ChargeStateGuard::ChargeStateGuard() : saved_(ChargeGlobals()) {
  ParamOptCharges = CParamOptCharges();
  ParamOptCharges.QMWaterEnergy = -76.0105299706;
  ParamOptCharges.QMWaterEnergyGiven = true;
  OptCharge.AtomProbe.clear();
  h2o.h2o.clear();
  nbfix.clear();
}

void Bond(CMolecule& m, int i, int j) {
  m.atom[i].bond[j] = m.atom[j].bond[i] = 1;
  ++m.atom[i].ibond;
  ++m.atom[j].ibond;
}

CMolecule BondedMethanol() {
  CMolecule m = Methanol();
  for (const int h : {1, 2, 3, 4}) Bond(m, 0, h);
  Bond(m, 1, 5);
  const char* types[] = {"CG331", "OG311", "HGA3", "HGA3", "HGA3", "HGP1"};
  const double charges[] = {-0.04, -0.65, 0.09, 0.09, 0.09, 0.42};
  for (int i = 0; i < m.natm; ++i) m.atom[i].type = types[i], m.atom[i].q = charges[i];
  return m;
}

CMolecule Formaldehyde() {
  CMolecule m = MakeMolecule(
      {{"C", 6, 0, 0, 0}, {"O", 8, 1.21, 0, 0}, {"H1", 1, -0.55, 0.94, 0}, {"H2", 1, -0.55, -0.94, 0}});
  for (const int i : {1, 2, 3}) Bond(m, 0, i);
  return m;
}

}  // namespace testing_support
