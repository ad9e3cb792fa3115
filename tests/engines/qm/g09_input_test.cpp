// What the stand-in QM program accepts, how it refuses the rest, and that it
// answers the same deck always the same way without leaving files behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engines/qm/g09_support.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

const std::string kWaterZ = "0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n";
const std::string kWaterXyz = "0 1\n8 0 0 0 0\n1 0 0 0 0.96\n1 0 0.93 0 -0.24\n\n";
const std::string kError = " Error termination via Lnk1e in the g09 stand-in: ";

// A deck with the given route options and the water Z-matrix / the given molecule section.
std::string Route(const std::string& options) { return "#HF/6-31G* " + options + "\n\nt\n\n" + kWaterZ; }
std::string Body(const std::string& molecule) { return "#HF/6-31G*\n\nt\n\n" + molecule; }
std::string Constraint(const std::string& line) {
  return "#HF/6-31G* Opt=ModRedun\n\nt\n\n" + kWaterXyz + line + "\n\n";
}

struct BadDeck {
  const char* name;
  std::string deck;
  std::string problem;  // the message after the error termination's prefix
};
void PrintTo(const BadDeck& c, std::ostream* os) { *os << c.name; }

class G09BadDecks : public ::testing::TestWithParam<BadDeck> {};

TEST_P(G09BadDecks, EndWithAnErrorTerminationThatNamesTheProblem) {
  const BadDeck& c = GetParam();
  const G09Run r = RunG09(c.deck);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.data.prop.iferror) << r.out;
  EXPECT_EQ(LastLine(r.out), kError + c.problem) << r.out;
  EXPECT_EQ(r.out.find("Normal termination"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    G09, G09BadDecks,
    ::testing::ValuesIn(std::vector<BadDeck>{
        {"Empty", "", "the deck has no route line (#...)"},
        {"NeitherLink0NorRoute", "Hello\n" + Route(""),
         "line 1: expected a Link 0 command (%...) or the route (#...), found \"Hello\""},
        {"BadProcessorCount", "%NPROC=many\n" + Route(""),
         "line 1: the processor count in \"%NPROC=many\" is not a whole number from 1 to 1024"},
        {"UnknownRouteKeyword", Route("Frobnicate"), "line 1: unknown keyword \"Frobnicate\" in the route"},
        {"MalformedMethodBasis", "#HF/ SP\n\nt\n\n" + kWaterZ, "line 1: malformed method/basis \"HF/\""},
        {"UnknownOptOption", Route("Opt=(Sideways)"), "line 1: unknown Opt option \"sideways\""},
        {"BadMaxCycle", Route("Opt=(MaxCycle=0)"), "line 1: MaxCycle needs a positive whole number"},
        {"UnbalancedRoute", Route("Opt=(ModRedun"), "line 1: unbalanced parenthesis in the route"},
        {"MalformedIOp", Route("Pop=MK IOp(6-33)"), "line 1: malformed IOp setting \"6-33\""},
        {"TooManyLayers", Route("Pop=MK IOp(6/41=30)"), "line 1: IOp(6/41) takes 1 to 20 layers"},
        {"TooFewPoints", Route("Pop=MK IOp(6/42=0)"), "line 1: IOp(6/42) takes 1 to 50 points per square Angstrom"},
        {"PopWithoutOption", Route("Pop"), "line 1: Pop needs an option"},
        {"UnsupportedPopOption", Route("Pop=NBO"), "line 1: unsupported population option \"nbo\""},
        {"MissingTitle", "#HF/6-31G*\n\n", "line 3: the title section is missing"},
        {"MissingChargeLine", Body(""), "the charge and multiplicity line is missing"},
        {"MalformedChargeLine", Body("zero one\nO\n\n"),
         "line 5: expected charge and multiplicity, found \"zero one\""},
        {"NoCentres", Body("0 1\n\n"), "line 6: the deck has no centres"},
        {"OnlyDummies", Body("0 1\nX 0 0 0 0\n\n"), "the deck has no atoms, only dummy centres"},
        {"ImpossibleMultiplicity", Body("0 2\nO\nH 1 0.96\nH 1 0.96 2 104.5\n\n"),
         "the combination of multiplicity 2 and 10 electrons is impossible"},
        {"UnknownElement", Body("0 1\nQq 0 0 0 0\n\n"), "line 6: \"Qq\" names no element"},
        {"UnsupportedAtomicNumber", Body("0 1\n99 0 0 0 0\n\n"), "line 6: atomic number 99 is not supported (1 to 86)"},
        {"MalformedCentreLine", Body("0 1\nO\nH 1\n\n"),
         "line 7: malformed centre line: expected 3 fields for centre 2, found 2"},
        {"BadCoordinate", Body("0 1\n8 0 0.0 0.0 1..0\n\n"), "line 6: \"1..0\" is neither a number nor a value name"},
        {"BadFreezeCode", Body("0 1\n8 -2 0.0 0.0 0.0\n1 0 0.0 0.0 0.96\n\n"), "line 6: freeze code -2 is not 0 or -1"},
        {"CentreReferenceNotANumber", Body("0 1\nO\nH x 0.96\n\n"), "line 7: centre reference \"x\" is not a number"},
        {"UndefinedCentre", Body("0 1\nO\nH 1 0.96\nH 4 0.96 2 104.5\n\n"), "line 8: reference to undefined centre 4"},
        {"CentreReferredToTwice", Body("0 1\nO\nH 1 0.96\nH 1 0.96 1 104.0\n\n"),
         "line 8: a centre is referred to twice"},
        {"AngleOutOfRange", Body("0 1\nO\nH 1 0.96\nH 1 0.96 2 190.0\n\n"),
         "line 8: angle 190.000000 is outside 0 to 180 degrees"},
        {"CollinearReferences", Body("1 1\nO\nH 1 1.0\nH 1 1.0 2 180.0\nH 1 1.0 2 90.0 3 0.0\n\n"),
         "line 9: the three reference centres are collinear"},
        {"UndefinedName", Body("0 1\nO\nH 1 ROH\nH 1 ROH 2 AHOH\nVariables:\nROH 0.96\n\n"),
         "line 8: value name \"AHOH\" is not defined"},
        {"TextAfterVariables", Body("0 1\nO\nH 1 R\nVariables: x\nR 0.96\n\n"), "line 8: text after \"Variables:\""},
        {"MalformedVariableLine", Body("0 1\nO\nH 1 ROH\nVariables:\nROH is 0.96\n\n"),
         "line 9: malformed value line \"ROH is 0.96\""},
        {"NameDefinedTwice", Body("0 1\nO\nH 1 R\nVariables:\nR 0.96\nConstants:\nR 1.0\n\n"),
         "value name \"R\" is defined twice"},
        {"ConstraintOnUndefinedCentre", Constraint("1 9 F"), "line 10: constraint refers to undefined centre 9"},
        {"ConstraintWithoutF", Constraint("1 2"),
         "line 10: malformed constraint line \"1 2\" (centre numbers, optional value, F)"},
        {"ConstraintOfFiveCentres", Constraint("1 2 3 1 2 F"), "line 10: a constraint takes 2, 3 or 4 centres"},
        {"ConstraintNamesACentreTwice", Constraint("1 1 F"), "line 10: a constraint names a centre twice"},
        {"ConstraintValueNotANumber", Constraint("1 2 x F"), "line 10: constraint value \"x\" is not a number"},
        {"ConstraintsOnAZMatrix", Route("Opt=ModRedun") + "1 2 F\n\n", "ModRedun constraints need Cartesian input"},
        {"TrailingGarbage", Route("") + "what is this\n",
         "line 10: unexpected text \"what is this\" after the input sections"}}));

TEST(G09Input, WithoutXtbTheJobEndsWithAnErrorTermination) {
  testing_support::TempDir dir;
  dir.Write("job.inp", SinglePointDeck(Methanol()));
  const auto r =
      testing_support::Run("sh -c \"env PATH=/nonexistent '" QM2FF_ENGINES_BIN "/g09' < job.inp\"", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LastLine(r.out).rfind(kError + "xtb failed: ", 0), 0u) << r.out;
}

// xtb 6.5.1 may abort after its potential run with the potential file
// written in part: the points it lacks are run again, to the same output.
// An xtb that never writes the potential ends the job.
TEST(G09Input, PotentialOfAbortedXtbRunsIsCompletedElseTheJobEnds) {
  std::string real;
  for (const std::string dir : {"/usr/bin", "/usr/local/bin"}) {
    if (std::filesystem::exists(dir + "/xtb")) real = dir + "/xtb";
  }
  if (real.empty()) GTEST_SKIP() << "no xtb";
  const std::string deck = "#HF/6-31G* NoSymm Pop=MK IOp(6/33=2,6/41=2,6/42=2)\n\nt\n\n0 1\n" +
                           AtomLines(Methanol(), -1) + "\n\n";
  const G09Run whole = RunG09(deck);
  ASSERT_EQ(whole.status, 0) << whole.out;
  for (const std::string keep : {"half", "none"}) {
    testing_support::TempDir dir;
    dir.Write("job.inp", deck);
    const std::string xtb = dir.Write(
        "bin/xtb", "#!/bin/sh\ncase \"$*\" in *--esp*) ;; *) exec " + real + " \"$@\";; esac\n[ " + keep +
                       " = none ] && exit 134\n" + real + " \"$@\"\nn=$(( ($(wc -l < esp_coord) + 1) / 2 ))\n" +
                       "head -n $n xtb_esp.dat > kept && mv kept xtb_esp.dat\nexit 134\n");
    std::filesystem::permissions(xtb, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    const auto r = testing_support::Run("sh -c 'PATH=\"$PWD/bin:$PATH\" g09 < job.inp'", dir.path());
    if (keep == "half") {
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.out, whole.out);
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(LastLine(r.out), kError + "xtb failed to compute the electrostatic potential") << r.out;
    }
  }
}

// Twice the same deck, byte for byte the same output; only the deck and the
// output are left in the directory.
TEST(G09Input, SameDeckGivesTheSameOutputAndLeavesNoFiles) {
  const std::string probe = ProbeDeck(Methanol(), MethanolBonds(), 6, true, 2.0, 90.0);
  const G09Run first = RunG09(probe);
  ASSERT_EQ(first.status, 0) << first.out;
  EXPECT_EQ(first.out, RunG09(probe).out);
  EXPECT_EQ(first.files, (std::set<std::string>{"job.inp", "job.out"}));
  const std::string opt = OptimisationDeck(Methanol(), "3 1 2 6 F\n");
  const G09Run once = RunG09(opt);
  EXPECT_EQ(once.status, 0);
  EXPECT_EQ(once.out, RunG09(opt).out);
}

// Link 0 lines, a route over two lines, element symbols, commas and a dummy
// centre that is left out of the atoms.
TEST(G09Input, AcceptsLink0LinesCartesianSymbolsDummiesAndLeadingBlankLines) {
  const G09Run r = RunG09(
      "\n%mem=100MB\n%chk=water.chk\n%NoSave\n%NPROCS=2\n%Unknown=7\n#p hf/sto-3g\n# SP NoSymm Pop=MK IOp(6/33=2)\n\n"
      "two-line\ntitle\n\n0,1\nO 0.0 0.0 0.0\nX -1 0.0 0.0 -1.0\nH1 0 0.0 0.0 0.9572\nH2,-1,0.92663,0.0,-0.23999\n\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Will use up to    2 processors"), std::string::npos);
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 9u);
  EXPECT_EQ(r.data.prop.espq.size(), 3u);
  EXPECT_EQ(r.data.prop.espcoor.size(), 3 * r.data.prop.espval.size());
  EXPECT_NEAR(r.data.prop.energy, RunG09(Body(kWaterZ)).data.prop.energy, 1e-6);
}

// Z-matrix dihedrals follow the usual sign convention; several variables are optimised in turn.
TEST(G09Input, ZMatrixGeometryAndOptimisation) {
  const G09Run r =
      RunG09(Body("0 1\nO\nO 1 1.45\nH 1 0.97 2 100.0\nH 2 0.97 1 100.0 3 DHOOH\nVariables:\nDHOOH 115.0\n\n"));
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 12u);
  EXPECT_NEAR(Dihedral(At(z, 3), At(z, 1), At(z, 0), At(z, 2)), 115.0, 1e-4);
  EXPECT_NEAR(Angle(At(z, 3), At(z, 1), At(z, 0)), 100.0, 1e-4);
  EXPECT_NEAR(Distance(At(z, 3), At(z, 1)), 0.97, 1e-6);

  const G09Run opt = RunG09("#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater\n\n0 1\nO\nH 1 ROH\nH 1 ROH 2 AHOH\n"
                            "Variables:\nROH 1.05\nAHOH 95.0\n\n");
  ASSERT_EQ(opt.status, 0) << opt.out;
  EXPECT_TRUE(opt.data.prop.ifconverged);
  const auto& w = opt.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(w.size(), 9u);
  EXPECT_NEAR(Distance(At(w, 0), At(w, 1)), 0.96, 0.03);
  EXPECT_GT(Angle(At(w, 1), At(w, 0), At(w, 2)), 100.0);
  EXPECT_NE(opt.out.find(" ! ROH "), std::string::npos);
  EXPECT_NE(opt.out.find(" ! AHOH "), std::string::npos);
}

}  // namespace
