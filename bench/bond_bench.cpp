// Bond perception and structure generation on straight-chain alkanes. The
// perception prints its progress lines; write the results to a file with
// --benchmark_out=FILE --benchmark_out_format=console.
#include <benchmark/benchmark.h>

#include <string>

#include "mol.h"

namespace {

// CnH2n+2 as a planar zigzag with tetrahedral hydrogens.
CMolecule Alkane(int n) {
  CMolecule m;
  const auto add = [&m](const std::string& name, int z, double x, double y, double zc) {
    CMolecule::CAtom a;
    a.name = name;
    a.atmnum = z;
    a.xyz = {x, y, zc};
    m.atom.push_back(a);
  };
  for (int i = 0; i < n; ++i) {
    const double x = 1.26 * i, y = (i % 2) * 0.89, s = (i % 2) ? 1.0 : -1.0;
    add("C" + std::to_string(i), 6, x, y, 0.0);
    add("HA" + std::to_string(i), 1, x, y + s * 0.63, 0.89);
    add("HB" + std::to_string(i), 1, x, y + s * 0.63, -0.89);
  }
  add("HE1", 1, -1.09, 0.0, 0.0);
  add("HE2", 1, 1.26 * (n - 1) + 1.09, ((n - 1) % 2) * 0.89, 0.0);
  m.natm = static_cast<int>(m.atom.size());
  return m;
}

void BM_PerceiveAlkane(benchmark::State& state) {
  const CMolecule start = Alkane(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CMolecule m = start;
    m.bond_create();
    m.GenerateStructure();
    benchmark::DoNotOptimize(m.dihedral.size());
  }
  state.SetLabel(std::to_string(start.natm) + " atoms");
}
BENCHMARK(BM_PerceiveAlkane)->Arg(4)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
