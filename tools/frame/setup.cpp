#include "frame/setup.h"

#include <utility>

namespace tool {

bool LoadFrameSetup(const CSetupRequest& request, CFrameSetup& setup, std::string& error) {
  CRouteFile route;
  const bool loaded = request.route.empty() ? LoadSampleRoute(route, error)
                                            : LoadRoute(request.route, request.read, route, error);
  return loaded && BuildFrameSetup(std::move(route), request, setup, error);
}

namespace {

// Reads the request's style file and applies its chosen theme.
bool LoadStyle(const CSetupRequest& request, CFrameSetup& setup, std::string& error) {
  CStyle style;
  if (!LoadStyleFile(request.styleFile, style, error)) return false;
  const CTheme* theme =
      request.theme.empty() ? &style.DefaultTheme() : style.FindTheme(request.theme);
  if (theme == nullptr) {
    error = request.styleFile + ": no theme '" + request.theme + "' (it has";
    for (const CTheme& each : style.themes) error += " " + each.name;
    error += ")";
    return false;
  }
  const std::string name = theme->name;
  setup.style = std::move(style);
  ApplyTheme(*setup.style, *setup.style->FindTheme(name), setup);
  return true;
}

}  // namespace

bool BuildFrameSetup(CRouteFile route, const CSetupRequest& request, CFrameSetup& setup,
                     std::string& error) {
  setup.route = std::move(route);
  if (!request.styleFile.empty() && !request.sizesFile.empty()) {
    error = "--sizes and --style do not go together: a style file holds its own table";
    return false;
  }
  if (!request.theme.empty() && request.styleFile.empty()) {
    error = "--theme needs --style: themes come from a style file";
    return false;
  }
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
  if (!request.styleFile.empty() && !LoadStyle(request, setup, error)) return false;
  if (!BuildPath(setup.route, setup.path)) {
    error = setup.route.fileName + ": the path refused a guide";
    return false;
  }
  return true;
}

void ApplyTheme(const CStyle& style, const CTheme& theme, CFrameSetup& setup) {
  const CSizeTable& table = style.TableOf(theme);
  setup.sizes = table;
  setup.maxTurnScale = table.maxTurnScale.value_or(0);
  setup.colors = theme.colors;
  setup.background = theme.background;
  setup.theme = theme.name;
}

tagLonLat TurnNode(const CRouteFile& route, const CRouteTurn& turn) {
  return route.guides[static_cast<std::size_t>(turn.enter)].points.back();
}

}  // namespace tool
