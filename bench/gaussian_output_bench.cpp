// Reading Gaussian outputs: an optimisation of `atoms` centres over `steps`
// steps (orientation, forces, convergence per step) and a population
// analysis with many ESP fit points.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gaussian.h"
#include "io.h"

namespace {

std::string TempFile(const std::string& stem) {
  return (std::filesystem::temp_directory_path() /
          (stem + "-" + std::to_string(::getpid()) + ".out"))
      .string();
}

std::string Table(const std::string& head, int atoms) {
  std::string t = "                         " + head +
                  "\n ----\n Center Atomic Atomic Coordinates\n"
                  " Number Number Type X Y Z\n ----\n";
  for (int i = 0; i < atoms; ++i)
    t += Format("%7d %10d %11d %15.6f %11.6f %11.6f\n", i + 1, 6, 0, 0.1 * i, -0.2 * i, 0.3);
  return t + " ----\n";
}

std::string Optimisation(int atoms, int steps) {
  std::string text;
  for (int s = 0; s < steps; ++s) {
    text += Table("Input orientation:", atoms) + Table("Standard orientation:", atoms);
    text += Format(" SCF Done:  E(RB3LYP) =  %.9f     A.U. after   12 cycles\n", -382.0 - s * 1e-3);
    text +=
        " -------\n Center     Atomic                   Forces (Hartrees/Bohr)\n"
        " Number     Number              X              Y              Z\n -------\n";
    for (int i = 0; i < atoms; ++i)
      text += Format("%7d %8d %19.9f %14.9f %14.9f\n", i + 1, 6, 0.01, -0.02, 0.003);
    text += " -------\n         Item               Value     Threshold  Converged?\n";
    for (const char* item :
         {"Maximum Force", "RMS     Force", "Maximum Displacement", "RMS     Displacement"})
      text += Format(" %-24s 0.000036     0.000450     YES\n", item);
  }
  text += " Mulliken charges:\n               1\n";
  for (int i = 0; i < atoms; ++i) text += Format("%6d  C   %9.6f\n", i + 1, 0.01);
  return text + " Sum of Mulliken charges =   0.00000\n";
}

std::string Population(int points) {
  std::string text;
  for (int p = 0; p < points; ++p)
    text +=
        Format("      ESP Fit Center %4d is at %10.6f %10.6f %10.6f\n", p + 1, 0.01 * p, 1.0, 2.0);
  for (int p = 0; p < points; ++p) text += Format("%5d Fit %13.6f\n", p + 1, -0.01);
  return text;
}

void Read(benchmark::State& state, const std::string& text, const std::string& stem) {
  const std::string path = TempFile(stem);
  std::ofstream(path) << text;
  for (auto _ : state) {
    Gaussian::GaussianOutputData w;
    Gaussian::ReadGaussianOutput(path, w);
    benchmark::DoNotOptimize(w.prop.energy);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
  std::remove(path.c_str());
}

void BM_ReadOptimisation(benchmark::State& state) {
  Read(state, Optimisation(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
       "qm2ff-bench-opt");
}
BENCHMARK(BM_ReadOptimisation)->Args({20, 10})->Args({100, 30});

void BM_ReadPopulation(benchmark::State& state) {
  Read(state, Population(static_cast<int>(state.range(0))), "qm2ff-bench-pop");
}
BENCHMARK(BM_ReadPopulation)->Arg(1000)->Arg(20000);

}  // namespace
