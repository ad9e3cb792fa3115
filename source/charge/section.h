#pragma once

#include <string>
#include <vector>

namespace OptimizeCharge {

// Reads the lines of an `optcharge` section into ParamOptCharges and
// OptCharge, resolves the probed atoms in mol1 and runs the charge fit.
void ProcessScriptChargeOpt(const std::string& input);

// Only the reading and the probe checks, without running the fit.
void ReadChargeSection(const std::string& input);

// The keywords of the section, lower-case.
std::vector<std::string> KeywordNames();

}  // namespace OptimizeCharge
