// The QM surface of a set of coupled soft dihedrals: constrained QM
// optimisations on a regular grid, from the current structure outwards into
// the region below cutEnergy.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>

#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/grid.h"
#include "intra/qm_constrained.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

// Points of the point file of an earlier run: lines of id, nDim coordinates,
// relative and estimated energy.
std::vector<CPoint> ReadPointFile(const std::string& path, int nDim) {
  std::vector<CPoint> points;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (NF(line) != nDim + 3) continue;
    try {
      CPoint p;
      p.id = strint(tprint(line, 1));
      for (int d = 0; d < nDim; ++d) p.v.push_back(strfloat(tprint(line, d + 2)));
      p.fname = path;
      points.push_back(p);
    } catch (const std::exception&) {
      std::printf("Error in line %s\n", line.c_str());
    }
  }
  return points;
}

int SmallestFreeId(const std::set<int>& used) {
  int id = 1;
  while (used.count(id) != 0) ++id;
  return id;
}

// Ends with an error naming the output when the structure it holds does not
// have the dihedrals of the grid point (an output of another point or run).
void CheckPointDihedrals(const CSoftDiheMulti& s, const CGridPoint& p, const std::string& out) {
  for (std::size_t d = 0; d < s.dihedral.size(); ++d) {
    const std::vector<int>& a = s.dihedral[d].aid;
    const Real v = PointDihedral(&p.cr.at(3 * a[0]), &p.cr.at(3 * a[1]), &p.cr.at(3 * a[2]),
                                 &p.cr.at(3 * a[3]), a[0], a[1], a[2], a[3]) *
                   Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
    Real diff = std::fmod(std::fabs(v - p.val[d]), 360.0);
    if (diff > 180.0) diff = 360.0 - diff;
    if (diff > 1.0) {
      throw DetailedError(
          Format("$ err gaussian output %s holds a dihedral of %.2f degrees where "
                 "its grid point has %.2f: it belongs to another point, remove it",
                 out.c_str(), v, p.val[d]));
    }
  }
}

}  // namespace

void CMolecule::QM_PES_Multi_Scan(CSoftDiheMulti& s) {
  for (CSoftDihe& c : s.constraint) c.val = round(IC(c.aid), 2);
  CGrid grid;
  grid.nDim = static_cast<int>(s.dihedral.size());
  s.nDim = grid.nDim;
  std::vector<double> v(grid.nDim, -180.0);
  if (grid.nDim > 0) grid.AddPoints(0, v);
  std::vector<double> seed;
  for (const CSoftDihe& d : s.dihedral) seed.push_back(round(IC(d.aid), 2));
  // A current structure on a grid point (180 is -180) starts from that point
  // rather than from a second point of the same place.
  CGridPoint* seedPoint = nullptr;
  for (CGridPoint& p : grid.point) {
    bool same = true;
    for (int d = 0; d < grid.nDim; ++d)
      same = same && std::fabs(std::remainder(p.val[d] - seed[d], 360.0)) <= _TINY;
    if (same) seedPoint = &p;
  }
  if (seedPoint == nullptr) {
    grid.NewPoint(seed);
    seedPoint = &grid.point.back();
  }
  seedPoint->ifSeed = seedPoint->ifToCalculate = true;
  grid.FindNeighbors();

  std::string name = "multidimensional";
  for (const CSoftDihe& d : s.dihedral) {
    name += "-";
    for (std::size_t k = 0; k < d.aid.size(); ++k) name += (k ? "_" : "") + AtomName(d.aid[k]);
  }
  lower(name);
  s.termName = name;
  const std::string dir = fpath + "bond/" + name + "/";
  mkdr(fpath + "bond/");
  mkdr(dir);
  mkdr(dir + "pdb/");
  const std::string pointFile = fpath + name + ".dat";
  const std::vector<CPoint> earlier = ReadPointFile(pointFile, grid.nDim);

  // Ids of the earlier points are theirs: a new point never takes one, so it
  // never reads the output of another point.
  std::set<int> used;
  for (const CPoint& p : earlier) used.insert(p.id);
  std::vector<Real> current(static_cast<std::size_t>(natm) * 3);
  CopyFromCoor(current, "main");

  const auto scheduled = [](const CGridPoint& p) { return p.ifToCalculate && !p.ifHasValue; };
  for (;;) {
    bool any = false;
    for (const CGridPoint& p : grid.point) any = any || scheduled(p);
    if (!any) break;
    // The points of one pass start from structures of earlier passes only,
    // so that they are independent jobs.
    std::vector<CGridPoint*> pass;
    for (CGridPoint& p : grid.point)
      if (scheduled(p)) pass.push_back(&p);
    std::vector<std::vector<Real>> starts;
    for (const CGridPoint* p : pass) {
      std::vector<Real> start = current;
      for (const CGridPoint* q : p->closePoint)
        if (!q->cr.empty()) start = q->cr;
      starts.push_back(start);
    }
    const auto stemOf = [&dir](const CGridPoint* p) { return dir + inttostr(p->id); };
    std::vector<std::size_t> items(pass.size());
    for (std::size_t k = 0; k < items.size(); ++k) items[k] = k;
    const auto prepare = [&](std::size_t k, std::vector<Gaussian::QMJob>& batch) {
      CGridPoint& p = *pass[k];
      int id = -1;
      for (const CPoint& e : earlier)
        if (e.v == p.val) id = e.id;
      if (id < 0) id = SmallestFreeId(used);
      used.insert(id);
      p.id = id;
      std::vector<CConstraint> cons;
      for (std::size_t d = 0; d < s.dihedral.size(); ++d)
        cons.push_back(DiheConstraint(s.dihedral[d].aid, p.val[d]));
      for (const CSoftDihe& c : s.constraint) cons.push_back(DiheConstraint(c.aid, c.val));
      PrepareConstrainedQMOptimization(*this, stemOf(&p) + ".inp", stemOf(&p) + ".out", starts[k],
                                       cons, batch);
    };
    const auto finish = [&](std::size_t k) {
      CGridPoint& p = *pass[k];
      const Gaussian::GaussianOutputData w = ReadConstrainedQMOptimization(*this, stemOf(&p) + ".out");
      p.cr = w.prop.xyzInputOrient;
      p.eQM = w.prop.energy;
      p.ifHasValue = true;
      CheckPointDihedrals(s, p, stemOf(&p) + ".out");
      SetComparisonCoordinates(*this, p.cr);
      WriteCoorPDB(dir + "pdb/" + inttostr(p.id) + ".pdb", "comp");
    };
    Gaussian::RunQMGroups(Gaussian::IndependentGroups(items), prepare, finish);
    Real lowest = 1.0;
    for (const CGridPoint& p : grid.point)
      if (p.ifHasValue && p.eQM < lowest) lowest = p.eQM;
    std::ofstream file(pointFile, std::ios::trunc);
    for (CGridPoint& p : grid.point) {
      if (!p.ifHasValue) continue;
      p.eQMnorm = (p.eQM - lowest) * Const::_HARTREES_TO_KCALS_;
      p.Print(file);
    }
    file.close();
    if (!file) EndProcess(1, "$ err unable to open file : " + pointFile + "\n");
    for (CGridPoint& p : grid.point) {
      if (!p.ifHasValue || p.eQMnorm >= ParamMultiDiheScan.cutEnergy) continue;
      for (CGridPoint* q : p.closePoint)
        if (!q->ifHasValue && !q->ifToCalculate) q->ifToCalculate = true;
    }
  }

  s.point.clear();
  s.Eqm.clear();
  s.point_type.clear();
  s.id.clear();
  for (CGridPoint& p : grid.point) {
    if (!p.ifHasValue) continue;
    bool minimum = true, maximum = true;
    for (const CGridPoint* q : p.closePoint) {
      if (q->ifHasValue && q->eQMnorm < p.eQMnorm) minimum = false;
      if (!q->ifHasValue || q->eQMnorm > p.eQMnorm) maximum = false;
    }
    if (minimum) p.type = -1;
    if (maximum) p.type = 1;
    s.point.push_back(p.val);
    s.Eqm.push_back(p.eQMnorm);
    s.point_type.push_back(p.type);
    s.id.push_back(p.id);
  }

  std::ofstream ref(dir + "qm_ref.dat", std::ios::trunc);
  for (std::size_t i = 0; i < s.point.size(); ++i) {
    for (const Real c : s.point[i]) ref << floattostr(c, 2) << " ";
    ref << floattostr(s.Eqm[i], 3) << "\n";
  }
  ref.close();
  if (!ref) EndProcess(1, "$ err unable to open file : " + dir + "qm_ref.dat\n");
  std::printf("$ statistics for scan %s\n", name.c_str());
  std::printf("$ number of points %i; points: \n", static_cast<int>(s.point.size()));
  for (std::size_t i = 0; i < s.point.size(); ++i) {
    std::printf(" %5i ", static_cast<int>(i));
    for (const Real c : s.point[i]) std::printf("%7.2f ", c);
    std::printf("%9.3f\n", s.Eqm[i]);
  }
}
