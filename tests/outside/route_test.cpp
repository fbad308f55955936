#include "route.h"

#include <gtest/gtest.h>

#include <cstring>

#include "route_builder.h"

namespace {

TEST(CTurnInfoTest, SetFromPathCopiesTheTwoGuidesAndType) {
  auto path = fakes::MakePath(fakes::GuidesEast({0.0, 0.0}, {10.0, 20.0, 30.0}));
  CTurnInfo turn;
  ASSERT_TRUE(turn.SetFromPath(*path, 0, 2, NAV_TURN_LEFT));
  NavGuid enter;
  NavGuid exit;
  turn.GetEnterGuide(0, enter);
  turn.GetExitGuide(0, exit);
  EXPECT_STREQ(enter.firstName, "g0");
  EXPECT_STREQ(exit.firstName, "g2");
  EXPECT_EQ(turn.GetTurnType(0), NAV_TURN_LEFT);
  // A copy is a value: changing it leaves the original alone.
  CTurnInfo copy = turn;
  copy.SetTurnType(NAV_TURN_END);
  EXPECT_EQ(turn.GetTurnType(0), NAV_TURN_LEFT);
}

TEST(CTurnInfoTest, SetFromPathOutsideThePathChangesNothing) {
  auto path = fakes::MakePath(fakes::GuidesEast({0.0, 0.0}, {10.0}));
  CTurnInfo turn;
  EXPECT_FALSE(turn.SetFromPath(*path, 0, 1, NAV_TURN_LEFT));
  EXPECT_FALSE(turn.SetFromPath(*path, -1, 0, NAV_TURN_LEFT));
  EXPECT_EQ(turn.GetTurnType(0), NAV_TURN_STRAIGHT);
  NavGuid enter;
  turn.GetEnterGuide(0, enter);
  EXPECT_EQ(enter.firstPts, nullptr);
}

TEST(CPathManagerExTest, OriginAndDestinationsAsTheHostSetsThem) {
  CPathManagerEx manager;
  NavDest dest;
  EXPECT_FALSE(manager.GetOrgPoint(dest));
  EXPECT_EQ(manager.GetDestCount(), 0);
  manager.SetOrgPoint({1.5, 2.5});
  manager.SetDestPoints({{3.0, 4.0}, {5.0, 6.0}});
  ASSERT_TRUE(manager.GetOrgPoint(dest));
  EXPECT_EQ(dest.point.lon, 1.5);
  EXPECT_EQ(dest.point.lat, 2.5);
  EXPECT_EQ(manager.GetDestCount(), 2);
  ASSERT_TRUE(manager.GetDestPoint(1, dest));
  EXPECT_EQ(dest.point.lon, 5.0);
  EXPECT_FALSE(manager.GetDestPoint(2, dest));
  EXPECT_FALSE(manager.GetDestPoint(-1, dest));
  EXPECT_EQ(dest.point.lon, 5.0);  // untouched by the failures
  manager.ClearOrgPoint();
  EXPECT_FALSE(manager.GetOrgPoint(dest));
}

TEST(RouteManagerTest, ProcessWideManagerIsOneObject) {
  EXPECT_EQ(&GetRouteManager(), &GetRouteManager());
  EXPECT_EQ(&GetRouteManager().GetPathManager(), &GetRouteManager().GetPathManager());
}

TEST(NavDestTest, PositionSitsAtItsFixedOffset) {
  NavDest dest;
  dest.point = {7.0, 8.0};
  double lon = 0.0;
  std::memcpy(&lon, reinterpret_cast<const unsigned char*>(&dest) + 560, sizeof lon);
  EXPECT_EQ(lon, 7.0);
}

}  // namespace
