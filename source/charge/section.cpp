#include "charge/section.h"

#include <cstdio>
#include <map>
#include <stdexcept>

#include "charge/ChargeSettings.h"
#include "charge/driver.h"
#include "charge/relations.h"
#include "errors.h"
#include "gaussian.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

using Handler = void (*)(const std::string& line);

Real RealWord(const std::string& line) { return WholeReal(tprint(line, 2)); }
bool WordIs(const std::string& line, const char* value) { return Lower(tprint(line, 2)) == value; }

// Word 2, a file that must be there: a file named on purpose and missing
// would leave the fit without its relations or start charges.
std::string NamedFile(const std::string& line, const char* what) {
  const std::string name = tprint(line, 2);
  if (name.empty() || !IfFileExists(UserFilePath(name)))
    throw DetailedError(std::string("$ err can not open the ") + what + " file " + UserFilePath(name));
  return name;
}

const std::map<std::string, Handler>& Keywords() {
  static const std::map<std::string, Handler> table = {
      {"qmtheory",
       [](const std::string& line) {
         std::string& theory = Gaussian::options.QMTheory;
         theory.clear();
         const int n = NF(line);
         for (int i = 2; i <= n; ++i) theory += tprint(line, i) + " ";
         std::printf("$ Ab-inito level of theory : %s\n", theory.c_str());
       }},
      {"qmwaterenergy",
       [](const std::string& l) {
         ParamOptCharges.QMWaterEnergy = RealWord(l);
         ParamOptCharges.QMWaterEnergyGiven = true;
       }},
      {"single", [](const std::string&) { ParamOptCharges.skipOpt = true; }},
      {"chargerel",
       [](const std::string& l) { ParamOptCharges.chargeRelFile = NamedFile(l, "charge-relations"); }},
      {"readinitcharge",
       [](const std::string& l) { ParamOptCharges.chargeInitFile = NamedFile(l, "start-charge"); }},
      {"useqpop", [](const std::string& l) { ParamOptCharges.startFromQPOP = WordIs(l, "yes"); }},
      {"scaleqmdipole", [](const std::string& l) { ParamOptCharges.QMScaleDipole = RealWord(l); }},
      {"qmenergyscaleneutral",
       [](const std::string& l) { ParamOptCharges.QMEnergyScaleNeutral = RealWord(l); }},
      {"qmenergyscalecharged",
       [](const std::string& l) { ParamOptCharges.QMEnergyScaleCharged = RealWord(l); }},
      {"qmdistshiftneutral", [](const std::string& l) { ParamOptCharges.QMDistShiftNeutral = RealWord(l); }},
      {"qmdistshiftcharged", [](const std::string& l) { ParamOptCharges.QMDistShiftCharged = RealWord(l); }},
      {"weightwaterinterener",
       [](const std::string& l) { ParamOptCharges.WeightWaterInterEner = RealWord(l); }},
      {"weightwaterinterdist",
       [](const std::string& l) { ParamOptCharges.WeightWaterInterDist = RealWord(l); }},
      {"weightchargerestraint",
       [](const std::string& l) { ParamOptCharges.WeightChargeRestraint = RealWord(l); }},
      {"bhyperbolic", [](const std::string& l) { ParamOptCharges.bResp = RealWord(l); }},
      {"usehyperbolicrestraint",
       [](const std::string& l) { ParamOptCharges.useHyperbolicRestraint = WordIs(l, "on"); }},
      {"weightdipolemoment", [](const std::string& l) { ParamOptCharges.WeightDipoleMoment = RealWord(l); }},
      {"weightesppot", [](const std::string& l) { ParamOptCharges.WeightESPpot = RealWord(l); }},
      {"removepositiveinter",
       [](const std::string& l) { ParamOptCharges.fRemovePositiveInter = WordIs(l, "on"); }},
      {"probe",
       [](const std::string& l) {
         const std::string name = Upper(tprint(l, 2));
         const int waters = WholeInt(tprint(l, 3));
         const int geometry = NF(l) > 3 ? WholeInt(tprint(l, 4)) - 1 : 0;
         COptCharge::CProbeAtom& probe = OptCharge.GetNextProbedAtom();
         probe.atom.push_back(name);
         probe.nWaters = waters;
         probe.iProbedGeometry = geometry;
       }},
  };
  return table;
}

}  // namespace

namespace OptimizeCharge {

void ReadChargeSection(const std::string& input) {
  const auto& keywords = Keywords();
  std::string::size_type pos = 0;
  while (pos < input.size()) {
    const std::string line = UntilNextNewLine(input, pos);
    const auto k = keywords.find(Lower(tprint(line, 1)));
    if (k == keywords.end()) continue;
    try {
      k->second(line);
    } catch (const std::exception& e) {
      std::fflush(stdout);
      EndProcess(1, ScriptErrorMessage(e, line));
    }
  }
  for (std::size_t p = 0; p < OptCharge.size(); ++p) {
    COptCharge::CProbeAtom& probe = OptCharge[p];
    probe.iatom.push_back(mol1.AtomIndex(probe.atom.at(0)));
    if (probe.nWaters < 1) EndProcess(1, "$ err number of waters should be at least one\n");
    if (probe.iProbedGeometry < 0 || probe.iProbedGeometry >= mol1.ngeom) {
      EndProcess(1, "$ err this geometry was not setup " + inttostr(probe.iProbedGeometry) + "\n");
    }
  }
}

std::vector<std::string> KeywordNames() {
  std::vector<std::string> names;
  for (const auto& [word, handler] : Keywords()) names.push_back(word);
  return names;
}

void ProcessScriptChargeOpt(const std::string& input) {
  ReadChargeSection(input);
  // The files the fit reads are checked now, not after the QM jobs of the probes.
  CheckRelationFile();
  if (!ParamOptCharges.chargeInitFile.empty()) {
    CMolecule check = mol1;
    try {
      ReadInitialChargesFromFile(check, UserFilePath(ParamOptCharges.chargeInitFile));
    } catch (const std::exception& e) {
      std::fflush(stdout);
      EndProcess(1, e.what() + std::string("\n"));
    }
  }
  OptimizeCharges(mol1);
}

}  // namespace OptimizeCharge
