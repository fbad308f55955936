// Map views for tests, benchmarks and the fuzz targets.
//
// RecordingMapView is the outside layer's display list (Torvane::CDisplayListMapView: every
// draw call recorded as a Torvane::CDrawCall, points copied, so every point handed over is
// read) with its scale answers pinned to values the test sets, whatever the ladder, and a
// note of each scale query. NullMapView draws and records nothing. One thread per view.
#ifndef ADVICEPATH_TESTS_FAKES_RECORDING_MAP_VIEW_H_
#define ADVICEPATH_TESTS_FAKES_RECORDING_MAP_VIEW_H_

#include <cstddef>
#include <vector>

#include "mapservice.h"

namespace fakes {

// One scale query the renderer made: which, with what argument, and how many draw calls the
// view had recorded by then.
struct ScaleQuery {
  enum Op { kGetScale, kGetScaleIndex };
  Op op;
  double scale;             // GetScaleIndex's argument; 0 for GetScale
  std::size_t drawsBefore;  // draw calls recorded before the query
};

class RecordingMapView : public Torvane::CDisplayListMapView {
 public:
  // GetScale answers `scale`, GetScaleIndex answers `scaleIndex` whatever its argument.
  explicit RecordingMapView(int scaleIndex = 0, double scale = 1000.0);

  void SetScaleIndex(int scaleIndex) { m_ScaleIndex = scaleIndex; }
  int ScaleIndex() const { return m_ScaleIndex; }

  // Answers the pinned scale and notes the query. Unlike the display list's own GetScale it
  // keeps the calls recorded so far: they stay until Reset, so that a test sees every frame
  // it drew since.
  double GetScale() override;
  // Answers the pinned index and notes the query.
  int GetScaleIndex(double scale) override;

  // The scale queries since Reset, in order. The draw calls are GetCalls().
  const std::vector<ScaleQuery>& ScaleQueries() const { return m_Queries; }
  // Forgets the draw calls and the scale queries.
  void Reset();

 private:
  int m_ScaleIndex;                   // GetScaleIndex's answer: a row of the size table
  double m_Scale;                     // GetScale's answer, metres per pixel
  std::vector<ScaleQuery> m_Queries;  // since Reset
};

// A map view that draws nothing and allocates nothing: for benchmarks and allocation counts.
class NullMapView : public Torvane::CMapService {
 public:
  explicit NullMapView(int scaleIndex = 0) : m_ScaleIndex(scaleIndex) {}
  void DrawPolyline(const tagLonLat*, int count, int, unsigned, int) override {
    ++m_Calls;
    m_Points += count;
  }
  void DrawPolygon(const tagLonLat*, int count, int, unsigned, int) override {
    ++m_Calls;
    m_Points += count;
  }
  double GetScale() override { return 1.0; }
  int GetScaleIndex(double) override { return m_ScaleIndex; }
  long Calls() const { return m_Calls; }
  long Points() const { return m_Points; }

 private:
  int m_ScaleIndex;
  long m_Calls = 0;
  long m_Points = 0;
};

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_RECORDING_MAP_VIEW_H_
