// The `optintra` section of the input script: the settings of the bonded
// fit, then the fit itself.
#include "intra/section.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "capacity.h"
#include "errors.h"
#include "intra/BondOpt.h"
#include "io.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "util.h"

namespace {

// The section text with its read position and the line being read.
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}
  bool More() const { return pos_ < text_.size(); }
  const std::string& Next() {
    line = UntilNextNewLine(text_, pos_);
    return line;
  }
  // The lines of a block up to the one whose first word, lower-cased, is
  // `end`; a block that the text ends first is an error when `closed`.
  // The line being handled is `line` again while the caller goes through them.
  std::vector<std::string> Block(const std::string& end, bool closed, const char* what) {
    std::vector<std::string> lines;
    while (More()) {
      if (Lower(tprint(Next(), 1)) == end) {
        closing = line;
        return lines;
      }
      lines.push_back(line);
    }
    if (closed) throw DetailedError(std::string("$ err ") + what + " block without " + end);
    closing = line;
    return lines;
  }

  std::string line;
  std::string closing;  // the line that closed the last block

 private:
  const std::string& text_;
  std::string::size_type pos_ = 0;
};

Real Word(const std::string& line, int n) { return WholeReal(tprint(line, n)); }

void ScanBlock(Reader& r) {
  const int s = OptInter.nScan;
  CheckCapacity(s, COptInter::kMaxScans, "scan blocks");
  OptInter.strDihe[s] = tprint(r.line, 2);
  std::printf("%i scan of %s\n", s + 1, OptInter.strDihe[s].c_str());
  int j = 0;
  for (const std::string& typed : r.Block("end", true, "scan")) {
    r.line = typed;
    const std::string line = Upper(typed);
    if (tprint(line, 1) != "F") continue;
    CheckCapacity(j, COptInter::kMaxScanConstraints, "constraint lines of a scan block");
    for (int k = 0; k < 4; ++k) OptInter.AtomName[s][j][k] = mol1.AtomIndex(tprint(line, k + 2));
    OptInter.diheValue[s][j] = NF(line) > 5 ? Word(line, 6) : 500.0;
    ++j;
  }
  OptInter.nCostr[s] = j;
  ++OptInter.nScan;
}

// A soft dihedral from the four atom names in words first..first+3.
CSoftDihe NamedDihedral(const std::string& line, int first) {
  CSoftDihe d;
  for (int k = 0; k < 4; ++k) {
    d.atomName[k] = Upper(tprint(line, first + k));
    d.aid[k] = mol1.AtomIndex(d.atomName[k]);
  }
  return d;
}

void SoftBlock(Reader& r) {
  for (const std::string& typed : r.Block("end", true, "soft")) {
    r.line = typed;
    const std::string line = Lower(typed);
    const int nf = NF(line);
    if (nf == 0) continue;
    CSoftDihe d;
    if (nf == 5 || nf == 6) {
      d = NamedDihedral(line, 2);
    } else {
      for (int k = 1; k <= 2; ++k) {
        d.atomName[k] = Upper(tprint(line, k + 1));
        d.aid[k] = mol1.AtomIndex(d.atomName[k]);
      }
    }
    const std::string first = tprint(line, 1);
    if (first == "dihe") d.ifScan = true;
    if (first == "fix") d.ifScan = false;
    if (nf == 4 || nf == 6) {
      d.val = Word(line, nf);
      d.bValFromStr = false;
    }
    OptInter.SoftDihe.push_back(d);
  }
}

void MultisoftBlock(Reader& r) {
  CSoftDiheMulti m;
  for (const std::string& typed : r.Block("end", true, "multisoft")) {
    r.line = typed;
    const std::string line = Lower(typed);
    const std::string first = tprint(line, 1);
    if (first == "dihe") m.dihedral.push_back(NamedDihedral(line, 2));
    if (first == "fix") m.constraint.push_back(NamedDihedral(line, 2));
  }
  r.line = r.closing;
  if (m.dihedral.empty()) throw DetailedError("$ err multisoft block without a dihe line");
  OptInter.SoftDiheMulti.push_back(m);
  std::printf("$ multi-dimensional scan will be performed; number of dimentions: %i\n",
              static_cast<int>(m.dihedral.size()));
  for (std::size_t k = 0; k < m.dihedral.size(); ++k) {
    std::printf("[ scan %i ] [ dihe N %i ] ", static_cast<int>(OptInter.SoftDiheMulti.size()),
                static_cast<int>(k + 1));
    std::printf("   atoms : [ ");
    for (const std::string& name : m.dihedral[k].atomName) std::printf("%s ", name.c_str());
    std::printf("]\n");
  }
}

void GridBlock(Reader& r) {
  for (const std::string& line : r.Block("end", false, "parammultidihescan")) {
    r.line = line;
    const std::string key = Lower(tprint(line, 1));
    if (key == "cutenergy") {
      ParamMultiDiheScan.cutEnergy = Word(line, 2);
      std::printf("$ Energy limit for multi dihedral scans is set to %5.2f\n",
                  ParamMultiDiheScan.cutEnergy);
    }
    if (key == "meshsize") {
      const Real mesh = Word(line, 2);
      if (!(mesh > 0.0)) throw DetailedError("$ err meshsize must be a positive number of degrees");
      ParamMultiDiheScan.meshSize = mesh;
      std::printf("$ Mesh size for multi dihedral scans is set to %5.2f\n", mesh);
    }
  }
}

void WeightBlock(Reader& r) {
  ClassRestraints& w = restraints;
  const struct {
    const char* family;
    const char* what;
    Real ClassRestraints::*weight;
  } kWeights[] = {
      {"bond", "b0", &ClassRestraints::wBond},       {"bond", "k", &ClassRestraints::wBondForce},
      {"angle", "a0", &ClassRestraints::wAngle},     {"angle", "dub", &ClassRestraints::wUB},
      {"angle", "k", &ClassRestraints::wAngleForce}, {"dihe", "k", &ClassRestraints::wDiheForce},
      {"impr", "k", &ClassRestraints::wImprForce}};
  for (const std::string& line : r.Block("}", false, "weight")) {
    r.line = line;
    for (const auto& k : kWeights)
      if (tprint(line, 1) == k.family && tprint(line, 2) == k.what) w.*k.weight = Word(line, 3);
  }
}

void PesPoints(const std::string& line) {
  constexpr int kMaxPoints = CMolecule::ClassPESScanBonded::kMaxPoints;
  const int n = WholeInt(tprint(line, 2));
  if (n < 3 || n % 2 == 0)
    EndProcess(1, "$ error number of PES point should be odd and larger than one\n");
  if (n > kMaxPoints)
    EndProcess(1, Format("$ error number of PES points should not exceed %i\n", kMaxPoints));
  OptInter.nPointRigidTerm = n;
  std::printf("$ number of PES points will be used : %i\n", n);
}

// One keyword: how its first word is compared and what it does.
struct Keyword {
  const char* word;
  bool anyCase;
  void (*run)(Reader&);
};

const Keyword kKeywords[] = {
    {"charmm_input", false,
     [](Reader& r) {
       strCharmmPath = tprint(r.line, 2);
       std::printf("$ charmm input file directory: %s \n", strCharmmPath.c_str());
     }},
    {"scan", true, ScanBlock},
    {"soft", true, SoftBlock},
    {"multisoft", true, MultisoftBlock},
    {"parammultidihescan", true, GridBlock},
    {"bondfromstructure", true,
     [](Reader& r) {
       if (Lower(tprint(r.line, 2)) == "on") OptInter.fBondFromStructure = true;
     }},
    {"anglefromstructure", true,
     [](Reader& r) {
       if (Lower(tprint(r.line, 2)) == "on") OptInter.fAngleFromStructure = true;
     }},
    {"single", true, [](Reader&) { OptInter.single = 1; }},
    {"nogaussian", true, [](Reader&) { OptInter.bGsOut = 0; }},
    {"scaleenergy", false, [](Reader& r) { OptInter.fBondScale = Word(r.line, 2); }},
    {"npespoints", true, [](Reader& r) { PesPoints(r.line); }},
    {"invertno", false, [](Reader&) { OptInter.dinvert = 0; }},
    {"fc", false, [](Reader&) { OptInter.fc = 1; }},
    {"F", false,
     [](Reader& r) {
       for (CMolecule::CAtom& a : mol1.atom)
         if (a.name == tprint(r.line, 2)) a.fix = -1;
     }},
    {"printmis", false, [](Reader&) { OptInter.fPrintMiss = 1; }},
    {"readprev", true,
     [](Reader& r) {
       OptInter.fPrev = 1;
       OptInter.filePrev = tprint(r.line, 2);
     }},
    {"writepdb", false,
     [](Reader& r) {
       if (tprint(r.line, 2) == "no") OptInter.fpdb = 0;
     }},
    {"incl", true,
     [](Reader& r) {
       const std::string what = tprint(r.line, 2);
       if (what == "bond") OptInter.sBond = 1;
       if (what == "angle") OptInter.sAngle = 1;
       if (what == "dihe") OptInter.sDihe = 1;
       if (what == "impr") OptInter.sImpr = 1;
     }},
    {"scale", false,
     [](Reader& r) {
       if (tprint(r.line, 2) == "freq") OptInter.scaleFreq = Word(r.line, 3);
     }},
    {"sfactor", false,
     [](Reader& r) {
       const std::string what = tprint(r.line, 2);
       if (what == "FD") OptInter.sFD = Word(r.line, 3);
       if (what == "SP") OptInter.sSP = Word(r.line, 3);
       if (what == "STR") OptInter.sStr = Word(r.line, 3);
       if (what == "restr") OptInter.sRestr = Word(r.line, 3);
     }},
    {"scaleBond", false,
     [](Reader& r) {
       const int n = OptInter.scaleNbr;
       CheckCapacity(n, COptInter::kMaxScaleBond, "scaleBond lines");
       OptInter.scaleName[n] = tprint(r.line, 2);
       OptInter.scaleCoeff[n] = Word(r.line, 3);
       ++OptInter.scaleNbr;
     }},
    {"deformationbased", true,
     [](Reader& r) {
       if (Lower(tprint(r.line, 2)) == "off") OptInter.DeformationBased = 0;
     }},
    {"weight", false, WeightBlock},
};

}  // namespace

namespace OptimizeBondedParam {

void ReadBondSection(const std::string& input) {
  Reader r(input);
  try {
    while (r.More()) {
      const std::string typed = tprint(r.Next(), 1);
      const std::string key = Lower(typed);
      for (const Keyword& k : kKeywords) {
        if (k.anyCase ? key == k.word : typed == k.word) {
          k.run(r);
          break;
        }
      }
    }
  } catch (const std::exception& e) {
    std::fflush(stdout);
    EndProcess(1, ScriptErrorMessage(e, r.line));
  }
}

std::vector<KeywordName> KeywordNames() {
  std::vector<KeywordName> names;
  for (const Keyword& k : kKeywords) names.push_back({k.word, k.anyCase});
  return names;
}

void ProcessScriptBondOpt(const std::string& input) {
  ReadBondSection(input);
  mol1.CreateListParam(param);
  param.Initialize(CharmmTopPar);
  mol1.OptimizeBondedTerms();
}

}  // namespace OptimizeBondedParam
