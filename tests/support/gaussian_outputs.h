#pragma once

#include <string>

// Pieces of Gaussian output files in the program's own layout, for tests
// that read outputs or place them where a job would leave them.
namespace testing_support {

// The last line of an output whose job ran to its end; the runner reuses
// only outputs that hold it (or an error termination).
inline constexpr const char* kNormalTermination = " Normal termination of Gaussian 09.\n";

// A coordinate table ("Standard", "Input" or "Z-Matrix") over the given rows.
std::string OrientationTable(const std::string& kind, const std::string& rows);
// The table head up to the first row.
std::string OrientationHead(const std::string& kind);
// A geometry-convergence table with the four answers given.
std::string ConvergenceTable(const char* force, const char* rmsForce, const char* displacement,
                             const char* rmsDisplacement);
std::string ScfDone(const std::string& energy);
// A Mulliken block; rows as "     1  O   -0.319889\n".
std::string MullikenBlock(const std::string& rows);
// A dipole block with X, Y, Z and the total.
std::string DipoleBlock(const std::string& x, const std::string& y, const std::string& z,
                        const std::string& total);
// An ESP charges block; rows as in MullikenBlock.
std::string EspChargesBlock(const std::string& rows);

}  // namespace testing_support
