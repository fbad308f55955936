// Question: what does cutting a guide polyline to a length cost, for the guides a route
// really has (20 to 200 points, segments of 1 to 200 m), and what does one quarter-degree
// direction cost? The arrow is rebuilt every frame from a few such trims, and the direction
// search runs linearly through a 361-row tangent table: these numbers say whether either is
// worth making faster.
//
// Polylines come from a fixed-seed generator: segment lengths uniform in [1, 200] m, headings
// a random walk, near latitude 40. Every case is checked once before timing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "crossedge.h"
#include "direction.h"
#include "geodesy.h"

namespace {

// A polyline of n points starting at (116.4, 39.9).
std::vector<tagLonLat> MakePolyline(int n) {
  std::mt19937 rng(20240601u + static_cast<unsigned>(n));
  std::uniform_real_distribution<double> segMetres(1.0, 200.0);
  std::uniform_real_distribution<double> turn(-0.8, 0.8);  // radians per segment
  std::vector<tagLonLat> pts = {{116.4, 39.9}};
  double heading = 0.3;  // radians, counter-clockwise from east
  for (int i = 1; i < n; ++i) {
    heading += turn(rng);
    double lonPerMeter = 0.0;
    double latPerMeter = 0.0;
    GetUnitDegree(pts.back(), lonPerMeter, latPerMeter);
    const double d = segMetres(rng);
    pts.push_back({pts.back().lon + std::cos(heading) * d * lonPerMeter,
                   pts.back().lat + std::sin(heading) * d * latPerMeter});
  }
  return pts;
}

// Trims the polyline of state.range(0) points to state.range(1) percent of its length,
// keeping its head or its tail, into a new edge each time as the edge vector does.
void BenchTrim(benchmark::State& state, bool head) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<tagLonLat> pts = MakePolyline(n);
  const double length = LineLength(static_cast<unsigned short>(n), pts.data()) *
                        static_cast<double>(state.range(1)) / 100.0;
  {
    CCrossEdge edge;
    const int r =
        head ? edge.TrimToHead(pts.data(), n, length) : edge.TrimToTail(pts.data(), n, length);
    const double kept = LineLength(static_cast<unsigned short>(edge.GetPtNum()), edge.GetPts());
    const tagLonLat end = head ? edge.GetPt(0) : edge.GetPt(edge.GetPtNum() - 1);
    const tagLonLat expectedEnd = head ? pts.front() : pts.back();
    if (r < 0 || std::fabs(kept - length) > 0.01 || end.lon != expectedEnd.lon ||
        end.lat != expectedEnd.lat) {
      state.SkipWithError("trim kept the wrong part");
      return;
    }
  }
  for (auto _ : state) {
    CCrossEdge edge;
    const int r =
        head ? edge.TrimToHead(pts.data(), n, length) : edge.TrimToTail(pts.data(), n, length);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(edge.GetPts());
  }
}

void BM_TrimToHead(benchmark::State& state) { BenchTrim(state, true); }
void BM_TrimToTail(benchmark::State& state) { BenchTrim(state, false); }

// True when index (quarter degrees) lies within a quarter degree of the direction of (dx, dy)
// on the x-axis side, as truncation toward the x axis puts it.
bool IndexMatches(unsigned short index, double dx, double dy) {
  double trueQuarters = std::atan2(dy, dx) * 720.0 / kPi;  // (-1440, 1440]
  if (trueQuarters < 0.0) trueQuarters += 1440.0;
  double diff = std::fabs(index - trueQuarters);
  if (diff > 720.0) diff = 1440.0 - diff;
  return diff < 1.0 + 1e-9;
}

// The direction of every segment of a polyline of state.range(0) points, on the ground (the
// longitudes rescaled as GetOffsetPoint does).
void BM_GetDirectionIndex(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<tagLonLat> pts = MakePolyline(n);
  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree(pts.front(), lonPerMeter, latPerMeter);
  for (tagLonLat& p : pts) p.lon *= latPerMeter / lonPerMeter;
  for (int i = 0; i + 1 < n; ++i) {
    const unsigned short index =
        GetDirectionIndex(pts[i].lon, pts[i].lat, pts[i + 1].lon, pts[i + 1].lat);
    if (!IndexMatches(index, pts[i + 1].lon - pts[i].lon, pts[i + 1].lat - pts[i].lat)) {
      state.SkipWithError("direction index off by more than a quarter degree");
      return;
    }
  }
  for (auto _ : state) {
    unsigned sum = 0;
    for (int i = 0; i + 1 < n; ++i) {
      sum += GetDirectionIndex(pts[i].lon, pts[i].lat, pts[i + 1].lon, pts[i + 1].lat);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * (n - 1));
}

// One direction at state.range(0) degrees from east: the linear search is shortest near the
// x axis and longest near the y axis.
void BM_GetDirectionIndexAtAngle(benchmark::State& state) {
  const double rad = static_cast<double>(state.range(0)) * kPi / 180.0 + 1e-6;
  double dx = std::cos(rad);
  double dy = std::sin(rad);
  if (!IndexMatches(GetDirectionIndex(0.0, 0.0, dx, dy), dx, dy)) {
    state.SkipWithError("direction index off by more than a quarter degree");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(dx);
    benchmark::DoNotOptimize(dy);
    benchmark::DoNotOptimize(GetDirectionIndex(0.0, 0.0, dx, dy));
  }
}

BENCHMARK(BM_TrimToHead)
    ->ArgsProduct({{20, 50, 100, 200}, {10, 50, 90}})
    ->ArgNames({"points", "percent"});
BENCHMARK(BM_TrimToTail)
    ->ArgsProduct({{20, 50, 100, 200}, {10, 50, 90}})
    ->ArgNames({"points", "percent"});
BENCHMARK(BM_GetDirectionIndex)->Arg(20)->Arg(50)->Arg(100)->Arg(200)->ArgName("points");
BENCHMARK(BM_GetDirectionIndexAtAngle)->Arg(1)->Arg(45)->Arg(89)->ArgName("degrees");

}  // namespace
