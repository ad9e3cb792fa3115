// Fixed and tied dihedral entries from "bparam.inp".
#include <gtest/gtest.h>

#include "param/param.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::FpathScope;
using testing_support::Printed;
using testing_support::TempDir;

namespace {

Param ThreeDihedrals() {
  Param p;
  const char* types[][4] = {{"A", "B", "C", "D"}, {"E", "B", "C", "F"}, {"A", "B", "C", "D"}};
  for (const auto& t : types) {
    auto& d = p.AddDihe();
    d.atp1 = t[0];
    d.atp2 = t[1];
    d.atp3 = t[2];
    d.atp4 = t[3];
  }
  return p;
}

// A working directory of its own for the relations file.
class ReadRestr : public testing::Test {
 protected:
  // Reads the relations of p; returns what was printed.
  static std::string Read(Param& p) {
    return Printed([&] { p.read_restr(); });
  }

  TempDir dir;
  FpathScope wd{dir.path().string()};
};

TEST_F(ReadRestr, MissingFileLeavesTheRelationsCleared) {
  Param p = ThreeDihedrals();
  p.relDihe[0][0] = -1;
  p.relDihe[1][2] = 1;
  EXPECT_EQ(Read(p), "$ external file for param rel was not found\n");
  EXPECT_EQ(p.relDihe[0][0], 0);
  EXPECT_EQ(p.relDihe[1][2], 0);
}

TEST_F(ReadRestr, FixedAndTiedLines) {
  dir.Write("bparam.inp",
            "f a b c d\n"
            "F D C B A\n"
            "Q E B C F A B C D\n"
            "other line\n");
  Param p = ThreeDihedrals();
  EXPECT_EQ(Read(p), "$ external file for param rel found\nQ E B C F A B C D\n1 2\n");
  // F matches in the written order only, every entry of those types.
  EXPECT_EQ(p.relDihe[0][0], -1);
  EXPECT_EQ(p.relDihe[2][2], -1);
  EXPECT_EQ(p.relDihe[1][1], 0);
  // Q ties the last entries of the two type lists.
  EXPECT_EQ(p.relDihe[1][2], 1);
  EXPECT_EQ(p.relDihe[2][1], 1);
  EXPECT_EQ(p.relDihe[0][1], 0);
}

TEST_F(ReadRestr, TyingAnEntryWithItselfReplacesFixed) {
  dir.Write("bparam.inp", "F E B C F\nQ E B C F E B C F\n");
  Param p = ThreeDihedrals();
  Read(p);
  EXPECT_EQ(p.relDihe[1][1], 1);
}

TEST_F(ReadRestr, KeywordAfterABlankIsNotRecognised) {
  dir.Write("bparam.inp", " F A B C D\n");
  Param p = ThreeDihedrals();
  Read(p);
  EXPECT_EQ(p.relDihe[0][0], 0);

  dir.Write("bparam.inp", " Q E B C F A B C D\n");
  const auto e = ExpectExit([&] { Read(p); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "dihedrals in rel file was not found\nQ E B C F A B C D\n");
}

TEST_F(ReadRestr, UnknownDihedralEndsTheProcess) {
  dir.Write("bparam.inp", "Q A B C D Z Z Z Z\n");
  Param p = ThreeDihedrals();
  const auto e = ExpectExit([&] { Read(p); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "dihedrals in rel file was not found\n A B C D Z Z Z Z\n");
}

TEST_F(ReadRestr, MoreThanAHundredEntriesWidenTheRelations) {
  Param p;
  for (int n = 0; n < 150; ++n) {
    auto& d = p.AddDihe();
    d.atp1 = "T" + std::to_string(n);
    d.atp2 = d.atp3 = d.atp4 = "C";
  }
  dir.Write("bparam.inp", "F T140 C C C\nQ T0 C C C T149 C C C\n");
  Read(p);
  ASSERT_EQ(p.relDihe.size(), 150u);
  EXPECT_EQ(p.relDihe[140][140], -1);
  EXPECT_EQ(p.relDihe[0][149], 1);
  EXPECT_EQ(p.relDihe[149][0], 1);
}

}  // namespace
