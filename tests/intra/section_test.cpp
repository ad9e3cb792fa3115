// The `optintra` section read into the bonded-fit settings, keyword by
// keyword, and its failures.
#include "intra/section.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "errors.h"
#include "intra/BondOpt.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"

namespace {

using namespace testing_support;

class BondSection : public ::testing::Test {
 protected:
  void SetUp() override { mol1 = Methanol(); }  // C O H1 H2 H3 HO
  ~BondSection() override {
    restraints = restraints_;
    ParamMultiDiheScan = grid_;
    strCharmmPath = charmmPath_;
  }
  ForceFieldState state_;
  const ClassRestraints restraints_ = restraints;
  const CParamMultiDiheScan grid_ = ParamMultiDiheScan;
  const std::string charmmPath_ = strCharmmPath;
};

std::vector<int> Aid(const CSoftDihe& d) { return d.aid; }

TEST_F(BondSection, EveryKeywordFillsItsSetting) {
  const COptInter& o = OptInter;
  const struct {
    const char* section;
    std::function<bool()> holds;
    std::string printed;
  } cases[] = {
      {"charmm_input /data/charmm\nCHARMM_INPUT x\n",
       [] { return strCharmmPath == "/data/charmm"; },
       "$ charmm input file directory: /data/charmm \n"},
      {"SCAN first\nf c o h1 ho\nF C O H1 HO 60\nx\nend\nScan second\nEND\n",
       [&] {
         const std::array<int, 4> atoms{0, 1, 2, 5};
         return o.nScan == 2 && o.strDihe[0] == "first" && o.strDihe[1] == "second" &&
                o.nCostr[0] == 2 && o.nCostr[1] == 0 && o.AtomName[0][0] == atoms &&
                o.AtomName[0][1] == atoms && o.diheValue[0][0] == 500.0 &&
                o.diheValue[0][1] == 60.0;
       },
       "1 scan of first\n2 scan of second\n"},
      {"soft\ndihe c o\n\ndihe C O 60\nfix c o h1 ho 30\ndihe h1 c o ho\nEND\n",
       [&] {
         const auto& s = o.SoftDihe;
         return s.size() == 4 && Aid(s[0]) == std::vector<int>{-1, 0, 1, -1} && s[0].bValFromStr &&
                s[0].ifScan && s[0].atomName[1] == "C" && s[0].atomName[0].empty() &&
                s[1].val == 60.0 && !s[1].bValFromStr &&
                Aid(s[2]) == std::vector<int>{0, 1, 2, 5} && !s[2].ifScan && s[2].val == 30.0 &&
                s[3].ifScan && s[3].bValFromStr && s[3].atomName[3] == "HO";
       },
       ""},
      {"MultiSoft\ndihe h1 c o ho\npoint 1 2\nfix h2 c o ho\ndihe h3 c o ho\nend\n",
       [&] {
         const auto& m = o.SoftDiheMulti;
         return m.size() == 1 && m[0].dihedral.size() == 2 && m[0].constraint.size() == 1 &&
                Aid(m[0].constraint[0]) == std::vector<int>{3, 0, 1, 5};
       },
       "$ multi-dimensional scan will be performed; number of dimentions: 2\n"
       "[ scan 1 ] [ dihe N 1 ]    atoms : [ H1 C O HO ]\n"
       "[ scan 1 ] [ dihe N 2 ]    atoms : [ H3 C O HO ]\n"},
      {"parammultidihescan\nMESHSIZE 5\ncutEnergy 3\nend\n",
       [] { return ParamMultiDiheScan.meshSize == 5.0 && ParamMultiDiheScan.cutEnergy == 3.0; },
       "$ Mesh size for multi dihedral scans is set to  5.00\n"
       "$ Energy limit for multi dihedral scans is set to  3.00\n"},
      {"bondfromstructure ON\nAngleFromStructure on\n",
       [&] { return o.fBondFromStructure && o.fAngleFromStructure; }, ""},
      {"bondfromstructure off\n", [&] { return !o.fBondFromStructure; }, ""},
      {"Single\nNOGAUSSIAN\n", [&] { return o.single == 1 && o.bGsOut == 0; }, ""},
      {"scaleenergy 0.5\nScaleEnergy 2\n", [&] { return o.fBondScale == 0.5; }, ""},
      {"NPESPOINTS 3\n", [&] { return o.nPointRigidTerm == 3; },
       "$ number of PES points will be used : 3\n"},
      {"npespoints 49\n", [&] { return o.nPointRigidTerm == 49; },
       "$ number of PES points will be used : 49\n"},
      {"invertno\nfc\nprintmis\nInvertno\nFC\n",
       [&] { return o.dinvert == 0 && o.fc == 1 && o.fPrintMiss == 1; }, ""},
      {"F HO\nf H1\n", [] { return mol1.atom[5].fix == -1 && mol1.atom[2].fix == 0; }, ""},
      {"ReadPrev prev.prm\n", [&] { return o.fPrev == 1 && o.filePrev == "prev.prm"; }, ""},
      {"writepdb no\n", [&] { return o.fpdb == 0; }, ""},
      {"writepdb NO\n", [&] { return o.fpdb == 1; }, ""},
      {"incl bond\nINCL angle\nincl dihe\nincl impr\n",
       [&] { return o.sBond + o.sAngle + o.sDihe + o.sImpr == 4; }, ""},
      {"incl BOND\n", [&] { return o.sBond == 0; }, ""},
      {"scale freq 0.9\nSCALE freq 2\n", [&] { return o.scaleFreq == 0.9; }, ""},
      {"sfactor FD 1\nsfactor SP 2\nsfactor STR 3\nsfactor restr 4\nsfactor sp 5\n",
       [&] { return o.sFD == 1 && o.sSP == 2 && o.sStr == 3 && o.sRestr == 4; }, ""},
      {"scaleBond b_c_o 2\nscaleBond a_h1_c_o 3\nSCALEBOND d 4\n",
       [&] { return o.scaleNbr == 2 && o.scaleName[1] == "a_h1_c_o" && o.scaleCoeff[0] == 2.0; },
       ""},
      {"deformationbased OFF\n", [&] { return o.DeformationBased == 0; }, ""},
      {"weight\nbond b0 1\nbond k 2\nangle a0 3\nangle dub 4\nangle k 5\ndihe k 6\nimpr k 7\n"
       "BOND B0 8\n}\nbond b0 9\n",
       [] {
         const ClassRestraints& r = restraints;
         return r.wBond == 1 && r.wBondForce == 2 && r.wAngle == 3 && r.wUB == 4 &&
                r.wAngleForce == 5 && r.wDiheForce == 6 && r.wImprForce == 7;
       },
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    OptInter = COptInter();
    restraints = ClassRestraints();
    mol1 = Methanol();
    EXPECT_EQ(Printed([&] { OptimizeBondedParam::ReadBondSection(c.section); }), c.printed);
    EXPECT_TRUE(c.holds());
  }
}

TEST_F(BondSection, FailuresEndTheRun) {
  const std::string pes = "$ error number of PES point should be odd and larger than one\n";
  const struct {
    const char* section;
    std::string message;
  } cases[] = {
      {"npespoints 1\n", pes},
      {"npespoints 2\n", pes},
      {"npespoints 8\n", pes},
      {"npespoints 51\n", "$ error number of PES points should not exceed 50\n"},
      {"npespoints x\n", "$ err x is not a number\n$ err in input script in line : npespoints x\n"},
      {"scaleenergy\n", "$ err a number is missing\n$ err in input script in line : scaleenergy\n"},
      {"scan s\nF C O H1 HO x\nend\n",
       "$ err X is not a number\n$ err in input script in line : F C O H1 HO x\n"},
      {"multisoft\nfix h1 c o ho\nend\n",
       "$ err multisoft block without a dihe line\n$ err in input script in line : end\n"},
      {"soft\ndihe c o\n",
       "$ err soft block without end\n$ err in input script in line : dihe c o\n"},
      {"scan s\n", "$ err scan block without end\n$ err in input script in line : scan s\n"},
      {"multisoft\n",
       "$ err multisoft block without end\n$ err in input script in line : multisoft\n"},
      {"parammultidihescan\nmeshsize 0\nend\n",
       "$ err meshsize must be a positive number of degrees\n"
       "$ err in input script in line : meshsize 0\n"},
      {"soft\ndihe c x\nend\n", "$ err atom was not found : X\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    OptInter = COptInter();
    const ProcessExit e =
        ExpectExit([&] { Printed([&] { OptimizeBondedParam::ReadBondSection(c.section); }); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
}

}  // namespace
