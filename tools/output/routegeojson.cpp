#include "output/routegeojson.h"

#include <cstring>
#include <nlohmann/json.hpp>

namespace tool {

namespace {

using nlohmann::ordered_json;

// Compact JSON on one line; bad UTF-8 replaced rather than thrown about.
std::string Dump(const ordered_json& value) {
  return value.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

ordered_json Position(const tagLonLat& point) {
  return ordered_json::array({point.lon, point.lat});
}

bool SameBits(const tagLonLat& a, const tagLonLat& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

ordered_json TurnObject(const CRouteTurn& turn) {
  ordered_json object = {{"enter", turn.enter}, {"exit", turn.exit}, {"type", turn.type}};
  if (!turn.note.empty()) object["note"] = turn.note;
  return object;
}

ordered_json Feature(const CRouteGuide& guide) {
  ordered_json properties = ordered_json::object();
  if (!guide.name.empty()) properties["name"] = guide.name;
  if (guide.ref) properties["ref"] = Position(*guide.ref);
  ordered_json coordinates = ordered_json::array();
  for (const tagLonLat& point : guide.points) coordinates.push_back(Position(point));
  return {{"type", "Feature"},
          {"properties", properties},
          {"geometry", {{"type", "LineString"}, {"coordinates", coordinates}}}};
}

// The items of a list, one per line, indented under a member.
std::string List(const char* name, const std::vector<std::string>& items) {
  std::string text = std::string(" \"") + name + "\": [";
  for (std::size_t i = 0; i < items.size(); ++i) {
    text += (i == 0 ? "\n  " : ",\n  ") + items[i];
  }
  return text + (items.empty() ? "]" : "\n ]");
}

// The members that set up a frame, those that differ from a file without them.
std::string FrameMembers(const CRouteFile& route) {
  ordered_json members = ordered_json::object();
  if (route.sizes) {
    ordered_json rows = ordered_json::array();
    for (const AdvicePathSizeSetting& row : *route.sizes) {
      ordered_json fields = ordered_json::object();
      for (const CSizeField& field : kSizeFields) fields[field.name] = row.*field.member;
      rows.push_back(fields);
    }
    members["sizes"] = rows;
  }
  if (route.maxTurnScale) members["maxTurnScale"] = *route.maxTurnScale;
  if (route.scaleIndex) members["scaleIndex"] = *route.scaleIndex;
  const AdvicePathClrSetting defaults;
  for (const CColorField& field : kColorFields) {
    if (route.colors.*field.member != defaults.*field.member) {
      members["colors"][field.name] = route.colors.*field.member;
    }
  }
  if (route.redLine) members["redLine"] = true;
  if (!route.drawRoute || !route.drawArrow) members["flags"] = {route.drawRoute, route.drawArrow};
  std::string text;
  for (const auto& member : members.items()) {
    text += " " + Dump(member.key()) + ": " + Dump(member.value()) + ",\n";
  }
  return text;
}

}  // namespace

std::string FormatRouteGeoJson(const CRouteFile& route) {
  std::string text = "{\n \"type\": \"FeatureCollection\",\n" + FrameMembers(route);
  if (!route.attribution.empty()) {
    text += " \"attribution\": " + Dump(route.attribution) + ",\n";
  }
  std::vector<std::string> items;
  for (const CRouteTurn& turn : route.turns) items.push_back(Dump(TurnObject(turn)));
  text += List("turns", items) + ",\n";
  if (route.turn) text += " \"turn\": " + Dump(TurnObject(*route.turn)) + ",\n";
  const bool located = !route.guides.empty() && !route.guides.front().points.empty() &&
                       !route.guides.back().points.empty();
  if (located && !SameBits(route.origin, route.guides.front().points.front())) {
    text += " \"origin\": " + Dump(Position(route.origin)) + ",\n";
  }
  if (located && !SameBits(route.dest, route.guides.back().points.back())) {
    text += " \"dest\": " + Dump(Position(route.dest)) + ",\n";
  }
  items.clear();
  for (const CRouteGuide& guide : route.guides) items.push_back(Dump(Feature(guide)));
  return text + List("features", items) + "\n}\n";
}

}  // namespace tool
