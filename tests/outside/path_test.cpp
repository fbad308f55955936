#include "path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "geodesy.h"
#include "route.h"
#include "route_builder.h"

namespace {

using fakes::GuidesEast;
using fakes::MakePath;

class CPathTest : public ::testing::Test {
 protected:
  CPathTest() : m_Path(MakePath(GuidesEast({10.0, 0.0}, {100.0, 200.0, 300.0}, 3))) {}

  std::unique_ptr<CNavPath> m_Path;
};

TEST_F(CPathTest, PositionsWalkEveryEdgeInOrder) {
  int edges = 0;
  for (const void* pos = m_Path->GetFirstPosition(); pos != nullptr; pos = m_Path->GetNext(pos)) {
    unsigned short count = 0;
    tagLonLat* points = nullptr;
    ASSERT_EQ(m_Path->GetEdge(pos, count, points), 1);
    EXPECT_EQ(count, 3);
    ASSERT_NE(points, nullptr);
    PathGuid guid;
    ASSERT_EQ(m_Path->GetGuid(pos, guid), 1);
    EXPECT_EQ(guid.firstPts, points);  // the edge is the guide's first polyline
    ++edges;
  }
  EXPECT_EQ(edges, 3);
}

TEST_F(CPathTest, RecordsCarryPolylineNameLengthAndReference) {
  PathGuid guid;
  ASSERT_TRUE(m_Path->GetGuideAt(1, guid));
  EXPECT_STREQ(guid.firstName, "g1");
  EXPECT_EQ(guid.firstPtNum, 3);
  EXPECT_NEAR(guid.length, 200.0, 1e-6);
  EXPECT_EQ(guid.length, LineLength(guid.firstPtNum, guid.firstPts));
  EXPECT_EQ(guid.refPoint.lon, guid.firstPts[0].lon);
  EXPECT_EQ(guid.refPoint.lat, guid.firstPts[0].lat);
  EXPECT_FALSE(m_Path->GetGuideAt(3, guid));
  EXPECT_FALSE(m_Path->GetGuideAt(-1, guid));
}

TEST_F(CPathTest, ForeignPositionsAreRefusedWithoutBeingRead) {
  CNavPath other;
  const tagLonLat nowhere = {0.0, 0.0};
  unsigned short count = 7;
  tagLonLat dummy[1] = {{1.0, 1.0}};
  tagLonLat* points = dummy;
  PathGuid guid;
  std::memset(&guid, 0x5a, sizeof guid);
  EXPECT_EQ(m_Path->GetEdge(&nowhere, count, points), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(points, nullptr);
  EXPECT_EQ(m_Path->GetGuid(&nowhere, guid), 0);
  EXPECT_EQ(guid.firstPtNum, 0x5a5a);  // untouched
  EXPECT_EQ(m_Path->GetNext(&nowhere), nullptr);
  EXPECT_EQ(other.GetFirstPosition(), nullptr);
  // A position one byte into an entry is not a position either.
  const char* first = static_cast<const char*>(m_Path->GetFirstPosition());
  EXPECT_EQ(m_Path->GetNext(first + 1), nullptr);
}

TEST_F(CPathTest, GuideWithoutGeometryFailsItsEdge) {
  CNavPath path;
  CPathGuideInput empty;
  empty.hasRefPoint = true;
  empty.refPoint = {1.0, 1.0};
  ASSERT_EQ(path.AddGuide(empty), 0);
  unsigned short count = 1;
  tagLonLat* points = nullptr;
  EXPECT_EQ(path.GetEdge(path.GetFirstPosition(), count, points), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(points, nullptr);
}

TEST_F(CPathTest, AddGuideRefusesMorePointsThanTheRecordCounts) {
  CNavPath path;
  CPathGuideInput huge;
  huge.points.assign(CPath::kMaxGuidePoints + 1, tagLonLat{1.0, 1.0});
  EXPECT_EQ(path.AddGuide(huge), -1);
  EXPECT_EQ(path.GetGuideCount(), 0);
  huge.points.pop_back();
  EXPECT_EQ(path.AddGuide(huge), 0);
}

TEST_F(CPathTest, LongNamesAreCutAndTerminated) {
  CNavPath path;
  CPathGuideInput guide = fakes::Guide({{0.0, 0.0}, {0.001, 0.0}}, std::string(400, 'n'));
  path.AddGuide(guide);
  PathGuid guid;
  ASSERT_TRUE(path.GetGuideAt(0, guid));
  EXPECT_EQ(std::strlen(guid.firstName), sizeof guid.firstName - 1);
}

TEST_F(CPathTest, NextGuidWalksForwardWithOneRecordAsBothArguments) {
  PathGuid g;
  ASSERT_EQ(m_Path->GetGuid(m_Path->GetFirstPosition(), g), 1);
  ASSERT_EQ(m_Path->GetNextGuid(g, g), 1);
  EXPECT_STREQ(g.firstName, "g1");
  ASSERT_EQ(m_Path->GetNextGuid(g, g), 1);
  EXPECT_STREQ(g.firstName, "g2");
  EXPECT_EQ(m_Path->GetNextGuid(g, g), 0);  // the last guide has no successor
  EXPECT_STREQ(g.firstName, "g2");
}

TEST_F(CPathTest, NextGuidAcceptsTheRouteLibrarysCopyOfAGuide) {
  const CTurnInfo turn = fakes::MakeTurn(*m_Path, 0, 1);
  NavGuid enter;
  turn.GetEnterGuide(0, enter);
  PathGuid current;
  std::memcpy(&current, &enter, sizeof current);
  PathGuid next;
  ASSERT_EQ(m_Path->GetNextGuid(current, next), 1);
  EXPECT_STREQ(next.firstName, "g1");
}

TEST_F(CPathTest, NextGuidFindsAHandMadeRecordByItsReferencePoint) {
  PathGuid made;
  std::memset(&made, 0, sizeof made);
  PathGuid second;
  ASSERT_TRUE(m_Path->GetGuideAt(1, second));
  made.refPoint = second.refPoint;
  PathGuid next;
  ASSERT_EQ(m_Path->GetNextGuid(made, next), 1);
  EXPECT_STREQ(next.firstName, "g2");
  made.refPoint = {-50.0, -50.0};
  EXPECT_EQ(m_Path->GetNextGuid(made, next), 0);
}

TEST_F(CPathTest, RouteThroughTheSameReferenceTwiceStillWalksForward) {
  // A loop: guides 0 and 2 share their reference point.
  CNavPath path;
  CPathGuideInput a = fakes::Guide({{0.0, 0.0}, {0.001, 0.0}}, "a");
  CPathGuideInput b = fakes::Guide({{0.001, 0.0}, {0.0, 0.0}}, "b");
  CPathGuideInput c = fakes::Guide({{0.0, 0.0}, {0.002, 0.0}}, "c");
  path.AddGuide(a);
  path.AddGuide(b);
  path.AddGuide(c);
  PathGuid g;
  ASSERT_TRUE(path.GetGuideAt(0, g));
  int steps = 0;
  while (path.GetNextGuid(g, g) == 1) ASSERT_LT(++steps, 10);
  EXPECT_EQ(steps, 2);
  EXPECT_STREQ(g.firstName, "c");
}

TEST_F(CPathTest, RecordOfAnotherPathIsNotTakenForOursByItsIndex) {
  auto other = MakePath(GuidesEast({-20.0, 5.0}, {50.0, 50.0}));
  PathGuid foreign;
  ASSERT_TRUE(other->GetGuideAt(0, foreign));
  PathGuid next;
  EXPECT_EQ(m_Path->GetNextGuid(foreign, next), 0);
}

}  // namespace
