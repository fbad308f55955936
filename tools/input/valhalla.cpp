// The Valhalla route response as a route reader: {"trip": {"legs": [{"shape": "...",
// "maneuvers": [...]}]}}, alternatives in "alternates": [{"trip": ...}]. Each leg's shape is an
// encoded polyline of precision 6; each manoeuvre's begin_shape_index and end_shape_index cut
// its guide from it. An error answer carries "error_code" and "error".
#include <climits>

#include "input/polyline.h"
#include "input/routereader.h"
#include "input/routerjson.h"
#include "input/routesteps.h"
#include "route.h"

namespace tool {

namespace {

using nlohmann::json;

// Valhalla's manoeuvre types that turn (its API reference lists them all, kNone = 0 to
// kBuildingExit = 43). Ramps, exits, staying on a side and merges count as slight turns to
// their side; the types not listed (continue, becomes, ferries, transit, ...) as straight on.
const struct {
  long long maneuver;
  int type;
} kTurnTypes[] = {
    {9, NAV_TURN_SLIGHT_RIGHT},  {10, NAV_TURN_RIGHT},        {11, NAV_TURN_SHARP_RIGHT},
    {12, NAV_TURN_UTURN},        {13, NAV_TURN_UTURN},        {14, NAV_TURN_SHARP_LEFT},
    {15, NAV_TURN_LEFT},         {16, NAV_TURN_SLIGHT_LEFT},  {18, NAV_TURN_SLIGHT_RIGHT},
    {19, NAV_TURN_SLIGHT_LEFT},  {20, NAV_TURN_SLIGHT_RIGHT}, {21, NAV_TURN_SLIGHT_LEFT},
    {23, NAV_TURN_SLIGHT_RIGHT}, {24, NAV_TURN_SLIGHT_LEFT},  {26, NAV_TURN_ROUNDABOUT},
    {37, NAV_TURN_SLIGHT_RIGHT}, {38, NAV_TURN_SLIGHT_LEFT},
};

// Sorts a manoeuvre type into a step kind and turn type: 1-3 start (a departure), 4-6
// destination (an arrival), 27 the exit of the roundabout entered by 26.
void Classify(long long maneuver, CRouteStep& step) {
  if (maneuver >= 1 && maneuver <= 3) {
    step.kind = CStepKind::kDeparture;
  } else if (maneuver >= 4 && maneuver <= 6) {
    step.kind = CStepKind::kArrival;
  } else if (maneuver == 27) {
    step.kind = CStepKind::kRoundaboutExit;
  }
  for (const auto& entry : kTurnTypes) {
    if (entry.maneuver == maneuver) step.type = entry.type;
  }
}

// The manoeuvre's road: its street names, as Valhalla's own instructions join them.
bool ReadRoad(const json& maneuver, const std::string& where, std::string& road,
              std::string& error) {
  const json* names = nullptr;
  if (!FindList(maneuver, "street_names", where, names, error)) return false;
  for (std::size_t i = 0; names != nullptr && i < names->size(); ++i) {
    if (!(*names)[i].is_string()) {
      error = ItemPath(MemberPath(where, "street_names"), i) + ": must be text";
      return false;
    }
    road += (i == 0 ? "" : "/") + (*names)[i].get<std::string>();
  }
  return true;
}

bool ReadManeuver(const json& maneuver, const std::string& where,
                  const std::vector<tagLonLat>& shape, CRouteStep& step, std::string& error) {
  const long long last = static_cast<long long>(shape.size()) - 1;
  long long type = -1;
  long long begin = -1;
  long long end = -1;
  if (!ReadIntMember(maneuver, "type", where, 0, INT_MAX, type, error) ||
      !ReadIntMember(maneuver, "begin_shape_index", where, 0, last, begin, error) ||
      !ReadIntMember(maneuver, "end_shape_index", where, begin, last, end, error) ||
      !ReadTextMember(maneuver, "instruction", where, step.note, error) ||
      !ReadRoad(maneuver, where, step.road, error)) {
    return false;
  }
  if (type < 0 || begin < 0 || end < 0) {
    error = where + ": needs type, begin_shape_index and end_shape_index";
    return false;
  }
  step.points.assign(shape.begin() + begin, shape.begin() + end + 1);
  Classify(type, step);
  if (step.note.empty()) step.note = "type " + std::to_string(type);
  return true;
}

bool ReadLeg(const json& leg, const std::string& where, std::vector<CRouteStep>& steps,
             std::string& error) {
  const json* shape = FindMember(leg, "shape");
  const json* maneuvers = nullptr;
  std::vector<tagLonLat> points;
  std::vector<double> heights;
  if (!FindList(leg, "maneuvers", where, maneuvers, error)) return false;
  if (maneuvers == nullptr || maneuvers->empty()) {
    error = where +
            ": no maneuvers; ask the router with directions_type maneuvers or "
            "instructions";
    return false;
  }
  if (shape == nullptr || !shape->is_string()) {
    error = MemberPath(where, "shape") + ": must be an encoded polyline";
    return false;
  }
  if (!DecodePolyline(shape->get<std::string>(), {1e6, false}, points, heights, error)) {
    error = MemberPath(where, "shape") + ": " + error;
    return false;
  }
  if (points.empty()) {
    error = MemberPath(where, "shape") + ": holds no point";
    return false;
  }
  const std::string listWhere = MemberPath(where, "maneuvers");
  for (std::size_t k = 0; k < maneuvers->size(); ++k) {
    const json* maneuver = nullptr;
    CRouteStep step;
    if (!GetObjectItem(*maneuvers, k, listWhere, maneuver, error) ||
        !ReadManeuver(*maneuver, ItemPath(listWhere, k), points, step, error)) {
      return false;
    }
    steps.push_back(std::move(step));
  }
  return true;
}

// The trip `alternative`: 0 the answer's "trip", N the trip of "alternates"[N - 1].
bool PickTrip(const json& document, int alternative, const json*& trip, std::string& where,
              std::string& error) {
  const json* alternates = nullptr;
  if (!FindList(document, "alternates", "", alternates, error)) return false;
  const std::size_t count = 1 + (alternates == nullptr ? 0 : alternates->size());
  if (static_cast<std::size_t>(alternative) >= count) {
    error = "alternative " + std::to_string(alternative) + ": the answer holds " +
            std::to_string(count) +
            (count == 1 ? " trip" : " trips, 0 to " + std::to_string(count - 1));
    return false;
  }
  where = alternative == 0
              ? std::string("trip")
              : ItemPath("alternates", static_cast<std::size_t>(alternative - 1)) + ".trip";
  trip = alternative == 0
             ? FindMember(document, "trip")
             : FindMember((*alternates)[static_cast<std::size_t>(alternative - 1)], "trip");
  if (trip == nullptr || !trip->is_object()) {
    error = where + ": must be an object";
    return false;
  }
  return true;
}

class CValhallaRouteReader : public CRouteReader {
 public:
  const char* Format() const override { return "Valhalla route response"; }

  bool Identify(const CRouteInput& input) const override {
    return input.document != nullptr && input.document->is_object() &&
           (input.document->contains("trip") || input.document->contains("error_code"));
  }

  bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
            std::string& error) const override {
    const json& document = *input.document;
    if (const json* code = FindMember(document, "error_code")) {
      std::string message;
      if (!ReadTextMember(document, "error", "", message, error)) return false;
      error = RouterRefused(
          "error " + (code->is_string() ? code->get<std::string>() : code->dump()), message);
      return false;
    }
    const json* trip = nullptr;
    const json* legs = nullptr;
    std::string where;
    if (!PickTrip(document, options.alternative, trip, where, error) ||
        !FindList(*trip, "legs", where, legs, error)) {
      return false;
    }
    if (legs == nullptr || legs->empty()) {
      error = MemberPath(where, "legs") + ": the trip has no legs";
      return false;
    }
    std::vector<CRouteStep> steps;
    for (std::size_t i = 0; i < legs->size(); ++i) {
      const json* leg = nullptr;
      if (!GetObjectItem(*legs, i, MemberPath(where, "legs"), leg, error) ||
          !ReadLeg(*leg, ItemPath(MemberPath(where, "legs"), i), steps, error)) {
        return false;
      }
    }
    return BuildRouteFromSteps(steps, route, error);
  }
};

}  // namespace

const CRouteReader& ValhallaRouteReader() {
  static const CValhallaRouteReader kReader;
  return kReader;
}

}  // namespace tool
