// CHARMM jobs of the bonded fit: running one with its result files, and the
// energy files of the multi-dimensional scans and target structures.
#include "intra/mm_job.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "charmm.h"
#include "errors.h"
#include "io.h"

namespace {

std::string WholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void CCharmmJobMemo::Read(const std::string& path) { parameters = WholeFile(path); }

bool RunCharmmJob(const std::string& script, const std::string& output, const std::string& opts,
                  const std::vector<std::string>& results) {
  const std::string key = charmmJobMemo.parameters + '\0' + script + '\0' + opts;
  if (charmmJobMemo.on) {
    const auto found = charmmJobMemo.runs.find(key);
    if (found != charmmJobMemo.runs.end()) {
      for (const auto& [file, content] : found->second) WriteTextFile(file, content);
      return true;
    }
  }
  for (const std::string& f : results) std::remove(f.c_str());
  charmm(script, output, opts);
  if (charmmJobMemo.on && std::all_of(results.begin(), results.end(), IfFileExists)) {
    auto& files = charmmJobMemo.runs[key];
    files.emplace_back(output, WholeFile(output));
    for (const std::string& f : results) files.emplace_back(f, WholeFile(f));
  }
  const bool wrote = std::any_of(results.begin(), results.end(), IfFileExists);
  if (!wrote) {
    ++nFailedCharmmJobs;
    std::fflush(stdout);
    std::fprintf(stderr, "$ err charmm wrote none of the result files of %s; see its output : %s\n",
                 script.c_str(), output.c_str());
  }
  return wrote;
}

std::vector<double> ReadMMEnergies(const std::string& path, std::size_t n) {
  std::vector<double> energies;
  std::ifstream in(path);
  if (!in) {
    std::printf("%s can not be opened\n", path.c_str());
  } else {
    // Sample (one energy per structure, point order):
    //   -5.327114
    //   -4.981325
    std::string line;
    for (std::size_t k = 0; k < n; ++k) {
      if (!std::getline(in, line)) line.clear();
      try {
        energies.push_back(strfloat(tprint(line, 1)));
      } catch (const std::exception&) {
        std::printf("erro in charmm data file \n");
        break;
      }
    }
  }
  if (energies.size() != n) EndProcess(1, " error number of MM points read is different\n");
  return energies;
}

void SubtractLowest(std::vector<double>& energies) {
  if (energies.empty()) return;
  const double lowest = *std::min_element(energies.begin(), energies.end());
  for (double& e : energies) e -= lowest;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) EndProcess(1, "$ err unable to open file : " + path + "\n");
}

std::string ConsDiheAtoms(const CMolecule& m, const std::vector<int>& aid) {
  std::string text = "CONS DIHE";
  for (int k = 0; k < 4; ++k) text += " AAAA 1 " + m.AtomName(aid.at(k));
  return text;
}
