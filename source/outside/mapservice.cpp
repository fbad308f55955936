#include "mapservice.h"

#include <algorithm>
#include <utility>

namespace Torvane {

CMapService::~CMapService() = default;

int ScaleIndexFromLadder(const std::vector<double>& ladder, double scale) {
  // A NaN scale compares false everywhere and lands past the ladder, like a huge one.
  const auto it =
      std::find_if(ladder.begin(), ladder.end(), [scale](double bound) { return scale <= bound; });
  return static_cast<int>(it - ladder.begin());
}

CDisplayListMapView::CDisplayListMapView() : m_Scale(1.0), m_Ladder(DefaultLadder()) {}

CDisplayListMapView::~CDisplayListMapView() = default;

std::vector<double> CDisplayListMapView::DefaultLadder() {
  return {0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0};
}

void CDisplayListMapView::SetScale(double metresPerPixel) { m_Scale = metresPerPixel; }

void CDisplayListMapView::SetScaleLadder(const std::vector<double>& ascendingBounds) {
  m_Ladder = ascendingBounds;
}

void CDisplayListMapView::Record(CDrawCall::Op op, const tagLonLat* points, int count, int style,
                                 unsigned color, int width) {
  CDrawCall call{op, {}, count, style, color, width};
  if (points != nullptr && count > 0) call.points.assign(points, points + count);
  m_Calls.push_back(std::move(call));
}

void CDisplayListMapView::DrawPolyline(const tagLonLat* points, int count, int style,
                                       unsigned color, int width) {
  Record(CDrawCall::kPolyline, points, count, style, color, width);
}

void CDisplayListMapView::DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                                      int width) {
  Record(CDrawCall::kPolygon, points, count, style, color, width);
}

double CDisplayListMapView::GetScale() {
  m_Calls.clear();
  return m_Scale;
}

int CDisplayListMapView::GetScaleIndex(double scale) {
  return ScaleIndexFromLadder(m_Ladder, scale);
}

const std::vector<CDrawCall>& CDisplayListMapView::GetCalls() const { return m_Calls; }

void CDisplayListMapView::ClearCalls() { m_Calls.clear(); }

CMapService& CMapCreate::GetMapService(void* /*config*/) {
  static CDisplayListMapView view;
  return view;
}

}  // namespace Torvane
