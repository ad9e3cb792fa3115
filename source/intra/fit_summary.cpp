// What the fit achieved per one-dimensional term: the energy and coordinate
// RMSDs of the first evaluation that saw the term and of the last one.
#include <cstdio>

#include "intra/BondOpt.h"
#include "util.h"

void CTermRmsdHistory::Record(const CMolecule& m) {
  ++evaluations;
  for (const auto& t : m.term) {
    Entry* entry = nullptr;
    for (Entry& e : terms)
      if (e.name == t.name) entry = &e;
    if (entry == nullptr) {
      terms.push_back(Entry{t.name, t.rmsdEner, t.rmsdVal, 0.0, 0.0});
      entry = &terms.back();
      WriteStartProfile(t);
    }
    entry->endEner = t.rmsdEner;
    entry->endVal = t.rmsdVal;
  }
  WriteTermRmsds(*this);
}

void CTermRmsdHistory::Print() const {
  if (evaluations < 2) return;
  std::printf("$ fitted parameters : %s\n", (fpath + "/add_para.inp").c_str());
  std::printf("$ one-dimensional terms at the start and at the end of the fit\n");
  std::printf("%25s %10s %10s %10s %10s\n", "term", "ener start", "ener end", "val start", "val end");
  for (const Entry& e : terms)
    std::printf("%25s %10.3f %10.3f %10.4f %10.4f\n", e.name.c_str(), e.startEner, e.endEner,
                e.startVal, e.endVal);
}
