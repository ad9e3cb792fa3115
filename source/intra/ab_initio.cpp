// The QM references of the bonded fit: the scan terms of the parameters
// being fitted, their ideal values, the soft dihedrals, and the QM scans,
// surfaces, force constants and target structures computed for them.
#include "intra/ab_initio.h"

#include <cstdio>
#include <fstream>

#include "errors.h"
#include "intra/BondOpt.h"
#include "io.h"
#include "mol.h"
#include "param/param.h"
#include "util.h"

void defineOrderPesScan(std::vector<CMolecule::ClassOrderOpt>& order, int npt, int iopt) {
  order.clear();
  order.push_back({iopt, -1});
  for (int k = iopt + 1; k < npt; ++k) order.push_back({k, k - 1});
  for (int k = iopt - 1; k >= 0; --k) order.push_back({k, k + 1});
}

namespace {

using Term = CMolecule::ClassPESScanBonded;

// A term of the given type over the atoms aid: its name (b_c1_h11), its
// current value and npt points spaced by `range` / (npt / 2) around it.
Term RigidTerm(const CMolecule& m, char type, const std::vector<int>& aid, Real range) {
  Term t;
  t.type = type;
  t.name = std::string(1, type);
  for (const int a : aid) t.name += "_" + m.AtomName(a);
  lower(t.name);
  t.aid = aid;
  t.npt = OptInter.nPointRigidTerm;
  t.optval = m.IC(aid);
  const int half = t.npt / 2;
  const Real step = range / half;
  for (int k = 0; k < t.npt; ++k) t.val[k] = t.optval - (half - k) * step;
  defineOrderPesScan(t.optOrder, t.npt, half);
  t.scaleCoeff = 1.0;
  return t;
}

bool SameBond(int a1, int a2, int b1, int b2) {
  return (a1 == b1 && a2 == b2) || (a1 == b2 && a2 == b1);
}

bool AboutBond(const CMolecule::DihedralClass& d, const CSoftDihe& s) {
  return SameBond(d.aid[1], d.aid[2], s.aid[1], s.aid[2]);
}

// The dihedrals of m about the central bond of s; those without a parameter
// entry are reported.
std::vector<const CMolecule::DihedralClass*> DihedralsAbout(const CMolecule& m,
                                                            const CSoftDihe& s) {
  std::vector<const CMolecule::DihedralClass*> found;
  for (const auto& d : m.dihedral) {
    if (!AboutBond(d, s)) continue;
    if (d.fid < 0) std::fprintf(stderr, "$ dihedral does not have parameters\n");
    found.push_back(&d);
  }
  return found;
}

int EndAtomScore(const CMolecule& m, int a) {
  switch (m.atom.at(a).atmnum) {
    case 1:
      return 0;
    case 6:
      return 1;
    case 7:
      return 2;
    default:
      return 3;
  }
}

std::string Names(const CMolecule& m, const std::vector<int>& aid) {
  std::string text;
  for (const int a : aid) text += (a < 0 ? std::string("?") : m.AtomName(a)) + " ";
  return text;
}

// Fills the missing outer atoms of a soft dihedral given by its central bond
// from the dihedral about that bond with the heaviest outer atoms.
void CompleteSoftDihedral(const CMolecule& m, CSoftDihe& s) {
  const auto candidates = DihedralsAbout(m, s);
  if (s.aid[0] < 0 || s.aid[3] < 0) {
    if (candidates.empty()) {
      EndProcess(1,
                 "$ soft dihedral was not defined : the molecule has no dihedral about the "
                 "bond " +
                     m.AtomName(s.aid[1]) + " - " + m.AtomName(s.aid[2]) + "\n");
    }
    const CMolecule::DihedralClass* best = nullptr;
    int bestScore = -1;
    for (const auto* d : candidates) {
      const int score = EndAtomScore(m, d->aid[0]) + EndAtomScore(m, d->aid[3]);
      if (score > bestScore) {
        best = d;
        bestScore = score;
      }
    }
    const bool same = best->aid[1] == s.aid[1];
    s.aid[0] = same ? best->aid[0] : best->aid[3];
    s.aid[3] = same ? best->aid[3] : best->aid[0];
    for (const int k : {0, 3}) s.atomName[k] = Upper(m.AtomName(s.aid[k]));
  }
  std::printf("$ flexible dihedral was defined : %s\n", Names(m, s.aid).c_str());
}

// The value at which a soft dihedral is held, degrees.
Real SoftValue(const CMolecule& m, const CSoftDihe& s) {
  return s.bValFromStr ? m.IC(s.aid) : s.val;
}

// The scan of a soft dihedral: every 10 degrees from -170 with the current
// value inserted in its place; the scan starts there.
Term SoftTerm(const CMolecule& m, const CSoftDihe& s) {
  Term t;
  t.type = 'd';
  t.name = "D";
  for (const int a : s.aid) t.name += "_" + m.AtomName(a);
  lower(t.name);
  t.aid = s.aid;
  t.npt = OptInter.nPointFlexTerm;
  t.optval = m.IC(s.aid);
  int start = -1, n = 0;
  for (int k = 0; k < t.npt - 1; ++k) {
    const Real v = -170.0 + 10.0 * k;
    t.val[n++] = v;
    if (start < 0 && ((v < t.optval && t.optval <= v + 10.0) || (k == 0 && t.optval <= v))) {
      start = n;
      t.val[n++] = t.optval;
    }
  }
  if (start < 0) {
    start = n;
    t.val[n++] = t.optval;
  }
  defineOrderPesScan(t.optOrder, t.npt, start);
  t.scaleCoeff = 1.0;
  return t;
}

bool FittedDihedralAbout(const CMolecule& m, const CSoftDihe& s) {
  bool fitted = false;
  for (const auto* d : DihedralsAbout(m, s))
    if (d->fid >= 0 && param.dihe.at(d->fid).fOpt != 0) fitted = true;
  return fitted;
}

bool CentralBondIsSoft(int j, int k) {
  for (const CSoftDihe& s : OptInter.SoftDihe)
    if (SameBond(j, k, s.aid[1], s.aid[2])) return true;
  return false;
}

void WriteRestraintFile(const CMolecule& m) {
  const std::string path = fpath + "restrdihe.inp";
  std::string text;
  for (const CSoftDihe& s : OptInter.SoftDihe) {
    text += "CONS DIHE";
    for (const int a : s.aid) text += " AAAA 1 " + m.AtomName(a);
    text += " FORCE 10000.0 MIN " + floattostr(SoftValue(m, s), 5) + " PERIod 0 WIDTH 0.0\n";
  }
  std::ofstream out(path, std::ios::trunc);
  out << text << "\n";
  out.close();
  if (!out) EndProcess(1, "$ err unable to open file : " + path + "\n");
}

void MakeTermDirectories(const CMolecule& m) {
  mkdr(fpath + "forces/");
  mkdr(fpath + "bond/");
  mkdr(fpath + "results/");
  for (const Term& t : m.term) {
    const std::string dir = fpath + "bond/" + t.name + "/";
    mkdr(dir);
    mkdr(dir + "pdb/");
    mkdr(dir + "forces/");
    std::ofstream info(dir + "info.dat", std::ios::trunc);
    for (const int a : t.aid) info << m.AtomType(a) << " ";
    info << "\n";
    info.close();
    if (!info) EndProcess(1, "$ err unable to open file : " + dir + "info.dat\n");
  }
}

}  // namespace

void BuildScanTerms(CMolecule& m) {
  std::vector<Term>& term = m.term;
  term.clear();
  if (OptInter.sBond > 0) {
    for (int e = 0; e < param.nbonds; ++e) {
      Param::Bonds& b = param.bond.at(e);
      if (b.fOpt == 0) continue;
      term.push_back(RigidTerm(m, 'b', {b.i, b.j}, 0.06));
      b.ideal = term.back().optval;
    }
  }
  if (OptInter.sAngle > 0) {
    for (int e = 0; e < param.nangles; ++e) {
      Param::Angles& a = param.angle.at(e);
      if (a.fOpt == 0) continue;
      term.push_back(RigidTerm(m, 'a', {a.i, a.j, a.k}, 4.0));
      a.ideal = term.back().optval;
      a.idealUB = m.dist(a.i, a.k);
    }
  }
  for (CSoftDihe& s : OptInter.SoftDihe) CompleteSoftDihedral(m, s);
  if (OptInter.sDihe > 0) {
    for (int e = 0; e < param.ndihe; ++e) {
      const Param::Dihes& d = param.dihe.at(e);
      if (d.fOpt == 0 || CentralBondIsSoft(d.j, d.k)) continue;
      term.push_back(RigidTerm(m, 'd', {d.i, d.j, d.k, d.l}, 25.0));
    }
  }
  for (const CSoftDihe& s : OptInter.SoftDihe)
    if (s.ifScan && FittedDihedralAbout(m, s)) term.push_back(SoftTerm(m, s));
  if (OptInter.sDihe > 0) {
    for (int e = 0; e < param.nimpr; ++e) {
      const Param::Imprs& d = param.impr.at(e);
      if (d.fOpt != 0) term.push_back(RigidTerm(m, 'i', {d.i, d.j, d.k, d.l}, 25.0));
    }
  }

  for (Term& t : term) t.cons.clear();
  for (const CSoftDihe& s : OptInter.SoftDihe) {
    if (s.aid[0] < 0) EndProcess(1, "$ soft dihedral was not defined\n");
    Constraint c;
    c.type = 'd';
    c.aid = s.aid;
    for (const int a : s.aid) c.name.push_back(m.AtomName(a));
    c.val = SoftValue(m, s);
    for (Term& t : term)
      if (t.type == 'd' && !SameBond(t.aid[1], t.aid[2], s.aid[1], s.aid[2])) t.cons.push_back(c);
  }
  WriteRestraintFile(m);
  MakeTermDirectories(m);
}

void CMolecule::BondedTermsAbInitio() {
  BuildScanTerms(*this);
  std::vector<int> soft, rigid, all;
  for (int i = 0; i < static_cast<int>(term.size()); ++i) {
    if (term[i].npt > 10) soft.push_back(i);
    if (term[i].npt <= 9) rigid.push_back(i);
    all.push_back(i);
  }
  QM_PES_scans(soft);
  if (OptInter.sDihe > 0)
    for (CSoftDiheMulti& s : OptInter.SoftDiheMulti) QM_PES_Multi_Scan(s);
  Force_Consts(rigid);
  if (OptInter.fc) EndProcess(0);
  QM_PES_scans(all);
  for (int k = 0; k < OptInter.scaleNbr; ++k) {
    for (Term& t : term)
      if (OptInter.scaleName[k].empty() || OptInter.scaleName[k] == t.name)
        t.scaleCoeff = OptInter.scaleCoeff[k];
  }
  QM_Target_Structures(TargetStr);
}
