#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

// The job script the engine reads on standard input, and the name:value
// settings of its command line.
namespace mm {

enum class JobKind { Minimize, RestrainedMinimize, Pes, MultiPes, TargetStructures };

struct JobScript {
  std::vector<std::string> topologies;  // in reading order
  std::vector<std::string> parameters;  // in reading order; later files override
  std::string residue;                  // empty: the only residue of the topologies
  std::string coordinates;              // PDB or CARD start structure
  // Restraint streams applied when the start structure is minimised
  // (minimize, restrained-minimize and the MM minimum of pes).
  std::vector<std::string> restraints;
  JobKind job = JobKind::Minimize;
};

// Reads a script; source names it in errors. Throws InputError.
JobScript ReadJobScript(std::istream& in, const std::string& source);

// name:value words of the command line; throws std::invalid_argument on a
// word of another form.
std::map<std::string, std::string> ReadSettings(const std::vector<std::string>& args);

}  // namespace mm
