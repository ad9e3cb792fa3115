// One full evaluation of the bonded objective rmsd_b for methanol with every
// family fitted (a bond, an angle and a soft dihedral of 37 points), a
// multi-dimensional scan of 3 points and 2 target structures, with the
// stand-in charmm: the whole evaluation, and its four CHARMM jobs alone
// (the system's own work is the difference).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bonded_methanol.h"
#include "charmm.h"
#include "intra/BondOpt.h"

namespace fs = std::filesystem;

namespace {

class Work {
 public:
  Work() : dir_(fs::temp_directory_path() / ("qm2ff-bench-bonded-" + std::to_string(getpid()))) {
    fs::create_directories(dir_);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (std::string(QM2FF_ENGINES_BIN) + ":" + path).c_str(), 1);
    // The evaluation prints its report; keep it out of the benchmark's output.
    std::fflush(stdout);
    saved_ = dup(1);
    std::freopen("/dev/null", "w", stdout);
    x_ = testing_support::PrepareBondedMethanol(dir_.string(), 37);
  }
  ~Work() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  Work(const Work&) = delete;
  Work& operator=(const Work&) = delete;

  double Evaluate() {
    xPrev[0] = -100.0;
    return rmsd_b(x_);
  }
  void CharmmJobs() const {
    const std::string d = fpath;
    const std::string multi = OptInter.SoftDiheMulti[0].termName;
    charmm(strCharmmPath + "/minimize.inp", d + "minimize.out", "");
    charmm(strCharmmPath + "/pes.inp", d + "pes.out", "");
    charmm(strCharmmPath + "/multi-pes.inp", d + multi + ".out", "termname:" + multi);
    charmm(strCharmmPath + "/target-str.inp", d + "target-str.out", "");
  }

 private:
  fs::path dir_;
  int saved_ = -1;
  Vec_DP x_;
};

void BM_MethanolEvaluation(benchmark::State& state) {
  Work w;
  for (auto _ : state) benchmark::DoNotOptimize(w.Evaluate());
}

void BM_MethanolEvaluationCharmmJobs(benchmark::State& state) {
  Work w;
  w.Evaluate();  // writes the files the jobs read
  for (auto _ : state) w.CharmmJobs();
}

}  // namespace

BENCHMARK(BM_MethanolEvaluation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MethanolEvaluationCharmmJobs)->Unit(benchmark::kMillisecond)->UseRealTime();
