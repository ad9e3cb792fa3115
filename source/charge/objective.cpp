#include "charge/objective.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "charge/ChargeSettings.h"
#include "charge/esp_term.h"
#include "charge/relations.h"
#include "param.h"

namespace {

Real GeometryWeight(int g) {
  const auto& w = ParamOptCharges.WeghtGeometry;
  return static_cast<std::size_t>(g) < w.size() ? w[g] : 1.0;
}

bool WaterUsed(const WaterTIP3P& w) {
  return !(ParamOptCharges.fRemovePositiveInter && w.QMInterEner > OptimizeCharge::kRepulsiveWaterEnergy);
}

}  // namespace

namespace OptimizeCharge {

void PrepareWaterPairs(WaterTIP3P& w, const CMolecule& s) {
  const std::size_t n = static_cast<std::size_t>(s.natm) * 3;
  w.pairEps.assign(n, 0.0);
  w.pairRmin.assign(n, 0.0);
  for (int i = 0; i < s.natm; ++i) {
    const CMolecule::CAtom& a = s.atom[i];
    for (int j = 0; j < 3; ++j) {
      const CMolecule::CAtom& b = w.atom[j];
      const std::size_t k = static_cast<std::size_t>(i) * 3 + j;
      const CNBFIX* fix = nullptr;
      for (const CNBFIX& f : nbfix) {
        if ((f.a1 == a.type && f.a2 == b.type) || (f.a1 == b.type && f.a2 == a.type)) {
          fix = &f;
          break;
        }
      }
      if (fix != nullptr) {
        w.pairEps[k] = std::fabs(fix->eps);
        w.pairRmin[k] = fix->rmin;
      } else {
        w.pairEps[k] = std::sqrt(a.eps * b.eps);
        w.pairRmin[k] = a.rmin + b.rmin;
      }
    }
  }
}

void PrepareTargetFunction(CMolecule& s) {
  for (std::size_t i = 0; i < h2o.size(); ++i) PrepareWaterPairs(h2o[i], s);
  PrepareEspFit(s);
}

Real WaterEnergy(const WaterTIP3P& w, const CMolecule& s) {
  Real coulomb = 0.0, lj = 0.0;
  for (int i = 0; i < s.natm; ++i) {
    const CMolecule::CAtom& a = s.atom[i];
    for (int j = 0; j < 3; ++j) {
      const CMolecule::CAtom& b = w.atom[j];
      const Real r = a.rv.distance(b.rv);
      if (r <= Const::Tiny) {
        throw std::runtime_error(
            "err during interaction energy calc : distance between two molecules is zero!");
      }
      coulomb += a.q * b.q / r;
      const std::size_t k = static_cast<std::size_t>(i) * 3 + j;
      const Real x = w.pairRmin[k] / r;
      const Real x2 = x * x;
      const Real s6 = x2 * x2 * x2;
      lj += w.pairEps[k] * s6 * (s6 - 2.0);
    }
  }
  return Const::_ATOMIC_TO_KCALS_ * coulomb + lj;
}

Real WaterInterEnergy(Real x) {
  const Real d = x < kShortestWaterDistance ? kShortestWaterDistance : x;
  WaterTIP3P& w = h2o[itoopt];
  if (w.pairEps.size() != static_cast<std::size_t>(mol1.natm) * 3) PrepareWaterPairs(w, mol1);
  w.h2otrans(mol1, d);
  return WaterEnergy(w, mol1);
}

Real GetRMSESPfit(const CMolecule& system, int igeom) { return system.GetRMSESPfit(igeom); }

Real ChargeRestraint(const CMolecule& s) {
  const CParamOptCharges& p = ParamOptCharges;
  if (p.useHyperbolicRestraint) {
    // Hyperbolic restraint towards zero charge: sqrt(q^2 + b^2) - b per
    // restrained atom; quadratic for |q| << b, linear for |q| >> b.
    Real sum = 0.0;
    for (int i = 0; i < s.natm; ++i) {
      const CMolecule::CAtom& a = s.atom[i];
      if (a.qpenalty < kRestrainedPenalty) sum += std::sqrt(a.q * a.q + p.bResp * p.bResp) - p.bResp;
    }
    return sum;
  }
  Real r = 0.0, norm = 0.0;
  for (int i = 0; i < s.natm; ++i) {
    const CMolecule::CAtom& a = s.atom[i];
    if (a.qpenalty < kRestrainedPenalty) {
      const Real alpha = 1.0 / (a.qpenalty + 0.1);
      const Real dq = a.qstart - a.q;
      r += dq * dq * alpha;
      norm += alpha;
    } else {
      norm += 1.0;
    }
  }
  return norm > 0.0 ? std::sqrt(r / norm) : 0.0;
}

Real TargetFunction() {
  ClassTargetFunctionContributions& c = targetFunctionContributions;
  const CParamOptCharges& p = ParamOptCharges;
  c.interEnergy = c.interWaterDist = c.dipoleMoment = c.fitESPpot = c.chargeRest = 0.0;

  Real sumE = 0.0, sumD = 0.0, sumS = 0.0, sumW = 0.0;
  int nused = 0;
  for (int g = 0; g < mol1.ngeom; ++g) {
    sumW += GeometryWeight(g);
    mol1.ActivateGeometry(g);
    Real se = 0.0, sd = 0.0, ss = 0.0;
    for (std::size_t i = 0; i < h2o.size(); ++i) {
      WaterTIP3P& w = h2o[i];
      if (w.iProbedGeometry != g || !WaterUsed(w)) continue;
      itoopt = static_cast<int>(i);
      Real r = 0.0;
      const Real e = NR::golden(kWaterBracketLow, kWaterBracketMid, kWaterBracketHigh,
                                WaterInterEnergy, kWaterDistanceTol, r);
      const Real s = w.h2oscale;
      sd += s * (r - w.QMInterDist) * (r - w.QMInterDist);
      se += s * (e - w.QMInterEner) * (e - w.QMInterEner);
      ss += s;
      ++nused;
      w.empdst = r;
      w.empenr = e;
    }
    const Real wg = GeometryWeight(g);
    sumE += wg * se;
    sumD += wg * sd;
    sumS += wg * ss;
  }
  if (sumS != 0.0) {
    sumE /= sumS;
    sumD /= sumS;
  }
  if (nused > 0) {
    c.interEnergy = std::sqrt(sumE / nused);
    c.interWaterDist = std::sqrt(sumD / nused);
  }

  if (mol1.netcharge == 0.0) {
    Real sum = 0.0;
    for (int g = 0; g < mol1.ngeom; ++g) {
      mol1.ActivateGeometry(g);
      mol1.Dipole();
      const Vector3 diff = mol1.QMDipole * p.QMScaleDipole - mol1.FFDipole;
      sum += GeometryWeight(g) * diff.norm();
    }
    c.dipoleMoment = sumW != 0.0 ? sum / sumW : sum;
  }

  Real esp = 0.0;
  if (p.WeightESPpot != 0.0) {
    for (int g = 0; g < mol1.ngeom; ++g) esp += GeometryWeight(g) * GetRMSESPfit(mol1, g);
    if (sumW != 0.0) esp /= sumW;
  }

  c.interEnergy *= p.WeightWaterInterEner;
  c.interWaterDist *= p.WeightWaterInterDist;
  c.dipoleMoment *= p.WeightDipoleMoment;
  c.chargeRest = ChargeRestraint(mol1) * p.WeightChargeRestraint;
  c.fitESPpot = esp * p.WeightESPpot;
  const Real total = c.interEnergy + c.interWaterDist + c.dipoleMoment + c.fitESPpot + c.chargeRest;

  if (iStepOpt % 100 == 0) {
    std::printf("step %7d ", iStepOpt);
    c.print();
  }
  ++iStepOpt;
  return total;
}

Real OptimizedFunction(Vec_I_DP& x) {
  int v = 0;
  for (int i = 0; i < mol1.natm; ++i) {
    CMolecule::CAtom& a = mol1.atom[i];
    if (!IsIndependent(mol1, i)) continue;
    if (v >= x.size()) throw std::invalid_argument("fewer charges than independent atoms");
    a.q = x[v];
    const int n = std::min(mol1.natm, static_cast<int>(a.qrel.size()));
    for (int j = i + 1; j < n; ++j) {
      if (a.qrel[j] != 0.0) mol1.atom[j].q = a.qrel[j] * x[v];
    }
    ++v;
  }
  EqualizeCharge(mol1);
  return TargetFunction();
}

}  // namespace OptimizeCharge
