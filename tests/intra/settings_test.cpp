#include "intra/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "intra/BondOpt.h"

using testing::ThrowsMessage;

TEST(BondedFitSettingsTest, FixedTablesRejectEntriesBeyondTheirCapacity) {
  COptInter o;
  EXPECT_THROW(o.FixDihe[20], std::out_of_range);
  EXPECT_THROW(o.strDihe[100], std::out_of_range);
  EXPECT_THROW(o.AtomName[0][20], std::out_of_range);
  EXPECT_THROW(o.diheValue[100][0], std::out_of_range);
  EXPECT_THROW(o.scaleCoeff[100], std::out_of_range);
  EXPECT_THROW(o.diheDubl[20], std::out_of_range);
  EXPECT_THAT([&] { o.scaleName[100] = "x"; },
              ThrowsMessage<std::out_of_range>("entry 100 requested of a table of 100 entries"));
  EXPECT_THAT([] { CheckCapacity(20, COptInter::kMaxFixDihe, "constrain block"); },
              ThrowsMessage<std::length_error>("constrain block: at most 20 entries"));
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
  EXPECT_EQ(r.wBond, 10.0);  // the weights stay
}

TEST(BondedFitSettingsTest, FreeParameterList) {
  CParamToOptArray a;
  a.newParam('d', 'f', 2, 7, 0.5);
  ASSERT_EQ(a.param.size(), 1u);
  const auto& p = a.param[0];
  EXPECT_EQ(std::make_tuple(p.typeTerm, p.typeParam, p.imultiplicity, p.ip, p.value),
            std::make_tuple('d', 'f', 2, 7, 0.5));
  a.init();
  EXPECT_TRUE(a.param.empty());
}
