// The restraints of the bonded objective: how far the fitted equilibrium
// values are from their ideal values and the force constants from their
// initial values.
#include <cmath>

#include "intra/BondOpt.h"

namespace {

// Root of the mean of a sum of squares over n entries; 0 for none.
Real RootMean(Real sum, int n) { return n > 0 ? std::sqrt(sum / n) : 0.0; }

Real Square(Real x) { return x * x; }

}  // namespace

void SumRestraints(const Param& p, const Param& initial, ClassRestraints& r) {
  r.Init();
  if (OptInter.sBond > 0) {
    Real length = 0.0, force = 0.0;
    int n = 0;
    for (int i = 0; i < p.nbonds; ++i) {
      const Param::Bonds& b = p.bond.at(i);
      if (b.fOpt == 0) continue;
      ++n;
      length += Square(b.rmin - b.ideal);
      force += Square(b.force - initial.bond.at(i).force);
    }
    r.bondValRest = RootMean(length, n);
    r.bondForce = RootMean(force, n);
  }
  if (OptInter.sAngle > 0) {
    Real angle = 0.0, force = 0.0, ub = 0.0;
    int n = 0;
    for (int i = 0; i < p.nangles; ++i) {
      const Param::Angles& a = p.angle.at(i);
      if (a.fOpt == 0) continue;
      ++n;
      angle += Square(a.amin - a.ideal);
      force += Square(a.force - initial.angle.at(i).force);
      if (a.ub) {
        ub += Square(a.s0 - a.idealUB);
        r.angleForceUB += Square(a.kub - initial.angle.at(i).kub);
      }
    }
    r.angleValRest = RootMean(angle, n);
    r.angleForce = RootMean(force, n);
    r.angleUBValRest = RootMean(ub, n);
  }
  if (OptInter.sDihe > 0) {
    Real force = 0.0;
    int n = 0;
    for (int i = 0; i < p.ndihe; ++i) {
      const Param::Dihes& d = p.dihe.at(i);
      if (d.fOpt == 0) continue;
      for (int k = 0; k < d.ntms && k < kDiheTerms; ++k) {
        if (!d.NonZero[k]) continue;
        ++n;
        force += Square(d.force[k] - initial.dihe.at(i).force[k]);
      }
    }
    r.diheForce = RootMean(force, n);
    for (int i = 0; i < p.nimpr; ++i)
      if (p.impr.at(i).fOpt != 0) r.imprForce += Square(p.impr.at(i).force - initial.impr.at(i).force);
  }
}
