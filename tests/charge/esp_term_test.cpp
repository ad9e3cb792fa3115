// The ESP misfit form against the sum over the fit points that it replaces.
#include "charge/esp_term.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include "charge/charge_support.h"
#include "charge/objective.h"

namespace {

using namespace testing_support;

// The root-mean-square misfit of the charges of m, its mean removed, point by point.
double DirectSum(const CMolecule& m) {
  const std::vector<double>&qm = m.ESP.QMESPval[0], &d = m.ESP.distESPPoint[0];
  std::vector<double> delta(qm.size());
  for (std::size_t p = 0; p < qm.size(); ++p) {
    for (int k = 0; k < m.natm; ++k) delta[p] += 332.0716 * m.atom[k].q / d[p * m.natm + k];
    delta[p] -= qm[p];
  }
  double mean = 0.0, sum = 0.0;
  for (const double x : delta) mean += x / qm.size();
  for (const double x : delta) sum += (x - mean) * (x - mean);
  return std::sqrt(sum / qm.size());
}

// 300 fit points 1.4 to 3 A from the nearest atom of m and a QM potential
// that no point charges reproduce: charges, a short-range part and an offset.
void AddEspPoints(CMolecule& m, std::mt19937& random) {
  std::uniform_real_distribution<double> box(-4.0, 4.0);
  while (m.ESP.val.size() < 300) {
    const double p[3] = {box(random), box(random), box(random)};
    std::vector<double> d;
    for (const CMolecule::CAtom& a : m.atom) d.push_back(std::hypot(p[0] - a.xyz[0], p[1] - a.xyz[1], p[2] - a.xyz[2]));
    const double nearest = *std::min_element(d.begin(), d.end());
    if (nearest < 1.4 || nearest > 3.0) continue;
    double v = 7.0 + 40.0 * std::exp(-nearest);
    for (int k = 0; k < m.natm; ++k) v += 332.0716 * 1.3 * m.atom[k].q / d[k];
    m.ESP.val.push_back(v);
    m.ESP.dist.insert(m.ESP.dist.end(), d.begin(), d.end());
  }
  m.ESP.Finalize(0);
}

TEST(EspTerm, MisfitFormGivesTheSumOverThePointsForRandomCharges) {
  ChargeStateGuard guard;
  std::mt19937 random(15);
  mol1 = BondedMethanol();
  AddEspPoints(mol1, random);
  OptimizeCharge::PrepareEspFit(mol1);
  ASSERT_EQ(mol1.ESP.misfit.size(), 1u);
  EXPECT_EQ(mol1.ESP.misfit[0].npt, 300u);
  std::uniform_real_distribution<double> charge(-1.0, 1.0);
  for (int trial = 0; trial < 5; ++trial) {
    for (CMolecule::CAtom& a : mol1.atom) a.q = trial == 0 ? a.q : charge(random);
    EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(mol1, 0) / DirectSum(mol1), 1.0, 1e-9) << trial;
    EXPECT_NEAR(OptimizeCharge::EspMisfit(OptimizeCharge::EspMisfitForm(mol1, 0), mol1) / DirectSum(mol1), 1.0, 1e-9);
  }
  // New points for the geometry drop its form; the error follows the points.
  AddEspPoints(mol1, random);
  EXPECT_EQ(mol1.ESP.misfit[0].npt, 0u);
  EXPECT_NEAR(OptimizeCharge::GetRMSESPfit(mol1, 0) / DirectSum(mol1), 1.0, 1e-9);
  const CMolecule::CESP::CMisfitForm form = OptimizeCharge::EspMisfitForm(mol1, 0);
  mol1 = Formaldehyde();
  EXPECT_THAT([&] { OptimizeCharge::EspMisfit(form, mol1); },
              testing::ThrowsMessage<std::invalid_argument>("the ESP misfit form belongs to another molecule"));
}

}  // namespace
