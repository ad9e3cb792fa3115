#include "help.h"

namespace {

// One line of the command list: the command with its arguments, and what it does.
struct HelpLine {
  const char* command;
  const char* what;
};

const HelpLine kCommands[] = {
    {"workdir DIR", "directory of every file read or written from here on"},
    {"stream FILE", "put the lines of FILE here (read before anything runs)"},
    {"topology FILE...", "CHARMM topology files that define the atom types"},
    {"param FILE...", "CHARMM parameter files, read in order"},
    {"readtop FILE", "the molecule: atoms, types, charges and bonds of the residue"},
    {"writetop FILE", "write the molecule's residue with its current charges"},
    {"readcoorxyz FILE [N]", "coordinates of geometry N (default 1) from an XYZ file"},
    {"readcoorpdb FILE [N]", "coordinates of geometry N (default 1) from a PDB file"},
    {"generatebonds", "add bonds between atoms close enough in the coordinates"},
    {"readparam", "look up the molecule's parameters in the parameter files"},
    {"energy", "print the MM energy of the molecule and stop"},
    {"charge Q", "net charge of the molecule (e; default 0)"},
    {"spin M", "spin multiplicity of the QM jobs (default 1)"},
    {"qmtheory ROUTE...", "method/basis of the QM jobs (default HF/6-31G*)"},
    {"nproc N", "%NPROC of the QM decks (default 1)"},
    {"gausscommand TEXT", "a Link 0 line for the optimisation and population decks"},
    {"qmjobs N", "at most N QM jobs at once (default 1)"},
    {"qmlauncher COMMAND...", "command put in front of every g09 job (default none)"},
    {"optimizegeometry [N]", "QM optimisation of geometry N: optN.inp, optN.out, optN.pdb"},
    {"singlepoint [N]", "QM single point of geometry N: spN.inp, spN.out"},
    {"population [N]", "QM Merz-Kollman charges and potential: popN.inp, popN.out"},
    {"constrain ... end", "bonds (b) and dihedrals (d) held in the QM optimisations"},
    {"optcharge ... end", "fit the partial charges (keywords in the reference)"},
    {"optintra ... run", "fit the bonded parameters (keywords in the reference)"},
    {"stop", "end the script here"},
};

}  // namespace

std::string HelpText() {
  std::string text =
      "usage: qm2ff SCRIPT\n"
      "       qm2ff --help\n"
      "\n"
      "Fits CHARMM force-field parameters of one small molecule to QM data. SCRIPT holds\n"
      "one command per line, in any case:\n"
      "\n";
  for (const HelpLine& line : kCommands) {
    std::string command = line.command;
    if (command.size() < 24) command.resize(24, ' ');
    text += "  " + command + line.what + "\n";
  }
  text +=
      "\n"
      "Every command, every keyword of optcharge and optintra, their defaults, units and\n"
      "files: docs/reference.md in the qm2ff sources.\n";
  return text;
}
