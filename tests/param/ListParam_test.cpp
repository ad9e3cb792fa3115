// The entries of the bonded parameter table that a molecule needs.
#include <gtest/gtest.h>

#include <cmath>

#include "param/molecule_fixture.h"
#include "param/param.h"

using testing_support::TypedMethanol;

namespace {

std::vector<int> Fids(const auto& terms) {
  std::vector<int> fids;
  for (const auto& t : terms) fids.push_back(t.fid);
  return fids;
}

TEST(CreateListParam, SymmetricTermsShareAnEntryMadeFromTheFirstTerm) {
  CMolecule m = TypedMethanol();
  Param p;
  m.CreateListParam(p);
  EXPECT_EQ(p.nbonds, 3);
  EXPECT_EQ(Fids(m.bond), (std::vector<int>{0, 1, 0, 0, 2}));
  EXPECT_EQ(p.nangles, 3);
  EXPECT_EQ(Fids(m.angle), (std::vector<int>{0, 1, 1, 2, 0, 0, 1}));
  EXPECT_EQ(p.ndihe, 1);
  EXPECT_EQ(Fids(m.dihedral), (std::vector<int>{0, 0, 0}));

  const auto& b = p.bond[0];
  EXPECT_EQ(b.i, 0);
  EXPECT_EQ(b.j, 1);
  EXPECT_EQ(b.name1, "H1");
  EXPECT_EQ(b.name2, "C");
  EXPECT_EQ(b.atp1, "HGA3");
  EXPECT_EQ(b.atp2, "CG331");
  EXPECT_DOUBLE_EQ(b.force, 200.0);
  EXPECT_DOUBLE_EQ(b.rmin, 1.09);
  EXPECT_DOUBLE_EQ(b.ideal, 1.09);
  EXPECT_DOUBLE_EQ(p.bond[2].rmin, 0.96);

  const auto& a = p.angle[0];
  EXPECT_EQ(a.name3, "O");
  EXPECT_DOUBLE_EQ(a.force, 50.0);
  EXPECT_NEAR(a.amin, 90.0, 1e-4);
  EXPECT_DOUBLE_EQ(a.ideal, a.amin);

  const auto& d = p.dihe[0];
  EXPECT_EQ(d.atp1, "HGA3");
  EXPECT_EQ(d.atp4, "HGP1");
  EXPECT_EQ(d.name4, "HO");
  EXPECT_NEAR(std::fabs(d.dmin), 90.0, 1e-4);
}

TEST(CreateListParam, ListingAgainResetsValuesAndKeepsTheOtherFields) {
  CMolecule m = TypedMethanol();
  m.impr.emplace_back(1, 0, 2, 3);
  m.impr.emplace_back(3, 2, 0, 1);  // the same types reversed
  m.impr.emplace_back(2, 1, 0, 5);
  Param p;
  m.CreateListParam(p);
  EXPECT_EQ(p.nimpr, 2);
  EXPECT_EQ(Fids(m.impr), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(p.impr[1].atp4, "HGP1");

  p.bond[0].fOpt = 1;
  p.bond[0].ifread = true;
  p.bond[0].comment = "kept";
  p.dihe[0].NonZero[2] = 1;
  p.dihe[0].ifReadHarm[2] = true;
  p.impr[0].force = 7.0;
  m.CreateListParam(p);
  EXPECT_EQ(p.nbonds, 3);
  EXPECT_EQ(p.bond[0].fOpt, 1);
  EXPECT_TRUE(p.bond[0].ifread);
  EXPECT_EQ(p.bond[0].comment, "kept");
  EXPECT_EQ(p.dihe[0].NonZero[2], 0);
  EXPECT_TRUE(p.dihe[0].ifReadHarm[2]);
  EXPECT_DOUBLE_EQ(p.impr[0].force, 0.0);
}

}  // namespace
