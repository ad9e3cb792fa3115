// The QM operations with every deck option. Their results, reuse and failures
// on water are cases of tests/data/scripts.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "gaussian.h"
#include "io.h"
#include "mol.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "support/shell_variable.h"

namespace {

using namespace testing_support;

// An anion with two stored geometries and the outputs of tests/data/qm
// (whose orientations differ from the molecule's own coordinates) placed
// where the jobs would leave them. What was printed (times of day and the
// directory masked), the molecule, its stored geometries and QM values, and
// the deck are compared with the references NAME.txt and NAME.inp. The
// optimisation keeps its standard orientation, energy, dipole and Mulliken
// charges; the single point leaves out the extra command and takes the MP2
// energy; the population leaves the dummy centre out of the charges and keeps
// potentials and distances to the atoms per geometry.
TEST(QMOperations, DecksAndResults) {
  const ShellVariable shell("/bin/sh");  // without SHELL the runner prints a notice
  const ForceFieldState state;
  const Gaussian::GaussianJob saved = Gaussian::options;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  const struct {
    std::string name, deck;
    std::function<void(CMolecule&)> run;
  } cases[] = {
      {"optimisation", "opt1", [](CMolecule& m) { m.QMOptCoordinates(0); }},
      {"single_point", "wat2", [](CMolecule& m) { m.QMSinglePoint("wat", "MP2/6-31G* ", 1); }},
      {"population", "pop2", [](CMolecule& m) { m.atom[3].atmnum = 0, m.PopEspCharges(1); }},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const FpathScope inDir(dir.path().string() + "/");
    dir.Write(c.deck + ".out", ReadFile(DataPath("qm/" + c.name + ".out")));
    CMolecule m = HydrogenPeroxide();
    m.netcharge = -1.0;
    m.ngeom = 2;
    m.xyz.insert(m.xyz.end(), m.xyz.begin(), m.xyz.end());
    m.QMEnergy.resize(2, 0.0);
    m.QMDipoleMoment.resize(2);
    std::string s = Printed([&] { c.run(m); });
    s = std::regex_replace(s, std::regex(R"(\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4})"), "TIME");
    for (auto at = s.find(fpath); at != std::string::npos; at = s.find(fpath, at))
      s.replace(at, fpath.size(), "DIR/");
    const auto join = [](const std::vector<Real>& v) {
      std::string t;
      for (const Real x : v) t += Format(" %.10g", x);
      return t;
    };
    s += Describe(m) + "stored:" + join(m.xyz) +
         Format("\nactive: energy %.10g dipole %g %g %g %g\n", m.energy, m.QMDipole.x, m.QMDipole.y,
                m.QMDipole.z, m.QMDipole.norma);
    for (std::size_t g = 0; g < m.QMEnergy.size(); ++g) {
      const Vector3& d = m.QMDipoleMoment.at(g);
      s += Format("geometry %zu: energy %.10g dipole %g %g %g %g\n", g, m.QMEnergy[g], d.x, d.y,
                  d.z, d.norma);
      if (g < m.ESP.QMESPval.size())
        s += "  potentials" + join(m.ESP.QMESPval[g]) + "\n  distances" +
             join(m.ESP.distESPPoint.at(g)) + "\n";
    }
    EXPECT_TRUE(m.ESP.val.empty() && m.ESP.dist.empty());
    ExpectSameAsReference(s, "qm/" + c.name + ".txt");
    ExpectSameAsReference(dir.Read(c.deck + ".inp"), "qm/" + c.name + ".inp");
  }
  Gaussian::options = saved;
}

}  // namespace
