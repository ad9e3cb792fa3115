// Wall time of jobs of the stand-in MM program: one minimisation and one
// scan of 3 terms with 7 points each, for methanol (6 atoms) and 1-nonanol
// (30 atoms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A working directory with the topology, parameters, start structure and
// a three-term scan (a bond, an angle and a dihedral of the given atoms).
class Work {
 public:
  Work(const std::string& molecule, const std::string& resn, const std::vector<Atom>& atoms,
       const std::vector<std::string>& a) {
    dir_ = fs::temp_directory_path() / ("qm2ff-bench-" + std::to_string(getpid()) + "-" + molecule);
    fs::create_directories(dir_);
    const fs::path toppar = fs::path(QM2FF_SOURCE_DIR) / "examples" / "toppar";
    WriteText(dir_ / "top.rtf", ReadText(toppar / ("top_" + molecule + ".rtf")));
    WriteText(dir_ / "par.prm", ReadText(toppar / ("par_" + molecule + ".prm")));
    WriteText(dir_ / "start.pdb", Pdb(atoms, resn));
    WriteText(dir_ / "term.list", "set nterms 3\nset term1 b\nset term2 a\nset term3 d\n");
    WriteText(dir_ / "b.inp", "set A1 " + a[0] + "\nset A2 " + a[1] + "\nset NP 7\nset termtype b\n" +
                                  Points(1.36, 0.02));
    WriteText(dir_ / "a.inp", "set A1 " + a[0] + "\nset A2 " + a[1] + "\nset A3 " + a[2] +
                                  "\nset NP 7\nset termtype a\n" + Points(104.0, 2.0));
    WriteText(dir_ / "d.inp", "set A1 " + a[3] + "\nset A2 " + a[0] + "\nset A3 " + a[1] + "\nset A4 " + a[2] +
                                  "\nset NP 7\nset termtype d\n" + Points(150.0, 10.0));
  }
  ~Work() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  Work(const Work&) = delete;
  Work& operator=(const Work&) = delete;

  // Runs one job; false when the program failed.
  bool Run(const std::string& job) const {
    WriteText(dir_ / "job.inp", "topology top.rtf\nparameters par.prm\ncoordinates start.pdb\njob " + job + "\n");
    const std::string command = "cd '" + dir_.string() + "' && '" QM2FF_ENGINES_BIN "/charmm' < job.inp > job.out 2>&1";
    return std::system(command.c_str()) == 0;
  }

 private:
  fs::path dir_;
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
