// The arrow builder on small hand-made routes along the equator (and one along a meridian),
// where every length is known in metres and every direction is exactly east or north.
#include "crosspathedges.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geodesy.h"
#include "host_services.h"
#include "log_capture.h"
#include "route_builder.h"

namespace {

using fakes::GuidesEast;
using fakes::MakePath;
using fakes::MakeTurn;
using fakes::MetresEast;
using fakes::MetresNorth;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Metres: lengths rebuilt from points agree with the intended ones to rounding.
constexpr double kMetreTolerance = 1e-6;
// Degrees per metre on the equator and on any meridian.
constexpr double kDegPerMetre = 1.0 / fakes::kMetresPerDegree;

std::vector<std::string> StrokeNames(const CCrossPathEdges& edges) {
  std::vector<std::string> names;
  for (int i = 0; i < edges.GetCrossEdgeCount(); ++i)
    names.push_back(edges.GetCrossEdge(i)->GetName());
  return names;
}

// Metres of each stroke, measured over its own points.
std::vector<double> StrokeLengths(const CCrossPathEdges& edges) {
  std::vector<double> lengths;
  for (int i = 0; i < edges.GetCrossEdgeCount(); ++i) {
    const CCrossEdge* e = edges.GetCrossEdge(i);
    double sum = 0.0;
    for (int p = 1; p < e->GetPtNum(); ++p) sum += SegmentLength(e->GetPt(p - 1), e->GetPt(p));
    lengths.push_back(sum);
  }
  return lengths;
}

void ExpectLengths(const CCrossPathEdges& edges, const std::vector<double>& expected) {
  const std::vector<double> lengths = StrokeLengths(edges);
  ASSERT_EQ(lengths.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(lengths[i], expected[i], kMetreTolerance) << "stroke " << i;
  }
}

std::vector<std::string> Names(int first, int last) {
  std::vector<std::string> names;
  for (int i = first; i <= last; ++i) names.push_back("g" + std::to_string(i));
  return names;
}

// Twenty guides of 100 m, each of two points, east along the equator from longitude 1.
class CCrossPathEdgesTest : public ::testing::Test {
 protected:
  CCrossPathEdgesTest()
      : m_Start{1.0, 0.0}, m_Path(MakePath(GuidesEast(m_Start, std::vector<double>(20, 100.0)))) {}

  // The builder on a route whose guide lengths are given, the turn from `enter` to `exit`.
  void UseRoute(const std::vector<double>& lengths, int pointsPerGuide = 2) {
    m_Path = MakePath(GuidesEast(m_Start, lengths, pointsPerGuide));
  }
  int Generate(int enter, int exit, double E, double B, double D, double R,
               NAV_TURN_TYPE_tag type = NAV_TURN_RIGHT) {
    m_Edges.SetCrossInfo(m_Path.get(), MakeTurn(*m_Path, enter, exit, type));
    return m_Edges.GenerateCrossEdges(E, B, D, R);
  }
  // Where the route is `metres` along from its start.
  tagLonLat At(double metres) const { return MetresEast(m_Start, metres); }

  fakes::LogCapture m_Log;
  tagLonLat m_Start;
  std::unique_ptr<CNavPath> m_Path;
  CCrossPathEdges m_Edges;
};

// ---- Free functions --------------------------------------------------------------------

TEST(IsSamePointTest, ToleranceIsStrictAndAsymmetricForDifference) {
  // Differences from 0 are exact, so the cases sit exactly on the tolerance.
  const tagLonLat a = {0.0, 0.0};
  const struct {
    tagLonLat b;
    int same;
    int diff;
  } cases[] = {
      {{0.0, 0.0}, 1, 0},
      {{2.9e-6, -2.9e-6}, 1, 0},
      {{3e-6, 0.0}, 0, 1},  // longitude exactly at the tolerance: different
      {{-3e-6, 0.0}, 0, 1},
      {{0.0, 3e-6}, 0, 0},  // latitude exactly at it: neither same nor different
      {{0.0, 3.1e-6}, 0, 1},
      {{-1.0, 0.0}, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.b.lon << "," << c.b.lat);
    EXPECT_EQ(IsSamePoint(a, c.b), c.same);
    EXPECT_EQ(IsDiffPoint(a, c.b), c.diff);
  }
}

TEST(ReversePathGuidsTest, ReversesInPlace) {
  PathGuid guids[4];
  std::memset(guids, 0, sizeof guids);
  for (int i = 0; i < 4; ++i) guids[i].length = i;
  ReversePathGuids(guids, 1);
  ReversePathGuids(guids, 0);
  EXPECT_EQ(guids[0].length, 0.0);
  ReversePathGuids(guids, 3);
  EXPECT_EQ(guids[0].length, 2.0);
  EXPECT_EQ(guids[1].length, 1.0);
  EXPECT_EQ(guids[2].length, 0.0);
  EXPECT_EQ(guids[3].length, 3.0);
}

// ---- Guide window ------------------------------------------------------------------------

TEST_F(CCrossPathEdgesTest, WindowKeepsUpToTenGuidesBeforeTheTurn) {
  // With lengths far beyond the route, every window edge becomes a whole stroke and the walk
  // after the turn runs to the path's end, so the strokes show the window in travel order.
  const struct {
    int enter;  // index of the guide entering the turn
    int firstInWindow;
  } cases[] = {{0, 0}, {2, 0}, {9, 0}, {14, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.enter);
    ASSERT_EQ(Generate(c.enter, c.enter, 1e7, 1e7, 0.0, 11.0), 0);
    std::vector<std::string> expected = Names(c.firstInWindow, 19);
    EXPECT_EQ(StrokeNames(m_Edges), expected);
  }
}

TEST_F(CCrossPathEdgesTest, EnterGuideOffThePathLeavesNoWindow) {
  CTurnInfo turn = MakeTurn(*m_Path, 3, 4);
  NavGuid stray;
  turn.GetEnterGuide(0, stray);
  stray.refPoint = {-60.0, -60.0};
  stray.pathSerial = 0;
  turn.SetEnterGuide(stray);
  m_Edges.SetCrossInfo(m_Path.get(), turn);
  EXPECT_TRUE(m_Log.Lines().empty());  // the path simply ended: no line
  EXPECT_EQ(m_Edges.GenerateCrossEdges(100, 100, 0, 11), -1);
  ASSERT_EQ(m_Log.Lines().size(), 1u);
  EXPECT_EQ(m_Log.Lines()[0].priority, 300);
  EXPECT_EQ(m_Log.Lines()[0].function, "CCrossPathEdges::GenerateCrossEdges");
  EXPECT_EQ(m_Log.Lines()[0].text, "m_FromEdges.Size = 0  \n");
}

TEST_F(CCrossPathEdgesTest, PathWithoutPositionsOrFirstGuideLogsAndLeavesNoWindow) {
  CNavPath empty;
  for (const bool guideless : {false, true}) {
    SCOPED_TRACE(guideless ? "first guide unreadable" : "no positions");
    ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);  // a window to lose
    m_Log.Clear();
    std::optional<fakes::GuidelessPath> noGuides;
    if (guideless) noGuides.emplace(*m_Path);
    m_Edges.SetCrossInfo(guideless ? m_Path.get() : &empty, MakeTurn(*m_Path, 3, 4));
    ASSERT_EQ(m_Log.Lines().size(), 1u);
    EXPECT_EQ(m_Log.Lines()[0].priority, 300);
    EXPECT_EQ(m_Log.Lines()[0].function, "CCrossPathEdges::SetCrossInfo");
    EXPECT_EQ(m_Log.Lines()[0].file, "source/render/crosspathedges.cpp");
    EXPECT_EQ(m_Log.Lines()[0].text,
              guideless ? "mp_Path->GetGuid() failed \n" : "mp_Path->GetFirstPosition() failed \n");
    EXPECT_EQ(m_Edges.GenerateCrossEdges(100, 100, 0, 11), -1);
  }
}

TEST_F(CCrossPathEdgesTest, NullPathKeepsTheWindowButRefusesToCut) {
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);
  m_Edges.SetCrossInfo(nullptr, CTurnInfo());
  EXPECT_EQ(m_Edges.GenerateCrossEdges(150, 150, 10, 11), -1);
  EXPECT_EQ(m_Edges.GetCrossEdgeCount(), 0);
  EXPECT_TRUE(m_Log.Lines().empty());
  // Setting a path again without a new turn would reuse the old window; a new turn rebuilds.
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);
}

TEST_F(CCrossPathEdgesTest, WalkBeyondTheGuideLimitFailsWithALine) {
  // Fault: a host path that cycles would keep the walks going for ever.
  m_Edges.SetGuideWalkLimit(5);
  m_Edges.SetCrossInfo(m_Path.get(), MakeTurn(*m_Path, 8, 9));
  ASSERT_EQ(m_Log.Lines().size(), 1u);
  EXPECT_EQ(m_Log.Lines()[0].priority, 300);
  EXPECT_EQ(m_Log.Lines()[0].text, "mp_Path->GetNextGuid() walked past the guide limit \n");
  EXPECT_EQ(m_Edges.GenerateCrossEdges(100, 100, 0, 11), -1);

  // The walks through and after the turn are bounded as well.
  m_Edges.SetGuideWalkLimit(5);
  m_Log.Clear();
  m_Edges.SetCrossInfo(m_Path.get(), MakeTurn(*m_Path, 2, 10));
  EXPECT_EQ(m_Edges.GenerateCrossEdges(100, 100, 0, 11), -1);
  m_Edges.SetCrossInfo(m_Path.get(), MakeTurn(*m_Path, 2, 3));
  EXPECT_EQ(m_Edges.GenerateCrossEdges(1e7, 100, 0, 11), -1);
  EXPECT_EQ(m_Edges.GetCrossEdgeCount(), 0);
  ASSERT_EQ(m_Log.Lines().size(), 4u);
  EXPECT_EQ(m_Log.Lines()[0].text, "mp_Path->GetNextGuid() walked past the guide limit \n");
  EXPECT_EQ(m_Log.Lines()[1].text, "m_EdgeVec.Append() failed\n");
  EXPECT_EQ(m_Log.Lines()[2].text, "mp_Path->GetNextGuid() walked past the guide limit \n");
  EXPECT_EQ(m_Log.Lines()[3].text, "m_EdgeVec.Append() failed\n");
}

// ---- Strokes before the turn ---------------------------------------------------------------

TEST_F(CCrossPathEdgesTest, BeforeTurnCutKeepsThePartNearestTheTurn) {
  // B = 150, D = 10: g5 (L 100) whole, g4 brings L to 200 > 160: its last 50 m.
  // After g6 (the exit), T = 150 + 11: g7 (L 100) whole, g8 overshoots by 39: its first 61 m.
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g4", "g5", "g6", "g7", "g8"));
  ExpectLengths(m_Edges, {50, 100, 100, 100, 61});
  const CCrossEdge* first = m_Edges.GetCrossEdge(0);
  EXPECT_NEAR(first->GetPt(0).lon, At(450).lon, 1e-12);
  EXPECT_NEAR(first->GetPt(first->GetPtNum() - 1).lon, At(500).lon, 1e-12);
  EXPECT_FALSE(first->IsWhole());
  EXPECT_NEAR(first->GetLength(), 100.0, kMetreTolerance);  // the source's length
  EXPECT_TRUE(m_Edges.GetCrossEdge(1)->IsWhole());
  EXPECT_FALSE(m_Edges.GetCrossEdge(4)->IsWhole());
  EXPECT_NEAR(m_Edges.GetCrossEdge(4)->GetPt(0).lon, At(800).lon, 1e-12);
}

TEST_F(CCrossPathEdgesTest, BeforeTurnWithinToleranceTakesTheEdgeWhole) {
  ASSERT_EQ(Generate(5, 6, 150, 195, 10, 11), 0);  // L 200 lands in [185, 205]
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g4", "g5", "g6", "g7", "g8"));
  EXPECT_TRUE(m_Edges.GetCrossEdge(0)->IsWhole());
}

TEST_F(CCrossPathEdgesTest, BeforeTurnExhaustedTakesEveryEdgeWhole) {
  ASSERT_EQ(Generate(2, 3, 150, 1000, 10, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g0", "g1", "g2", "g3", "g4", "g5"));
  ExpectLengths(m_Edges, {100, 100, 100, 100, 100, 61});
}

TEST_F(CCrossPathEdgesTest, FirstWindowEdgeAloneBeyondTheTargetIsCut) {
  ASSERT_EQ(Generate(5, 6, 150, 30, 0, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g5", "g6", "g7", "g8"));
  ExpectLengths(m_Edges, {30, 100, 100, 61});
}

// ---- Through the turn ----------------------------------------------------------------------

TEST_F(CCrossPathEdgesTest, GuidesBetweenEnterAndExitAreTakenWhole) {
  ASSERT_EQ(Generate(5, 8, 150, 50, 0, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g5", "g6", "g7", "g8", "g9", "g10"));
  ExpectLengths(m_Edges, {50, 100, 100, 100, 100, 61});
}

TEST_F(CCrossPathEdgesTest, EnterEqualToExitAddsNothingForTheTurn) {
  ASSERT_EQ(Generate(5, 5, 150, 50, 0, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g5", "g6", "g7"));
}

TEST_F(CCrossPathEdgesTest, PathEndingInsideTheTurnFails) {
  ASSERT_EQ(Generate(5, 3, 150, 50, 0, 11), -1);  // g3 never follows g5
  EXPECT_EQ(m_Edges.GetCrossEdgeCount(), 0);
  ASSERT_EQ(m_Log.Lines().size(), 1u);
  EXPECT_EQ(m_Log.Lines()[0].priority, 300);
  EXPECT_EQ(m_Log.Lines()[0].function, "CCrossPathEdges::GenerateCrossEdges");
  EXPECT_EQ(m_Log.Lines()[0].text, "m_EdgeVec.Append() failed\n");
}

// ---- After the turn ----------------------------------------------------------------------

TEST_F(CCrossPathEdgesTest, AfterTurnWithinToleranceStopsOnAWholeGuide) {
  ASSERT_EQ(Generate(5, 6, 190, 50, 10, 11), 0);  // T 201: L 200 is within [191, 211]
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g5", "g6", "g7", "g8"));
  EXPECT_TRUE(m_Edges.GetCrossEdge(3)->IsWhole());
}

TEST_F(CCrossPathEdgesTest, AfterTurnShortGuideWithinToleranceDoesNotStopTheWalk) {
  // After the exit: 100 m, 10 m (shorter than R = 11, lands within [106, 116]), 100 m.
  UseRoute({100, 100, 100, 100, 10, 100});
  ASSERT_EQ(Generate(1, 2, 100, 50, 5, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g1", "g2", "g3", "g4", "g5"));
  // g5 overshoots by 99: 100 - 99 = 1 m would be shorter than R, so R is kept.
  ExpectLengths(m_Edges, {50, 100, 100, 10, 11});
}

TEST_F(CCrossPathEdgesTest, AfterTurnOvershootingGuideShorterThanTheReserveIsWhole) {
  UseRoute({100, 100, 100, 8, 100});
  ASSERT_EQ(Generate(0, 1, 90, 50, 0, 11), 0);  // T 101: 100, then 8 overshoots but is short
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g0", "g1", "g2", "g3", "g4"));
  ExpectLengths(m_Edges, {50, 100, 100, 8, 11});
}

TEST_F(CCrossPathEdgesTest, AfterTurnGuideOfNaNLengthAddsNothingAndTheWalkGoesOn) {
  // g3's middle point is not a number, so its length is NaN and so is the running length from
  // there on: no rule applies to g3 or to g4, which would otherwise be cut to 61 m.
  std::vector<CPathGuideInput> guides = GuidesEast(m_Start, std::vector<double>(6, 100.0), 3);
  guides[3].points[1].lon = std::nan("");
  m_Path = MakePath(guides);
  ASSERT_EQ(Generate(1, 2, 150, 50, 0, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g1", "g2"));
  EXPECT_TRUE(m_Log.Lines().empty());
  // The walk still ends at its limit: g3, g4, then g5 is one guide too many.
  m_Edges.SetGuideWalkLimit(2);
  EXPECT_EQ(m_Edges.GenerateCrossEdges(150, 50, 0, 11), -1);
  ASSERT_EQ(m_Log.Lines().size(), 2u);
  EXPECT_EQ(m_Log.Lines()[0].text, "mp_Path->GetNextGuid() walked past the guide limit \n");
  EXPECT_EQ(m_Log.Lines()[1].text, "m_EdgeVec.Append() failed\n");
}

TEST_F(CCrossPathEdgesTest, AfterTurnEndsWithThePath) {
  ASSERT_EQ(Generate(17, 18, 1000, 50, 0, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g17", "g18", "g19"));
  ASSERT_EQ(Generate(18, 19, 1000, 50, 0, 11), 0);  // nothing after the exit guide
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g18", "g19"));
  EXPECT_TRUE(m_Edges.GetCrossEdge(1)->IsWhole());
}

TEST_F(CCrossPathEdgesTest, EndOfRouteTurnDrawsNoArrow) {
  EXPECT_EQ(Generate(5, 6, 150, 150, 10, 11, NAV_TURN_END), -1);
  ASSERT_EQ(m_Log.Lines().size(), 1u);
  EXPECT_EQ(m_Log.Lines()[0].priority, 800);
  EXPECT_EQ(m_Log.Lines()[0].text, "NAV_TURN_END \n");
}

TEST_F(CCrossPathEdgesTest, ToleranceOutsideTheLengthsIsRefusedSilently) {
  const struct {
    double E, B, D;
  } cases[] = {{100, 100, -1}, {100, 50, 60}, {50, 100, 60}, {100, 100, std::nan("")}};
  for (const auto& c : cases) {
    EXPECT_EQ(Generate(5, 6, c.E, c.B, c.D, 11), -1);
  }
  EXPECT_TRUE(m_Log.Lines().empty());
  EXPECT_EQ(m_Edges.GetCrossEdgeCount(), 0);
}

TEST_F(CCrossPathEdgesTest, CuttingIsRepeatableFrameAfterFrame) {
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 10, 6), 0);
  ASSERT_EQ(m_Edges.GenerateCrossEdges(150, 150, 10, 11), 0);
  ExpectLengths(m_Edges, {50, 100, 100, 100, 61});
  // The strokes' storage is reused: a failed frame still shows none, and strokes refilled
  // from others of another kind (whole or cut, other guides) are as if new.
  EXPECT_EQ(m_Edges.GenerateCrossEdges(150, 150, 200, 11), -1);
  EXPECT_EQ(m_Edges.GetCrossEdgeCount(), 0);
  EXPECT_EQ(m_Edges.GetCrossEdge(0), nullptr);
  ASSERT_EQ(m_Edges.GenerateCrossEdges(1000, 1000, 0, 11), 0);  // g0 to g5 whole, ..., g17 cut
  ASSERT_EQ(m_Edges.GenerateCrossEdges(150, 150, 10, 11), 0);
  EXPECT_THAT(StrokeNames(m_Edges), ElementsAre("g4", "g5", "g6", "g7", "g8"));
  ExpectLengths(m_Edges, {50, 100, 100, 100, 61});
  const bool whole[] = {false, true, true, true, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m_Edges.GetCrossEdge(i)->IsWhole(), whole[i]) << i;
  EXPECT_NEAR(m_Edges.GetCrossEdge(0)->GetLength(), 100.0, kMetreTolerance);
}

// ---- Arrowhead ---------------------------------------------------------------------------

TEST_F(CCrossPathEdgesTest, HeadOverACutStrokeEndsTheStrokeAtItsBase) {
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);  // last stroke: 800 m .. 861 m, cut
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 10, 6), 0);
  // Pointing east: tip at the old end, corners 6 m south (right) and north (left) of the
  // point 10 m back.
  EXPECT_NEAR(head[0].lon, At(861).lon, 1e-12);
  EXPECT_EQ(head[0].lat, 0.0);
  EXPECT_NEAR(head[1].lon, At(851).lon, 1e-12);
  EXPECT_NEAR(head[1].lat, -6 * kDegPerMetre, 1e-15);
  EXPECT_NEAR(head[2].lon, At(851).lon, 1e-12);
  EXPECT_NEAR(head[2].lat, 6 * kDegPerMetre, 1e-15);
  const CCrossEdge* last = m_Edges.GetCrossEdge(4);
  ASSERT_EQ(last->GetPtNum(), 2);  // the old end dropped, the base's middle appended
  EXPECT_NEAR(last->GetPt(0).lon, At(800).lon, 1e-12);
  EXPECT_NEAR(last->GetPt(1).lon, At(851).lon, 1e-12);
}

TEST_F(CCrossPathEdgesTest, HeadLongerThanACutStrokeReachesBackPastItsStart) {
  UseRoute({100, 100, 100, 100, 10, 100});
  ASSERT_EQ(Generate(1, 2, 100, 50, 5, 11), 0);  // last stroke: 410 m .. 421 m, cut
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 20, 6), 0);
  EXPECT_NEAR(head[0].lon, At(421).lon, 1e-12);
  EXPECT_NEAR(head[1].lon, At(401).lon, 1e-12);  // 20 m back: beyond the first point
  const CCrossEdge* last = m_Edges.GetCrossEdge(m_Edges.GetCrossEdgeCount() - 1);
  ASSERT_EQ(last->GetPtNum(), 2);
  EXPECT_NEAR(last->GetPt(0).lon, At(410).lon, 1e-12);
  EXPECT_NEAR(last->GetPt(1).lon, At(401).lon, 1e-12);
}

TEST_F(CCrossPathEdgesTest, HeadOverALongWholeStrokeDropsThePointsItCovers) {
  // Guides of five points, 25 m apart; the last stroke is the whole last guide.
  UseRoute({100, 100, 100}, 5);
  ASSERT_EQ(Generate(1, 2, 1000, 50, 0, 11), 0);
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 60, 6), 0);
  const CCrossEdge* last = m_Edges.GetCrossEdge(m_Edges.GetCrossEdgeCount() - 1);
  ASSERT_EQ(last->GetPtNum(), 3);  // 200 m, 225 m, then the base at 240 m
  EXPECT_NEAR(last->GetPt(1).lon, At(225).lon, 1e-12);
  EXPECT_NEAR(last->GetPt(2).lon, At(240).lon, 1e-12);
  EXPECT_NEAR(head[0].lon, At(300).lon, 1e-12);
}

TEST_F(CCrossPathEdgesTest, HeadBeyondAShortWholeStrokeLeavesItUnchanged) {
  UseRoute({100, 100, 8});
  ASSERT_EQ(Generate(0, 2, 1000, 50, 0, 11), 0);  // last stroke: the whole 8 m exit guide
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 10, 6), 0);
  EXPECT_NEAR(head[0].lon, At(218).lon, 1e-12);  // 10 m beyond the end
  EXPECT_NEAR(head[1].lon, At(208).lon, 1e-12);
  EXPECT_NEAR(head[1].lat, -6 * kDegPerMetre, 1e-15);
  EXPECT_NEAR(head[2].lat, 6 * kDegPerMetre, 1e-15);
  const CCrossEdge* last = m_Edges.GetCrossEdge(m_Edges.GetCrossEdgeCount() - 1);
  ASSERT_EQ(last->GetPtNum(), 2);
  EXPECT_NEAR(last->GetPt(1).lon, At(208).lon, 1e-12);
}

TEST_F(CCrossPathEdgesTest, HeadPointingNorthHasItsRightCornerEast) {
  std::vector<CPathGuideInput> guides;
  tagLonLat at = {20.0, 10.0};
  for (int i = 0; i < 4; ++i) {
    const tagLonLat next = MetresNorth(at, 100.0);
    guides.push_back(fakes::Guide({at, next}, "n" + std::to_string(i)));
    at = next;
  }
  m_Path = MakePath(guides);
  ASSERT_EQ(Generate(1, 2, 150, 50, 0, 11), 0);  // last stroke: the whole of n3
  tagLonLat head[3];
  ASSERT_EQ(m_Edges.GenerateArrowHead(head, 3, 10, 6), 0);
  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree(head[0], lonPerMeter, latPerMeter);
  const tagLonLat base = MetresNorth({20.0, 10.0}, 390.0);
  EXPECT_NEAR(head[0].lat, MetresNorth({20.0, 10.0}, 400.0).lat, 1e-12);
  EXPECT_NEAR(head[1].lon, 20.0 + 6 * lonPerMeter, 1e-12);
  EXPECT_NEAR(head[1].lat, base.lat, 1e-12);
  EXPECT_NEAR(head[2].lon, 20.0 - 6 * lonPerMeter, 1e-12);
}

TEST_F(CCrossPathEdgesTest, HeadNeedsTwoStrokesAndTwoPoints) {
  // Enter = exit = the last guide: one stroke before the turn, nothing after.
  ASSERT_EQ(Generate(19, 19, 1000, 50, 0, 11), 0);
  ASSERT_EQ(m_Edges.GetCrossEdgeCount(), 1);
  tagLonLat head[3] = {{1, 1}, {1, 1}, {1, 1}};
  EXPECT_EQ(m_Edges.GenerateArrowHead(head, 3, 10, 6), -1);
  EXPECT_EQ(head[0].lon, 1.0);  // nothing written
  ASSERT_EQ(Generate(5, 6, 150, 150, 10, 11), 0);
  EXPECT_EQ(m_Edges.GenerateArrowHead(nullptr, 3, 10, 6), -1);
  EXPECT_EQ(m_Edges.GenerateArrowHead(head, 2, 10, 6), -1);
  EXPECT_EQ(m_Edges.GetCrossEdge(4)->GetPtNum(), 2);  // no stroke changed
}

}  // namespace
