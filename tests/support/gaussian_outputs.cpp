#include "support/gaussian_outputs.h"

namespace testing_support {

namespace {
const std::string kRule =
    " ---------------------------------------------------------------------\n";
}

std::string OrientationHead(const std::string& kind) {
  return "                         " + kind + " orientation:                         \n" + kRule +
         " Center     Atomic      Atomic             Coordinates (Angstroms)\n"
         " Number     Number       Type             X           Y           Z\n" +
         kRule;
}

std::string OrientationTable(const std::string& kind, const std::string& rows) {
  return OrientationHead(kind) + rows + kRule;
}

std::string ConvergenceTable(const char* force, const char* rmsForce, const char* displacement,
                             const char* rmsDisplacement) {
  return std::string("         Item               Value     Threshold  Converged?\n") +
         " Maximum Force            0.000036     0.000450     " + force + "\n" +
         " RMS     Force            0.000010     0.000300     " + rmsForce + "\n" +
         " Maximum Displacement     0.000678     0.001800     " + displacement + "\n" +
         " RMS     Displacement     0.000134     0.001200     " + rmsDisplacement + "\n";
}

std::string ScfDone(const std::string& energy) {
  return " SCF Done:  E(RHF) =  " + energy + "     A.U. after    7 cycles\n";
}

std::string MullikenBlock(const std::string& rows) {
  return " Mulliken charges:\n               1\n" + rows + " Sum of Mulliken charges =  -0.00000\n";
}

std::string DipoleBlock(const std::string& x, const std::string& y, const std::string& z,
                        const std::string& total) {
  return " Dipole moment (field-independent basis, Debye):\n    X=              " + x +
         "    Y=              " + y + "    Z=              " + z + "  Tot=              " + total +
         "\n";
}

std::string EspChargesBlock(const std::string& rows) {
  return " Charges from ESP fit, RMS=   0.00069 RRMS=   0.35027:\n ESP charges:\n               "
         "1\n" +
         rows + " Sum of ESP charges =   0.00000\n";
}

}  // namespace testing_support
