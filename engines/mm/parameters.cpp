#include "parameters.h"

#include <cmath>
#include <set>
#include <stdexcept>

#include "text.h"

namespace mm {

namespace {

enum class Section { None, Atoms, Bonds, Angles, Dihedrals, Impropers, Nonbonded, Nbfix, Skip };

// The section a line opens, or None when its first word opens none.
Section SectionOf(const std::string& word) {
  const std::string w = ToUpper(word);
  const std::string k = w.substr(0, 4);
  if (w == "ATOMS") return Section::Atoms;
  if (k == "BOND") return Section::Bonds;
  if (k == "ANGL" || k == "THET") return Section::Angles;
  if (k == "DIHE" || w == "PHI") return Section::Dihedrals;
  if (k == "IMPR" || k == "IMPH") return Section::Impropers;
  if (k == "NONB" || w == "NBONDED") return Section::Nonbonded;
  if (w == "NBFIX") return Section::Nbfix;
  if (w == "CMAP" || w == "HBOND" || w == "NBTHOLE") return Section::Skip;
  return Section::None;
}

std::vector<std::string> Types(const std::vector<std::string>& w, std::size_t n) {
  std::vector<std::string> t;
  for (std::size_t i = 0; i < n; ++i) t.push_back(ToUpper(w[i]));
  return t;
}

void Need(const std::vector<std::string>& w, std::size_t n, const char* what) {
  if (w.size() < n) throw std::invalid_argument(std::string(what) + " line has too few fields");
}

// A Lennard-Jones well from the columns at and at + 1: the depth as a
// positive number and the distance as written.
struct WellPair {
  double eps, rmin;
};
WellPair ReadWell(const std::vector<std::string>& w, std::size_t at) {
  const double eps = std::fabs(ParseReal(w[at]));
  return {eps, ParseReal(w[at + 1])};
}

// Adds a torsion term to an entry of this file: a repeated multiplicity
// replaces the earlier term; an entry from an earlier file is replaced whole.
void AddTorsion(std::map<std::string, std::vector<TorsionTerm>>& table,
                std::set<std::string>& seenHere, const std::string& key, const TorsionTerm& t) {
  auto& terms = table[key];
  if (!seenHere.count(key)) {
    terms.clear();
    seenHere.insert(key);
  }
  for (auto& old : terms)
    if (old.n == t.n) {
      old = t;
      return;
    }
  terms.push_back(t);
}

}  // namespace

std::string Key(const std::vector<std::string>& types) {
  std::string k;
  for (const auto& t : types) k += (k.empty() ? "" : " ") + t;
  return k;
}

void ReadParameters(const std::string& path, ParameterSet& set) {
  const auto lines = ReadLines(path);
  Section section = Section::None;
  std::set<std::string> dihedralsHere, impropersHere;
  bool continuation = false;  // the previous line ended in '-'
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    const std::string text = Trim(StripComment(lines[i]));
    const auto w = Words(text);
    const bool wasContinued = continuation;
    continuation = !text.empty() && text.back() == '-';
    if (w.empty() || w[0][0] == '*' || wasContinued) continue;
    try {
      const std::string head = ToUpper(w[0]);
      if (head == "END") break;
      const Section opened = SectionOf(w[0]);
      // A section keyword alone, or followed by options (NONBONDED nbxmod 5 ...),
      // opens a section; "BOND" etc. never occur as atom types of interest here.
      if (opened != Section::None &&
          (w.size() == 1 || opened == Section::Nonbonded || opened == Section::Skip ||
           head == "HBOND")) {
        section = opened;
        continue;
      }
      if (opened != Section::None && section == Section::None) {
        section = opened;
        continue;
      }
      switch (section) {
        case Section::None:
          if (head == "READ" || head == "RETURN") continue;
          throw std::invalid_argument("line outside any section");
        case Section::Skip:
          continue;
        case Section::Atoms:
          if (head != "MASS") throw std::invalid_argument("only MASS lines belong to ATOMS");
          Need(w, 4, "MASS");
          set.masses[ToUpper(w[2])] = ParseReal(w[3]);
          break;
        case Section::Bonds:
          Need(w, 4, "bond");
          set.bonds[Key(Types(w, 2))] = BondParam{ParseReal(w[2]), ParseReal(w[3])};
          break;
        case Section::Angles: {
          Need(w, 5, "angle");
          AngleParam a{ParseReal(w[3]), ParseReal(w[4]), 0, 0};
          // OpenMM would refuse it later, and leak the half-built context.
          if (!(a.theta0 >= 0.0 && a.theta0 <= 180.0))
            throw std::invalid_argument("equilibrium angle " + w[4] + " is not between 0 and 180 degrees");
          if (w.size() == 6) throw std::invalid_argument("Urey-Bradley needs a force and a distance");
          if (w.size() >= 7) {
            a.kub = ParseReal(w[5]);
            a.s0 = ParseReal(w[6]);
          }
          set.angles[Key(Types(w, 3))] = a;
          break;
        }
        case Section::Dihedrals:
        case Section::Impropers: {
          Need(w, 7, "dihedral");
          const TorsionTerm t{ParseReal(w[4]), ParseInt(w[5]), ParseReal(w[6])};
          if (t.n < 0) throw std::invalid_argument("negative multiplicity");
          if (section == Section::Dihedrals)
            AddTorsion(set.dihedrals, dihedralsHere, Key(Types(w, 4)), t);
          else
            AddTorsion(set.impropers, impropersHere, Key(Types(w, 4)), t);
          break;
        }
        case Section::Nonbonded: {
          Need(w, 4, "nonbonded");
          const WellPair v = ReadWell(w, 2);
          if (w.size() != 4 && w.size() < 7)
            throw std::invalid_argument("nonbonded line needs 3 or 6 numbers");
          const WellPair v14 = w.size() >= 7 ? ReadWell(w, 5) : v;
          set.lj[head] = LJParam{v.eps, v.rmin, v14.eps, v14.rmin};
          break;
        }
        case Section::Nbfix: {
          Need(w, 4, "NBFIX");
          const WellPair v = ReadWell(w, 2);
          const WellPair v14 = w.size() >= 6 ? ReadWell(w, 4) : v;
          set.nbfix[Key(Types(w, 2))] = PairLJ{v.eps, v.rmin, v14.eps, v14.rmin};
          break;
        }
      }
    } catch (const std::exception& e) {
      throw InputError(path, lineNo, e.what());
    }
  }
}

}  // namespace mm
