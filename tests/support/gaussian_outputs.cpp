#include "support/gaussian_outputs.h"

namespace testing_support {

std::string OrientationTable(const std::string& kind, const std::string& rows) {
  const std::string rule =
      " ---------------------------------------------------------------------\n";
  return "                         " + kind + " orientation:                         \n" + rule +
         " Center     Atomic      Atomic             Coordinates (Angstroms)\n"
         " Number     Number       Type             X           Y           Z\n" +
         rule + rows + rule;
}

std::string ScfDone(const std::string& energy) {
  return " SCF Done:  E(RHF) =  " + energy + "     A.U. after    7 cycles\n";
}

}  // namespace testing_support
