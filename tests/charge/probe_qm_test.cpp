// The Gaussian Z-matrix decks of the water probes and the reading of their outputs.
#include "charge/probe_qm.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "charge/charge_support.h"
#include "io.h"
#include "support/gaussian_outputs.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/reference_file.h"
#include "support/run.h"

namespace {

using namespace testing_support;

// Text of a Gaussian probe output: the optimised RX, the final SCF energy and
// the Z-matrix orientation table of the given centres (x, y, z each).
std::string ProbeOutput(double rx, double energy, const std::vector<double>& centres, bool errorTermination = false) {
  std::string rows;
  for (std::size_t i = 0; i < centres.size() / 3; ++i)
    rows += Format("%7d %10d %11d %15.6f %11.6f %11.6f\n", int(i) + 1, 1, 0, centres[3 * i], centres[3 * i + 1],
                   centres[3 * i + 2]);
  return " Entering Gaussian System\n" + OrientationTable("Z-Matrix", rows) + ScfDone(Format("%.9f", energy)) +
         Format(" ! RX            %.4f         -DE/DX =    0.0                 !\n", rx) +
         (errorTermination ? " Error termination via Lnk1e in l101.exe\n" : "") + kNormalTermination;
}

// Centres of a probe complex: the solute's atoms followed by n water centres
// at x = 5, 6, ... beyond the solute.
std::vector<double> ComplexCentres(const CMolecule& solute, int n) {
  std::vector<double> c;
  for (const CMolecule::CAtom& a : solute.atom) c.insert(c.end(), a.xyz.begin(), a.xyz.end());
  for (int k = 0; k < n; ++k) c.insert(c.end(), {5.0 + k, 0.5 * k, -0.25 * k});
  return c;
}

// An ether-like oxygen with its two carbons 110 degrees apart.
CMolecule Ether() {
  CMolecule m = MakeMolecule({{"O", 8, 0, 0, 0}, {"C1", 6, 1.43, 0, 0}, {"C2", 6, -0.48909, 1.34378, 0}});
  Bond(m, 0, 1);
  Bond(m, 0, 2);
  return m;
}

WaterTIP3P WaterOn(const CMolecule& m, int a1, int a2, int a3, int a4 = -1) {
  WaterTIP3P w;
  w.aid1 = a1, w.aid2 = a2, w.aid3 = a3, w.aid4 = a4;
  w.atm1 = m.atom[a1].name, w.atm2 = m.atom[a2].name, w.atm3 = m.atom[a3].name;
  return w;
}

class ProbeDeck : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    Gaussian::options = Gaussian::GaussianJob();
  }
  // Runs the probe on the given output text, put where the probe looks for
  // it, and returns the deck.
  std::string RunOn(const std::string& output, WaterTIP3P& w, const CMolecule& m, double dist, double angle,
                    bool positive) {
    const std::string stem = "water1/" + w.atm1 + "/" + w.atm1 + "." + floattostr(angle, 1);
    dir.Write(stem + ".out", output + kNormalTermination);
    Printed([&] { positive ? w.QMProbePositiveAtom(m, dist, angle) : w.QMProbeNegativeAtom(m, dist, angle); });
    return dir.Read(stem + ".inp");
  }
};

// One deck per frame the methanol runs of methanol_example_test.cpp do not
// reach: two bonds of a positive atom, a terminal oxygen of an anion, an atom
// with three bonds (probed along the normal of their plane).
TEST_F(ProbeDeck, OneDeckPerKindOfProbedAtom) {
  CMolecule anion = Formaldehyde();
  anion.netcharge = -1.0;
  anion.spinm = 2;
  CMolecule pyramid = Formaldehyde();
  for (const int i : {1, 2, 3}) pyramid.atom[i].xyz[2] = -0.1;
  pyramid.fill_rv();
  const struct { const char* name; CMolecule m; std::vector<int> aid; double dist, angle; bool positive; int centres, nproc; } rows[] = {
      {"positive, two bonds", Ether(), {0, 1, 2}, 2.5, 60.0, true, 3, 4},
      {"negative, terminal oxygen of an anion", anion, {1, 0, 2}, 3.1, 240.0, false, 6, 1},
      {"positive, three bonds", pyramid, {0, 1, 2, 3}, 2.2, 0.0, true, 3, 1},
  };
  std::string decks;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Gaussian::options.nproc = row.nproc;
    WaterTIP3P w = WaterOn(row.m, row.aid[0], row.aid[1], row.aid[2], row.aid.size() > 3 ? row.aid[3] : -1);
    const std::string output = ProbeOutput(1.95, -230.5, ComplexCentres(row.m, row.centres));
    decks += std::string("== ") + row.name + "\n" + RunOn(output, w, row.m, row.dist, row.angle, row.positive);
    EXPECT_DOUBLE_EQ(w.energy, -230.5);
    EXPECT_DOUBLE_EQ(w.QMInterDist, 1.95);
  }
  // For the three bonds, worked out independently: the water on the normal,
  // on the side of the carbon, makes the dihedral water-C-O-H of -98.77 degrees.
  EXPECT_TRUE(Contains(decks, "AOH2   94.72445\nAHOA  127.74000\nDOH2  -98.76670\n"));
  ExpectSameAsReference(decks, "charge/probe_decks.txt");
}

TEST_F(ProbeDeck, UnusableOutputsAndUnwritableDecksEndTheProcess) {
  const CMolecule m = Ether();
  const std::string out = fpath + "/water1/O/O.0.0.out";
  const std::string kFailed =
      " ends in an error termination: the job failed; read the end of the file, fix the cause, "
      "remove the file and run the script again\n";
  const auto Lacks = [](int centres) {
    return Format(" lacks the energy, the distance RX or the Z-matrix orientation of its %d centres: "
                  "inspect it, remove it and run the script again\n", centres);
  };
  const struct { const char* name; bool positive; std::string output, message; } rows[] = {
      {"error termination, positive", true, ProbeOutput(1.95, -230.5, ComplexCentres(m, 3), true), kFailed},
      {"error termination, negative", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 5), true), kFailed},
      {"no energy", false, " ! RX   2.1  -DE/DX = 0.0 !\n", Lacks(8)},
      {"too few centres", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 4)), Lacks(8)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(dir.path() / "water1" / "O" / "O.0.0.inp");  // each row its own deck
    WaterTIP3P w = WaterOn(m, 0, 1, 2);
    const ProcessExit e = ExpectExit([&] { RunOn(row.output, w, m, 2.2, 0.0, row.positive); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, "$ err gaussian output " + out + row.message);
    EXPECT_DOUBLE_EQ(w.QMInterDist, 0.0);
  }

  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  std::filesystem::remove(dir.path() / "water1" / "O" / "O.0.0.inp");
  std::filesystem::create_directories(dir.path() / "water1" / "O" / "O.0.0.inp");  // in the deck's way
  const ProcessExit e = ExpectExit([&] { Printed([&] { w.QMProbePositiveAtom(m, 2.2, 0.0); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + fpath + "/water1/O/O.0.0.inp\n");
}

}  // namespace
