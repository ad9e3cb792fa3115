// Powell's method on a 20-dimensional quadratic with coupled coordinates.
#include <benchmark/benchmark.h>

#include "numerical_recipes/nrutil_nr.h"

namespace {

constexpr int kDim = 20;
long evaluations = 0;

// sum_i (i + 1) (x_i - c_i)^2 + sum_i (x_i - c_i)(x_{i+1} - c_{i+1}) with c_i = i / 10.
double Quadratic(Vec_I_DP& x) {
  ++evaluations;
  double s = 0.0;
  for (int i = 0; i < kDim; ++i) {
    const double d = x[i] - 0.1 * i;
    s += (i + 1) * d * d;
    if (i + 1 < kDim) s += d * (x[i + 1] - 0.1 * (i + 1));
  }
  return s;
}

void BM_Powell20(benchmark::State& state) {
  int iter = 0;
  evaluations = 0;
  for (auto _ : state) {
    Vec_DP p(0.0, kDim);
    Mat_DP xi(0.0, kDim, kDim);
    for (int i = 0; i < kDim; ++i) xi[i][i] = 1.0;
    double fret = 0.0;
    NR::powell(p, xi, 1e-9, 10000, iter, fret, Quadratic);
    benchmark::DoNotOptimize(fret);
  }
  state.counters["sweeps"] = iter + 1;
  state.counters["evaluations"] =
      benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Powell20)->Unit(benchmark::kMillisecond);

}  // namespace
