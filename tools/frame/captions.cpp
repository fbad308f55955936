#include "frame/captions.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace tool {

namespace {

// "%g" of a scale in metres per pixel.
std::string Metres(double metresPerPixel) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", metresPerPixel);
  return text;
}

// A pixel count rounded up, so that any overflow at all reads as at least 1.
std::string WholePixels(double pixels) {
  return std::to_string(static_cast<long long>(std::ceil(pixels)));
}

}  // namespace

std::string RoadName(const CRouteFile& route, int guide) {
  const std::string& name = route.guides[static_cast<std::size_t>(guide)].name;
  return name.empty() ? "unnamed road" : name;
}

CFrameLabels FrameLabels(const CFrameSetup& setup, const CChosenTurn* turn, int scaleIndex,
                         double metresPerPixel) {
  const CRouteFile& route = setup.route;
  const int last = static_cast<int>(route.guides.size()) - 1;
  const std::string scale =
      "scale index " + std::to_string(scaleIndex) + " (" + Metres(metresPerPixel) + " m per pixel)";
  CFrameLabels labels;
  if (turn != nullptr) {
    char at[48];
    std::snprintf(at, sizeof at, "%.0f m from the start",
                  DistanceToEndOfGuide(route, turn->turn.enter));
    labels.title =
        RoadName(route, turn->turn.enter) + " \u2192 " + RoadName(route, turn->turn.exit);
    labels.subtitle = turn->turn.note;
    labels.details = turn->label + " \u00b7 " + at + " \u00b7 " + scale;
  } else {
    labels.title = RoadName(route, 0) + " \u2192 " + RoadName(route, last);
    labels.details = std::string("no turn \u00b7 ") + scale;
  }
  labels.attribution = route.attribution;
  return labels;
}

CFrameLabels CellLabels(const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                        double metresPerPixel) {
  const CRouteFile& route = setup.route;
  CFrameLabels labels;
  labels.title = turn.shortLabel + ": " + RoadName(route, turn.turn.enter) + " \u2192 " +
                 RoadName(route, turn.turn.exit);
  labels.details =
      "index " + std::to_string(scaleIndex) + " \u00b7 " + Metres(metresPerPixel) + " m/px";
  return labels;
}

std::string CellWarning(const CFramePlan& plan) {
  if (plan.MaxOverflowPx() <= 0.0) return std::string();
  const CRect& out = plan.overflowPx;
  std::string sides;
  for (const auto& side :
       {std::make_pair(out.left, "left"), std::make_pair(out.top, "top"),
        std::make_pair(out.right, "right"), std::make_pair(out.bottom, "bottom")}) {
    if (side.first > 0.0) sides += (sides.empty() ? "" : ", ") + std::string(side.second);
  }
  return "runs out " + WholePixels(plan.MaxOverflowPx()) + " px: " + sides;
}

std::string DescribeOverflow(const CFramePlan& plan, const std::string& label, int scaleIndex) {
  if (plan.MaxOverflowPx() <= 0.0) return std::string();
  const CRect& out = plan.overflowPx;
  return "the arrow of " + label + " at scale index " + std::to_string(scaleIndex) +
         " runs out of the " + std::to_string(plan.projection.Width()) + "x" +
         std::to_string(plan.projection.Height()) + " picture by " +
         WholePixels(plan.MaxOverflowPx()) + " px (left " + WholePixels(out.left) + ", top " +
         WholePixels(out.top) + ", right " + WholePixels(out.right) + ", bottom " +
         WholePixels(out.bottom) + ")";
}

std::string DescribeNoArrow(const CChosenTurn* turn, int scaleIndex, const std::string& reason) {
  if (turn == nullptr) return "the frame has no arrow: " + reason;
  return turn->label + " has no arrow at scale index " + std::to_string(scaleIndex) + ": " + reason;
}

}  // namespace tool
