#include "path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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
  EXPECT_EQ(other.GetNext(m_Path->GetFirstPosition()), nullptr);
  EXPECT_EQ(other.GetGuid(m_Path->GetFirstPosition(), guid), 0);
  // Neither is a position one byte into an entry, one byte before the first, one entry
  // past the last, or null.
  const auto first = reinterpret_cast<std::uintptr_t>(m_Path->GetFirstPosition());
  const auto second = reinterpret_cast<std::uintptr_t>(m_Path->GetNext(m_Path->GetFirstPosition()));
  const auto third = reinterpret_cast<std::uintptr_t>(
      m_Path->GetNext(m_Path->GetNext(m_Path->GetFirstPosition())));
  const std::uintptr_t notPositions[] = {first + 1, first - 1, third + (second - first), 0};
  for (const std::uintptr_t at : notPositions) {
    const void* pos = reinterpret_cast<const void*>(at);
    EXPECT_EQ(m_Path->GetNext(pos), nullptr) << at - first;
    EXPECT_EQ(m_Path->GetEdge(pos, count, points), 0) << at - first;
    EXPECT_EQ(m_Path->GetGuid(pos, guid), 0) << at - first;
  }
  EXPECT_EQ(guid.firstPtNum, 0x5a5a);  // untouched
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

// The reference point identifies a guide: a record's bookkeeping bytes (the path and index
// that filled it) only speed up the search and never override its reference point.
TEST_F(CPathTest, NextGuidTrustsTheReferencePointOverTheRecordsBookkeeping) {
  PathGuid first;
  PathGuid second;
  ASSERT_TRUE(m_Path->GetGuideAt(0, first));
  ASSERT_TRUE(m_Path->GetGuideAt(1, second));
  PathGuid next;
  PathGuid moved = first;  // guide 0's record, now naming guide 1
  moved.refPoint = second.refPoint;
  ASSERT_EQ(m_Path->GetNextGuid(moved, next), 1);
  EXPECT_STREQ(next.firstName, "g2");
  PathGuid elsewhere = first;  // guide 0's record, now naming a point on no guide
  elsewhere.refPoint.lat += 1.0;
  EXPECT_EQ(m_Path->GetNextGuid(elsewhere, next), 0);
  PathGuid garbled = first;  // an index beyond the path
  std::memset(&garbled.pathIndex, 0xff, sizeof garbled.pathIndex);
  ASSERT_EQ(m_Path->GetNextGuid(garbled, next), 1);
  EXPECT_STREQ(next.firstName, "g1");
}

// Reference points match exactly (-0.0 and 0.0 are one value); a point on no guide, however
// close, has no next guide.
TEST(CPathLookupTest, NextGuidMatchesReferencePointsExactly) {
  constexpr int kGuides = 24;
  std::vector<CPathGuideInput> guides;
  for (int i = 0; i < kGuides; ++i) {
    guides.push_back(fakes::Guide({{0.01 * i, 0.0}, {0.01 * i + 0.005, 0.0}}, std::to_string(i)));
  }
  auto path = MakePath(guides);
  PathGuid made;
  std::memset(&made, 0, sizeof made);
  PathGuid next;
  made.refPoint = {-0.0, -0.0};
  ASSERT_EQ(path->GetNextGuid(made, next), 1);
  EXPECT_STREQ(next.firstName, "1");
  for (int i = 0; i + 1 < kGuides; ++i) {
    made.refPoint = {0.01 * i, 0.0};
    ASSERT_EQ(path->GetNextGuid(made, next), 1) << i;
    EXPECT_EQ(next.firstName, std::to_string(i + 1));
    made.refPoint = {0.01 * i + 1e-12, 0.0};
    EXPECT_EQ(path->GetNextGuid(made, next), 0) << i;
    made.refPoint = {0.01 * i, 1e-12};
    EXPECT_EQ(path->GetNextGuid(made, next), 0) << i;
  }
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

// A reference point that is not a number never equals itself: GetNextGuid took such a
// record for the first guide with that point, so from the second one the walk came back to
// it for ever (the renderer's walks then ran to their guide limit on every frame).
TEST_F(CPathTest, NextGuidWalksForwardThroughReferencePointsThatAreNotNumbers) {
  CNavPath path;
  for (const char* name : {"a", "b", "c"}) {
    CPathGuideInput guide = fakes::Guide({{0.0, 0.0}, {0.001, 0.0}}, name);
    guide.hasRefPoint = true;
    guide.refPoint = {std::nan(""), 1.0};
    path.AddGuide(guide);
  }
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
