// The CHARMM file reader: masses, Lennard-Jones and NBFIX lines, single-line
// bonded lookups.
#include "param.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "errors.h"
#include "io.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using testing::StrEq;
using testing::ThrowsMessage;
using namespace testing_support;

namespace {

// Lower case, a comment, and a MASS word in a comment of another line; a
// second reading lists the types again.
TEST(CharmmMass, ReadsEveryMassLineOfEveryTopologyAndFindsTheFirst) {
  TempDir dir;
  Charmm c;
  c.AddNewTopology(DataPath("param/masses.rtf"));
  c.AddNewTopology(dir.Write("b.rtf", "MASS 7 HGA3 2.0\n"));
  c.ReadMass();
  std::string types;
  for (const auto& t : c.type)
    types += Format("%d %s %g |%s|%s|\n", t.index, t.type.c_str(), t.mass, t.symbol.c_str(),
                    t.comment.c_str());
  EXPECT_EQ(types, "1 HGA3 1.008 |!| alkane H|\n2 CG331 12.011 |C| lower case|\n7 HGA3 2 |||\n");
  c.ReadMass();
  EXPECT_EQ(c.type.size(), 6u);
  ASSERT_NE(c.GetMassType("HGA3"), nullptr);
  EXPECT_EQ(c.GetMassType("HGA3")->index, 1);
  EXPECT_EQ(c.GetMassType("hga3"), nullptr);
}

// Each row: a lookup, the word of its line to compare (0: the whole line) and
// that word ("": no line). NONBONDED sections are closed by NBFIX only (not by
// HBOND or END) and NBFIX sections by HBOND; names keep their case; an earlier
// file wins and its header may be in lower case; bonded terms are found in both
// directions, the first dihedral line wins, wildcard or not.
TEST(CharmmLookup, FindsTheLineInsideItsSection) {
  TempDir dir;
  Charmm none, c, nb, bonded;
  c.AddNewParam(dir.Write("a.prm", "nonbonded\nHGA3 0.0 -0.5 1.0\n"));
  c.AddNewParam(DataPath("param/nonbonded.prm"));
  nb.AddNewParam(DataPath("param/nbfix.prm"));
  bonded.AddNewParam(DataPath("param/bonded.prm"));
  const std::tuple<std::function<std::string()>, int, std::string> rows[] = {
      {[&] { return none.read_par("HGA3"); }, 0, ""},
      {[&] { return none.read_nbfix("A", "B"); }, 0, ""},
      {[&] { return c.read_par("HGA3"); }, 3, "-0.5"},
      {[&] { return c.read_par("CG331"); }, 0,
       "CG331    0.0       -0.0780     2.0500   0.0 -0.01 1.9 ! WITH 1-4"},
      {[&] { return c.read_par("OG311"); }, 3, "-0.1921"},
      {[&] { return c.read_par("CG321"); }, 0, ""},
      {[&] { return c.read_par("hga3"); }, 0, ""},
      {[&] { return nb.read_nbfix("CLA", "SOD"); }, 0,
       "SOD    CLA      -0.083875   3.731 ! OSMOTIC"},
      {[&] { return nb.read_nbfix("sod", "cla"); }, 0, ""},
      {[&] { return nb.read_nbfix("POT", "CLA"); }, 0, ""},
      {[&] { return nb.read_nbfix("SOD", "OT"); }, 3, "-0.075020"},
      {[&] { return bonded.read_par("CG331", "HGA3"); }, 3, "322.00"},
      {[&] { return bonded.read_par("hga3", "cg331"); }, 0, ""},
      {[&] { return bonded.read_par("OG311", "CG331", "HGA3"); }, 4, "45.90"},
      {[&] { return bonded.read_par("CG331", "OG311", "HGA3"); }, 0, ""},
      {[&] { return bonded.read_par("HGP1", "OG311", "CG331", "HGA3"); }, 1, "X"},
      {[&] { return bonded.read_par("A", "CG331", "OG311", "B"); }, 1, "X"},
      {[&] { return bonded.read_par("A", "CG331", "CG331", "B"); }, 0, ""},
      {[&] { return bonded.read_par("OG2D1", "A", "B", "CG2O1", ""); }, 5, "60.0000"},
      {[&] { return bonded.read_par("OG2D1", "A", "B", "CG2O2", ""); }, 0, ""},
  };
  for (std::size_t r = 0; r < std::size(rows); ++r) {
    const std::string line = std::get<0>(rows[r])();
    EXPECT_EQ(std::get<1>(rows[r]) == 0 ? line : tprint(line, std::get<1>(rows[r])),
              std::get<2>(rows[r]))
        << r;
  }
}

TEST(CharmmFailures, MissingFilesAndBadNumbers) {
  TempDir dir;
  const std::string none = (dir.path() / "none").string();
  const std::string bad = dir.Write(
      "bad", "MASS 1 HGA3 heavy\nNONBONDED\nBAD 0.0 x 1.0\nNBFIX\nBAD    CLA      x   3.190\n");
  Charmm missing, broken;
  missing.AddNewTopology(none);
  missing.AddNewParam(none);
  broken.AddNewTopology(bad);
  broken.AddNewParam(bad);
  auto e = ExpectExit([&] { missing.ReadMass(); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ can not open file " + none + "\n");
  e = ExpectExit([&] { missing.read_par("A", "B"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ error can not open file : " + none + "\n");
  const std::pair<std::function<void()>, std::string> thrown[] = {
      {[&] { missing.read_par("HGA3"); }, "Can not open file: " + none},
      {[&] { missing.read_nbfix("SOD", "CLA"); }, "Cannot open file: " + none},
      {[&] { broken.read_par("BAD"); },
       "Error in file: " + bad + " in line: BAD 0.0 X 1.0\nnot a number: 'X'"},
      {[&] { broken.read_nbfix("CLA", "BAD"); },
       "Error in file: " + bad + " in line: BAD    CLA      X   3.190"},
  };
  for (const auto& [call, message] : thrown)
    EXPECT_THAT(call, ThrowsMessage<std::runtime_error>(StrEq(message)));
  EXPECT_THAT([&] { broken.ReadMass(); }, ThrowsMessage<DetailedError>(testing::StartsWith(
                                              "$ err heavy is not a number in " + bad + ":1")));
}

}  // namespace
