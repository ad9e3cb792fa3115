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

// What a case of landmarks.out gives: the items read, or the status and
// message of a refusal, and any warning. A name that ends in "[optimisation]",
// "[constrained optimisation]" or "[result]" is read as the output of that
// kind of job, any other with the plain reader.
std::string ReadCase(const std::string& name, const std::string& path) {
  using Gaussian::JobKind;
  const std::map<std::string, JobKind> kinds = {{"[result]", JobKind::Result},
                                                {"[optimisation]", JobKind::Optimisation},
                                                {"[constrained optimisation]", JobKind::ConstrainedOptimisation}};
  const auto kind = kinds.find(name.substr(std::min(name.rfind('['), name.size())));
  testing::internal::CaptureStderr();
  std::string s;
  try {
    if (kind != kinds.end()) {
      s = Report(Gaussian::ReadJobOutput(path, kind->second));
    } else {
      GaussianOutputData w;
      ReadGaussianOutput(path, w);
      s = Report(w);
    }
  } catch (const ProcessExit& e) {
    s = "status " + std::to_string(e.status) + ": " + e.message;
  }
  return s + testing::internal::GetCapturedStderr();
}

// The outputs of landmarks.out, each after a line "@@ name" (a name ending
// in "(no final newline)" loses the newline before the next case).
TEST(ReadGaussianOutput, ItemsReadFromTheirLandmarksAndOutputsRefused) {
  const std::string all = ReadFile(DataPath("gaussian/landmarks.out"));
  TempDir dir;
  std::string report;
  for (std::size_t at = all.find("@@ "); at != std::string::npos;) {
    const std::size_t body = all.find('\n', at) + 1, next = all.find("\n@@ ", body - 1);
    const std::string name = all.substr(at + 3, body - 1 - (at + 3));
    std::string text = all.substr(body, (next == std::string::npos ? all.size() : next + 1) - body);
    if (name.ends_with("(no final newline)")) text.pop_back();
    const std::string path = dir.Write("job.out", text);
    std::string read = ReadCase(name, path);
    for (auto p = read.find(path); p != std::string::npos; p = read.find(path)) read.replace(p, path.size(), "job.out");
    report += "@@ " + name + "\n" + read;
    at = next == std::string::npos ? next : next + 1;
  }
  ExpectSameAsReference(report, "gaussian/landmarks.read");
}

TEST(ReadGaussianOutput, UnknownItemsAndMissingFilesEndTheProcess) {
  GaussianOutputData w;
  const std::string none = (TempDir().path() / "none.out").string();
  const struct {
    std::function<void()> run;
    std::string message;
  } cases[] = {
      {[&] { w.IfRead("charges"); }, "$ err this option is not available : charges\n"},
      {[&] { w.SetRead("Energy"); }, "$ err this option is not available : Energy\n"},
      {[&] { ReadGaussianOutput(none, w); }, none + "can not be opened\n"},
  };
  for (const auto& c : cases) {
    const ProcessExit e = ExpectExit(c.run);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
}

// The real outputs beside the project: every item read, with its values.
TEST(ReadGaussianOutputReference, ItemsOfTheRealOutputs) {
  const std::string dir = SharedReferenceDir();
  if (dir.empty()) GTEST_SKIP() << "no reference data";
  std::string report;
  for (const std::string file : {"dvb_opt_b3lyp.out", "water_mp2.out", "dvb_zmatrix_scan.out"})
    report += "@@ " + file + "\n" + ReadCase(file, dir + "/gaussian/" + file);
  ExpectSameAsReference(report, "gaussian/reference_outputs.read");
}

}  // namespace
