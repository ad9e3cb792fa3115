// What the stand-in QM program accepts, how it refuses the rest, and that it
// answers the same deck always the same way without leaving files behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engines/qm/g09_support.h"
#include "support/run.h"

namespace {

using namespace g09_testing;

const std::string kWaterZ = "0 1\nO\nH 1 0.9572\nH 1 0.9572 2 104.52\n\n";

std::string LastLine(const std::string& text) {
  const size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  const size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

struct BadDeck {
  const char* name;
  std::string deck;
  const char* problem;  // part of the message
};

class G09BadDecks : public ::testing::TestWithParam<BadDeck> {};

TEST_P(G09BadDecks, EndWithAnErrorTerminationThatNamesTheProblem) {
  const BadDeck& c = GetParam();
  const G09Run r = RunG09(c.deck);
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(r.data.prop.iferror) << r.out;
  const std::string last = LastLine(r.out);
  EXPECT_EQ(last.rfind(" Error termination", 0), 0u) << r.out;
  EXPECT_NE(last.find(c.problem), std::string::npos) << last;
  EXPECT_EQ(r.out.find("Normal termination"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    G09, G09BadDecks,
    ::testing::Values(
        BadDeck{"Empty", "", "no route line"},
        BadDeck{"UnknownRouteKeyword", "#HF/6-31G* Frobnicate\n\nt\n\n" + kWaterZ, "unknown keyword \"Frobnicate\""},
        BadDeck{"UnknownOptOption", "#HF/6-31G* Opt=(Sideways)\n\nt\n\n" + kWaterZ, "unknown Opt option"},
        BadDeck{"UnbalancedRoute", "#HF/6-31G* Opt=(ModRedun\n\nt\n\n" + kWaterZ, "unbalanced parenthesis"},
        BadDeck{"MalformedIOp", "#HF/6-31G* Pop=MK IOp(6-33)\n\nt\n\n" + kWaterZ, "malformed IOp"},
        BadDeck{"BadProcessorCount", "%NPROC=many\n#HF/6-31G*\n\nt\n\n" + kWaterZ, "processor count"},
        BadDeck{"MissingTitle", "#HF/6-31G*\n\n", "title section is missing"},
        BadDeck{"MissingChargeLine", "#HF/6-31G*\n\nt\n\n", "charge and multiplicity line is missing"},
        BadDeck{"MalformedChargeLine", "#HF/6-31G*\n\nt\n\nzero one\nO\n\n", "expected charge and multiplicity"},
        BadDeck{"ImpossibleMultiplicity", "#HF/6-31G*\n\nt\n\n0 2\nO\nH 1 0.96\nH 1 0.96 2 104.5\n\n",
                "multiplicity 2 and 10 electrons"},
        BadDeck{"UnknownElement", "#HF/6-31G*\n\nt\n\n0 1\nQq 0 0 0 0\n\n", "names no element"},
        BadDeck{"UnsupportedAtomicNumber", "#HF/6-31G*\n\nt\n\n0 1\n99 0 0 0 0\n\n", "not supported"},
        BadDeck{"MalformedCentreLine", "#HF/6-31G*\n\nt\n\n0 1\nO\nH 1\n\n", "malformed centre line"},
        BadDeck{"BadCoordinate", "#HF/6-31G*\n\nt\n\n0 1\n8 0 0.0 0.0 1..0\n\n", "neither a number nor a value name"},
        BadDeck{"BadFreezeCode", "#HF/6-31G*\n\nt\n\n0 1\n8 -2 0.0 0.0 0.0\n1 0 0.0 0.0 0.96\n\n", "freeze code"},
        BadDeck{"UndefinedCentre", "#HF/6-31G*\n\nt\n\n0 1\nO\nH 1 0.96\nH 4 0.96 2 104.5\n\n",
                "reference to undefined centre 4"},
        BadDeck{"UndefinedName", "#HF/6-31G*\n\nt\n\n0 1\nO\nH 1 ROH\nH 1 ROH 2 AHOH\nVariables:\nROH 0.96\n\n",
                "\"AHOH\" is not defined"},
        BadDeck{"MalformedVariableLine", "#HF/6-31G*\n\nt\n\n0 1\nO\nH 1 ROH\nVariables:\nROH is 0.96\n\n",
                "malformed value line"},
        BadDeck{"NameDefinedTwice", "#HF/6-31G*\n\nt\n\n0 1\nO\nH 1 R\nVariables:\nR 0.96\nConstants:\nR 1.0\n\n",
                "defined twice"},
        BadDeck{"ConstraintOnUndefinedCentre",
                "#HF/6-31G* Opt=ModRedun\n\nt\n\n0 1\n8 0 0 0 0\n1 0 0 0 0.96\n1 0 0.93 0 -0.24\n\n1 9 F\n\n",
                "undefined centre 9"},
        BadDeck{"ConstraintWithoutF",
                "#HF/6-31G* Opt=ModRedun\n\nt\n\n0 1\n8 0 0 0 0\n1 0 0 0 0.96\n1 0 0.93 0 -0.24\n\n1 2\n\n",
                "malformed constraint line"},
        BadDeck{"ConstraintOfFiveCentres",
                "#HF/6-31G* Opt=ModRedun\n\nt\n\n0 1\n8 0 0 0 0\n1 0 0 0 0.96\n1 0 0.93 0 -0.24\n\n1 2 3 1 2 F\n\n",
                "2, 3 or 4 centres"},
        BadDeck{"TrailingGarbage", "#HF/6-31G*\n\nt\n\n" + kWaterZ + "what is this\n", "unexpected text"},
        BadDeck{"CollinearReferences", "#HF/6-31G*\n\nt\n\n1 1\nO\nH 1 1.0\nH 1 1.0 2 180.0\nH 1 1.0 2 90.0 3 0.0\n\n",
                "collinear"}),
    [](const ::testing::TestParamInfo<BadDeck>& info) { return std::string(info.param.name); });

TEST(G09Input, WithoutXtbTheJobEndsWithAnErrorTermination) {
  testing_support::TempDir dir;
  dir.Write("job.inp", SinglePointDeck(Methanol()));
  const auto r = testing_support::Run("sh -c \"env PATH=/nonexistent '" QM2FF_ENGINES_BIN "/g09' < job.inp\"", dir.path());
  EXPECT_NE(r.status, 0);
  EXPECT_NE(LastLine(r.out).find("Error termination"), std::string::npos) << r.out;
  EXPECT_NE(LastLine(r.out).find("xtb failed"), std::string::npos) << r.out;
}

TEST(G09Input, SameDeckGivesTheSameOutputByteForByte) {
  const std::string probe = PositiveProbeDeck(Methanol(), 6, {2}, 1, 2.0, 90.0);
  EXPECT_EQ(RunG09(probe).out, RunG09(probe).out);
  const std::string opt = OptimisationDeck(Methanol(), "3 1 2 6 F\n");
  const G09Run first = RunG09(opt);
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, RunG09(opt).out);
}

TEST(G09Input, LeavesNothingButItsOutputInTheCallersDirectory) {
  std::vector<std::string> files;
  const G09Run r = RunG09(PositiveProbeDeck(Methanol(), 6, {2}, 1, 2.0, 90.0), &files);
  ASSERT_EQ(r.status, 0);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"job.inp", "job.out"}));
}

TEST(G09Input, AcceptsLink0LinesCartesianSymbolsAndLeadingBlankLines) {
  const std::string deck =
      "\n%mem=100MB\n%chk=water.chk\n%NoSave\n%NPROCS=2\n%Unknown=7\n#p hf/sto-3g\n# SP NoSymm\n\n"
      "two-line\ntitle\n\n0,1\nO 0.0 0.0 0.0\nH1 0 0.0 0.0 0.9572\nH2,-1,0.92663,0.0,-0.23999\n\n";
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Will use up to    2 processors"), std::string::npos);
  ASSERT_EQ(r.data.prop.xyzInputOrient.size(), 9u);
  const G09Run reference = RunG09("#HF/6-31G* Test NoSymm\n\nwater\n\n" + kWaterZ);
  EXPECT_NEAR(r.data.prop.energy, reference.data.prop.energy, 1e-6);
}

TEST(G09Input, DummyCentresOfACartesianDeckAreLeftOutOfTheAtoms) {
  const std::string deck = "#HF/6-31G* NoSymm Pop=MK IOp(6/33=2)\n\nwith a dummy\n\n0 1\n"
                           "  8 -1   0.00000   0.00000   0.00000\n X  -1   0.00000   0.00000  -1.00000\n"
                           "  1 -1   0.00000   0.00000   0.95720\n  1 -1   0.92663   0.00000  -0.23999\n\n";
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.data.prop.xyzInputOrient.size(), 9u);
  EXPECT_EQ(r.data.prop.espq.size(), 3u);
  EXPECT_EQ(r.data.prop.espcoor.size(), 3 * r.data.prop.espval.size());
}

TEST(G09Input, ZMatrixDihedralsFollowTheUsualSignConvention) {
  const std::string deck =
      "#HF/6-31G* NoSymm\n\nhydrogen peroxide\n\n0 1\nO\nO 1 1.45\nH 1 0.97 2 100.0\nH 2 0.97 1 100.0 3 DHOOH\n"
      "Variables:\nDHOOH 115.0\n\n";
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 12u);
  EXPECT_NEAR(Dihedral(At(z, 3), At(z, 1), At(z, 0), At(z, 2)), 115.0, 1e-4);
  EXPECT_NEAR(Angle(At(z, 3), At(z, 1), At(z, 0)), 100.0, 1e-4);
  EXPECT_NEAR(Distance(At(z, 3), At(z, 1)), 0.97, 1e-6);
}

TEST(G09Input, SeveralVariablesAreOptimisedInTurn) {
  const std::string deck =
      "#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater\n\n0 1\nO\nH 1 ROH\nH 1 ROH 2 AHOH\nVariables:\nROH 1.05\nAHOH 95.0\n\n";
  const G09Run r = RunG09(deck);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(r.data.prop.ifconverged);
  const auto& z = r.data.prop.xyzZmatrixOrient;
  ASSERT_EQ(z.size(), 9u);
  EXPECT_NEAR(Distance(At(z, 0), At(z, 1)), 0.96, 0.03);
  EXPECT_GT(Angle(At(z, 1), At(z, 0), At(z, 2)), 100.0);
  EXPECT_NE(r.out.find(" ! ROH "), std::string::npos);
  EXPECT_NE(r.out.find(" ! AHOH "), std::string::npos);
}

}  // namespace
