#include "output/calldump.h"

#include <nlohmann/json.hpp>

namespace tool {

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
