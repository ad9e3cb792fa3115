#include "charge/report_tables.h"

#include "io.h"
#include "table_file.h"
#include "util.h"

namespace OptimizeCharge {

void WriteWaterTable(const std::vector<WaterComparison>& waters) {
  std::vector<TableRow> rows;
  for (const WaterComparison& w : waters)
    rows.push_back({inttostr(w.geometry), w.site, TableWord(w.angle), TableWord(w.qmEnergy),
                    TableWord(w.startEnergy), TableWord(w.fittedEnergy), TableWord(w.qmDistance),
                    TableWord(w.startDistance), TableWord(w.fittedDistance)});
  WriteTable(fpath + "/charge_waters.dat",
             {"geometry", "site", "angle", "qm_energy", "start_energy", "fitted_energy", "qm_distance",
              "start_distance", "fitted_distance"},
             rows);
}

void WriteDipoleTable(const std::vector<DipoleComparison>& dipoles) {
  std::vector<TableRow> rows;
  for (const DipoleComparison& d : dipoles) {
    const std::pair<const char*, const Vector3*> kinds[] = {
        {"qm", &d.qm}, {"qm_scaled", &d.qmScaled}, {"start", &d.start}, {"fitted", &d.fitted}};
    for (const auto& [kind, v] : kinds)
      rows.push_back({inttostr(d.geometry), kind, TableWord(v->x), TableWord(v->y), TableWord(v->z),
                      TableWord(v->norm())});
  }
  WriteTable(fpath + "/charge_dipoles.dat", {"geometry", "kind", "x", "y", "z", "norm"}, rows);
}

void WriteChargeTable(const CMolecule& s) {
  std::vector<TableRow> rows;
  for (int i = 0; i < s.natm; ++i) {
    const CMolecule::CAtom& a = s.atom[i];
    rows.push_back({a.name, a.type, TableWord(a.qstart), TableWord(a.q), TableWord(a.qpenalty)});
  }
  WriteTable(fpath + "/charge_atoms.dat", {"atom", "type", "start", "fitted", "penalty"}, rows);
}

}  // namespace OptimizeCharge
