// Residue topology (RTF) files: reading the molecule's atoms, charges,
// charge groups, bonds and impropers, and writing them back.
#include "topology.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "elements.h"
#include "errors.h"
#include "io.h"
#include "mol.h"
#include "param.h"
#include "util.h"

namespace {

void ReadAtomLine(CMolecule& m, const std::string& line) {
  m.atom.resize(static_cast<std::size_t>(m.natm) + 1);
  auto& a = m.atom[m.natm];
  ++m.natm;
  a.name = tprint(line, 2);
  a.type = tprint(line, 3);
  a.q = WholeReal(tprint(line, 4));
  a.group = m.igroup - 1;
  a.qpenalty = 1000.0;
  // Word 5 is the comment mark in front of an optional charge penalty.
  if (NF(line) > 5 && ifFloat(tprint(line, 6)) && strfloat(tprint(line, 6)) >= 0.0)
    a.qpenalty = strfloat(tprint(line, 6));
}

void ReadImproperLine(CMolecule& m, const std::string& line) {
  const int n = NF(line);
  for (int i = 2; i < n; i += 4) {
    if (tprint(line, i) == "!") break;
    m.impr.emplace_back(m.AtomIndex(tprint(line, i)), m.AtomIndex(tprint(line, i + 1)),
                        m.AtomIndex(tprint(line, i + 2)), m.AtomIndex(tprint(line, i + 3)));
  }
}

void ReadBondLine(const CMolecule& m, const std::string& line) {
  const int n = NF(line);
  for (int i = 2; i < n; i += 2) {
    if (tprint(line, i) == "!" || tprint(line, i + 1) == "!") break;
    CBonds::StrBond b;
    b.iatom = {m.AtomIndex(tprint(line, i)), m.AtomIndex(tprint(line, i + 1))};
    BondStruct.bonds.push_back(b);
  }
}

void ReadTopologyLine(CMolecule& m, const std::string& line) {
  const std::string key = Lower(tprint(line, 1));
  const std::string prefix = key.substr(0, 4);
  if (key == "mass") {
    Chem::Chems c;
    c.id = WholeInt(tprint(line, 2));
    c.name = tprint(line, 3);
    c.mass = WholeReal(tprint(line, 4));
    c.atp = tprint(line, 5);
    chemtp.chems.push_back(c);
    ++chemtp.nchem;
  } else if (prefix == "resi") {
    m.netcharge = WholeReal(tprint(line, 3));
  } else if (key == "group") {
    ++m.igroup;
  } else if (key == "atom") {
    ReadAtomLine(m, line);
  } else if (prefix == "impr") {
    ReadImproperLine(m, line);
  } else if (key == "bond" || key == "double" || key == "triple" || key == "arom") {
    ReadBondLine(m, line);
  }
}

void CheckGroups(const CMolecule& m) {
  if (m.igroup == 0 || m.natm == 0) EndProcess(1, "$ err number of groups or atoms is zero\n");
  std::vector<int> members(static_cast<std::size_t>(m.igroup), 0);
  for (int i = 0; i < m.natm; ++i) {
    const int g = m.atom[i].group;
    if (g >= 0 && g < m.igroup) ++members[g];
  }
  for (int count : members)
    if (count == 0) EndProcess(1, "$err number of atom in group iz zero\n");
}

// Adjacency rows from every bond read so far. A bond kept from an earlier
// topology may name an atom this one does not have.
void SetBonds(CMolecule& m) {
  for (auto& a : m.atom) a.bond.resize(static_cast<std::size_t>(m.natm), 0);
  for (const auto& b : BondStruct.bonds) {
    const int i = b.iatom[0], j = b.iatom[1];
    if (i < 0 || j < 0 || i >= m.natm || j >= m.natm)
      throw std::out_of_range(Format(
          "bond %i - %i names an atom beyond the %i atoms of the topology", i + 1, j + 1, m.natm));
    m.atom[i].bond[j] = 1;
    m.atom[j].bond[i] = 1;
  }
}

void SetMassesAndElements(CMolecule& m) {
  CharmmTopPar.ReadMass();
  for (auto& a : m.atom) {
    const auto* t = CharmmTopPar.GetMassType(a.type);
    if (t == nullptr && CharmmTopPar.tops.empty()) {
      EndProcess(1, "$ err the type " + a.type + " of atom " + a.name +
                        " has no MASS line: no topology file is named yet; put the topology "
                        "command before readtop\n");
    }
    if (t == nullptr) {
      std::string files;
      for (const auto& f : CharmmTopPar.tops) files += " " + f;
      EndProcess(1, "$ err this type " + a.type + " does not exist: no MASS line of the topology files" +
                        files + " names it\n");
    }
    a.mass = t->mass;
  }
  const auto& table = PeriodicTable::Instance();
  for (auto& a : m.atom) {
    const int row = table.FindElement(a.mass);
    if (a.type.substr(0, 1) == "L" || a.type.substr(0, 3) == "DUM") {
      a.atmnum = 0;
    } else if (row < 0) {
      EndProcess(1, "$ err : the mass : " + Format("%g", a.mass) +
                        " was not found for the atom : " + a.name + "\n");
    } else {
      a.atmnum = table.GetElement(row).atmnum;
    }
  }
}

}  // namespace

void CMolecule::read_top(const std::string& path) {
  natm = 0;
  std::ifstream in(path);
  if (!in) EndProcess(1, "$ err unable to open file : " + path + "\n");
  std::printf("$ reading topology from %s\n", path.c_str());

  std::string line;
  std::string residue;  // the name of the RESI or PRES line read
  for (int number = 1; std::getline(in, line); ++number) {
    upper(line);
    const std::string key = tprint(line, 1).substr(0, 4);
    if ((key == "RESI" || key == "PRES") && !residue.empty()) {
      EndProcess(1, "$ err " + path + ":" + inttostr(number) + ": a second residue, " +
                        tprint(line, 2) + ", after " + residue +
                        "; readtop reads the one molecule to fit: copy its residue into a file "
                        "of its own\n");
    }
    if (key == "RESI" || key == "PRES") residue = tprint(line, 2);
    try {
      ReadTopologyLine(*this, line);
    } catch (const std::exception& e) {
      std::fflush(stdout);
      const bool detailed = dynamic_cast<const DetailedError*>(&e) != nullptr;
      EndProcess(1, (detailed ? e.what() + (" in " + path + ":" + inttostr(number) + "\n") : "") +
                        "$ error while reading topology file in line : " + line + "\n");
    }
  }
  atom.resize(static_cast<std::size_t>(natm));

  CheckGroups(*this);
  SetBonds(*this);
  for (int i = 0; i < natm; ++i) {
    auto& a = atom[i];
    a.ocp = 1.0;
    a.serial = i + 1;
    a.segid = "AAAA";
    a.resn = "TMP";
    a.b = 0.0;
    a.resid = 1;
    a.fix = 0;
    a.chain = " ";
  }
  SetMassesAndElements(*this);

  int bonds = 0;
  for (int i = 0; i < natm; ++i) {
    auto& a = atom[i];
    a.ibond = 0;
    for (int j = 0; j < natm; ++j) {
      if (a.bond[j] <= 0) continue;
      ++a.ibond;
      if (j > i) ++bonds;
    }
  }
  xyz.resize(3 * static_cast<std::size_t>(natm), 0.0);
  dij.resize(static_cast<std::size_t>(natm) * natm, 0.0);

  std::printf("$ number of atoms read     : %4i\n", natm);
  std::printf("$ number of impropers read : %4i\n", static_cast<int>(impr.size()));
  std::printf("$ total number of bonds    : %4i\n", bonds);
}

void CMolecule::write_top(const std::string& path) const {
  std::ofstream file(path, std::ios::trunc);
  if (!file) EndProcess(1, "$ err unable to open file : " + path + "\n");

  const std::string resn = atom.empty() ? "" : atom[0].resn;
  std::string out = Format("* %s\n*\n36 1\n", resn.c_str());
  for (const auto& c : chemtp.chems)
    out += Format("MASS %7i %8s %12.9f %8s\n", c.id, c.name.c_str(), c.mass, c.atp.c_str());
  out += "\n";
  out += Format("RESI %-7s         %7.3f\n", resn.c_str(), netcharge);
  for (int g = 0; g < igroup; ++g) {
    out += "GROUP\n";
    for (int i = 0; i < natm; ++i) {
      const auto& a = atom[i];
      if (a.group == g)
        out += Format("ATOM %-7s %-7s %7.3f\n", a.name.c_str(), a.type.c_str(), a.q);
    }
  }
  out += "\n";
  for (int i = 0; i < natm; ++i) {
    std::string line;
    for (int j = i + 1; j < natm && j < static_cast<int>(atom[i].bond.size()); ++j)
      if (atom[i].bond[j] >= 1)
        line += Format(" %7s %7s", atom[i].name.c_str(), atom[j].name.c_str());
    if (!line.empty()) out += "BOND " + line + "\n";
  }
  for (const auto& m : impr) {
    out += "IMPR";
    for (int k = 0; k < 4; ++k) out += Format(" %7s", AtomName(m.aid[k]).c_str());
    out += "\n";
  }
  out += "\n\nEND\n\n";
  file << out;
  file.close();
  if (!file) EndProcess(1, "$ err unable to write file : " + path + "\n");
  std::printf("$ topology was written to %s\n", path.c_str());
}
