// The trial parameters of one evaluation of the bonded objective: the trial
// vector written into the parameter table, with the penalties of the values
// that had to be brought into range, and the dihedral entries tied together.
#include <cmath>
#include <iostream>
#include <stdexcept>

#include "intra/BondOpt.h"

namespace {

// Equilibrium bond lengths further than this from ideal (A) are pulled back.
constexpr Real kBondLengthLimit = 0.4;
// Beyond this (A) a bond length is reported.
constexpr Real kBondLengthWarning = 0.3;
// Equilibrium angles further than this from ideal (degrees) cost more.
constexpr Real kAngleLimit = 10.0;

void BondForce(Param::Bonds& b, Real v, TrialPenalties& pen) {
  if (v <= 1.0) {
    b.force = 1.0;
    pen.bond += std::fabs(1.0 - v);
  } else {
    b.force = std::fabs(v);
  }
}

void BondLength(Param::Bonds& b, Real v, TrialPenalties& pen) {
  b.rmin = std::fabs(v);
  const Real d = std::fabs(v - b.ideal);
  if (d > kBondLengthLimit) {
    pen.bond += 100.0 * d;
    std::cout << "not ok " << v << std::endl;
    b.rmin = (v - b.ideal) / 10.0 + b.ideal;
  }
  const Real dev = std::fabs(b.rmin - b.ideal);
  if (dev > kBondLengthWarning) {
    std::cout << " val : " << prevrmsd << " " << (kBondLengthWarning - dev) * (kBondLengthWarning - dev) * 100.0 + prevrmsd
              << " " << b.ideal << " " << b.rmin << " " << v << std::endl;
  }
}

void AngleValue(Param::Angles& a, Real v, TrialPenalties& pen) {
  a.amin = std::fabs(v);
  if (v <= 0.1) {
    const Real dev = std::fabs(0.1 - v);
    pen.angle += dev;
    std::cout << "debug angle too small " << dev << " " << v << std::endl;
    a.amin = 0.1;
  } else if (std::fabs(v) > 180.0) {
    const Real dev = std::fabs(std::fabs(v) - 180.0);
    pen.angle += dev;
    std::cout << "debug angle too large " << dev << " " << v << std::endl;
    a.amin = 180.0;
  }
  const Real dev = std::fabs(a.amin - a.ideal);
  pen.angle += dev > kAngleLimit ? std::fabs(kAngleLimit - dev) + 1.0 : dev / kAngleLimit;
}

[[noreturn]] void UnknownKind(const CParamToOpt& e) {
  throw std::invalid_argument(std::string("unknown kind of free parameter: term '") + e.typeTerm +
                              "', parameter '" + e.typeParam + "'");
}

}  // namespace

TrialPenalties ApplyTrialParameters(Vec_I_DP& x, Param& p) {
  TrialPenalties pen;
  const auto& entries = paramToOpt.param;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CParamToOpt& e = entries[i];
    const Real v = x[static_cast<int>(i)];
    const auto ip = static_cast<std::size_t>(e.ip);
    switch (e.typeTerm) {
      case 'b': {
        Param::Bonds& b = p.bond.at(ip);
        if (e.typeParam == 'f')
          BondForce(b, v, pen);
        else if (e.typeParam == 'b')
          BondLength(b, v, pen);
        else
          UnknownKind(e);
        break;
      }
      case 'a': {
        Param::Angles& a = p.angle.at(ip);
        switch (e.typeParam) {
          case 'f':
            if (v <= 1.0) {
              std::cout << " debug angle force too small " << std::fabs(1.0 - v) << " " << v << std::endl;
              pen.softAngle = std::fabs(1.0 - v);
              return pen;
            }
            a.force = std::fabs(v);
            break;
          case 'a':
            AngleValue(a, v, pen);
            break;
          case 'k':
            if (v <= 0.0) pen.angle += 10.0 * v * v;
            a.kub = std::fabs(v);
            break;
          case 's':
            if (v <= 0.1) pen.angle += 10.0 * (0.1 - v) * (0.1 - v);
            a.s0 = std::fabs(v);
            break;
          default:
            UnknownKind(e);
        }
        break;
      }
      case 'd':
        p.dihe.at(ip).force.at(static_cast<std::size_t>(e.imultiplicity)) = OptInter.dinvert ? v : std::fabs(v);
        break;
      case 'i':
        p.impr.at(ip).force = OptInter.dinvert ? v : std::fabs(v);
        break;
      default:
        UnknownKind(e);
    }
  }
  return pen;
}

void TieRelatedDihedrals(Param& p) {
  const auto n = static_cast<std::size_t>(p.ndihe);
  for (std::size_t i = 0; i < n && i < p.relDihe.size(); ++i) {
    const auto& row = p.relDihe[i];
    for (std::size_t j = i; j < n && j < row.size(); ++j) {
      if (row[j] != 1) continue;
      const Param::Dihes& from = p.dihe.at(i);
      Param::Dihes& to = p.dihe.at(j);
      for (int k = 0; k < from.ntms && k < kDiheTerms; ++k) {
        to.force[k] = from.force[k];
        to.angle[k] = from.angle[k];
      }
    }
  }
}
