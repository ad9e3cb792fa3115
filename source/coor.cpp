// Coordinate files: PDB, CHARMM CARD and XYZ readers, PDB writer and printer.
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "elements.h"
#include "errors.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

enum class CoordinateSet { Main, Comp, None };

CoordinateSet SetOf(const std::string& target) {
  if (target == "main") return CoordinateSet::Main;
  if (target == "comp") return CoordinateSet::Comp;
  return CoordinateSet::None;
}

// Takes coordinate c (0, 1, 2) of a line with `coordinate(c)` and stores the
// three in the chosen set of the atom; when one cannot be taken, the read
// ends with `message` followed by the line.
template <class Coordinate>
void StoreLine(CMolecule::CAtom& a, CoordinateSet set, const std::string& line,
               const std::string& message, Coordinate coordinate) {
  std::vector<double> v(3);
  try {
    for (int c = 0; c < 3; ++c) v[c] = coordinate(c);
  } catch (const std::exception& e) {
    const bool detailed = dynamic_cast<const DetailedError*>(&e) != nullptr;
    EndProcess(1, (detailed ? e.what() + std::string("\n") : "") + message + line + "\n");
  }
  if (set == CoordinateSet::Main) a.xyz = v;
  if (set == CoordinateSet::Comp) a.xyzcomp = v;
}

std::ifstream OpenCoordinateFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) EndProcess(1, "$ err unable to open file : " + path + "\n");
  return in;
}

// Geometries are added one at a time: an index may name a stored geometry or
// the next free one.
void CheckGeometryIndex(const CMolecule& m, int geometry) {
  if (geometry < 0 || geometry > m.ngeom) {
    EndProcess(1, Format("$ err geometry %i can not be stored: %i geometries are set up, the next "
                         "one is %i\n",
                         geometry + 1, m.ngeom, m.ngeom + 1));
  }
}

// Checks that every atom was read, stores the active coordinates as the
// geometry (adding it when it is the next free one) and refreshes rv.
void CompleteRead(CMolecule& m, const std::vector<bool>& read, const std::string& path,
                  int geometry) {
  for (int i = 0; i < m.natm; ++i) {
    if (!read[i]) {
      EndProcess(1,
                 "err no coordinates for atom : " + m.atom[i].name + " in file : " + path + "\n");
    }
  }
  if (geometry == m.ngeom) {
    std::printf("$ additional geometry %i\n", geometry + 1);
    ++m.ngeom;
    m.QMEnergy.resize(m.ngeom, 0.0);
    m.QMDipoleMoment.resize(m.ngeom, Vector3());
    m.xyz.resize(static_cast<std::size_t>(m.ngeom) * m.natm * 3, 0.0);
  }
  m.CopyMainSetToGeometry(geometry);
  m.fill_rv();
}

// The first word of the field of `width` characters at `start` as a real;
// raises when the line ends before the field or no number starts it.
Real PdbField(const std::string& line, std::size_t start, std::size_t width) {
  if (line.size() <= start)
    throw std::invalid_argument("pdb line ends before column " + std::to_string(start + 1));
  return WholeReal(tprint(line.substr(start, width), 1));
}

// Index of the atom read from a line; atoms beyond natm are not read.
int CheckedAtom(const CMolecule& m, const std::string& name, const std::string& where,
                const std::string& line) {
  if (name.empty())
    EndProcess(1, "$ err " + where + ": no atom name where it belongs: " + line + "\n");
  const int i = m.AtomIndex(name);
  if (i >= m.natm) EndProcess(1, "$ err atom was not found : " + name + "\n");
  return i;
}

// An XYZ line's element: a symbol in any case or an atomic number. Atoms
// without an element (lone pairs, dummies) take any.
bool SameElement(const CMolecule::CAtom& a, const std::string& word) {
  if (a.atmnum <= 0 || word == std::to_string(a.atmnum)) return true;
  for (const Element& e : PeriodicTable::Instance().elements)
    if (e.atmnum == a.atmnum) return Lower(e.symbol) == Lower(word);
  return false;
}

// One coordinate file being read into a molecule: the geometry index is
// checked and the file opened on construction.
class CoordinateRead {
 public:
  CoordinateRead(CMolecule& m, const std::string& path, int geometry, const std::string& target)
      : m(m), path(path), geometry(geometry), set(SetOf(target)), read(m.natm, false) {
    if (m.atom.size() < static_cast<std::size_t>(m.natm)) {
      throw std::logic_error("the molecule has fewer atoms than natm");
    }
    if (m.natm == 0) {
      EndProcess(1, "$ err no molecule to read the coordinates of " + path +
                        " into: read its topology with readtop first\n");
    }
    CheckGeometryIndex(m, geometry);
    in = OpenCoordinateFile(path);
  }
  // Takes the coordinates of atom i from line `number` (see StoreLine).
  template <class Coordinate>
  void Take(int i, int number, const std::string& line, const std::string& message,
            Coordinate coordinate) {
    if (read[i]) {
      EndProcess(1, "$ err " + Where(number) + ": atom " + m.atom[i].name +
                        " appears a second time; the file holds each atom once\n");
    }
    read[i] = true;
    StoreLine(m.atom[i], set, line, message, coordinate);
  }
  void Complete() { CompleteRead(m, read, path, geometry); }
  std::string Where(int number) const { return path + ":" + std::to_string(number); }

  CMolecule& m;
  const std::string& path;
  const int geometry;
  const CoordinateSet set;
  std::vector<bool> read;
  std::ifstream in;
};

}  // namespace

void CMolecule::ReadCoorPDB(const std::string& path, int geometry, const std::string& target) {
  CoordinateRead file(*this, path, geometry, target);
  std::istream& in = file.in;
  std::string line;
  bool model = false;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string record = tprint(line.substr(0, 6), 1);
    if (record == "MODEL" && model) {
      EndProcess(1, "$ err " + file.Where(number) +
                        ": a second MODEL; the file holds one "
                        "structure: write each into a file of its own\n");
    }
    model = model || record == "MODEL";
    if (record != "ATOM" && record != "HETATM") continue;
    if (line.size() < 12)
      EndProcess(1, "$ err invalid line in the pdb file in line : " + line + "\n");
    const int i = CheckedAtom(*this, tprint(line.substr(12, 4), 1), file.Where(number), line);
    file.Take(i, number, line, "$ err invalid line in the pdb file in line : ", [&line](int c) {
      return PdbField(line, 30 + 8 * c, 8);
    });
  }
  file.Complete();
}

void CMolecule::ReadCoorCARD(const std::string& path, int geometry, const std::string& target) {
  CoordinateRead file(*this, path, geometry, target);
  std::istream& in = file.in;
  std::string line;
  // Title lines, then the atom count line, which is not used.
  int number = 1;
  bool more = static_cast<bool>(std::getline(in, line));
  while (more && tprint(line, 1) == "*") {
    more = static_cast<bool>(std::getline(in, line));
    ++number;
  }
  while (std::getline(in, line)) {
    ++number;
    if (NF(line) == 0) continue;
    const int i = CheckedAtom(*this, tprint(line, 4), file.Where(number), line);
    file.Take(i, number, line, "$ err invalid line in the charmm coord file in line : ",
              [&line](int c) { return WholeReal(tprint(line, 5 + c)); });
  }
  file.Complete();
}

void CMolecule::ReadCoorXYZ(const std::string& path, int geometry, const std::string& target) {
  CoordinateRead file(*this, path, geometry, target);
  std::istream& in = file.in;
  const std::string invalid = "$ err invalid line in the xyz file in line : ";
  std::string line;
  std::getline(in, line);
  bool countMatches = false;
  try {
    countMatches = WholeInt(tprint(line, 1)) == natm;
  } catch (const std::exception&) {
  }
  if (!countMatches) EndProcess(1, invalid + line + "\n");
  std::getline(in, line);  // comment
  for (int i = 0; i < natm && std::getline(in, line); ++i) {
    if (!SameElement(atom[i], tprint(line, 1))) {
      EndProcess(1, "$ err " + file.Where(i + 3) + ": the element " + tprint(line, 1) +
                        " is not that of atom " + std::to_string(i + 1) + " of the topology, " +
                        atom[i].name +
                        ": the atoms of an xyz file come in the order of the "
                        "topology\n");
    }
    file.Take(i, i + 3, line, invalid, [&line](int c) { return WholeReal(tprint(line, 2 + c)); });
  }
  file.Complete();
}

void CMolecule::WriteCoorPDB(const std::string& path, const std::string& target) const {
  const CoordinateSet set = SetOf(target);
  std::string text;
  for (int i = 0; i < natm; ++i) {
    const CAtom& a = atom.at(i);
    const std::vector<double> none(3, -999.9);
    const std::vector<double>& c = set == CoordinateSet::Main   ? a.xyz
                                   : set == CoordinateSet::Comp ? a.xyzcomp
                                                                : none;
    text += Format("ATOM  %5i%5s %-4s%1s%4i    %8.3f%8.3f%8.3f%6.2f%6.2f      %-4s\n", a.serial,
                   a.name.c_str(), a.resn.c_str(), a.chain.c_str(), a.resid, c[0], c[1], c[2],
                   a.ocp, a.b, a.segid.c_str());
  }
  text += "END\n";
  std::ofstream out(path, std::ios::trunc);
  if (!out) EndProcess(1, "$ err unable to open file : " + path + "\n");
  out << text;
  out.close();
  if (!out) EndProcess(1, "$ err unable to write file : " + path + "\n");
}

void CMolecule::PrintCoorPDB() const {
  for (int i = 0; i < natm; ++i) {
    const CAtom& a = atom.at(i);
    std::printf("ATOM  %5i%5s%4s %1s%4i    %8.3f%8.3f%8.3f%6.2f%6.2f%10s\n", a.serial,
                a.name.c_str(), a.resn.c_str(), a.chain.c_str(), a.resid, a.xyz[0], a.xyz[1],
                a.xyz[2], a.ocp, a.b, a.segid.c_str());
  }
}

void CMolecule::CopyFromCoor(std::vector<Real>& values, const std::string& target) const {
  const CoordinateSet set = SetOf(target);
  if (set == CoordinateSet::None) throw std::invalid_argument("unknown coordinate set : " + target);
  if (values.size() < static_cast<std::size_t>(natm) * 3) {
    throw std::length_error("coordinate array holds " + std::to_string(values.size()) +
                            " values, " + std::to_string(natm * 3) + " needed");
  }
  for (int i = 0; i < natm; ++i) {
    const CAtom& a = atom.at(i);
    const auto& c = set == CoordinateSet::Main ? a.xyz : a.xyzcomp;
    for (int k = 0; k < 3; ++k) values[static_cast<std::size_t>(i) * 3 + k] = c[k];
  }
}
