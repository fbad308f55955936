#include "output/calldump.h"

#include <nlohmann/json.hpp>

namespace tool {

CCallDumpView::CCallDumpView(Torvane::CMapService& inner) : m_Inner(inner) {}

CCallDumpView::~CCallDumpView() = default;

void CCallDumpView::DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                                 int width) {
  m_Recorded.DrawPolyline(points, count, style, color, width);
  m_Inner.DrawPolyline(points, count, style, color, width);
}

void CCallDumpView::DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                                int width) {
  m_Recorded.DrawPolygon(points, count, style, color, width);
  m_Inner.DrawPolygon(points, count, style, color, width);
}

double CCallDumpView::GetScale() { return m_Inner.GetScale(); }

int CCallDumpView::GetScaleIndex(double scale) { return m_Inner.GetScaleIndex(scale); }

std::string FormatCallDump(const std::vector<Torvane::CDrawCall>& calls) {
  std::string text = "[";
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const Torvane::CDrawCall& call = calls[i];
    // ordered_json keeps the members in the documented order; nlohmann prints doubles in
    // the shortest form that parses back to the same value.
    nlohmann::ordered_json item;
    item["op"] = call.op == Torvane::CDrawCall::kPolyline ? "DrawPolyline" : "DrawPolygon";
    item["points"] = nlohmann::ordered_json::array();
    for (const tagLonLat& point : call.points) item["points"].push_back({point.lon, point.lat});
    item["count"] = call.count;
    item["third"] = call.style;
    item["color"] = call.color;
    item["fifth"] = call.width;
    text += (i == 0 ? "\n" : ",\n") + item.dump();
  }
  text += "\n]\n";
  return text;
}

}  // namespace tool
