// Fixed and tied dihedral entries from "bparam.inp".
#include <gtest/gtest.h>

#include <filesystem>

#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::FpathScope;
using testing_support::Printed;
using testing_support::TempDir;
using testing_support::WithTypes;

namespace {

// Entries A B C D, E B C F and A B C D again, in a working directory of
// their own for the relations file.
class ReadRestr : public testing::Test {
 protected:
  void SetUp() override {
    WithTypes(p.AddDihe(), {"A", "B", "C", "D"});
    WithTypes(p.AddDihe(), {"E", "B", "C", "F"});
    WithTypes(p.AddDihe(), {"A", "B", "C", "D"});
  }
  // Writes the relations file, reads it; returns what was printed.
  std::string Read(const std::string& text) {
    dir.Write("bparam.inp", text);
    return Printed([&] { p.read_restr(); });
  }

  TempDir dir;
  FpathScope wd{dir.path().string()};
  Param p;
};

TEST_F(ReadRestr, FixedAndTiedLinesAndWithoutAFileNone) {
  EXPECT_EQ(Read("f a b c d\n"
                 "F F C B E\n"
                 " F E B C F\n"
                 "Q E B C F A B C D\n"
                 "other line\n"),
            "$ external file for param rel found\nQ E B C F A B C D\n1 2\n");
  // F marks every entry of its types, in the written order only and with
  // the letter in the first column.
  EXPECT_EQ(p.relDihe[0][0], -1);
  EXPECT_EQ(p.relDihe[2][2], -1);
  EXPECT_EQ(p.relDihe[1][1], 0);
  // Q ties the last entries of the two type lists.
  EXPECT_EQ(p.relDihe[1][2], 1);
  EXPECT_EQ(p.relDihe[2][1], 1);
  EXPECT_EQ(p.relDihe[0][1], 0);

  std::filesystem::remove(dir.path() / "bparam.inp");
  EXPECT_EQ(Printed([&] { p.read_restr(); }), "$ external file for param rel was not found\n");
  EXPECT_EQ(p.relDihe[0][0], 0);
  EXPECT_EQ(p.relDihe[1][2], 0);
}

TEST_F(ReadRestr, UnknownDihedralEndsTheProcess) {
  for (const std::string line : {"Q A B C D Z Z Z Z", " Q E B C F A B C D"}) {
    SCOPED_TRACE(line);
    const auto e = ExpectExit([&] { Read(line + "\n"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "dihedrals in rel file was not found\n" + line.substr(1) + "\n");
  }
}

TEST_F(ReadRestr, MoreThanAHundredEntriesWidenTheRelations) {
  for (int n = 3; n < 150; ++n) WithTypes(p.AddDihe(), {"T" + std::to_string(n), "C", "C", "C"});
  Read("F T140 C C C\nQ A B C D T149 C C C\n");
  ASSERT_EQ(p.relDihe.size(), 150u);
  EXPECT_EQ(p.relDihe[140][140], -1);
  EXPECT_EQ(p.relDihe[2][149], 1);
  EXPECT_EQ(p.relDihe[149][2], 1);
}

}  // namespace
