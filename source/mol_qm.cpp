// QM operations of the molecule: optimisation, single point and population
// analysis of one stored geometry, with the results taken back.
#include <cmath>
#include <cstdio>
#include <fstream>

#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

using Gaussian::GaussianOutputData;

std::string NprocLine() {
  return Gaussian::options.nproc > 1 ? Format("%%NPROC=%i\n", Gaussian::options.nproc) : "";
}

std::string AddCommandLine() {
  const std::string& add = Gaussian::options.addCommand;
  return add.empty() ? "" : add + "\n";
}

// The atoms at their active coordinates, one line each in the given layout
// (atomic number, then x, y, z).
std::string AtomLines(const CMolecule& m, const char* layout) {
  std::string text;
  for (int i = 0; i < m.natm; ++i) {
    const auto& a = m.atom.at(i);
    text += Format(layout, a.atmnum, a.xyz[0], a.xyz[1], a.xyz[2]);
  }
  return text;
}

// The global constraints of the bonded-fit settings as modredundant lines.
std::string GlobalConstraints() {
  std::string text;
  for (int n = 0; n < OptInter.nCostrGlobal; ++n) {
    const auto& fix = OptInter.FixDihe[n];
    const int count = fix.AtomName[2] == -1 ? 2 : 4;
    for (int k = 0; k < count; ++k) text += Format("%d ", fix.AtomName[k] + 1);
    text += floattostr(fix.value, 5) + " F\n";
  }
  return text;
}

void Started(const char* what, const std::string& theory, const char* theoryLine, int igeom) {
  std::printf("$ %s started : %s", what, LTime().c_str());
  std::printf(theoryLine, theory.c_str());
  std::printf("$ Using coordinate of geometry : %i\n", igeom + 1);
}

void RequireEnergy(const GaussianOutputData& w, const std::string& out) {
  if (!w.IfRead("energy")) EndProcess(1, "$ err no energy in gaussian output file : " + out + "\n");
}

void StoreEnergy(CMolecule& m, const GaussianOutputData& w, int igeom) {
  m.QMEnergy.at(igeom) = w.prop.energy;
  m.energy = w.prop.energy;
}

void StoreDipole(CMolecule& m, const GaussianOutputData& w, int igeom) {
  m.QMDipoleMoment.at(igeom) = w.prop.dipole;
  m.QMDipole = w.prop.dipole;
}

// The optimised coordinates: the standard orientation, else the input one.
const std::vector<Real>& OptimizedCoordinates(const GaussianOutputData& w, int natm,
                                              const std::string& out) {
  const std::vector<Real>* table = nullptr;
  if (!w.prop.xyzStandardOrient.empty())
    table = &w.prop.xyzStandardOrient;
  else if (!w.prop.xyzInputOrient.empty())
    table = &w.prop.xyzInputOrient;
  else
    EndProcess(1, " no output orientation in gaussian file " + out + "\n");
  if (table->size() != static_cast<std::size_t>(natm) * 3)
    EndProcess(1, Format("$ err %zu atoms instead of %d in the orientation of gaussian file %s\n",
                         table->size() / 3, natm, out.c_str()));
  return *table;
}

// ESP charges for every atom; the population analysis leaves out dummy
// centres (atomic number 0), which keep a charge of 0.
void StoreEspCharges(CMolecule& m, const GaussianOutputData& w, const std::string& out) {
  const auto& q = w.prop.espq;
  int real = 0;
  for (int i = 0; i < m.natm; ++i)
    if (m.atom.at(i).atmnum != 0) ++real;
  const bool all = q.size() == static_cast<std::size_t>(m.natm);
  if (!all && q.size() != static_cast<std::size_t>(real))
    EndProcess(1, "$ err no ESP charges for every atom in gaussian output file : " + out + "\n");
  std::size_t next = 0;
  for (int i = 0; i < m.natm; ++i) {
    auto& a = m.atom.at(i);
    a.qpop = all || a.atmnum != 0 ? q[next++] : 0.0;
  }
}

}  // namespace

void CMolecule::QMOptCoordinates(int igeom) {
  ActivateGeometry(igeom);
  const std::string& theory = Gaussian::options.QMTheory;
  Started("Optimization", theory, "$ Ab-initio level of theory : %s \n", igeom);
  const std::string n = inttostr(igeom + 1);
  const std::string inp = fpath + "/opt" + n + ".inp";
  const std::string out = fpath + "/opt" + n + ".out";

  std::string deck = AddCommandLine() + NprocLine() + "%NoSave\n";
  deck += Format("#%s Opt=ModRedun \n\noptimization for geometry %i\n\n", theory.c_str(), igeom);
  deck += Format("%i %i\n", static_cast<int>(netcharge), spinm);
  deck += AtomLines(*this, "%3d 0 %9.5f %9.5f %9.5f\n");
  deck += "\n" + GlobalConstraints() + "\n\n";
  WriteQMDeck(inp, out, deck);

  run_gauss(inp, out);
  const GaussianOutputData w = Gaussian::ReadJobOutput(out, Gaussian::JobKind::Optimisation);
  RequireEnergy(w, out);
  StoreEnergy(*this, w, igeom);
  const std::vector<Real>& xyzOpt = OptimizedCoordinates(w, natm, out);
  for (int i = 0; i < natm; ++i)
    for (int c = 0; c < 3; ++c) atom[i].xyz[c] = xyzOpt[3 * i + c];
  StoreDipole(*this, w, igeom);
  if (w.prop.mullikenq.size() != static_cast<std::size_t>(natm))
    EndProcess(1, Format("$ err %zu Mulliken charges instead of %i in gaussian output file : %s\n",
                         w.prop.mullikenq.size(), natm, out.c_str()));
  for (int i = 0; i < natm; ++i) atom[i].qpop = w.prop.mullikenq[i];

  if (w.prop.ifconverged)
    std::printf("$ full convergence confirmed\n");
  else
    std::printf("$ err no convergence : please check the output file\n");
  std::printf("$ Coordinates are set to the optimized\n");
  std::printf("$ E(%s) = %12.7f\n", theory.c_str(), w.prop.energy);
  std::printf("$ Optimization was completed %s", LTime().c_str());

  WriteCoorPDB(fpath + "/opt" + n + ".pdb", "main");
  fill_rv();
  CopyMainSetToGeometry(igeom);
}

void CMolecule::QMSinglePoint(const std::string& filename, const std::string& theory, int igeom) {
  ActivateGeometry(igeom);
  Started("Single-point calculation", theory, "$ Ab-initio level of theory : %s\n", igeom);
  const std::string n = inttostr(igeom + 1);
  const std::string inp = fpath + "/" + filename + n + ".inp";
  const std::string out = fpath + "/" + filename + n + ".out";

  const Real e = SinglePointEnergy(*this, theory, inp, out);
  QMEnergy.at(igeom) = e;
  energy = e;
  std::printf("$ Single-point calculation finished : %s", LTime().c_str());
  std::printf("$ E(%s) = %12.7f\n", Gaussian::options.QMTheory.c_str(), e);
}

Real SinglePointEnergy(const CMolecule& m, const std::string& theory, const std::string& inp,
                       const std::string& out) {
  std::string deck = NprocLine();
  deck += Format("#%s Test NoSymm\n\nMolName: \n\n", theory.c_str());
  deck += Format("%5.0f %i\n", m.netcharge, m.spinm);
  deck += AtomLines(m, "%3d -1 %9.5f %9.5f %9.5f\n") + "\n\n";
  WriteQMDeck(inp, out, deck);
  run_gauss(inp, out);
  const GaussianOutputData w = Gaussian::ReadJobOutput(out, Gaussian::JobKind::Result);
  RequireEnergy(w, out);
  return w.prop.energy;
}

void CMolecule::PopEspCharges(int igeom) {
  ActivateGeometry(igeom);
  const std::string& theory = Gaussian::options.QMTheory;
  Started("Population analysis", theory, "$ Ab-initio level of theory : %s \n", igeom);
  const std::string n = inttostr(igeom + 1);
  const std::string inp = fpath + "/pop" + n + ".inp";
  const std::string out = fpath + "/pop" + n + ".out";

  std::string deck = NprocLine() + AddCommandLine() + "%NoSave\n";
  deck += Format(
      "#%s NoSymm Pop=MK IOp(6/33=2,6/41=10,6/42=17)\n\nMK charges and electric potentials\n\n",
      theory.c_str());
  deck += Format("%i %i\n", static_cast<int>(netcharge), spinm);
  for (int i = 0; i < natm; ++i) {
    const CAtom& a = atom[i];
    deck += a.atmnum == 0
                ? Format(" X  -1 %9.5f %9.5f %9.5f\n", a.xyz[0], a.xyz[1], a.xyz[2])
                : Format("%3d -1 %9.5f %9.5f %9.5f\n", a.atmnum, a.xyz[0], a.xyz[1], a.xyz[2]);
  }
  deck += "\n\n";
  WriteQMDeck(inp, out, deck);

  run_gauss(inp, out);
  const GaussianOutputData w = Gaussian::ReadJobOutput(out, Gaussian::JobKind::Result);
  StoreEspCharges(*this, w, out);
  StoreDipole(*this, w, igeom);

  const std::size_t points = w.prop.espcoor.size() / 3;
  if (points == 0 || w.prop.espval.size() != points)
    EndProcess(1, "$ err : the number of esp values and number of coordinates are different in "
                  "gaussian output file : " + out + "\n");
  ESP.Resize(igeom + 1);
  for (std::size_t p = 0; p < points; ++p) {
    ESP.val.push_back(w.prop.espval[p] * Const::_HARTREES_TO_KCALS_);
    const Real* point = &w.prop.espcoor[3 * p];
    for (int k = 0; k < natm; ++k) {
      const Vector3 d(point, atom[k].xyz.data());
      const Real d2 = d.x * d.x + d.y * d.y + d.z * d.z;
      if (d2 < Const::Tiny)
        EndProcess(1, "$ err distance between esp point and an atom is too small in gaussian "
                      "output file : " + out + "\n");
      ESP.dist.push_back(std::sqrt(d2));
    }
  }
  if (!w.IfRead("dipole"))
    EndProcess(1, "$ err gaussian output " + out +
                      " holds no dipole moment: the population analysis is incomplete; remove the "
                      "file and run the script again\n");
  ESP.Finalize(igeom);
  std::printf("$ Population analysis finished : %s", LTime().c_str());
}
