// The OSRM v5 route response as a route reader: {"code": "Ok", "routes": [{"legs": [{"steps":
// [...]}]}]}, as OSRM, Valhalla (format osrm), GraphHopper's navigation endpoint and Mapbox
// Directions write it. Each step is one guide: its geometry an encoded polyline (latitude
// first) of precision 5 or 6, or a GeoJSON LineString; its manoeuvre is "maneuver": "type",
// "modifier", "exit", "instruction" and "location" ([lon, lat], the step's first point).
//
// Most answers do not say their precision. Read at the wrong one, each step's first point
// lands about ten times (or a tenth as) far from the equator and the prime meridian as its
// manoeuvre's location, thousands of kilometres away; so both are read, and the one whose
// first points lie nearest their manoeuvres wins.
#include <climits>
#include <optional>

#include "geodesy.h"
#include "input/jsonread.h"
#include "input/polyline.h"
#include "input/routereader.h"
#include "input/routerjson.h"
#include "input/routesteps.h"
#include "route.h"

namespace tool {

namespace {

using nlohmann::json;

// The turn type of each OSRM maneuver modifier.
const struct {
  const char* modifier;
  int type;
} kModifierTypes[] = {
    {"uturn", NAV_TURN_UTURN},       {"sharp right", NAV_TURN_SHARP_RIGHT},
    {"right", NAV_TURN_RIGHT},       {"slight right", NAV_TURN_SLIGHT_RIGHT},
    {"straight", NAV_TURN_STRAIGHT}, {"slight left", NAV_TURN_SLIGHT_LEFT},
    {"left", NAV_TURN_LEFT},         {"sharp left", NAV_TURN_SHARP_LEFT},
};

// Sorts a maneuver into a step kind and turn type. "roundabout turn" (a small roundabout
// taken as an intersection) turns by its modifier, as do all other types.
void Classify(const std::string& type, const std::string& modifier, CRouteStep& step) {
  if (type == "depart") {
    step.kind = CStepKind::kDeparture;
  } else if (type == "arrive") {
    step.kind = CStepKind::kArrival;
  } else if (type == "exit roundabout" || type == "exit rotary") {
    step.kind = CStepKind::kRoundaboutExit;
  } else if (type == "roundabout" || type == "rotary") {
    step.type = NAV_TURN_ROUNDABOUT;
  } else {
    for (const auto& entry : kModifierTypes) {
      if (modifier == entry.modifier) step.type = entry.type;
    }
  }
}

bool ReadGeometry(const json& object, const std::string& where, double perDegree,
                  std::vector<tagLonLat>& points, std::string& error) {
  const std::string at = MemberPath(where, "geometry");
  const json* geometry = FindMember(object, "geometry");
  if (geometry == nullptr) {
    error = at + ": missing; ask the router for geometries=polyline, polyline6 or geojson";
    return false;
  }
  if (!geometry->is_string()) return ReadLineString(*geometry, at, points, error);
  std::vector<double> heights;
  if (DecodePolyline(geometry->get<std::string>(), {perDegree, false}, points, heights, error)) {
    return true;
  }
  error = at + ": " + error;
  return false;
}

// Reads one step; `location` is its manoeuvre's location when the step gives one.
bool ReadStep(const json& object, const std::string& where, double perDegree, CRouteStep& step,
              std::optional<tagLonLat>& location, std::string& error) {
  const json* maneuver = FindMember(object, "maneuver");
  const std::string at = MemberPath(where, "maneuver");
  std::string type;
  std::string modifier;
  std::string instruction;
  long long exit = 0;
  if (maneuver == nullptr || !maneuver->is_object()) {
    error = at + ": must be an object";
    return false;
  }
  if (!ReadTextMember(*maneuver, "type", at, type, error) ||
      !ReadTextMember(*maneuver, "modifier", at, modifier, error) ||
      !ReadTextMember(*maneuver, "instruction", at, instruction, error) ||
      !ReadIntMember(*maneuver, "exit", at, 0, INT_MAX, exit, error)) {
    return false;
  }
  if (type.empty()) {
    error = MemberPath(at, "type") + ": missing";
    return false;
  }
  if (const json* place = FindMember(*maneuver, "location")) {
    tagLonLat point;
    if (!ReadLonLat(*place, MemberPath(at, "location"), point, error)) return false;
    location = point;
  }
  std::string ref;
  if (!ReadTextMember(object, "name", where, step.road, error) ||
      !ReadTextMember(object, "ref", where, ref, error) ||
      !ReadGeometry(object, where, perDegree, step.points, error)) {
    return false;
  }
  if (step.road.empty()) step.road = ref;
  Classify(type, modifier, step);
  step.note = !instruction.empty() ? instruction
                                   : type + (modifier.empty() ? "" : " " + modifier) +
                                         (exit > 0 ? " exit " + std::to_string(exit) : "");
  return true;
}

// Reads the steps of every leg of `route` with encoded polylines of `perDegree` units per
// degree. `mismatchMetres` adds up how far each step's first point lies from its manoeuvre.
bool ReadSteps(const json& route, const std::string& where, double perDegree,
               std::vector<CRouteStep>& steps, double& mismatchMetres, std::string& error) {
  const json* legs = nullptr;
  if (!FindList(route, "legs", where, legs, error)) return false;
  if (legs == nullptr || legs->empty()) {
    error = MemberPath(where, "legs") + ": the route has no legs";
    return false;
  }
  mismatchMetres = 0.0;
  for (std::size_t i = 0; i < legs->size(); ++i) {
    const json* leg = nullptr;
    const json* list = nullptr;
    const std::string legWhere = ItemPath(MemberPath(where, "legs"), i);
    if (!GetObjectItem(*legs, i, MemberPath(where, "legs"), leg, error) ||
        !FindList(*leg, "steps", legWhere, list, error)) {
      return false;
    }
    if (list == nullptr || list->empty()) {
      error = legWhere + ": no steps; ask the router with steps=true";
      return false;
    }
    for (std::size_t k = 0; k < list->size(); ++k) {
      const json* object = nullptr;
      const std::string stepsWhere = MemberPath(legWhere, "steps");
      std::optional<tagLonLat> location;
      CRouteStep step;
      if (!GetObjectItem(*list, k, stepsWhere, object, error) ||
          !ReadStep(*object, ItemPath(stepsWhere, k), perDegree, step, location, error)) {
        return false;
      }
      if (location && !step.points.empty()) {
        mismatchMetres += SegmentLength(step.points.front(), *location);
      }
      steps.push_back(std::move(step));
    }
  }
  return true;
}

// Reads the steps at the precision asked for, or else at the one that fits the manoeuvres.
bool ReadStepsAtPrecision(const json& route, const std::string& where,
                          const std::optional<int>& precision, std::vector<CRouteStep>& steps,
                          std::string& error) {
  double mismatch5 = 0.0;
  double mismatch6 = 0.0;
  if (precision) {
    return ReadSteps(route, where, PerDegreeOfPrecision(*precision), steps, mismatch5, error);
  }
  std::vector<CRouteStep> steps6;
  std::string error6;
  const bool read5 = ReadSteps(route, where, 1e5, steps, mismatch5, error);
  const bool read6 = ReadSteps(route, where, 1e6, steps6, mismatch6, error6);
  if (read6 && (!read5 || mismatch6 < mismatch5)) {
    steps = std::move(steps6);
    return true;
  }
  if (!read5 && !read6 && error != error6) {
    error += " (as polyline of precision 5; as precision 6: " + error6 + ")";
  }
  return read5;
}

class COsrmRouteReader : public CRouteReader {
 public:
  const char* Format() const override { return "OSRM v5 route response"; }

  bool Identify(const CRouteInput& input) const override {
    return input.document != nullptr && input.document->is_object() &&
           (input.document->contains("code") || input.document->contains("routes"));
  }

  bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
            std::string& error) const override {
    const json& document = *input.document;
    std::string code = "Ok";
    std::string message;
    if (!ReadTextMember(document, "code", "", code, error) ||
        !ReadTextMember(document, "message", "", message, error)) {
      return false;
    }
    if (code != "Ok") {
      error = RouterRefused(code, message);
      return false;
    }
    const json* chosen = nullptr;
    std::vector<CRouteStep> steps;
    const std::string where = ItemPath("routes", static_cast<std::size_t>(options.alternative));
    return PickAlternative(document, "routes", options.alternative, chosen, error) &&
           ReadStepsAtPrecision(*chosen, where, options.precision, steps, error) &&
           BuildRouteFromSteps(steps, route, error);
  }
};

}  // namespace

const CRouteReader& OsrmRouteReader() {
  static const COsrmRouteReader kReader;
  return kReader;
}

}  // namespace tool
