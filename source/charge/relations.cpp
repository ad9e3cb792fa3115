#include "charge/relations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "charge/ChargeSettings.h"
#include "charge/water.h"
#include "errors.h"
#include "io.h"
#include "util.h"

bool IsIndependent(const CMolecule& s, int i) {
  const auto& row = s.atom[i].qrel;
  return static_cast<std::size_t>(i) < row.size() && row[i] > 0.0;
}

int CountIndependent(const CMolecule& s) {
  int n = 0;
  for (int i = 0; i < s.natm; ++i) n += IsIndependent(s, i) ? 1 : 0;
  return n;
}

std::string RelationFilePath() { return UserFilePath(ParamOptCharges.chargeRelFile); }

namespace {

// The upper-cased lines of the charge-relations file; false when it cannot be opened.
bool ReadRelationLines(std::vector<std::string>& lines) {
  std::ifstream f(RelationFilePath());
  if (!f) return false;
  std::string line;
  while (std::getline(f, line)) lines.push_back(Upper(line));
  return true;
}

// Ends the run at a line of the charge-relations file; e says what is wrong.
[[noreturn]] void BadRelationLine(const std::string& line, const std::exception* e = nullptr) {
  const auto* detail = dynamic_cast<const DetailedError*>(e);
  EndProcess(1, (detail != nullptr ? std::string(detail->what()) + "\n" : "") + "$ err : in file " +
                    RelationFilePath() + ", in line : " + line + "\n");
}

// 0-based geometry from a 1-based number word; ends the process with
// `message` + the line when it is not a stored geometry.
int GeometryOf(const CMolecule& s, const std::string& line, int word, const std::string& message) {
  const int g = NF(line) >= word ? WholeInt(tprint(line, word)) - 1 : 0;
  if (g < 0 || g >= s.ngeom) EndProcess(1, message + line + "\n");
  return g;
}

void AdviseEquivalentAtoms(const CMolecule& s) {
  const auto bonded = [&s](int a, int b) {
    const auto& row = s.atom[a].bond;
    return static_cast<std::size_t>(b) < row.size() && row[b] != 0;
  };
  for (int i = 0; i < s.natm; ++i) {
    for (int j = i + 1; j < s.natm; ++j) {
      const int ci = s.atom[i].chem, cj = s.atom[j].chem;
      const bool equivalent = (cj == 1 && (ci == 1 || ci == 17)) || (cj != 1 && ci == 17);
      if (!equivalent) continue;
      for (int k = 0; k < s.natm; ++k) {
        if (bonded(k, i) && bonded(k, j)) {
          std::printf("$ equil. atoms are found and advised to have identical charges : %s %s \n",
                      s.atom[i].name.c_str(), s.atom[j].name.c_str());
        }
      }
    }
  }
}

void ApplyRelationLine(CMolecule& s, const std::string& line) {
  const std::string key = Lower(tprint(line, 1));
  if (key == "noshift") {
    s.atom[s.AtomIndex(tprint(line, 2))].polar = -1;
  } else if (key == "s") {
    const int a = s.AtomIndex(tprint(line, 2));
    const Real angle = WholeReal(tprint(line, 3));
    const Real scale = WholeReal(tprint(line, 4));
    const int g = GeometryOf(s, line, 5, "err this geometry is not setup : ");
    for (std::size_t w = 0; w < h2o.size(); ++w) {
      if (h2o[w].aid1 == a && h2o[w].h2oangle == angle && h2o[w].iProbedGeometry == g) {
        h2o[w].h2oscale = scale;
      }
    }
  } else if (key == "q") {
    const int a = s.AtomIndex(tprint(line, 2));
    const int b = s.AtomIndex(tprint(line, 3));
    const Real c = WholeReal(tprint(line, 4));
    if (c == 0.0 || a == b) return;
    s.atom[a].qrel[b] = c;
    s.atom[b].qrel[a] = 1.0 / c;
    const int hi = std::max(a, b);
    s.atom[hi].qrel[hi] = 0.0;
  } else if (key == "g") {
    const int g = WholeInt(tprint(line, 2)) - 1;
    const Real weight = WholeReal(tprint(line, 3));
    if (g < 0 || g >= s.ngeom) EndProcess(1, "$ this geometry was not setup" + line + "\n");
    ParamOptCharges.WeghtGeometry.resize(s.ngeom, 1.0);
    ParamOptCharges.WeghtGeometry[g] = weight;
  } else if (key == "f") {
    const int a = s.AtomIndex(tprint(line, 2));
    const Real value = WholeReal(tprint(line, 3));
    s.atom[a].qrel[a] = 0.0;
    s.atom[a].q = value;
  }
}

void PropagateRelations(CMolecule& s) {
  const int n = s.natm;
  for (int i = 0; i < n; ++i) {
    auto& ri = s.atom[i].qrel;
    for (int j = 0; j < n; ++j) {
      if (j == i || ri[j] == 0.0) continue;
      const auto& rj = s.atom[j].qrel;
      for (int k = 0; k < n; ++k) {
        if (k != i && k != j && rj[k] != 0.0) ri[k] = rj[k] * ri[j];
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (s.atom[i].qrel[j] != 0.0) s.atom[j].qrel[j] = 0.0;
    }
  }
}

void PrintRelationTable(const CMolecule& s) {
  std::printf("$ Number of independent atomic charges to optimize : %i\n", CountIndependent(s));
  std::printf("$ Relation between atomic charges :\n");
  std::printf(" v : charge will be optimized; x : charge depends on the charge(s) of another atom(s);\n");
  std::printf(" 'value' : charge is fixed to a given number\n");
  std::string t = "       ";
  for (int j = 0; j < s.natm; ++j) t += center(s.atom[j].name, 7);
  t += "\n\n";
  for (int i = 0; i < s.natm; ++i) {
    const auto& row = s.atom[i].qrel;
    t += Format("%7s", s.atom[i].name.c_str());
    for (int j = 0; j < s.natm; ++j) {
      if (j < i) {
        t += "       ";
      } else if (j > i) {
        t += row[j] == 0.0 ? "   -   " : center(floattostr(row[j], 1), 7);
      } else if (IsIndependent(s, i)) {
        t += "   v   ";
      } else {
        bool zero = true;
        for (const double e : row) zero = zero && e == 0.0;
        t += zero ? center(floattostr(s.atom[i].q, 3), 7) : "   x   ";
      }
    }
    t += "\n\n";
  }
  std::fputs(t.c_str(), stdout);
}

void PrintWaterRowHead(std::size_t number, const WaterTIP3P& w) {
  std::printf(" %-3i & %8i & %-15s & ", static_cast<int>(number), w.iProbedGeometry + 1,
              (w.atm1 + "-" + w.atm2).c_str());
}

}  // namespace

namespace OptimizeCharge {

void CheckRelationFile() {
  std::vector<std::string> lines;
  if (!ReadRelationLines(lines)) return;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (Lower(tprint(line, 1)) == "q" && tprint(line, 2) == tprint(line, 3)) {
      EndProcess(1, "$ err " + RelationFilePath() + ":" + inttostr(static_cast<int>(n) + 1) + ": " +
                        line + " ties the charge of " + tprint(line, 2) +
                        " to itself; a q line ties two atoms: q ATOM1 ATOM2 FACTOR\n");
    }
  }
}

void RestrainCharges(CMolecule& s) {
  AdviseEquivalentAtoms(s);
  for (int i = 0; i < s.natm; ++i) s.atom[i].polar = std::fabs(s.atom[i].q) > 0.25 ? 1 : -1;
  for (int i = 0; i < s.natm; ++i) {
    s.atom[i].qrel.assign(s.natm, 0.0);
    s.atom[i].qrel[i] = 1.0;
  }
  std::vector<std::string> lines;
  if (!ReadRelationLines(lines)) {
    std::printf("$ External file with charge restraints was not found\n");
  } else {
    std::printf("$ External file with charge restraints was found %s\n", RelationFilePath().c_str());
    for (const std::string& line : lines) {
      try {
        ApplyRelationLine(s, line);
      } catch (const std::exception& e) {
        BadRelationLine(line, &e);
      }
    }
  }
  PropagateRelations(s);
  PrintRelationTable(s);
}

void ApplyCorrectionToQMData(const CMolecule& s) {
  const CParamOptCharges& p = ParamOptCharges;
  std::printf("$ Statistics of qm water interactions, qm/qm adjusted : \n");
  std::printf(" %s & %8s & %15s & %21s & %21s & %10s\n", "N", "Geometry", "Probed atom",
              "E, kcal/mol", "Dist, Ang.", "Angle");
  const bool neutral = s.netcharge == 0.0;
  for (std::size_t i = 0; i < h2o.size(); ++i) {
    WaterTIP3P& w = h2o[i];
    const Real e0 = w.QMInterEner, d0 = w.QMInterDist;
    if (s.atom[w.aid1].polar == 1) {
      w.QMInterEner *= neutral ? p.QMEnergyScaleNeutral : p.QMEnergyScaleCharged;
      w.QMInterDist -= neutral ? p.QMDistShiftNeutral : p.QMDistShiftCharged;
    }
    PrintWaterRowHead(i + 1, w);
    std::printf("%9.2f | %-9.2f & ", e0, w.QMInterEner);
    std::printf("%9.2f | %-9.2f & ", d0, w.QMInterDist);
    std::printf("%7.1f\n", w.h2oangle);
  }
  std::vector<std::string> lines;
  if (!ReadRelationLines(lines)) {
    std::printf("$ External file with charge restraints was not found\n");
    return;
  }
  std::printf("$ External file with water interaction data was found %s\n", RelationFilePath().c_str());
  for (const std::string& line : lines) {
    if (Lower(tprint(line, 1)) != "wdata") continue;
    const int a = s.AtomIndex(tprint(line, 2));
    std::size_t found = h2o.size();
    Real energy = 0.0, dist = 0.0;
    try {
      const Real angle = WholeReal(tprint(line, 3));
      const int g = GeometryOf(s, line, 6, "err this geometry is not setup : ");
      energy = WholeReal(tprint(line, 4));
      dist = WholeReal(tprint(line, 5));
      for (std::size_t i = 0; i < h2o.size() && found == h2o.size(); ++i) {
        if (h2o[i].aid1 == a && h2o[i].h2oangle == angle && h2o[i].iProbedGeometry == g) found = i;
      }
    } catch (const std::exception& e) {
      BadRelationLine(line, &e);
    }
    if (found == h2o.size()) BadRelationLine(line);
    WaterTIP3P& w = h2o[found];
    w.QMInterEner = energy;
    w.QMInterDist = dist;
    std::printf("$ Water interaction data were read\n");
    PrintWaterRowHead(found + 1, w);
    std::printf("%9.2f & ", w.QMInterEner);
    std::printf("%9.2f & ", w.QMInterDist);
    std::printf("%7.1f\n", w.h2oangle);
  }
}

void EqualizeCharge(CMolecule& s) {
  Real sum = 0.0;
  for (int i = 0; i < s.natm; ++i) {
    if (!IsIndependent(s, i)) continue;
    for (const double e : s.atom[i].qrel) sum += e;
  }
  if (sum == 0.0) return;
  const Real delta = (s.netcharge - s.Q()) / sum;
  for (int i = 0; i < s.natm; ++i) {
    if (!IsIndependent(s, i)) continue;
    const auto& row = s.atom[i].qrel;
    const int n = std::min(s.natm, static_cast<int>(row.size()));
    for (int j = 0; j < n; ++j) s.atom[j].q += row[j] * delta;
  }
}

}  // namespace OptimizeCharge
