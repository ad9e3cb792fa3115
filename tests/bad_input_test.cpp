// Bad input through the program: each row is one run in a fresh directory
// that holds the methanol example (top_methanol.rtf, par_methanol.prm,
// par_tip3p.prm, methanol.xyz, methanol.pdb) and the row's files, each after
// a line "=== NAME" (or "=== NAME +", appended to the example's file). BASE
// stands for the four lines that read the example molecule, @DIR@ for the
// directory, @REF@ for the real CGenFF files (rows with it are skipped
// without them). The script ends with `writetop fitted.rtf` (unless it is
// named "run.inp (open)"): only a run that ends well may leave that result.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

struct Row {
  const char* files;
  int status;
  const char* says;  // a part of the standard output followed by the error stream
};

const Row kRows[] = {
    // Every word is checked before the first command runs.
    {"=== run.inp\nBASE\noptimisegeometry\n", 1,
     "current directory @DIR@/\n"
     "$ err run.inp:5: unknown command optimisegeometry; did you mean optimizegeometry?\n"},
    {"=== run.inp\nBASE\noptcharge\n  qmwaterenrgy -76\n  probe OG 1\nend\n", 1,
     "run.inp:6: unknown optcharge keyword qmwaterenrgy; did you mean qmwaterenergy?"},
    {"=== run.inp\nBASE\noptintra\n  FC\nrun\n", 1,
     "run.inp:6: unknown optintra keyword FC; did you mean fc?"},
    {"=== run.inp\nBASE\noptintra\n  soft\n    dihe CB OG\n    dihee CB OG\n  end\nrun\n", 1,
     "run.inp:8: unknown word in a soft block: dihee; did you mean dihe?"},
    {"=== run.inp\nBASE\noptintra\n  weight\n    bond b1 1.0\n  }\nrun\n", 1,
     "run.inp:7: unknown weight bond b1; did you mean bond b0?"},
    {"=== run.inp\nBASE\nconstrain\n  a CB OG\nend\n", 1,
     "run.inp:6: unknown word in a constrain block: a; did you mean b?"},
    {"=== run.inp (open)\nBASE\noptcharge\n  probe OG 1\n", 1,
     "run.inp:5: the optcharge section that starts here has no line end to close it"},
    {"=== run.inp (open)\nBASE\noptintra\n  incl bond\n", 1,
     "run.inp:5: the optintra section that starts here has no line run to close it"},
    {"=== run.inp\nBASE\noptintra\n  scan s\n    f CB OG HG1 HB1\n  end\n  incl bond\nrun\n", 1,
     "run.inp:9: the line right after the end of a scan block is not read"},
    {"=== run.inp\nBASE\nstream part.inp\n=== part.inp\nspin 1\nsinglpoint\n", 1,
     "@DIR@/part.inp:2: unknown command singlpoint; did you mean singlepoint?"},
    // Words that must keep working, in any case and among comments.
    {"=== run.inp\n! methanol\n# again\nTOPOLOGY top_methanol.rtf\nParam par_methanol.prm\n"
     "readtop top_methanol.rtf\n\nreadcoorxyz methanol.xyz\ncharge 0.0\nspin 1\n"
     "constrain\n  b CB OG 300\n  ! the rotor\n  D HB1 CB OG HG1\nEnd\n",
     0, "$ net molecular charge :   0.0\n"},
    {"=== run.inp\nBASE\noptcharge\n  ! probes\n  qmwaterenergy -76.01\n  chargerel charge.rel\n"
     "  readinitcharge start.str\n  UseQPop no\n  probe XX 1\nend\n=== charge.rel\nq HB1 HB2 1\n"
     "=== start.str\nATOM CB CG331 -0.1\n",
     1, "$ err atom was not found : XX\n"},
    {"=== run.inp\nBASE\noptintra\n  charmm_input charmm\n  F HG1\n  incl bond\n  scaleBond b 1\n"
     "  weight\n    impr k 0.0\n  }\n  parammultidihescan\n    meshsize 30\n  end\n"
     "  multisoft\n    dihe HB1 CB OG HG1\n    point 1\n  end\n  scan s\n    F CB OG HG1 HB1\n"
     "  end\n\n  soft\n    dihe CB XX\n  end\nrun\n",
     1, "$ err atom was not found : XX\n"},
    // Numbers are whole words and finite.
    {"=== run.inp\nBASE\ncharge 0.5\n", 1, "$ err 0.5 is not a whole number\n"},
    {"=== run.inp\nBASE\nnproc 0x10\n", 1, "$ err 0x10 is not a number\n"},
    {"=== run.inp\nBASE\noptcharge\n  qmwaterenergy 0.857D+01\n  probe OG 1\nend\n", 1,
     "$ err 0.857D+01 is not a number\n$ err in input script in line :   qmwaterenergy 0.857D+01"},
    {"=== run.inp\nBASE\noptintra\n  scaleenergy nan\nrun\n", 1,
     "$ err nan is not a finite number"},
    {"=== run.inp\nBASE\n=== methanol.xyz\n6\n\nC 0 0 0\nO 1e999 0 0\nH 2 0 0\nH 3 0 0\nH 4 0 0\nH "
     "5 0 0\n",
     1, "$ err 1e999 is not a finite number\n$ err invalid line in the xyz file in line : O 1e999"},
    {"=== run.inp\nBASE\n=== top_methanol.rtf +\nMASS 200 OX 15.99x40\n", 1,
     "$ err 15.99X40 is not a number in @DIR@//top_methanol.rtf:23\n"},
    // Files named in the script are there and well formed.
    {"=== run.inp\nBASE\nparam missing.prm\n", 1,
     "$ err can not open the parameter file missing.prm\n"},
    {"=== run.inp\nBASE\n=== par_tip3p.prm +\nNONBONDED\nHT 0.0 -0.046\n", 1,
     "$ err par_tip3p.prm:18: a NONBONDED line is TYPE 0.0 EPSILON RMIN/2"},
    {"=== run.inp\nBASE\n=== par_tip3p.prm +\nNONBONDED\nHT 0.0 0.046 0.2245\n", 1,
     "$ err par_tip3p.prm:18: an epsilon must not be positive (it is minus the well depth, "
     "kcal/mol) and an Rmin not negative (Angstrom); this line has 0.046 and 0.2245"},
    {"=== run.inp\nBASE\n=== par_tip3p.prm +\nNBFIX\nOT CG331 -0.1 -3.5\n", 1,
     "$ err par_tip3p.prm:18: an epsilon must not be positive"},
    {"=== run.inp\nBASE\n=== par_tip3p.prm +\nNBFIX\nOT CG331 x 3.5\n", 1,
     "$ err par_tip3p.prm:18: an NBFIX line is TYPE1 TYPE2 EMIN RMIN; this one is: OT CG331 x 3.5"},
    {"=== run.inp\nBASE\noptcharge\n  chargerel none.rel\n  probe OG 1\nend\n", 1,
     "$ err can not open the charge-relations file @DIR@//none.rel\n"},
    {"=== run.inp\nBASE\noptcharge\n  probe OG 1\nend\n=== charge.rel\n\nq CB CB 1.0\n", 1,
     "$ err @DIR@//charge.rel:2: Q CB CB 1.0 ties the charge of CB to itself"},
    {"=== run.inp\nBASE\noptcharge\n  readinitcharge start.str\n  probe OG 1\nend\n"
     "=== start.str\nATOM CB CG331 x\n",
     1, "$ err @DIR@//start.str:1: the charge of CB, 'X', is not a finite number\n"},
    // The molecule is what the files say.
    {"=== run.inp\nBASE\n=== methanol.xyz\n6\n\nO 0 0 0\nC 1 0 0\nH 2 0 0\nH 3 0 0\nH 4 0 0\nH 5 0 "
     "0\n",
     1, "methanol.xyz:3: the element O is not that of atom 1 of the topology, CB"},
    {"=== run.inp\nBASE\n=== top_methanol.rtf\nMASS 3 HGA3 1.008\nMASS 11 HGP1 1.008\n"
     "MASS 79 CG331 12.011\nMASS 163 OG311 15.9994\nRESI MEOH 0\nGROUP\nATOM CB CG331 -0.04\n"
     "ATOM OG OG311 -0.65\nATOM HG1 HGP1 0.42\nATOM HB1 HGA3 0.09\nATOM HB2 HGA3 0.09\n"
     "ATOM HB3 HGA3 0.09\nTRIPLE CB OG\nAROM OG HG1\nDOUBLE CB HB1\nBOND CB HB2 CB HB3\n",
     0, "$ total number of bonds    :    5\n"},
    {"=== run.inp\nBASE\n=== top_methanol.rtf +\nRESI TWO 0\n", 1,
     "top_methanol.rtf:23: a second residue, TWO, after MEOH; readtop reads the one molecule"},
    {"=== run.inp\nBASE\nreadcoorpdb methanol.pdb\n=== methanol.pdb +\n"
     "ATOM      7  CB  MEOH    1      -0.047   0.665   0.000  1.00  0.00      MEOH\n",
     1, "methanol.pdb:9: atom CB appears a second time"},
    {"=== run.inp\nBASE\nreadcoorpdb methanol.pdb\n=== methanol.pdb +\nMODEL        2\n", 1,
     "methanol.pdb:9: a second MODEL; the file holds one structure"},
    {"=== run.inp\nstream a.inp\n=== a.inp\nBASE\nstream b.inp\n=== b.inp\nspin 3\n", 0,
     "$ Spin multiplicity : 3\n"},
    {"=== run.inp\nBASE\nstream a.inp\n=== a.inp\nstream run.inp\n", 1,
     "$ err @DIR@/a.inp:1: stream @DIR@/run.inp is already being read"},
    {"=== run.inp\nworkdir @DIR@/sub\nstream part.inp\n=== sub/part.inp\n"
     "topology @DIR@/top_methanol.rtf\nreadtop @DIR@/top_methanol.rtf\n",
     0, "$ reading topology from @DIR@/top_methanol.rtf\n"},
    {"=== run.inp\n"
     "topology @REF@/top_all36_cgenff.rtf\nparam @REF@/par_all36_cgenff.prm "
     "@REF@/par_all36_wation.prm\n"
     "readtop top_methanol.rtf\nreadcoorxyz methanol.xyz\nreadparam\n",
     0, "$ total number of bonds    :    5\n"},
    // Messages name the file or line and say what is wrong.
    {"=== run.inp\nBASE\nreadcoorpdb methanol.pdb\n=== methanol.pdb +\n"
     "ATOM      7      MEOH    1      -0.047   0.665   0.000  1.00  0.00      MEOH\n",
     1, "methanol.pdb:9: no atom name where it belongs: ATOM      7      MEOH"},
    {"=== run.inp\nBASE\nconstrain\n  b CB\nend\n", 1,
     "$ err an atom name is missing\n$ err in input script in line :   b CB\n"},
    {"=== run.inp\nreadtop top_methanol.rtf\n", 1,
     "$ err the type CG331 of atom CB has no MASS line: no topology file is named yet; put the "
     "topology command before readtop\n"},
    {"=== run.inp\ntopology top_methanol.rtf\nreadtop top_methanol.rtf\noptimizegeometry\n", 1,
     "$ err no coordinates were read for atom CB: read them with readcoorpdb or readcoorxyz "
     "before optimizegeometry\n"},
    {"=== run.inp\nreadcoorxyz methanol.xyz\n", 1,
     "$ err no molecule to read the coordinates of @DIR@//methanol.xyz into: read its topology "
     "with readtop first\n"},
};

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

TEST(BadInput, EndsEarlyAndLoudlyWhileGoodInputRuns) {
  const std::string ref = SharedReferenceDir() + "/toppar";
  const std::string examples = std::string(QM2FF_SOURCE_DIR) + "/examples/";
  const std::string base =
      "topology top_methanol.rtf\nparam par_methanol.prm par_tip3p.prm\n"
      "readtop top_methanol.rtf\nreadcoorxyz methanol.xyz";
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.files);
    const std::string text = row.files;
    if (text.find("@REF@") != std::string::npos && SharedReferenceDir().empty()) continue;
    TempDir dir;
    const auto expand = [&](const std::string& s) {
      return Replaced(Replaced(Replaced(s, "BASE", base), "@DIR@", dir.path().string()), "@REF@",
                      ref);
    };
    for (const char* name : {"top_methanol.rtf", "par_methanol.prm", "par_tip3p.prm"})
      dir.Write(name, ReadFile(examples + "toppar/" + name));
    dir.Write("methanol.xyz", ReadFile(examples + "methanol/methanol.xyz"));
    dir.Write("methanol.pdb", ReadFile(DataPath("bad_input/methanol.pdb")));
    for (auto at = text.find("=== "); at != std::string::npos;) {
      const auto body = text.find('\n', at) + 1, next = text.find("=== ", body);
      std::string name = text.substr(at + 4, body - 1 - (at + 4));
      std::string content = expand(text.substr(body, next - body));
      if (name.ends_with(" +")) {
        name.resize(name.size() - 2);
        content = dir.Read(name) + content;
      }
      if (name == "run.inp") content += "writetop fitted.rtf\n";
      if (name == "run.inp (open)") name = "run.inp";
      dir.Write(name, content);
      at = next;
    }
    const RunResult r = RunQm2ff("run.inp", dir.path());
    EXPECT_EQ(r.status, row.status);
    EXPECT_THAT(r.out + r.err, testing::HasSubstr(expand(row.says)));
    bool result = false;
    for (const auto& e : fs::recursive_directory_iterator(dir.path()))
      result = result || e.path().filename() == "fitted.rtf";
    EXPECT_EQ(result, row.status == 0) << "a result file, fitted.rtf";
  }
}

}  // namespace
