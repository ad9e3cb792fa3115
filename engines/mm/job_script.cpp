#include "job_script.h"

#include <stdexcept>

#include "text.h"

namespace mm {

namespace {

JobKind ParseJob(const std::string& word) {
  static const std::map<std::string, JobKind> kinds = {
      {"minimize", JobKind::Minimize},
      {"restrained-minimize", JobKind::RestrainedMinimize},
      {"pes", JobKind::Pes},
      {"multi-pes", JobKind::MultiPes},
      {"target-structures", JobKind::TargetStructures}};
  const auto it = kinds.find(ToLower(word));
  if (it == kinds.end()) throw std::invalid_argument("unknown job '" + word + "'");
  return it->second;
}

}  // namespace

JobScript ReadJobScript(std::istream& in, const std::string& source) {
  JobScript s;
  bool haveJob = false;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string text = Trim(StripComment(StripComment(line, '#'), '!'));
    if (text.empty()) continue;
    const auto w = Words(text);
    const std::string key = ToLower(w[0]);
    const std::string rest = Trim(text.substr(w[0].size()));
    try {
      if (rest.empty()) throw std::invalid_argument("'" + w[0] + "' needs a value");
      if (key == "topology") {
        s.topologies.push_back(rest);
      } else if (key == "parameters") {
        s.parameters.push_back(rest);
      } else if (key == "restraints") {
        s.restraints.push_back(rest);
      } else if (key == "residue") {
        if (w.size() != 2) throw std::invalid_argument("residue takes one name");
        s.residue = w[1];
      } else if (key == "coordinates") {
        if (!s.coordinates.empty()) throw std::invalid_argument("coordinates given twice");
        s.coordinates = rest;
      } else if (key == "job") {
        if (haveJob) throw std::invalid_argument("job given twice");
        if (w.size() != 2) throw std::invalid_argument("job takes one name");
        s.job = ParseJob(w[1]);
        haveJob = true;
      } else {
        throw std::invalid_argument("unknown line '" + text + "'");
      }
    } catch (const std::exception& e) {
      throw InputError(source, lineNo, e.what());
    }
  }
  if (s.topologies.empty()) throw InputError(source, lineNo, "no topology file given");
  if (s.parameters.empty()) throw InputError(source, lineNo, "no parameter file given");
  if (s.coordinates.empty()) throw InputError(source, lineNo, "no coordinates given");
  if (!haveJob) throw InputError(source, lineNo, "no job given");
  return s;
}

std::map<std::string, std::string> ReadSettings(const std::vector<std::string>& args) {
  std::map<std::string, std::string> settings;
  for (const auto& a : args) {
    const auto colon = a.find(':');
    if (colon == std::string::npos || colon == 0)
      throw std::invalid_argument("command-line setting '" + a + "' is not of the form name:value");
    settings[ToLower(a.substr(0, colon))] = a.substr(colon + 1);
  }
  return settings;
}

}  // namespace mm
