// Per-geometry storage of the QM electrostatic potential.
#include "mol.h"

void CMolecule::CESP::Resize(int n) {
  const auto size = static_cast<std::size_t>(n);
  if (QMESPval.size() < size) QMESPval.resize(size);
  if (distESPPoint.size() < size) distESPPoint.resize(size);
}

void CMolecule::CESP::Finalize(int g) {
  Resize(g + 1);
  QMESPval[g] = std::move(val);
  distESPPoint[g] = std::move(dist);
  val.clear();
  dist.clear();
  if (static_cast<std::size_t>(g) < misfit.size()) misfit[g] = CMisfitForm();
}
