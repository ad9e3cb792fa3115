#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "io.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

using testing::ThrowsMessage;
using testing_support::ExpectExit;
using testing_support::Printed;
using testing_support::TempDir;
using testing_support::Water;

namespace {

// water.pdb pads the name fields (columns 13-16) in different ways and has
// records that are not atoms.
const std::string kWaterPdb = testing_support::DataPath("coor/water.pdb");

// A water molecule as its topology leaves it, and a directory for its files.
class CoordinateFileTest : public testing::Test {
 protected:
  TempDir dir;
  CMolecule m = Water();
};

}  // namespace

TEST_F(CoordinateFileTest, PdbAtomsAreMatchedByNameWhateverTheirPadding) {
  EXPECT_EQ(Printed([&] { m.ReadCoorPDB(kWaterPdb, 0, "main"); }), "");
  EXPECT_EQ(m.atom[1].xyz, (std::vector<double>{1.0, 0.0, 0.0}));
  EXPECT_EQ(m.atom[2].rv.y, 0.9);
  EXPECT_EQ(m.ngeom, 1);
  EXPECT_EQ(m.xyz, (std::vector<double>{0.1, 0.2, 0.3, 1, 0, 0, -0.2, 0.9, 0}));

  // The comparison target keeps the active coordinates; any other target stores nothing.
  CMolecule comp = Water(), other = Water();
  comp.ReadCoorPDB(kWaterPdb, 0, "comp");
  EXPECT_EQ(comp.atom[0].xyzcomp, (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(comp.atom[0].xyz, Water().atom[0].xyz);
  other.ReadCoorPDB(kWaterPdb, 0, "none");
  EXPECT_EQ(other.atom[0].xyzcomp, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(other.xyz, Water().xyz);
}

TEST_F(CoordinateFileTest, GeometriesAreAddedOneAtATime) {
  const std::string& path = kWaterPdb;
  EXPECT_EQ(Printed([&] { m.ReadCoorPDB(path, 1, "main"); }), "$ additional geometry 2\n");
  EXPECT_EQ(m.ngeom, 2);
  ASSERT_EQ(m.xyz.size(), 18u);
  EXPECT_EQ(m.xyz[9], 0.1);
  EXPECT_EQ(m.QMEnergy, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(m.QMDipoleMoment.size(), 2u);
  m.ActivateGeometry(0);
  EXPECT_EQ(m.atom[0].xyz[0], 0.0);  // geometry 0 still holds the old coordinates

  // A geometry beyond the next free one is refused before anything changes.
  for (const int g : {3, -1}) {
    const ProcessExit e = ExpectExit([&] { m.ReadCoorPDB(path, g, "main"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, Format("$ err geometry %i can not be stored: 2 geometries are set up, "
                                "the next one is 3\n",
                                g + 1));
  }
  EXPECT_EQ(m.ngeom, 2);
  EXPECT_EQ(m.atom[0].xyz[0], 0.0);
}

TEST_F(CoordinateFileTest, CardFilesAreReadByNameAndXyzFilesByPosition) {
  // Atoms out of order, an empty line and no final newline.
  const std::string card = testing_support::DataPath("coor/water.crd");
  m.ReadCoorCARD(card, 0, "main");
  EXPECT_EQ(m.xyz, (std::vector<double>{4, 5, 6, 7, 8, 9, 1, 2, 3}));
  m.ReadCoorCARD(card, 0, "comp");
  EXPECT_EQ(m.atom[2].xyzcomp, (std::vector<double>{1, 2, 3}));

  const std::string xyz = "3\ncomment\nO 1 2 3\nH 4 5 6\nH 7 8 9\n";
  EXPECT_EQ(Printed([&] { m.ReadCoorXYZ(dir.Write("w.xyz", xyz), 1, "main"); }),
            "$ additional geometry 2\n");
  EXPECT_EQ(m.atom[2].xyz, (std::vector<double>{7, 8, 9}));
}

// Broken PDB and xyz files are cases of tests/data/scripts.
TEST_F(CoordinateFileTest, BrokenCardFilesEndTheProcess) {
  const std::string path = (dir.path() / "broken").string();
  const std::string badCard = "    1    1 HOH  OH2    4.00000   x   6.00000";
  const struct {
    std::string text;  // "": no file
    std::string message;
  } cases[] = {
      {"", "$ err unable to open file : " + path + "\n"},
      // *TITLE is not a title line: it is taken as the count line, and the
      // real count line is read as an atom line whose fourth word does not exist.
      {"*TITLE\n    3  EXT\n    1    1 HOH  OH2    4.0    5.0    6.0\n",
       "$ err " + path + ":2: no atom name where it belongs:     3  EXT\n"},
      {"* t\n 3\n" + badCard + "\n",
       "$ err x is not a number\n$ err invalid line in the charmm coord file in line : " + badCard +
           "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::filesystem::remove(path);
    if (!c.text.empty()) dir.Write("broken", c.text);
    const ProcessExit e = ExpectExit([&] { m.ReadCoorCARD(path, 0, "main"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, c.message);
  }
  m.natm = 4;  // more atoms counted than there are
  EXPECT_THAT([&] { m.ReadCoorPDB(path, 0, "main"); },
              ThrowsMessage<std::logic_error>("the molecule has fewer atoms than natm"));
}

TEST_F(CoordinateFileTest, PdbWriteAndReadRoundTrip) {
  m.atom[1].xyz = {1.2345, -20.5, 300.125};
  m.atom[0].chain = "A";
  m.atom[2].b = 1.5;
  const std::string path = (dir.path() / "out.pdb").string();
  m.WriteCoorPDB(path, "main");
  testing_support::ExpectSameAsReference(dir.Read("out.pdb"), "coor/written.pdb");
  CMolecule back = Water();
  back.ReadCoorPDB(path, 0, "main");
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(back.atom[i].xyz[c], m.atom[i].xyz[c], 5e-4);
  }
}

TEST_F(CoordinateFileTest, PdbWriterTargetsAndFailure) {
  m.atom[0].xyzcomp = {5, 6, 7};
  m.atom[0].name = "VERYLONGNAME";  // long names are written whole
  m.WriteCoorPDB((dir.path() / "c.pdb").string(), "comp");
  EXPECT_THAT(dir.Read("c.pdb"),
              testing::HasSubstr("VERYLONGNAME MOL     1       5.000   6.000   7.000"));
  m.WriteCoorPDB((dir.path() / "x.pdb").string(), "other");
  EXPECT_THAT(dir.Read("x.pdb"), testing::HasSubstr("-999.900-999.900-999.900"));
  CMolecule().WriteCoorPDB((dir.path() / "e.pdb").string(), "main");
  EXPECT_EQ(dir.Read("e.pdb"), "END\n");

  const std::string bad = (dir.path() / "no" / "dir.pdb").string();
  ProcessExit e = ExpectExit([&] { m.WriteCoorPDB(bad, "main"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + bad + "\n");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no device that is always full";
  e = ExpectExit([&] { m.WriteCoorPDB("/dev/full", "main"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to write file : /dev/full\n");
}

TEST_F(CoordinateFileTest, PrintedRecordsAndCopiesOfCoordinateSets) {
  m.natm = 1;
  EXPECT_EQ(Printed([&] { m.PrintCoorPDB(); }),
            "ATOM      1  OH2 MOL     1       0.000   0.000   0.000  1.00  0.00       MOL\n");
  m.natm = 3;
  m.atom[2].xyzcomp = {1, 2, 3};
  std::vector<double> v(9, -1.0);
  m.CopyFromCoor(v, "main");
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 0.9572, 0, 0, -0.24, 0.927, 0}));
  m.CopyFromCoor(v, "comp");
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 0, 0, 0, 1, 2, 3}));
  std::vector<double> shortArray(8);
  EXPECT_THAT([&] { m.CopyFromCoor(shortArray, "main"); },
              ThrowsMessage<std::length_error>("coordinate array holds 8 values, 9 needed"));
  EXPECT_THAT([&] { m.CopyFromCoor(v, "other"); },
              ThrowsMessage<std::invalid_argument>("unknown coordinate set : other"));
}
