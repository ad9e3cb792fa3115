// Water probes: placement around probed atoms and their failures. The
// methanol runs of methanol_example_test.cpp place, move and compute the
// probes of a hydroxyl group.
#include "charge/water.h"

#include <gtest/gtest.h>

#include "charge/charge_support.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"

namespace {

using namespace testing_support;

void Probe(const CMolecule& m, const std::string& name, int waters) {
  COptCharge::CProbeAtom& p = OptCharge.GetNextProbedAtom();
  p.atom.push_back(name);
  p.iatom.push_back(m.AtomIndex(name));
  p.nWaters = waters;
}

TEST(WaterSetUp, WatersTurnAroundTheProbedAtomInItsFrame) {
  // Negative (or neutral) atoms get a full turn with H1 facing them, positive
  // ones a half turn with the oxygen facing them. The frame is the lowest
  // neighbour, then the next one, or else a neighbour of the neighbour.
  CMolecule neutralOxygen = BondedMethanol();
  neutralOxygen.atom[1].q = 0.0;
  CMolecule positiveCarbon = Formaldehyde();
  positiveCarbon.atom[0].q = 0.5;
  const struct { CMolecule m; const char* atom; std::vector<double> angles; int facing, aid2, aid3, aid4; } rows[] = {{neutralOxygen, "O", {0.0, 180.0}, 1, 0, 5, -1}, {positiveCarbon, "C", {0.0}, 0, 1, 2, 3}};
  for (const auto& row : rows) {
    ChargeStateGuard guard;
    Probe(row.m, row.atom, static_cast<int>(row.angles.size()));
    Printed([&] { OptimizeCharge::SetUpWaters(row.m); });
    ASSERT_EQ(h2o.size(), row.angles.size());
    for (std::size_t k = 0; k < h2o.size(); ++k) {
      const WaterTIP3P& w = h2o[k];
      EXPECT_DOUBLE_EQ(w.h2oangle, row.angles[k]);
      EXPECT_EQ(w.iWaterProbeAtom, row.facing);
      EXPECT_EQ(std::vector<int>({w.aid1, w.aid2, w.aid3, w.aid4}),
                std::vector<int>({row.m.AtomIndex(row.atom), row.aid2, row.aid3, row.aid4}));
      EXPECT_EQ(w.atm2 + " " + w.atm3, row.m.atom[row.aid2].name + " " + row.m.atom[row.aid3].name);
    }
  }
}

TEST(WaterSetUp, AtomsWithoutAUsableFrameOrDistanceEndTheProcess) {
  CMolecule hcl = MakeMolecule({{"CL", 17, 0, 0, 0}, {"H", 1, 1.27, 0, 0}});
  Bond(hcl, 0, 1);
  CMolecule missingBond = Formaldehyde();  // three bonds counted, two recorded
  missingBond.atom[0].bond[3] = missingBond.atom[3].bond[0] = 0;
  const struct { CMolecule m; const char *atom, *message; } rows[] = {
      {BondedMethanol(), "C",
       "$ err atom C has 4 covalent bonds: a water probe can only be placed on an atom with at most three bonds\n"},
      {hcl, "H", "$ err atom does not participate in any angle H\n forgot to define bonds in the topology?\n"},
      {MakeMolecule({{"NA", 11, 0, 0, 0}}), "NA",
       "$ err atom NAdoes not have covalent bonds with any atom\n forgot to define bonds in the topology?\n"},
      {missingBond, "C", "$ err cannot find the third bonded atom for : C\n"},
  };
  for (const auto& row : rows) {
    ChargeStateGuard guard;
    Probe(row.m, row.atom, 1);
    const ProcessExit e = ExpectExit([&] { Printed([&] { OptimizeCharge::SetUpWaters(row.m); }); });
    EXPECT_EQ(e.status, 1) << row.atom;
    EXPECT_EQ(e.message, row.message);
    EXPECT_EQ(h2o.size(), 0u);
  }
  // Neither the requested nor the current distance of a moved water may be zero.
  const CMolecule s = BondedMethanol();
  WaterTIP3P w;
  w.aid1 = w.iWaterProbeAtom = 1;
  w.atom[1].xyz = {1.43, 3.0, 0.0};
  for (const double to : {0.0, 2.0}) {
    w.fill_rv();
    const ProcessExit e = ExpectExit([&] { w.h2otrans(s, to); });
    EXPECT_EQ(e.status, 1) << to;
    EXPECT_EQ(e.message, "$ err water-solute distance became too small\n");
    w.atom[1].xyz = s.atom[1].xyz;
  }
}

}  // namespace
