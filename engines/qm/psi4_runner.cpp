#include "psi4_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "elements.h"
#include "format.h"
#include "process.h"

namespace fs = std::filesystem;

namespace {

// The psi4 side, run by the Python that psi4 was built for (the one in
// "psi4 --psiapi-path") with its thread count as argument. For every line on
// its standard input it reads request.json, computes, writes result.txt
// ("key value..." lines, energies in hartree, gradients and geometries in
// bohr, the dipole in Debye, or "error <why>") and answers
// "qm2ff-done <line>" on its standard output.
constexpr const char* kWorkerScript = R"(import json
import os
import sys

import psi4

psi4.core.set_output_file('psi4.log', False)
psi4.set_num_threads(int(sys.argv[1]))

recorded = []
driver = sys.modules['psi4.driver.driver']
computed_gradient = driver.gradient


def recording_gradient(name, **kwargs):
    """The driver's gradient, remembering every geometry and energy an optimisation visits."""
    g, wfn = computed_gradient(name, **dict(kwargs, return_wfn=True))
    molecule = kwargs.get('molecule', psi4.core.get_active_molecule())
    recorded.append([psi4.variable('CURRENT ENERGY'), psi4.variable('SCF TOTAL ENERGY')] +
                    molecule.geometry().np.flatten().tolist())
    return (g, wfn) if kwargs.get('return_wfn', False) else g


driver.gradient = recording_gradient


def numbers(key, values):
    return key + ''.join(' %.12e' % v for v in values)


def molecule(request):
    text = '%d %d\n' % (request['charge'], request['multiplicity'])
    text += ''.join('%s %.10f %.10f %.10f\n' % tuple(a) for a in request['atoms'])
    return psi4.geometry(text + 'units angstrom\nno_reorient\nno_com\nsymmetry c1\n')


def settings(request):
    options = {'basis': request['basis'], 'reference': request['reference'], 'scf_type': 'pk',
               'e_convergence': 1e-10, 'd_convergence': 1e-8, 'freeze_core': True,
               'mp2_type': 'df', 'g_convergence': 'gau', 'geom_maxiter': 200}
    if request['maxcycle'] > 0:
        options['geom_maxiter'] = request['maxcycle']
    if request['frozen']:
        options['frozen_cartesian'] = ' '.join('%d xyz' % (a + 1) for a in request['frozen'])
    kinds = {2: 'distance', 3: 'bend', 4: 'dihedral'}
    for c in request['constraints']:
        atoms = ' '.join(str(a + 1) for a in c['atoms'])
        if c['value'] is None:
            key, text = 'frozen_' + kinds[len(c['atoms'])], atoms
        else:
            key, text = 'fixed_' + kinds[len(c['atoms'])], atoms + ' %.10f' % c['value']
        options[key] = (options.get(key, '') + ' ' + text).strip()
    if request['method'] == 'mp2':
        # psi4 has analytic frozen-core MP2 gradients with density fitting only
        options['scf_type'] = 'df'
    psi4.set_options(options)


def point(request, lines):
    mol = molecule(request)
    settings(request)
    g, wfn = psi4.gradient(request['method'], molecule=mol, return_wfn=True)
    lines.append(numbers('energy', [psi4.variable('CURRENT ENERGY')]))
    lines.append(numbers('scf', [psi4.variable('SCF TOTAL ENERGY')]))
    lines.extend(numbers('gradient', row) for row in g.np.tolist())
    scf = wfn.reference_wavefunction() or wfn
    properties = ['DIPOLE', 'MULLIKEN_CHARGES']
    if request['points']:
        properties.append('GRID_ESP')
    psi4.oeprop(scf, *properties, title='QM2FF')
    lines.append(numbers('dipole', [psi4.variable('QM2FF DIPOLE ' + c) for c in 'XYZ']))
    lines.append(numbers('charges', scf.atomic_point_charges().np.tolist()))


def last_measures(log):
    """optking's last convergence measures: maximum and RMS force, maximum and RMS step."""
    measures = None
    for line in log.splitlines():
        words = [w for w in line.split() if w not in ('*', 'o', '~')]
        if line.rstrip().endswith('~') and len(words) == 7 and words[0].isdigit():
            measures = [float(w) for w in words[3:]]
    return measures


def optimise(request, lines):
    mol = molecule(request)
    settings(request)
    del recorded[:]
    psi4.core.flush_outfile()
    start = os.path.getsize('psi4.log')
    try:
        psi4.optimize(request['method'], molecule=mol)
        lines.append('converged 1')
        recorded[-1][2:] = mol.geometry().np.flatten().tolist()
    except psi4.OptimizationConvergenceError:
        lines.append('converged 0')
    lines.extend(numbers('step', step) for step in recorded)
    psi4.core.flush_outfile()
    with open('psi4.log') as log:
        log.seek(start)
        measures = last_measures(log.read())
    if measures:
        lines.append(numbers('measures', measures))


for tag in sys.stdin:
    lines = []
    try:
        request = json.load(open('request.json'))
        (optimise if request['task'] == 'optimise' else point)(request, lines)
    except Exception as e:
        why = ' '.join(str(e).split())
        if 'Unable to find a basis set' in why:
            why = 'no basis set "%s" for every element of the molecule' % request['basis']
        lines = ['error ' + why]
    with open('result.tmp', 'w') as out:
        out.write('\n'.join(lines) + '\n')
    os.rename('result.tmp', 'result.txt')
    psi4.core.clean()
    psi4.core.clean_options()
    psi4.core.clean_variables()
    print('qm2ff-done ' + tag.strip(), flush=True)
)";

std::string Fmt(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

double Number(const std::string& token, const std::string& what) {
  char* end = nullptr;
  const double v = std::strtod(token.c_str(), &end);
  if (end == token.c_str() || *end != '\0') throw std::runtime_error("psi4 output: cannot read " + what);
  return v;
}

// The last lines of a text, joined, for an error message.
std::string Tail(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (l.find_first_not_of(" \t") != std::string::npos) lines.push_back(l.substr(l.find_first_not_of(" \t")));
  }
  std::string tail;
  for (size_t i = lines.size() > 3 ? lines.size() - 3 : 0; i < lines.size(); ++i) tail += (tail.empty() ? "" : "; ") + lines[i];
  return tail;
}

}  // namespace

// The running psi4 program and its scratch directory. Closing its standard
// input ends it.
class Psi4Worker {
 public:
  explicit Psi4Worker(int threads) : dir_("g09-psi4-") {
    if (!(std::ofstream(dir_.path() / "worker.py") << kWorkerScript)) {
      throw std::runtime_error("cannot write the psi4 script into " + dir_.path().string());
    }
    int toWorker[2], fromWorker[2];
    if (pipe2(toWorker, O_CLOEXEC) != 0) throw std::runtime_error("cannot open a pipe to psi4");
    if (pipe2(fromWorker, O_CLOEXEC) != 0) {
      close(toWorker[0]);
      close(toWorker[1]);
      throw std::runtime_error("cannot open a pipe from psi4");
    }
    // A psi4 that has died must not take this program with it when it is written to.
    signal(SIGPIPE, SIG_IGN);
    const std::string dir = ShellQuote(dir_.path().string());
    try {
      pid_ = StartShell("cd " + dir + " && exec 2>psi4.err && paths=$(psi4 --psiapi-path) && eval \"$paths\" && " +
                            "PSI_SCRATCH=" + dir + " exec python3 -s worker.py " + std::to_string(threads),
                        "psi4", toWorker[0], fromWorker[1]);
    } catch (...) {
      for (const int fd : {toWorker[0], toWorker[1], fromWorker[0], fromWorker[1]}) close(fd);
      throw;
    }
    close(toWorker[0]);
    close(fromWorker[1]);
    input_ = toWorker[1];
    output_ = fdopen(fromWorker[0], "r");
  }

  ~Psi4Worker() {
    close(input_);
    if (output_ != nullptr) fclose(output_);
    FinishShell(pid_, "psi4");
  }

  Psi4Worker(const Psi4Worker&) = delete;
  Psi4Worker& operator=(const Psi4Worker&) = delete;

  const fs::path& path() const { return dir_.path(); }

  // Hands request.json (written by the caller into path()) to psi4 and
  // returns its result lines by key.
  std::multimap<std::string, std::vector<std::string>> Ask() {
    const std::string tag = std::to_string(++requests_);
    const std::string line = tag + "\n";
    std::error_code ec;
    fs::remove(dir_.path() / "result.txt", ec);
    if (write(input_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) Died();
    char buf[4096];
    for (;;) {
      if (fgets(buf, sizeof buf, output_) == nullptr) Died();
      if (std::string(buf) == "qm2ff-done " + line) break;
    }
    std::multimap<std::string, std::vector<std::string>> result;
    std::istringstream in(ReadText(dir_.path() / "result.txt"));
    for (std::string l; std::getline(in, l);) {
      std::vector<std::string> w = Words(l);
      if (w.empty()) continue;
      if (w[0] == "error") throw std::runtime_error("psi4 failed: " + l.substr(6));
      const std::string key = w[0];
      w.erase(w.begin());
      result.emplace(key, std::move(w));
    }
    return result;
  }

 private:
  [[noreturn]] void Died() {
    std::string why = Tail(ReadText(dir_.path() / "psi4.err"));
    if (why.empty()) why = Tail(ReadText(dir_.path() / "psi4.log"));
    throw std::runtime_error("psi4 failed: the psi4 program stopped (is it installed?)" +
                             (why.empty() ? std::string() : ": " + why));
  }

  ScratchDirectory dir_;
  pid_t pid_ = -1;
  int input_ = -1;
  FILE* output_ = nullptr;
  int requests_ = 0;
};

namespace {

// The request for one calculation, in the JSON the worker reads.
std::string Request(const std::string& task, const LevelOfTheory& level, const QmSystem& system, bool points,
                    const std::vector<int>& frozenAtoms, const std::vector<QmConstraint>& constraints,
                    int maxCycle) {
  std::string j = "{\"task\": \"" + task + "\", \"method\": \"" + level.method + "\", \"reference\": \"" +
                  level.reference + "\", \"basis\": \"" + level.basis + "\", \"charge\": " +
                  std::to_string(system.charge) + ", \"multiplicity\": " +
                  std::to_string(system.unpairedElectrons + 1) + ", \"atoms\": [";
  for (size_t i = 0; i < system.positions.size(); ++i) {
    const Vec3& p = system.positions[i];
    j += std::string(i ? ", " : "") + "[\"" + ElementSymbol(system.atomicNumbers[i]) + "\"" +
         Fmt(", %.10f", p.x) + Fmt(", %.10f", p.y) + Fmt(", %.10f]", p.z);
  }
  j += std::string("], \"points\": ") + (points ? "true" : "false") + ", \"frozen\": [";
  for (size_t i = 0; i < frozenAtoms.size(); ++i) j += (i ? ", " : "") + std::to_string(frozenAtoms[i]);
  j += "], \"constraints\": [";
  for (size_t i = 0; i < constraints.size(); ++i) {
    j += std::string(i ? ", " : "") + "{\"atoms\": [";
    for (size_t k = 0; k < constraints[i].atoms.size(); ++k) {
      j += (k ? ", " : "") + std::to_string(constraints[i].atoms[k]);
    }
    j += "], \"value\": " + (constraints[i].hasValue ? Fmt("%.10f", constraints[i].value) : "null") + "}";
  }
  return j + "], \"maxcycle\": " + std::to_string(maxCycle) + "}\n";
}

void WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

const std::vector<std::string>& One(const std::multimap<std::string, std::vector<std::string>>& result,
                                    const std::string& key, size_t size) {
  const auto at = result.find(key);
  if (at == result.end() || at->second.size() != size) throw std::runtime_error("psi4 output: no " + key);
  return at->second;
}

std::vector<Vec3> Positions(const std::vector<std::string>& w, size_t from, size_t n) {
  std::vector<Vec3> x;
  for (size_t i = 0; i < n; ++i) {
    x.push_back(kBohrInAngstrom * Vec3{Number(w[from + 3 * i], "a position"), Number(w[from + 3 * i + 1], "a position"),
                                       Number(w[from + 3 * i + 2], "a position")});
  }
  return x;
}

}  // namespace

Psi4Engine::Psi4Engine(const LevelOfTheory& level) : level_(level) {}

Psi4Engine::~Psi4Engine() = default;

std::string Psi4Engine::Description() const {
  std::string method = level_.method == "scf" ? level_.scfName : level_.method == "mp2" ? "MP2 (frozen core, density fitted)" : level_.scfName;
  return " This is the qm2ff stand-in for Gaussian 09. Every number below is computed\n with " + method +
         "/" + level_.basis + " by the psi4 program.\n";
}

QmPoint Psi4Engine::SinglePoint(const QmSystem& system, const std::vector<Vec3>& espPoints) const {
  if (!worker_) worker_ = std::make_unique<Psi4Worker>(system.threads);
  const fs::path& dir = worker_->path();
  if (!espPoints.empty()) {
    std::string grid;
    for (const Vec3& p : espPoints) grid += Fmt("%.10f", p.x) + Fmt(" %.10f", p.y) + Fmt(" %.10f\n", p.z);
    WriteFile(dir / "grid.dat", grid);
  }
  WriteFile(dir / "request.json", Request("point", level_, system, !espPoints.empty(), {}, {}, 0));
  const auto result = worker_->Ask();
  const size_t n = system.atomicNumbers.size();
  QmPoint p;
  p.energy = Number(One(result, "energy", 1)[0], "the energy");
  p.scfEnergy = Number(One(result, "scf", 1)[0], "the SCF energy");
  const auto [from, to] = result.equal_range("gradient");
  for (auto row = from; row != to; ++row) {
    if (row->second.size() != 3) throw std::runtime_error("psi4 output: malformed gradient");
    p.gradient.push_back({Number(row->second[0], "the gradient"), Number(row->second[1], "the gradient"),
                          Number(row->second[2], "the gradient")});
  }
  if (p.gradient.size() != n) throw std::runtime_error("psi4 output: the gradient is incomplete");
  for (const std::string& q : One(result, "charges", n)) p.charges.push_back(Number(q, "the charges"));
  const auto& d = One(result, "dipole", 3);
  p.dipole = {Number(d[0], "the dipole"), Number(d[1], "the dipole"), Number(d[2], "the dipole")};
  if (!espPoints.empty()) {
    std::istringstream in(ReadText(dir / "grid_esp.dat"));
    for (std::string t; in >> t;) p.potential.push_back(Number(t, "the potential"));
    if (p.potential.size() != espPoints.size()) throw std::runtime_error("psi4 output: the potential is incomplete");
  }
  return p;
}

QmOptimisation Psi4Engine::Optimise(const QmSystem& system, const std::vector<int>& frozenAtoms,
                                    const std::vector<QmConstraint>& constraints, int maxCycle) const {
  if (!worker_) worker_ = std::make_unique<Psi4Worker>(system.threads);
  WriteFile(worker_->path() / "request.json",
            Request("optimise", level_, system, false, frozenAtoms, constraints, maxCycle));
  const auto result = worker_->Ask();
  const size_t n = system.atomicNumbers.size();
  QmOptimisation run;
  run.converged = One(result, "converged", 1)[0] == "1";
  const auto [from, to] = result.equal_range("step");
  for (auto step = from; step != to; ++step) {
    if (step->second.size() != 2 + 3 * n) throw std::runtime_error("psi4 output: malformed optimisation step");
    run.stepEnergies.push_back(Number(step->second[0], "a step energy"));
    run.stepScfEnergies.push_back(Number(step->second[1], "a step energy"));
    run.steps.push_back(Positions(step->second, 2, n));
  }
  if (run.steps.empty()) throw std::runtime_error("psi4 output: the optimisation took no step");
  const auto measures = result.find("measures");
  if (measures != result.end() && measures->second.size() == 4) {
    run.measures.clear();
    for (const std::string& m : measures->second) run.measures.push_back(Number(m, "the convergence measures"));
  }
  for (const int a : frozenAtoms) run.steps.back()[static_cast<size_t>(a)] = system.positions[static_cast<size_t>(a)];
  return run;
}
