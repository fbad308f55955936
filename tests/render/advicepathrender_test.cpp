// The renderer as the application sees it: through the exported handle, drawing into a
// recording map view, logging into a capture.
#include "advicepathrender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <log4cpp/Priority.hh>
#include <memory>
#include <optional>
#include <vector>

#include "advicepathrenderex.h"
#include "crosspathedges.h"
#include "geodesy.h"
#include "host_services.h"
#include "log_capture.h"
#include "memstatus.h"
#include "recording_map_view.h"
#include "route.h"
#include "route_builder.h"

namespace {

using fakes::LogLine;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;
using Torvane::CDrawCall;

// Row i of a test table: every field distinct, so a call's width tells which row it used.
AdvicePathSizeSetting Row(int i) {
  AdvicePathSizeSetting row;
  row.pathWidth = 100 + i;
  row.pathBorderWidth = 200 + i;
  row.arrowWidth = 300 + i;
  row.arrowBorderWidth = 400 + i;
  row.arrowHeadParam = 500 + i;
  row.arrowHeadBorderParam = 600 + i;
  row.arrowExitLength = 50;
  row.arrowEnterLength = 50;
  row.arrowLengthTolerance = 5;
  row.arrowHeadLength = 10;
  row.arrowHeadHalfWidth = 6;
  return row;
}

std::vector<AdvicePathSizeSetting> Table(int rows) {
  std::vector<AdvicePathSizeSetting> table;
  for (int i = 0; i < rows; ++i) table.push_back(Row(i));
  return table;
}

std::vector<int> Widths(const std::vector<CDrawCall>& calls) {
  std::vector<int> widths;
  for (const CDrawCall& call : calls) widths.push_back(call.width);
  return widths;
}

// A route of three guides east along the equator, a recording view at scale index 1, and a
// handle on both with an eight-row table.
class AdvicePathRenderTest : public ::testing::Test {
 protected:
  AdvicePathRenderTest()
      : m_Path(fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0, 200.0, 300.0}, 3))),
        m_View(1),
        m_Handle(m_Path.get()),
        m_Table(Table(8)) {
    m_Handle.SetDrawParm(&m_View);
  }
  ~AdvicePathRenderTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  int SetTable(int rows, int maxTurnScale = 30) {
    m_Table = Table(rows);
    return m_Handle.SetSize(m_Table.data(), rows, maxTurnScale);
  }
  // Draws one frame and returns its draw calls.
  std::vector<CDrawCall> Frame(bool drawPath = true, bool drawArrow = false) {
    m_View.Reset();
    m_Handle.Draw(drawPath, drawArrow);
    return m_View.GetCalls();
  }
  static void SetRoute(const tagLonLat& origin, const std::vector<tagLonLat>& dests) {
    GetRouteManager().GetPathManager().SetOrgPoint(origin);
    GetRouteManager().GetPathManager().SetDestPoints(dests);
  }

  fakes::LogCapture m_Log;
  std::unique_ptr<CNavPath> m_Path;
  fakes::RecordingMapView m_View;
  AdvicePathRenderEx m_Handle;
  std::vector<AdvicePathSizeSetting> m_Table;
};

// ---- Records -------------------------------------------------------------------------

TEST(AdvicePathClrSettingTest, DefaultsAndFieldOrder) {
  const AdvicePathClrSetting defaults;
  EXPECT_EQ(defaults.pathColor, 0x000711F5u);
  EXPECT_EQ(defaults.pathBorderColor, 0x0092121Bu);
  EXPECT_EQ(defaults.arrowColor, 0x00FFFFFFu);
  EXPECT_EQ(defaults.arrowBorderColor, 0x00000000u);
  AdvicePathClrSetting set(1, 2, 3, 4);
  EXPECT_EQ(set.pathColor, 1u);
  EXPECT_EQ(set.arrowBorderColor, 4u);
  set = defaults;
  EXPECT_EQ(set.pathBorderColor, 0x0092121Bu);
}

TEST(AdvicePathSizeSettingTest, AssignmentCopiesAllElevenFields) {
  AdvicePathSizeSetting a = Row(3);
  AdvicePathSizeSetting b = Row(9);
  b = a;
  EXPECT_EQ(b.pathWidth, 103);
  EXPECT_EQ(b.arrowHeadBorderParam, 603);
  EXPECT_EQ(b.arrowHeadHalfWidth, 6);
  b = b;  // self-assignment keeps the row
  EXPECT_EQ(b.arrowWidth, 303);
}

// ---- Handle life cycle ----------------------------------------------------------------

TEST(AdvicePathRenderExTest, HandleIsAVirtualTablePointerAndARenderer) {
  EXPECT_EQ(sizeof(AdvicePathRenderEx), 2 * sizeof(void*));
}

TEST(AdvicePathRenderExTest, FreshHandleHasTheDefaultColours) {
  AdvicePathRenderEx handle;
  AdvicePathClrSetting colors(1, 1, 1, 1);
  ASSERT_TRUE(handle.GetClr(colors));
  EXPECT_EQ(colors.pathColor, 0x000711F5u);
  EXPECT_EQ(colors.arrowColor, 0x00FFFFFFu);
}

TEST(AdvicePathRenderExTest, CopiesDriveTheSameRendererAndOutliveTheirSource) {
  auto original = std::make_unique<AdvicePathRenderEx>();
  AdvicePathRenderEx copy(*original);
  original->SetClr(AdvicePathClrSetting(1, 2, 3, 4));
  AdvicePathClrSetting seen;
  ASSERT_TRUE(copy.GetClr(seen));
  EXPECT_EQ(seen.arrowColor, 3u);
  original.reset();  // the shared renderer stays alive for the copy
  ASSERT_TRUE(copy.GetClr(seen));
  EXPECT_EQ(seen.pathBorderColor, 2u);
}

TEST(AdvicePathRenderExTest, AssignmentReleasesTheOldRendererAndSharesTheNew) {
  // Under the sanitizers a lost renderer is a leak and a second delete a double free.
  AdvicePathRenderEx a;
  AdvicePathRenderEx b;
  a.SetClr(AdvicePathClrSetting(5, 5, 5, 5));
  b = a;
  AdvicePathClrSetting seen;
  ASSERT_TRUE(b.GetClr(seen));
  EXPECT_EQ(seen.pathColor, 5u);
  b = b;
  a = b;
  ASSERT_TRUE(a.GetClr(seen));
  EXPECT_EQ(seen.pathColor, 5u);
  AdvicePathRenderEx c;
  a = c;  // b alone holds the first renderer now
  ASSERT_TRUE(b.GetClr(seen));
  EXPECT_EQ(seen.pathColor, 5u);
}

TEST(AdvicePathRenderExTest, ProcessWideHandleIsNeverClosed) {
  AdvicePathRenderEx& shared = GetAdvicePath();
  EXPECT_EQ(&shared, &GetAdvicePath());
  EXPECT_FALSE(ClosePathRender(&shared));
  AdvicePathClrSetting colors;
  EXPECT_TRUE(shared.GetClr(colors));  // still usable
  EXPECT_TRUE(ClosePathRender(nullptr));
}

TEST(AdvicePathRenderExTest, NewPathRenderDrawsOnTheGivenViewOrTheDefault) {
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0}));
  std::vector<AdvicePathSizeSetting> table = Table(8);
  fakes::RecordingMapView view(0);
  AdvicePathRenderEx* own = NewPathRender(path.get(), &view);
  ASSERT_NE(own, nullptr);
  ASSERT_EQ(own->SetSize(table.data(), 8, 30), 1);
  own->Draw(true, false);
  EXPECT_EQ(view.GetCalls().size(), 2u);
  EXPECT_TRUE(ClosePathRender(own));

  AdvicePathRenderEx* onDefault = NewPathRender(path.get(), nullptr);
  ASSERT_NE(onDefault, nullptr);
  ASSERT_EQ(onDefault->SetSize(table.data(), 8, 30), 1);
  onDefault->Draw(true, false);
  auto& defaultView =
      dynamic_cast<Torvane::CDisplayListMapView&>(Torvane::CMapCreate::GetMapService(nullptr));
  EXPECT_EQ(defaultView.GetCalls().size(), 2u);
  EXPECT_TRUE(ClosePathRender(onDefault));
  defaultView.ClearCalls();
}

// ---- SetSize ---------------------------------------------------------------------------

TEST_F(AdvicePathRenderTest, SetSizeCopiesTheTableAndLogsItsCost) {
  std::vector<AdvicePathSizeSetting> table = Table(8);
  ASSERT_EQ(m_Handle.SetSize(table.data(), 8, 30), 1);
  table[1].pathWidth = 9999;  // the caller's table is not referenced afterwards
  EXPECT_EQ(Frame()[3].width, 101);
  ASSERT_EQ(m_Log.Lines().size(), 2u);
  EXPECT_EQ(m_Log.Lines()[0].function, "AdvicePathRender::SetSize");
  EXPECT_EQ(m_Log.Lines()[0].file, "source/render/advicepathrender.cpp");
  EXPECT_THAT(m_Log.Lines()[0].text, MatchesRegex("timerSetSize::[0-9]+\\.[0-9]{6}ms"));
  EXPECT_THAT(m_Log.Lines()[1].text,
              MatchesRegex("memcnterSetSize::PhsMem:[0-9]+KB VirMem:[0-9]+KB"));
}

// ---- Draw: route polyline ---------------------------------------------------------------

TEST_F(AdvicePathRenderTest, RouteIsDrawnBorderPassFirstThenInnerPass) {
  SetTable(8);
  m_View.Reset();
  m_Handle.Draw(true, false);
  const std::vector<fakes::ScaleQuery>& queries = m_View.ScaleQueries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[0].op, fakes::ScaleQuery::kGetScale);
  EXPECT_EQ(queries[1].op, fakes::ScaleQuery::kGetScaleIndex);
  EXPECT_EQ(queries[1].scale, 1000.0);    // GetScale's answer passed on
  EXPECT_EQ(queries[1].drawsBefore, 0u);  // both before any drawing
  const std::vector<CDrawCall>& calls = m_View.GetCalls();
  ASSERT_EQ(calls.size(), 6u);
  const AdvicePathClrSetting colors;
  for (int i = 0; i < 6; ++i) {
    const CDrawCall& call = calls[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(call.op, CDrawCall::kPolyline);
    EXPECT_EQ(call.style, 0);
    EXPECT_EQ(call.count, 3);
    EXPECT_EQ(call.color, i < 3 ? colors.pathBorderColor : colors.pathColor);
    EXPECT_EQ(call.width, i < 3 ? 201 : 101);
  }
  // Each pass walks the edges in route order, straight from the path's arrays.
  PathGuid second;
  ASSERT_TRUE(m_Path->GetGuideAt(1, second));
  EXPECT_EQ(calls[1].points[0].lon, second.firstPts[0].lon);
  EXPECT_EQ(calls[4].points[2].lon, second.firstPts[2].lon);
}

TEST_F(AdvicePathRenderTest, RouteWidthsArriveAsTheirLow16Bits) {
  m_Table = Table(8);
  m_Table[1].pathWidth = 65536;
  m_Table[1].pathBorderWidth = 65536 + 7;
  m_Handle.SetSize(m_Table.data(), 8, 30);
  EXPECT_THAT(Widths(Frame()), ElementsAre(7, 7, 7, 0, 0, 0));
  m_Table[1].pathWidth = -1;
  m_Handle.SetSize(m_Table.data(), 8, 30);
  EXPECT_EQ(Frame()[3].width, 65535);
}

TEST_F(AdvicePathRenderTest, NothingIsDrawnBeforeATableButTheScaleIsRead) {
  m_View.Reset();
  m_Handle.Draw(true, true);
  ASSERT_EQ(m_View.ScaleQueries().size(), 2u);
  EXPECT_EQ(m_View.ScaleQueries()[0].op, fakes::ScaleQuery::kGetScale);
  EXPECT_TRUE(m_View.GetCalls().empty());
  ASSERT_EQ(m_Log.NonInfoLines().size(), 1u);
  EXPECT_EQ(m_Log.NonInfoLines()[0].priority, 800);
  EXPECT_EQ(m_Log.NonInfoLines()[0].function, "AdvicePathRender::AutoSetCurScale");
  EXPECT_EQ(m_Log.NonInfoLines()[0].text, "m_CurScale > = m_SizeSetCnt \n");
}

TEST_F(AdvicePathRenderTest, ScaleIndexPastTheTableFallsBackToRowFive) {
  SetTable(8);
  m_Log.Clear();
  m_View.SetScaleIndex(7);  // the last row: used as it is
  EXPECT_EQ(Frame()[0].width, 207);
  EXPECT_TRUE(m_Log.NonInfoLines().empty());
  m_View.SetScaleIndex(8);  // equal to the row count: row 5
  EXPECT_EQ(Frame()[0].width, 205);
  ASSERT_EQ(m_Log.NonInfoLines().size(), 1u);
  EXPECT_EQ(m_Log.NonInfoLines()[0].text, "m_CurScale > = m_SizeSetCnt \n");
}

TEST_F(AdvicePathRenderTest, DrawingSwitchedOffStillReadsTheScale) {
  SetTable(8);
  SetRoute({1.0, 0.0}, {{1.0, 0.5}});
  m_Handle.EnableDrawRedLine(true);
  m_Handle.EnableDrawing(false);
  m_View.Reset();
  m_Handle.Draw(true, true);
  EXPECT_EQ(m_View.ScaleQueries().size(), 2u);  // GetScale, GetScaleIndex
  EXPECT_TRUE(m_View.GetCalls().empty());       // not even the red line
  m_Handle.EnableDrawing(true);
  EXPECT_EQ(Frame(true, false).size(), 7u);
}

TEST_F(AdvicePathRenderTest, PathWithoutPositionsLogsInEveryFrameThatAsksForIt) {
  CNavPath empty;
  SetTable(8);
  m_Handle.SetPath(&empty);
  m_Log.Clear();
  EXPECT_TRUE(Frame(true, false).empty());
  EXPECT_TRUE(Frame(true, false).empty());
  EXPECT_TRUE(Frame(false, false).empty());
  ASSERT_EQ(m_Log.Lines().size(), 2u);
  EXPECT_EQ(m_Log.Lines()[1].priority, 300);
  EXPECT_EQ(m_Log.Lines()[1].function, "AdvicePathRender::DrawPath");
  EXPECT_EQ(m_Log.Lines()[1].text, "mp_Path->GetFirstPosition() failed \n");
}

TEST_F(AdvicePathRenderTest, EdgeThePathCannotDeliverIsSkipped) {
  // Fault: a failed GetEdge left its count and points unset and they were drawn anyway.
  CNavPath path;
  std::vector<CPathGuideInput> guides = fakes::GuidesEast({1.0, 0.0}, {100.0, 200.0});
  path.AddGuide(guides[0]);
  CPathGuideInput noGeometry;
  noGeometry.hasRefPoint = true;
  noGeometry.refPoint = {2.0, 2.0};
  path.AddGuide(noGeometry);
  path.AddGuide(guides[1]);
  SetTable(8);
  m_Handle.SetPath(&path);
  const std::vector<CDrawCall> calls = Frame();
  ASSERT_EQ(calls.size(), 4u);
  for (const CDrawCall& call : calls) EXPECT_EQ(call.count, 2);
}

TEST(AdvicePathRenderWalkTest, RouteWalkOfACyclingPathStopsAtTheGuideLimit) {
  // Fault: a host path whose GetNext cycles kept the route's pass going for ever.
  fakes::LogCapture log;
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0, 200.0, 300.0}));
  fakes::RecordingMapView view(1);
  AdvicePathRender render(&view);
  std::vector<AdvicePathSizeSetting> table = Table(8);
  ASSERT_EQ(render.SetSize(table.data(), 8, 30), 1);
  ASSERT_TRUE(render.SetPath(path.get()));
  // Three edges take two steps: within a limit of 2, past a limit of 1.
  log.Clear();
  render.SetGuideWalkLimit(2);
  render.Draw(true, false);
  EXPECT_EQ(view.GetCalls().size(), 6u);
  EXPECT_TRUE(log.Lines().empty());
  view.Reset();
  render.SetGuideWalkLimit(1);
  render.Draw(true, false);
  EXPECT_EQ(view.GetCalls().size(), 2u);
  EXPECT_EQ(log.Lines().size(), 1u);

  const fakes::CyclingPath cycling(*path);
  render.SetGuideWalkLimit(7);
  log.Clear();
  view.Reset();
  render.Draw(true, false);
  // The border pass: the first edge and seven steps on, round the route; no inner pass.
  const std::vector<CDrawCall> calls = view.GetCalls();
  ASSERT_EQ(calls.size(), 8u);
  for (const CDrawCall& call : calls) {
    EXPECT_EQ(call.color, AdvicePathClrSetting().pathBorderColor);
  }
  EXPECT_EQ(calls[3].points[0].lon, calls[0].points[0].lon);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0].priority, 300);
  EXPECT_EQ(log.Lines()[0].function, "AdvicePathRender::DrawPath");
  EXPECT_EQ(log.Lines()[0].text, "mp_Path->GetNext() walked past the guide limit \n");
}

// ---- Red line -----------------------------------------------------------------------------

TEST_F(AdvicePathRenderTest, RedLineUnder200KmIsOneSegment) {
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  const tagLonLat origin = {1.0, 0.0};
  SetRoute(origin, {fakes::MetresNorth(origin, 199999.0)});
  const std::vector<CDrawCall> calls = Frame(false, false);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].count, 2);
  EXPECT_EQ(calls[0].style, 0);
  EXPECT_EQ(calls[0].color, 255u);
  EXPECT_EQ(calls[0].width, 2);
  EXPECT_EQ(calls[0].points[0].lat, 0.0);
  EXPECT_EQ(calls[0].points[1].lat, fakes::MetresNorth(origin, 199999.0).lat);
}

TEST_F(AdvicePathRenderTest, RedLineFrom200KmIsTenEqualSteps) {
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  const tagLonLat origin = {1.0, 10.0};
  tagLonLat dest = fakes::MetresNorth(origin, 200000.0);
  dest.lon = 1.5;
  // Nudge the destination until the geodesy service measures at least 200000 m.
  tagLonLat ends[2] = {origin, dest};
  while (LineLength(2, ends) < 200000.0) ends[1].lat = std::nextafter(ends[1].lat, 90.0);
  dest = ends[1];
  SetRoute(origin, {dest, {50.0, 50.0}});  // only the first destination counts
  const std::vector<CDrawCall> calls = Frame(false, false);
  ASSERT_EQ(calls.size(), 1u);
  ASSERT_EQ(calls[0].count, 11);
  EXPECT_EQ(calls[0].points[0].lat, origin.lat);
  EXPECT_EQ(calls[0].points[10].lat, dest.lat);
  EXPECT_NEAR(calls[0].points[5].lon, 1.25, 1e-12);
  EXPECT_NEAR(calls[0].points[5].lat, (origin.lat + dest.lat) / 2.0, 1e-12);
  EXPECT_NEAR(calls[0].points[3].lat, origin.lat + (dest.lat - origin.lat) * 0.3, 1e-12);
}

TEST_F(AdvicePathRenderTest, RedLineBetweenEqualPointsIsStillDrawn) {
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  SetRoute({3.0, 4.0}, {{3.0, 4.0}});
  const std::vector<CDrawCall> calls = Frame(false, false);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].count, 2);
}

TEST_F(AdvicePathRenderTest, RedLineWithoutOriginOrDestinationLogsEachFrame) {
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  GetRouteManager().GetPathManager().SetDestPoints({{1.0, 1.0}});
  m_Log.Clear();
  EXPECT_TRUE(Frame(false, false).empty());  // no origin
  GetRouteManager().GetPathManager().SetOrgPoint({1.0, 0.0});
  GetRouteManager().GetPathManager().SetDestPoints({});
  EXPECT_TRUE(Frame(false, false).empty());  // no destination
  GetRouteManager().GetPathManager().SetDestPoints({{1.0, 1.0}});
  {
    // A destination that is counted but cannot be read: no line drawn, none logged.
    const fakes::UnreadableDestinations unreadable;
    EXPECT_TRUE(Frame(false, false).empty());
  }
  ASSERT_EQ(m_Log.Lines().size(), 2u);
  for (const LogLine& line : m_Log.Lines()) {
    EXPECT_EQ(line.priority, 300);
    EXPECT_EQ(line.function, "AdvicePathRender::DrawRedLine");
    EXPECT_EQ(line.text, "Kestrix NO OrgPoint or DestPoint");
  }
}

TEST_F(AdvicePathRenderTest, RedLineOfAHugeFiniteLengthIsTenSteps) {
  // Fault: the step count was converted to int before the comparison: undefined from about
  // 4.3e14 m, which a host's geodesy may return (on x86 it came out negative: one segment).
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  SetRoute({1.0, 0.0}, {{2.0, 1.0}});
  const struct {
    double metres;
    int count;
  } cases[] = {{4.3e14, 11}, {1e300, 11}, {std::numeric_limits<double>::max(), 11}, {-1e300, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.metres);
    const fakes::FixedLineLength length(c.metres);
    const std::vector<CDrawCall> calls = Frame(false, false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].count, c.count);
  }
}

TEST_F(AdvicePathRenderTest, RedLineIsTheLastCallWithOrWithoutAPath) {
  SetTable(8);
  m_Handle.EnableDrawRedLine(true);
  SetRoute({1.0, 0.0}, {{1.0, 0.5}});
  std::vector<CDrawCall> calls = Frame(true, false);
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls.back().color, 255u);
  m_Handle.Clear();  // forgets the path: the red line stays
  calls = Frame(true, false);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].count, 2);
}

// ---- Big arrow -----------------------------------------------------------------------------

// A turn on the fixture's kind of route: ten guides of 100 m east, the turn from guide 4 to
// guide 5, a table whose rows ask for 50 m before, 50 m + 11 m after, a 10 m head 6 m wide.
class AdvicePathRenderTurnTest : public AdvicePathRenderTest {
 protected:
  AdvicePathRenderTurnTest() {
    m_Path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, std::vector<double>(10, 100.0)));
    m_Handle.SetPath(m_Path.get());
    SetTable(8);
    m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), m_Path.get());
    m_Log.Clear();
  }
  static bool IsArrowCall(const CDrawCall& call) {
    const AdvicePathClrSetting colors;
    return call.color == colors.arrowColor || call.color == colors.arrowBorderColor;
  }
  static std::size_t ArrowCalls(const std::vector<CDrawCall>& calls) {
    std::size_t n = 0;
    for (const CDrawCall& call : calls) n += IsArrowCall(call) ? 1 : 0;
    return n;
  }
};

TEST_F(AdvicePathRenderTurnTest, FrameDrawsRouteThenArrowInFixedOrderWithDefaultColours) {
  const std::vector<CDrawCall> calls = Frame(true, true);
  // Route 10 + 10; strokes: 50 m of g4, g5 (exit), 50 m of g6... cut to 61 m: 3 per pass.
  ASSERT_EQ(calls.size(), 20u + 3 + 1 + 3 + 1);
  for (int i = 0; i < 3; ++i) {
    const CDrawCall& border = calls[20 + i];
    EXPECT_EQ(border.op, CDrawCall::kPolyline);
    EXPECT_EQ(border.style, 0);
    EXPECT_EQ(border.color, 0x00000000u);
    EXPECT_EQ(border.width, 401);  // arrowBorderWidth of row 1
    const CDrawCall& inner = calls[24 + i];
    EXPECT_EQ(inner.op, CDrawCall::kPolyline);
    EXPECT_EQ(inner.color, 0x00FFFFFFu);
    EXPECT_EQ(inner.width, 301);  // arrowWidth
    EXPECT_EQ(inner.points.size(), border.points.size());
  }
  const CDrawCall& outline = calls[23];
  EXPECT_EQ(outline.op, CDrawCall::kPolyline);
  EXPECT_EQ(outline.count, 3);
  EXPECT_EQ(outline.style, 601);  // arrowHeadBorderParam
  EXPECT_EQ(outline.color, 0x00000000u);
  EXPECT_EQ(outline.width, 0x00000000);  // the colour again
  const CDrawCall& fill = calls[27];
  EXPECT_EQ(fill.op, CDrawCall::kPolygon);
  EXPECT_EQ(fill.count, 3);
  EXPECT_EQ(fill.style, 501);  // arrowHeadParam
  EXPECT_EQ(fill.color, 0x00FFFFFFu);
  EXPECT_EQ(fill.width, 0x00FFFFFF);
  for (int p = 0; p < 3; ++p) {
    EXPECT_EQ(outline.points[p].lon, fill.points[p].lon);
    EXPECT_EQ(outline.points[p].lat, fill.points[p].lat);
  }
}

TEST_F(AdvicePathRenderTurnTest, HeadLengthReachesTheCutAsReserveAndTheHeadAsItIs) {
  // arrowHeadLength 10. With exit length 50 the cut guide g6 (600 m .. 700 m) keeps 61 m:
  // T = 50 + 11 overshot by 39. The head's base lies 10 m behind its tip.
  const std::vector<CDrawCall> calls = Frame(false, true);
  ASSERT_EQ(calls.size(), 8u);
  const CDrawCall& fill = calls.back();
  EXPECT_NEAR(fill.points[0].lon, fakes::MetresEast({1.0, 0.0}, 661).lon, 1e-12);
  EXPECT_NEAR(fill.points[1].lon, fakes::MetresEast({1.0, 0.0}, 651).lon, 1e-12);
  // With exit length 0 the cut keeps the reserve itself: 11 m (10 x 1.1), not 10 m.
  m_Table[1].arrowExitLength = 0;
  m_Table[1].arrowLengthTolerance = 0;
  m_Handle.SetSize(m_Table.data(), 8, 30);
  const std::vector<CDrawCall> reserve = Frame(false, true);
  ASSERT_EQ(reserve.size(), 8u);
  EXPECT_NEAR(reserve.back().points[0].lon, fakes::MetresEast({1.0, 0.0}, 611).lon, 1e-12);
  EXPECT_NEAR(reserve.back().points[1].lon, fakes::MetresEast({1.0, 0.0}, 601).lon, 1e-12);
  const std::vector<LogLine> info = m_Log.LinesStartingWith("timerDrawTurn::");
  ASSERT_EQ(info.size(), 2u);
  EXPECT_EQ(info[0].function, "AdvicePathRender::DrawTurn");
  EXPECT_THAT(m_Log.LinesStartingWith("memcnterDrawTurn::")[0].text,
              MatchesRegex("memcnterDrawTurn::PhsMem:[0-9]+KB VirMem:[0-9]+KB"));
}

TEST_F(AdvicePathRenderTurnTest, HiddenArrowLogsEachFrameUntilTheNextTurn) {
  m_Handle.ClearBigArrow();
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 0u);
  EXPECT_EQ(Frame(true, true).size(), 20u);  // the route is still drawn
  ASSERT_EQ(m_Log.Lines().size(), 2u);
  for (const LogLine& line : m_Log.Lines()) {
    EXPECT_EQ(line.priority, 800);
    EXPECT_EQ(line.function, "AdvicePathRender::DrawTurn");
    EXPECT_EQ(line.text, "m_isClearBigArrow is ture Or mp_MapView is NULL \n");
  }
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), nullptr);  // no path: stays hidden
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 0u);
  EXPECT_EQ(m_Log.Lines()[2].priority, 0);
  EXPECT_EQ(m_Log.Lines()[2].function, "AdvicePathRender::SetTurnInfo");
  EXPECT_EQ(m_Log.Lines()[2].text, "path is NULL \n");
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), m_Path.get());
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 8u);
  EXPECT_EQ(m_Log.LinesStartingWith("timerSetTurnInfo::").size(), 1u);
  EXPECT_EQ(m_Log.LinesStartingWith("memcnterSetTurnInfo::").size(), 1u);
}

TEST_F(AdvicePathRenderTurnTest, ClearForgetsRouteAndArrowUntilSetAgain) {
  m_Handle.Clear();
  EXPECT_TRUE(Frame(true, true).empty());
  EXPECT_TRUE(Frame(true, true).empty());
  const std::vector<LogLine> errors = m_Log.NonInfoLines();
  ASSERT_EQ(errors.size(), 2u);
  for (const LogLine& line : errors) {
    EXPECT_EQ(line.priority, 300);
    EXPECT_EQ(line.function, "AdvicePathRender::DrawTurn");
    EXPECT_EQ(line.text, "GenerateCrossEdges failed \n");
  }
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), m_Path.get());
  EXPECT_EQ(Frame(true, true).size(), 8u);  // the arrow is back, the route is not
  m_Handle.SetPath(m_Path.get());
  EXPECT_EQ(Frame(true, true).size(), 28u);
}

TEST_F(AdvicePathRenderTurnTest, FailedArrowheadDrawsNoArrowAndSaysSo) {
  // Enter and exit are the last guide: one stroke, which cannot carry a head.
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 9, 9), m_Path.get());
  m_Log.Clear();
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 0u);
  ASSERT_EQ(m_Log.NonInfoLines().size(), 1u);
  EXPECT_EQ(m_Log.NonInfoLines()[0].priority, 300);
  EXPECT_EQ(m_Log.NonInfoLines()[0].text, "GenerateCrossEdges failed \n");
  EXPECT_TRUE(m_Log.LinesStartingWith("timerDrawTurn::").empty());
}

TEST_F(AdvicePathRenderTurnTest, ArrowScaleLimitUsesTheViewsIndexNotTheClampedRow) {
  SetTable(3, 4);
  m_View.SetScaleIndex(7);  // falls back to 5 > 4: no arrow, though the row used is 2
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 0u);
  m_View.SetScaleIndex(-1);  // -1 <= 4: the arrow, from row 0
  const std::vector<CDrawCall> calls = Frame(true, true);
  ASSERT_EQ(ArrowCalls(calls), 8u);
  EXPECT_EQ(calls[20].width, 400);
  m_View.SetScaleIndex(2);
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 8u);
}

TEST_F(AdvicePathRenderTurnTest, NegativeArrowScaleLimitNeverDrawsTheArrow) {
  SetTable(8, -1);
  for (int index : {0, 1, 7}) {
    m_View.SetScaleIndex(index);
    const std::vector<CDrawCall> calls = Frame(true, true);
    EXPECT_EQ(ArrowCalls(calls), 0u);
    EXPECT_EQ(calls.size(), 20u);
  }
}

TEST_F(AdvicePathRenderTurnTest, TracedOperationsMeasureOnlyWhenInformationLinesAreWritten) {
  // Without listeners a traced operation takes no memory snapshot and writes no line.
  m_Log.SetPriority(log4cpp::Priority::WARN);
  const unsigned long before = GetMemoryStatusCount();
  EXPECT_EQ(SetTable(8), 1);
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), m_Path.get());
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 8u);
  EXPECT_EQ(GetMemoryStatusCount(), before);
  EXPECT_TRUE(m_Log.Lines().empty());

  // Listened to: two snapshots and the two lines of each operation.
  m_Log.SetPriority(log4cpp::Priority::INFO);
  EXPECT_EQ(SetTable(8), 1);
  m_Handle.SetTurnInfo(fakes::MakeTurn(*m_Path, 4, 5), m_Path.get());
  EXPECT_EQ(ArrowCalls(Frame(true, true)), 8u);
  EXPECT_EQ(GetMemoryStatusCount(), before + 6);
  const struct {
    const char* function;
    const char* text;
  } expected[] = {
      {"AdvicePathRender::SetSize", "timerSetSize::[0-9]+\\.[0-9]{6}ms"},
      {"AdvicePathRender::SetSize", "memcnterSetSize::PhsMem:[0-9]+KB VirMem:[0-9]+KB"},
      {"AdvicePathRender::SetTurnInfo", "timerSetTurnInfo::[0-9]+\\.[0-9]{6}ms"},
      {"AdvicePathRender::SetTurnInfo", "memcnterSetTurnInfo::PhsMem:[0-9]+KB VirMem:[0-9]+KB"},
      {"AdvicePathRender::DrawTurn", "timerDrawTurn::[0-9]+\\.[0-9]{6}ms"},
      {"AdvicePathRender::DrawTurn", "memcnterDrawTurn::PhsMem:[0-9]+KB VirMem:[0-9]+KB"},
  };
  ASSERT_EQ(m_Log.Lines().size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m_Log.Lines()[i].priority, 600);
    EXPECT_EQ(m_Log.Lines()[i].function, expected[i].function);
    EXPECT_THAT(m_Log.Lines()[i].text, MatchesRegex(expected[i].text));
  }
}

TEST_F(AdvicePathRenderTurnTest, ArrowComesBeforeTheRedLine) {
  m_Handle.EnableDrawRedLine(true);
  SetRoute({1.0, 0.0}, {{1.0, 0.5}});
  const std::vector<CDrawCall> calls = Frame(true, true);
  ASSERT_EQ(calls.size(), 29u);
  EXPECT_EQ(calls[27].op, CDrawCall::kPolygon);
  EXPECT_EQ(calls[28].color, 255u);
}

// ---- A whole frame on a realistic junction ------------------------------------------------

// Local metres east and north of `origin` (equirectangular; good to centimetres over a few
// kilometres).
struct Xy {
  double x;
  double y;
};
Xy ToXy(const tagLonLat& origin, const tagLonLat& p) {
  const double kMetresPerDegree = fakes::kMetresPerDegree;
  return {(p.lon - origin.lon) * kMetresPerDegree * std::cos(origin.lat * kPi / 180.0),
          (p.lat - origin.lat) * kMetresPerDegree};
}

// Distance along `line` (metres from its start) of the point of `line` nearest to p, and
// p's distance from it in `off`.
double AlongLine(const std::vector<tagLonLat>& line, const tagLonLat& p, double& off) {
  const tagLonLat origin = line.front();
  const Xy q = ToXy(origin, p);
  double best = 1e300;
  double along = 0.0;
  double run = 0.0;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const Xy a = ToXy(origin, line[i - 1]);
    const Xy b = ToXy(origin, line[i]);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    double t = len > 0 ? ((q.x - a.x) * dx + (q.y - a.y) * dy) / (len * len) : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    const double d = std::hypot(a.x + t * dx - q.x, a.y + t * dy - q.y);
    if (d < best) {
      best = d;
      along = run + t * len;
    }
    run += len;
  }
  off = best;
  return along;
}

TEST(AdvicePathRenderFrameTest, StrokesFollowARealisticJunctionAndEndWhereTheyShould) {
  // A curving avenue of four guides (200 points) runs east into a junction; a street of
  // three guides (150 points) leaves it north-east. Guides are 50 points each.
  const tagLonLat junctionStart = {13.3889, 52.5170};
  std::vector<tagLonLat> line;
  for (int i = 0; i <= 200; ++i) {  // about 1.2 km east with a gentle bend
    const double t = i / 200.0;
    line.push_back({junctionStart.lon + 0.018 * t, junctionStart.lat + 0.0012 * std::sin(3.0 * t)});
  }
  const tagLonLat junction = line.back();
  for (int i = 1; i <= 150; ++i) {  // about 900 m north-east, slightly curving
    const double t = i / 150.0;
    line.push_back({junction.lon + 0.008 * t + 0.0004 * t * t, junction.lat + 0.0055 * t});
  }
  std::vector<CPathGuideInput> guides;
  for (std::size_t start = 0; start + 1 < line.size(); start += 50) {
    const std::size_t end = std::min(start + 50, line.size() - 1);
    guides.push_back(fakes::Guide(std::vector<tagLonLat>(line.begin() + static_cast<long>(start),
                                                         line.begin() + static_cast<long>(end) + 1),
                                  start < 200 ? "Avenue" : "Street"));
  }
  ASSERT_EQ(guides.size(), 7u);
  auto path = fakes::MakePath(guides);
  fakes::RecordingMapView view(2);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  AdvicePathSizeSetting row = {8, 12, 14, 20, 1, 2, 120, 80, 10, 30, 18};
  std::vector<AdvicePathSizeSetting> table(6, row);
  ASSERT_EQ(handle->SetSize(table.data(), 6, 4), 1);
  handle->SetTurnInfo(fakes::MakeTurn(*path, 3, 4), path.get());
  handle->Draw(true, true);
  ASSERT_TRUE(ClosePathRender(handle));

  const std::vector<CDrawCall> calls = view.GetCalls();
  ASSERT_GE(calls.size(), 14u + 2 * 2 + 2);
  const std::size_t strokes = (calls.size() - 14 - 2) / 2;
  ASSERT_EQ(calls.size(), 14 + 2 * strokes + 2);
  EXPECT_EQ(calls[14 + strokes].count, 3);  // the outline between the two stroke passes
  EXPECT_EQ(calls.back().op, CDrawCall::kPolygon);

  // Every stroke point lies on the route, within a metre.
  double junctionAlong = 0.0;
  double off = 0.0;
  junctionAlong = AlongLine(line, junction, off);
  std::vector<double> along;
  for (std::size_t s = 0; s < strokes; ++s) {
    for (const tagLonLat& p : calls[14 + s].points) {
      along.push_back(AlongLine(line, p, off));
      EXPECT_LT(off, 1.0) << "stroke " << s;
    }
  }
  // The strokes start 80 m before the junction (the enter length, cut exactly) ...
  EXPECT_NEAR(junctionAlong - along.front(), 80.0, 0.5);
  // ... and the head's tip lies past the exit guide by the exit length plus the reserve
  // (120 + 33 m), give or take the tolerance of 10 m.
  const double exitEnd = AlongLine(line, guides[4].points.back(), off);
  const double tip = AlongLine(line, calls.back().points[0], off);
  EXPECT_LT(off, 1.0);
  EXPECT_NEAR(tip - exitEnd, 153.0, 10.0);
  // The stroke passes run forward along the route.
  for (std::size_t i = 1; i < along.size(); ++i) EXPECT_GE(along[i] + 1e-6, along[i - 1]);
}

// ---- Bad input ------------------------------------------------------------------------------

// A map view that counts each frame's calls by what they draw, told apart by the default
// colours, and keeps nothing else: a frame of a million edges costs no memory.
class CountingMapView : public Torvane::CMapService {
 public:
  void DrawPolyline(const tagLonLat*, int, int, unsigned color, int width) override {
    Count(color, width);
  }
  void DrawPolygon(const tagLonLat*, int, int, unsigned color, int width) override {
    Count(color, width);
    ++m_Polygons;
  }
  double GetScale() override { return 1000.0; }
  int GetScaleIndex(double) override { return m_ScaleIndex; }

  void SetScaleIndex(int scaleIndex) { m_ScaleIndex = scaleIndex; }
  void Reset() { m_Route = m_Arrow = m_Polygons = m_Red = m_BorderWidth = 0; }

  long m_Route = 0;       // route polylines, both passes
  long m_Arrow = 0;       // arrow calls: strokes, outline and fill
  long m_Polygons = 0;    // arrowhead fills
  long m_Red = 0;         // red lines
  int m_BorderWidth = 0;  // width of the last route border call: which row was used

 private:
  void Count(unsigned color, int width) {
    const AdvicePathClrSetting colors;
    if (color == 255u) {
      ++m_Red;
    } else if (color == colors.pathBorderColor) {
      ++m_Route;
      m_BorderWidth = width;
    } else if (color == colors.pathColor) {
      ++m_Route;
    } else {
      ++m_Arrow;
    }
  }
  int m_ScaleIndex = 1;
};

// Ten guides of 100 m east from (1, 0), `points` points each.
std::vector<CPathGuideInput> TenGuides(int points = 3, const tagLonLat& start = {1.0, 0.0}) {
  return fakes::GuidesEast(start, std::vector<double>(10, 100.0), points);
}

// The set-up every bad-input case starts from: a handle from NewPathRender on a ten-guide
// route and a counting view at scale index 1, the eight-row table, the turn from guide 4 to
// guide 5. Each frame then draws the route (20 calls, border width 201) and the arrow.
struct BadInputScene {
  BadInputScene()
      : path(fakes::MakePath(TenGuides())),
        other(fakes::MakePath(TenGuides(3, {50.0, 10.0}))),
        table(Table(8)),
        handle(NewPathRender(path.get(), &view)) {
    handle->SetSize(table.data(), 8, 30);
    handle->SetTurnInfo(fakes::MakeTurn(*path, 4, 5), path.get());
    log.Clear();
  }
  ~BadInputScene() {
    ClosePathRender(handle);
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }
  // Draws the route from `guides` instead, with the turn from guide 4 to guide 5.
  void UseRoute(const std::vector<CPathGuideInput>& guides) {
    std::unique_ptr<CNavPath> replaced = fakes::MakePath(guides);
    handle->SetPath(replaced.get());
    handle->SetTurnInfo(fakes::MakeTurn(*replaced, 4, 5), replaced.get());
    path = std::move(replaced);
  }
  // Draws with a renderer of its own instead of the handle, on the same route, view and
  // table, with walks of at most `limit` steps: only the renderer can lower the limit.
  AdvicePathRender& UseRenderer(long limit) {
    render = std::make_unique<AdvicePathRender>(&view);
    render->SetGuideWalkLimit(limit);
    render->SetSize(table.data(), static_cast<int>(table.size()), 30);
    render->SetPath(path.get());
    return *render;
  }
  void Draw() {
    if (render) {
      render->Draw(true, true);
    } else {
      handle->Draw(true, true);
    }
  }
  // A turn entering at guide `enter` of the path whose exit guide lies on no guide of it.
  CTurnInfo TurnLeavingThePath(int enter) const {
    CTurnInfo turn = fakes::MakeTurn(*path, enter, enter + 1);
    NavGuid elsewhere;
    fakes::MakeTurn(*other, 4, 5).GetExitGuide(0, elsewhere);
    turn.SetExitGuide(elsewhere);
    return turn;
  }

  fakes::LogCapture log;
  std::unique_ptr<CNavPath> path;
  std::unique_ptr<CNavPath> other;  // a route far from the path: guides on no guide of it
  CountingMapView view;
  std::vector<AdvicePathSizeSetting> table;
  AdvicePathRenderEx* handle;
  std::unique_ptr<AdvicePathRender> render;  // set by UseRenderer
  std::optional<fakes::CyclingPath> cycling;
};

// Ten guides with the middle point of guides 3 to 6 (around the turn) at (value, value).
std::vector<CPathGuideInput> GuidesWithPoint(double value) {
  std::vector<CPathGuideInput> guides = TenGuides();
  for (int g = 3; g <= 6; ++g) guides[static_cast<std::size_t>(g)].points[1] = {value, value};
  return guides;
}

// Ten guides whose points each come twice, and a guide 3 of length 0 (all its points equal).
std::vector<CPathGuideInput> GuidesWithZeroLengthSegments() {
  std::vector<CPathGuideInput> guides = TenGuides();
  for (CPathGuideInput& guide : guides) {
    std::vector<tagLonLat> doubled;
    for (const tagLonLat& p : guide.points) doubled.insert(doubled.end(), {p, p});
    guide.points = doubled;
  }
  for (tagLonLat& p : guides[3].points) p = guides[3].points.front();
  return guides;
}

struct ExpectedLine {
  int priority;
  const char* function;
  const char* text;
};

enum class Arrow {
  kNone,           // no arrow call
  kDrawn,          // strokes, outline and one fill
  kDrawnOrFailed,  // drawn, or not drawn with "GenerateCrossEdges failed \n" (the builder's say)
};

constexpr int kVoid = std::numeric_limits<int>::min();  // the call returns nothing

// What every frame after a case draws.
struct Drawn {
  long route;       // route calls, both passes
  int borderWidth;  // the route's border width: 200 + the row used; 0 without a route
  Arrow arrow;
  long red;  // red lines
};

struct BadInputCase {
  const char* what;
  int (*run)(BadInputScene&, double);  // gives the bad input: result, or kVoid
  double arg;                          // run's second argument
  int result;
  std::vector<ExpectedLine> callLines;   // written by `run`
  std::vector<ExpectedLine> frameLines;  // written by every frame after it
  bool builderLines;                     // the builder may write lines of its own in between
  Drawn drawn;
};

// `lines` are `expected`, in order; with `others`, further lines may come in between.
void ExpectLines(const std::vector<LogLine>& lines, const std::vector<ExpectedLine>& expected,
                 bool others) {
  std::size_t found = 0;
  for (const LogLine& line : lines) {
    if (found < expected.size() && line.priority == expected[found].priority &&
        line.function == expected[found].function && line.text == expected[found].text) {
      ++found;
    } else {
      EXPECT_TRUE(others) << "unexpected line " << line.priority << " " << line.function << ": "
                          << line.text;
    }
  }
  EXPECT_EQ(found, expected.size())
      << "missing line: " << (found < expected.size() ? expected[found].text : "");
}

const ExpectedLine kNoPath = {0, "AdvicePathRender::SetTurnInfo", "path is NULL \n"};
const ExpectedLine kNoView = {0, "AdvicePathRender::AutoSetCurScale", "mp_MapView is NULL \n"};
const ExpectedLine kTableNull = {300, "AdvicePathRender::SetSize",
                                 "AdvicePathSizeSetting is NULL \n"};
const ExpectedLine kTableNotAllocated = {0, "AdvicePathRender::SetSize",
                                         "new AdvicePathSizeSetting failed \n"};
const ExpectedLine kPastTheTable = {800, "AdvicePathRender::AutoSetCurScale",
                                    "m_CurScale > = m_SizeSetCnt \n"};
const ExpectedLine kArrowFailed = {300, "AdvicePathRender::DrawTurn",
                                   "GenerateCrossEdges failed \n"};
const ExpectedLine kRouteLimit = {300, "AdvicePathRender::DrawPath",
                                  "mp_Path->GetNext() walked past the guide limit \n"};
const ExpectedLine kTurnLimit = {300, "CCrossPathEdges::SetCrossInfo",
                                 "mp_Path->GetNextGuid() walked past the guide limit \n"};
const ExpectedLine kCutLimit = {300, "CCrossPathEdges::GenerateCrossEdges",
                                "mp_Path->GetNextGuid() walked past the guide limit \n"};

// The bad inputs, each given to the scene's handle (or renderer) with its argument.
int SetPathNull(BadInputScene& s, double) { return s.handle->SetPath(nullptr) ? 1 : 0; }
int SetTurnInfoWithoutPath(BadInputScene& s, double) {
  s.handle->SetTurnInfo(fakes::MakeTurn(*s.path, 6, 7), nullptr);
  return kVoid;
}
int NewPathRenderWithoutPath(BadInputScene& s, double) {
  ClosePathRender(s.handle);
  s.handle = NewPathRender(nullptr, &s.view);
  s.handle->SetSize(s.table.data(), 8, 30);
  s.handle->SetTurnInfo(fakes::MakeTurn(*s.path, 4, 5), s.path.get());
  return s.handle != nullptr ? 1 : 0;
}
int RedLineTo(BadInputScene& s, const tagLonLat& origin, const tagLonLat& dest) {
  s.handle->EnableDrawRedLine(true);
  GetRouteManager().GetPathManager().SetOrgPoint(origin);
  GetRouteManager().GetPathManager().SetDestPoints({dest});
  return kVoid;
}
int SetDrawParmNull(BadInputScene& s, double) {
  RedLineTo(s, {1.0, 0.0}, {1.0, 0.5});
  return s.handle->SetDrawParm(nullptr) ? 1 : 0;
}
int SetSizeWithoutTable(BadInputScene& s, double) { return s.handle->SetSize(nullptr, 8, -1); }
int SetSizeRows(BadInputScene& s, double rows) {
  return s.handle->SetSize(s.table.data(), static_cast<int>(rows), -1);
}
int ScaleIndex(BadInputScene& s, double index) {
  s.view.SetScaleIndex(static_cast<int>(index));
  return kVoid;
}
int ScaleIndexPastThreeRows(BadInputScene& s, double) {
  s.table = Table(3);
  s.view.SetScaleIndex(3);
  return s.handle->SetSize(s.table.data(), 3, 30);
}
int RouteThroughPoint(BadInputScene& s, double value) {
  s.UseRoute(GuidesWithPoint(value));
  return kVoid;
}
int RedLineToPoint(BadInputScene& s, double value) {
  return RedLineTo(s, {1.0, 0.0}, {value, value});
}
int RedLineFromPoint(BadInputScene& s, double value) {
  return RedLineTo(s, {value, value}, {1.0, 1.0});
}
int RouteOfLongestGuides(BadInputScene& s, double) {
  // Guides 4 and 6, which the arrow cuts, keep three points: a cut copies its points one at
  // a time, and 65,535 of them take seconds in a sanitizer build. The exit guide 5 goes
  // into the arrow whole.
  std::vector<CPathGuideInput> guides = TenGuides(static_cast<int>(CPath::kMaxGuidePoints));
  const std::vector<CPathGuideInput> shortGuides = TenGuides();
  guides[4] = shortGuides[4];
  guides[6] = shortGuides[6];
  s.UseRoute(guides);
  return kVoid;
}
int RouteWithZeroLengths(BadInputScene& s, double) {
  s.UseRoute(GuidesWithZeroLengthSegments());
  return kVoid;
}
int TurnNotOnThePath(BadInputScene& s, double) {
  s.handle->SetTurnInfo(fakes::MakeTurn(*s.other, 4, 5), s.path.get());
  return kVoid;
}
int TurnLeavingThePath(BadInputScene& s, double) {
  s.handle->SetTurnInfo(s.TurnLeavingThePath(4), s.path.get());
  return kVoid;
}
int CyclingRoute(BadInputScene& s, double) {
  s.cycling.emplace(*s.path);
  return kVoid;
}
int CyclingToTurn(BadInputScene& s, double) {
  s.cycling.emplace(*s.path);
  return TurnNotOnThePath(s, 0.0);
}
int CyclingThroughTurn(BadInputScene& s, double limit) {
  s.cycling.emplace(*s.path);
  s.UseRenderer(static_cast<long>(limit)).SetTurnInfo(s.path.get(), s.TurnLeavingThePath(4));
  return kVoid;
}
int CyclingAfterTurn(BadInputScene& s, double limit) {
  s.cycling.emplace(*s.path);
  for (AdvicePathSizeSetting& row : s.table) row.arrowExitLength = 2000000000;  // metres
  s.UseRenderer(static_cast<long>(limit)).SetTurnInfo(s.path.get(), fakes::MakeTurn(*s.path, 4, 5));
  return kVoid;
}

TEST(AdvicePathRenderBadInputTest, EveryCaseGivesItsResultAndLinesAndNeverCrashesOrHangs) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  const double kIntMin = std::numeric_limits<int>::min();
  const double kIntMax = std::numeric_limits<int>::max();
  // What the frames draw: the route with border width 200 + row, arrow, red lines.
  const Drawn kAll = {20, 201, Arrow::kDrawn, 0};
  const Drawn kNothing = {0, 0, Arrow::kNone, 0};
  const Drawn kNoRoute = {0, 0, Arrow::kDrawn, 0};
  const Drawn kNoArrow = {20, 201, Arrow::kNone, 0};
  const Drawn kMaybeArrow = {20, 201, Arrow::kDrawnOrFailed, 0};
  const Drawn kRow0 = {20, 200, Arrow::kDrawn, 0};
  const Drawn kRow2 = {20, 202, Arrow::kDrawn, 0};
  const Drawn kRow5 = {20, 205, Arrow::kDrawn, 0};
  const Drawn kRedLine = {20, 201, Arrow::kDrawn, 1};
  // A cycling path's route: the first edge and one per step up to the limit, border only.
  const long kCycled = kDefaultGuideWalkLimit + 1;
  const Drawn kCycledAll = {kCycled, 201, Arrow::kDrawn, 0};
  const Drawn kCycledRoute = {kCycled, 201, Arrow::kNone, 0};
  const Drawn kCut50 = {51, 201, Arrow::kNone, 0};
  const std::vector<ExpectedLine> kToTurnLines = {kRouteLimit, kArrowFailed};
  const std::vector<ExpectedLine> kCutLines = {kRouteLimit, kCutLimit, kArrowFailed};
  const BadInputCase cases[] = {
      // Null path, view and table.
      {"SetPath(NULL)", SetPathNull, 0, 0, {}, {}, false, kAll},
      {"SetTurnInfo(turn, NULL)", SetTurnInfoWithoutPath, 0, kVoid, {kNoPath}, {}, false, kAll},
      {"NewPathRender(NULL, view)", NewPathRenderWithoutPath, 0, 1, {}, {}, false, kNoRoute},
      {"SetDrawParm(NULL)", SetDrawParmNull, 0, 1, {}, {kNoView}, false, kNothing},
      {"SetSize(NULL, 8, -1)", SetSizeWithoutTable, 0, 0, {kTableNull}, {}, false, kAll},
      // Row counts 0, negative and huge: refused; the table and the arrow scale stay.
      {"0 rows", SetSizeRows, 0, 0, {kTableNull}, {}, false, kAll},
      {"-1 rows", SetSizeRows, -1, 0, {kTableNotAllocated}, {}, false, kAll},
      {"INT_MIN rows", SetSizeRows, kIntMin, 0, {kTableNotAllocated}, {}, false, kAll},
      // 100 million rows would take 4.4 GB: refused before the caller's rows are read.
      {"rows over 4 GiB", SetSizeRows, 1e8, 0, {kTableNotAllocated}, {}, false, kAll},
      {"INT_MAX rows", SetSizeRows, kIntMax, 0, {kTableNotAllocated}, {}, false, kAll},
      // Scale indexes outside the table: the row looked up stays inside it. (A negative
      // index was once read before the table, the fallback row 5 past a short one.)
      {"scale index -4", ScaleIndex, -4, kVoid, {}, {}, false, kRow0},
      {"scale index INT_MIN", ScaleIndex, kIntMin, kVoid, {}, {}, false, kRow0},
      {"scale index INT_MAX", ScaleIndex, kIntMax, kVoid, {}, {kPastTheTable}, false, kRow5},
      {"row 5 of 3", ScaleIndexPastThreeRows, 0, 1, {}, {kPastTheTable}, false, kRow2},
      // Points that are not numbers, infinite or huge around the turn: the route is drawn as
      // given, the arrow is the builder's to draw or refuse.
      {"NaN points", RouteThroughPoint, kNaN, kVoid, {}, {}, true, kMaybeArrow},
      {"+inf points", RouteThroughPoint, kInf, kVoid, {}, {}, true, kMaybeArrow},
      {"-inf points", RouteThroughPoint, -kInf, kVoid, {}, {}, true, kMaybeArrow},
      {"+1e308 points", RouteThroughPoint, 1e308, kVoid, {}, {}, true, kMaybeArrow},
      {"-1e308 points", RouteThroughPoint, -1e308, kVoid, {}, {}, true, kMaybeArrow},
      // The same at the red line's ends: no line without a length. (A NaN length was once
      // converted to a step count.)
      {"red line to NaN", RedLineToPoint, kNaN, kVoid, {}, {}, false, kAll},
      {"red line from NaN", RedLineFromPoint, kNaN, kVoid, {}, {}, false, kAll},
      {"red line to +inf", RedLineToPoint, kInf, kVoid, {}, {}, false, kAll},
      {"red line to -inf", RedLineToPoint, -kInf, kVoid, {}, {}, false, kAll},
      {"red line to +1e308", RedLineToPoint, 1e308, kVoid, {}, {}, false, kRedLine},
      {"red line to -1e308", RedLineToPoint, -1e308, kVoid, {}, {}, false, kRedLine},
      // Geometry at its limits.
      {"65,535-point guides", RouteOfLongestGuides, 0, kVoid, {}, {}, false, kAll},
      {"zero-length segments", RouteWithZeroLengths, 0, kVoid, {}, {}, true, kMaybeArrow},
      // Turns that do not fit the path: no arrow.
      {"enter not on the path", TurnNotOnThePath, 0, kVoid, {}, {kArrowFailed}, true, kNoArrow},
      {"ends inside the turn", TurnLeavingThePath, 0, kVoid, {}, {kArrowFailed}, true, kNoArrow},
      // A host path that cycles: every walk stops at the guide walk limit with its line, and
      // a cut-off border pass is not followed by the inner pass.
      {"cycle the route", CyclingRoute, 0, kVoid, {}, {kRouteLimit}, false, kCycledAll},
      {"cycle to turn", CyclingToTurn, 0, kVoid, {kTurnLimit}, kToTurnLines, true, kCycledRoute},
      // The walks through and after the turn keep a stroke per guide: a million times round
      // would hold a million strokes, so these two lower the limit to 50 on a renderer.
      {"cycle through the turn", CyclingThroughTurn, 50, kVoid, {}, kCutLines, true, kCut50},
      {"cycle after the turn", CyclingAfterTurn, 50, kVoid, {}, kCutLines, true, kCut50},
  };
  for (const BadInputCase& c : cases) {
    SCOPED_TRACE(c.what);
    BadInputScene scene;
    EXPECT_EQ(c.run(scene, c.arg), c.result);
    ExpectLines(scene.log.NonInfoLines(), c.callLines, c.builderLines);
    for (int frame = 0; frame < 2; ++frame) {  // the same again: nothing was used up
      SCOPED_TRACE(frame);
      scene.log.Clear();
      scene.view.Reset();
      scene.Draw();
      const std::vector<LogLine> lines = scene.log.NonInfoLines();
      ExpectLines(lines, c.frameLines, c.builderLines);
      EXPECT_EQ(scene.view.m_Route, c.drawn.route);
      EXPECT_EQ(scene.view.m_BorderWidth, c.drawn.borderWidth);
      EXPECT_EQ(scene.view.m_Red, c.drawn.red);
      const bool failed = std::any_of(lines.begin(), lines.end(), [](const LogLine& line) {
        return line.text == kArrowFailed.text;
      });
      switch (c.drawn.arrow) {
        case Arrow::kNone:
          EXPECT_EQ(scene.view.m_Arrow, 0);
          break;
        case Arrow::kDrawn:
          EXPECT_EQ(scene.view.m_Polygons, 1);
          EXPECT_GE(scene.view.m_Arrow, 2 * 2 + 2);  // two strokes or more, twice, the head
          break;
        case Arrow::kDrawnOrFailed:
          EXPECT_TRUE(scene.view.m_Polygons == 1 ? !failed : failed && scene.view.m_Arrow == 0);
          break;
      }
    }
  }
}

}  // namespace
