// The objective of the bonded fit: one evaluation writes the trial
// parameters, lets CHARMM recompute every MM reference and returns the
// weighted deviation from the QM references, penalties and restraints.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "charmm.h"
#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "util.h"

namespace {

// The repeat check: true when some element of x differs from the previous
// computed vector by more than 1e-5 (in units of 1e-5, truncated).
bool Changed(Vec_I_DP& x, int n) {
  for (int i = 0; i < n; ++i)
    if (std::abs(static_cast<long long>((xPrev[i] - x[i]) * 100000.0)) > 1) return true;
  return false;
}

// Every MM reference with the trial parameters now in param.
void RecomputeMM() {
  param.write_param();
  if (charmmJobMemo.on) charmmJobMemo.Read(fpath + "/add_para.inp");
  RunCharmmJob(strCharmmPath + "/minimize.inp", fpath + "minimize.out", "", {fpath + "/emp.card"});
  mol1.CHARMM_PES_scan();
  if (OptInter.sDihe > 0) {
    for (auto& s : OptInter.SoftDiheMulti) mol1.MMMultiPesScan(s);
    if (TargetStr.nStr > 0) mol1.MMStructureOptimizatation(TargetStr);
  }
}

void PrintSummary(Real energy, Real valueSum, Real structure, Real restraintSum, Real total) {
  std::printf(" term                    total  weight  value\n");
  std::printf(" energy                %7.2f %7.2f %7.2f\n", energy * OptInter.sSP, OptInter.sSP, energy);
  std::printf(" equillibrium value    %7.2f\n", valueSum);
  std::printf(" structural properties %7.2f %7.2f %7.2f\n", structure * OptInter.sStr, OptInter.sStr, structure);
  std::printf(" restraints            %7.2f\n", restraintSum);
  std::printf(" sum                   %7.2f\n", total);
}

void PrintParameters(Vec_I_DP& x, int n, bool changed) {
  std::printf("param ====================================================\n\n");
  if (changed)
    for (int i = 0; i < n; ++i) std::printf("param: %i %5.5f %5.5f\n", i, ParamInit[i], x[i]);
  std::printf("param==================================================\n");
}

}  // namespace

Real rmsd_b(Vec_I_DP& x) {
  const int n = static_cast<int>(paramToOpt.param.size());
  if (x.size() != n)
    throw std::invalid_argument("the bonded objective was given " + inttostr(x.size()) + " values for " +
                                inttostr(n) + " free parameters");
  if (n > 0) CheckCapacity(static_cast<std::size_t>(n) - 1, kMaxBondedParams, "free parameters of the bonded fit");
  const bool changed = n > 0 && Changed(x, n);
  if (n > 0 && !changed) {
    std::printf("the same param!\n");
    for (int i = 0; i < n; ++i) std::printf("%i %18.8f %18.8f\n", i, xPrev[i], x[i]);
    return prevrmsd;
  }

  const TrialPenalties penalties = ApplyTrialParameters(x, param);
  if (penalties.softAngle) return *penalties.softAngle + prevrmsd;
  TieRelatedDihedrals(param);

  const int failedBefore = nFailedCharmmJobs;
  RecomputeMM();
  SumRestraints(param, paramInitial, restraints);
  std::cout << " step " << iCcycle << std::endl;

  Real scans = 0.0, valueSum = 0.0;
  ReportScanTerms(mol1, scans, valueSum);
  termRmsdHistory.Record(mol1);
  const Real multi = ReportMultiScans(OptInter.SoftDiheMulti);
  const Real targets = OptInter.sDihe > 0 ? ReportTargetStructures(TargetStr) : 0.0;
  const Real energy = scans + multi + targets;
  WriteAllResults(mol1);

  const Real structure = OptInter.DeformationBased ? rmsd_str() : 0.0;
  const Real restraintSum = restraints.Total();
  const Real total = energy * OptInter.sSP + penalties.angle + penalties.bond + valueSum +
                     structure * OptInter.sStr + restraintSum;
  PrintSummary(energy, valueSum, structure, restraintSum, total);
  AppendObjectiveHistory(iCcycle, {scans * OptInter.sSP, multi * OptInter.sSP, targets * OptInter.sSP, valueSum,
                                   structure * OptInter.sStr, restraintSum, penalties.angle + penalties.bond,
                                   total});

  if (changed)
    for (int i = 0; i < n; ++i) xPrev[i] = static_cast<float>(x[i]);
  PrintParameters(x, n, changed);

  if (OptInter.single > 0) {
    termRmsdHistory.Print();
    mol1.FitSD();
    // The evaluation is the result of the run: it is complete only when
    // every CHARMM job wrote its files.
    EndProcess(nFailedCharmmJobs == failedBefore ? 0 : 1);
  }

  prevrmsd = total;
  ++iCcycle;
  if (minx.empty() || total <= minFunc) {
    if (changed) minx.assign(x.begin(), x.begin() + n);
    minFunc = total;
  }
  return total;
}

Real func0(Real e) {
  Real sum = 0.0;
  for (std::size_t i = 0; i < r_1.size() && i < r_2.size(); ++i) sum += std::pow(r_1[i] - r_2[i] - e, 2);
  return std::sqrt(sum);
}

Real E0(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) EndProcess(1, "error in size\n");
  r_1 = a;
  r_2 = b;
  Real e = 0.0;
  NR::golden(-10.0, 2.0, 10.0, func0, 1e-09, e);
  return e;
}

Real targetFunc(const std::vector<double>& x, std::vector<double>& grad, void* /*data*/) {
  Vec_DP p(nPrt);
  for (int k = 0; k < nPrt; ++k) p[k] = x.at(static_cast<std::size_t>(k));
  const Real value = rmsd_b(p);
  if (static_cast<int>(grad.size()) < nPrt) grad.resize(static_cast<std::size_t>(nPrt));
  for (int k = 0; k < nPrt; ++k) {
    const Real v = p[k];
    const Real dp = v == 0.0 ? 0.001 : std::fabs(0.001 * v);
    p[k] = v + dp;
    const Real up = rmsd_b(p);
    p[k] = v - dp;
    const Real down = rmsd_b(p);
    p[k] = v;
    grad[k] = (up - down) * 0.5 / dp / 10.0;
    std::printf(" grad %i %15.10f\n", k, grad[k]);
  }
  return value;
}
