#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io.h"
#include "mol.h"
#include "param/param.h"
#include "support/molecule.h"

namespace testing_support {

// Methanol with a hydrogen listed before the carbon, so that its terms come
// in both type orders: H1 C O H2 H3 HO. H1-C-O is a right angle and the
// dihedral H1-C-O-HO is 90 degrees; O-HO is 0.96 A long.
inline CMolecule TypedMethanol() {
  CMolecule m = MakeMolecule({{"H1", 1, 0.0, 1.09, 0.0}, {"C", 6, 0.0, 0.0, 0.0}, {"O", 8, 1.43, 0.0, 0.0},
                              {"H2", 1, -0.36, -0.51, 0.89}, {"H3", 1, -0.36, -0.51, -0.89}, {"HO", 1, 1.43, 0.0, 0.96}});
  const char* types[] = {"HGA3", "CG331", "OG311", "HGA3", "HGA3", "HGP1"};
  for (int i = 0; i < m.natm; ++i) m.atom[i].type = types[i];
  const int bonds[][2] = {{0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}};
  for (const auto& b : bonds) m.atom[b[0]].bond[b[1]] = m.atom[b[1]].bond[b[0]] = 1;
  testing::internal::CaptureStdout();
  m.GenerateStructure();
  testing::internal::GetCapturedStdout();
  return m;
}

// Sets the types of a table entry: two for a bond, three for an angle, four
// for a dihedral or an improper.
template <class Entry>
Entry& WithTypes(Entry& e, const std::vector<std::string>& types) {
  e.atp1 = types.at(0);
  e.atp2 = types.at(1);
  if constexpr (requires { e.atp3; }) e.atp3 = types.at(2);
  if constexpr (requires { e.atp4; }) e.atp4 = types.at(3);
  return e;
}

// A table of the kind a small alcohol needs.
inline Param AlcoholTable() {
  Param p;
  WithTypes(p.AddBond(), {"CG331", "HGA3"}), WithTypes(p.AddBond(), {"CG331", "OG311"});
  WithTypes(p.AddAngle(), {"HGA3", "CG331", "OG311"}), WithTypes(p.AddAngle(), {"HGA3", "CG331", "HGA3"});
  WithTypes(p.AddAngle(), {"CG331", "OG311", "HGP1"}), WithTypes(p.AddDihe(), {"HGA3", "CG331", "OG311", "HGP1"});
  WithTypes(p.AddImpr(), {"CG2O1", "A", "B", "OG2D1"});
  return p;
}

// Every field of every entry of the table, one line per entry (per term for
// the dihedrals).
inline std::string Dump(const Param& p) {
  std::string s;
  const auto tail = [&s](const auto& e, const std::string& file) {
    s += Format(" | fOpt %d read %d |%s| %s\n", e.fOpt, int(e.ifread), e.comment.c_str(), file.c_str());
  };
  for (const auto& b : std::vector(p.bond.begin(), p.bond.begin() + p.nbonds)) {
    s += Format("bond %d %d %s %s %s %s %.10g %.10g %.10g", b.i, b.j, b.atp1.c_str(), b.atp2.c_str(),
                b.name1.c_str(), b.name2.c_str(), b.force, b.rmin, b.ideal);
    tail(b, b.paramfile);
  }
  for (const auto& a : std::vector(p.angle.begin(), p.angle.begin() + p.nangles)) {
    s += Format("angle %d %d %d %s %s %s %s %s %s %.10g %.10g %.10g ub %d %.10g %.10g", a.i, a.j, a.k,
                a.atp1.c_str(), a.atp2.c_str(), a.atp3.c_str(), a.name1.c_str(), a.name2.c_str(),
                a.name3.c_str(), a.force, a.amin, a.ideal, a.ub, a.kub, a.s0);
    tail(a, a.paramfile);
  }
  for (const auto& d : std::vector(p.dihe.begin(), p.dihe.begin() + p.ndihe)) {
    s += Format("dihe %d %d %d %d %s %s %s %s %s %s %s %s %.6g ntms %d", d.i, d.j, d.k, d.l, d.atp1.c_str(),
                d.atp2.c_str(), d.atp3.c_str(), d.atp4.c_str(), d.name1.c_str(), d.name2.c_str(),
                d.name3.c_str(), d.name4.c_str(), d.dmin, d.ntms);
    tail(d, "");
    for (int t = 0; t < kDiheTerms; ++t)
      s += Format("  term %d on %d %.10g %.10g %.10g harm %d %s\n", t + 1, d.NonZero[t], d.force[t],
                  d.angle[t], d.ideal[t], int(d.ifReadHarm[t]), d.paramfile[t].c_str());
  }
  for (const auto& m : std::vector(p.impr.begin(), p.impr.begin() + p.nimpr)) {
    s += Format("impr %s %s %s %s %s %s %s %s %.10g", m.atp1.c_str(), m.atp2.c_str(), m.atp3.c_str(),
                m.atp4.c_str(), m.name1.c_str(), m.name2.c_str(), m.name3.c_str(), m.name4.c_str(), m.force);
    tail(m, m.paramfile);
  }
  return s;
}

}  // namespace testing_support
