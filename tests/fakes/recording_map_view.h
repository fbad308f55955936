// A map view for tests and the fuzz targets: records every call the renderer makes, in order,
// with the points copied (so every point handed over is read), and answers the scale queries
// with values the test sets.
#ifndef ADVICEPATH_TESTS_FAKES_RECORDING_MAP_VIEW_H_
#define ADVICEPATH_TESTS_FAKES_RECORDING_MAP_VIEW_H_

#include <string>
#include <vector>

#include "mapservice.h"

namespace fakes {

struct RecordedCall {
  enum Op { kGetScale, kGetScaleIndex, kPolyline, kPolygon };
  Op op;
  const tagLonLat* pts = nullptr;  // the array as passed; only compared, never read later
  std::vector<tagLonLat> points;   // copied; empty for the scale queries
  int count = 0;
  int style = 0;  // the third value
  unsigned color = 0;
  int width = 0;       // the fifth value
  double scale = 0.0;  // GetScaleIndex's argument
};

class RecordingMapView : public Torvane::CMapService {
 public:
  // GetScale answers `scale`, GetScaleIndex answers `scaleIndex` whatever its argument.
  explicit RecordingMapView(int scaleIndex = 0, double scale = 1000.0);

  void SetScaleIndex(int scaleIndex) { m_ScaleIndex = scaleIndex; }
  int ScaleIndex() const { return m_ScaleIndex; }

  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override;
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                   int width) override;
  double GetScale() override;
  int GetScaleIndex(double scale) override;

  const std::vector<RecordedCall>& Calls() const { return m_Calls; }
  // Only the draw calls, in order.
  std::vector<RecordedCall> DrawCalls() const;
  void Reset() { m_Calls.clear(); }

 private:
  void RecordDraw(RecordedCall::Op op, const tagLonLat* points, int count, int style,
                  unsigned color, int width);

  int m_ScaleIndex;
  double m_Scale;
  std::vector<RecordedCall> m_Calls;
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
