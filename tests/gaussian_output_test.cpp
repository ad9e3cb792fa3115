#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using Gaussian::GaussianOutputData;
using Gaussian::ReadGaussianOutput;
using namespace testing_support;

// The values an item of the output holds; those of "esp" are the fit points.
std::vector<Real> Values(const GaussianOutputData& w, const std::string& key) {
  const auto& p = w.prop;
  const std::map<std::string, std::vector<Real>> values = {
      {"energy", {p.energy}},
      {"distance", {p.distance}},
      {"force", p.force},
      {"gradIC", p.gradIC},
      {"coorInputOrient", p.xyzInputOrient},
      {"coorStandardOrient", p.xyzStandardOrient},
      {"coorZMatrix", p.xyzZmatrixOrient},
      {"dipole", {p.dipole.x, p.dipole.y, p.dipole.z, p.dipole.norma}},
      {"mullikenq", p.mullikenq},
      {"espq", p.espq},
      {"convergence", {p.ifconverged ? 1.0 : 0.0}},
      {"esp", p.espcoor}};
  return values.at(key);
}

// Every item read with its values, the potentials at the fit points and
// whether an error termination was seen.
std::string Report(const GaussianOutputData& w) {
  std::string s;
  const auto line = [&s](const std::string& key, const std::vector<Real>& values) {
    s += key + ":";
    for (const Real v : values) s += Format(" %.12g", v);
    s += "\n";
  };
  for (const auto& key : w.options)
    if (w.IfRead(key)) line(key, Values(w, key));
  if (!w.prop.espval.empty()) line("espval", w.prop.espval);
  if (w.prop.iferror) s += "error termination\n";
  return s;
}

// The outputs of landmarks.out, each after a line "@@ name" (a name ending
// in "(no final newline)" loses the newline before the next case).
TEST(ReadGaussianOutput, ItemsReadFromTheirLandmarks) {
  const std::string all = ReadFile(DataPath("gaussian/landmarks.out"));
  TempDir dir;
  std::string report;
  for (std::size_t at = all.find("@@ "); at != std::string::npos;) {
    const std::size_t body = all.find('\n', at) + 1, next = all.find("\n@@ ", body - 1);
    const std::string name = all.substr(at + 3, body - 1 - (at + 3));
    std::string text = all.substr(body, (next == std::string::npos ? all.size() : next + 1) - body);
    if (name.ends_with("(no final newline)")) text.pop_back();
    GaussianOutputData w;
    ReadGaussianOutput(dir.Write("job.out", text), w);
    report += "@@ " + name + "\n" + Report(w);
    at = next == std::string::npos ? next : next + 1;
  }
  ExpectSameAsReference(report, "gaussian/landmarks.read");
}

TEST(ReadGaussianOutput, FailuresEndTheProcess) {
  GaussianOutputData w;
  TempDir dir;
  const std::string none = (dir.path() / "none.out").string();
  const auto failure = [](const std::string& message) { return "$ err " + message + "\n"; };
  const struct {
    std::function<void()> run;
    std::string message;
  } cases[] = {
      {[&] { w.IfRead("charges"); }, failure("this option is not available : charges")},
      {[&] { w.SetRead("Energy"); }, failure("this option is not available : Energy")},
      {[&] { ReadGaussianOutput(none, w); }, none + "can not be opened\n"},
  };
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit(c.run);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
  // A line that cannot be read is named with its file.
  const struct {
    std::string text, line;
  } unreadable[] = {
      {" SCF Done:  E(RHF) =  -74.96     A.U.\n SCF Done:  E(RHF) =  *********  A.U.\n",
       " SCF Done:  E(RHF) =  *********  A.U."},
      {" E2 =    -0.37E-01 EUMP2 =    -0.75E+02\n", " E2 =    -0.37E-01 EUMP2 =    -0.75E+02"},
      {" Energy=   -1e999\n", " Energy=   -1e999"},
      {" SCF Done:  E(RHF) =  nan     A.U.\n", " SCF Done:  E(RHF) =  nan     A.U."},
      {" Mulliken charges:\n     1\n     1  O   -inf\n", "     1  O   -inf"},
      {" Dipole moment (field-independent basis, Debye):\n", ""},  // no values before the end
  };
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.text);
    const std::string path = dir.Write("job.out", c.text);
    const ProcessExit e = ExpectExit([&] { ReadGaussianOutput(path, w); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, failure("in gaussian output file : " + path + " in line :" + c.line));
  }
}

// Which outputs of failed jobs each kind of job refuses; a constrained
// optimisation stopped at its cycle limit is used, with a warning.
TEST(ReadJobOutput, RefusesTheOutputsOfFailedJobs) {
  using Gaussian::JobKind;
  TempDir dir;
  const std::string energy = " SCF Done:  E(RHF) =  -74.96     A.U. after 5 cycles\n";
  const std::string normal = " Normal termination of Gaussian 09.\n";
  const std::string error = " Error termination request processed by link 9999.\n";
  const std::string limit = " Optimization stopped.\n    -- Number of steps exceeded,  NStep=  20\n";
  const std::string path = (dir.path() / "job.out").string();
  const std::string failed = "$ err gaussian output " + path +
                             " ends in an error termination: the job failed; read the end of the "
                             "file, fix the cause, remove the file and run the script again\n";
  const std::string unfinished = "$ err the optimisation in gaussian output " + path +
                                 " did not complete (no \"Optimization completed\" line): inspect "
                                 "it, remove the file and run the script again\n";
  const std::string warned = "$ warning: the constrained optimisation in gaussian output " + path +
                             " stopped at its cycle limit; its last structure and energy are used\n";
  const struct {
    std::string text;
    JobKind kind;
    std::string refused, warning;
  } rows[] = {
      {energy + normal, JobKind::Result, "", ""},
      {energy + error, JobKind::Result, failed, ""},
      {energy + " Optimization completed.\n" + normal, JobKind::Optimisation, "", ""},
      {energy + normal, JobKind::Optimisation, unfinished, ""},
      {energy + limit + error, JobKind::Optimisation, failed, ""},
      {energy + limit + error, JobKind::ConstrainedOptimisation, "", warned},
      {energy + error, JobKind::ConstrainedOptimisation, failed, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    dir.Write("job.out", row.text);
    testing::internal::CaptureStderr();
    if (row.refused.empty()) {
      EXPECT_DOUBLE_EQ(Gaussian::ReadJobOutput(path, row.kind).prop.energy, -74.96);
    } else {
      const ProcessExit e = ExpectExit([&] { Gaussian::ReadJobOutput(path, row.kind); });
      EXPECT_EQ(e.status, 1);
      EXPECT_EQ(e.message, row.refused);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), row.warning);
  }
}

// The real outputs beside the project: every landmark they hold, with the
// number of values read (0: not read) and one of the values.
TEST(ReadGaussianOutputReference, LandmarksOfTheRealOutputs) {
  const std::string dir = SharedReferenceDir();
  if (dir.empty()) GTEST_SKIP() << "no reference data";
  const struct {
    std::string file, key;
    std::size_t count, index;
    Real value;
  } cases[] = {
      {"dvb_opt_b3lyp.out", "energy", 1, 0, -382.308266602},
      {"dvb_opt_b3lyp.out", "coorStandardOrient", 60, 58, 0.813041},
      {"dvb_opt_b3lyp.out", "coorInputOrient", 60, 0, -0.075862},
      {"dvb_opt_b3lyp.out", "force", 60, 59, -0.000003344},
      {"dvb_opt_b3lyp.out", "convergence", 1, 0, 1.0},
      {"dvb_opt_b3lyp.out", "esp", 0, 0, 0.0},
      {"water_mp2.out", "energy", 1, 0, -75.002282127454},
      {"water_mp2.out", "mullikenq", 3, 0, -0.319889},
      {"water_mp2.out", "dipole", 4, 2, -1.5994},
      {"water_mp2.out", "convergence", 0, 0, 0.0},
      {"dvb_zmatrix_scan.out", "coorZMatrix", 60, 6, 1.199912},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + c.key);
    GaussianOutputData w;
    ReadGaussianOutput(dir + "/gaussian/" + c.file, w);
    EXPECT_FALSE(w.prop.iferror);
    EXPECT_EQ(w.IfRead(c.key), c.count > 0);
    if (c.count == 0) continue;
    const std::vector<Real> values = Values(w, c.key);
    ASSERT_EQ(values.size(), c.count);
    EXPECT_DOUBLE_EQ(values[c.index], c.value);
  }
}

}  // namespace
