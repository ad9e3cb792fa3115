// Coordinate files. Reading PDB and xyz files into geometries, and their
// broken forms, are cases of tests/data/scripts; CHARMM cards are read back
// in the bonded fits of tests/intra.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "io.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

namespace {

// water.pdb pads the name fields (columns 13-16) in different ways and has
// records that are not atoms; water.crd has its atoms out of order, an empty
// line and no final newline.
TEST(CoordinateFileTest, AtomsAreMatchedByNameWhateverTheirPaddingOrOrder) {
  CMolecule m = Water();
  EXPECT_EQ(Printed([&] { m.ReadCoorPDB(DataPath("coor/water.pdb"), 0, "main"); }), "");
  EXPECT_EQ(m.xyz, (std::vector<double>{0.1, 0.2, 0.3, 1, 0, 0, -0.2, 0.9, 0}));
  EXPECT_EQ(m.atom[2].rv.y, 0.9);
  m.ReadCoorCARD(DataPath("coor/water.crd"), 0, "comp");
  EXPECT_EQ(m.atom[2].xyzcomp, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(m.atom[2].xyz, (std::vector<double>{-0.2, 0.9, 0}));
}

TEST(CoordinateFileTest, PdbRecordsWrittenAndPrinted) {
  TempDir dir;
  CMolecule m = Water();
  m.atom[1].xyz = {1.2345, -20.5, 300.125};
  m.atom[0].chain = "A";
  m.atom[2].b = 1.5;
  m.WriteCoorPDB(dir.Write("out.pdb", ""), "main");
  ExpectSameAsReference(dir.Read("out.pdb"), "coor/written.pdb");
  m.atom[0].name = "VERYLONGNAME";  // long names are written whole
  m.WriteCoorPDB(dir.Write("x.pdb", ""), "other");
  EXPECT_THAT(dir.Read("x.pdb"),
              testing::HasSubstr("VERYLONGNAME MOL A   1    -999.900-999.900-999.900"));
  CMolecule().WriteCoorPDB(dir.Write("e.pdb", ""), "main");
  EXPECT_EQ(dir.Read("e.pdb"), "END\n");
  CMolecule one = Water();
  one.natm = 1;
  EXPECT_EQ(Printed([&] { one.PrintCoorPDB(); }),
            "ATOM      1  OH2 MOL     1       0.000   0.000   0.000  1.00  0.00       MOL\n");
}

TEST(CoordinateFileTest, FailuresEndTheProcessNamingTheFile) {
  TempDir dir;
  CMolecule m = Water();
  const std::string none = (dir.path() / "none").string(),
                    bad = (dir.path() / "no" / "d.pdb").string();
  const std::string card = "    1    1 HOH  OH2    4.00000   x   6.00000";
  // *TITLE is not a title line: it is taken as the count line, and the real
  // count line is read as an atom line whose fourth word does not exist.
  const std::string title =
      dir.Write("title", "*TITLE\n    3  EXT\n    1    1 HOH  OH2    4.0    5.0    6.0\n");
  const std::string number = dir.Write("number", "* t\n 3\n" + card + "\n");
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { m.ReadCoorCARD(none, 0, "main"); }, "$ err unable to open file : " + none + "\n"},
      {[&] { m.ReadCoorCARD(title, 0, "main"); },
       "$ err " + title + ":2: no atom name where it belongs:     3  EXT\n"},
      {[&] { m.ReadCoorCARD(number, 0, "main"); },
       "$ err x is not a number\n$ err invalid line in the charmm coord file in line : " + card +
           "\n"},
      {[&] { m.ReadCoorPDB(none, -1, "main"); },
       "$ err geometry 0 can not be stored: 1 geometries are set up, the next one is 2\n"},
      {[&] { m.WriteCoorPDB(bad, "main"); }, "$ err unable to open file : " + bad + "\n"},
      {[&] { m.WriteCoorPDB("/dev/full", "main"); }, "$ err unable to write file : /dev/full\n"},
  };
  for (const auto& [call, message] : cases) {
    const ProcessExit e = ExpectExit(call);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, message);
  }
  std::vector<double> v(8);
  EXPECT_THAT([&] { m.CopyFromCoor(v, "main"); }, testing::ThrowsMessage<std::length_error>(
                                                      "coordinate array holds 8 values, 9 needed"));
  v.resize(9);
  EXPECT_THAT([&] { m.CopyFromCoor(v, "other"); },
              testing::ThrowsMessage<std::invalid_argument>("unknown coordinate set : other"));
  m.natm = 4;  // more atoms counted than there are
  EXPECT_THAT([&] { m.ReadCoorPDB(none, 0, "main"); },
              testing::ThrowsMessage<std::logic_error>("the molecule has fewer atoms than natm"));
}

}  // namespace
