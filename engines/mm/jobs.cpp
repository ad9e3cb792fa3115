#include "jobs.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <sstream>
#include <thread>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "coordinates.h"
#include "engine.h"
#include "geometry.h"
#include "molecule.h"
#include "parameters.h"
#include "restraints.h"
#include "text.h"
#include "topology.h"

namespace mm {

namespace {

// Force constants that hold a scanned coordinate at its target:
// kcal/mol/A^2 for distances, kcal/mol/rad^2 for angles and dihedrals.
constexpr double kScanForce = 1.0e5;

// The RMS gradient (kcal/mol/A) at which the minimisation of a restrained
// point stops. Against the 1e-3 of a free minimum it takes a third less work
// and moves the points' energies by less than 1e-4 kcal/mol.
constexpr double kPointTolerance = 1.0e-2;

// Output files of a job, written together once the job has succeeded.
struct Outputs {
  std::vector<std::pair<std::string, std::string>> files;
  void Add(const std::string& path, const std::string& text) { files.emplace_back(path, text); }
  void WriteAll() const {
    for (const auto& [path, text] : files) {
      const auto slash = path.rfind('/');
      if (slash != std::string::npos) mkdir(path.substr(0, slash).c_str(), 0777);
      WriteWholeFile(path, text);
    }
  }
};

// Removes output files left by an earlier run, so that a job that fails
// leaves none of its outputs behind rather than stale ones.
void RemoveStale(const std::vector<std::string>& paths) {
  for (const auto& p : paths) std::remove(p.c_str());
}

// Removes the cards results/<term>-<k>.card of earlier runs.
void RemoveResultCards(const std::string& term) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("results", ec)) {
    const std::string name = entry.path().filename().string();
    const std::string prefix = term + "-";
    if (name.size() > prefix.size() + 5 && StartsWith(name, prefix) &&
        name.compare(name.size() - 5, 5, ".card") == 0 &&
        name.find_first_not_of("0123456789", prefix.size()) == name.size() - 5)
      std::filesystem::remove(entry.path(), ec);
  }
}

struct Setup {
  Molecule mol;
  Coords start;
  std::vector<Restraint> startRestraints;  // the script's restraint streams
};

Setup Prepare(const JobScript& script, std::ostream& log) {
  Topology top;
  for (const auto& f : script.topologies) ReadTopology(f, top);
  ParameterSet set;
  for (const auto& f : script.parameters) ReadParameters(f, set);
  Setup s;
  s.mol = BuildMolecule(ChooseResidue(top, script.residue), top.masses, set);
  s.start = ReadCoordinates(script.coordinates, s.mol);
  for (const auto& f : script.restraints) {
    const auto r = ReadRestraintStream(f, s.mol);
    s.startRestraints.insert(s.startRestraints.end(), r.begin(), r.end());
  }
  log << "MOLECULE> residue " << s.mol.residue << ": " << s.mol.natm() << " atoms, "
      << s.mol.bonds.size() << " bonds, " << s.mol.angles.size() << " angles, "
      << s.mol.dihedrals.size() << " dihedrals, " << s.mol.impropers.size() << " impropers, "
      << s.mol.pairs.size() << " non-bonded pairs\n";
  return s;
}

void LogEnergy(std::ostream& log, const std::string& label, const EnergyTerms& e, double grms) {
  log << Format("ENER> %-24s total %16.8f bond %14.8f angle %14.8f urey %14.8f dihe %14.8f "
                "impr %14.8f elec %16.8f vdw %14.8f grms %12.8f\n",
                label.c_str(), e.Total(), e.bond, e.angle, e.ub, e.dihedral, e.improper, e.elec, e.vdw,
                grms);
}

// Minimises to the RMS gradient tolerance (kcal/mol/A) and logs the result;
// returns the structure.
Coords MinimizeAndLog(Engine& engine, const Coords& start, const std::vector<Restraint>& r,
                      const std::string& label, std::ostream& log, double* energy = nullptr,
                      double* grms = nullptr, double tolerance = 1e-3) {
  Coords c = engine.Minimize(start, r, tolerance);
  const EnergyTerms e = engine.Energies(c);
  const double g = engine.GradientRms(c);
  LogEnergy(log, label, e, g);
  if (energy) *energy = e.Total();
  if (grms) *grms = g;
  return c;
}

std::string Lowered(const std::string& s) { return ToLower(s); }

void MinimizeJob(const JobScript& script, std::ostream& log, bool restrained) {
  const std::string outFile = restrained ? "emp_with_retraints.card" : "emp.card";
  RemoveStale({outFile});
  Setup s = Prepare(script, log);
  std::vector<Restraint> r = s.startRestraints;
  if (restrained) {
    const auto fromFile = ReadRestraintStream("restraints.str", s.mol);
    r.insert(r.end(), fromFile.begin(), fromFile.end());
  }
  Engine engine(s.mol);
  LogEnergy(log, "start", engine.Energies(s.start), engine.GradientRms(s.start));
  const Coords c = MinimizeAndLog(engine, s.start, r, "minimized", log);
  Outputs out;
  out.Add(outFile, CardText(s.mol, c, restrained ? "minimized with restraints" : "minimized"));
  out.WriteAll();
}

int AtomsOfTermType(const std::string& type, const std::string& path) {
  if (type == "b") return 2;
  if (type == "a") return 3;
  if (type == "d" || type == "i") return 4;
  throw InputError(path, 0, "termtype must be b, a or d, not '" + type + "'");
}

// One point of a one-dimensional scan: what its minimisation starts from and
// what it gives.
struct ScanPoint {
  double target = 0.0;  // the scanned coordinate's value, Angstrom or degrees
  std::vector<Restraint> restraints;
  bool haveQm = false;  // the QM structure of the point is there to start from
  Coords qm;
  std::string label;
  Coords result;
  double energy = 0.0;  // kcal/mol, restraints not included
  double grms = 0.0;    // kcal/mol/Angstrom
  std::string log;      // the point's ENER> line
};

// Minimises every point, from its QM structure or else from emin, on as
// many engines at once as there are cores (made when first needed and kept
// for the job's next terms); each point's result is the same whichever
// engine computes it.
void MinimizePoints(const Molecule& mol, const Coords& emin, std::vector<ScanPoint>& points,
                    std::vector<std::unique_ptr<Engine>>& engines) {
  const int n = static_cast<int>(points.size());
  const int workers = std::max(1, std::min(n, static_cast<int>(std::thread::hardware_concurrency())));
  if (static_cast<int>(engines.size()) < workers) engines.resize(workers);
  std::atomic<int> next{0};
  std::vector<std::exception_ptr> failures(workers);
  const auto work = [&](int w) {
    try {
      if (!engines[w]) engines[w] = std::make_unique<Engine>(mol);
      for (int i = next++; i < n; i = next++) {
        ScanPoint& p = points[i];
        std::ostringstream log;
        p.result = MinimizeAndLog(*engines[w], p.haveQm ? p.qm : emin, p.restraints, p.label, log,
                                  &p.energy, &p.grms, kPointTolerance);
        p.log = log.str();
      }
    } catch (...) {
      failures[w] = std::current_exception();
      next = n;
    }
  };
  std::vector<std::thread> threads;
  for (int w = 1; w < workers; ++w) threads.emplace_back(work, w);
  work(0);
  for (auto& t : threads) t.join();
  for (const auto& f : failures)
    if (f) std::rethrow_exception(f);
}

void PesJob(const JobScript& script, std::ostream& log) {
  RemoveStale({"surf.dat", "emp.card"});
  Setup s = Prepare(script, log);
  Engine engine(s.mol);
  const SetFile list = ReadSetFile("term.list", s.mol);
  const int nterms = list.GetInt("nterms");
  if (nterms < 0) throw InputError("term.list", list.lineOf.at("nterms"), "negative nterms");
  for (int t = 1; t <= nterms; ++t) {
    const std::string var = "term" + std::to_string(t);
    if (!list.Has(var)) continue;
    const std::string term = list.Get(var);
    RemoveResultCards(ToLower(term));
  }
  const Coords emin = MinimizeAndLog(engine, s.start, s.startRestraints, "minimum", log);

  std::vector<std::unique_ptr<Engine>> engines;  // the scan points' engines
  Outputs out;
  std::string surf;
  for (int t = 1; t <= nterms; ++t) {
    const std::string name = list.Get("term" + std::to_string(t));
    const std::string termFile = name + ".inp";
    const SetFile term = ReadSetFile(termFile, s.mol);
    const int np = term.GetInt("NP");
    if (np < 1) throw InputError(termFile, term.lineOf.at("np"), "NP must be positive");
    const int na = AtomsOfTermType(term.Get("termtype"), termFile);
    std::vector<int> atoms;
    for (int a = 1; a <= na; ++a) {
      const std::string var = "A" + std::to_string(a);
      const int idx = s.mol.Index(term.Get(var));
      if (idx < 0)
        throw InputError(termFile, term.lineOf.at(ToLower(var)),
                         "atom " + term.Get(var) + " is not in residue " + s.mol.residue);
      if (std::find(atoms.begin(), atoms.end(), idx) != atoms.end())
        throw InputError(termFile, term.lineOf.at(ToLower(var)),
                         "atom " + term.Get(var) + " occurs twice in the term");
      atoms.push_back(idx);
    }
    const std::string lower = Lowered(name);
    // The points are independent minimisations: set them up in order, run
    // them on every core, and take the results back in order.
    std::vector<ScanPoint> points(np);
    for (int k = 1; k <= np; ++k) {
      ScanPoint& p = points[k - 1];
      p.target = term.GetReal("va" + std::to_string(k));
      p.restraints = term.cons;
      p.restraints.push_back(Restraint{atoms, p.target, kScanForce, false});
      const std::string qmFile = "bond/" + lower + "/pdb/" + std::to_string(k - 1) + ".pdb";
      p.haveQm = FileExists(qmFile);
      if (p.haveQm) p.qm = ReadCoordinates(qmFile, s.mol);
      p.label = name + " " + std::to_string(k);
    }
    MinimizePoints(s.mol, emin, points, engines);
    std::vector<double> value(np), energy(np), rmsd(np), grms(np);
    for (int k = 1; k <= np; ++k) {
      const ScanPoint& p = points[k - 1];
      log << p.log;
      double v = InternalCoordinate(p.result, atoms);
      if (na == 4) v = p.target + WrapDeg(v - p.target);
      value[k - 1] = v;
      energy[k - 1] = p.energy;
      grms[k - 1] = p.grms;
      rmsd[k - 1] = p.haveQm ? RmsdSuperposed(p.qm, p.result) : 0.0;
      out.Add("results/" + lower + "-" + std::to_string(k - 1) + ".card",
              CardText(s.mol, p.result, name + " point " + std::to_string(k)));
    }
    const double lowest = *std::min_element(energy.begin(), energy.end());
    for (int k = 0; k < np; ++k)
      surf += Format("%.6f", value[k]) + " " + Format("%.6f", energy[k] - lowest) + " " + Format("%.6f", rmsd[k]) +
              " " + Format("%.6f", grms[k]) + "\n";
  }
  out.Add("emp.card", CardText(s.mol, emin, "minimized"));
  out.Add("surf.dat", surf);
  out.WriteAll();
}

void MultiPesJob(const JobScript& script, const std::map<std::string, std::string>& settings,
                 std::ostream& log) {
  RemoveStale({"surf-multi-pes.dat"});
  const auto it = settings.find("termname");
  if (it == settings.end() || it->second.empty())
    throw std::runtime_error("the multi-pes job needs the command-line setting termname:NAME");
  const std::string scan = it->second;
  Setup s = Prepare(script, log);
  Engine engine(s.mol);
  const std::vector<Restraint> held = ReadRestraintStream("restraints.str", s.mol);
  const std::string streamFile = scan + ".str";
  const SetFile st = ReadSetFile(streamFile, s.mol);
  const int nd = st.GetInt("nd"), np = st.GetInt("np");
  if (nd < 1) throw InputError(streamFile, st.lineOf.at("nd"), "nd must be positive");
  if (np < 0) throw InputError(streamFile, st.lineOf.at("np"), "np must not be negative");
  std::vector<std::vector<int>> dihedrals(nd);
  for (int d = 1; d <= nd; ++d)
    for (int k = 1; k <= 4; ++k) {
      const std::string var = "a" + std::to_string(k) + "_" + std::to_string(d);
      const int idx = s.mol.Index(st.Get(var));
      if (idx < 0)
        throw InputError(streamFile, st.lineOf.at(var), "atom " + st.Get(var) + " is not in residue " + s.mol.residue);
      dihedrals[d - 1].push_back(idx);
    }
  std::string text;
  for (int i = 1; i <= np; ++i) {
    std::vector<Restraint> r = held;
    for (int d = 1; d <= nd; ++d)
      r.push_back(Restraint{dihedrals[d - 1],
                            st.GetReal("va" + std::to_string(i) + "_" + std::to_string(d)), kScanForce, false});
    const std::string pdb = "bond/" + Lowered(scan) + "/pdb/" + st.Get("pdbid" + std::to_string(i)) + ".pdb";
    double e = 0;
    MinimizeAndLog(engine, ReadCoordinates(pdb, s.mol), r, scan + " " + std::to_string(i), log, &e, nullptr,
                   kPointTolerance);
    text += Format("%.6f", e) + "\n";
  }
  Outputs out;
  out.Add("surf-multi-pes.dat", text);
  out.WriteAll();
}

void TargetStructuresJob(const JobScript& script, std::ostream& log) {
  RemoveStale({"target-str.dat"});
  Setup s = Prepare(script, log);
  Engine engine(s.mol);
  const std::vector<Restraint> r = ReadRestraintStream("restraints.str", s.mol);
  const SetFile st = ReadSetFile("multi_str.str", s.mol);
  const int nstr = st.GetInt("nstr");
  if (nstr < 0) throw InputError("multi_str.str", st.lineOf.at("nstr"), "nstr must not be negative");
  const std::string dir = st.Get("fstr");
  // Structures are numbered from 1, or from 0 when a structure 0 exists.
  const int first = FileExists(dir + "0.pdb") ? 0 : 1;
  std::string text;
  for (int i = first; i < first + nstr; ++i) {
    double e = 0;
    MinimizeAndLog(engine, ReadCoordinates(dir + std::to_string(i) + ".pdb", s.mol), r,
                   "structure " + std::to_string(i), log, &e, nullptr, kPointTolerance);
    text += Format("%.6f", e) + "\n";
  }
  Outputs out;
  out.Add("target-str.dat", text);
  out.WriteAll();
}

}  // namespace

void RunJob(const JobScript& script, const std::map<std::string, std::string>& settings,
            std::ostream& log) {
  switch (script.job) {
    case JobKind::Minimize: MinimizeJob(script, log, false); break;
    case JobKind::RestrainedMinimize: MinimizeJob(script, log, true); break;
    case JobKind::Pes: PesJob(script, log); break;
    case JobKind::MultiPes: MultiPesJob(script, settings, log); break;
    case JobKind::TargetStructures: TargetStructuresJob(script, log); break;
  }
}

}  // namespace mm
