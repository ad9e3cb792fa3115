// The molecule's parameter table (listing and filling from the general
// force field) and the Lennard-Jones lookup of every atom, for alkanes of
// 50 and 101 atoms (argument: number of carbons) against the reference CGenFF parameter file.
// Skipped when the reference files beside the project are absent. Bond perception prints its
// progress lines once per benchmark.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "mol.h"
#include "param.h"
#include "param/param.h"

namespace {

std::string ReferenceParamFile() {
  const auto file = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                    "shared" / "reference" / "toppar" / "par_all36_cgenff.prm";
  return std::filesystem::exists(file) ? file.string() : "";
}

// CnH2n+2 as a planar zigzag with tetrahedral hydrogens, CGenFF alkane types,
// bonds perceived and terms listed.
CMolecule Alkane(int n) {
  CMolecule m;
  const auto add = [&m](const std::string& name, const std::string& type, int z, double x, double y,
                        double zc) {
    CMolecule::CAtom a;
    a.name = name;
    a.type = type;
    a.atmnum = z;
    a.xyz = {x, y, zc};
    m.atom.push_back(a);
  };
  for (int i = 0; i < n; ++i) {
    const bool end = i == 0 || i == n - 1;
    const double x = 1.26 * i, y = (i % 2) * 0.89, s = (i % 2) ? 1.0 : -1.0;
    add("C" + std::to_string(i), end ? "CG331" : "CG321", 6, x, y, 0.0);
    add("HA" + std::to_string(i), end ? "HGA3" : "HGA2", 1, x, y + s * 0.63, 0.89);
    add("HB" + std::to_string(i), end ? "HGA3" : "HGA2", 1, x, y + s * 0.63, -0.89);
  }
  add("HE1", "HGA3", 1, -1.09, 0.0, 0.0);
  add("HE2", "HGA3", 1, 1.26 * (n - 1) + 1.09, ((n - 1) % 2) * 0.89, 0.0);
  m.natm = static_cast<int>(m.atom.size());
  for (auto& a : m.atom) a.bond.assign(m.atom.size(), 0);
  m.bond_create();
  m.GenerateStructure();
  return m;
}

void BM_CreateListParamAndInitialize(benchmark::State& state) {
  const std::string prm = ReferenceParamFile();
  if (prm.empty()) {
    state.SkipWithError("reference parameter file absent");
    return;
  }
  CMolecule m = Alkane(static_cast<int>(state.range(0)));
  Charmm charmm;
  charmm.AddNewParam(prm);
  for (auto _ : state) {
    Param p;
    m.CreateListParam(p);
    p.Initialize(charmm);
    benchmark::DoNotOptimize(p.bond[0].force);
  }
  state.counters["atoms"] = m.natm;
}
BENCHMARK(BM_CreateListParamAndInitialize)->Arg(16)->Arg(33)->Unit(benchmark::kMillisecond);

void BM_ReadNnbond(benchmark::State& state) {
  const std::string prm = ReferenceParamFile();
  if (prm.empty()) {
    state.SkipWithError("reference parameter file absent");
    return;
  }
  CMolecule m = Alkane(static_cast<int>(state.range(0)));
  CharmmTopPar = Charmm();
  CharmmTopPar.AddNewParam(prm);
  for (auto _ : state) {
    m.read_nnbond();
    benchmark::DoNotOptimize(m.atom[0].eps);
  }
  state.counters["atoms"] = m.natm;
}
BENCHMARK(BM_ReadNnbond)->Arg(16)->Arg(33)->Unit(benchmark::kMillisecond);

}  // namespace
