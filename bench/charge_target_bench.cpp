// Evaluations per second of the charge objective: methanol with 12 water
// probes, and a 20-atom molecule with 40; each also with the ESP term on
// about 3300 fit points per atom, as a population analysis of 10 shells at
// 17 points per square Angstrom gives.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "charge/ChargeOpt.h"
#include "mol.h"

namespace {

// A molecule of n atoms on a zigzag chain with alternating charges, and
// `waters` probes spread over its atoms, above and below the chain.
void BuildSystem(int n, int waters) {
  mol1 = CMolecule();
  mol1.natm = n;
  mol1.atom.resize(n);
  mol1.xyz.assign(static_cast<std::size_t>(n) * 3, 0.0);
  for (int i = 0; i < n; ++i) {
    CMolecule::CAtom& a = mol1.atom[i];
    a.name = "A" + std::to_string(i);
    a.type = i % 3 == 0 ? "CG331" : (i % 3 == 1 ? "OG311" : "HGA3");
    a.xyz = {1.3 * i, 0.8 * (i % 2), 0.0};
    a.q = i % 2 == 0 ? -0.3 : 0.3;
    a.eps = -0.05 - 0.01 * (i % 3);
    a.rmin = 1.2 + 0.2 * (i % 3);
    a.qstart = a.q;
    a.qrel.assign(n, 0.0);
    a.qrel[i] = 1.0;
  }
  mol1.CopyMainSetToGeometry(0);
  mol1.ActivateGeometry(0);
  h2o.h2o.clear();
  for (int k = 0; k < waters; ++k) {
    const int a1 = k % n;
    const double side = (k / n) % 2 == 0 ? 1.0 : -1.0;
    WaterTIP3P& w = h2o.AddWater();
    w.aid1 = a1;
    w.iWaterProbeAtom = mol1.atom[a1].q > 0 ? 0 : 1;
    const auto& p = mol1.atom[a1].xyz;
    const int f = w.iWaterProbeAtom;
    for (int j = 0; j < 3; ++j) {
      const double dz = j == f ? 2.2 : 2.2 + 0.6;
      const double dx = j == f ? 0.0 : (j == 2 ? 0.75 : -0.75);
      w.atom[j].xyz = {p[0] + dx, p[1], p[2] + side * dz};
    }
    w.fill_rv();
    w.atom[0].eps = -0.1521;
    w.atom[0].rmin = 1.7682;
    w.atom[1].eps = w.atom[2].eps = -0.046;
    w.atom[1].rmin = w.atom[2].rmin = 0.2245;
    w.QMInterEner = -4.0;
    w.QMInterDist = 1.9;
  }
  ParamOptCharges = CParamOptCharges();
  ParamOptCharges.WeghtGeometry = {1.0};
}

// `perAtom` fit points on spheres of 2 to 3 A around every atom, with a QM
// potential (kcal/(mol e)) from charges other than the molecule's.
void AddEspPoints(int perAtom) {
  const int n = mol1.natm;
  std::vector<double> val, dist;
  for (int a = 0; a < n; ++a) {
    for (int k = 0; k < perAtom; ++k) {
      const double z = 1.0 - 2.0 * (k + 0.5) / perAtom, r = 2.0 + (k % 10) * 0.1;
      const double phi = 2.39996323 * k, s = std::sqrt(1.0 - z * z);
      const double p[3] = {mol1.atom[a].xyz[0] + r * s * std::cos(phi), mol1.atom[a].xyz[1] + r * s * std::sin(phi),
                           mol1.atom[a].xyz[2] + r * z};
      double v = 0.0;
      for (int b = 0; b < n; ++b) {
        const auto& x = mol1.atom[b].xyz;
        const double d = std::sqrt((p[0] - x[0]) * (p[0] - x[0]) + (p[1] - x[1]) * (p[1] - x[1]) +
                                   (p[2] - x[2]) * (p[2] - x[2]));
        dist.push_back(d);
        v += 332.0716 * 0.8 * mol1.atom[b].q / d;
      }
      val.push_back(v + 0.5);
    }
  }
  mol1.ESP.QMESPval = {val};
  mol1.ESP.distESPPoint = {dist};
  ParamOptCharges.WeightESPpot = 1.0;
}

void Evaluate(benchmark::State& state, int atoms, int waters, int espPointsPerAtom = 0) {
  BuildSystem(atoms, waters);
  if (espPointsPerAtom > 0) AddEspPoints(espPointsPerAtom);
  OptimizeCharge::PrepareTargetFunction(mol1);
  for (auto _ : state) {
    iStepOpt = 1;  // no progress lines
    benchmark::DoNotOptimize(OptimizeCharge::TargetFunction());
  }
  state.counters["evaluations/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}

void BM_TargetFunctionMethanol12Waters(benchmark::State& state) { Evaluate(state, 6, 12); }
void BM_TargetFunction20Atoms40Waters(benchmark::State& state) { Evaluate(state, 20, 40); }
void BM_TargetFunctionMethanol12WatersEsp(benchmark::State& state) { Evaluate(state, 6, 12, 3300); }
void BM_TargetFunction20Atoms40WatersEsp(benchmark::State& state) { Evaluate(state, 20, 40, 3300); }

BENCHMARK(BM_TargetFunctionMethanol12Waters);
BENCHMARK(BM_TargetFunction20Atoms40Waters);
BENCHMARK(BM_TargetFunctionMethanol12WatersEsp);
BENCHMARK(BM_TargetFunction20Atoms40WatersEsp);

}  // namespace
