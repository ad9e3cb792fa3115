#include "intra/settings.h"

#include <gtest/gtest.h>

#include "intra/BondOpt.h"

TEST(BondedFitSettingsTest, FixedTablesRejectEntriesBeyondTheirCapacity) {
  COptInter o;
  EXPECT_THROW(o.FixDihe[20], std::out_of_range);
  EXPECT_THROW(o.strDihe[100], std::out_of_range);
  EXPECT_THROW(o.AtomName[0][20], std::out_of_range);
  EXPECT_THROW(o.diheValue[100][0], std::out_of_range);
  EXPECT_THROW(o.scaleCoeff[100], std::out_of_range);
  EXPECT_THROW(o.diheDubl[20], std::out_of_range);
  try {
    o.scaleName[100] = "x";
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "entry 100 requested of a table of 100 entries");
  }
  try {
    CheckCapacity(20, COptInter::kMaxFixDihe, "constrain block");
    FAIL();
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(), "constrain block: at most 20 entries");
  }
  EXPECT_NO_THROW(CheckCapacity(19, 20, "x"));
}

TEST(BondedFitSettingsTest, RestraintsWeightedSum) {
  ClassRestraints r;
  r.bondValRest = 1;
  r.angleValRest = 2;
  r.angleUBValRest = 3;
  r.bondForce = 4;
  r.angleForce = 5;
  r.angleForceUB = 6;
  r.diheForce = 7;
  r.imprForce = 8;
  EXPECT_DOUBLE_EQ(r.Total(), 10.0 + 0.4 + 0.3 + 0.0 + 0.22 + 0.7 + 0.16);
  r.Init();
  EXPECT_EQ(r.Total(), 0.0);
  EXPECT_EQ(r.wBond, 10.0);
}

TEST(BondedFitSettingsTest, FreeParameterList) {
  CParamToOptArray a;
  a.newParam('d', 'f', 2, 7, 0.5);
  a.newParam('b', 'b', 0, 1, 1.53);
  ASSERT_EQ(a.param.size(), 2u);
  EXPECT_EQ(a.param[0].typeParam, 'f');
  EXPECT_EQ(a.param[0].ip, 7);
  EXPECT_EQ(a.param[1].value, 1.53);
  a.init();
  EXPECT_TRUE(a.param.empty());
}
