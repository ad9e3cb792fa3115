#include "charge/charge_support.h"

#include "io.h"
#include "support/gaussian_outputs.h"
#include "support/molecule.h"

namespace testing_support {

ChargeStateGuard::ChargeStateGuard() : saved_(ChargeGlobals()) {
  ParamOptCharges = CParamOptCharges();
  // The water's QM energy given, as a section with qmwaterenergy does: the
  // job that computes it runs in the example's test.
  ParamOptCharges.QMWaterEnergy = -76.0105299706;
  ParamOptCharges.QMWaterEnergyGiven = true;
  OptCharge.AtomProbe.clear();
  h2o.h2o.clear();
  nbfix.clear();
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

void AddSecondGeometry(CMolecule& m) {
  m.ngeom = 2;
  m.xyz.resize(2 * 3 * static_cast<std::size_t>(m.natm));
  m.QMEnergy.resize(2);
  m.QMDipoleMoment.resize(2);
  m.CopyMainSetToGeometry(1);
}

CMolecule Formaldehyde() {
  CMolecule m = MakeMolecule(
      {{"C", 6, 0, 0, 0}, {"O", 8, 1.21, 0, 0}, {"H1", 1, -0.55, 0.94, 0}, {"H2", 1, -0.55, -0.94, 0}});
  for (const int i : {1, 2, 3}) Bond(m, 0, i);
  return m;
}

CMolecule Ion() {
  CMolecule m = MakeMolecule({{"X", 11, 0, 0, 0}});
  m.atom[0].eps = -0.1;
  m.atom[0].rmin = 2.0;
  m.netcharge = 1.0;
  return m;
}

WaterTIP3P& AddFacingWater(double qmEnergy, double qmDist, double scale, int geometry) {
  WaterTIP3P& w = h2o.AddWater();
  w.aid1 = 0;
  w.atm1 = "X";
  w.atm2 = "Y";
  w.iProbedGeometry = geometry;
  w.h2oangle = 10.0 * static_cast<double>(h2o.size());
  w.atom[0].xyz = {2.5, 0.0, 0.0};
  w.atom[1].xyz = {2.5, 1.0, 0.0};
  w.atom[2].xyz = {2.5, -1.0, 0.0};
  w.fill_rv();
  for (auto& a : w.atom) a.q = 0.0;
  w.atom[0].eps = -0.1;
  w.atom[0].rmin = 1.0;
  w.QMInterEner = qmEnergy;
  w.QMInterDist = qmDist;
  w.h2oscale = scale;
  return w;
}

std::string ProbeOutput(double rx, double energy, const std::vector<double>& centres,
                        bool errorTermination) {
  std::string rows;
  for (std::size_t i = 0; i < centres.size() / 3; ++i)
    rows += Format("%7d %10d %11d %15.6f %11.6f %11.6f\n", static_cast<int>(i) + 1, 1, 0, centres[3 * i],
                   centres[3 * i + 1], centres[3 * i + 2]);
  return " Entering Gaussian System\n" + OrientationTable("Z-Matrix", rows) + ScfDone(Format("%.9f", energy)) +
         Format(" ! RX            %.4f         -DE/DX =    0.0                 !\n", rx) +
         (errorTermination ? " Error termination via Lnk1e in l101.exe\n" : "") + kNormalTermination;
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
