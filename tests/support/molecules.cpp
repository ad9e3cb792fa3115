#include "support/molecules.h"

#include "support/molecule.h"

namespace testing_support {

CMolecule HydrogenPeroxide() {
  return MakeMolecule({{"H1", 1, 0.9, 0.8, 0.5},
                       {"O1", 8, 0.0, 0.7, 0.0},
                       {"O2", 8, 0.0, -0.7, 0.0},
                       {"H2", 1, -0.9, -0.8, 0.5}});
}

}  // namespace testing_support
