// The GraphHopper route response as a route reader: {"paths": [{"points": ...,
// "instructions": [...]}], "info": {"copyrights": [...]}}. "points" is an encoded polyline
// (latitude first, "points_encoded_multiplier" units per degree, default 1e5, plus a height
// in hundredths of a metre per point when elevation was asked for) or a GeoJSON LineString;
// each instruction's "interval" [first, last] cuts its guide from it. An error answer carries
// a "message" and no "paths".
//
// The answer does not say whether its polyline carries heights. The instructions' intervals
// tell: the last one ends on the last point, which only the right reading puts there.
#include "input/graphhopper.h"

#include <algorithm>
#include <climits>

#include "input/jsonread.h"
#include "input/polyline.h"
#include "input/routereader.h"
#include "input/routerjson.h"
#include "route.h"

namespace tool {

namespace {

using nlohmann::json;

// One instruction, before the points are known.
struct CInstruction {
  long long first = 0;  // index of the first point
  long long last = 0;   // index of the last point, first or more
  CRouteStep step;      // without points
};

bool ReadInterval(const json& object, const std::string& where, CInstruction& instruction,
                  std::string& error) {
  const json* interval = FindMember(object, "interval");
  const std::string at = MemberPath(where, "interval");
  if (interval == nullptr || !interval->is_array() || interval->size() != 2) {
    error = at + ": must be [first, last] point indices";
    return false;
  }
  return ReadInt((*interval)[0], at + "[0]", 0, INT_MAX, instruction.first, error) &&
         ReadInt((*interval)[1], at + "[1]", instruction.first, INT_MAX, instruction.last, error);
}

bool ReadInstruction(const json& object, const std::string& where, bool first,
                     CInstruction& instruction, std::string& error) {
  long long sign = 0;
  std::string ref;
  CRouteStep& step = instruction.step;
  if (!ReadIntMember(object, "sign", where, INT_MIN, INT_MAX, sign, error) ||
      !ReadTextMember(object, "text", where, step.note, error) ||
      !ReadTextMember(object, "street_name", where, step.road, error) ||
      !ReadTextMember(object, "street_ref", where, ref, error) ||
      !ReadInterval(object, where, instruction, error)) {
    return false;
  }
  if (step.road.empty()) step.road = ref;
  if (step.note.empty()) step.note = "sign " + std::to_string(sign);
  ClassifyGraphHopperSign(sign, step);
  if (first) step.kind = CStepKind::kDeparture;
  return true;
}

bool ReadInstructions(const json& path, const std::string& where,
                      std::vector<CInstruction>& instructions, std::string& error) {
  const json* list = nullptr;
  if (!FindList(path, "instructions", where, list, error)) return false;
  if (list == nullptr || list->empty()) {
    error = where + ": no instructions; ask the router with instructions=true";
    return false;
  }
  const std::string listWhere = MemberPath(where, "instructions");
  instructions.resize(list->size());
  for (std::size_t k = 0; k < list->size(); ++k) {
    const json* object = nullptr;
    if (!GetObjectItem(*list, k, listWhere, object, error) ||
        !ReadInstruction(*object, ItemPath(listWhere, k), k == 0, instructions[k], error)) {
      return false;
    }
  }
  return true;
}

// True when every interval lies within `count` points and, with `toTheEnd`, the last one
// reaches the last point. Otherwise false with the first interval that does not fit.
bool IntervalsFit(const std::vector<CInstruction>& instructions, std::size_t count, bool toTheEnd,
                  const std::string& where, std::string& error) {
  const auto points = static_cast<long long>(count);
  long long end = -1;
  for (std::size_t k = 0; k < instructions.size(); ++k) {
    const CInstruction& instruction = instructions[k];
    if (instruction.last >= points) {
      error = ItemPath(MemberPath(where, "instructions"), k) + ".interval: [" +
              std::to_string(instruction.first) + ", " + std::to_string(instruction.last) +
              "] lies outside the path's " + std::to_string(count) + " points";
      return false;
    }
    end = std::max(end, instruction.last);
  }
  if (toTheEnd && end != points - 1) {
    error = MemberPath(where, "instructions") + ": the intervals end at point " +
            std::to_string(end) + ", not at the path's last point " + std::to_string(points - 1);
    return false;
  }
  return true;
}

// Decodes an encoded "points" with or without heights: the reading the intervals fit.
bool DecodePoints(const std::string& text, double perDegree,
                  const std::vector<CInstruction>& instructions, const std::string& where,
                  std::vector<tagLonLat>& points, std::string& error) {
  const std::string at = MemberPath(where, "points");
  std::vector<double> heights;
  std::string error3;
  const bool flat = DecodePolyline(text, {perDegree, false}, points, heights, error);
  if (flat && IntervalsFit(instructions, points.size(), true, where, error)) return true;
  std::vector<tagLonLat> points3;
  if (DecodePolyline(text, {perDegree, true}, points3, heights, error3) &&
      IntervalsFit(instructions, points3.size(), true, where, error3)) {
    points = std::move(points3);
    return true;
  }
  if (!flat) error = at + ": " + error;
  return false;
}

bool ReadPoints(const json& path, const std::string& where,
                const std::vector<CInstruction>& instructions, std::vector<tagLonLat>& points,
                std::string& error) {
  const json* member = FindMember(path, "points");
  if (member == nullptr) {
    error = MemberPath(where, "points") + ": missing; ask the router with calc_points=true";
    return false;
  }
  if (!member->is_string()) {
    return ReadLineString(*member, MemberPath(where, "points"), points, error) &&
           IntervalsFit(instructions, points.size(), false, where, error);
  }
  double perDegree = 1e5;
  if (const json* multiplier = FindMember(path, "points_encoded_multiplier")) {
    if (!multiplier->is_number() || !(multiplier->get<double>() >= kMinPerDegree &&
                                      multiplier->get<double>() <= kMaxPerDegree)) {
      error = MemberPath(where, "points_encoded_multiplier") + ": must be a number from 1 to 1e9";
      return false;
    }
    perDegree = multiplier->get<double>();
  }
  return DecodePoints(member->get<std::string>(), perDegree, instructions, where, points, error);
}

// "info": {"copyrights": ["GraphHopper", "OpenStreetMap contributors"]}, joined.
bool ReadCopyrights(const json& document, std::string& attribution, std::string& error) {
  const json* info = FindMember(document, "info");
  const json* copyrights = nullptr;
  if (info == nullptr) return true;
  if (!FindList(*info, "copyrights", "info", copyrights, error)) return false;
  for (std::size_t i = 0; copyrights != nullptr && i < copyrights->size(); ++i) {
    if (!(*copyrights)[i].is_string()) {
      error = ItemPath("info.copyrights", i) + ": must be text";
      return false;
    }
    attribution += (i == 0 ? "" : ", ") + (*copyrights)[i].get<std::string>();
  }
  return true;
}

class CGraphHopperRouteReader : public CRouteReader {
 public:
  const char* Format() const override { return "GraphHopper route response"; }

  bool Identify(const CRouteInput& input) const override {
    return input.document != nullptr && input.document->is_object() &&
           (input.document->contains("paths") || input.document->contains("message"));
  }

  bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
            std::string& error) const override {
    const json& document = *input.document;
    if (FindMember(document, "paths") == nullptr) {
      std::string message;
      if (ReadTextMember(document, "message", "", message, error)) {
        error = RouterRefused("", message);
      }
      return false;
    }
    const json* path = nullptr;
    std::vector<CInstruction> instructions;
    std::vector<tagLonLat> points;
    const std::string where = ItemPath("paths", static_cast<std::size_t>(options.alternative));
    if (!PickAlternative(document, "paths", options.alternative, path, error) ||
        !ReadInstructions(*path, where, instructions, error) ||
        !ReadPoints(*path, where, instructions, points, error) ||
        !ReadCopyrights(document, route.attribution, error)) {
      return false;
    }
    std::vector<CRouteStep> steps;
    for (CInstruction& instruction : instructions) {
      instruction.step.points.assign(points.begin() + instruction.first,
                                     points.begin() + instruction.last + 1);
      steps.push_back(std::move(instruction.step));
    }
    return BuildRouteFromSteps(steps, route, error);
  }
};

}  // namespace

void ClassifyGraphHopperSign(long long sign, CRouteStep& step) {
  // The signs that turn, from GraphHopper's Instruction class.
  const struct {
    long long sign;
    int type;
  } kTurnTypes[] = {
      {-98, NAV_TURN_UTURN},      {-8, NAV_TURN_UTURN},       {-7, NAV_TURN_SLIGHT_LEFT},
      {-3, NAV_TURN_SHARP_LEFT},  {-2, NAV_TURN_LEFT},        {-1, NAV_TURN_SLIGHT_LEFT},
      {1, NAV_TURN_SLIGHT_RIGHT}, {2, NAV_TURN_RIGHT},        {3, NAV_TURN_SHARP_RIGHT},
      {6, NAV_TURN_ROUNDABOUT},   {7, NAV_TURN_SLIGHT_RIGHT}, {8, NAV_TURN_UTURN},
  };
  step.kind = sign == 4    ? CStepKind::kArrival
              : sign == 5  ? CStepKind::kDeparture
              : sign == -6 ? CStepKind::kRoundaboutExit
                           : CStepKind::kTurn;
  step.type = NAV_TURN_STRAIGHT;
  for (const auto& entry : kTurnTypes) {
    if (entry.sign == sign) step.type = entry.type;
  }
}

const CRouteReader& GraphHopperRouteReader() {
  static const CGraphHopperRouteReader kReader;
  return kReader;
}

}  // namespace tool
