#include "xtb_runner.h"

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "elements.h"

namespace fs = std::filesystem;

namespace {

std::string Format(const char* fmt, double a, double b, double c) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, a, b, c);
  return buf;
}

void WriteXyz(const fs::path& file, const QmSystem& system, const std::vector<Vec3>& positions) {
  std::ofstream out(file);
  out << positions.size() << "\ng09 stand-in\n";
  for (size_t i = 0; i < positions.size(); ++i) {
    out << ElementSymbol(system.atomicNumbers[i])
        << Format(" %.10f %.10f %.10f\n", positions[i].x, positions[i].y, positions[i].z);
  }
  if (!out) throw std::runtime_error("cannot write the xtb geometry file");
}

// Starts xtb in dir with `threads` OpenMP threads; its output goes to
// xtb.out and xtb.err there.
pid_t StartXtb(const fs::path& dir, const QmSystem& system, int threads, const std::string& arguments) {
  const std::string command = "cd " + ShellQuote(dir.string()) + " && OMP_NUM_THREADS=" + std::to_string(threads) +
                              " exec xtb geom.xyz --chrg " + std::to_string(system.charge) + " --uhf " +
                              std::to_string(system.unpairedElectrons) + " " + arguments +
                              " >xtb.out 2>xtb.err </dev/null";
  return StartShell(command, "xtb");
}

// Waits for the xtb run started as `pid`; true when it ended normally.
bool FinishXtb(pid_t pid, const fs::path& dir) {
  return FinishShell(pid, "xtb") &&
         ReadText(dir / "xtb.err").find("normal termination of xtb") != std::string::npos;
}

// Runs xtb in dir; true when it ended normally.
bool TryXtb(const fs::path& dir, const QmSystem& system, const std::string& arguments) {
  return FinishXtb(StartXtb(dir, system, system.threads, arguments), dir);
}

// Runs xtb in dir; throws with xtb's own error lines when it fails.
std::string RunXtb(const fs::path& dir, const QmSystem& system, const std::string& arguments) {
  if (!TryXtb(dir, system, arguments)) {
    std::string why;
    std::istringstream lines(ReadText(dir / "xtb.err") + ReadText(dir / "xtb.out"));
    for (std::string l; std::getline(lines, l);) {
      if (l.find("[ERROR]") != std::string::npos || l.find("#ERROR!") != std::string::npos) {
        why += (why.empty() ? "" : "; ") + l.substr(l.find_first_not_of(' '));
      }
    }
    if (why.empty()) why = "abnormal termination (is the xtb program installed?)";
    throw std::runtime_error("xtb failed: " + why);
  }
  return ReadText(dir / "xtb.out");
}

double Number(const std::string& token, const std::string& what) {
  char* end = nullptr;
  const double v = std::strtod(token.c_str(), &end);
  if (end == token.c_str()) throw std::runtime_error("xtb output: cannot read " + what);
  return v;
}

void ReadEngrad(const fs::path& file, size_t natoms, QmPoint& p) {
  std::istringstream in(ReadText(file));
  std::vector<double> values;
  for (std::string l; std::getline(in, l);) {
    const auto w = Words(l);
    if (w.empty() || w[0][0] == '#') continue;
    values.push_back(Number(w[0], "the gradient file"));
  }
  // Number of atoms, energy, gradient; the coordinates that follow are not needed.
  if (values.size() < 2 + 3 * natoms || values[0] != static_cast<double>(natoms)) throw std::runtime_error("xtb output: the gradient file is incomplete");
  p.energy = values[1];
  for (size_t i = 0; i < natoms; ++i) {
    p.gradient.push_back({values[2 + 3 * i], values[3 + 3 * i], values[4 + 3 * i]});
  }
}

Vec3 ReadDipole(const std::string& out) {
  const auto at = out.find("molecular dipole:");
  if (at == std::string::npos) throw std::runtime_error("xtb output: no dipole");
  const auto full = out.find("full:", at);
  if (full == std::string::npos) throw std::runtime_error("xtb output: no dipole");
  const auto w = Words(out.substr(full, out.find('\n', full) - full));
  if (w.size() < 4) throw std::runtime_error("xtb output: malformed dipole line");
  return kDebyePerAu * Vec3{Number(w[1], "the dipole"), Number(w[2], "the dipole"), Number(w[3], "the dipole")};
}

}  // namespace

namespace {

// Fewest points worth an xtb run of their own, and most runs for one set.
constexpr size_t kMinPotentialPoints = 500;
constexpr int kMaxPotentialRuns = 64;

// The points of one xtb run of the potential, [begin, end) of the whole set.
struct PotentialRun {
  size_t begin = 0, end = 0;
  std::unique_ptr<ScratchDirectory> dir;
};

// The potential runs under way, by process; any still running when it goes
// (after a failure) are stopped before their directories are removed.
struct PotentialRuns {
  std::map<pid_t, PotentialRun> byProcess;
  ~PotentialRuns() {
    for (auto& [pid, run] : byProcess) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

// Starts xtb on the points [begin, end), on one thread.
void StartPotential(const QmSystem& system, const std::vector<Vec3>& points, size_t begin, size_t end,
                    PotentialRuns& runs) {
  PotentialRun run{begin, end, std::make_unique<ScratchDirectory>("g09-xtb-")};
  const fs::path& dir = run.dir->path();
  WriteXyz(dir / "geom.xyz", system, system.positions);
  std::ofstream out(dir / "esp_coord");
  for (size_t p = begin; p < end; ++p) {
    const Vec3 b = (1.0 / kBohrInAngstrom) * points[p];
    out << Format("%.10f %.10f %.10f\n", b.x, b.y, b.z);
  }
  out.close();
  if (!out) throw std::runtime_error("cannot write the fit points for xtb");
  runs.byProcess.emplace(StartXtb(dir, system, 1, "--sp --esp"), std::move(run));
}

// Reads from xtb's potential file the values of the run's points that it
// holds: its whole lines, in order, as long as their coordinates are those
// of the requested points. Returns how many were read into `potential`.
size_t ReadPotential(const fs::path& file, const std::vector<Vec3>& points, const PotentialRun& run,
                     std::vector<double>& potential) {
  const std::string text = ReadText(file);
  size_t p = run.begin, at = 0;
  for (size_t eol; p < run.end && (eol = text.find('\n', at)) != std::string::npos; ++p, at = eol + 1) {
    const auto w = Words(text.substr(at, eol - at));
    double x[4] = {NAN, NAN, NAN, NAN};  // a malformed line stays NAN
    for (size_t i = 0; i < 4 && w.size() == 4; ++i) {
      char* stop = nullptr;
      x[i] = std::strtod(w[i].c_str(), &stop);
      if (*stop != '\0') x[i] = NAN;
    }
    const Vec3 b = (1.0 / kBohrInAngstrom) * points[p];
    if (!(std::abs(x[0] - b.x) <= 1e-6 && std::abs(x[1] - b.y) <= 1e-6 && std::abs(x[2] - b.z) <= 1e-6 &&
          std::isfinite(x[3]))) {
      break;
    }
    potential[p] = x[3];
  }
  return p - run.begin;
}

// Potential at every point: the points are split into pieces that up to
// system.processes single-threaded xtb runs compute at once. xtb 6.5.1 now
// and then aborts after the potential (heap corruption in its ESP profile
// step), having written all or the first part of its potential file; the
// points it lacks go to a further run, and a run that wrote none of its
// points is repeated on the halves of them.
std::vector<double> Potential(const QmSystem& system, const std::vector<Vec3>& points) {
  const size_t processes = static_cast<size_t>(std::max(1, system.processes));
  const size_t pieces = std::clamp<size_t>(points.size() / kMinPotentialPoints, 1, processes);
  std::deque<std::pair<size_t, size_t>> pending;
  for (size_t i = 0; i < pieces; ++i) pending.emplace_back(points.size() * i / pieces, points.size() * (i + 1) / pieces);
  std::vector<double> potential(points.size());
  PotentialRuns runs;
  int started = 0;
  while (!pending.empty() || !runs.byProcess.empty()) {
    while (!pending.empty() && runs.byProcess.size() < processes) {
      if (++started > kMaxPotentialRuns) throw std::runtime_error("xtb failed to compute the electrostatic potential");
      StartPotential(system, points, pending.front().first, pending.front().second, runs);
      pending.pop_front();
    }
    int status = 0;
    const pid_t pid = WaitForChild(-1, &status);
    const auto done = runs.byProcess.find(pid);
    if (done == runs.byProcess.end()) throw std::runtime_error("lost track of an xtb run");
    const PotentialRun run = std::move(done->second);
    runs.byProcess.erase(done);
    const size_t size = run.end - run.begin;
    const size_t read = ReadPotential(run.dir->path() / "xtb_esp.dat", points, run, potential);
    if (read == size) continue;
    if (read > 0) {
      pending.emplace_back(run.begin + read, run.end);
    } else if (size > 1) {
      pending.emplace_back(run.begin, run.begin + size / 2);
      pending.emplace_back(run.begin + size / 2, run.end);
    } else {
      throw std::runtime_error("xtb failed to compute the electrostatic potential");
    }
  }
  return potential;
}

}  // namespace

std::string XtbEngine::Description() const {
  return " This is the qm2ff stand-in for Gaussian 09. Every number below is computed\n"
         " with GFN2-xTB by the xtb program, whatever method the route names.\n";
}

QmPoint XtbEngine::SinglePoint(const QmSystem& system, const std::vector<Vec3>& espPoints) const {
  QmPoint p;
  {
    ScratchDirectory dir("g09-xtb-");
    WriteXyz(dir.path() / "geom.xyz", system, system.positions);
    const std::string out = RunXtb(dir.path(), system, "--sp --grad");
    const size_t n = system.atomicNumbers.size();
    ReadEngrad(dir.path() / "geom.engrad", n, p);
    std::istringstream in(ReadText(dir.path() / "charges"));
    for (std::string t; in >> t;) p.charges.push_back(Number(t, "the charges"));
    if (p.charges.size() != n) throw std::runtime_error("xtb output: the charges file is incomplete");
    p.dipole = ReadDipole(out);
    p.scfEnergy = p.energy;
  }
  if (!espPoints.empty()) p.potential = Potential(system, espPoints);
  return p;
}

QmOptimisation XtbEngine::Optimise(const QmSystem& system, const std::vector<int>& frozenAtoms,
                                   const std::vector<QmConstraint>& constraints, int maxCycle) const {
  ScratchDirectory dir("g09-xtb-");
  WriteXyz(dir.path() / "geom.xyz", system, system.positions);
  {
    std::ofstream control(dir.path() / "control.inp");
    if (!frozenAtoms.empty()) {
      control << "$fix\n   atoms: ";
      for (size_t i = 0; i < frozenAtoms.size(); ++i) control << (i ? "," : "") << frozenAtoms[i] + 1;
      control << "\n";
    }
    if (!constraints.empty()) {
      control << "$constrain\n   force constant=" << kConstraintForceConstant << "\n";
      for (const QmConstraint& c : constraints) {
        static const char* kinds[] = {"", "", "distance", "angle", "dihedral"};
        control << "   " << kinds[c.atoms.size()] << ": ";
        for (const int a : c.atoms) control << a + 1 << ",";
        if (c.hasValue) {
          char buf[64];
          std::snprintf(buf, sizeof buf, "%.6f", c.value);
          control << buf << "\n";
        } else {
          control << "auto\n";
        }
      }
    }
    if (maxCycle > 0) control << "$opt\n   maxcycle=" << maxCycle << "\n";
    control << "$end\n";
    if (!control) throw std::runtime_error("cannot write the xtb control file");
  }
  const std::string out = RunXtb(dir.path(), system, "--opt verytight --input control.inp");
  QmOptimisation result;
  result.converged = out.find("GEOMETRY OPTIMIZATION CONVERGED") != std::string::npos;
  std::istringstream log(ReadText(dir.path() / "xtbopt.log"));
  const size_t n = system.atomicNumbers.size();
  for (std::string l; std::getline(log, l);) {
    const auto count = Words(l);
    if (count.size() != 1) continue;
    std::string comment;
    std::getline(log, comment);
    const auto cw = Words(comment);
    if (cw.size() < 2 || cw[0] != "energy:") throw std::runtime_error("xtb output: malformed optimisation log");
    std::vector<Vec3> frame;
    for (size_t i = 0; i < n && std::getline(log, l); ++i) {
      const auto w = Words(l);
      if (w.size() < 4) throw std::runtime_error("xtb output: malformed optimisation log");
      frame.push_back({Number(w[1], "a position"), Number(w[2], "a position"), Number(w[3], "a position")});
    }
    if (frame.size() != n) throw std::runtime_error("xtb output: truncated optimisation log");
    result.steps.push_back(frame);
    result.stepEnergies.push_back(Number(cw[1], "a step energy"));
  }
  // The final geometry, with more digits than the log.
  std::istringstream final(ReadText(dir.path() / "xtbopt.xyz"));
  std::vector<Vec3> last;
  std::string l;
  std::getline(final, l);
  std::getline(final, l);
  for (size_t i = 0; i < n && std::getline(final, l); ++i) {
    const auto w = Words(l);
    if (w.size() < 4) throw std::runtime_error("xtb output: malformed optimised geometry");
    last.push_back({Number(w[1], "a position"), Number(w[2], "a position"), Number(w[3], "a position")});
  }
  if (last.size() != n) throw std::runtime_error("xtb output: no optimised geometry");
  if (result.steps.empty()) result.stepEnergies.push_back(0);
  if (result.steps.empty()) result.steps.push_back(last);
  result.stepScfEnergies = result.stepEnergies;
  result.steps.back() = last;
  for (const int a : frozenAtoms) result.steps.back()[static_cast<size_t>(a)] = system.positions[static_cast<size_t>(a)];
  return result;
}
