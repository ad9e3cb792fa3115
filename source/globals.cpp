// The process-wide objects, all defined here so that they are built in this
// order before main runs and destroyed in the reverse order at exit.
#include <string>
#include <vector>

#include "charge/ChargeOpt.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "mol.h"
#include "numerical_recipes/nrutil_nr.h"
#include "param.h"
#include "param/param.h"
#include "topology.h"
#include "util.h"

CMolecule mol1;
Charmm CharmmTopPar;
Param param;
Param paramInitial;
Chem chemtp;
COptInter OptInter;
COptCharge OptCharge;
ClassRestraints restraints;
CParamMultiDiheScan ParamMultiDiheScan;
std::string fpath;
std::string strCharmmPath;
CParamOptCharges ParamOptCharges;
namespace Gaussian {
GaussianJob options;
}
ClassTargetFunctionContributions targetFunctionContributions;
std::vector<CNBFIX> nbfix;
CBonds BondStruct;

// The line being searched by the running line minimisation (none at start).
namespace NR {
int ncom = 0;
const Vec_DP* pcom_p = nullptr;
const Vec_DP* xicom_p = nullptr;
VecFunction nrfunc = nullptr;
}  // namespace NR

// State of the charge fit: the water probes and the objective's counters.
CH2O h2o;
int iStepOpt = 0;
int itoopt = 0;

// State of the bonded fit: the stage's free parameters, the reference copies
// taken before fitting and the objective's memory of earlier evaluations.
int nPrt = 0;
CParamToOptArray paramToOpt;
Vec_DP ParamInit(0.0, 5000);
CMolecule moltmp;
int iCcycle = 0;
int NGlobalIterations = 1;
CTargetStructures TargetStr;
FixedArray<Real, kMaxBondedParams> xPrev;
Real prevrmsd = 0.0;
Real minFunc = 1e9;
std::vector<Real> minx;
std::vector<Real> r_1, r_2;
int nFailedCharmmJobs = 0;
CCharmmJobMemo charmmJobMemo;
CTermRmsdHistory termRmsdHistory;
