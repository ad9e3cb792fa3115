// Filling the bonded parameter table from CHARMM parameter files.
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

#include "../errors.h"
#include "../io.h"
#include "../param.h"
#include "../util.h"
#include "param.h"

namespace {

// The section of a parameter file that the line being read belongs to. A
// line whose first four characters, in any case, name a section opens it.
class CSections {
 public:
  void DeactivateAll() {
    for (auto& [key, active] : flags) active = false;
  }
  void CheckLine(const std::string& line) {
    const auto it = flags.find(Lower(line.substr(0, 4)));
    if (it == flags.end()) return;
    DeactivateAll();
    it->second = true;
  }
  std::string ThisSection() const {
    for (const auto& [key, active] : flags)
      if (active) return key;
    return "not within any section";
  }
  bool Active(const std::string& key) const { return flags.at(key); }

  std::map<std::string, bool> flags{{"bond", false}, {"angl", false}, {"dihe", false},
                                    {"impr", false}, {"cmap", false}, {"nonb", false}};
};

std::string CommentOf(const std::string& line) {
  const auto bang = line.find('!');
  return bang == std::string::npos ? "" : line.substr(bang + 1);
}

void ReadBondLine(Param& p, const std::string& line, const std::string& fname) {
  const std::string f1 = tprint(line, 1), f2 = tprint(line, 2);
  for (int e = 0; e < p.nbonds; ++e) {
    auto& b = p.bond[e];
    if (!compareBond(f1, f2, b.atp1, b.atp2)) continue;
    b.ifread = true;
    b.force = strfloat(tprint(line, 3));
    b.rmin = strfloat(tprint(line, 4));
    b.comment = CommentOf(line);
    b.paramfile = fname;
  }
}

void ReadAngleLine(Param& p, const std::string& line, const std::string& fname) {
  const std::string f1 = tprint(line, 1), f2 = tprint(line, 2), f3 = tprint(line, 3);
  for (int e = 0; e < p.nangles; ++e) {
    auto& a = p.angle[e];
    if (!compareAngle(f1, f2, f3, a.atp1, a.atp2, a.atp3)) continue;
    a.ifread = true;
    a.force = strfloat(tprint(line, 4));
    a.amin = a.ideal = strfloat(tprint(line, 5));
    // A comment may follow the angle directly, with or without a blank
    // after its "!"; only numbers there make a Urey-Bradley term.
    const std::string f6 = tprint(line, 6);
    if (NF(line) > 5 && f6[0] != '!') {
      a.ub = 1;
      a.kub = strfloat(f6);
      a.s0 = strfloat(tprint(line, 7));
    }
    a.comment = CommentOf(line);
    a.paramfile = fname;
  }
}

void ReadDiheLine(Param& p, const std::string& line, const std::string& fname) {
  const std::string f1 = tprint(line, 1), f2 = tprint(line, 2), f3 = tprint(line, 3),
                    f4 = tprint(line, 4);
  for (int e = 0; e < p.ndihe; ++e) {
    auto& d = p.dihe[e];
    if (!compareDihe(f1, f2, f3, f4, d.atp1, d.atp2, d.atp3, d.atp4)) continue;
    d.ifread = true;
    const int multiplicity = strint(tprint(line, 6));
    if (multiplicity < 1 || multiplicity > kDiheTerms)
      throw std::out_of_range(
          Format("dihedral multiplicity %i outside 1..%i", multiplicity, kDiheTerms));
    const int n = multiplicity - 1;
    if (d.ifReadHarm[n])
      std::fprintf(stderr, "$ err repeated dihedral for %s %s %s %s %i\n", d.atp1.c_str(),
                   d.atp2.c_str(), d.atp3.c_str(), d.atp4.c_str(), n);
    d.force[n] = strfloat(tprint(line, 5));
    d.angle[n] = d.ideal[n] = strfloat(tprint(line, 7));
    d.NonZero[n] = 1;
    d.ifReadHarm[n] = true;
    d.paramfile[n] = fname;
    d.comment = CommentOf(line);
  }
}

void ReadImprLine(Param& p, const std::string& line, const std::string& fname) {
  const std::string f1 = tprint(line, 1), f2 = tprint(line, 2), f3 = tprint(line, 3),
                    f4 = tprint(line, 4);
  for (int e = 0; e < p.nimpr; ++e) {
    auto& m = p.impr[e];
    if (!compareImpr(f1, f2, f3, f4, m.atp1, m.atp2, m.atp3, m.atp4)) continue;
    m.ifread = true;
    m.force = strfloat(tprint(line, 5));
    m.comment = CommentOf(line);
    m.paramfile = fname;
  }
}

}  // namespace

void Param::readParamFromFile(const std::string& fname) {
  CSections CheckSection;
  std::ifstream in(fname);
  if (!in) EndProcess(1, "$ error parameter file can not be opened : " + fname + "\n");
  std::string line;
  try {
    while (std::getline(in, line)) {
      CheckSection.CheckLine(line);
      if (CheckSection.Active("bond")) {
        upper(line);
        ReadBondLine(*this, line, fname);
      } else if (CheckSection.Active("angl")) {
        upper(line);
        ReadAngleLine(*this, line, fname);
      } else if (CheckSection.Active("dihe")) {
        upper(line);
        ReadDiheLine(*this, line, fname);
      } else if (CheckSection.Active("impr")) {
        upper(line);
        ReadImprLine(*this, line, fname);
      }
    }
  } catch (const std::exception& e) {
    std::fflush(stdout);
    EndProcess(1, "$ err : while reading file: " + fname +
                      " ; within section : " + CheckSection.ThisSection() + " ; " +
                      " in line : " + line + "\n$ err : " + e.what() + "\n");
  }
}

void Param::Initialize(const Charmm& charmm) {
  for (const auto& path : charmm.params) readParamFromFile(path);
  for (int e = 0; e < nbonds; ++e) bond[e].fOpt = bond[e].ifread ? 0 : 1;
  for (int e = 0; e < nangles; ++e) angle[e].fOpt = angle[e].ifread ? 0 : 1;
  for (int e = 0; e < ndihe; ++e) dihe[e].fOpt = dihe[e].ifread ? 0 : 1;
  for (int e = 0; e < nimpr; ++e) impr[e].fOpt = impr[e].ifread ? 0 : 1;
}
