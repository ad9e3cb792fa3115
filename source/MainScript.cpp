#include "MainScript.h"

#include <cstdio>
#include <stdexcept>

#include "capacity.h"
#include "charge/ChargeOpt.h"
#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "intra/section.h"
#include "io.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "util.h"

namespace MainScript {

const std::string& Cursor::Next() {
  line = UntilNextNewLine(text, pos);
  return line;
}

namespace {

// 0-based geometry index from the 1-based number in word `word` of the line,
// read only when the line has exactly `words` words; otherwise 0.
int GeometryIndex(const std::string& line, int words, int word) {
  return NF(line) == words ? WholeInt(tprint(line, word)) - 1 : 0;
}

// The commands that work on the structure need one: without coordinates
// every atom stands at the same unset place.
void NeedStructure(const Cursor& c) {
  const std::string command = Lower(tprint(c.line, 1));
  if (mol1.natm == 0) {
    throw DetailedError("$ err there is no molecule yet: read its topology with readtop before " +
                        command);
  }
  for (const CMolecule::CAtom& a : mol1.atom) {
    if (a.xyz == std::vector<double>(3, -999.9)) {
      throw DetailedError("$ err no coordinates were read for atom " + a.name +
                          ": read them with readcoorpdb or readcoorxyz before " + command);
    }
  }
}

void Stop(Cursor&) { EndProcess(0); }

void Charge(Cursor& c) {
  mol1.netcharge = WholeInt(tprint(c.line, 2));
  std::printf("$ net molecular charge : %5.1f\n", mol1.netcharge);
}

void Spin(Cursor& c) {
  mol1.spinm = WholeInt(tprint(c.line, 2));
  std::printf("$ Spin multiplicity : %i\n", mol1.spinm);
}

void QMTheory(Cursor& c) {
  auto& theory = Gaussian::options.QMTheory;
  theory.clear();
  const int n = NF(c.line);
  for (int i = 2; i <= n; ++i) theory += tprint(c.line, i) + " ";
  std::printf("$ ab-initio level of theory : %s\n", theory.c_str());
}

void NProc(Cursor& c) {
  Gaussian::options.nproc = WholeInt(tprint(c.line, 2));
  std::printf("$ number of processors for gaussian jobs : %i\n", Gaussian::options.nproc);
}

// The words of the line after its key, one blank between them.
std::string Rest(const std::string& line) {
  std::string text;
  for (int i = 2; i <= NF(line); ++i) text += (i > 2 ? " " : "") + tprint(line, i);
  return text;
}

void QMJobs(Cursor& c) {
  const std::string word = Rest(c.line);
  const bool digits = !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || word.size() > 6 || WholeInt(word) < 1) {
    throw DetailedError("$ err qmjobs takes one whole number of QM jobs to run at once, 1 or "
                        "more, not '" + word + "'");
  }
  Gaussian::options.jobs = WholeInt(word);
  std::printf("$ QM jobs run at once : %i\n", Gaussian::options.jobs);
}

// The rest of the line goes inside the double quotes of the job's shell
// command, in front of g09: it may not hold characters that end the quotes
// or redirect the job.
void QMLauncher(Cursor& c) {
  const std::string text = Rest(c.line);
  for (int i = 2; i <= NF(c.line); ++i) {
    const std::string word = tprint(c.line, i);
    if (word.find_first_of("\"'`$\\<>|;&") != std::string::npos) {
      throw DetailedError("$ err qmlauncher takes a command and its options to put in front of "
                          "g09 (such as srun -N1 -n1), without quotes, backslashes, $, <, >, |, ; or &: '" +
                          word + "'");
    }
  }
  Gaussian::options.launcher = text;
  std::printf("$ QM jobs started through : %s\n", text.empty() ? "the shell alone" : text.c_str());
}

// The keyword is followed by exactly two separators before the options.
void GaussCommand(Cursor& c) {
  constexpr std::size_t kStart = 14;
  if (c.line.size() < kStart) throw std::invalid_argument("gausscommand without options");
  Gaussian::options.addCommand = c.line.substr(kStart);
  std::printf("$ gaussian options : %s\n", Gaussian::options.addCommand.c_str());
}

void WorkDir(Cursor& c) {
  fpath = tprint(c.line, 2);
  std::printf("$ working directory : %s\n", fpath.c_str());
}

void ReadCoorPDB(Cursor& c) {
  mol1.ReadCoorPDB(UserFilePath(tprint(c.line, 2)), GeometryIndex(c.line, 3, 3), "main");
}

void ReadCoorXYZ(Cursor& c) {
  mol1.ReadCoorXYZ(UserFilePath(tprint(c.line, 2)), GeometryIndex(c.line, 3, 3), "main");
}

void Topology(Cursor& c) {
  const int n = NF(c.line);
  for (int i = 2; i <= n; ++i) {
    CharmmTopPar.AddNewTopology(tprint(c.line, i));
    std::printf("$ topologyfile file (%i) : %s\n", static_cast<int>(CharmmTopPar.tops.size()),
                CharmmTopPar.tops.back().c_str());
  }
}

void ParamFiles(Cursor& c) {
  const int n = NF(c.line);
  for (int i = 2; i <= n; ++i) {
    CheckParamFile(tprint(c.line, i));
    CharmmTopPar.AddNewParam(tprint(c.line, i));
    std::printf("$ parameter file (%i) : %s\n", static_cast<int>(CharmmTopPar.params.size()),
                CharmmTopPar.params.back().c_str());
  }
}

void ReadTop(Cursor& c) {
  mol1.read_top(UserFilePath(tprint(c.line, 2)));
  mol1.GenerateStructure();
}

void WriteTop(Cursor& c) { mol1.write_top(UserFilePath(tprint(c.line, 2))); }

void ReadParam(Cursor&) {
  mol1.CreateListParam(param);
  param.Initialize(CharmmTopPar);
}

void GenerateBonds(Cursor& c) {
  NeedStructure(c);
  mol1.bond_create();
  mol1.GenerateStructure();
}

void Energy(Cursor& c) {
  NeedStructure(c);
  mol1.Energy(false);
  EndProcess(0);
}

// Globally constrained bonds ('b' lines) and dihedrals ('d' lines) up to `end`;
// atom names are looked up in upper case, the value defaults to 500.0.
void Constrain(Cursor& c) {
  int n = 0;
  for (;;) {
    const std::string line = Upper(c.Next());
    const std::string key = Lower(tprint(line, 1));
    if (key == "end") break;
    if (key != "b" && key != "d") continue;
    CheckCapacity(n, COptInter::kMaxFixDihe, "constrain block");
    auto& fix = OptInter.FixDihe[n];
    if (key == "b") {
      fix.AtomName = {mol1.AtomIndex(tprint(line, 2)), mol1.AtomIndex(tprint(line, 3)), -1, -1};
      fix.value = NF(line) > 3 ? WholeReal(tprint(line, 4)) : 500.0;
    } else {
      for (int k = 0; k < 4; ++k) fix.AtomName[k] = mol1.AtomIndex(tprint(line, k + 2));
      fix.value = NF(line) > 5 ? WholeReal(tprint(line, 6)) : 500.0;
    }
    ++n;
  }
  OptInter.nCostrGlobal = n;
}

// The QM commands take a geometry number only as the one word after the key.
void OptimizeGeometry(Cursor& c) {
  NeedStructure(c);
  mol1.QMOptCoordinates(GeometryIndex(c.line, 2, 2));
}

void SinglePoint(Cursor& c) {
  NeedStructure(c);
  mol1.QMSinglePoint("sp", Gaussian::options.QMTheory, GeometryIndex(c.line, 2, 2));
}

void Population(Cursor& c) {
  NeedStructure(c);
  mol1.PopEspCharges(GeometryIndex(c.line, 2, 2));
}

// The lines up to `end` configure and run the charge fit.
void OptChargeSection(Cursor& c) {
  NeedStructure(c);
  OptimizeCharge::ProcessScriptChargeOpt(TakeChargeSection(c));
}

// The lines up to `run` configure and run the bonded fit.
void OptIntraSection(Cursor& c) {
  NeedStructure(c);
  OptimizeBondedParam::ProcessScriptBondOpt(TakeBondSection(c));
}

}  // namespace

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> table = {
      {"stop", Stop},
      {"charge", Charge},
      {"spin", Spin},
      {"qmtheory", QMTheory},
      {"nproc", NProc},
      {"gausscommand", GaussCommand},
      {"qmjobs", QMJobs},
      {"qmlauncher", QMLauncher},
      {"workdir", WorkDir},
      {"readcoorpdb", ReadCoorPDB},
      {"readcoorxyz", ReadCoorXYZ},
      {"topology", Topology},
      {"param", ParamFiles},
      {"readtop", ReadTop},
      {"writetop", WriteTop},
      {"readparam", ReadParam},
      {"generatebonds", GenerateBonds},
      {"energy", Energy},
      {"constrain", Constrain},
      {"optimizegeometry", OptimizeGeometry},
      {"singlepoint", SinglePoint},
      {"population", Population},
      {"optcharge", OptChargeSection},
      {"optintra", OptIntraSection},
  };
  return table;
}

std::string TakeChargeSection(Cursor& cursor) {
  std::string section;
  while (tprint(cursor.line, 1) != "end") section += cursor.Next() + "\n";
  return section;
}

std::string TakeBondSection(Cursor& cursor) {
  std::string section;
  while (tprint(cursor.line, 1) != "run") {
    section += cursor.Next() + "\n";
    if (tprint(cursor.line, 1) == "scan") {
      while (tprint(cursor.line, 1) != "end") section += cursor.Next() + "\n";
      cursor.Next();
    }
  }
  return section;
}

void ProcessScriptMain(const std::string& script) {
  Cursor cursor(script);
  const auto& commands = Commands();
  try {
    while (cursor.HasMore()) {
      cursor.Next();
      const auto command = commands.find(Lower(tprint(cursor.line, 1)));
      if (command != commands.end()) command->second(cursor);
    }
  } catch (const std::exception& e) {
    std::fflush(stdout);
    EndProcess(1, ScriptErrorMessage(e, cursor.line));
  }
}

}  // namespace MainScript
