// The tables of the bonded fit that the report script reads: the objective
// per evaluation, the MM profile of each term at the start, and the start and
// end RMSDs of every term. Formats: docs/report.md.
#include <cstdio>

#include "intra/BondOpt.h"
#include "table_file.h"
#include "util.h"

namespace {

std::string HistoryPath() { return fpath + "/bond/objective_history.dat"; }
std::string RmsdPath() { return fpath + "/bond/term_rmsd.dat"; }

// The families of the current stage, joined by "+".
std::string Families() {
  std::string s;
  const auto add = [&](bool on, const char* name) {
    if (on) s += (s.empty() ? "" : "+") + std::string(name);
  };
  add(OptInter.sBond > 0, "bond");
  add(OptInter.sAngle > 0, "angle");
  add(OptInter.sDihe > 0, "dihe");
  return s.empty() ? "none" : s;
}

}  // namespace

void StartFitTables() {
  std::remove(HistoryPath().c_str());
  std::remove(RmsdPath().c_str());
}

void AppendObjectiveHistory(int step, const CObjectiveParts& p) {
  AppendTableRow(HistoryPath(),
                 {"step", "families", "total", "scans", "multi_scans", "targets", "coordinates", "structure",
                  "restraints", "penalties"},
                 {inttostr(step), Families(), TableWord(p.total), TableWord(p.scans), TableWord(p.multiScans),
                  TableWord(p.targets), TableWord(p.coordinates), TableWord(p.structure),
                  TableWord(p.restraints), TableWord(p.penalties)});
}

void WriteStartProfile(const CMolecule::ClassPESScanBonded& t) {
  std::vector<TableRow> rows;
  for (int k = 0; k < t.npt; ++k) rows.push_back({TableWord(t.charmmVal[k]), TableWord(t.charmmEner[k])});
  WriteTable(fpath + "/bond/" + Lower(t.name) + "/charmm.start.dat", {"coordinate", "energy"}, rows);
}

void WriteTermRmsds(const CTermRmsdHistory& h) {
  std::vector<TableRow> rows;
  for (const CTermRmsdHistory::Entry& e : h.terms)
    rows.push_back({Lower(e.name), TableWord(e.startEner), TableWord(e.endEner), TableWord(e.startVal),
                    TableWord(e.endVal)});
  WriteTable(RmsdPath(), {"term", "ener_start", "ener_end", "val_start", "val_end"}, rows);
}
