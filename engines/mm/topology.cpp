#include "topology.h"

#include <set>
#include <stdexcept>

#include "text.h"

namespace mm {

namespace {

// RTF keywords whose lines carry nothing the energy needs.
const std::set<std::string>& IgnoredKeywords() {
  static const std::set<std::string> words = {"GROU", "DONO", "ACCE", "IC",   "BILD", "DELE",
                                              "PATC", "DECL", "DEFA", "AUTO", "CMAP", "LONE",
                                              "ANIS", "ANGL", "THET", "DIHE", "PHI",  "DIHED"};
  return words;
}

bool IsVersionLine(const std::vector<std::string>& w) {
  for (const auto& word : w)
    for (char c : word)
      if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

void ReadTopology(const std::string& path, Topology& top) {
  const auto lines = ReadLines(path);
  Residue* current = nullptr;  // residue being read; nullptr inside PRES or before RESI
  bool inPatch = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    const auto w = Words(StripComment(lines[i]));
    if (w.empty() || w[0][0] == '*') continue;
    const std::string key = ToUpper(w[0]).substr(0, 4);
    try {
      if (key == "END") break;
      if (key == "MASS") {
        if (w.size() < 4) throw std::invalid_argument("MASS needs a number, a type and a mass");
        top.masses[ToUpper(w[2])] = ParseReal(w[3]);
      } else if (key == "RESI") {
        if (w.size() < 2) throw std::invalid_argument("RESI needs a name");
        Residue r;
        r.name = ToUpper(w[1]);
        r.file = path;
        r.line = lineNo;
        for (auto it = top.residues.begin(); it != top.residues.end(); ++it)
          if (it->name == r.name) {
            top.residues.erase(it);
            break;
          }
        top.residues.push_back(r);
        current = &top.residues.back();
        inPatch = false;
      } else if (key == "PRES") {
        current = nullptr;
        inPatch = true;
      } else if (inPatch || IgnoredKeywords().count(key) || IsVersionLine(w)) {
        continue;
      } else if (current == nullptr) {
        throw std::invalid_argument("'" + w[0] + "' outside a residue");
      } else if (key == "ATOM") {
        if (w.size() < 4) throw std::invalid_argument("ATOM needs a name, a type and a charge");
        TopAtom a{ToUpper(w[1]), ToUpper(w[2]), ParseReal(w[3])};
        for (const auto& other : current->atoms)
          if (other.name == a.name) throw std::invalid_argument("atom " + a.name + " given twice");
        current->atoms.push_back(a);
      } else if (key == "BOND" || key == "DOUB" || key == "TRIP" || key == "AROM") {
        if (w.size() % 2 != 1) throw std::invalid_argument("bond atoms must come in pairs");
        for (std::size_t k = 1; k + 1 < w.size(); k += 2)
          current->bonds.emplace_back(ToUpper(w[k]), ToUpper(w[k + 1]));
      } else if (key == "IMPR" || key == "IMPH") {
        if ((w.size() - 1) % 4 != 0 || w.size() == 1)
          throw std::invalid_argument("improper atoms must come in fours");
        for (std::size_t k = 1; k + 3 < w.size(); k += 4)
          current->impropers.push_back(
              {ToUpper(w[k]), ToUpper(w[k + 1]), ToUpper(w[k + 2]), ToUpper(w[k + 3])});
      } else {
        throw std::invalid_argument("unknown keyword '" + w[0] + "'");
      }
    } catch (const InputError&) {
      throw;
    } catch (const std::exception& e) {
      throw InputError(path, lineNo, e.what());
    }
  }
}

const Residue& ChooseResidue(const Topology& top, const std::string& name) {
  if (name.empty()) {
    if (top.residues.size() == 1) return top.residues.front();
    if (top.residues.empty()) throw std::runtime_error("the topology files define no residue");
    throw std::runtime_error("the topology files define " + std::to_string(top.residues.size()) +
                             " residues: name one with a 'residue' line");
  }
  for (const auto& r : top.residues)
    if (r.name == ToUpper(name)) return r;
  throw std::runtime_error("residue " + ToUpper(name) + " is not in the topology files");
}

}  // namespace mm
