#include <gtest/gtest.h>

#include <string>

#include "io.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/process_exit.h"
#include "support/run.h"

using testing_support::ExpectExit;
using testing_support::TempDir;
using testing_support::Water;

namespace {

// An ATOM record with the name field (columns 13-16) given verbatim.
std::string Atom(int serial, const std::string& nameField, double x, double y, double z) {
  return Format("ATOM  %5i %4s HOH A   1    %8.3f%8.3f%8.3f  1.00  0.00      WAT\n", serial,
                nameField.c_str(), x, y, z);
}

const std::string kWaterPdb = "REMARK a water\n" + Atom(1, " OH2", 0.1, 0.2, 0.3) +
                              Atom(2, "H1  ", 1.0, 0.0, 0.0) + "TER\n" +
                              Atom(3, "  H2", -0.2, 0.9, 0.0) + "END\n";

std::vector<double> Coordinates(const CMolecule& m, int i) { return m.atom[i].xyz; }

// A water molecule as its topology leaves it, and a directory for its files.
class CoordinateFileTest : public testing::Test {
 protected:
  TempDir dir;
  CMolecule m = Water();
};

}  // namespace

TEST_F(CoordinateFileTest, PdbNamesAreMatchedWhateverTheirPadding) {
  testing::internal::CaptureStdout();
  m.ReadCoorPDB(dir.Write("w.pdb", kWaterPdb), 0, "main");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(Coordinates(m, 0), (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(Coordinates(m, 1), (std::vector<double>{1.0, 0.0, 0.0}));
  EXPECT_EQ(Coordinates(m, 2), (std::vector<double>{-0.2, 0.9, 0.0}));
  EXPECT_EQ(m.atom[2].rv.y, 0.9);
  EXPECT_EQ(m.ngeom, 1);
  EXPECT_EQ(m.xyz, (std::vector<double>{0.1, 0.2, 0.3, 1, 0, 0, -0.2, 0.9, 0}));
}

TEST_F(CoordinateFileTest, HetatmRecordsAreAtomsAndNamesKeepTheirCase) {
  std::string text = kWaterPdb;
  text.replace(text.find("ATOM  "), 6, "HETATM");
  m.ReadCoorPDB(dir.Write("w.pdb", text), 0, "main");
  EXPECT_EQ(Coordinates(m, 0)[2], 0.3);

  const std::string lower = Atom(1, " oh2", 0, 0, 0);
  const ProcessExit e = ExpectExit([&] { m.ReadCoorPDB(dir.Write("l.pdb", lower), 0, "main"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err atom was not found : oh2\n");
}

TEST_F(CoordinateFileTest, MissingAtomIsNamedWithTheFile) {
  const std::string path = dir.Write("w.pdb", Atom(1, " OH2", 0, 0, 0));
  const ProcessExit e = ExpectExit([&] { m.ReadCoorPDB(path, 0, "main"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "err no coordinates for atom : H1 in file : " + path + "\n");
}

TEST_F(CoordinateFileTest, ShortOrMalformedPdbRecordsEndTheRead) {
  const std::string good = Atom(1, " OH2", 0, 0, 0);
  const std::vector<std::string> bad = {
      "ATOM      1",                                             // ends before the name
      good.substr(0, 35),                                        // ends inside x, before y
      good.substr(0, good.size() - 1).replace(47, 6, "  abc "),  // z is not a number
  };
  for (const auto& line : bad) {
    const std::string path = dir.Write("bad.pdb", line + "\n");
    const ProcessExit e = ExpectExit([&] { m.ReadCoorPDB(path, 0, "main"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err invalid line in the pdb file in line : " + line + "\n");
  }
}

TEST_F(CoordinateFileTest, UnreadableFile) {
  const std::string path = (dir.path() / "none.pdb").string();
  for (auto read : {&CMolecule::ReadCoorPDB, &CMolecule::ReadCoorCARD, &CMolecule::ReadCoorXYZ}) {
    const ProcessExit e = ExpectExit([&] { (m.*read)(path, 0, "main"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err unable to open file : " + path + "\n");
  }
}

TEST_F(CoordinateFileTest, ComparisonTargetKeepsTheActiveCoordinates) {
  const CMolecule before = m;
  m.ReadCoorPDB(dir.Write("w.pdb", kWaterPdb), 0, "comp");
  EXPECT_EQ(m.atom[0].xyzcomp, (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(Coordinates(m, 0), Coordinates(before, 0));
  EXPECT_EQ(m.xyz, before.xyz);

  // Any other target checks the file but stores nothing.
  CMolecule other = Water();
  other.ReadCoorPDB(dir.Write("w.pdb", kWaterPdb), 0, "none");
  EXPECT_EQ(other.atom[0].xyzcomp, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(Coordinates(other, 0), Coordinates(before, 0));
}

TEST_F(CoordinateFileTest, GeometriesAreAddedOneAtATime) {
  const std::string path = dir.Write("w.pdb", kWaterPdb);
  testing::internal::CaptureStdout();
  m.ReadCoorPDB(path, 1, "main");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "$ additional geometry 2\n");
  EXPECT_EQ(m.ngeom, 2);
  ASSERT_EQ(m.xyz.size(), 18u);
  EXPECT_EQ(m.xyz[9], 0.1);
  EXPECT_EQ(m.QMEnergy, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(m.QMDipoleMoment.size(), 2u);
  EXPECT_EQ(Coordinates(m, 0)[0], 0.1);
  m.ActivateGeometry(0);
  EXPECT_EQ(Coordinates(m, 0)[0], 0.0);  // geometry 0 still holds the old coordinates

  // A geometry beyond the next free one is refused before anything changes.
  for (const int g : {3, -1}) {
    const ProcessExit e = ExpectExit([&] { m.ReadCoorPDB(path, g, "main"); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, Format("$ err geometry %i can not be stored: 2 geometries are set up, "
                                "the next one is 3\n",
                                g + 1));
  }
  EXPECT_EQ(m.ngeom, 2);
  EXPECT_EQ(Coordinates(m, 0)[0], 0.0);
}

TEST_F(CoordinateFileTest, PdbWriteAndReadRoundTrip) {
  m.atom[1].xyz = {1.2345, -20.5, 300.125};
  m.atom[0].chain = "A";
  m.atom[2].b = 1.5;
  const std::string path = (dir.path() / "out.pdb").string();
  m.WriteCoorPDB(path, "main");
  const std::string text = dir.Read("out.pdb");
  EXPECT_EQ(text,
            "ATOM      1  OH2 MOL A   1       0.000   0.000   0.000  1.00  0.00      MOL \n"
            "ATOM      2   H1 MOL     1       1.234 -20.500 300.125  1.00  0.00      MOL \n"
            "ATOM      3   H2 MOL     1      -0.240   0.927   0.000  1.00  1.50      MOL \n"
            "END\n");
  CMolecule back = Water();
  back.atom[1].xyz = {0, 0, 0};
  back.ReadCoorPDB(path, 0, "main");
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(back.atom[i].xyz[c], m.atom[i].xyz[c], 5e-4);
  }
}

TEST_F(CoordinateFileTest, PdbWriterTargets) {
  m.atom[0].xyzcomp = {5, 6, 7};
  m.WriteCoorPDB((dir.path() / "c.pdb").string(), "comp");
  EXPECT_NE(dir.Read("c.pdb").find("   5.000   6.000   7.000"), std::string::npos);
  m.WriteCoorPDB((dir.path() / "x.pdb").string(), "other");
  EXPECT_NE(dir.Read("x.pdb").find("-999.900-999.900-999.900"), std::string::npos);

  CMolecule empty;
  empty.WriteCoorPDB((dir.path() / "e.pdb").string(), "main");
  EXPECT_EQ(dir.Read("e.pdb"), "END\n");

  // Long names and segment identifiers are written whole.
  m.atom[0].name = "VERYLONGNAME";
  m.WriteCoorPDB((dir.path() / "l.pdb").string(), "main");
  EXPECT_NE(dir.Read("l.pdb").find("VERYLONGNAME MOL"), std::string::npos);

  const std::string bad = (dir.path() / "no" / "dir.pdb").string();
  const ProcessExit e = ExpectExit([&] { m.WriteCoorPDB(bad, "main"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + bad + "\n");
}

TEST_F(CoordinateFileTest, PrintedRecordsUseTheirOwnLayout) {
  m.natm = 1;
  testing::internal::CaptureStdout();
  m.PrintCoorPDB();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ATOM      1  OH2 MOL     1       0.000   0.000   0.000  1.00  0.00       MOL\n");
}

TEST_F(CoordinateFileTest, CopyFromCoordinateSets) {
  m.atom[2].xyzcomp = {1, 2, 3};
  std::vector<double> v(9, -1.0);
  m.CopyFromCoor(v, "main");
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 0.9572, 0, 0, -0.24, 0.927, 0}));
  m.CopyFromCoor(v, "comp");
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 0, 0, 0, 1, 2, 3}));
  std::vector<double> shortArray(8);
  EXPECT_THROW(m.CopyFromCoor(shortArray, "main"), std::length_error);
  EXPECT_THROW(m.CopyFromCoor(v, "other"), std::invalid_argument);
}

TEST_F(CoordinateFileTest, CardFilesAreReadByName) {
  const std::string card =
      "* water\n"
      "*\n"
      "    3\n"
      "    1    1 HOH  H2     1.00000   2.00000   3.00000 WAT  1      0.00000\n"
      "    2    1 HOH  OH2    4.00000   5.00000   6.00000 WAT  1      0.00000\n"
      "    3    1 HOH  H1     7.00000   8.00000   9.00000 WAT  1      0.00000";  // no final newline
  m.ReadCoorCARD(dir.Write("w.crd", card), 0, "main");
  EXPECT_EQ(Coordinates(m, 0), (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(Coordinates(m, 1), (std::vector<double>{7, 8, 9}));
  EXPECT_EQ(Coordinates(m, 2), (std::vector<double>{1, 2, 3}));
  m.ReadCoorCARD(dir.Write("w.crd", card + "\n\n"), 0, "comp");  // blank lines are skipped
  EXPECT_EQ(m.atom[2].xyzcomp, (std::vector<double>{1, 2, 3}));
}

TEST_F(CoordinateFileTest, XyzFilesAreReadByPosition) {
  const std::string xyz = "3\ncomment\nO 1 2 3\nH 4 5 6\nH 7 8 9\n";
  testing::internal::CaptureStdout();
  m.ReadCoorXYZ(dir.Write("w.xyz", xyz), 1, "main");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "$ additional geometry 2\n");
  EXPECT_EQ(Coordinates(m, 2), (std::vector<double>{7, 8, 9}));
  EXPECT_EQ(m.ngeom, 2);
}

TEST_F(CoordinateFileTest, BrokenCardAndXyzFilesEndTheProcess) {
  using Reader = void (CMolecule::*)(const std::string&, int, const std::string&);
  const Reader card = &CMolecule::ReadCoorCARD, xyz = &CMolecule::ReadCoorXYZ;
  const std::string cardLine = "    1    1 HOH  OH2    4.00000   x   6.00000";
  const std::string path = (dir.path() / "broken").string();
  const struct {
    Reader read;
    std::string text, message;
  } cases[] = {
      // *TITLE is not a title line: it is taken as the count line, and the
      // real count line is read as an atom line whose fourth word does not exist.
      {card, "*TITLE\n    3  EXT\n    1    1 HOH  OH2    4.00000   5.00000   6.00000\n",
       "$ err atom was not found : \n"},
      {card, "* t\n 3\n" + cardLine + "\n",
       "$ err invalid line in the charmm coord file in line : " + cardLine + "\n"},
      {xyz, "2 atoms\nc\nO 0 0 0\nH 1 0 0\n",
       "$ err invalid line in the xyz file in line : 2 atoms\n"},
      {xyz, "three\nc\n", "$ err invalid line in the xyz file in line : three\n"},
      {xyz, "3\nc\nO 0 0 0\nH 1 y 0\n", "$ err invalid line in the xyz file in line : H 1 y 0\n"},
      {xyz, "3\nc\nO 0 0 0\nH 1 0 0\n", "err no coordinates for atom : H2 in file : " + path + "\n"},
  };
  for (const auto& c : cases) {
    dir.Write("broken", c.text);
    const ProcessExit e = ExpectExit([&] { (m.*c.read)(path, 0, "main"); });
    EXPECT_EQ(e.status, 1) << c.text;
    EXPECT_EQ(e.message, c.message);
  }
}
