#include "recording_map_view.h"

namespace fakes {

RecordingMapView::RecordingMapView(int scaleIndex, double scale)
    : m_ScaleIndex(scaleIndex), m_Scale(scale) {}

double RecordingMapView::GetScale() {
  m_Queries.push_back({ScaleQuery::kGetScale, 0.0, GetCalls().size()});
  return m_Scale;
}

int RecordingMapView::GetScaleIndex(double scale) {
  m_Queries.push_back({ScaleQuery::kGetScaleIndex, scale, GetCalls().size()});
  return m_ScaleIndex;
}

void RecordingMapView::Reset() {
  ClearCalls();
  m_Queries.clear();
}

}  // namespace fakes
