#include "param.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "errors.h"
#include "io.h"
#include "util.h"

namespace {

// What a search does with one line of a file: update the section state of
// this file and say whether the line is the one sought. Lines are compared
// upper-cased; the test takes its fields with Field, which upper-cases only
// the field (the same as taking it from the upper-cased line, and much
// cheaper on files of thousands of lines).
using LineTest =
    std::function<bool(const std::string& path, const std::string& line, bool& inSection)>;

std::string Field(const std::string& line, int n) { return Upper(tprint(line, n)); }

// The first line, upper-cased, over all files in order, that the test
// accepts; empty when none does. The section flag starts cleared for every
// file. cannotOpen is called for a file that cannot be opened and must not
// return.
std::string FirstLine(const std::vector<std::string>& files,
                      const std::function<void(const std::string&)>& cannotOpen,
                      const LineTest& test) {
  for (const auto& path : files) {
    std::ifstream in(path);
    if (!in) cannotOpen(path);
    bool inSection = false;
    std::string line;
    while (std::getline(in, line)) {
      if (test(path, line, inSection)) return Upper(line);
    }
  }
  return "";
}

// Section handling of the single-line bonded lookups: the first four
// characters of field 1 open or close the section.
void SwitchSection(const std::string& line, const char* openKey, const char* closeKey,
                   bool& inSection) {
  const std::string k = Field(line, 1).substr(0, 4);
  if (k == openKey) inSection = true;
  if (k == closeKey) inSection = false;
}

bool FieldsAre(const std::string& line, std::initializer_list<std::string> fields) {
  int n = 1;
  for (const auto& f : fields)
    if (Field(line, n++) != f) return false;
  return true;
}

std::string BondedLine(const std::vector<std::string>& files, const char* openKey,
                       const char* closeKey, const std::function<bool(const std::string&)>& rules) {
  return FirstLine(
      files,
      [](const std::string& path) { EndProcess(1, "$ error can not open file : " + path + "\n"); },
      [&](const std::string&, const std::string& line, bool& inSection) {
        SwitchSection(line, openKey, closeKey, inSection);
        return inSection && rules(line);
      });
}

}  // namespace

Charmm::CAtomType::CAtomType(int index, const std::string& type, Real mass,
                             const std::string& symbol, const std::string& comment)
    : index(index), type(type), mass(mass), symbol(symbol), comment(comment) {}

void Charmm::AddNewTopology(const std::string& path) { tops.push_back(path); }

void Charmm::AddNewParam(const std::string& path) { params.push_back(path); }

void Charmm::AddNewType(int index, const std::string& typeName, Real mass,
                        const std::string& symbol, const std::string& comment) {
  type.emplace_back(index, typeName, mass, symbol, comment);
}

void Charmm::ReadMass() {
  for (const auto& path : tops) {
    std::ifstream in(path);
    if (!in) EndProcess(1, "$ can not open file " + path + "\n");
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      if (Upper(tprint(line, 1)) != "MASS") continue;
      const auto bang = line.find('!');
      try {
        AddNewType(WholeInt(tprint(line, 2)), Upper(tprint(line, 3)), WholeReal(tprint(line, 4)),
                   Upper(tprint(line, 5)), bang == std::string::npos ? "" : line.substr(bang + 1));
      } catch (const std::exception& e) {
        throw DetailedError(e.what() + (" in " + path + ":" + inttostr(number) +
                                        ", a line MASS NUMBER TYPE MASS ELEMENT: " + line));
      }
    }
  }
}

const Charmm::CAtomType* Charmm::GetMassType(const std::string& typeName) const {
  for (const auto& t : type)
    if (t.type == typeName) return &t;
  return nullptr;
}

std::string Charmm::read_par(const std::string& atype) const {
  return FirstLine(
      params,
      [](const std::string& path) { throw std::runtime_error("Can not open file: " + path); },
      [&](const std::string& path, const std::string& line, bool& inSection) {
        const std::string f1 = Field(line, 1);
        if (f1 == "NBFIX") inSection = false;
        if (f1.substr(0, 4) == "NONB") inSection = true;
        if (!inSection || f1 != atype) return false;
        try {
          strfloat(Field(line, 3));
          strfloat(Field(line, 4));
        } catch (const std::exception& e) {
          throw std::runtime_error("Error in file: " + path + " in line: " + Upper(line) + "\n" +
                                   e.what());
        }
        return true;
      });
}

std::string Charmm::read_nbfix(const std::string& atype1, const std::string& atype2) const {
  return FirstLine(
      params,
      [](const std::string& path) { throw std::runtime_error("Cannot open file: " + path); },
      [&](const std::string& path, const std::string& line, bool& inSection) {
        const std::string f1 = Field(line, 1);
        if (f1 == "HBOND")
          inSection = false;
        else if (f1 == "NBFIX")
          inSection = true;
        if (!inSection) return false;
        const std::string f2 = Field(line, 2);
        if (!((f1 == atype1 && f2 == atype2) || (f1 == atype2 && f2 == atype1))) return false;
        if (!is_number(tprint(line, 3)) || !is_number(tprint(line, 4)))
          throw std::runtime_error("Error in file: " + path + " in line: " + Upper(line));
        return true;
      });
}

std::string Charmm::read_par(const std::string& t1, const std::string& t2) const {
  return BondedLine(params, "BOND", "ANGL", [&](const std::string& l) {
    return FieldsAre(l, {t1, t2}) || FieldsAre(l, {t2, t1});
  });
}

std::string Charmm::read_par(const std::string& t1, const std::string& t2,
                             const std::string& t3) const {
  return BondedLine(params, "ANGL", "DIHE", [&](const std::string& l) {
    return FieldsAre(l, {t1, t2, t3}) || FieldsAre(l, {t3, t2, t1});
  });
}

std::string Charmm::read_par(const std::string& t1, const std::string& t2, const std::string& t3,
                             const std::string& t4) const {
  return BondedLine(params, "DIHE", "IMPR", [&](const std::string& l) {
    return FieldsAre(l, {t1, t2, t3, t4}) || FieldsAre(l, {t4, t3, t2, t1}) ||
           FieldsAre(l, {"X", t2, t3, "X"}) || FieldsAre(l, {"X", t3, t2, "X"});
  });
}

std::string Charmm::read_par(const std::string& t1, const std::string& t2, const std::string& t3,
                             const std::string& t4, const std::string&) const {
  return BondedLine(params, "IMPR", "NONB", [&](const std::string& l) {
    return FieldsAre(l, {t1, t2, t3, t4}) || FieldsAre(l, {t4, t3, t2, t1}) ||
           FieldsAre(l, {t1, "X", "X", t4}) || FieldsAre(l, {t4, "X", "X", t1});
  });
}

namespace {

constexpr Real kMaxWellDepth = 100.0;  // kcal/mol
constexpr Real kMaxRmin = 100.0;       // Angstrom

// Words that end a NONBONDED or NBFIX section: the other sections of a
// parameter file (by their first four letters) and its end.
bool EndsSection(const std::string& key) {
  static const std::vector<std::string> others = {"BOND", "ANGL", "THET", "DIHE", "PHI",  "IMPR",
                                                  "IMPH", "CMAP", "ATOM", "HBON", "END",  "RETU"};
  return std::find(others.begin(), others.end(), key.substr(0, 4)) != others.end();
}

bool AllNumbers(const std::vector<std::string>& words, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    try {
      WholeReal(words.at(i));
    } catch (const std::exception&) {
      return false;
    }
  }
  return true;
}

}  // namespace

void CheckParamFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw DetailedError("$ err can not open the parameter file " + path);
  enum { kOther, kNonbonded, kNbfix } section = kOther;
  bool continued = false;  // the line before ended in "-"
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::vector<std::string> words;
    StringTokenizer tokens(line.substr(0, line.find('!')));
    while (tokens.hasMoreTokens()) words.push_back(tokens.nextToken());
    const bool continuation = continued;
    continued = !words.empty() && words.back() == "-";
    if (words.empty() || continuation) continue;
    const std::string key = Upper(words[0]);
    if (key.substr(0, 4) == "NONB" || key == "NBFIX" || EndsSection(key)) {
      section = key == "NBFIX" ? kNbfix : key.substr(0, 4) == "NONB" ? kNonbonded : kOther;
      continue;
    }
    const std::string where = "$ err " + path + ":" + inttostr(number) + ": ";
    const bool oneFour = words.size() > 4;
    if (section == kNonbonded && (words.size() < 4 || !AllNumbers(words, 1, 4) ||
                                  (oneFour && (words.size() < 7 || !AllNumbers(words, 4, 7))))) {
      throw DetailedError(where +
                          "a NONBONDED line is TYPE 0.0 EPSILON RMIN/2, optionally followed by 0.0 "
                          "EPSILON14 RMIN14/2; this one is: " + line);
    }
    if (section == kNbfix && (words.size() < 4 || !AllNumbers(words, 2, 4)))
      throw DetailedError(where + "an NBFIX line is TYPE1 TYPE2 EMIN RMIN; this one is: " + line);
    // CHARMM's epsilon is minus the well depth and Rmin a distance: a positive
    // epsilon or a negative Rmin makes every interaction of the type nonsense.
    const std::vector<std::size_t> pairs =
        section == kNonbonded ? std::vector<std::size_t>{2, 5}
        : section == kNbfix   ? std::vector<std::size_t>{2, 4}
                              : std::vector<std::size_t>{};
    for (const std::size_t k : pairs) {
      if (k + 1 >= words.size()) break;
      const Real eps = strfloat(words[k]), rmin = strfloat(words[k + 1]);
      if (eps > 0.0 || rmin < 0.0)
        throw DetailedError(where + "an epsilon must not be positive (it is minus the well depth, "
                                    "kcal/mol) and an Rmin not negative (Angstrom); this line has " +
                            words[k] + " and " + words[k + 1] + ": " + line);
      // The deepest wells of atoms are a few kcal/mol and their radii a few
      // Angstrom; far beyond, a fit would only follow the misprint.
      if (eps < -kMaxWellDepth || rmin > kMaxRmin)
        throw DetailedError(where + Format("an epsilon below -%g kcal/mol or an Rmin above %g Angstrom "
                                           "is no atom's Lennard-Jones term; this line has ",
                                           kMaxWellDepth, kMaxRmin) +
                            words[k] + " and " + words[k + 1] + ": " + line);
    }
  }
}

bool is_number(const std::string& text) { return ifFloat(text); }
