#pragma once

#include <string>
#include <vector>

namespace OptimizeBondedParam {

// Reads the `optintra` section into the bonded-fit settings.
void ReadBondSection(const std::string& input);
// Reads the section, builds the molecule's parameter list from the CHARMM
// files and runs the bonded fit.
void ProcessScriptBondOpt(const std::string& input);

// A keyword of the section, and whether it is matched in any case or only
// as written.
struct KeywordName {
  std::string word;
  bool anyCase;
};
std::vector<KeywordName> KeywordNames();

}  // namespace OptimizeBondedParam
