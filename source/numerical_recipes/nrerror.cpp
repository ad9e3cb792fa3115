#include "errors.h"
#include "numerical_recipes/nrutil_nr.h"

namespace NR {

void nrerror(const std::string& text) {
  EndProcess(1, "Numerical Recipes run-time error...\n" + text + "\n...now exiting to system...\n");
}

}  // namespace NR
