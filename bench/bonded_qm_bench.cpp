// Wall time of the QM references of the bonded fit for methanol, per kind of
// job, with the stand-in programs: the force constant of a bond and of an
// angle (one CHARMM pre-minimisation and one constrained QM optimisation
// each), a 7-point bond and angle scan, and the 37-point soft-dihedral scan.
//
// Two shared cores, lightly loaded (bonded_qm_bench, 2026-12-07):
//   force constant, bond C-O            0.19 s
//   force constant, angle C-O-H         0.14 s
//   7-point bond scan                   0.92 s (0.13 s a point)
//   7-point angle scan                  1.04 s (0.15 s a point)
//   37-point soft-dihedral scan         4.82 s (0.13 s a point)
// Each job is a CHARMM pre-minimisation and a constrained QM optimisation.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "charmm.h"
#include "intra/BondOpt.h"
#include "intra/ab_initio.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "util.h"

namespace fs = std::filesystem;

namespace {

// Standard output goes nowhere while the object lives (the program reports
// every job on it).
class Quiet {
 public:
  Quiet() : saved_(dup(1)) {
    std::fflush(stdout);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~Quiet() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }

 private:
  int saved_;
};

// Methanol optimised, its bond C-O, angle C-O-H and dihedral H-C-O-H to fit,
// the dihedral soft: terms 0 (bond), 1 (angle) and 2 (soft dihedral).
class Methanol {
 public:
  Methanol()
      : dir_(fs::temp_directory_path() / ("qm2ff-bonded-bench-" + std::to_string(getpid()))) {
    const fs::path src = QM2FF_SOURCE_DIR;
    fs::create_directories(dir_ / "charmm");
    for (const auto& e : fs::directory_iterator(src / "examples/methanol/charmm"))
      fs::copy(e.path(),
               dir_ / (e.path().extension() == ".inp" ? "charmm" : ".") / e.path().filename());
    for (const char* f :
         {"examples/methanol/methanol.xyz", "examples/toppar/top_methanol.rtf",
          "examples/toppar/par_methanol.prm", "tests/data/intra/methanol_partial.prm"})
      fs::copy(src / f, dir_);
    setenv("PATH", (std::string(QM2FF_ENGINES_BIN) + ":" + std::getenv("PATH")).c_str(), 1);
    setenv("SHELL", "/bin/sh", 1);
    fpath = dir_.string() + "/";
    strCharmmPath = "charmm";
    const Quiet quiet;
    CharmmTopPar.tops = {fpath + "top_methanol.rtf"};
    CharmmTopPar.params = {fpath + "methanol_partial.prm"};
    mol1.read_top(fpath + "top_methanol.rtf");
    mol1.GenerateStructure();
    mol1.ReadCoorXYZ(fpath + "methanol.xyz", 0, "main");
    mol1.QMOptCoordinates(0);
    mol1.CreateListParam(param);
    param.Initialize(CharmmTopPar);
    for (int e = 0; e < param.ndihe; ++e) param.dihe[e].force[1] = param.dihe[e].NonZero[1] = 1;
    param.write_param();
    OptInter.sBond = OptInter.sAngle = OptInter.sDihe = 1;
    CSoftDihe soft;
    soft.aid = {-1, mol1.AtomIndex("CB"), mol1.AtomIndex("OG"), -1};
    OptInter.SoftDihe = {soft};
    BuildScanTerms(mol1);
  }
  ~Methanol() { fs::remove_all(dir_); }
  // Removes the QM outputs of term t, so that its jobs run again.
  void Forget(int t) const {
    for (const auto& e : fs::directory_iterator(fpath + "bond/" + mol1.term.at(t).name))
      if (e.path().extension() == ".out") fs::remove(e.path());
  }

 private:
  fs::path dir_;
};

Methanol& Molecule() {
  static Methanol m;
  return m;
}

void ForceConstant(benchmark::State& state) {
  const int t = static_cast<int>(state.range(0));
  Methanol& m = Molecule();
  for (auto _ : state) {
    state.PauseTiming();
    m.Forget(t);
    {
      const Quiet quiet;
      BuildScanTerms(mol1);
    }
    state.ResumeTiming();
    const Quiet quiet;
    mol1.Force_Const(t);
  }
}

void Scan(benchmark::State& state) {
  const int t = static_cast<int>(state.range(0));
  Methanol& m = Molecule();
  for (auto _ : state) {
    state.PauseTiming();
    m.Forget(t);
    state.ResumeTiming();
    const Quiet quiet;
    mol1.QM_PES_scan(t);
  }
  state.counters["jobs"] = mol1.term.at(t).npt;
  state.counters["s_per_job"] = benchmark::Counter(
      static_cast<double>(mol1.term.at(t).npt),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

// Terms: 0 the bond C-O, 1 the angle C-O-H, 2 the soft dihedral H-C-O-H.
BENCHMARK(ForceConstant)
    ->ArgName("term")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(Scan)
    ->ArgName("term")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
