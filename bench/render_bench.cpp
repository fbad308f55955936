// What does one map frame cost the application beyond walking its route, and what does a new
// manoeuvre cost?
//
// - BM_BareRouteLoop: the floor. The edges of a route of about 2,000 points walked twice
//   through the path's own GetFirstPosition, GetNext and GetEdge into a view that draws
//   nothing, with no renderer in between. A route-only frame cannot be cheaper.
// - BM_DrawRouteOnly: Draw(true, false) on the same route and view: the renderer's cost over
//   the floor (the scale queries, its checks and the walk's bound).
// - BM_DrawRouteAndTurn: Draw(true, true) with a turn ahead: the big arrow's strokes are cut
//   again on every frame.
// - BM_DrawRouteAndTurnTraced: the same frame with the category's information lines enabled
//   into an appender that drops them: what tracing costs a host that listens.
// - BM_DrawRouteAndTurnUnheard: the same frame with log4cpp as it comes, the root category
//   at INFO and no appender anywhere: information lines are enabled but reach nobody, so the
//   frame should cost what BM_DrawRouteAndTurn costs.
// - BM_DrawSampleFrame: the shipped sample route at its own turn, default size table row 1:
//   a real junction rather than a synthetic one (built with the program's tools only).
// - BM_SetTurnInfo: taking a turn near the end of routes of 10,000 and 100,000 guides; the
//   walk to the turn should grow linearly.
// - BM_TracedOperation: the stopwatch and the two memory snapshots of one traced operation.
// Every drawing benchmark reports its frames per second ("items_per_second") and its heap
// allocations per frame ("allocs/frame"). Except in the traced and the unheard frame, the
// category writes only errors, so the numbers measure the renderer, not the host's appenders.
#include <benchmark/benchmark.h>

#include <cmath>
#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/Priority.hh>
#include <memory>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "logging.h"
#include "memcounter.h"
#include "recording_map_view.h"
#include "route_builder.h"

#ifdef ADVICEPATH_BENCH_SAMPLE_ROUTE
#include "input/routefile.h"
#include "input/sizetable.h"
#endif

namespace {

// Route of the synthetic frames: 50 guides of 40 points, the turn from guide 30 to 31, the
// view at scale index 2 and arrows up to index 5.
constexpr int kGuides = 50;
constexpr int kPointsPerGuide = 40;
constexpr int kScaleIndex = 2;

// An appender that takes every line and keeps none of it.
class CDiscardingAppender : public log4cpp::AppenderSkeleton {
 public:
  CDiscardingAppender() : log4cpp::AppenderSkeleton("discard") {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent&) override {}
};

log4cpp::Category& RenderCategory() { return log4cpp::Category::getInstance("pathRender"); }

// Errors only, to the category's usual appenders.
void QuietLog() {
  log4cpp::Category& category = RenderCategory();
  category.removeAllAppenders();
  category.setAdditivity(true);
  category.setPriority(log4cpp::Priority::ERROR);
}

// log4cpp as it comes: the root at INFO, the category inheriting it, no appender anywhere.
void UnheardLog() {
  log4cpp::Category& root = log4cpp::Category::getRoot();
  root.removeAllAppenders();
  root.setPriority(log4cpp::Priority::INFO);
  log4cpp::Category& category = RenderCategory();
  category.removeAllAppenders();
  category.setAdditivity(true);
  category.setPriority(log4cpp::Priority::NOTSET);
}

// Information lines and above, into an appender that drops them.
void ListeningLog() {
  log4cpp::Category& category = RenderCategory();
  category.removeAllAppenders();
  category.setAdditivity(false);
  category.setPriority(log4cpp::Priority::INFO);
  category.addAppender(new CDiscardingAppender());  // the category owns it
}

// `guides` guides of `pointsPerGuide` points, about 30 m apart, winding east then north.
std::unique_ptr<CNavPath> MakeRoute(int guides, int pointsPerGuide) {
  auto path = std::make_unique<CNavPath>();
  tagLonLat at = {8.5, 47.37};
  for (int g = 0; g < guides; ++g) {
    std::vector<tagLonLat> points;
    for (int p = 0; p < pointsPerGuide; ++p) {
      points.push_back(at);
      const double heading = 0.3 * std::sin(g * 0.7 + p * 0.05);
      at = {at.lon + 0.0003 * std::cos(heading), at.lat + 0.0002 * std::sin(heading) + 0.00005};
    }
    path->AddGuide(fakes::Guide(points, "road"));
  }
  return path;
}

std::vector<AdvicePathSizeSetting> Table() {
  const AdvicePathSizeSetting row = {8, 12, 14, 20, 1, 2, 120, 80, 10, 30, 18};
  return std::vector<AdvicePathSizeSetting>(8, row);
}

// Reports allocations and points per frame from the counts before the timed loop.
void ReportPerFrame(benchmark::State& state, long allocsBefore, const fakes::NullMapView& view,
                    long pointsBefore) {
  state.counters["allocs/frame"] =
      benchmark::Counter(static_cast<double>(fakes::AllocationCount() - allocsBefore),
                         benchmark::Counter::kAvgIterations);
  state.counters["points/frame"] = benchmark::Counter(
      static_cast<double>(view.Points() - pointsBefore), benchmark::Counter::kAvgIterations);
}

// One pass of the bare loop: what DrawPath's pass does, without the renderer.
void BarePass(const CPath& path, Torvane::CMapService* view, unsigned color, int width) {
  for (const void* pos = path.GetFirstPosition(); pos != nullptr; pos = path.GetNext(pos)) {
    unsigned short count = 0;
    tagLonLat* points = nullptr;
    if (path.GetEdge(pos, count, points) == 0) continue;
    view->DrawPolyline(points, count, 0, color, width);
  }
}

void BM_BareRouteLoop(benchmark::State& state) {
  QuietLog();
  auto path = MakeRoute(kGuides, kPointsPerGuide);
  fakes::NullMapView nullView(kScaleIndex);
  Torvane::CMapService* view = &nullView;
  benchmark::DoNotOptimize(view);  // called through the interface, as the renderer does
  const AdvicePathClrSetting colors;
  BarePass(*path, view, colors.pathBorderColor, 12);
  if (nullView.Calls() != kGuides || nullView.Points() != kGuides * kPointsPerGuide) {
    state.SkipWithError("unexpected number of drawing calls");
    return;
  }
  const long allocs = fakes::AllocationCount();
  const long points = nullView.Points();
  for (auto _ : state) {
    BarePass(*path, view, colors.pathBorderColor, 12);
    BarePass(*path, view, colors.pathColor, 8);
  }
  ReportPerFrame(state, allocs, nullView, points);
}
BENCHMARK(BM_BareRouteLoop);

// Frames on the synthetic route through a handle, after one checked frame.
void RunFrames(benchmark::State& state, bool drawArrow) {
  auto path = MakeRoute(kGuides, kPointsPerGuide);
  fakes::NullMapView view(kScaleIndex);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  std::vector<AdvicePathSizeSetting> table = Table();
  handle->SetSize(table.data(), 8, 5);
  handle->SetTurnInfo(fakes::MakeTurn(*path, 30, 31), path.get());
  handle->Draw(true, drawArrow);
  // Two route passes; the arrow's three strokes twice, its outline and its fill.
  const long expectedCalls = 2 * kGuides + (drawArrow ? 2 * 3 + 2 : 0);
  if (view.Calls() != expectedCalls) {
    state.SkipWithError("unexpected number of drawing calls");
    ClosePathRender(handle);
    return;
  }
  const long allocs = fakes::AllocationCount();
  const long points = view.Points();
  for (auto _ : state) handle->Draw(true, drawArrow);
  state.SetItemsProcessed(state.iterations());
  ReportPerFrame(state, allocs, view, points);
  ClosePathRender(handle);
}

void BM_DrawRouteOnly(benchmark::State& state) {
  QuietLog();
  RunFrames(state, false);
}
BENCHMARK(BM_DrawRouteOnly);

void BM_DrawRouteAndTurn(benchmark::State& state) {
  QuietLog();
  RunFrames(state, true);
}
BENCHMARK(BM_DrawRouteAndTurn);

void BM_DrawRouteAndTurnTraced(benchmark::State& state) {
  ListeningLog();
  RunFrames(state, true);
  QuietLog();
}
BENCHMARK(BM_DrawRouteAndTurnTraced);

void BM_DrawRouteAndTurnUnheard(benchmark::State& state) {
  UnheardLog();
  RunFrames(state, true);
  QuietLog();
}
BENCHMARK(BM_DrawRouteAndTurnUnheard);

#ifdef ADVICEPATH_BENCH_SAMPLE_ROUTE
void BM_DrawSampleFrame(benchmark::State& state) {
  QuietLog();
  tool::CRouteFile route;
  tool::CSizeTable sizes;
  std::string error;
  CNavPath path;
  if (!tool::LoadRouteFile(ADVICEPATH_BENCH_SAMPLE_ROUTE, route, error) ||
      !tool::LoadDefaultSizeTable(sizes, error) || !tool::BuildPath(route, path) || !route.turn) {
    state.SkipWithError(error.empty() ? "the sample route has no turn" : error.c_str());
    return;
  }
  std::vector<AdvicePathSizeSetting> table = sizes.rows;
  CTurnInfo turn;
  if (!turn.SetFromPath(path, route.turn->enter, route.turn->exit,
                        static_cast<NAV_TURN_TYPE_tag>(route.turn->type))) {
    state.SkipWithError("the sample's turn is not on its path");
    return;
  }
  fakes::NullMapView view(1);
  AdvicePathRenderEx* handle = NewPathRender(&path, &view);
  handle->SetSize(table.data(), static_cast<int>(table.size()), sizes.maxTurnScale.value_or(0));
  handle->SetTurnInfo(turn, &path);
  handle->Draw(route.drawRoute, route.drawArrow);
  // The route's two passes, then at least two strokes twice, the outline and the fill.
  const long routeCalls = 2 * static_cast<long>(route.guides.size());
  const long arrowCalls = view.Calls() - routeCalls;
  if (arrowCalls < 2 * 2 + 2 || arrowCalls % 2 != 0) {
    state.SkipWithError("the sample frame drew no arrow");
    ClosePathRender(handle);
    return;
  }
  const long allocs = fakes::AllocationCount();
  const long points = view.Points();
  for (auto _ : state) handle->Draw(route.drawRoute, route.drawArrow);
  ReportPerFrame(state, allocs, view, points);
  ClosePathRender(handle);
}
BENCHMARK(BM_DrawSampleFrame);
#endif

void BM_SetTurnInfo(benchmark::State& state) {
  QuietLog();
  const int guides = static_cast<int>(state.range(0));
  auto path = MakeRoute(guides, 3);
  AdvicePathRenderEx handle(path.get());
  const CTurnInfo turn = fakes::MakeTurn(*path, guides - 3, guides - 2);
  for (auto _ : state) handle.SetTurnInfo(turn, path.get());
  state.SetComplexityN(guides);
}
BENCHMARK(BM_SetTurnInfo)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

void BM_TracedOperation(benchmark::State& state) {
  for (auto _ : state) {
    Timer timer;
    MemCounter counter;
    timer.StartTime();
    counter.Start();
    counter.Stop();
    timer.EndTime();
    benchmark::DoNotOptimize(timer.GetTime());
    char szBuf[MemCounter::kBufSize];
    benchmark::DoNotOptimize(counter.Format(szBuf));
  }
}
BENCHMARK(BM_TracedOperation);

}  // namespace
