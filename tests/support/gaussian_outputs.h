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
std::string ScfDone(const std::string& energy);

}  // namespace testing_support
