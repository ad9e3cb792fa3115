// Fixed and tied dihedral entries from "bparam.inp".
#include <gtest/gtest.h>

#include <filesystem>

#include "param/molecule_fixture.h"
#include "support/fpath_scope.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"

using namespace testing_support;

namespace {

// The relations of the first n entries, row by row.
std::string Relations(const Param& p, int n) {
  std::string s;
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) s += std::to_string(p.relDihe[r][c]) + (c + 1 < n ? " " : " | ");
  return s;
}

// Entries A B C D, E B C F and A B C D again. F marks every entry of its types, in the written
// order only and with the letter in the first column; Q ties the last entries of the two type
// lists. Without a file nothing is tied; more than a hundred entries widen the relations.
TEST(ReadRestr, FixedAndTiedLinesAndWithoutAFileNone) {
  TempDir dir;
  FpathScope wd(dir.path().string());
  Param p;
  for (const char* first : {"A", "E", "A"}) WithTypes(p.AddDihe(), {first, "B", "C", first[0] == 'A' ? "D" : "F"});
  dir.Write("bparam.inp", "f a b c d\nF F C B E\n F E B C F\nQ E B C F A B C D\nother line\n");
  EXPECT_EQ(Printed([&] { p.read_restr(); }), "$ external file for param rel found\nQ E B C F A B C D\n1 2\n");
  EXPECT_EQ(Relations(p, 3), "-1 0 0 | 0 0 1 | 0 1 -1 | ");
  for (const std::string line : {"Q A B C D Z Z Z Z", " Q E B C F A B C D"}) {
    dir.Write("bparam.inp", line + "\n");
    const auto e = ExpectExit([&] { Printed([&] { p.read_restr(); }); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "dihedrals in rel file was not found\n" + line.substr(1) + "\n");
  }
  for (int n = 3; n < 150; ++n) WithTypes(p.AddDihe(), {"T" + std::to_string(n), "C", "C", "C"});
  dir.Write("bparam.inp", "F T140 C C C\nQ A B C D T149 C C C\n");
  Printed([&] { p.read_restr(); });
  ASSERT_EQ(p.relDihe.size(), 150u);
  EXPECT_EQ(p.relDihe[140][140], -1);
  EXPECT_EQ(p.relDihe[2][149] + p.relDihe[149][2], 2);
  std::filesystem::remove(dir.path() / "bparam.inp");
  EXPECT_EQ(Printed([&] { p.read_restr(); }), "$ external file for param rel was not found\n");
  EXPECT_EQ(Relations(p, 150).find('1'), std::string::npos);
}

}  // namespace
