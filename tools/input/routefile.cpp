#include "input/routefile.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "geodesy.h"
#include "input/inputfile.h"
#include "input/jsonread.h"
#include "path.h"

namespace tool {

const std::array<CColorField, 4> kColorFields = {{
    {"pathColor", &AdvicePathClrSetting::pathColor},
    {"pathBorderColor", &AdvicePathClrSetting::pathBorderColor},
    {"arrowColor", &AdvicePathClrSetting::arrowColor},
    {"arrowBorderColor", &AdvicePathClrSetting::arrowBorderColor},
}};

namespace {

using nlohmann::json;

// Stands for a member that is absent. A named object, so that `present ? member : kAbsent`
// is a reference to the member rather than a copy of it.
const json kAbsent;

std::string Index(const std::string& where, std::size_t i) {
  return where + "[" + std::to_string(i) + "]";
}

// Reads an optional text member of the object at `where` ("" for the top level): absent or
// null leaves `text` unchanged.
bool ReadText(const json& object, const char* member, const std::string& where, std::string& text,
              std::string& error) {
  const auto found = object.find(member);
  if (found == object.end() || found->is_null()) return true;
  if (!found->is_string()) {
    error = (where.empty() ? std::string() : where + ".") + member + ": must be text";
    return false;
  }
  text = found->get<std::string>();
  return true;
}

bool ParseGuide(const json& feature, const std::string& where, CRouteGuide& guide,
                std::string& error) {
  const json* geometry =
      feature.is_object() && feature.contains("geometry") ? &feature["geometry"] : nullptr;
  if (geometry == nullptr || !geometry->is_object() || !geometry->contains("type") ||
      (*geometry)["type"] != "LineString") {
    const bool typed = geometry != nullptr && geometry->is_object() && geometry->contains("type") &&
                       (*geometry)["type"].is_string();
    error = where + ": geometry is not a LineString" +
            (typed ? " (" + (*geometry)["type"].get<std::string>() + ")" : std::string());
    return false;
  }
  const json& coordinates =
      geometry->contains("coordinates") ? (*geometry)["coordinates"] : kAbsent;
  const std::string at = where + ".geometry.coordinates";
  if (!coordinates.is_array() || coordinates.size() < 2) {
    error = at + ": a guide needs at least two points";
    return false;
  }
  if (coordinates.size() > CPath::kMaxGuidePoints) {
    error = at + ": a guide holds at most 65535 points";
    return false;
  }
  guide.points.resize(coordinates.size());
  for (std::size_t k = 0; k < coordinates.size(); ++k) {
    if (!ReadLonLat(coordinates[k], Index(at, k), guide.points[k], error)) return false;
  }
  const json& properties = feature.contains("properties") ? feature["properties"] : kAbsent;
  if (properties.is_null()) return true;
  if (!properties.is_object()) {
    error = where + ".properties: must be an object";
    return false;
  }
  if (!ReadText(properties, "name", where + ".properties", guide.name, error)) return false;
  if (properties.contains("ref") && !properties["ref"].is_null()) {
    tagLonLat ref;
    if (!ReadLonLat(properties["ref"], where + ".properties.ref", ref, error)) return false;
    guide.ref = ref;
  }
  return true;
}

bool ParseTurn(const json& object, const std::string& where, CRouteTurn& turn, std::string& error) {
  if (!object.is_object() || !object.contains("enter") || !object.contains("exit")) {
    error = where + ": a turn must be an object with \"enter\" and \"exit\"";
    return false;
  }
  long long enter = 0;
  long long exit = 0;
  long long type = 0;
  if (!ReadInt(object["enter"], where + ".enter", INT_MIN, INT_MAX, enter, error) ||
      !ReadInt(object["exit"], where + ".exit", INT_MIN, INT_MAX, exit, error)) {
    return false;
  }
  if (object.contains("type") &&
      !ReadInt(object["type"], where + ".type", 0, kMaxTurnType, type, error)) {
    return false;
  }
  turn.enter = static_cast<int>(enter);
  turn.exit = static_cast<int>(exit);
  turn.type = static_cast<int>(type);
  return ReadText(object, "note", where, turn.note, error);
}

}  // namespace

bool ReadColor(const json& value, const std::string& where, unsigned& color, std::string& error) {
  if (value.is_string()) {
    const std::string text = value.get<std::string>();
    char* end = nullptr;
    const bool hex = text.size() > 2 && text.size() <= 10 && text[0] == '0' &&
                     (text[1] == 'x' || text[1] == 'X') &&
                     std::isxdigit(static_cast<unsigned char>(text[2])) != 0;
    const unsigned long parsed = hex ? std::strtoul(text.c_str() + 2, &end, 16) : 0;
    if (!hex || *end != '\0') {
      error = where + ": a colour must be a number or \"0x00BBGGRR\"";
      return false;
    }
    color = static_cast<unsigned>(parsed);
    return true;
  }
  long long number = 0;
  if (!ReadInt(value, where, 0, 0xFFFFFFFFll, number, error)) return false;
  color = static_cast<unsigned>(number);
  return true;
}

namespace {

bool ParseColors(const json& object, CRouteFile& route, std::string& error) {
  if (!object.is_object()) {
    error = "colors: must be an object";
    return false;
  }
  for (const auto& item : object.items()) {
    std::size_t i = 0;
    while (i < kColorFields.size() && item.key() != kColorFields[i].name) ++i;
    if (i == kColorFields.size()) {
      error = "colors: unknown colour " + item.key();
      return false;
    }
    if (!ReadColor(item.value(), "colors." + item.key(), route.colors.*kColorFields[i].member,
                   error)) {
      return false;
    }
  }
  return true;
}

bool ParseFeatures(const json& document, CRouteFile& route, std::string& error) {
  if (!document.is_object() || !document.contains("type") ||
      document["type"] != "FeatureCollection" || !document.contains("features") ||
      !document["features"].is_array()) {
    error = "not a GeoJSON FeatureCollection with a \"features\" list";
    return false;
  }
  const json& features = document["features"];
  if (features.empty()) {
    error = "features: a route needs at least one LineString feature";
    return false;
  }
  route.guides.resize(features.size());
  for (std::size_t i = 0; i < features.size(); ++i) {
    if (!ParseGuide(features[i], Index("features", i), route.guides[i], error)) return false;
  }
  route.origin = route.guides.front().points.front();
  route.dest = route.guides.back().points.back();
  return true;
}

bool ParseTurns(const json& document, CRouteFile& route, std::string& error) {
  if (document.contains("turns")) {
    const json& turns = document["turns"];
    if (!turns.is_array()) {
      error = "turns: must be a list of turns";
      return false;
    }
    route.turns.resize(turns.size());
    for (std::size_t i = 0; i < turns.size(); ++i) {
      if (!ParseTurn(turns[i], Index("turns", i), route.turns[i], error) ||
          !CheckTurn(route, route.turns[i], Index("turns", i), error)) {
        return false;
      }
    }
  }
  if (document.contains("turn")) {
    CRouteTurn turn;
    if (!ParseTurn(document["turn"], "turn", turn, error) ||
        !CheckTurn(route, turn, "turn", error)) {
      return false;
    }
    route.turn = turn;
  }
  return true;
}

// The members that set up the frame: sizes, scale, colours and switches.
bool ParseFrameMembers(const json& document, CRouteFile& route, std::string& error) {
  if (document.contains("sizes")) {
    route.sizes.emplace();
    if (!ParseSizeRows(document["sizes"], "sizes", *route.sizes, error)) return false;
  }
  long long number = 0;
  if (document.contains("maxTurnScale")) {
    if (!ReadInt(document["maxTurnScale"], "maxTurnScale", INT_MIN, INT_MAX, number, error)) {
      return false;
    }
    route.maxTurnScale = static_cast<int>(number);
  }
  if (document.contains("scaleIndex")) {
    if (!ReadInt(document["scaleIndex"], "scaleIndex", 0, INT_MAX, number, error)) return false;
    route.scaleIndex = static_cast<int>(number);
  }
  if (document.contains("colors") && !ParseColors(document["colors"], route, error)) return false;
  if (document.contains("redLine") &&
      !ReadBool(document["redLine"], "redLine", route.redLine, error)) {
    return false;
  }
  if (document.contains("origin") &&
      !ReadLonLat(document["origin"], "origin", route.origin, error)) {
    return false;
  }
  if (document.contains("dest") && !ReadLonLat(document["dest"], "dest", route.dest, error)) {
    return false;
  }
  if (document.contains("flags")) {
    const json& flags = document["flags"];
    if (!flags.is_array() || flags.size() != 2) {
      error = "flags: must be [route, arrow]";
      return false;
    }
    if (!ReadBool(flags[0], "flags[0]", route.drawRoute, error) ||
        !ReadBool(flags[1], "flags[1]", route.drawArrow, error)) {
      return false;
    }
  }
  return ReadText(document, "attribution", "", route.attribution, error);
}

}  // namespace

bool ParseRouteText(const std::string& text, const std::string& fileName, CRouteFile& route,
                    std::string& error) {
  route = CRouteFile();
  route.fileName = fileName;
  json document;
  if (ParseJsonText(text, document, error) && ParseFeatures(document, route, error) &&
      ParseTurns(document, route, error) && ParseFrameMembers(document, route, error)) {
    return true;
  }
  error = fileName + ": " + error;
  return false;
}

bool LoadRouteFile(const std::string& path, CRouteFile& route, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, text, error)) {
    error = path + ": " + error;
    return false;
  }
  return ParseRouteText(text, path, route, error);
}

bool CheckTurn(const CRouteFile& route, const CRouteTurn& turn, const std::string& where,
               std::string& error) {
  const int last = static_cast<int>(route.guides.size()) - 1;
  const std::string guides = " lies outside the route's guides 0.." + std::to_string(last);
  if (turn.enter < 0 || turn.enter > last) {
    error = where + ": enter " + std::to_string(turn.enter) + guides;
  } else if (turn.exit < 0 || turn.exit > last) {
    error = where + ": exit " + std::to_string(turn.exit) + guides;
  } else if (turn.enter > turn.exit) {
    error = where + ": enter " + std::to_string(turn.enter) + " comes after exit " +
            std::to_string(turn.exit);
  } else if (turn.type < 0 || turn.type > kMaxTurnType) {
    error = where + ": type " + std::to_string(turn.type) + " is not 0 to 9";
  } else {
    return true;
  }
  return false;
}

bool CheckRoute(const CRouteFile& route, std::string& error) {
  const auto outside = [&error](const std::string& where, const tagLonLat& point) {
    char text[96];
    std::snprintf(text, sizeof text, "[%.9g, %.9g]", point.lon, point.lat);
    error = where + ": " + text + " lies outside longitude (-180, 180) and latitude (-90, 90)";
    return false;
  };
  if (route.guides.empty()) {
    error = "the route has no guide";
    return false;
  }
  for (std::size_t i = 0; i < route.guides.size(); ++i) {
    const CRouteGuide& guide = route.guides[i];
    const std::string where = "guide " + std::to_string(i);
    if (guide.points.size() < 2 || guide.points.size() > CPath::kMaxGuidePoints) {
      error = where + ": has " + std::to_string(guide.points.size()) +
              " points; a guide holds 2 to 65535";
      return false;
    }
    for (std::size_t k = 0; k < guide.points.size(); ++k) {
      if (!IsValidLonLat(guide.points[k])) {
        return outside(where + ", point " + std::to_string(k), guide.points[k]);
      }
    }
    if (guide.ref && !IsValidLonLat(*guide.ref)) return outside(where + ", ref", *guide.ref);
  }
  if (!IsValidLonLat(route.origin)) return outside("origin", route.origin);
  if (!IsValidLonLat(route.dest)) return outside("dest", route.dest);
  for (std::size_t i = 0; i < route.turns.size(); ++i) {
    if (!CheckTurn(route, route.turns[i], Index("turns", i), error)) return false;
  }
  return !route.turn || CheckTurn(route, *route.turn, "turn", error);
}

bool BuildPath(const CRouteFile& route, CNavPath& path) {
  for (const CRouteGuide& guide : route.guides) {
    CPathGuideInput input;
    input.points = guide.points;
    input.name = guide.name;
    input.hasRefPoint = guide.ref.has_value();
    if (guide.ref) input.refPoint = *guide.ref;
    if (path.AddGuide(input) < 0) return false;
  }
  return true;
}

double DistanceToEndOfGuide(const CRouteFile& route, int guide) {
  double metres = 0.0;
  for (int i = 0; i <= guide && i < static_cast<int>(route.guides.size()); ++i) {
    const std::vector<tagLonLat>& points = route.guides[static_cast<std::size_t>(i)].points;
    metres += LineLength(static_cast<unsigned short>(points.size()), points.data());
  }
  return metres;
}

}  // namespace tool
