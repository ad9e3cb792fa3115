// Fixed and tied dihedral entries of the bonded table, from "bparam.inp".
//
// Lines "F t1 t2 t3 t4" hold the entry of these types fixed; lines
// "Q t1 t2 t3 t4 t5 t6 t7 t8" tie two entries. The keyword letter stands in
// the first column; types match only in the written order.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "../errors.h"
#include "../io.h"
#include "../util.h"
#include "param.h"

namespace {

// The line without its first character, at most 100 characters of it.
std::string RestOf(const std::string& line) { return line.size() > 1 ? line.substr(1, 100) : ""; }

bool TypesAre(const Param::Dihes& d, const std::string& rest, int first) {
  return d.atp1 == tprint(rest, first) && d.atp2 == tprint(rest, first + 1) &&
         d.atp3 == tprint(rest, first + 2) && d.atp4 == tprint(rest, first + 3);
}

// The last dihedral entry whose types are fields first..first+3 of rest; -1 when none.
int LastDihe(const Param& p, const std::string& rest, int first) {
  int found = -1;
  for (int d = 0; d < p.ndihe; ++d)
    if (TypesAre(p.dihe[d], rest, first)) found = d;
  return found;
}

}  // namespace

void Param::read_restr() {
  const auto side = static_cast<std::size_t>(std::max(ndihe, kRelDiheSize));
  if (relDihe.size() < side) relDihe.resize(side);
  for (auto& row : relDihe)
    if (row.size() < side) row.resize(side, 0);
  for (int r = 0; r < ndihe; ++r)
    for (int c = 0; c < ndihe; ++c) relDihe[r][c] = 0;

  std::ifstream in(fpath + "/bparam.inp");
  if (!in) {
    std::printf("$ external file for param rel was not found\n");
    return;
  }
  std::printf("$ external file for param rel found\n");
  std::string line;
  while (std::getline(in, line)) {
    upper(line);
    const std::string key = tprint(line, 1);
    if (key == "F") {
      const std::string rest = RestOf(line);
      for (int d = 0; d < ndihe; ++d)
        if (TypesAre(dihe[d], rest, 1)) relDihe[d][d] = -1;
    } else if (key == "Q") {
      std::printf("%s\n", line.c_str());
      const std::string rest = RestOf(line);
      const int a = LastDihe(*this, rest, 1);
      const int b = LastDihe(*this, rest, 5);
      if (a < 0 || b < 0) {
        std::fflush(stdout);
        EndProcess(1, "dihedrals in rel file was not found\n" + rest + "\n");
      }
      std::printf("%i %i\n", a, b);
      relDihe[a][b] = 1;
      relDihe[b][a] = 1;
    }
  }
}
