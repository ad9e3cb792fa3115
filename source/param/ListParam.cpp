// The entries of the bonded parameter table that a molecule needs, one per
// distinct combination of atom types, and the link of every term to its entry.
#include "../mol.h"
#include "param.h"

namespace {

// Index of the first entry for which match(entry) holds; -1 when none.
template <class Entry, class Match>
int FindEntry(const std::vector<Entry>& entries, int count, Match match) {
  for (int e = 0; e < count; ++e)
    if (match(entries[e])) return e;
  return -1;
}

// Atom indices, names and types of a new entry, from the atoms of the term
// that made it (i, j and, where the entry has them, k and l).
template <class Entry>
void SetAtoms(Entry& e, const std::vector<CMolecule::CAtom>& atom, const std::vector<int>& aid) {
  e.i = aid[0];
  e.j = aid[1];
  e.name1 = atom[e.i].name;
  e.name2 = atom[e.j].name;
  e.atp1 = atom[e.i].type;
  e.atp2 = atom[e.j].type;
  if constexpr (requires { e.k; }) {
    e.k = aid[2];
    e.name3 = atom[e.k].name;
    e.atp3 = atom[e.k].type;
  }
  if constexpr (requires { e.l; }) {
    e.l = aid[3];
    e.name4 = atom[e.l].name;
    e.atp4 = atom[e.l].type;
  }
}

}  // namespace

void CMolecule::CreateListParam(Param& p) {
  p.nbonds = p.nangles = p.ndihe = p.nimpr = 0;

  for (auto& t : bond) {
    const int i = t.aid[0], j = t.aid[1];
    const std::string& ti = atom[i].type;
    const std::string& tj = atom[j].type;
    t.fid = FindEntry(p.bond, p.nbonds,
                      [&](const Param::Bonds& e) { return compareBond(e.atp1, e.atp2, ti, tj); });
    if (t.fid >= 0) continue;
    auto& e = p.AddBond();
    t.fid = p.nbonds - 1;
    SetAtoms(e, atom, t.aid);
    e.force = 200.0;
    e.rmin = e.ideal = dist(i, j);
  }

  for (auto& t : angle) {
    const int i = t.aid[0], j = t.aid[1], k = t.aid[2];
    const std::string& ti = atom[i].type;
    const std::string& tj = atom[j].type;
    const std::string& tk = atom[k].type;
    t.fid = FindEntry(p.angle, p.nangles, [&](const Param::Angles& e) {
      return compareAngle(e.atp1, e.atp2, e.atp3, ti, tj, tk);
    });
    if (t.fid >= 0) continue;
    auto& e = p.AddAngle();
    t.fid = p.nangles - 1;
    SetAtoms(e, atom, t.aid);
    e.force = 50.0;
    e.amin = e.ideal = Angle(i, j, k) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
  }

  for (auto& t : dihedral) {
    const int i = t.aid[0], j = t.aid[1], k = t.aid[2], l = t.aid[3];
    const std::string& ti = atom[i].type;
    const std::string& tj = atom[j].type;
    const std::string& tk = atom[k].type;
    const std::string& tl = atom[l].type;
    t.fid = FindEntry(p.dihe, p.ndihe, [&](const Param::Dihes& e) {
      return compareDihe(e.atp1, e.atp2, e.atp3, e.atp4, ti, tj, tk, tl);
    });
    if (t.fid >= 0) continue;
    auto& e = p.AddDihe();
    t.fid = p.ndihe - 1;
    SetAtoms(e, atom, t.aid);
    e.force.fill(0.0);
    e.angle.fill(0.0);
    e.NonZero.fill(0);
    e.dmin = Dihe(i, j, k, l) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
  }

  for (auto& t : impr) {
    const int i = t.aid[0], j = t.aid[1], k = t.aid[2], l = t.aid[3];
    const std::string& ti = atom[i].type;
    const std::string& tj = atom[j].type;
    const std::string& tk = atom[k].type;
    const std::string& tl = atom[l].type;
    t.fid = FindEntry(p.impr, p.nimpr, [&](const Param::Imprs& e) {
      return compareImpr(e.atp1, e.atp2, e.atp3, e.atp4, ti, tj, tk, tl);
    });
    if (t.fid >= 0) continue;
    auto& e = p.AddImpr();
    t.fid = p.nimpr - 1;
    SetAtoms(e, atom, t.aid);
    e.force = 0.0;
  }
}
