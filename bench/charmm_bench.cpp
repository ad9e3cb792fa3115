// Wall time of jobs of the stand-in MM program: one minimisation and one
// scan of 3 terms with 7 points each, for methanol (6 atoms) and 1-nonanol
// (30 atoms); and the scan job of the dihedral stage of the
// N-methylacetamide example with either minimiser.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Atom {
  std::string name;
  double x, y, z;
};

std::string ReadText(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << text;
}

std::string Pdb(const std::vector<Atom>& atoms, const std::string& resn) {
  std::string text;
  char buf[128];
  int serial = 1;
  for (const auto& a : atoms) {
    std::snprintf(buf, sizeof buf, "ATOM  %5d %-4s %-4s   1    %8.3f%8.3f%8.3f  1.00  0.00      AAAA\n", serial++,
                  a.name.c_str(), resn.c_str(), a.x, a.y, a.z);
    text += buf;
  }
  return text + "END\n";
}

// An all-trans 1-nonanol built from a zigzag chain C1 ... C9 O1.
std::vector<Atom> Nonanol() {
  std::vector<Atom> atoms;
  auto heavy = [](int i) {  // i = 0 .. 9 along the chain
    return Atom{"", 1.26 * i, (i % 2 ? 0.44 : -0.44), 0.0};
  };
  for (int i = 0; i < 10; ++i) {
    Atom c = heavy(i);
    c.name = i < 9 ? "C" + std::to_string(i + 1) : "O1";
    atoms.push_back(c);
    const double side = c.y > 0 ? 1.0 : -1.0;
    if (i == 0) {
      atoms.push_back({"H11", c.x - 1.03, c.y + 0.2, 0.0});
      atoms.push_back({"H12", c.x + 0.1, c.y - 0.6, 0.89});
      atoms.push_back({"H13", c.x + 0.1, c.y - 0.6, -0.89});
    } else if (i < 9) {
      const std::string n = "H" + std::to_string(i + 1);
      atoms.push_back({n + "1", c.x, c.y + 0.63 * side, 0.89});
      atoms.push_back({n + "2", c.x, c.y + 0.63 * side, -0.89});
    } else {
      atoms.push_back({"HO1", c.x + 0.3, c.y + 0.9 * side, 0.0});
    }
  }
  return atoms;
}

std::vector<Atom> Methanol() {
  return {{"CB", -0.047, 0.665, 0.0}, {"OG", -0.047, -0.755, 0.0}, {"HG1", 0.857, -1.056, 0.0},
          {"HB1", -1.091, 0.978, 0.0}, {"HB2", 0.433, 1.075, 0.890}, {"HB3", 0.433, 1.075, -0.890}};
}

std::string Points(double start, double step) {
  std::string text;
  char buf[64];
  for (int k = 1; k <= 7; ++k) {
    std::snprintf(buf, sizeof buf, "set va%d %.5f\n", k, start + (k - 1) * step);
    text += buf;
  }
  return text;
}

// A directory of its own under the system's temporary directory, removed
// with everything in it at the end.
struct ScratchDir {
  fs::path path;
  explicit ScratchDir(const std::string& name)
      : path(fs::temp_directory_path() / ("qm2ff-bench-" + std::to_string(getpid()) + "-" + name)) {
    fs::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
};

// Runs charmm on dir/job.inp, its log in dir/job.out; environment, when not
// empty, goes before the command ("NAME=value"). False when the program failed.
bool RunCharmm(const fs::path& dir, const std::string& environment = "") {
  const std::string command =
      "cd '" + dir.string() + "' && " + environment + " '" QM2FF_ENGINES_BIN "/charmm' < job.inp > job.out 2>&1";
  return std::system(command.c_str()) == 0;
}

// A working directory with the topology, parameters, start structure and
// a three-term scan (a bond, an angle and a dihedral of the given atoms).
class Work {
 public:
  Work(const std::string& molecule, const std::string& resn, const std::vector<Atom>& atoms,
       const std::vector<std::string>& a)
      : dir_(molecule) {
    const fs::path toppar = fs::path(QM2FF_SOURCE_DIR) / "examples" / "toppar";
    WriteText(dir_.path / "top.rtf", ReadText(toppar / ("top_" + molecule + ".rtf")));
    WriteText(dir_.path / "par.prm", ReadText(toppar / ("par_" + molecule + ".prm")));
    WriteText(dir_.path / "start.pdb", Pdb(atoms, resn));
    WriteText(dir_.path / "term.list", "set nterms 3\nset term1 b\nset term2 a\nset term3 d\n");
    WriteText(dir_.path / "b.inp", "set A1 " + a[0] + "\nset A2 " + a[1] + "\nset NP 7\nset termtype b\n" +
                                       Points(1.36, 0.02));
    WriteText(dir_.path / "a.inp", "set A1 " + a[0] + "\nset A2 " + a[1] + "\nset A3 " + a[2] +
                                       "\nset NP 7\nset termtype a\n" + Points(104.0, 2.0));
    WriteText(dir_.path / "d.inp", "set A1 " + a[3] + "\nset A2 " + a[0] + "\nset A3 " + a[1] + "\nset A4 " +
                                       a[2] + "\nset NP 7\nset termtype d\n" + Points(150.0, 10.0));
  }

  // Runs one job; false when the program failed.
  bool Run(const std::string& job) const {
    WriteText(dir_.path / "job.inp", "topology top.rtf\nparameters par.prm\ncoordinates start.pdb\njob " + job + "\n");
    return RunCharmm(dir_.path);
  }

 private:
  ScratchDir dir_;
};

// The scan job of the dihedral stage of the N-methylacetamide example as
// the bonded fit runs it: the files qm2ff writes for it (term list, terms,
// soft-dihedral restraint, trial parameters, the QM structures of its 51
// points), kept in bench/data/nma_dihedral_scan.txt as "== path" lines
// each followed by the file's text.
class NmaScan {
 public:
  NmaScan() : dir_("nma") {
    std::ifstream in(fs::path(QM2FF_SOURCE_DIR) / "bench" / "data" / "nma_dihedral_scan.txt");
    std::string path, text;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("== ", 0) != 0) {
        text += line + "\n";
        continue;
      }
      if (!path.empty()) WriteText(dir_.path / path, text);
      path = line.substr(3);
      text.clear();
    }
    if (!path.empty()) WriteText(dir_.path / path, text);
    const std::string examples = QM2FF_SOURCE_DIR "/examples/";
    WriteText(dir_.path / "job.inp", "topology " + examples + "toppar/top_nma.rtf\nparameters " + examples +
                                         "toppar/par_nma.prm\nparameters add_para.inp\nresidue NMA\ncoordinates " +
                                         examples + "nma/charmm/nma.pdb\nrestraints restrdihe.inp\njob pes\n");
  }

  // Runs the job with the minimiser named ("bfgs" or "openmm"); the total
  // energy of each structure of the log by its label, empty when it failed.
  std::map<std::string, double> Run(const std::string& minimizer) const {
    std::map<std::string, double> total;
    if (!RunCharmm(dir_.path, "QM2FF_MM_MINIMIZER=" + minimizer)) return total;
    std::istringstream log(ReadText(dir_.path / "job.out"));
    for (std::string line; std::getline(log, line);) {
      const auto at = line.find(" total ");
      if (line.rfind("ENER> ", 0) == 0 && at != std::string::npos)
        total[line.substr(6, at - 6)] = std::stod(line.substr(at + 7));
    }
    return total;
  }

 private:
  ScratchDir dir_;
};

void RunJob(benchmark::State& state, const Work& work, const std::string& job) {
  for (auto _ : state) {
    if (!work.Run(job)) {
      state.SkipWithError("the charmm job failed");
      break;
    }
  }
}

void BM_MethanolMinimize(benchmark::State& state) {
  const Work w("methanol", "MEOH", Methanol(), {"CB", "OG", "HG1", "HB1"});
  RunJob(state, w, "minimize");
}

void BM_MethanolPes3x7(benchmark::State& state) {
  const Work w("methanol", "MEOH", Methanol(), {"CB", "OG", "HG1", "HB1"});
  RunJob(state, w, "pes");
}

void BM_NonanolMinimize(benchmark::State& state) {
  const Work w("nonanol", "NONL", Nonanol(), {"C9", "O1", "HO1", "C8"});
  RunJob(state, w, "minimize");
}

void BM_NonanolPes3x7(benchmark::State& state) {
  const Work w("nonanol", "NONL", Nonanol(), {"C9", "O1", "HO1", "C8"});
  RunJob(state, w, "pes");
}

}  // namespace

BENCHMARK(BM_MethanolMinimize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MethanolPes3x7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NonanolMinimize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NonanolPes3x7)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

// Times the scan with one minimiser, after checking that both reach the
// same energies: each structure within 1e-4 kcal/mol (the largest
// difference is reported as max_energy_difference, kcal/mol).
void BM_NmaDihedralScan(benchmark::State& state, const std::string& minimizer) {
  const NmaScan scan;
  const auto bfgs = scan.Run("bfgs"), openmm = scan.Run("openmm");
  double worst = 0;
  for (const auto& [label, e] : bfgs)
    worst = std::max(worst, openmm.count(label) ? std::fabs(e - openmm.at(label)) : HUGE_VAL);
  if (bfgs.size() != 52 || openmm.size() != bfgs.size() || worst > 1e-4) {
    state.SkipWithError("the minimisers disagree, or a job failed");
    return;
  }
  state.counters["max_energy_difference"] = worst;
  for (auto _ : state)
    if (scan.Run(minimizer).empty()) {
      state.SkipWithError("the charmm job failed");
      break;
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_NmaDihedralScan, bfgs, std::string("bfgs"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NmaDihedralScan, openmm, std::string("openmm"))->Unit(benchmark::kMillisecond)->UseRealTime();
