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

// An ether-like oxygen with its two carbons 110 degrees apart.
CMolecule Ether() {
  CMolecule m = MakeMolecule({{"O", 8, 0, 0, 0}, {"C1", 6, 1.43, 0, 0}, {"C2", 6, -0.48909, 1.34378, 0}});
  Bond(m, 0, 1);
  Bond(m, 0, 2);
  return m;
}

WaterTIP3P WaterOn(const CMolecule& m, int a1, int a2, int a3, int a4 = -1) {
  WaterTIP3P w;
  w.aid1 = a1;
  w.aid2 = a2;
  w.aid3 = a3;
  w.aid4 = a4;
  w.atm1 = m.atom[a1].name;
  w.atm2 = m.atom[a2].name;
  w.atm3 = m.atom[a3].name;
  return w;
}

class ProbeDeck : public ::testing::Test {
 protected:
  ChargeStateGuard guard;
  TempDir dir;
  std::string printed;
  void SetUp() override {
    fpath = dir.path().string() + "/";
    Gaussian::options = Gaussian::GaussianJob();
  }
  // Runs the probe on the given output text, put where the probe looks for
  // it, and returns the deck.
  std::string RunOn(const std::string& output, WaterTIP3P& w, const CMolecule& m, double dist, double angle,
                    bool positive) {
    const std::string stem = "water1/" + w.atm1 + "/" + w.atm1 + "." + floattostr(angle, 1);
    std::filesystem::create_directories(dir.path() / "water1" / w.atm1);
    dir.Write(stem + ".out", output + kNormalTermination);
    testing::internal::CaptureStdout();
    try {
      positive ? w.QMProbePositiveAtom(m, dist, angle) : w.QMProbeNegativeAtom(m, dist, angle);
    } catch (...) {
      printed = testing::internal::GetCapturedStdout();
      throw;
    }
    printed = testing::internal::GetCapturedStdout();
    return dir.Read(stem + ".inp");
  }
};

// One deck per frame: two bonds (both signs), a terminal hydrogen with
// dummy centres, a terminal oxygen of an anion, an atom with three bonds
// (probed along the normal of their plane).
TEST_F(ProbeDeck, OneDeckPerKindOfProbedAtom) {
  CMolecule anion = Formaldehyde();
  anion.netcharge = -1.0;
  anion.spinm = 2;
  CMolecule pyramid = Formaldehyde();
  for (const int i : {1, 2, 3}) pyramid.atom[i].xyz[2] = -0.1;
  pyramid.fill_rv();
  const struct {
    const char* name;
    CMolecule m;
    std::vector<int> aid;
    double dist, angle;
    bool positive;
    int waterCentres, nproc;
  } rows[] = {
      {"negative, two bonds", Ether(), {0, 1, 2}, 2.2, 0.0, false, 5, 1},
      {"positive, two bonds", Ether(), {0, 1, 2}, 2.5, 60.0, true, 3, 4},
      {"positive, terminal hydrogen", BondedMethanol(), {5, 1, 0}, 2.2, 90.0, true, 5, 1},
      {"negative, terminal oxygen of an anion", anion, {1, 0, 2}, 3.1, 240.0, false, 6, 1},
      {"positive, three bonds", pyramid, {0, 1, 2, 3}, 2.2, 0.0, true, 3, 1},
  };
  std::string decks;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Gaussian::options.nproc = row.nproc;
    WaterTIP3P w = WaterOn(row.m, row.aid[0], row.aid[1], row.aid[2], row.aid.size() > 3 ? row.aid[3] : -1);
    const std::string output = ProbeOutput(1.95, -230.5, ComplexCentres(row.m, row.waterCentres));
    decks += std::string("== ") + row.name + "\n" + RunOn(output, w, row.m, row.dist, row.angle, row.positive);
    EXPECT_DOUBLE_EQ(w.energy, -230.5);
    EXPECT_DOUBLE_EQ(w.QMInterDist, 1.95);
  }
  // For the three bonds, worked out independently: the water on the normal,
  // on the side of the carbon, makes the dihedral water-C-O-H of -98.77 degrees.
  EXPECT_TRUE(Contains(decks, "AOH2   94.72445\nAHOA  127.74000\nDOH2  -98.76670\n"));
  ExpectSameAsReference(decks, "charge/probe_decks.txt");
}

TEST_F(ProbeDeck, NegativeProbeReadsTheWaterCentresInDeckOrder) {
  const CMolecule m = Ether();
  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  RunOn(ProbeOutput(1.95, -230.5, ComplexCentres(m, 5)), w, m, 2.2, 0.0, false);
  // Centres in deck order: H1, DUM1, DUM2, OH2, H2 at x = 5, 6, 7, 8, 9.
  EXPECT_DOUBLE_EQ(w.atom[1].xyz[0], 5.0);
  EXPECT_DOUBLE_EQ(w.atom[0].xyz[0], 8.0);
  EXPECT_DOUBLE_EQ(w.atom[2].xyz[0], 9.0);
  EXPECT_DOUBLE_EQ(w.atom[2].rv.y, 2.0);
  const std::string pdb = dir.Read("water1/O/O.0.0.pdb");
  EXPECT_TRUE(Contains(pdb, "DUM2"));
  EXPECT_TRUE(Contains(pdb, "END"));
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
  const struct {
    const char* name;
    bool positive;
    std::string output, message;
  } rows[] = {
      {"error termination, positive", true, ProbeOutput(1.95, -230.5, ComplexCentres(m, 3), true),
       "$ err gaussian output " + out + kFailed},
      {"error termination, negative", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 5), true),
       "$ err gaussian output " + out + kFailed},
      {"no energy", false, " ! RX   2.1  -DE/DX = 0.0 !\n", "$ err gaussian output " + out + Lacks(8)},
      {"too few centres", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 4)), "$ err gaussian output " + out + Lacks(8)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(dir.path() / "water1" / "O" / "O.0.0.inp");  // each row its own deck
    WaterTIP3P w = WaterOn(m, 0, 1, 2);
    const ProcessExit e = ExpectExit([&] { RunOn(row.output, w, m, 2.2, 0.0, row.positive); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, row.message);
    EXPECT_DOUBLE_EQ(w.QMInterDist, 0.0);
  }

  const CMolecule methanol = BondedMethanol();
  WaterTIP3P onCarbon = WaterOn(methanol, 0, 1, 2);
  ProcessExit e = ExpectExit([&] { onCarbon.QMProbeNegativeAtom(methanol, 2.2, 0.0); });
  EXPECT_EQ(e.status, 1);
  EXPECT_TRUE(Contains(e.message, "atom C has 4 covalent bonds")) << e.message;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "water1" / "C"));

  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  std::filesystem::remove(dir.path() / "water1" / "O" / "O.0.0.inp");
  std::filesystem::create_directories(dir.path() / "water1" / "O" / "O.0.0.inp");  // in the deck's way
  e = ExpectExit([&] { Printed([&] { w.QMProbePositiveAtom(m, 2.2, 0.0); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + fpath + "/water1/O/O.0.0.inp\n");
}

}  // namespace
