// The bonded fit through the executable with the stand-ins on PATH: methanol
// whose parameter file lacks the C-O bond, the C-O-H angle and the H-C-O-H
// dihedral, and ethanol's two coupled soft dihedrals. A wrapper in front of
// g09 records every QM job; what each run prints and writes is compared with
// the copies under tests/data/intra/runs/MOLECULE/STEP/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/methanol_inputs.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

// Runs qm2ff on test.inp in dir, with the directory `first` (if any) in front
// of PATH; jobs receives the decks of the QM jobs it started.
RunResult RunRecorded(const fs::path& dir, std::vector<std::string>& jobs, const std::string& first = "") {
  const fs::path bin = dir / "recorder";
  if (!fs::exists(bin)) {
    fs::create_directories(bin);
    std::ofstream(bin / "g09") << "#!/bin/sh\nreadlink /proc/$$/fd/0 >> '" << (dir / "g09.log").string()
                               << "'\nexec '" QM2FF_ENGINES_BIN "/g09' \"$@\"\n";
    fs::permissions(bin / "g09", fs::perms::owner_all, fs::perm_options::add);
  }
  fs::remove(dir / "g09.log");
  const std::string path = (first.empty() ? "" : first + ":") + bin.string();
  const RunResult r = Run("SHELL=/bin/sh PATH='" + path + "':\"$PATH\" '" QM2FF_EXE "' test.inp", dir);
  jobs.clear();
  std::istringstream log(ReadFile(dir / "g09.log"));
  for (std::string line; std::getline(log, line);) jobs.push_back(line);
  return r;
}

// A directory in dir whose charmm writes nothing and fails.
std::string BrokenCharmm(const TempDir& dir) {
  const fs::path charmm = dir.Write("broken/charmm", "#!/bin/sh\nexit 1\n");
  fs::permissions(charmm, fs::perms::owner_all, fs::perm_options::add);
  return charmm.parent_path().string();
}

// The pairs of numbers that start the lines of text.
std::vector<std::pair<double, double>> Table(const std::string& text) {
  std::vector<std::pair<double, double>> rows;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    double a = 0.0, b = 0.0;
    if (words >> a >> b) rows.emplace_back(a, b);
  }
  return rows;
}

// The minima and the maxima of a periodic profile of (value, energy) rows,
// values within a degree counted once.
std::pair<std::vector<double>, std::vector<double>> Extrema(std::vector<std::pair<double, double>> p) {
  std::sort(p.begin(), p.end());
  p.erase(std::unique(p.begin(), p.end(), [](auto& a, auto& b) { return std::fabs(a.first - b.first) < 1.0; }),
          p.end());
  std::pair<std::vector<double>, std::vector<double>> extrema;
  for (std::size_t k = 0, n = p.size(); k < n; ++k) {
    const double e = p[k].second, before = p[(k + n - 1) % n].second, after = p[(k + 1) % n].second;
    if (e < before && e < after) extrema.first.push_back(e);
    if (e > before && e > after) extrema.second.push_back(e);
  }
  return extrema;
}

double Spread(const std::vector<double>& v) {
  const auto [low, high] = std::minmax_element(v.begin(), v.end());
  return *high - *low;
}

const std::string kMethanol =
    "topology top_methanol.rtf\nparam methanol_partial.prm\nreadtop top_methanol.rtf\n"
    "readcoorxyz methanol.xyz\noptimizegeometry\noptintra\n charmm_input charmm\n";
const std::string kFamilies = " incl bond\n incl angle\n incl dihe\n";
const std::string kBond = "bond/b_cb_og/", kAngle = "bond/a_cb_og_hg1/", kSoft = "bond/d_hb1_cb_og_hg1/";

TEST(BondedRun, MethanolReferencesRerunsAndOneEvaluation) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  CopyMethanolBondedInputs(d);
  const std::string soft = kFamilies + " soft\n  dihe CB OG\n end\n";
  dir.Write("test.inp", kMethanol + soft + " fc\nrun\n");
  std::vector<std::string> jobs;
  const std::vector<std::string> references = {"restrdihe.inp", "add_para.inp", kBond + "info.dat",
                                                kBond + "pdb/fc.pdb", kAngle + "info.dat", kAngle + "pdb/fc.pdb",
                                                kSoft + "info.dat", kSoft + "qm_ref.dat"};
  RunResult r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jobs.size(), 1u + 37u + 2u);  // the optimisation, the scan, two force constants
  ExpectSameAsReference(RunText(r.out, d.string()), "intra/runs/methanol/fc/out.txt");
  ExpectSameFilesAsReference(d, references, "intra/runs/methanol/fc");
  EXPECT_FALSE(fs::exists(d / kBond / "qm_ref.dat"));  // fc ends before the rigid scans
  // The stand-in's soft-dihedral profile is smooth and three-fold.
  const auto [minima, maxima] = Extrema(Table(dir.Read(kSoft + "qm_ref.dat")));
  ASSERT_EQ(minima.size(), 3u);
  ASSERT_EQ(maxima.size(), 3u);
  EXPECT_LT(Spread(minima), 0.05);
  EXPECT_LT(Spread(maxima), 0.1);

  // Again: every output is reused.
  r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jobs, std::vector<std::string>{});
  ExpectSameFilesAsReference(d, references, "intra/runs/methanol/fc");

  // An output cut off in the middle, its deck lost, is moved aside and its job alone runs again.
  const std::string full = dir.Read(kSoft + "5.scan.out");
  dir.Write(kSoft + "5.scan.out", full.substr(0, full.size() / 2));
  fs::remove(d / kSoft / "5.scan.inp");
  r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jobs, std::vector<std::string>{(d / kSoft / "5.scan.inp").string()});
  EXPECT_TRUE(Contains(r.out, "5.scan.out is incomplete (no termination line), moved to "));
  EXPECT_EQ(dir.Read(kSoft + "5.scan.out.incomplete"), full.substr(0, full.size() / 2));
  EXPECT_EQ(dir.Read(kSoft + "5.scan.out"), full);

  // A deck on disk for another job (another route) ran that job alone again.
  const std::string deck = dir.Read(kSoft + "9.scan.inp");
  dir.Write(kSoft + "9.scan.inp", std::regex_replace(deck, std::regex("MaxCycle=20"), "MaxCycle=9"));
  r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jobs, std::vector<std::string>{(d / kSoft / "9.scan.inp").string()});
  EXPECT_TRUE(Contains(r.out, "9.scan.inp differs from the deck that produced "));
  EXPECT_EQ(dir.Read(kSoft + "9.scan.inp"), deck);
  EXPECT_TRUE(fs::exists(d / kSoft / "9.scan.out.previous"));

  // An output that ends normally but holds no structure stops the run, naming it.
  const std::string kept = dir.Read(kSoft + "7.scan.out");
  dir.Write(kSoft + "7.scan.out", " Optimization completed.\n Normal termination of Gaussian 09.\n");
  r = RunRecorded(d, jobs);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "$ err gaussian output " + d.string() + "//" + kSoft +
                       "7.scan.out holds 0 input-orientation coordinates, 18 expected: inspect or remove it\n"
                       "$ err in input script in line : run\n");
  dir.Write(kSoft + "7.scan.out", kept);

  // `printmis` ends after the parameter file.
  dir.Write("test.inp", kMethanol + kFamilies + " printmis\nrun\n");
  fs::remove(d / "add_para.inp");
  r = RunRecorded(d, jobs);
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectSameFilesAsReference(d, {"add_para.inp"}, "intra/runs/methanol/fc");
  ExpectSameAsReference(RunText(r.out, d.string()), "intra/runs/methanol/printmis/out.txt");

  // With `single` and two target structures: one evaluation of every family
  // (the bond and angle scans are the only new QM jobs) and status 0. The
  // non-bonded values serve the end-to-end energies of the table.
  dir.Write("bond/target-structures/n-structures.dat", "2 structures\n");
  fs::copy(d / kSoft / "0.scan.out", d / "bond/target-structures/0.out");
  fs::copy(d / kSoft / "12.scan.out", d / "bond/target-structures/1.out");
  const std::string par = dir.Read("par_methanol.prm");
  dir.Write("nonbonded.prm", par.substr(par.find("NONBONDED")));
  std::string script = kMethanol + soft + " npespoints 3\n single\nrun\n";
  script.replace(script.find(".prm"), 4, ".prm nonbonded.prm");
  dir.Write("test.inp", script);
  r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(jobs.size(), 2u * 3u);
  ExpectSameAsReference(RunText(r.out, d.string()), "intra/runs/methanol/single/out.txt");
  std::vector<std::string> files = {"bond/all.results.dat", "results/soft_dihe_CB_OG.dat", "term.list",
                                    "restraints.str", "multi_str.str", "bond/target-structures/qm_ref.dat",
                                    "bond/target-structures/energy.results.dat"};
  for (const std::string& t : {kBond, kAngle, kSoft}) {
    files.push_back(t + "qm_ref.dat");
    files.push_back(t + "charmm.results.dat");
    files.push_back(t.substr(5, t.size() - 6) + ".inp");
    // Its rmsd_ener is that of the energies in the two files, points at 10
    // kcal/mol or more left out.
    const auto qm = Table(dir.Read(t + "qm_ref.dat")), mm = Table(dir.Read(t + "charmm.results.dat"));
    ASSERT_EQ(qm.size(), mm.size()) << t;
    double sum = 0.0;
    int m = 0;
    for (std::size_t k = 0; k < qm.size(); ++k)
      if (qm[k].second < 10.0) sum += std::pow(qm[k].second - mm[k].second, 2), ++m;
    const auto at = r.out.find("rmsd_ener:", r.out.find(" " + t.substr(5, t.size() - 6) + " [")) + 10;
    EXPECT_NEAR(std::stod(r.out.substr(at)), std::sqrt(sum / m), 0.005) << t;
  }
  ExpectSameFilesAsReference(d, files, "intra/runs/methanol/single");

  // A charmm that writes nothing: the evaluation names the job once, and the
  // target structures without MM energies end the run.
  r = RunRecorded(d, jobs, BrokenCharmm(dir));
  EXPECT_EQ(r.status, 1);
  ExpectSameAsReference(RunText(r.err, d.string()), "intra/runs/methanol/broken/err.txt");
}

// One family, every family, and a start from an earlier result.
TEST(BondedRun, MethanolFits) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  CopyMethanolBondedInputs(d);
  std::vector<std::string> jobs;
  // Runs the fit of section; returns what it printed and the values of the
  // objective's " sum" lines.
  std::vector<double> sums;
  const auto fit = [&](const std::string& section, const std::string& step) {
    dir.Write("test.inp", kMethanol + " npespoints 3\n sfactor SP 1.0\n" + section + "run\n");
    const RunResult r = RunRecorded(d, jobs);
    EXPECT_EQ(r.status, 0) << r.err;
    ExpectSameFilesAsReference(d, {"add_para.inp"}, "intra/runs/methanol/" + step);
    sums.clear();
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
      if (line.rfind(" sum ", 0) == 0) sums.push_back(std::stod(line.substr(5)));
    return r.out;
  };
  const std::size_t npos = std::string::npos;
  // One family: the bond stage alone lowers the objective.
  std::string out = fit(" incl bond\n", "bond");
  ASSERT_GT(sums.size(), 2u);
  EXPECT_LT(sums.back(), sums.front());
  EXPECT_EQ(out.find("$ optimization of angle terms"), npos);
  EXPECT_NE(out.find("$ fitted parameters : " + d.string() + "//add_para.inp\n"), npos);
  // Every family: dihedrals, bonds, angles, then one evaluation of all of
  // them, then the table of the one-dimensional terms.
  out = fit(kFamilies, "all");
  std::size_t at = 0;
  for (const char* line : {"$ optimization of dihedral and improper terms \n", "$ optimization of bond terms\n",
                           "$ optimization of angle terms\n", "$ test of bonded terms without optimization\n",
                           "$ one-dimensional terms at the start and at the end of the fit\n"}) {
    at = out.find(line, at);
    ASSERT_NE(at, npos) << line;
  }
  for (const char* term : {" b_cb_og ", " a_cb_og_hg1 ", " d_"}) EXPECT_NE(out.find(term, at), npos) << term;
  // A start from that result takes it whole: one evaluation writes it back.
  fs::copy(d / "add_para.inp", d / "previous.prm");
  fit(" readprev previous.prm\n" + kFamilies + " single\n", "all");
  EXPECT_EQ(sums.size(), 1u);
}

// Ethanol's H11-C1-C2-O1 and C1-C2-O1-HO1 on a 30-degree grid spread from
// the optimised structure until every point has a neighbour 0.7 kcal/mol
// above the lowest or more, then one evaluation of the MM side.
TEST(BondedRun, TwoDimensionalScanSpreadsFromTheSeedBelowTheEnergyLimit) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  for (const char* f : {"ethanol.rtf", "ethanol.prm", "ethanol.pdb"}) fs::copy(DataPath("intra/") + f, d);
  for (const auto& [file, job] : {std::pair{"minimize", "minimize"}, {"pes", "pes"}, {"multi-pes", "multi-pes"},
                                  {"minimize_with_restraints", "restrained-minimize"}})
    dir.Write(std::string("charmm/") + file + ".inp",
              "topology ethanol.rtf\nparameters ethanol.prm\nparameters add_para.inp\ncoordinates ethanol.pdb\njob " +
                  std::string(job) + "\n");
  const std::string script =
      "topology ethanol.rtf\nparam ethanol.prm\nreadtop ethanol.rtf\nreadcoorpdb ethanol.pdb\n"
      "optimizegeometry\noptintra\n charmm_input charmm\n incl dihe\n"
      " multisoft\n  dihe H11 C1 C2 O1\n  dihe C1 C2 O1 HO1\n end\n"
      " parammultidihescan\n  meshsize 30\n  cutenergy 0.7\n end\n";
  dir.Write("test.inp", script + " fc\nrun\n");
  const std::string name = "multidimensional-h11_c1_c2_o1-c1_c2_o1_ho1";
  const std::vector<std::string> files = {"bond/" + name + "/qm_ref.dat", name + ".dat"};
  std::vector<std::string> jobs;
  RunResult r = RunRecorded(d, jobs);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectSameFilesAsReference(d, files, "intra/runs/ethanol/fc");
  std::vector<std::vector<double>> points;
  std::istringstream in(dir.Read(files[0]));
  for (double a, b, e; in >> a >> b >> e;) points.push_back({a, b, e});
  EXPECT_EQ(jobs.size(), 1 + points.size());
  // Every point below the limit has its four neighbours computed.
  const auto computed = [&](double a, double b) {
    return std::any_of(points.begin(), points.end(), [&](const auto& p) {
      return std::fabs(std::remainder(p[0] - a, 360.0)) < 1e-6 && std::fabs(std::remainder(p[1] - b, 360.0)) < 1e-6;
    });
  };
  int below = 0;
  for (const auto& p : points) {
    if (p[2] >= 0.7) continue;
    ++below;
    for (const auto& s : {std::pair{30.0, 0.0}, {-30.0, 0.0}, {0.0, 30.0}, {0.0, -30.0}})
      EXPECT_TRUE(computed(p[0] + s.first, p[1] + s.second)) << p[0] << " " << p[1];
  }
  EXPECT_GE(below, 3);
  EXPECT_LT(points.size(), 144u / 4);

  dir.Write("test.inp", script + " single\nrun\n");
  r = RunRecorded(d, jobs);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jobs, std::vector<std::string>{});
  ExpectSameFilesAsReference(d, files, "intra/runs/ethanol/fc");
  ExpectSameAsReference(RunText(r.out, d.string()), "intra/runs/ethanol/single/out.txt");
  ExpectSameFilesAsReference(d, {"bond/" + name + "/charmm.results.dat", "restraints.str", name + ".str"},
                             "intra/runs/ethanol/single");
  // A charmm that writes nothing leaves the scan without MM energies.
  r = RunRecorded(d, jobs, BrokenCharmm(dir));
  EXPECT_EQ(r.status, 1);
  ExpectSameAsReference(RunText(r.err, d.string()), "intra/runs/ethanol/broken/err.txt");
}

}  // namespace
