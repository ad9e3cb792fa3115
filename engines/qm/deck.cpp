#include "deck.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

#include "elements.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\f\v");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r\f\v");
  return s.substr(b, e - b + 1);
}

bool IsBlank(const std::string& s) { return Trim(s).empty(); }

std::vector<std::string> Split(const std::string& s, const std::string& separators) {
  std::vector<std::string> out;
  std::string word;
  for (const char c : s) {
    if (separators.find(c) != std::string::npos) {
      if (!word.empty()) out.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) out.push_back(word);
  return out;
}

[[noreturn]] void Fail(int line, const std::string& what) {
  throw DeckError("line " + std::to_string(line) + ": " + what);
}

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  std::string t = text;
  for (char& c : t) {
    if (c == 'd' || c == 'D') c = 'E';  // Fortran exponents
  }
  errno = 0;
  char* end = nullptr;
  value = std::strtod(t.c_str(), &end);
  return end == t.c_str() + t.size() && errno == 0 && std::isfinite(value);
}

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0 || v < -1000000000L || v > 1000000000L) {
    return false;
  }
  value = static_cast<int>(v);
  return true;
}

bool IsName(const std::string& s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

DeckValue ParseValue(const std::string& text, int line) {
  DeckValue v;
  if (ParseNumber(text, v.number)) return v;
  std::string name = text;
  if (!name.empty() && (name[0] == '-' || name[0] == '+')) {
    v.negate = name[0] == '-';
    name = name.substr(1);
  }
  if (!IsName(name)) Fail(line, "\"" + text + "\" is neither a number nor a value name");
  v.isName = true;
  v.name = name;
  return v;
}

// "key", "key=value", "key=(a,b)", "key(a,b)" -> key and its options.
void SplitOption(const std::string& token, std::string& key, std::vector<std::string>& options) {
  options.clear();
  const auto cut = token.find_first_of("=(");
  key = token.substr(0, cut);
  if (cut == std::string::npos) return;
  std::string rest = token.substr(cut);
  if (rest[0] == '=') rest = rest.substr(1);
  if (!rest.empty() && rest.front() == '(') {
    if (rest.back() != ')') {
      options.push_back("");  // unbalanced: reported by the caller
      key += "?";
      return;
    }
    rest = rest.substr(1, rest.size() - 2);
  }
  options = Split(rest, ", ");
  if (options.empty()) key += "?";
}

// Splits the route at blanks outside parentheses.
std::vector<std::string> RouteTokens(const std::string& route, int line) {
  std::vector<std::string> out;
  std::string word;
  int depth = 0;
  for (const char c : route) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth < 0) Fail(line, "unbalanced parenthesis in the route");
    if (depth == 0 && (c == ' ' || c == '\t')) {
      if (!word.empty()) out.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (depth != 0) Fail(line, "unbalanced parenthesis in the route");
  if (!word.empty()) out.push_back(word);
  return out;
}

bool LooksLikeBasis(const std::string& t) {
  static const std::vector<std::string> prefixes = {"sto-", "3-21", "6-31", "6-311", "cc-p",
                                                    "aug-cc", "def2", "lanl"};
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](const std::string& p) { return t.rfind(p, 0) == 0; });
}

void ParseOptOptions(const std::vector<std::string>& options, DeckRoute& route, int line) {
  for (const std::string& o : options) {
    std::string key;
    std::vector<std::string> values;
    SplitOption(o, key, values);
    if (key == "modredun" || key == "modredundant" || key == "addredun" || key == "addredundant") {
      route.modRedun = true;
    } else if (key == "z-matrix" || key == "zmatrix") {
      route.optZMatrix = true;
    } else if (key == "maxcycle" || key == "maxcycles" || key == "maxcyc") {
      int n = 0;
      if (values.size() != 1 || !ParseInt(values[0], n) || n < 1) {
        Fail(line, "MaxCycle needs a positive whole number");
      }
      route.maxCycle = n;
    } else if (key == "tight" || key == "verytight" || key == "loose" || key == "calcfc" ||
               key == "noeigentest" || key == "redundant") {
      // accepted; the stand-in uses its own convergence settings
    } else {
      Fail(line, "unknown Opt option \"" + o + "\"");
    }
  }
}

void ParseIOp(const std::vector<std::string>& items, DeckRoute& route, int line) {
  if (items.empty()) Fail(line, "empty IOp");
  for (const std::string& item : items) {
    const auto slash = item.find('/');
    const auto eq = item.find('=');
    int overlay = 0, option = 0, value = 0;
    if (slash == std::string::npos || eq == std::string::npos || eq < slash ||
        !ParseInt(item.substr(0, slash), overlay) ||
        !ParseInt(item.substr(slash + 1, eq - slash - 1), option) ||
        !ParseInt(item.substr(eq + 1), value)) {
      Fail(line, "malformed IOp setting \"" + item + "\"");
    }
    if (overlay != 6) continue;
    if (option == 33) route.printEspPoints = value >= 2;
    if (option == 41) {
      if (value < 1 || value > 20) Fail(line, "IOp(6/41) takes 1 to 20 layers");
      route.espLayers = value;
    }
    if (option == 42) {
      if (value < 1 || value > 50) Fail(line, "IOp(6/42) takes 1 to 50 points per square Angstrom");
      route.espDensity = value;
    }
  }
}

void ParseRoute(const std::string& text, int line, DeckRoute& route) {
  static const std::set<std::string> methods = {"hf", "rhf", "uhf", "rohf", "b3lyp", "mp2",
                                                "pbe1pbe", "pbe0", "m062x", "wb97xd", "am1",
                                                "pm3", "pm6", "gfn2", "xtb"};
  static const std::set<std::string> plain = {"nosymm", "test", "sp", "gfinput", "gfprint"};
  route.text = text;
  for (std::string token : RouteTokens(text, line)) {
    if (token[0] == '#') {
      token = token.substr(1);
      const std::string l = Lower(token);
      if (l.empty() || l == "p" || l == "n" || l == "t") continue;
    }
    const std::string l = Lower(token);
    std::string key;
    std::vector<std::string> options;
    SplitOption(l, key, options);
    if (key == "iop") {
      ParseIOp(options, route, line);
    } else if (key.find('/') != std::string::npos) {
      const auto slash = token.find('/');
      if (slash == 0 || slash + 1 == token.size()) Fail(line, "malformed method/basis \"" + token + "\"");
      route.method = token;
    } else if (methods.count(key) != 0 && options.empty()) {
      route.method = token;
    } else if (LooksLikeBasis(l)) {
      route.method += (route.method.empty() ? "" : "/") + token;
    } else if (key == "opt") {
      route.opt = true;
      ParseOptOptions(options, route, line);
    } else if (key == "pop") {
      for (const std::string& o : options) {
        if (o == "mk" || o == "merzkollman" || o == "esp") {
          route.popMK = true;
        } else if (o != "none" && o != "minimal" && o != "regular" && o != "full") {
          Fail(line, "unsupported population option \"" + o + "\"");
        }
      }
      if (options.empty()) Fail(line, "Pop needs an option");
    } else if (key == "symmetry" && options.size() == 1 && options[0] == "none") {
      route.noSymm = true;
    } else if (key == "scf" || key == "int" || key == "integral") {
      // numerical settings of the real program; nothing to do here
    } else if (plain.count(key) != 0 && options.empty()) {
      if (key == "nosymm") route.noSymm = true;
    } else {
      Fail(line, "unknown keyword \"" + token + "\" in the route");
    }
  }
}

void ParseLink0(const std::string& text, int line, Deck& deck) {
  deck.link0.push_back(text);
  const auto eq = text.find('=');
  const std::string key = Lower(Trim(text.substr(1, eq == std::string::npos ? std::string::npos : eq - 1)));
  if (key == "nproc" || key == "nprocs" || key == "nprocshared") {
    int n = 0;
    if (eq == std::string::npos || !ParseInt(Trim(text.substr(eq + 1)), n) || n < 1 || n > 1024) {
      Fail(line, "the processor count in \"" + text + "\" is not a whole number from 1 to 1024");
    }
    deck.nproc = n;
    deck.nprocGiven = true;
  }
  // %mem, %chk, %NoSave and anything else: nothing to do for the stand-in
}

DeckCentre ParseCentre(const std::vector<std::string>& w, int line, int index) {
  DeckCentre c;
  c.line = line;
  c.label = w[0];
  int z = 0;
  if (ParseInt(w[0], z)) {
    if (z < 1 || z > kMaxAtomicNumber) Fail(line, "atomic number " + w[0] + " is not supported (1 to 86)");
    c.atomicNumber = z;
  } else {
    z = AtomicNumberOfLabel(w[0]);
    if (z < 0 || z > kMaxAtomicNumber) Fail(line, "\"" + w[0] + "\" names no element");
    c.atomicNumber = z;
  }
  int code = 0;
  const bool secondIsInt = w.size() >= 2 && ParseInt(w[1], code);
  if (w.size() == 4 || (w.size() == 5 && secondIsInt && code <= 0)) {
    c.cartesian = true;
    size_t first = 1;
    if (w.size() == 5) {
      if (code != 0 && code != -1) Fail(line, "freeze code " + w[1] + " is not 0 or -1");
      c.freezeCode = code;
      first = 2;
    }
    for (size_t k = 0; k < 3; ++k) c.xyz[k] = ParseValue(w[first + k], line);
    return c;
  }
  // Z-matrix: label [n1 r [n2 a [n3 d [0]]]]
  c.cartesian = false;
  const size_t n = w.size();
  const size_t wanted = index == 0 ? 1 : (index == 1 ? 3 : (index == 2 ? 5 : 7));
  if (!(n == wanted || (wanted == 7 && n == 8))) {
    Fail(line, "malformed centre line: expected " + std::to_string(wanted) + " fields for centre " +
                   std::to_string(index + 1) + ", found " + std::to_string(n));
  }
  if (n == 8 && w[7] != "0") Fail(line, "only the dihedral form (last field 0) is supported");
  for (size_t k = 0; 1 + 2 * k < n && k < 3; ++k) {
    int ref = 0;
    if (!ParseInt(w[1 + 2 * k], ref)) Fail(line, "centre reference \"" + w[1 + 2 * k] + "\" is not a number");
    if (ref < 1 || ref > index) {
      Fail(line, "reference to undefined centre " + w[1 + 2 * k]);
    }
    c.refs[k] = ref - 1;
    c.internal[k] = ParseValue(w[2 + 2 * k], line);
  }
  for (size_t a = 0; a < 3; ++a) {
    for (size_t b = a + 1; b < 3; ++b) {
      if (c.refs[a] >= 0 && c.refs[a] == c.refs[b]) Fail(line, "a centre is referred to twice");
    }
  }
  return c;
}

bool IsSectionHeader(const std::string& line, const std::string& name) {
  const auto w = Split(line, " \t");
  return !w.empty() && Lower(w[0]) == name;
}

void ParseNamedValue(const std::string& text, int line,
                     std::vector<std::pair<std::string, double>>& into) {
  const auto w = Split(text, " \t=,");
  double v = 0;
  if (w.size() != 2 || !IsName(w[0]) || !ParseNumber(w[1], v)) {
    Fail(line, "malformed value line \"" + Trim(text) + "\"");
  }
  into.emplace_back(w[0], v);
}

void ParseConstraint(const std::string& text, int line, Deck& deck) {
  auto w = Split(text, " \t,");
  if (!w.empty()) {
    const std::string t = Lower(w[0]);
    if (t == "b" || t == "a" || t == "d") w.erase(w.begin());
  }
  if (w.empty() || Lower(w.back()) != "f") {
    Fail(line, "malformed constraint line \"" + Trim(text) + "\" (centre numbers, optional value, F)");
  }
  w.pop_back();
  DeckConstraint c;
  c.line = line;
  size_t i = 0;
  for (; i < w.size(); ++i) {
    int ref = 0;
    if (w[i].find('.') != std::string::npos || !ParseInt(w[i], ref)) break;
    if (ref < 1 || ref > static_cast<int>(deck.centres.size())) {
      Fail(line, "constraint refers to undefined centre " + w[i]);
    }
    c.centres.push_back(ref - 1);
  }
  if (c.centres.size() < 2 || c.centres.size() > 4) {
    Fail(line, "a constraint takes 2, 3 or 4 centres");
  }
  if (i + 1 == w.size()) {
    if (!ParseNumber(w[i], c.value)) Fail(line, "constraint value \"" + w[i] + "\" is not a number");
    c.hasValue = true;
  } else if (i != w.size()) {
    Fail(line, "malformed constraint line \"" + Trim(text) + "\"");
  }
  std::set<int> distinct(c.centres.begin(), c.centres.end());
  if (distinct.size() != c.centres.size()) Fail(line, "a constraint names a centre twice");
  for (const int k : c.centres) {
    if (deck.centres[static_cast<size_t>(k)].atomicNumber == 0) Fail(line, "a constraint names a dummy centre");
  }
  deck.constraints.push_back(c);
}

}  // namespace

bool Deck::HasZMatrix() const {
  return std::any_of(centres.begin(), centres.end(), [](const DeckCentre& c) { return !c.cartesian; });
}

std::vector<int> Deck::AtomCentres() const {
  std::vector<int> out;
  for (size_t i = 0; i < centres.size(); ++i) {
    if (centres[i].atomicNumber > 0) out.push_back(static_cast<int>(i));
  }
  return out;
}

double ResolveValue(const Deck& deck, const DeckValue& value,
                    const std::map<std::string, double>& variables) {
  if (!value.isName) return value.number;
  const std::string key = Lower(value.name);
  double v = 0;
  bool found = false;
  if (const auto it = variables.find(key); it != variables.end()) {
    v = it->second;
    found = true;
  }
  for (const auto& list : {&deck.variables, &deck.constants}) {
    for (const auto& [name, number] : *list) {
      if (!found && Lower(name) == key) {
        v = number;
        found = true;
      }
    }
  }
  if (!found) throw DeckError("value name \"" + value.name + "\" is not defined");
  return value.negate ? -v : v;
}

Deck ParseDeck(std::istream& in) {
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  Deck deck;
  size_t i = 0;
  const auto lineNo = [&](size_t k) { return static_cast<int>(k) + 1; };
  // Link 0 commands and the route; blank lines before the route are skipped.
  for (; i < lines.size(); ++i) {
    const std::string t = Trim(lines[i]);
    if (t.empty()) continue;
    if (t[0] == '%') {
      ParseLink0(t, lineNo(i), deck);
      continue;
    }
    if (t[0] == '#') break;
    Fail(lineNo(i), "expected a Link 0 command (%...) or the route (#...), found \"" + t + "\"");
  }
  if (i == lines.size()) throw DeckError("the deck has no route line (#...)");
  const int routeLine = lineNo(i);
  std::string route;
  for (; i < lines.size() && !IsBlank(lines[i]); ++i) route += (route.empty() ? "" : " ") + Trim(lines[i]);
  ParseRoute(route, routeLine, deck.route);
  // Title.
  ++i;
  for (; i < lines.size() && !IsBlank(lines[i]); ++i) deck.titleLines.push_back(Trim(lines[i]));
  if (deck.titleLines.empty()) throw DeckError("line " + std::to_string(lineNo(i)) + ": the title section is missing");
  ++i;
  // Charge and multiplicity.
  if (i >= lines.size()) throw DeckError("the charge and multiplicity line is missing");
  {
    const auto w = Split(lines[i], " \t,");
    if (w.size() != 2 || !ParseInt(w[0], deck.charge) || !ParseInt(w[1], deck.multiplicity) ||
        deck.multiplicity < 1) {
      Fail(lineNo(i), "expected charge and multiplicity, found \"" + Trim(lines[i]) + "\"");
    }
  }
  ++i;
  // Centres, up to a blank line or a Variables:/Constants: header.
  for (; i < lines.size() && !IsBlank(lines[i]); ++i) {
    if (IsSectionHeader(lines[i], "variables:") || IsSectionHeader(lines[i], "constants:")) break;
    const auto w = Split(lines[i], " \t,");
    deck.centres.push_back(ParseCentre(w, lineNo(i), static_cast<int>(deck.centres.size())));
  }
  if (deck.centres.empty()) throw DeckError("line " + std::to_string(lineNo(i)) + ": the deck has no centres");
  // Named values.
  std::vector<std::pair<std::string, double>>* section = nullptr;
  for (; i < lines.size() && !IsBlank(lines[i]); ++i) {
    if (IsSectionHeader(lines[i], "variables:")) {
      section = &deck.variables;
      if (Split(lines[i], " \t").size() != 1) Fail(lineNo(i), "text after \"Variables:\"");
    } else if (IsSectionHeader(lines[i], "constants:")) {
      section = &deck.constants;
      if (Split(lines[i], " \t").size() != 1) Fail(lineNo(i), "text after \"Constants:\"");
    } else if (section != nullptr) {
      ParseNamedValue(lines[i], lineNo(i), *section);
    }
  }
  {
    std::set<std::string> seen;
    for (const auto& list : {&deck.variables, &deck.constants}) {
      for (const auto& [name, value] : *list) {
        if (!seen.insert(Lower(name)).second) throw DeckError("value name \"" + name + "\" is defined twice");
      }
    }
  }
  // ModRedun constraints.
  if (deck.route.modRedun) {
    ++i;
    for (; i < lines.size() && !IsBlank(lines[i]); ++i) ParseConstraint(lines[i], lineNo(i), deck);
  }
  for (++i; i < lines.size(); ++i) {
    if (!IsBlank(lines[i])) Fail(lineNo(i), "unexpected text \"" + Trim(lines[i]) + "\" after the input sections");
  }
  // Every named value must resolve; every centre must be a real position.
  const std::map<std::string, double> none;
  for (const DeckCentre& c : deck.centres) {
    for (const DeckValue& v : c.cartesian ? c.xyz : c.internal) {
      try {
        if (v.isName) ResolveValue(deck, v, none);
      } catch (const DeckError& e) {
        Fail(c.line, e.what());
      }
    }
  }
  if (deck.AtomCentres().empty()) throw DeckError("the deck has no atoms, only dummy centres");
  int electrons = -deck.charge;
  for (const DeckCentre& c : deck.centres) electrons += c.atomicNumber;
  if (electrons < 0 || (electrons + deck.multiplicity) % 2 == 0 || deck.multiplicity - 1 > electrons) {
    throw DeckError("the combination of multiplicity " + std::to_string(deck.multiplicity) + " and " +
                    std::to_string(electrons) + " electrons is impossible");
  }
  if (deck.route.optZMatrix && !deck.HasZMatrix() && deck.variables.empty()) {
    throw DeckError("Opt=Z-matrix needs Z-matrix input with variables");
  }
  return deck;
}
