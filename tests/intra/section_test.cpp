// The `optintra` section read into the bonded-fit settings, keyword by
// keyword, and its failures: the sections of tests/data/intra/section.txt,
// each with what it prints and the settings it leaves, or how it ends the run.
#include "intra/section.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "errors.h"
#include "intra/BondOpt.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/reference_file.h"

namespace {

using namespace testing_support;

// Every setting a keyword of the section fills, a few to a line.
std::string Settings() {
  const COptInter& o = OptInter;
  std::ostringstream s;
  s << "charmm " << strCharmmPath << "\nscans " << o.nScan;
  for (int i = 0; i < o.nScan; ++i) {
    s << " " << o.strDihe[i] << ":";
    for (int k = 0; k < o.nCostr[i]; ++k)
      s << " " << o.AtomName[i][k][0] << o.AtomName[i][k][1] << o.AtomName[i][k][2] << o.AtomName[i][k][3] << "="
        << o.diheValue[i][k];
  }
  const auto dihe = [&](const CSoftDihe& d) {
    s << " [";
    for (int k = 0; k < 4; ++k) s << d.atomName[k] << ":" << d.aid[k] << " ";
    s << d.val << " " << d.bValFromStr << d.ifScan << "]";
  };
  s << "\nsoft";
  for (const auto& d : o.SoftDihe) dihe(d);
  s << "\nmulti";
  for (const auto& m : o.SoftDiheMulti) {
    for (const auto& d : m.dihedral) dihe(d);
    s << " fix";
    for (const auto& d : m.constraint) dihe(d);
  }
  s << "\ngrid " << ParamMultiDiheScan.meshSize << " " << ParamMultiDiheScan.cutEnergy << "\nfromstructure "
    << o.fBondFromStructure << o.fAngleFromStructure << " single " << o.single << " gaussian " << o.bGsOut
    << " pdb " << o.fpdb << " fc " << o.fc << " invert " << o.dinvert << " printmis " << o.fPrintMiss
    << " deformation " << o.DeformationBased << "\nincl " << o.sBond << o.sAngle << o.sDihe << o.sImpr
    << " points " << o.nPointRigidTerm << " scaleenergy " << o.fBondScale << " freq " << o.scaleFreq << "\nprev "
    << o.fPrev << " " << o.filePrev << "\nsfactor " << o.sFD << " " << o.sSP << " " << o.sStr << " " << o.sRestr
    << "\nscalebond";
  for (int i = 0; i < o.scaleNbr; ++i) s << " " << o.scaleName[i] << "=" << o.scaleCoeff[i];
  const ClassRestraints& r = restraints;
  s << "\nweight " << r.wBond << " " << r.wBondForce << " " << r.wAngle << " " << r.wUB << " " << r.wAngleForce
    << " " << r.wDiheForce << " " << r.wImprForce << "\nfix";
  for (const auto& a : mol1.atom) s << " " << a.fix;
  return s.str() + "\n";
}

TEST(BondSection, EveryKeywordFillsItsSettingOrEndsTheRun) {
  const ForceFieldState state;
  const ClassRestraints savedRestraints = restraints;
  const CParamMultiDiheScan savedGrid = ParamMultiDiheScan;
  const std::string savedCharmm = strCharmmPath;
  // The sections are the lines of the reference that start with "> ", each
  // followed by what it gave.
  std::vector<std::string> sections;
  std::istringstream reference(ReadFile(DataPath("intra/section.txt")));
  bool inSection = false;
  for (std::string line; std::getline(reference, line);) {
    const bool input = line.rfind("> ", 0) == 0;
    if (input && !inSection) sections.emplace_back();
    if (input) sections.back() += line.substr(2) + "\n";
    inSection = input;
  }
  ASSERT_GT(sections.size(), 30u);
  std::string report;
  for (const std::string& section : sections) {
    OptInter = COptInter();
    restraints = ClassRestraints();
    ParamMultiDiheScan = CParamMultiDiheScan();
    strCharmmPath = "";
    mol1 = Methanol();
    std::istringstream lines(section);
    for (std::string line; std::getline(lines, line);) report += "> " + line + "\n";
    try {
      report += Printed([&] { OptimizeBondedParam::ReadBondSection(section); });
      report += "-- settings\n" + Settings();
    } catch (const ProcessExit& e) {
      report += "-- status " + std::to_string(e.status) + "\n" + e.message;
    }
  }
  restraints = savedRestraints;
  ParamMultiDiheScan = savedGrid;
  strCharmmPath = savedCharmm;
  ExpectSameAsReference(report, "intra/section.txt");
}

}  // namespace
