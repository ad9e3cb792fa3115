// Reader of Gaussian output files: one pass over the lines, recognising the
// landmarks whose values the QM operations use.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <set>
#include <stdexcept>

#include "errors.h"
#include "gaussian.h"
#include "io.h"

namespace Gaussian {

namespace {

[[noreturn]] void UnknownItem(const std::string& key) {
  EndProcess(1, "$ err this option is not available : " + key + "\n");
}

// A number of the output: nan or inf is a broken job's output, never a result
// (raised as a domain_error, which the table reader does not take for the
// end of its table).
Real Number(const std::string& word) {
  const Real v = strfloat(word);
  if (!std::isfinite(v)) throw std::domain_error("'" + word + "' is not a finite number");
  return v;
}

// The next line of the file; empty once the file is exhausted.
void NextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) line.clear();
}

void SkipLines(std::istream& in, std::string& line, int n) {
  for (int i = 0; i < n; ++i) NextLine(in, line);
}

// Rows of a table, starting with the current line: the given words of every
// row are appended to values until a row whose words are not all numbers
// (the closing rule of the table, or the end of the file).
void ReadRows(std::istream& in, std::string& line, std::initializer_list<int> words,
              std::vector<Real>& values) {
  values.clear();
  for (;;) {
    std::vector<Real> row;
    try {
      for (const int w : words) row.push_back(Number(tprint(line, w)));
    } catch (const std::invalid_argument&) {
      return;
    }
    values.insert(values.end(), row.begin(), row.end());
    NextLine(in, line);
  }
}

// A number written with a Fortran exponent letter, as in -0.75002282127454D+02.
Real FortranReal(const std::string& word) {
  std::string text = word;
  const auto d = text.find('D');
  if (d == std::string::npos) throw std::invalid_argument("no D exponent in " + word);
  text[d] = 'E';
  return Number(text);
}

void ReadLines(std::istream& in, std::string& line, GaussianOutputData& w) {
  auto& p = w.prop;
  // Word n of the current line (a landmark may move on to later lines).
  const auto word = [&line](int n) { return tprint(line, n); };
  while (in.good()) {
    NextLine(in, line);

    if (word(1) == "!" && word(2) == "RX") {
      p.distance = Number(word(3));
      w.SetRead("distance");
    }
    if (word(1) == "E2") {
      p.energy = FortranReal(word(6));
      w.SetRead("energy");
    }
    if (word(1) == "SCF" && word(2) == "Done:") {
      p.energy = Number(word(5));
      w.SetRead("energy");
    }
    if (word(1) == "Energy=") {
      p.energy = Number(word(2));
      w.SetRead("energy");
    }
    if (word(3) == "Forces" && word(2) == "Atomic") {
      SkipLines(in, line, 3);
      ReadRows(in, line, {3, 4, 5}, p.force);
      w.SetRead("force");
    }
    // The three orientation tables share one layout.
    if (word(2) == "orientation:") {
      const std::string head = word(1);
      std::vector<Real>* table = nullptr;
      std::string key;
      if (head == "Z-Matrix") {
        table = &p.xyzZmatrixOrient;
        key = "coorZMatrix";
      } else if (head == "Input") {
        table = &p.xyzInputOrient;
        key = "coorInputOrient";
      } else if (head == "Standard") {
        table = &p.xyzStandardOrient;
        key = "coorStandardOrient";
      }
      if (table != nullptr) {
        SkipLines(in, line, 5);
        ReadRows(in, line, {4, 5, 6}, *table);
        w.SetRead(key);
      }
    }
    if (word(1) == "Dipole" && word(2) == "moment") {
      NextLine(in, line);
      p.dipole.x = Number(word(2));
      p.dipole.y = Number(word(4));
      p.dipole.z = Number(word(6));
      p.dipole.norma = Number(word(8));
      w.SetRead("dipole");
    }
    if (word(1) == "Charges" && word(3) == "ESP") {
      SkipLines(in, line, 3);
      ReadRows(in, line, {3}, p.espq);
      w.SetRead("espq");
    }
    if (word(1) == "Mulliken" && (word(3) == "charges:" || word(2) == "charges:")) {
      SkipLines(in, line, 2);
      ReadRows(in, line, {3}, p.mullikenq);
      w.SetRead("mullikenq");
    }
    if (word(1) == "Item" && word(2) == "Value") {
      int met = 0;
      for (int i = 0; i < 4; ++i) {
        NextLine(in, line);
        if (word(5) == "YES") ++met;
      }
      p.ifconverged = met == 4;
      w.SetRead("convergence");
    }
    if (word(1) == "ESP" && word(2) == "Fit") {
      for (const int k : {7, 8, 9}) p.espcoor.push_back(Number(word(k)));
      w.SetRead("esp");
    }
    if (word(2) == "Fit" && NF(line) == 3) {
      p.espval.push_back(Number(word(3)));
      w.SetRead("esp");
    }
    //  Optimization completed.
    //  Optimization completed on the basis of negligible forces.
    if (word(1) == "Optimization" && word(2).starts_with("completed")) p.optcompleted = true;
    //     -- Number of steps exceeded,  NStep=  20
    if (word(1) == "--" && word(2) == "Number" && word(4) == "steps" && word(5) == "exceeded,")
      p.stepsexceeded = true;
    if (word(1) == "Error" && word(2) == "termination") p.iferror = true;
  }
}

}  // namespace

GaussianOutputData::GaussianOutputData()
    : options{
          "energy", "force", "gradIC",    "coorZMatrix", "coorInputOrient", "coorStandardOrient",
          "esp",    "espq",  "mullikenq", "dipole",      "convergence",     "distance"} {
  for (const auto& key : options) ifread[key] = false;
}

void GaussianOutputData::SetRead(const std::string& key) {
  const auto item = ifread.find(key);
  if (item == ifread.end()) UnknownItem(key);
  item->second = true;
}

bool GaussianOutputData::IfRead(const std::string& key) const {
  const auto item = ifread.find(key);
  if (item == ifread.end()) UnknownItem(key);
  return item->second;
}

void ReadGaussianOutput(const std::string& fname, GaussianOutputData& w) {
  std::ifstream in(fname);
  if (!in) EndProcess(1, fname + "can not be opened\n");
  std::string line;
  try {
    ReadLines(in, line, w);
  } catch (const std::exception&) {
    EndProcess(1, "$ err in gaussian output file : " + fname + " in line :" + line + "\n");
  }
}

GaussianOutputData ReadJobOutput(const std::string& fname, JobKind kind) {
  GaussianOutputData w;
  ReadGaussianOutput(fname, w);
  const bool atCycleLimit = kind == JobKind::ConstrainedOptimisation && w.prop.stepsexceeded;
  if (w.prop.iferror && !atCycleLimit)
    EndProcess(1, "$ err gaussian output " + fname +
                      " ends in an error termination: the job failed; read the end of the file, fix "
                      "the cause, remove the file and run the script again\n");
  if (kind != JobKind::Result && !w.prop.optcompleted && !atCycleLimit)
    EndProcess(1, "$ err the optimisation in gaussian output " + fname +
                      " did not complete (no \"Optimization completed\" line): inspect it, remove "
                      "the file and run the script again\n");
  // The scans are read again at every stage of a fit: one warning per output.
  static std::set<std::string> warned;
  if (atCycleLimit && warned.insert(fname).second)
    std::fprintf(stderr,
                 "$ warning: the constrained optimisation in gaussian output %s stopped at its cycle "
                 "limit; its last structure and energy are used\n",
                 fname.c_str());
  return w;
}

}  // namespace Gaussian
