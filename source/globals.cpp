// The process-wide objects, all defined here so that they are built in this
// order before main runs and destroyed in the reverse order at exit.
#include <string>

#include "charge/ChargeOpt.h"
#include "gaussian.h"
#include "mol.h"
#include "util.h"

CMolecule mol1;
COptCharge OptCharge;
std::string fpath;
std::string strCharmmPath;
CParamOptCharges ParamOptCharges;
namespace Gaussian {
GaussianJob options;
}
ClassTargetFunctionContributions targetFunctionContributions;
