#include "input/routesteps.h"

#include "route.h"

namespace tool {

namespace {

bool SamePoint(const tagLonLat& a, const tagLonLat& b) { return a.lon == b.lon && a.lat == b.lat; }

bool HasLength(const std::vector<tagLonLat>& points) {
  for (const tagLonLat& point : points) {
    if (!SamePoint(point, points.front())) return true;
  }
  return false;
}

// The guide of the nearest kept step at or before (`step` and down) or at or after `step`;
// -1 when there is none. `guideOfStep` holds -1 for a dropped step.
int KeptGuide(const std::vector<int>& guideOfStep, int step, int direction) {
  for (int k = step; k >= 0 && k < static_cast<int>(guideOfStep.size()); k += direction) {
    if (guideOfStep[static_cast<std::size_t>(k)] >= 0)
      return guideOfStep[static_cast<std::size_t>(k)];
  }
  return -1;
}

}  // namespace

bool BuildRouteFromSteps(const std::vector<CRouteStep>& steps, CRouteFile& route,
                         std::string& error) {
  std::vector<CRouteGuide> guides;
  std::vector<int> guideOfStep(steps.size(), -1);
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const CRouteStep& step = steps[k];
    if (!HasLength(step.points)) continue;
    CRouteGuide guide;
    // Bridge a gap to the guide before, so that the join is exact.
    if (!guides.empty() && !SamePoint(guides.back().points.back(), step.points.front())) {
      guide.points.push_back(guides.back().points.back());
    }
    guide.points.insert(guide.points.end(), step.points.begin(), step.points.end());
    guide.name = step.road;
    guideOfStep[k] = static_cast<int>(guides.size());
    guides.push_back(std::move(guide));
  }
  if (guides.empty()) {
    error = "no step of the route has a length";
    return false;
  }

  std::vector<CRouteTurn> turns;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const CRouteStep& step = steps[k];
    if (step.kind != CStepKind::kTurn) continue;
    int exitStep = static_cast<int>(k);
    if (step.type == NAV_TURN_ROUNDABOUT && k + 1 < steps.size() &&
        steps[k + 1].kind == CStepKind::kRoundaboutExit) {
      exitStep = static_cast<int>(k + 1);
    }
    CRouteTurn turn;
    turn.enter = KeptGuide(guideOfStep, static_cast<int>(k) - 1, -1);
    turn.exit = KeptGuide(guideOfStep, exitStep, +1);
    if (turn.enter < 0 || turn.exit < 0) continue;
    turn.type = step.type;
    turn.note = step.note;
    turns.push_back(std::move(turn));
  }

  route.guides = std::move(guides);
  route.turns = std::move(turns);
  route.origin = route.guides.front().points.front();
  route.dest = route.guides.back().points.back();
  return true;
}

}  // namespace tool
