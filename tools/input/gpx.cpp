// GPX 1.1 as a route reader, parsed with pugixml. The geometry is the first track's points
// (every trkseg of the first trk, in order), else the first route's points (rte). Each interior
// point of the route (rtept) is a manoeuvre: the geometry is cut at the track point nearest to
// it, searching forward from the cut before. The turn's kind comes from GraphHopper's
// <gh:sign> or OsmAnd's <turn> (also written <osmand:turn>) extension when present, else from
// the angle between the roads; names from OsmAnd's <street-name> or <ref>, notes from <desc>.
//
// Extension elements are matched by their local name, whatever their namespace prefix. Numbers
// are strict: a coordinate is an xsd:decimal ("51#!.3" is refused, not read as 51).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <pugixml.hpp>

#include "input/graphhopper.h"
#include "input/routereader.h"
#include "input/routesteps.h"
#include "route.h"

namespace tool {

namespace {

// A route point (rtept) and what its extensions say about the manoeuvre there.
struct CRoutePoint {
  tagLonLat point = {0.0, 0.0};   // degrees
  std::string road;               // <street-name>, else <ref>
  std::string note;               // <desc>, else <name>
  std::optional<long long> sign;  // GraphHopper's <sign>
  std::string turn;               // OsmAnd's <turn>, such as "TL" or "RNDB2"
};

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr std::size_t kMaxQuoted = 40;  // characters of a bad value quoted in a message

// The element's name without its namespace prefix ("gh:sign" gives "sign").
const char* LocalName(const pugi::xml_node& node) {
  const char* name = node.name();
  const char* colon = std::strrchr(name, ':');
  return colon != nullptr ? colon + 1 : name;
}

// The first child element named `name` (local name).
pugi::xml_node Child(const pugi::xml_node& parent, const char* name) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && std::strcmp(LocalName(child), name) == 0) {
      return child;
    }
  }
  return pugi::xml_node();
}

std::string Trim(const char* text) {
  std::string value = text;
  const std::size_t first = value.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
}

// A value for a message: quoted, cut short, and on one line.
std::string Quote(const std::string& text) {
  std::string quoted = text.size() > kMaxQuoted ? text.substr(0, kMaxQuoted) + "..." : text;
  for (char& c : quoted) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  return "\"" + quoted + "\"";
}

// Reads an xsd:decimal: an optional sign, then digits with at most one decimal point, at
// least one digit, nothing else (surrounding white space aside).
bool ParseDecimal(const std::string& text, double& value) {
  const std::size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  bool digit = false;
  bool point = false;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digit = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  // from_chars takes a minus sign but no plus sign.
  const char* begin = text.data() + (start == 1 && text[0] == '+' ? 1 : 0);
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(begin, end, value, std::chars_format::fixed);
  return digit && result.ec == std::errc() && result.ptr == end;
}

// Reads a whole number: an optional minus sign and digits, nothing else.
bool ParseWhole(const std::string& text, long long& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ReadPoint(const pugi::xml_node& node, const std::string& where, tagLonLat& point,
               std::string& error) {
  const char* const names[] = {"lat", "lon"};
  double values[2] = {0.0, 0.0};
  for (int i = 0; i < 2; ++i) {
    const pugi::xml_attribute attribute = node.attribute(names[i]);
    const std::string text = Trim(attribute.value());
    if (attribute.empty()) {
      error = where + ": needs lat and lon";
      return false;
    }
    if (!ParseDecimal(text, values[i])) {
      error = where + ": " + names[i] + " " + Quote(text) + " is not a decimal number";
      return false;
    }
  }
  point = {values[1], values[0]};
  if (IsValidLonLat(point)) return true;
  error = where + ": lat " + Trim(node.attribute("lat").value()) + ", lon " +
          Trim(node.attribute("lon").value()) +
          " lies outside longitude (-180, 180) and latitude (-90, 90)";
  return false;
}

bool ReadRoutePoint(const pugi::xml_node& node, const std::string& where, CRoutePoint& routePoint,
                    std::string& error) {
  if (!ReadPoint(node, where, routePoint.point, error)) return false;
  routePoint.note = Child(node, "desc").child_value();
  if (routePoint.note.empty()) routePoint.note = Child(node, "name").child_value();
  std::string ref;
  for (pugi::xml_node child : Child(node, "extensions").children()) {
    const char* name = LocalName(child);
    const std::string value = Trim(child.child_value());
    if (std::strcmp(name, "sign") == 0) {
      long long sign = 0;
      if (!ParseWhole(value, sign)) {
        error =
            where + ".extensions." + child.name() + ": " + Quote(value) + " is not a whole number";
        return false;
      }
      routePoint.sign = sign;
    } else if (std::strcmp(name, "turn") == 0) {
      routePoint.turn = value;
    } else if (std::strcmp(name, "street-name") == 0) {
      routePoint.road = value;
    } else if (std::strcmp(name, "ref") == 0) {
      ref = value;
    }
  }
  if (routePoint.road.empty()) routePoint.road = ref;
  return true;
}

// Appends the points of the elements named `name` under `parent`.
bool ReadPoints(const pugi::xml_node& parent, const char* name, const std::string& where,
                std::vector<tagLonLat>& points, std::vector<CRoutePoint>* routePoints,
                std::string& error) {
  std::size_t index = 0;
  for (pugi::xml_node child : parent.children()) {
    if (child.type() != pugi::node_element || std::strcmp(LocalName(child), name) != 0) continue;
    const std::string at = where + "." + name + "[" + std::to_string(index++) + "]";
    CRoutePoint routePoint;
    if (!ReadRoutePoint(child, at, routePoint, error)) return false;
    points.push_back(routePoint.point);
    if (routePoints != nullptr) routePoints->push_back(std::move(routePoint));
  }
  return true;
}

// OsmAnd's turn types ("TL", "TSHR", "RNDB3", ...) as turn types; false for another text.
bool OsmAndTurnType(const std::string& turn, int& type) {
  const struct {
    const char* name;
    int type;
  } kTurns[] = {
      {"C", NAV_TURN_STRAIGHT},       {"TL", NAV_TURN_LEFT},        {"TSLL", NAV_TURN_SLIGHT_LEFT},
      {"TSHL", NAV_TURN_SHARP_LEFT},  {"TR", NAV_TURN_RIGHT},       {"TSLR", NAV_TURN_SLIGHT_RIGHT},
      {"TSHR", NAV_TURN_SHARP_RIGHT}, {"KL", NAV_TURN_SLIGHT_LEFT}, {"KR", NAV_TURN_SLIGHT_RIGHT},
      {"TU", NAV_TURN_UTURN},         {"TRU", NAV_TURN_UTURN},
  };
  for (const auto& entry : kTurns) {
    if (turn == entry.name) {
      type = entry.type;
      return true;
    }
  }
  // Roundabouts, right- or left-hand, with the exit's number after the letters.
  if (turn.compare(0, 4, "RNDB") == 0 || turn.compare(0, 4, "RNLB") == 0) {
    type = NAV_TURN_ROUNDABOUT;
    return true;
  }
  return false;
}

// Bearing in degrees, clockwise from north, from `a` to `b`, on a local flat map.
double Bearing(const tagLonLat& a, const tagLonLat& b) {
  const double east = (b.lon - a.lon) * std::cos((a.lat + b.lat) / 2.0 / kDegreesPerRadian);
  return std::atan2(east, b.lat - a.lat) * kDegreesPerRadian;
}

// The turn at line[at] between the roads before (down to line[from]) and after it (up to
// line[to]): degrees, positive to the right, in (-180, 180]; 0 when either road has no length.
double TurnAngle(const std::vector<tagLonLat>& line, std::size_t from, std::size_t at,
                 std::size_t to) {
  const tagLonLat& node = line[at];
  const auto same = [&line, &node](std::size_t k) {
    return line[k].lon == node.lon && line[k].lat == node.lat;
  };
  std::size_t before = at;
  std::size_t after = at;
  while (before > from && same(before)) --before;
  while (after < to && same(after)) ++after;
  if (same(before) || same(after)) return 0.0;
  double angle = Bearing(node, line[after]) - Bearing(line[before], node);
  while (angle > 180.0) angle -= 360.0;
  while (angle <= -180.0) angle += 360.0;
  return angle;
}

// The turn type of an angle: below 20 degrees straight on, below 60 slight, below 120 a turn,
// below 160 sharp, else a U-turn.
int TypeOfAngle(double angle) {
  const double size = std::fabs(angle);
  const bool right = angle > 0.0;
  if (size < 20.0) return NAV_TURN_STRAIGHT;
  if (size < 60.0) return right ? NAV_TURN_SLIGHT_RIGHT : NAV_TURN_SLIGHT_LEFT;
  if (size < 120.0) return right ? NAV_TURN_RIGHT : NAV_TURN_LEFT;
  if (size < 160.0) return right ? NAV_TURN_SHARP_RIGHT : NAV_TURN_SHARP_LEFT;
  return NAV_TURN_UTURN;
}

// The index of the line's point nearest `point` at `from` or after (the first of equals).
std::size_t Nearest(const std::vector<tagLonLat>& line, std::size_t from, const tagLonLat& point) {
  const double scale = std::cos(point.lat / kDegreesPerRadian);
  std::size_t best = from;
  double bestSquare = -1.0;
  for (std::size_t k = from; k < line.size(); ++k) {
    const double east = (line[k].lon - point.lon) * scale;
    const double north = line[k].lat - point.lat;
    const double square = east * east + north * north;
    if (bestSquare < 0.0 || square < bestSquare) {
      best = k;
      bestSquare = square;
      if (square == 0.0) break;  // on the point itself, as routers write their route points
    }
  }
  return best;
}

// Cuts `line` (not empty) at the interior route points into one step each.
std::vector<CRouteStep> CutSteps(const std::vector<tagLonLat>& line,
                                 const std::vector<CRoutePoint>& routePoints, bool lineIsRoute) {
  std::vector<std::size_t> cuts = {0};
  for (std::size_t j = 1; j + 1 < routePoints.size(); ++j) {
    cuts.push_back(lineIsRoute ? j : Nearest(line, cuts.back(), routePoints[j].point));
  }
  cuts.push_back(line.size() - 1);
  std::vector<CRouteStep> steps(cuts.size() - 1);
  for (std::size_t j = 0; j < steps.size(); ++j) {
    CRouteStep& step = steps[j];
    step.points.assign(line.begin() + cuts[j], line.begin() + cuts[j + 1] + 1);
    if (j < routePoints.size()) {  // else a track without route points
      step.road = routePoints[j].road;
      step.note = routePoints[j].note;
    }
    if (j == 0) {
      step.kind = CStepKind::kDeparture;
      continue;
    }
    const CRoutePoint& routePoint = routePoints[j];
    if (routePoint.sign) {
      ClassifyGraphHopperSign(*routePoint.sign, step);
    } else if (!OsmAndTurnType(routePoint.turn, step.type)) {
      const double angle = TurnAngle(line, cuts[j - 1], cuts[j], cuts[j + 1]);
      step.type = TypeOfAngle(angle);
      if (step.note.empty()) {
        step.note = std::to_string(std::lround(std::fabs(angle))) + " degrees " +
                    (angle > 0.0 ? "right" : "left") + ", from the roads' angle";
      }
    }
  }
  return steps;
}

// "line L, column C" of byte `offset` in `bytes`, both counted from 1.
std::string Position(const std::string& bytes, std::ptrdiff_t offset) {
  std::size_t line = 1;
  std::size_t lineStart = 0;
  const std::size_t end =
      std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)), bytes.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1);
}

std::string Attribution(const pugi::xml_node& gpx) {
  const pugi::xml_node copyright = Child(Child(gpx, "metadata"), "copyright");
  std::string text = Trim(copyright.attribute("author").value());
  const std::string license = Trim(Child(copyright, "license").child_value());
  if (!license.empty()) text += (text.empty() ? "" : " ") + ("(" + license + ")");
  return text;
}

class CGpxRouteReader : public CRouteReader {
 public:
  const char* Format() const override { return "GPX 1.1 file"; }

  // XML: the first byte after white space (and a byte-order mark) is '<'.
  bool Identify(const CRouteInput& input) const override {
    const std::size_t first = input.bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return input.document == nullptr && first != std::string::npos && input.bytes[first] == '<';
  }

  bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
            std::string& error) const override {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(input.bytes.data(), input.bytes.size());
    if (!parsed) {
      error =
          Position(input.bytes, parsed.offset) + ": malformed XML (" + parsed.description() + ")";
      return false;
    }
    const pugi::xml_node gpx = document.document_element();
    if (std::strcmp(LocalName(gpx), "gpx") != 0) {
      error = std::string("not a GPX file: the root element is <") + gpx.name() + ">";
      return false;
    }
    if (options.alternative != 0) {
      error = "alternative " + std::to_string(options.alternative) + ": a GPX file holds one route";
      return false;
    }
    std::vector<tagLonLat> line;
    std::vector<tagLonLat> routeLine;
    std::vector<CRoutePoint> routePoints;
    const pugi::xml_node trk = Child(gpx, "trk");
    std::size_t segment = 0;
    for (pugi::xml_node child : trk.children()) {
      if (child.type() != pugi::node_element || std::strcmp(LocalName(child), "trkseg") != 0)
        continue;
      const std::string where = "gpx.trk.trkseg[" + std::to_string(segment++) + "]";
      if (!ReadPoints(child, "trkpt", where, line, nullptr, error)) return false;
    }
    if (!ReadPoints(Child(gpx, "rte"), "rtept", "gpx.rte", routeLine, &routePoints, error)) {
      return false;
    }
    if (line.empty() && routeLine.empty()) {
      error = "gpx: holds neither a track (trk) nor a route (rte) with points";
      return false;
    }
    const bool lineIsRoute = line.empty();
    const std::vector<CRouteStep> steps =
        CutSteps(lineIsRoute ? routeLine : line, routePoints, lineIsRoute);
    route.attribution = Attribution(gpx);
    return BuildRouteFromSteps(steps, route, error);
  }
};

}  // namespace

const CRouteReader& GpxRouteReader() {
  static const CGpxRouteReader kReader;
  return kReader;
}

}  // namespace tool
