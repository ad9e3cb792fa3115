// The QM references of the bonded fit through the executable, with the
// stand-in programs: methanol's force constants after its soft-dihedral scan,
// and a two-dimensional scan of ethanol. A wrapper in front of g09 records
// every QM job the program starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engines/qm/g09_support.h"
#include "gaussian.h"
#include "support/methanol_inputs.h"
#include "support/printed.h"
#include "support/run.h"

namespace {

using namespace testing_support;
using mm_testing::AngleDeg;
using mm_testing::Dist;
namespace fs = std::filesystem;

const fs::path kSource = QM2FF_SOURCE_DIR;

// A directory with g09 (recording the deck of every job in g09.log) and
// charmm in front of the stand-ins.
void AddJobRecorder(const fs::path& dir) {
  const fs::path bin = dir / "recorder";
  if (fs::exists(bin)) return;
  fs::create_directories(bin);
  std::ofstream(bin / "g09") << "#!/bin/sh\nreadlink /proc/$$/fd/0 >> '"
                             << (dir / "g09.log").string()
                             << "'\nexec '" QM2FF_ENGINES_BIN "/g09' \"$@\"\n";
  fs::permissions(bin / "g09", fs::perms::owner_all, fs::perm_options::add);
  fs::create_symlink(fs::path(QM2FF_ENGINES_BIN) / "charmm", bin / "charmm");
}

// Runs qm2ff on test.inp and returns the decks of the QM jobs it started.
RunResult RunRecorded(const fs::path& dir, std::vector<std::string>& jobs) {
  AddJobRecorder(dir);
  fs::remove(dir / "g09.log");
  const RunResult r = Run(
      "SHELL=/bin/sh PATH='" + (dir / "recorder").string() + "':\"$PATH\" '" QM2FF_EXE "' test.inp",
      dir);
  jobs.clear();
  std::istringstream log(ReadFile(dir / "g09.log"));
  for (std::string line; std::getline(log, line);) jobs.push_back(line);
  return r;
}

std::vector<std::pair<double, double>> Table(const std::string& text) {
  std::vector<std::pair<double, double>> rows;
  std::istringstream in(text);
  for (double a, b; in >> a >> b;) rows.emplace_back(a, b);
  return rows;
}

std::vector<double> InputCoordinates(const fs::path& out) {
  Gaussian::GaussianOutputData w;
  Gaussian::ReadGaussianOutput(out.string(), w);
  return w.prop.xyzInputOrient;
}

fs::path TermDir(const fs::path& bond, char type) {
  for (const auto& e : fs::directory_iterator(bond))
    if (e.path().filename().string()[0] == type) return e.path();
  return {};
}

TEST(BondedQMReferences, MethanolForceConstantsAfterItsSoftDihedralScan) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  CopyMethanolBondedInputs(d);
  dir.Write("test.inp",
            "topology top_methanol.rtf\nparam methanol_partial.prm\nreadtop top_methanol.rtf\n"
            "readcoorxyz methanol.xyz\noptimizegeometry\n"
            "optintra\n charmm_input charmm\n incl bond\n incl angle\n incl dihe\n"
            " soft\n  dihe CB OG\n end\n fc\nrun\n");
  std::vector<std::string> jobs;
  const RunResult first = RunRecorded(d, jobs);
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  EXPECT_EQ(jobs.size(), 1u + 37u + 2u);  // the optimisation, the scan, two force constants
  EXPECT_TRUE(Contains(first.out,
                       "$ dihedral HGP1 OG311 CG331 HGA3 has no term: it starts from "
                       "0.01 kcal/mol, multiplicity 2, phase 0\n"));
  EXPECT_TRUE(Contains(first.out, "$ flexible dihedral was defined : HB1 CB OG HG1 \n"));
  EXPECT_TRUE(Contains(dir.Read("add_para.inp"),
                       "  HGP1   OG311   CG331    HGA3    0.01000    2       0.0"));
  EXPECT_TRUE(Contains(dir.Read("restrdihe.inp"),
                       "CONS DIHE AAAA 1 HB1 AAAA 1 CB AAAA 1 OG AAAA 1 HG1 FORCE 10000.0 MIN "));

  // The soft dihedral: 37 points, each held within 0.1 degree of its value.
  const fs::path soft = TermDir(d / "bond", 'd'), bond = TermDir(d / "bond", 'b'),
                 angle = TermDir(d / "bond", 'a');
  EXPECT_EQ(ReadFile(soft / "info.dat"), "HGA3 CG331 OG311 HGP1 \n");
  auto profile = Table(ReadFile(soft / "qm_ref.dat"));
  ASSERT_EQ(profile.size(), 37u);
  for (int k = 0; k < 36; ++k) {
    const double want = -170.0 + 10.0 * k;
    const bool held = std::any_of(profile.begin(), profile.end(), [&](const auto& p) {
      return std::fabs(std::remainder(p.first - want, 360.0)) < 0.1;
    });
    EXPECT_TRUE(held) << want;
  }
  // A smooth three-fold profile: minima and maxima alike.
  std::sort(profile.begin(), profile.end());
  profile.erase(
      std::unique(profile.begin(), profile.end(),
                  [](const auto& a, const auto& b) { return std::fabs(a.first - b.first) < 1.0; }),
      profile.end());
  std::vector<double> minima, maxima;
  const std::size_t n = profile.size();
  for (std::size_t k = 0; k < n; ++k) {
    const double e = profile[k].second, before = profile[(k + n - 1) % n].second,
                 after = profile[(k + 1) % n].second;
    if (e < before && e < after) minima.push_back(e);
    if (e > before && e > after) maxima.push_back(e);
  }
  ASSERT_EQ(minima.size(), 3u);
  ASSERT_EQ(maxima.size(), 3u);
  EXPECT_LT(*std::max_element(minima.begin(), minima.end()) -
                *std::min_element(minima.begin(), minima.end()),
            0.05);
  EXPECT_LT(*std::max_element(maxima.begin(), maxima.end()) -
                *std::min_element(maxima.begin(), maxima.end()),
            0.1);
  EXPECT_GT(maxima[0], 0.5);

  // The force constants: C-O 0.06 A shorter and C-O-H 4 degrees smaller than
  // in the optimised structure, held to 0.001 A and 0.1 degree.
  const std::vector<double> opt = InputCoordinates(d / "opt1.out");
  const std::vector<double> fcBond = InputCoordinates(bond / "fc.out");
  const std::vector<double> fcAngle = InputCoordinates(angle / "fc.out");
  ASSERT_EQ(fcBond.size(), 18u);
  ASSERT_EQ(fcAngle.size(), 18u);
  using g09_testing::At;
  EXPECT_NEAR(Dist(At(fcBond, 0), At(fcBond, 1)), Dist(At(opt, 0), At(opt, 1)) - 0.06, 0.001);
  EXPECT_NEAR(AngleDeg(At(fcAngle, 0), At(fcAngle, 1), At(fcAngle, 2)), AngleDeg(At(opt, 0), At(opt, 1), At(opt, 2)) - 4.0,
              0.1);
  for (const fs::path& t : {bond, angle}) {
    EXPECT_TRUE(fs::exists(t / "pdb/fc.pdb")) << t;
    EXPECT_FALSE(fs::exists(t / "qm_ref.dat")) << t;  // fc ends before the rigid scans
  }
  EXPECT_TRUE(fs::exists(soft / "forces/36.pdb"));

  // Again: every output is reused.
  const std::string ref = ReadFile(soft / "qm_ref.dat");
  const RunResult second = RunRecorded(d, jobs);
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(jobs.empty()) << jobs.front();
  EXPECT_EQ(ReadFile(soft / "qm_ref.dat"), ref);

  // An output cut off in the middle is moved aside and its job alone runs again.
  const std::string full = ReadFile(soft / "5.scan.out");
  std::ofstream(soft / "5.scan.out") << full.substr(0, full.size() / 2);
  const RunResult third = RunRecorded(d, jobs);
  ASSERT_EQ(third.status, 0) << third.err;
  EXPECT_EQ(jobs, (std::vector<std::string>{(soft / "5.scan.inp").string()}));
  EXPECT_TRUE(Contains(third.out, "5.scan.out is incomplete (no termination line), moved to "));
  EXPECT_EQ(ReadFile(soft / "5.scan.out.incomplete"), full.substr(0, full.size() / 2));
  EXPECT_EQ(ReadFile(soft / "5.scan.out"), full);
  EXPECT_EQ(ReadFile(soft / "qm_ref.dat"), ref);

  // An output that ends normally but holds no structure stops the run, naming it.
  const std::string kept = ReadFile(soft / "7.scan.out");
  std::ofstream(soft / "7.scan.out") << " Optimization completed.\n Normal termination of Gaussian 09.\n";
  const RunResult empty = RunRecorded(d, jobs);
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err,
            "$ err gaussian output " + d.string() + "//bond/" + soft.filename().string() +
                "/7.scan.out holds 0 input-orientation coordinates, 18 expected: inspect "
                "or remove it\n$ err in input script in line : run\n");
  std::ofstream(soft / "7.scan.out") << kept;

  std::string script = dir.Read("test.inp");
  script.erase(script.find(" fc\n"), 4);

  // With `single`: one evaluation of every family against these references
  // (the bond and angle scans are the only new QM jobs), the soft-dihedral
  // table, and status 0. The non-bonded values serve the table's
  // end-to-end energies.
  const std::string par = ReadFile(d / "par_methanol.prm");
  dir.Write("nonbonded.prm", par.substr(par.find("NONBONDED")));
  script.replace(script.find("methanol_partial.prm"), 20, "methanol_partial.prm nonbonded.prm");
  script.replace(script.find("run\n"), 4, " npespoints 3\n single\nrun\n");
  dir.Write("test.inp", script);
  const RunResult single = RunRecorded(d, jobs);
  ASSERT_EQ(single.status, 0) << single.err;
  EXPECT_EQ(single.err, "");
  EXPECT_EQ(jobs.size(), 2u * 3u);
  EXPECT_TRUE(Contains(single.out, "$ test of bonded terms without optimization\n"));
  EXPECT_TRUE(Contains(single.out, "\n sum                   "));
  // Every rmsd_ener printed is that of the energies in the term's qm_ref.dat
  // and charmm.results.dat, points at 10 kcal/mol or more left out; those
  // points are the lines of bond/all.results.dat.
  std::size_t counted = 0;
  for (const fs::path& t : {bond, angle, soft}) {
    const std::string name = t.filename().string();
    const auto qm = Table(ReadFile(t / "qm_ref.dat")), mm = Table(ReadFile(t / "charmm.results.dat"));
    ASSERT_EQ(qm.size(), mm.size()) << name;
    double sum = 0.0;
    int m = 0;
    for (std::size_t k = 0; k < qm.size(); ++k) {
      if (qm[k].second >= 10.0) continue;
      sum += std::pow(qm[k].second - mm[k].second, 2);
      ++m;
    }
    counted += m;
    const auto line = single.out.find(" " + name + " [");
    ASSERT_NE(line, std::string::npos) << name;
    const auto at = single.out.find("rmsd_ener:", line) + 10;
    EXPECT_NEAR(std::stod(single.out.substr(at)), std::sqrt(sum / m), 0.005) << name;
  }
  EXPECT_EQ(Table(dir.Read("bond/all.results.dat")).size(), counted);
  // The soft-dihedral table: the three torsions about C-O, one row of
  // 2 x 3 + 1 numbers per point of the scan.
  const std::string table = dir.Read("results/soft_dihe_CB_OG.dat");
  ASSERT_TRUE(Contains(table, "$dihedral terms with unknown parameters 3 : \n")) << table;
  std::istringstream rows(table.substr(table.find("eref \n") + 6));
  int points = 0;
  for (std::string row; std::getline(rows, row); ++points) {
    std::istringstream words(row);
    int numbers = 0;
    for (double v; words >> v;) ++numbers;
    EXPECT_EQ(numbers, 7) << row;
  }
  EXPECT_EQ(points, 37);
}

TEST(BondedQMReferences, TwoDimensionalScanSpreadsFromTheSeedBelowTheEnergyLimit) {
  if (!fs::exists(fs::path(QM2FF_ENGINES_BIN) / "g09")) GTEST_SKIP() << "no stand-ins built";
  TempDir dir;
  const fs::path d = dir.path();
  for (const char* f : {"ethanol.rtf", "ethanol.prm", "ethanol.pdb"})
    fs::copy(kSource / "tests/data/intra" / f, d);
  dir.Write("minimize_with_restraints.inp",
            "topology ethanol.rtf\nparameters ethanol.prm\nparameters add_para.inp\n"
            "coordinates ethanol.pdb\njob restrained-minimize\n");
  dir.Write(
      "test.inp",
      "topology ethanol.rtf\nparam ethanol.prm\nreadtop ethanol.rtf\nreadcoorpdb ethanol.pdb\n"
      "optimizegeometry\noptintra\n charmm_input .\n incl dihe\n"
      " multisoft\n  dihe H11 C1 C2 O1\n  dihe C1 C2 O1 HO1\n end\n"
      " parammultidihescan\n  meshsize 30\n  cutenergy 0.7\n end\n fc\nrun\n");
  std::vector<std::string> jobs;
  const RunResult first = RunRecorded(d, jobs);
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  const std::string name = "multidimensional-h11_c1_c2_o1-c1_c2_o1_ho1";
  const std::string ref = dir.Read("bond/" + name + "/qm_ref.dat");
  std::vector<std::vector<double>> points;
  std::istringstream in(ref);
  for (double a, b, e; in >> a >> b >> e;) points.push_back({a, b, e});
  ASSERT_GE(points.size(), 10u);  // beyond the seed and its first ring
  EXPECT_LT(points.size(), 144u / 4);
  EXPECT_EQ(jobs.size(), 1 + points.size());
  EXPECT_EQ(std::count_if(points.begin(), points.end(), [](const auto& p) { return p[2] == 0.0; }),
            1);
  // Every point below the limit has its four neighbours computed, and every
  // point but the seed is the neighbour of one below it.
  const auto computed = [&](double a, double b) {
    return std::any_of(points.begin(), points.end(), [&](const auto& p) {
      return std::fabs(std::remainder(p[0] - a, 360.0)) < 1e-6 &&
             std::fabs(std::remainder(p[1] - b, 360.0)) < 1e-6;
    });
  };
  int spread = 0;
  for (const auto& p : points) {
    if (p[2] >= 0.7) continue;
    ++spread;
    for (const auto& s : {std::pair{30.0, 0.0}, {-30.0, 0.0}, {0.0, 30.0}, {0.0, -30.0}})
      EXPECT_TRUE(computed(p[0] + s.first, p[1] + s.second)) << p[0] << " " << p[1];
  }
  EXPECT_GE(spread, 3);
  EXPECT_EQ(std::count(ref.begin(), ref.end(), '\n'), static_cast<long>(points.size()));
  const std::string pointFile = dir.Read(name + ".dat");
  EXPECT_EQ(std::count(pointFile.begin(), pointFile.end(), '\n'), static_cast<long>(points.size()));

  const RunResult second = RunRecorded(d, jobs);
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(jobs.empty());
  EXPECT_EQ(dir.Read("bond/" + name + "/qm_ref.dat"), ref);
}

}  // namespace
