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

const char* kEtherHead =
    "%NoSave\n"
    "#HF/6-31G* Opt=Z-matrix NoSymm\n"
    "\n"
    "water interaction with atom O\n"
    "\n"
    "    0 1\n"
    "  8 -1   0.00000   0.00000   0.00000\n"
    "  6 -1   1.43000   0.00000   0.00000\n"
    "  6 -1  -0.48909   1.34378   0.00000\n";

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
  // The same on a normal output with the given number of water centres.
  std::string RunOnOutput(WaterTIP3P& w, const CMolecule& m, double dist, double angle, bool positive,
                          int waterCentres) {
    return RunOn(ProbeOutput(1.95, -230.5, ComplexCentres(m, waterCentres)), w, m, dist, angle, positive);
  }
};

TEST_F(ProbeDeck, NegativeDeckForAnAtomWithTwoBondsAndItsResults) {
  const CMolecule m = Ether();
  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  const std::string deck = RunOnOutput(w, m, 2.2, 0.0, false, 5);
  EXPECT_EQ(deck, std::string(kEtherHead) +
                      "  H1    1 RX      2 AH1     3 DH1\n"
                      "   X    4 RDUM    1 ADUM    2 DDUM\n"
                      "   X    5 RDUM    4 ADUM    1 DDUM\n"
                      " OH2    4 ROH     5 AOH2    6 DOH2\n"
                      "  H2    7 ROH     4 AHOH    5 DH2\n"
                      "Variables:\n"
                      "RX    2.20000\n"
                      "Constants:\n"
                      "RDUM    1.00000\n"
                      "ROH     0.95720\n"
                      "AH1   125.00011\n"
                      "ADUM   90.00000\n"
                      "AOH2   90.00000\n"
                      "AHOH  104.52000\n"
                      "DH1   180.00000\n"
                      "DDUM  180.00000\n"
                      "DOH2    0.00000\n"
                      "DH2     0.00000\n"
                      "\n\n");
  EXPECT_DOUBLE_EQ(w.energy, -230.5);
  EXPECT_DOUBLE_EQ(w.QMInterDist, 1.95);
  // Centres in deck order: H1, DUM1, DUM2, OH2, H2 at x = 5, 6, 7, 8, 9.
  EXPECT_DOUBLE_EQ(w.atom[1].xyz[0], 5.0);
  EXPECT_DOUBLE_EQ(w.atom[0].xyz[0], 8.0);
  EXPECT_DOUBLE_EQ(w.atom[2].xyz[0], 9.0);
  EXPECT_DOUBLE_EQ(w.atom[2].rv.y, 2.0);
  const std::string pdb = dir.Read("water1/O/O.0.0.pdb");
  EXPECT_TRUE(Contains(pdb, "DUM2"));
  EXPECT_TRUE(Contains(pdb, "END"));
}

TEST_F(ProbeDeck, PositiveDeckForAnAtomWithTwoBonds) {
  const CMolecule m = Ether();
  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  Gaussian::options.nproc = 4;
  EXPECT_EQ(RunOnOutput(w, m, 2.5, 60.0, true, 3),
            "%NPROC=4\n" + std::string(kEtherHead) +
                " OH2    1 RX     2 AOH2    3 DOH2\n"
                "  H1    4 ROH    1 AHOA    2 DHO1\n"
                "  H2    4 ROH    1 AHOA    2 DHO2\n"
                "Variables:\n"
                "RX      2.50000\n"
                "Constants:\n"
                "ROH     0.95720\n"
                "AOH2  125.00011\n"
                "AHOA  127.74000\n"
                "DOH2  180.00000\n"
                "DHO1   60.00000\n"
                "DHO2 -120.00000\n"
                "\n\n\n\n");
}

TEST_F(ProbeDeck, PositiveDeckForATerminalHydrogenUsesDummyCentres) {
  const CMolecule m = BondedMethanol();
  WaterTIP3P w = WaterOn(m, 5, 1, 0);
  const std::string deck = RunOnOutput(w, m, 2.2, 90.0, true, 5);
  EXPECT_EQ(deck,
            "%NoSave\n#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater interaction with atom HO\n\n    0 1\n"
            "  6 -1   0.00000   0.00000   0.00000\n"
            "  8 -1   1.43000   0.00000   0.00000\n"
            "  1 -1  -0.36000   1.03000   0.00000\n"
            "  1 -1  -0.36000  -0.51000   0.89000\n"
            "  1 -1  -0.36000  -0.51000  -0.89000\n"
            "  1 -1   1.75000   0.91000   0.00000\n"
            "X      6 RDUM    2 ADUM    1 DOH\n"
            "X      7 RDUM    6 ADUM    2 DD1\n"
            "OH2    6 RX      7 ADUM    8 DD2\n"
            "H1     9 ROH     6 AHOA    7 DH1\n"
            "H2     9 ROH     6 AHOA    7 DH2\n"
            "Variables:\n"
            "RX      2.20000\n"
            "Constants:\n"
            "RDUM    1.00000\n"
            "ROH     0.95720\n"
            "ADUM   90.00000\n"
            "AHOA  127.74000\n"
            "DOH   180.00000\n"
            "DD1     0.00000\n"
            "DD2   180.00000\n"
            "DH1    90.00000\n"
            "DH2   -90.00000\n"
            "\n\n\n\n");
}

TEST_F(ProbeDeck, NegativeDeckForATerminalOxygenHasSixWaterCentres) {
  CMolecule m = Formaldehyde();
  m.netcharge = -1.0;
  m.spinm = 2;
  WaterTIP3P w = WaterOn(m, 1, 0, 2);
  EXPECT_EQ(RunOnOutput(w, m, 3.1, 240.0, false, 6),
            "%NoSave\n#HF/6-31G* Opt=Z-matrix NoSymm\n\nwater interaction with atom O\n\n"
            "   -1 2\n"
            "  6 -1   0.00000   0.00000   0.00000\n"
            "  8 -1   1.21000   0.00000   0.00000\n"
            "  1 -1  -0.55000   0.94000   0.00000\n"
            "  1 -1  -0.55000  -0.94000   0.00000\n"
            "X      2 RDUM    1 ADUM    3 DDUM\n"
            "X      5 RDUM    2 ADUM    1 DDUM\n"
            "H1     2 RX      5 ADUM    6 DH1\n"
            "X      7 RDUM    2 ADUM    5 DDUM\n"
            "OH2    7 ROH     8 ADUM    2 DOH2\n"
            "H2     9 ROH     7 AHOH    5 DH2\n"
            "Variables:\n"
            "RX    3.10000\n"
            "Constants:      \n"
            "RDUM    1.00000\n"
            "ROH     0.95720\n"
            "ADUM   90.00000\n"
            "AHOH  104.52000\n"
            "DDUM    0.00000\n"
            "DH1   180.00000\n"
            "DOH2  180.00000\n"
            "DH2   240.00000\n"
            "\n\n");
}

TEST_F(ProbeDeck, AtomWithThreeBondsIsProbedAlongThePlaneNormal) {
  CMolecule m = Formaldehyde();
  for (const int i : {1, 2, 3}) m.atom[i].xyz[2] = -0.1;
  m.fill_rv();
  WaterTIP3P w = WaterOn(m, 0, 1, 2, 3);
  const std::string deck = RunOnOutput(w, m, 2.2, 0.0, true, 3);
  // Reference values worked out independently: the water on the normal, on the side of the
  // carbon, makes the dihedral water-C-O-H of -98.77 degrees.
  EXPECT_TRUE(Contains(deck, "AOH2   94.72445\n")) << deck;
  EXPECT_TRUE(Contains(deck, "DOH2  -98.76670\n")) << deck;
}

TEST_F(ProbeDeck, UnusableOutputsEndTheProcess) {
  const CMolecule m = Ether();
  const std::string out = fpath + "/water1/O/O.0.0.out";
  const struct {
    const char* name;
    bool positive;
    std::string output, message, printed;
  } rows[] = {
      {"error termination, positive", true, ProbeOutput(1.95, -230.5, ComplexCentres(m, 3), true), "",
       "$ Error in the gaussian output " + out + "\n"},
      {"error termination, negative", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 5), true), "",
       "$ Error in the gaussian output " + out + "\n"},
      {"no energy", false, " ! RX   2.1  -DE/DX = 0.0 !\n", "$ err in file : " + out + "\n", ""},
      {"too few centres", false, ProbeOutput(1.95, -230.5, ComplexCentres(m, 4)), "$ err in file : " + out + "\n",
       ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WaterTIP3P w = WaterOn(m, 0, 1, 2);
    const ProcessExit e = ExpectExit([&] { RunOn(row.output, w, m, 2.2, 0.0, row.positive); });
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.message, row.message);
    if (!row.printed.empty()) {
      EXPECT_EQ(printed.substr(printed.find("$ Error")), row.printed);
    }
    EXPECT_DOUBLE_EQ(w.QMInterDist, 0.0);
  }
}

TEST_F(ProbeDeck, DecksThatCannotBeWrittenEndTheProcess) {
  const CMolecule methanol = BondedMethanol();
  WaterTIP3P onCarbon = WaterOn(methanol, 0, 1, 2);
  ProcessExit e = ExpectExit([&] { onCarbon.QMProbeNegativeAtom(methanol, 2.2, 0.0); });
  EXPECT_EQ(e.status, 1);
  EXPECT_TRUE(Contains(e.message, "atom C has 4 covalent bonds")) << e.message;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "water1" / "C"));

  const CMolecule m = Ether();
  WaterTIP3P w = WaterOn(m, 0, 1, 2);
  std::filesystem::create_directories(dir.path() / "water1" / "O" / "O.0.0.inp");  // in the deck's way
  e = ExpectExit([&] { Printed([&] { w.QMProbePositiveAtom(m, 2.2, 0.0); }); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err unable to open file : " + fpath + "/water1/O/O.0.0.inp\n");
}

}  // namespace
