#include "recording_map_view.h"

namespace fakes {

RecordingMapView::RecordingMapView(int scaleIndex, double scale)
    : m_ScaleIndex(scaleIndex), m_Scale(scale) {}

void RecordingMapView::RecordDraw(RecordedCall::Op op, const tagLonLat* points, int count,
                                  int style, unsigned color, int width) {
  RecordedCall call;
  call.op = op;
  call.pts = points;
  if (points != nullptr && count > 0) call.points.assign(points, points + count);
  call.count = count;
  call.style = style;
  call.color = color;
  call.width = width;
  m_Calls.push_back(call);
}

void RecordingMapView::DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                                    int width) {
  RecordDraw(RecordedCall::kPolyline, points, count, style, color, width);
}

void RecordingMapView::DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                                   int width) {
  RecordDraw(RecordedCall::kPolygon, points, count, style, color, width);
}

double RecordingMapView::GetScale() {
  RecordedCall call{};
  call.op = RecordedCall::kGetScale;
  m_Calls.push_back(call);
  return m_Scale;
}

int RecordingMapView::GetScaleIndex(double scale) {
  RecordedCall call{};
  call.op = RecordedCall::kGetScaleIndex;
  call.scale = scale;
  m_Calls.push_back(call);
  return m_ScaleIndex;
}

std::vector<RecordedCall> RecordingMapView::DrawCalls() const {
  std::vector<RecordedCall> draws;
  for (const RecordedCall& call : m_Calls) {
    if (call.op == RecordedCall::kPolyline || call.op == RecordedCall::kPolygon) {
      draws.push_back(call);
    }
  }
  return draws;
}

}  // namespace fakes
