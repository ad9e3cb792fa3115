// The CHARMM job runner and the restrained minimisation.
#include "charmm.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>

#include "errors.h"
#include "intra/settings.h"
#include "io.h"
#include "util.h"

namespace {

// A path as one word for tcsh inside the double quotes of `tcsh -c "..."`:
// unchanged when it holds only plain characters, single-quoted when it holds
// blanks or other characters that single quotes protect in both shells.
std::string ShellWord(const std::string& path) {
  constexpr std::string_view kPlain = "/._-+=,:@%";
  constexpr std::string_view kUnquotable = "'\"$`\\!\n\r";
  bool plain = !path.empty();
  for (const char c : path) {
    if (kUnquotable.find(c) != std::string_view::npos)
      EndProcess(1, "$ err charmm file name with quotes or shell characters : " + path + "\n");
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && kPlain.find(c) == std::string_view::npos) plain = false;
  }
  return plain ? path : "'" + path + "'";
}

void AppendSelections(std::string& text, const CMolecule& mol1, const CConstraint& c, int n) {
  for (int k = 0; k < n; ++k) text += "   select type " + mol1.AtomName(c.aid.at(k)) + " end ";
  text += "\n";
}

std::string Default(Real v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

// One MMFP block holding the geometric term of kind (distance, angle or
// dihedral) between the first n atoms of c at its target.
void AppendRestraint(std::string& text, const CMolecule& mol1, const CConstraint& c,
                     const std::string& kind, const std::string& target, int n) {
  text += "mmfp\ngeo maxgeo 100 sphere  " + kind + " -\n";
  text += "   harmonic symmetric force 500000.0 " + target + " -\n";
  AppendSelections(text, mol1, c, n);
  text += "end\n";
}

}  // namespace

std::string CharmmCommandLine(const std::string& fname_inp, const std::string& fname_out,
                              const std::string& opts) {
  return "tcsh -c \"cd " + ShellWord(fpath) + "; charmm < " + ShellWord(fname_inp) + " " + opts +
         " > " + ShellWord(fname_out) + " \"";
}

void charmm(const std::string& fname_inp, const std::string& fname_out, const std::string& opts,
            const ShellRunner& runner) {
  runner(CharmmCommandLine(fname_inp, fname_out, opts));
}

namespace CHARMM {

std::string RestraintsText(const CMolecule& mol1, const std::vector<CConstraint>& cons) {
  std::string text;
  for (const CConstraint& c : cons) {
    switch (c.type) {
      case 'b':
        AppendRestraint(text, mol1, c, "distance", "droff " + Default(c.val), 2);
        break;
      case 'a':
        AppendRestraint(text, mol1, c, "angle", "tref " + Default(c.val) + " dtoff 0.0", 3);
        break;
      case 'd':
      case 'i': {
        const Real val = c.val == 0.0 ? 0.001 : c.val;
        AppendRestraint(text, mol1, c, "dihedral", "tref " + Default(val) + " dtoff 0.0", 4);
        break;
      }
      default:
        break;
    }
  }
  return text;
}

void Optimize(CMolecule& mol1, const std::string& /*FlIn*/, const std::string& /*FlOut*/,
              std::vector<Real>& cr, const std::vector<CConstraint>& cons,
              const ShellRunner& runner) {
  const std::string restraintFile = fpath + "restraints.str";
  const std::string text = RestraintsText(mol1, cons);
  std::ofstream out(restraintFile, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) EndProcess(1, "$ err unable to open file : " + restraintFile + "\n");

  // A card left by an earlier run must not pass for the result of this one.
  const std::string card = fpath + "emp_with_retraints.card";
  std::remove(card.c_str());

  charmm(strCharmmPath + "/minimize_with_restraints.inp", fpath + "/minimize_with_restraints.out", "",
         runner);

  if (IfFileExists(card))
    mol1.ReadCoorCARD(card, 0, "comp");
  else
    std::printf("$ wrong input in file : %s\n", card.c_str());
  mol1.CopyFromCoor(cr, "comp");
}

}  // namespace CHARMM
