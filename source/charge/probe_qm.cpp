#include "charge/probe_qm.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "charge/probe_frame.h"
#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "util.h"

namespace {

// Fixed internal geometry of the TIP3P water and the dummy centres.
constexpr Real kROH = 0.9572;
constexpr Real kAHOH = 104.52;
constexpr Real kAHOA = 127.74;
constexpr Real kRDUM = 1.0;
constexpr Real kADUM = 90.0;

std::string DeckHead(const WaterTIP3P& w, const CMolecule& solute) {
  std::string t;
  if (Gaussian::options.nproc >= 2) t += Format("%%NPROC=%i\n", Gaussian::options.nproc);
  t += "%NoSave\n";
  t += Format("#%s Opt=Z-matrix NoSymm\n\nwater interaction with atom %s\n\n",
              Gaussian::options.QMTheory.c_str(), w.atm1.c_str());
  t += Format("%5.0f %i\n", solute.netcharge, solute.spinm);
  for (int i = 0; i < solute.natm; ++i) {
    const auto& a = solute.atom[i];
    t += Format("%3d -1 %9.5f %9.5f %9.5f\n", a.atmnum, a.xyz[0], a.xyz[1], a.xyz[2]);
  }
  return t;
}

std::string PositiveBody(int n, int i1, int i2, int i3, int b, const ProbeFrameAngles& f,
                         Real dist, Real angle) {
  std::string t;
  if (b == 1) {
    t += Format("X   %4i RDUM %4i ADUM %4i DOH\n", i1, i2, i3);
    t += Format("X   %4i RDUM %4i ADUM %4i DD1\n", n + 1, i1, i2);
    t += Format("OH2 %4i RX   %4i ADUM %4i DD2\n", i1, n + 1, n + 2);
    t += Format("H1  %4i ROH  %4i AHOA %4i DH1\n", n + 3, i1, n + 1);
    t += Format("H2  %4i ROH  %4i AHOA %4i DH2\n", n + 3, i1, n + 1);
    t += "Variables:\n";
    t += Format("RX   %10.5f\n", dist);
    t += "Constants:\n";
    t += Format("RDUM %10.5f\n", kRDUM);
    t += Format("ROH  %10.5f\n", kROH);
    t += Format("ADUM %10.5f\n", kADUM);
    t += Format("AHOA %10.5f\n", kAHOA);
    t += Format("DOH  %10.5f\n", 180.0);
    t += Format("DD1  %10.5f\n", 0.0);
    t += Format("DD2  %10.5f\n", 180.0);
    t += Format("DH1  %10.5f\n", angle);
    t += Format("DH2  %10.5f\n", angle - 180.0);
  } else {
    t += Format(" OH2 %4i RX  %4i AOH2 %4i DOH2\n", i1, i2, i3);
    t += Format("  H1 %4i ROH %4i AHOA %4i DHO1\n", n + 1, i1, i2);
    t += Format("  H2 %4i ROH %4i AHOA %4i DHO2\n", n + 1, i1, i2);
    t += "Variables:\n";
    t += Format("RX   %10.5f\n", dist);
    t += "Constants:\n";
    t += Format("ROH  %10.5f\n", kROH);
    t += Format("AOH2 %10.5f\n", f.A);
    t += Format("AHOA %10.5f\n", kAHOA);
    t += Format("DOH2 %10.5f\n", f.D);
    t += Format("DHO1 %10.5f\n", angle);
    t += Format("DHO2 %10.5f\n", angle - 180.0);
  }
  return t + "\n\n\n\n";
}

std::string NegativeBody(int n, int i1, int i2, int i3, int b, const ProbeFrameAngles& f,
                         Real dist, Real angle) {
  std::string t;
  if (b == 1) {
    t += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", i1, i2, i3);
    t += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 1, i1, i2);
    t += Format("H1  %4i RX   %4i ADUM %4i DH1\n", i1, n + 1, n + 2);
    t += Format("X   %4i RDUM %4i ADUM %4i DDUM\n", n + 3, i1, n + 1);
    t += Format("OH2 %4i ROH  %4i ADUM %4i DOH2\n", n + 3, n + 4, i1);
    t += Format("H2  %4i ROH  %4i AHOH %4i DH2\n", n + 5, n + 3, n + 1);
    t += "Variables:\n";
    t += Format("RX %10.5f\n", dist);
    t += "Constants:      \n";
    t += Format("RDUM %10.5f\n", kRDUM);
    t += Format("ROH  %10.5f\n", kROH);
    t += Format("ADUM %10.5f\n", kADUM);
    t += Format("AHOH %10.5f\n", kAHOH);
    t += Format("DDUM %10.5f\n", 0.0);
    t += Format("DH1  %10.5f\n", 180.0);
    t += Format("DOH2 %10.5f\n", 180.0);
    t += Format("DH2  %10.5f\n", angle);
  } else {
    t += Format("  H1 %4i RX   %4i AH1  %4i DH1\n", i1, i2, i3);
    t += Format("   X %4i RDUM %4i ADUM %4i DDUM\n", n + 1, i1, i2);
    t += Format("   X %4i RDUM %4i ADUM %4i DDUM\n", n + 2, n + 1, i1);
    t += Format(" OH2 %4i ROH  %4i AOH2 %4i DOH2\n", n + 1, n + 2, n + 3);
    t += Format("  H2 %4i ROH  %4i AHOH %4i DH2\n", n + 4, n + 1, n + 2);
    t += "Variables:\n";
    t += Format("RX %10.5f\n", dist);
    t += "Constants:\n";
    t += Format("RDUM %10.5f\n", kRDUM);
    t += Format("ROH  %10.5f\n", kROH);
    t += Format("AH1  %10.5f\n", f.A);
    t += Format("ADUM %10.5f\n", kADUM);
    t += Format("AOH2 %10.5f\n", 90.0);
    t += Format("AHOH %10.5f\n", kAHOH);
    t += Format("DH1  %10.5f\n", f.D);
    t += Format("DDUM %10.5f\n", 180.0);
    t += Format("DOH2 %10.5f\n", 0.0);
    t += Format("DH2  %10.5f\n", angle);
  }
  return t + "\n\n";
}

// Names of the water centres of the complex, in deck order.
const std::vector<std::string>& CentreNames(bool positive, int b) {
  static const std::vector<std::string> kPositiveTerminal = {"DUM1", "DUM2", "OH2", "H1", "H2"};
  static const std::vector<std::string> kPositive = {"OH2", "H1", "H2"};
  static const std::vector<std::string> kNegativeTerminal = {"DUM1", "DUM2", "H1",
                                                             "DUM3", "OH2",  "H2"};
  static const std::vector<std::string> kNegative = {"H1", "DUM1", "DUM2", "OH2", "H2"};
  if (positive) return b == 1 ? kPositiveTerminal : kPositive;
  return b == 1 ? kNegativeTerminal : kNegative;
}

}  // namespace

Gaussian::QMJob WriteWaterProbeDeck(const WaterTIP3P& w, const CMolecule& solute, Real dist,
                                    Real angle, bool positive) {
  const std::string deck = WaterProbeDeck(w, solute, dist, angle, positive);
  mkdr(fpath + "/water" + inttostr(w.iProbedGeometry + 1));
  mkdr(WaterProbeDir(w));
  const std::string stem = WaterProbeDir(w) + WaterProbeStem(w, angle);
  const std::string inp = stem + ".inp";
  WriteQMDeck(inp, stem + ".out", deck);
  return {inp, stem + ".out"};
}

Real QMWaterMonomerEnergy(const std::string& theory) {
  CMolecule water;
  water.natm = 3;
  water.atom.resize(3);
  const Real a = kAHOH * Const::PI / 180.0;
  const Real xyz[3][3] = {{0.0, 0.0, 0.0}, {kROH, 0.0, 0.0}, {kROH * std::cos(a), kROH * std::sin(a), 0.0}};
  for (int i = 0; i < 3; ++i) {
    water.atom[i].atmnum = i == 0 ? 8 : 1;
    water.atom[i].xyz.assign(xyz[i], xyz[i] + 3);
  }
  const std::string out = fpath + "/tip3p.out";
  const Real e = SinglePointEnergy(water, theory, fpath + "/tip3p.inp", out);
  std::printf("$ QM energy of one TIP3P water : %.9f hartree, from %s (qmwaterenergy sets it)\n", e,
              out.c_str());
  return e;
}

void ReadWaterProbe(WaterTIP3P& w, const CMolecule& solute, Real angle, bool positive) {
  const int b = solute.atom[w.aid1].ibond;
  const std::string stem = WaterProbeDir(w) + WaterProbeStem(w, angle);
  const std::string out = stem + ".out";
  const Gaussian::GaussianOutputData data = Gaussian::ReadJobOutput(out, Gaussian::JobKind::Result);
  const std::vector<std::string>& names = CentreNames(positive, b);
  const std::size_t ncentres = static_cast<std::size_t>(solute.natm) + names.size();
  const std::vector<Real>& xyz = data.prop.xyzZmatrixOrient;
  if (!data.IfRead("energy") || !data.IfRead("distance") || xyz.size() < 3 * ncentres) {
    EndProcess(1, Format("$ err gaussian output %s lacks the energy, the distance RX or the "
                         "Z-matrix orientation of its %zu centres: inspect it, remove it and run "
                         "the script again\n",
                         out.c_str(), ncentres));
  }
  w.energy = data.prop.energy;
  w.QMInterDist = data.prop.distance;

  CMolecule complex;
  complex.atom = solute.atom;
  for (std::size_t k = 0; k < names.size(); ++k) {
    CMolecule::CAtom& a = complex.atom.emplace_back();
    a.name = names[k];
    a.resn = "TIP3";
    a.segid = "WAT";
    a.resid = 1;
  }
  complex.natm = static_cast<int>(ncentres);
  for (std::size_t i = 0; i < ncentres; ++i) {
    CMolecule::CAtom& a = complex.atom[i];
    a.serial = static_cast<int>(i) + 1;
    a.xyz.assign(xyz.begin() + 3 * i, xyz.begin() + 3 * i + 3);
  }
  complex.WriteCoorPDB(stem + ".pdb", "main");

  for (int k = 0; k < 3; ++k) {
    for (std::size_t i = solute.natm; i < ncentres; ++i) {
      if (complex.atom[i].name == w.atom[k].name) {
        w.atom[k].xyz = complex.atom[i].xyz;
        break;
      }
    }
  }
  w.fill_rv();
}

namespace {

void RunProbe(WaterTIP3P& w, const CMolecule& solute, Real dist, Real angle, bool positive) {
  Gaussian::RunQMBatch({WriteWaterProbeDeck(w, solute, dist, angle, positive)});
  ReadWaterProbe(w, solute, angle, positive);
}

}  // namespace

std::string WaterProbeDir(const WaterTIP3P& w) {
  return fpath + "/water" + inttostr(w.iProbedGeometry + 1) + "/" + w.atm1 + "/";
}

std::string WaterProbeStem(const WaterTIP3P& w, Real angle) {
  return w.atm1 + "." + floattostr(angle, 1);
}

std::string WaterProbeDeck(const WaterTIP3P& w, const CMolecule& solute, Real dist, Real angle,
                           bool positive) {
  const int b = ProbedAtomBonds(solute, w.aid1);
  const int n = solute.natm;
  const int i1 = w.aid1 + 1, i2 = w.aid2 + 1, i3 = w.aid3 + 1;
  const ProbeFrameAngles f = FrameAngles(solute, b, w.aid1, w.aid2, w.aid3, w.aid4);
  return DeckHead(w, solute) + (positive ? PositiveBody(n, i1, i2, i3, b, f, dist, angle)
                                         : NegativeBody(n, i1, i2, i3, b, f, dist, angle));
}

void WaterTIP3P::QMProbePositiveAtom(const CMolecule& solute, Real dist, Real angleH1) {
  RunProbe(*this, solute, dist, angleH1, true);
}

void WaterTIP3P::QMProbeNegativeAtom(const CMolecule& solute, Real dist, Real angleH2) {
  RunProbe(*this, solute, dist, angleH2, false);
}
