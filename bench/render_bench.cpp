// What does one map frame cost the application, and what does a new manoeuvre cost?
//
// - BM_DrawRouteAndTurn: one Draw(true, true) with a turn ahead on a route of about 2,000
//   points, into a view that draws nothing: the library's own time and heap allocations
//   per frame (the strokes are rebuilt on every frame, so they allocate).
// - BM_DrawRouteOnly: Draw(true, false) on the same route: the route alone must not
//   allocate.
// - BM_SetTurnInfo: taking a turn near the end of routes of 10,000 and 100,000 guides; the
//   walk to the turn should grow linearly.
// - BM_TracedOperation: the stopwatch and the two memory snapshots every traced operation
//   pays, against reading /proc/meminfo twice, which it does not.
// Log lines are switched off (category at error) so that the numbers measure the renderer,
// not the host's appenders.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <log4cpp/Category.hh>
#include <log4cpp/Priority.hh>
#include <memory>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "logging.h"
#include "memcounter.h"
#include "recording_map_view.h"
#include "route_builder.h"

namespace {

void QuietLog() {
  log4cpp::Category::getInstance("pathRender").setPriority(log4cpp::Priority::ERROR);
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

void RunFrames(benchmark::State& state, bool drawArrow) {
  QuietLog();
  auto path = MakeRoute(50, 40);  // 2,000 points
  fakes::NullMapView view(2);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  std::vector<AdvicePathSizeSetting> table = Table();
  handle->SetSize(table.data(), 8, 5);
  handle->SetTurnInfo(fakes::MakeTurn(*path, 30, 31), path.get());
  handle->Draw(true, drawArrow);
  const long expectedCalls = 100 + (drawArrow ? 2 * 3 + 2 : 0);
  if (view.Calls() != expectedCalls) {
    state.SkipWithError("unexpected number of drawing calls");
    ClosePathRender(handle);
    return;
  }
  const long before = fakes::AllocationCount();
  for (auto _ : state) handle->Draw(true, drawArrow);
  state.counters["allocs/frame"] = benchmark::Counter(
      static_cast<double>(fakes::AllocationCount() - before), benchmark::Counter::kAvgIterations);
  state.counters["points/frame"] =
      benchmark::Counter(static_cast<double>(view.Points()), benchmark::Counter::kAvgIterations);
  ClosePathRender(handle);
}

void BM_DrawRouteAndTurn(benchmark::State& state) { RunFrames(state, true); }
BENCHMARK(BM_DrawRouteAndTurn);

void BM_DrawRouteOnly(benchmark::State& state) { RunFrames(state, false); }
BENCHMARK(BM_DrawRouteOnly);

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

// For comparison: what two snapshots would cost if each read and parsed /proc/meminfo.
void BM_MeminfoTwice(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < 2; ++i) {
      std::FILE* f = std::fopen("/proc/meminfo", "r");
      if (f == nullptr) {
        state.SkipWithError("no /proc/meminfo");
        return;
      }
      char line[256];
      unsigned long long total = 0;
      unsigned long long available = 0;
      while (std::fgets(line, sizeof line, f) != nullptr) {
        std::sscanf(line, "MemTotal: %llu kB", &total);
        std::sscanf(line, "MemAvailable: %llu kB", &available);
      }
      std::fclose(f);
      benchmark::DoNotOptimize(total - available);
    }
  }
}
BENCHMARK(BM_MeminfoTwice);

}  // namespace
