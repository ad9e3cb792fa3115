#include "charge/ChargeSettings.h"

#include <cstdio>

void ClassTargetFunctionContributions::print() const {
  std::printf("water energy : %9.2f water dist : %9.2f ", interEnergy, interWaterDist);
  std::printf("dipole moment : %9.2f ", dipoleMoment);
  std::printf("esp fit : %9.2f ", fitESPpot);
  std::printf("charge restr : %9.2f ", chargeRest);
  std::printf("total : %9.2f \n", Total());
}
