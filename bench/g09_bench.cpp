// Wall time of the stand-in QM program per deck kind, for methanol (6 atoms)
// and hexane (20 atoms). Each run starts the g09 executable on a deck in a
// scratch directory, as qm2ff does.
#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Atom {
  int z;
  double x, y, z0;
};

std::vector<Atom> Methanol() {
  return {{6, -0.04652, 0.66312, 0.0}, {8, -0.04652, -0.75545, 0.0}, {1, -1.08607, 0.97598, 0.0},
          {1, 0.43789, 1.07162, 0.88966}, {1, 0.43789, 1.07162, -0.88966}, {1, 0.86126, -1.05490, 0.0}};
}

// C1..C6 zig-zag, then two hydrogens per carbon, then the two end hydrogens.
std::vector<Atom> Hexane() {
  std::vector<Atom> atoms;
  for (int i = 0; i < 6; ++i) atoms.push_back({6, 1.27 * i, i % 2 == 0 ? 0.0 : 0.88, 0.0});
  for (int i = 0; i < 6; ++i) {
    const double y = i % 2 == 0 ? -0.38 : 1.26;
    atoms.push_back({1, 1.27 * i, y, 0.89});
    atoms.push_back({1, 1.27 * i, y, -0.89});
  }
  atoms.push_back({1, -0.95, 0.55, 0.0});
  atoms.push_back({1, 1.27 * 5 + 0.95, 0.33, 0.0});
  return atoms;
}

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

std::string Atoms(const std::vector<Atom>& atoms, int code) {
  std::string text;
  for (const Atom& a : atoms) text += Line("%3d %d %9.5f %9.5f %9.5f\n", a.z, code, a.x, a.y, a.z0);
  return text;
}

std::string Deck(const std::string& kind, const std::vector<Atom>& atoms) {
  const int n = static_cast<int>(atoms.size());
  // Probes face the last hydrogen (methanol: the hydroxyl hydrogen), bonded
  // to atom 2 of methanol or atom 6 of hexane; the frame atom is atom 1 or 5.
  const int probed = n, bonded = n == 6 ? 2 : 6, third = n == 6 ? 1 : 5;
  if (kind == "singlepoint") return "#HF/6-31G* Test NoSymm\n\nMolName: \n\n    0 1\n" + Atoms(atoms, -1) + "\n\n";
  if (kind == "optimisation") {
    return "%NoSave\n#HF/6-31G* Opt=ModRedun \n\noptimization for geometry 0\n\n0 1\n" + Atoms(atoms, 0) + "\n\n\n";
  }
  if (kind == "constrained") {
    return "\n%NPROCS=1\n%NoSave\n#HF/6-31G* Opt=(ModRedun, MaxCycle=20) NoSymm\n\nMolName: \n\n0 1 \n" +
           Atoms(atoms, 0) + "\n1 2  F\n" + (n == 6 ? "3 1 2  F\n3 1 2 6  F\n" : "1 2 3  F\n1 2 3 4  F\n") + "\n";
  }
  if (kind == "population") {
    return "%NoSave\n#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)\n\nMK charges and electric potentials\n\n0 1\n" +
           Atoms(atoms, -1) + "\n\n";
  }
  std::string deck = "%NoSave\n#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater interaction with atom H\n\n    0 1\n" +
                     Atoms(atoms, -1);
  if (kind == "positiveprobe") {
    deck += Line("X   %4i RDUM %4i ADUM %4i DOH\n", probed, bonded, third);
    deck += Line("X   %4i RDUM %4i ADUM %4i DD1\n", n + 1, probed, bonded);
    deck += Line("OH2 %4i RX   %4i ADUM %4i DD2\n", probed, n + 1, n + 2);
    deck += Line("H1  %4i ROH  %4i AHOA %4i DH1\n", n + 3, probed, n + 1);
    deck += Line("H2  %4i ROH  %4i AHOA %4i DH2\n", n + 3, probed, n + 1);
    deck += "Variables:\nRX      2.00000\nConstants:\nRDUM    1.00000\nROH     0.95720\nADUM   90.00000\n"
            "AHOA  127.74000\nDOH   180.00000\nDD1     0.00000\nDD2   180.00000\nDH1    90.00000\nDH2   -90.00000\n";
    return deck + "\n\n\n\n";
  }
  deck += Line("X   %4i RDUM %4i ADUM %4i DDUM\n", probed, bonded, third);
  deck += Line("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 1, probed, bonded);
  deck += Line("H1  %4i RX   %4i ADUM %4i DH1\n", probed, n + 1, n + 2);
  deck += Line("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 3, probed, n + 1);
  deck += Line("OH2 %4i ROH  %4i ADUM %4i DOH2\n", n + 3, n + 4, probed);
  deck += Line("H2  %4i ROH  %4i AHOH %4i DH2\n", n + 5, n + 3, n + 1);
  deck += "Variables:\nRX    2.50000\nConstants:      \nRDUM    1.00000\nROH     0.95720\nADUM   90.00000\n"
          "AHOH  104.52000\nDDUM    0.00000\nDH1   180.00000\nDOH2  180.00000\nDH2    90.00000\n";
  return deck + "\n\n";
}

// The g09 executable beside this benchmark's build tree.
std::string G09() {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path() / "engines" / "bin" / "g09").string();
}

void RunDeck(benchmark::State& state, const std::string& kind, const std::vector<Atom>& atoms) {
  std::random_device rd;
  const fs::path dir = fs::temp_directory_path() / ("g09-bench-" + std::to_string(rd()));
  fs::create_directory(dir);
  std::ofstream(dir / "job.inp") << Deck(kind, atoms);
  const std::string command = "cd '" + dir.string() + "' && '" + G09() + "' < job.inp > job.out 2>/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("g09 failed on the deck");
      break;
    }
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

void Register() {
  const std::vector<std::string> kinds = {"singlepoint", "optimisation", "constrained",
                                          "positiveprobe", "negativeprobe", "population"};
  for (const auto& [name, atoms] : {std::pair{std::string("methanol"), Methanol()},
                                    std::pair{std::string("hexane20"), Hexane()}}) {
    for (const std::string& kind : kinds) {
      auto* b = benchmark::RegisterBenchmark((kind + "/" + name).c_str(),
                                             [kind, atoms](benchmark::State& s) { RunDeck(s, kind, atoms); });
      b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kind == "population" ? 1 : 3);
    }
  }
}

const int registered = (Register(), 0);

}  // namespace
