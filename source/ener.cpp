// The interatomic distance matrix.
#include "errors.h"
#include "mol.h"

void CMolecule::UpdateDistMatrix() {
  const auto n = static_cast<std::size_t>(natm);
  dij.assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const Real d = dist(static_cast<int>(i), static_cast<int>(j));
      if (d == 0.0) {
        EndProcess(1, "$ err distance between atoms is zero : " + atom[i].name + " and " +
                          atom[j].name + "\n");
      }
      dij[i * n + j] = dij[j * n + i] = d;
    }
  }
}

Real CMolecule::Energy(bool /*flag*/) {
  UpdateDistMatrix();
  return 0.0;
}
