#include "frame/setup.h"

#include <utility>

namespace tool {

bool LoadFrameSetup(const CSetupRequest& request, CFrameSetup& setup, std::string& error) {
  CRouteFile route;
  const bool loaded = request.route.empty() ? LoadSampleRoute(route, error)
                                            : LoadRoute(request.route, request.read, route, error);
  return loaded && BuildFrameSetup(std::move(route), request, setup, error);
}

bool BuildFrameSetup(CRouteFile route, const CSetupRequest& request, CFrameSetup& setup,
                     std::string& error) {
  setup.route = std::move(route);
  CSizeTable defaults;
  if (!LoadDefaultSizeTable(defaults, error)) return false;
  std::optional<int> maxTurnScale;
  if (!request.sizesFile.empty()) {
    if (!LoadSizeTableFile(request.sizesFile, setup.sizes, error)) return false;
    maxTurnScale = setup.sizes.maxTurnScale;
  } else {
    setup.sizes.rows = setup.route.sizes ? *setup.route.sizes : defaults.rows;
  }
  if (!maxTurnScale) maxTurnScale = setup.route.maxTurnScale;
  if (!maxTurnScale) maxTurnScale = defaults.maxTurnScale;
  setup.maxTurnScale = maxTurnScale.value_or(0);
  if (setup.route.scaleIndex.value_or(0) > setup.ladder.HighestIndex()) {
    error = setup.route.fileName + ": scaleIndex: must be a whole number from 0 to " +
            std::to_string(setup.ladder.HighestIndex());
    return false;
  }
  setup.scaleIndex =
      request.scaleIndex.value_or(setup.route.scaleIndex.value_or(kDefaultScaleIndex));
  setup.colors = setup.route.colors;
  setup.redLine = request.redLine || setup.route.redLine;
  setup.center = request.center;
  if (!BuildPath(setup.route, setup.path)) {
    error = setup.route.fileName + ": the path refused a guide";
    return false;
  }
  return true;
}

tagLonLat TurnNode(const CRouteFile& route, const CRouteTurn& turn) {
  return route.guides[static_cast<std::size_t>(turn.enter)].points.back();
}

}  // namespace tool
