#include "charge/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "charge/ChargeSettings.h"
#include "charge/objective.h"
#include "charge/report_tables.h"
#include "charge/water.h"
#include "io.h"

namespace {

// MM optimum of one water for one charge set.
struct WaterResult {
  Real dist = 0.0;
  Real energy = 0.0;
};

std::vector<WaterResult> EvaluateWith(CMolecule& s, Real CMolecule::CAtom::*charge) {
  for (CMolecule::CAtom& a : s.atom) a.q = a.*charge;
  OptimizeCharge::TargetFunction();
  std::vector<WaterResult> r(h2o.size());
  for (std::size_t i = 0; i < h2o.size(); ++i) r[i] = {h2o[i].empdst, h2o[i].empenr};
  return r;
}

bool Reported(const WaterTIP3P& w) {
  return w.h2oscale > 0.0 &&
         !(ParamOptCharges.fRemovePositiveInter && w.QMInterEner > OptimizeCharge::kRepulsiveWaterEnergy);
}

// Root-mean-square and largest error of one quantity.
struct ErrorStats {
  Real sum2 = 0.0;
  Real max = 0.0;
  int n = 0;
  void Add(Real e) {
    sum2 += e * e;
    max = std::max(max, e);
    ++n;
  }
  Real Rms() const { return n > 0 ? std::sqrt(sum2 / n) : 0.0; }
};

// Over the waters of geometry g, or of all geometries when g is negative.
void PrintWaterStatistics(const std::string& heading, int g, const std::vector<WaterResult>& opt,
                          const std::vector<WaterResult>& init) {
  ErrorStats eo, ei, dO, di;
  for (std::size_t i = 0; i < h2o.size(); ++i) {
    const WaterTIP3P& w = h2o[i];
    if (!Reported(w) || (g >= 0 && w.iProbedGeometry != g)) continue;
    eo.Add(std::fabs(opt[i].energy - w.QMInterEner));
    ei.Add(std::fabs(init[i].energy - w.QMInterEner));
    dO.Add(std::fabs(opt[i].dist - w.QMInterDist));
    di.Add(std::fabs(init[i].dist - w.QMInterDist));
  }
  std::fputs(heading.c_str(), stdout);
  std::printf("                                & %s & %s \n", center("optimized", 9).c_str(),
              center("initial", 9).c_str());
  std::printf("energy rms error, kcal/mol      & %9.2f & %9.2f\n", eo.Rms(), ei.Rms());
  std::printf("energy maximum error, kcal/mol  & %9.2f & %9.2f\n", eo.max, ei.max);
  std::printf("distance rms error, Ang.        & %9.2f & %9.2f\n", dO.Rms(), di.Rms());
  std::printf("distance maximum error, Ang.    & %9.2f & %9.2f\n", dO.max, di.max);
  PrintSeparate();
}

void WriteWaters(const std::vector<WaterResult>& opt, const std::vector<WaterResult>& init) {
  std::vector<OptimizeCharge::WaterComparison> rows;
  for (std::size_t i = 0; i < h2o.size(); ++i) {
    const WaterTIP3P& w = h2o[i];
    if (!Reported(w)) continue;
    rows.push_back({w.iProbedGeometry + 1, w.atm1 + "-" + w.atm2, w.h2oangle, w.QMInterEner, init[i].energy,
                    opt[i].energy, w.QMInterDist, init[i].dist, opt[i].dist});
  }
  OptimizeCharge::WriteWaterTable(rows);
}

void PrintWaterTable(const std::vector<WaterResult>& opt, const std::vector<WaterResult>& init) {
  std::printf("$ Statistics of water interactions :\n");
  std::printf("     & geometry & probed      & interaction energy, kcal/mol & distance, Ang.    & water angle \n");
  std::printf("No   &          & site        &  qm      | optimized | inital    &  qm   |  opt  | init  & degree      \n");
  PrintSeparate();
  int number = 0;
  for (std::size_t i = 0; i < h2o.size(); ++i) {
    const WaterTIP3P& w = h2o[i];
    if (!Reported(w)) continue;
    std::printf(" %3i &  %6i  & %10s  &", ++number, w.iProbedGeometry + 1, (w.atm1 + "-" + w.atm2).c_str());
    std::printf("%9.2f | %9.2f | %9.2f & ", w.QMInterEner, opt[i].energy, init[i].energy);
    std::printf("%5.2f | %5.2f | %5.2f & ", w.QMInterDist, opt[i].dist, init[i].dist);
    std::printf("%7.1f\n", w.h2oangle);
  }
  PrintSeparate();
}

Real EspWith(CMolecule& s, Real CMolecule::CAtom::*charge, int g) {
  for (CMolecule::CAtom& a : s.atom) a.q = a.*charge;
  return OptimizeCharge::GetRMSESPfit(s, g);
}

void PrintEspStatistics(CMolecule& s) {
  std::printf("$ ESP statistics :\n");
  std::printf("                       & geometry & optimized Q & initial Q\n");
  Real sumOpt = 0.0, sumInit = 0.0;
  for (int g = 0; g < s.ngeom; ++g) {
    const Real opt = EspWith(s, &CMolecule::CAtom::qopt, g);
    const Real init = EspWith(s, &CMolecule::CAtom::qstart, g);
    sumOpt += opt;
    sumInit += init;
    std::printf("ESP rms, kcal/mol/e       & %4i & %9.3f & %9.3f\n", g + 1, opt, init);
  }
  const Real n = s.ngeom > 0 ? s.ngeom : 1;
  std::printf("ESP rms, kcal/mol/e       & aver & %9.3f & %9.3f\n", sumOpt / n, sumInit / n);
  PrintSeparate();
}

Vector3 DipoleWith(CMolecule& s, Real CMolecule::CAtom::*charge) {
  for (CMolecule::CAtom& a : s.atom) a.q = a.*charge;
  s.Dipole();
  return s.FFDipole;
}

void PrintDipoleStatistics(CMolecule& s) {
  const Real scale = ParamOptCharges.QMScaleDipole;
  std::vector<OptimizeCharge::DipoleComparison> table;
  for (int g = 0; g < s.ngeom; ++g) {
    std::printf("$ Dipole moment statistics for geometry : %i\n", g + 1);
    s.ActivateGeometry(g);
    const Vector3 init = DipoleWith(s, &CMolecule::CAtom::qstart);
    const Vector3 opt = DipoleWith(s, &CMolecule::CAtom::qopt);
    const Vector3 qm = s.QMDipole;
    std::printf("                                  & qm        & qm scaled & emp, optimized Q & emp, initial Q\n");
    std::printf("norm, Debye                       & %9.2f & %9.2f & %9.2f        & %9.2f \n", qm.norm(),
                qm.norm() * scale, opt.norm(), init.norm());
    std::printf("                                  & opt       & init\n");
    std::printf("angle, degree                     & %9.2f & %9.2f\n", OptimizeCharge::DipoleAngle(opt, qm),
                OptimizeCharge::DipoleAngle(init, qm));
    std::printf("\nComponents, qm / qm scaled / emp opt/ init\n");
    std::printf("x & %9.3f & %9.3f & %9.3f & %9.3f\n", qm.x, qm.x * scale, opt.x, init.x);
    std::printf("y & %9.3f & %9.3f & %9.3f & %9.3f\n", qm.y, qm.y * scale, opt.y, init.y);
    std::printf("z & %9.3f & %9.3f & %9.3f & %9.3f\n", qm.z, qm.z * scale, opt.z, init.z);
    PrintSeparate();
    table.push_back({g + 1, qm, Vector3(qm.x * scale, qm.y * scale, qm.z * scale), init, opt});
  }
  OptimizeCharge::WriteDipoleTable(table);
}

}  // namespace

namespace OptimizeCharge {

Real DipoleAngle(const Vector3& a, const Vector3& b) {
  const Real na = a.norm(), nb = b.norm();
  if (na == 0.0 || nb == 0.0) return 0.0;
  const Real c = (a * b) / (na * nb);
  if (c > 1.0) return 0.0;
  if (c < -1.0) return 180.0;
  return std::acos(c) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
}

void PrintChargeOptResults(CMolecule& s) {
  iStepOpt = 1;
  const std::vector<WaterResult> init = EvaluateWith(s, &CMolecule::CAtom::qstart);
  const std::vector<WaterResult> opt = EvaluateWith(s, &CMolecule::CAtom::qopt);
  PrintWaterTable(opt, init);
  WriteWaters(opt, init);
  for (int g = 0; g < s.ngeom; ++g) {
    PrintWaterStatistics(Format("$ water interactions statistics for geometry %i:\n", g + 1), g, opt,
                         init);
  }
  if (s.ngeom > 1) {
    PrintWaterStatistics("$ water interaction statistics for all geometries:\n", -1, opt, init);
  }
  PrintEspStatistics(s);
  PrintDipoleStatistics(s);
  for (CMolecule::CAtom& a : s.atom) a.q = a.qopt;
}

}  // namespace OptimizeCharge
