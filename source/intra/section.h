#pragma once

#include <string>

namespace OptimizeBondedParam {

// Reads the `optintra` section into the bonded-fit settings.
void ReadBondSection(const std::string& input);
// Reads the section, builds the molecule's parameter list from the CHARMM
// files and runs the bonded fit.
void ProcessScriptBondOpt(const std::string& input);

}  // namespace OptimizeBondedParam
