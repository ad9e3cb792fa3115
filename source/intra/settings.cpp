#include "intra/settings.h"

ClassRestraints::ClassRestraints() { Init(); }

void ClassRestraints::Init() {
  bondValRest = angleValRest = angleUBValRest = 0.0;
  bondForce = angleForce = angleForceUB = diheForce = imprForce = 0.0;
}

Real ClassRestraints::Total() const {
  return wBond * bondValRest + wAngle * angleValRest + wUB * angleUBValRest +
         wBondForce * bondForce + wAngleForce * (angleForce + angleForceUB) +
         wDiheForce * diheForce + wImprForce * imprForce;
}
