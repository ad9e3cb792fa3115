#include "charge/water.h"

#include <algorithm>
#include <cstdio>

#include "charge/ChargeSettings.h"
#include "charge/probe_frame.h"
#include "charge/probe_qm.h"
#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "util.h"

WaterTIP3P::WaterTIP3P() {
  struct Site {
    const char* name;
    const char* type;
    Real q;
    int atmnum;
  };
  static constexpr Site kSites[] = {
      {"OH2", "OT", -0.834, 8}, {"H1", "HT", 0.417, 1}, {"H2", "HT", 0.417, 1}};
  natm = 3;
  atom.resize(3);
  xyz.assign(9, 0.0);
  for (int i = 0; i < 3; ++i) {
    CAtom& a = atom[i];
    a.name = kSites[i].name;
    a.type = kSites[i].type;
    a.q = kSites[i].q;
    a.atmnum = kSites[i].atmnum;
    a.resn = "TIP3";
    a.segid = "WAT";
    a.resid = 1;
    a.serial = i + 1;
  }
}

void WaterTIP3P::h2otrans(const CMolecule& s, Real dist) {
  const Vector3 v = atom[iWaterProbeAtom].rv - s.atom[aid1].rv;
  const Real d = v.norm();
  if (d < Const::Tiny || dist < Const::Tiny) {
    EndProcess(1, "$ err water-solute distance became too small\n");
  }
  trans(v * ((dist - d) / d));
}

namespace OptimizeCharge {

void SetUpWaters(const CMolecule& s) {
  for (std::size_t p = 0; p < OptCharge.size(); ++p) {
    const COptCharge::CProbeAtom& probe = OptCharge[p];
    const int a1 = probe.iatom.at(0);
    const ProbeFrameAtoms frame = FindProbeFrame(s, a1);
    const CMolecule::CAtom& atom1 = s.atom[a1];
    std::printf("atoms : %7s %7s %7s ", atom1.name.c_str(), s.atom[frame.a2].name.c_str(),
                s.atom[frame.a3].name.c_str());
    const bool positive = atom1.q > 0.0;
    const Real turn = positive ? 180.0 : 360.0;
    for (int m = 0; m < probe.nWaters; ++m) {
      WaterTIP3P& w = h2o.AddWater();
      w.h2oscale = 1.0;
      w.h2oangle = m * turn / probe.nWaters;
      w.atm1 = atom1.name;
      w.atm2 = s.atom[frame.a2].name;
      w.atm3 = s.atom[frame.a3].name;
      w.aid1 = a1;
      w.aid2 = frame.a2;
      w.aid3 = frame.a3;
      w.aid4 = frame.a4;
      w.iWaterProbeAtom = positive ? 0 : 1;
      w.iProbedGeometry = probe.iProbedGeometry;
      std::printf("[%7.3f] ", w.h2oangle);
    }
    std::printf("\n");
  }
}

void CreateWaters(CMolecule& s) {
  h2o.h2o.clear();
  for (int n = 1; n <= s.ngeom; ++n) mkdr(fpath + "/water" + inttostr(n));
  std::printf("$ creating waters\n");
  SetUpWaters(s);
  for (std::size_t i = 0; i < h2o.size(); ++i) h2o[i].read_nnbond();

  std::printf("$ computing ab-initio water interaction energies\n");
  std::vector<std::size_t> all(h2o.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  Gaussian::RunQMGroups(
      Gaussian::IndependentGroups(all),
      [&s](std::size_t i, std::vector<Gaussian::QMJob>& batch) {
        const WaterTIP3P& w = h2o[i];
        s.ActivateGeometry(w.iProbedGeometry);
        batch.push_back(
            WriteWaterProbeDeck(w, s, kProbeStartDistance, w.h2oangle, w.iWaterProbeAtom != 1));
      },
      [&s](std::size_t i) {
        WaterTIP3P& w = h2o[i];
        s.ActivateGeometry(w.iProbedGeometry);
        ReadWaterProbe(w, s, w.h2oangle, w.iWaterProbeAtom != 1);
      });
  if (!ParamOptCharges.QMWaterEnergyGiven && h2o.size() > 0)
    ParamOptCharges.QMWaterEnergy = QMWaterMonomerEnergy(Gaussian::options.QMTheory);
  for (std::size_t i = 0; i < h2o.size(); ++i) {
    WaterTIP3P& w = h2o[i];
    s.ActivateGeometry(w.iProbedGeometry);
    w.QMInterEner =
        (w.energy - s.energy - ParamOptCharges.QMWaterEnergy) * Const::_HARTREES_TO_KCALS_;
  }
}

}  // namespace OptimizeCharge
