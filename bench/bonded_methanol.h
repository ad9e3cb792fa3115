#pragma once

// Methanol as the bonded fit sees it just before an evaluation of its
// objective, without the QM side, for the benchmark.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "MainScript.h"
#include "intra/BondOpt.h"
#include "param.h"
#include "param/param.h"
#include "util.h"

namespace testing_support {

// The general force field's values of the three entries the example
// parameter file loses in BondedMethanol: Kb, b0 of C-O, Ktheta, theta0 of
// O-C-H and Kchi (multiplicity 3) of H-C-O-H.
inline const std::vector<Real> kMethanolFitValues = {428.0, 1.42, 45.9, 108.89, 0.18};

// Prepares dir and the process-wide objects for one evaluation of rmsd_b on
// methanol (residue MEOH) with the stand-in's example job scripts:
// - qm2ff reads the example parameters without the C-O bond, the O-C-H angle
//   and the H-C-O-H dihedral, which are therefore fitted (the MM jobs still
//   read the whole example file, then add_para.inp);
// - scan terms: the C-O bond and the O-C-HB1 angle with 3 points each, the
//   soft dihedral HB1-CB-OG-HG1 with softPoints points from -170 degrees in
//   steps of 10; QM energies from simple formulas, every QM structure the
//   start structure, written as the scan's pdb files;
// - a one-dimensional multi-dimensional scan of the same dihedral at 60, 180
//   and -60 degrees and two target structures.
// Returns the trial vector: the general force field's values.
inline Vec_DP PrepareBondedMethanol(const std::string& dir, int softPoints) {
  namespace fs = std::filesystem;
  const fs::path ex = fs::path(QM2FF_SOURCE_DIR) / "examples";
  const auto copy = [&](const fs::path& from, const std::string& to) {
    fs::copy_file(from, fs::path(dir) / to, fs::copy_options::overwrite_existing);
  };
  copy(ex / "toppar" / "top_methanol.rtf", "top_methanol.rtf");
  copy(ex / "toppar" / "par_methanol.prm", "par_methanol.prm");
  copy(ex / "methanol" / "charmm" / "methanol.pdb", "methanol.pdb");
  {
    std::ifstream in(ex / "toppar" / "par_methanol.prm");
    std::ofstream out(fs::path(dir) / "par_fit.prm");
    for (std::string line; std::getline(in, line);) {
      const bool fitted = line.rfind("CG331  OG311   ", 0) == 0 || line.rfind("OG311  CG331  HGA3", 0) == 0 ||
                          line.rfind("HGA3   CG331  OG311  HGP1", 0) == 0;
      if (!fitted) out << line << "\n";
    }
  }
  std::ofstream(fs::path(dir) / "restrdihe.inp") << "\n";
  fpath = dir + "/";
  strCharmmPath = (ex / "methanol" / "charmm").string();

  mol1 = CMolecule();
  CharmmTopPar = Charmm();
  param = Param();
  MainScript::ProcessScriptMain("topology " + dir + "/top_methanol.rtf\nparam " + dir +
                                "/par_fit.prm\nreadtop top_methanol.rtf\nreadcoorpdb methanol.pdb\n");
  mol1.CreateListParam(param);
  param.Initialize(CharmmTopPar);
  for (int i = 0; i < param.ndihe; ++i) {
    if (param.dihe[i].fOpt == 0) continue;
    param.dihe[i].NonZero[2] = 1;
    param.dihe[i].angle[2] = 0.0;
  }

  OptInter = COptInter();
  OptInter.sBond = OptInter.sAngle = OptInter.sDihe = 1;
  OptInter.sSP = 1.0;
  OptInter.sStr = 1.0;
  const auto atoms = [](std::vector<std::string> names) {
    CSoftDihe d;
    d.atomName = names;
    for (int k = 0; k < 4; ++k) d.aid[k] = mol1.AtomIndex(names[k]);
    return d;
  };
  const CSoftDihe soft = atoms({"HB1", "CB", "OG", "HG1"});
  OptInter.SoftDihe = {soft};

  const auto term = [&](char type, const std::vector<std::string>& names, std::vector<Real> val,
                        const std::vector<Real>& energy) {
    CMolecule::ClassPESScanBonded t;
    t.type = type;
    t.name = std::string(1, type);
    for (const auto& n : names) {
      t.aid.push_back(mol1.AtomIndex(n));
      t.name += "_" + Lower(n);
    }
    t.npt = static_cast<int>(val.size());
    t.optval = mol1.IC(t.aid);
    t.scaleCoeff = 1.0;
    for (int k = 0; k < t.npt; ++k) t.val[k] = val[k];
    t.energyQM = energy;
    const std::string d = dir + "/bond/" + t.name;
    fs::create_directories(d + "/pdb");
    for (int k = 0; k < t.npt; ++k) {
      mol1.WriteCoorPDB(d + "/pdb/" + inttostr(k) + ".pdb", "main");
      CMolecularGeometry g(mol1);
      mol1.CopyFromCoor(g.xyz, "main");
      t.QMPESStructure.push_back(g);
    }
    t.EMPPESStructure = t.QMPESStructure;
    mol1.term.push_back(t);
  };
  term('b', {"CB", "OG"}, {1.36, 1.42, 1.48}, {1.6, 0.0, 1.4});
  term('a', {"OG", "CB", "HB1"}, {104.9, 108.9, 112.9}, {0.25, 0.0, 0.2});
  std::vector<Real> grid, energy;
  for (int k = 0; k < softPoints; ++k) {
    grid.push_back(-170.0 + 10.0 * k);
    energy.push_back(0.5 * (1.0 + std::cos(3.0 * grid.back() * Const::PI / 180.0)) + (k == 1 ? 10.0 : 0.0));
  }
  term('d', {"HB1", "CB", "OG", "HG1"}, grid, energy);
  mol1.term.back().cons.clear();

  CSoftDiheMulti multi;
  multi.dihedral = {soft};
  multi.nDim = 1;
  multi.termName = "multidimensional-hb1_cb_og_hg1";
  multi.point = {{60.0}, {180.0}, {-60.0}};
  multi.id = {1, 2, 3};
  multi.Eqm = {0.9, 0.0, 1.1};
  fs::create_directories(dir + "/bond/" + multi.termName + "/pdb");
  for (int id : multi.id) mol1.WriteCoorPDB(dir + "/bond/" + multi.termName + "/pdb/" + inttostr(id) + ".pdb", "main");
  OptInter.SoftDiheMulti = {multi};

  TargetStr = CTargetStructures();
  TargetStr.nStr = 2;
  TargetStr.Eqm = {0.0, 1.2};
  fs::create_directories(dir + "/bond/target-structures/pdb");
  for (int i = 1; i <= 2; ++i)
    mol1.WriteCoorPDB(dir + "/bond/target-structures/pdb/" + inttostr(i) + ".pdb", "main");
  fs::create_directories(dir + "/results");

  AllFreeParameters(param, paramToOpt);
  nPrt = static_cast<int>(paramToOpt.param.size());
  paramInitial = param;
  moltmp = mol1;
  xPrev[0] = -100.0;
  Vec_DP x(nPrt);
  for (int i = 0; i < nPrt; ++i) x[i] = ParamInit[i] = kMethanolFitValues.at(static_cast<std::size_t>(i));
  return x;
}

}  // namespace testing_support
