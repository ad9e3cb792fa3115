#include "coordinates.h"

#include <stdexcept>

#include "text.h"

namespace mm {

namespace {

void Store(const Molecule& m, Coords& c, std::vector<bool>& seen, const std::string& name,
           const Point& p) {
  const int i = m.Index(name);
  if (i < 0) throw std::invalid_argument("atom " + name + " is not in residue " + m.residue);
  if (seen[i]) throw std::invalid_argument("atom " + name + " is given twice");
  c[i] = p;
  seen[i] = true;
}

Coords ReadPdb(const std::string& path, const std::vector<std::string>& lines, const Molecule& m) {
  Coords c(m.natm());
  std::vector<bool> seen(m.natm(), false);
  int models = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const auto head = Words(line.substr(0, 6));
    // One structure per file: a second MODEL would silently overwrite the first.
    if (!head.empty() && head[0] == "MODEL" && ++models > 1)
      throw InputError(path, static_cast<int>(k) + 1, "a second MODEL: give one structure per file");
    if (head.empty() || (head[0] != "ATOM" && head[0] != "HETATM")) continue;
    try {
      if (line.size() < 54) throw std::invalid_argument("atom record shorter than 54 columns");
      const std::string name = Trim(line.substr(12, 4));
      const Point p = {ParseReal(Trim(line.substr(30, 8))), ParseReal(Trim(line.substr(38, 8))),
                       ParseReal(Trim(line.substr(46, 8)))};
      Store(m, c, seen, name, p);
    } catch (const std::exception& e) {
      throw InputError(path, static_cast<int>(k) + 1, e.what());
    }
  }
  for (int i = 0; i < m.natm(); ++i)
    if (!seen[i]) throw InputError(path, 0, "no coordinates for atom " + m.atoms[i].name);
  return c;
}

Coords ReadCard(const std::string& path, const std::vector<std::string>& lines, std::size_t countLine,
                const Molecule& m) {
  Coords c(m.natm());
  std::vector<bool> seen(m.natm(), false);
  int count = 0;
  try {
    count = ParseInt(Words(lines[countLine])[0]);
  } catch (const std::exception& e) {
    throw InputError(path, static_cast<int>(countLine) + 1, e.what());
  }
  int read = 0;
  for (std::size_t k = countLine + 1; k < lines.size(); ++k) {
    const auto w = Words(lines[k]);
    if (w.empty()) continue;
    try {
      if (w.size() < 7) throw std::invalid_argument("atom line needs at least 7 fields");
      Store(m, c, seen, w[3], {ParseReal(w[4]), ParseReal(w[5]), ParseReal(w[6])});
      ++read;
    } catch (const std::exception& e) {
      throw InputError(path, static_cast<int>(k) + 1, e.what());
    }
  }
  if (read != count)
    throw InputError(path, static_cast<int>(countLine) + 1,
                     "announces " + std::to_string(count) + " atoms, " + std::to_string(read) + " given");
  for (int i = 0; i < m.natm(); ++i)
    if (!seen[i]) throw InputError(path, 0, "no coordinates for atom " + m.atoms[i].name);
  return c;
}

}  // namespace

Coords ReadCoordinates(const std::string& path, const Molecule& m) {
  const auto lines = ReadLines(path);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const auto w = Words(lines[k]);
    if (w.empty()) continue;
    if (w[0][0] == '*') continue;
    // CARD: after the title, a line with the atom count (and EXT) alone.
    const bool countLine = (w.size() == 1 || (w.size() == 2 && ToUpper(w[1]) == "EXT")) &&
                           w[0].find_first_not_of("0123456789") == std::string::npos;
    if (countLine) return ReadCard(path, lines, k, m);
    break;
  }
  return ReadPdb(path, lines, m);
}

std::string CardText(const Molecule& m, const Coords& c, const std::string& title) {
  std::string out = "* " + title + "\n*\n";
  out += Format("%10d  EXT\n", m.natm());
  for (int i = 0; i < m.natm(); ++i) {
    out += Format("%10d%10d  %-8s  %-8s%20.10f%20.10f%20.10f  %-8s  %-8s%20.10f\n", i + 1, 1,
                  m.residue.substr(0, 8).c_str(), m.atoms[i].name.substr(0, 8).c_str(), c[i][0],
                  c[i][1], c[i][2], "AAAA", "1", 0.0);
  }
  return out;
}

}  // namespace mm
