#include "frame/frame.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "output/calldump.h"
#include "picture/imagemapview.h"
#include "route.h"

namespace tool {

namespace {

struct CHandleCloser {
  void operator()(AdvicePathRenderEx* handle) const { ClosePathRender(handle); }
};

// What one Draw is asked for.
struct CDrawSwitches {
  bool route;
  bool arrow;
  bool redLine;
};

// The middle of the route's bounding box in longitude and latitude, degrees.
tagLonLat RouteMiddle(const CRouteFile& route) {
  tagLonLat low = route.guides.front().points.front();
  tagLonLat high = low;
  for (const CRouteGuide& guide : route.guides) {
    for (const tagLonLat& point : guide.points) {
      low = {std::min(low.lon, point.lon), std::min(low.lat, point.lat)};
      high = {std::max(high.lon, point.lon), std::max(high.lat, point.lat)};
    }
  }
  return {(low.lon + high.lon) / 2.0, (low.lat + high.lat) / 2.0};
}

bool IsValidPoint(const tagLonLat& point) {
  return point.lon > -180.0 && point.lon < 180.0 && point.lat > -90.0 && point.lat < 90.0;
}

// The renderer's frame on `view`, with the switches given.
bool Drive(const CFrameSetup& setup, const CRouteTurn* turn, const CDrawSwitches& switches,
           Torvane::CMapService& view, std::string& error) {
  GetRouteManager().GetPathManager().SetOrgPoint(setup.route.origin);
  GetRouteManager().GetPathManager().SetDestPoints({setup.route.dest});
  // The renderer only reads the path, but its interface takes it as a plain pointer.
  CNavPath* path = const_cast<CNavPath*>(&setup.path);
  std::unique_ptr<AdvicePathRenderEx, CHandleCloser> handle(NewPathRender(path, &view));
  const std::size_t rows = setup.sizes.rows.size();
  std::vector<AdvicePathSizeSetting> table(rows);
  FillSizeSettings(setup.sizes, table.data());
  if (!handle || handle->SetSize(table.data(), static_cast<int>(rows), setup.maxTurnScale) != 1) {
    error = "the renderer refused its set-up (see the log lines above)";
    return false;
  }
  handle->SetClr(setup.colors);
  handle->EnableDrawRedLine(switches.redLine);
  if (turn != nullptr) {
    CTurnInfo info;
    if (!info.SetFromPath(*path, turn->enter, turn->exit,
                          static_cast<NAV_TURN_TYPE_tag>(turn->type))) {
      error = "the path refused the turn's guides";
      return false;
    }
    handle->SetTurnInfo(info, path);
  }
  handle->Draw(switches.route, switches.arrow);
  return true;
}

// The centre of a picture at `metresPerPixel` showing `turn` (may be null) as setup.center
// says; `arrowDrawn` tells whether the library drew an arrow, whose calls are `arrow`.
tagLonLat PictureCentre(const CFrameSetup& setup, const CRouteTurn* turn,
                        const std::vector<Torvane::CDrawCall>& arrow, double metresPerPixel,
                        int widthPx, int heightPx) {
  if (turn == nullptr || setup.center == CCenter::kRoute) return RouteMiddle(setup.route);
  const tagLonLat node = TurnNode(setup, *turn);
  if (setup.center == CCenter::kTurn) return node;
  // The arrow's box in a picture centred on the node, then the point under its middle.
  const CWebMercator onNode(node, metresPerPixel, widthPx, heightPx);
  CRect box;
  if (!PaintedBox(arrow, onNode, box)) return node;
  const tagLonLat middle =
      onNode.FromPixel({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  return IsValidPoint(middle) ? middle : node;
}

}  // namespace

double CFramePlan::MaxOverflowPx() const {
  return std::max(std::max(overflowPx.left, overflowPx.right),
                  std::max(overflowPx.top, overflowPx.bottom));
}

bool LoadFrameSetup(const CCommandOptions& options, CFrameSetup& setup, std::string& error) {
  const bool loaded = options.route.empty() ? LoadSampleRoute(setup.route, error)
                                            : LoadRouteFile(options.route, setup.route, error);
  CSizeTable defaults;
  if (!loaded || !LoadDefaultSizeTable(defaults, error)) return false;
  std::optional<int> maxTurnScale;
  if (!options.sizesFile.empty()) {
    if (!LoadSizeTableFile(options.sizesFile, setup.sizes, error)) return false;
    maxTurnScale = setup.sizes.maxTurnScale;
  } else {
    setup.sizes.rows = setup.route.sizes ? *setup.route.sizes : defaults.rows;
  }
  if (!maxTurnScale) maxTurnScale = setup.route.maxTurnScale;
  if (!maxTurnScale) maxTurnScale = defaults.maxTurnScale;
  setup.maxTurnScale = maxTurnScale.value_or(0);
  setup.scaleIndex =
      options.scaleIndex.value_or(setup.route.scaleIndex.value_or(kDefaultScaleIndex));
  for (std::size_t i = 0; i < kColorFields.size(); ++i) {
    if (setup.route.colors[i]) setup.colors.*kColorFields[i].member = *setup.route.colors[i];
  }
  setup.redLine = options.redLine || setup.route.redLine;
  setup.center = options.center;
  setup.ladder = Torvane::CDisplayListMapView::DefaultLadder();
  if (!BuildPath(setup.route, setup.path)) {
    error = setup.route.fileName + ": the path refused a guide";
    return false;
  }
  return true;
}

bool ChooseTurn(const CCommandOptions& options, const CFrameSetup& setup,
                std::optional<CChosenTurn>& chosen, std::string& error) {
  const CRouteFile& route = setup.route;
  const std::string count = std::to_string(route.turns.size());
  if (options.enter && options.exit) {
    CRouteTurn turn;
    turn.enter = *options.enter;
    turn.exit = *options.exit;
    turn.type = options.turnType.value_or(0);
    if (!CheckTurn(route, turn, "--enter/--exit", error)) {
      error = route.fileName + ": " + error;
      return false;
    }
    chosen = CChosenTurn{
        turn, "guides " + std::to_string(turn.enter) + " -> " + std::to_string(turn.exit)};
  } else if (options.turn) {
    if (static_cast<std::size_t>(*options.turn) >= route.turns.size()) {
      error = route.fileName + ": --turn " + std::to_string(*options.turn) + ": the route has " +
              count + " turns";
      return false;
    }
    chosen = CChosenTurn{route.turns[static_cast<std::size_t>(*options.turn)],
                         "turn " + std::to_string(*options.turn) + " of " + count};
  } else if (route.turn) {
    chosen = CChosenTurn{*route.turn, "the file's turn"};
  } else if (!route.turns.empty()) {
    chosen = CChosenTurn{route.turns.front(), "turn 0 of " + count};
  }
  return true;
}

bool ChooseTurns(const CCommandOptions& options, const CFrameSetup& setup,
                 std::vector<CChosenTurn>& turns, std::string& error) {
  const CRouteFile& route = setup.route;
  const std::string count = std::to_string(route.turns.size());
  std::vector<int> indices;
  if (options.turns) {
    indices = *options.turns;
  } else {
    for (std::size_t k = 0; k < route.turns.size(); ++k) indices.push_back(static_cast<int>(k));
  }
  turns.clear();
  for (const int k : indices) {
    if (static_cast<std::size_t>(k) >= route.turns.size()) {
      error =
          route.fileName + ": --turns " + std::to_string(k) + ": the route has " + count + " turns";
      return false;
    }
    turns.push_back(CChosenTurn{route.turns[static_cast<std::size_t>(k)],
                                "turn " + std::to_string(k) + " of " + count});
  }
  return true;
}

bool DrawFrame(const CFrameSetup& setup, const CRouteTurn* turn, Torvane::CMapService& view,
               std::string& error) {
  return Drive(setup, turn, {setup.route.drawRoute, setup.route.drawArrow, setup.redLine}, view,
               error);
}

bool RecordArrow(const CFrameSetup& setup, const CRouteTurn& turn, int scaleIndex,
                 std::vector<Torvane::CDrawCall>& calls, std::string& error) {
  Torvane::CDisplayListMapView recorder;
  recorder.SetScaleLadder(setup.ladder);
  recorder.SetScale(ScaleForIndex(setup.ladder, scaleIndex));
  if (!Drive(setup, &turn, {false, setup.route.drawArrow, false}, recorder, error)) return false;
  calls = recorder.GetCalls();
  return true;
}

bool PaintedBox(const std::vector<Torvane::CDrawCall>& calls, const CWebMercator& projection,
                CRect& box) {
  bool painted = false;
  for (const Torvane::CDrawCall& call : calls) {
    // Half the painted width, as CImageMapView paints each kind of call.
    double half = 0.0;
    if (call.op == Torvane::CDrawCall::kPolyline && call.style > 0) {
      half = call.style / 2.0;
    } else if (call.op == Torvane::CDrawCall::kPolyline) {
      if (call.width <= 0 || call.width > CImageMapView::kMaxLineWidthPx) continue;
      half = call.width / 2.0;
    }
    for (const tagLonLat& point : call.points) {
      const CPixel at = projection.ToPixel(point);
      if (!std::isfinite(at.x) || !std::isfinite(at.y)) continue;
      const CRect around = {at.x - half, at.y - half, at.x + half, at.y + half};
      box = painted ? CRect{std::min(box.left, around.left), std::min(box.top, around.top),
                            std::max(box.right, around.right), std::max(box.bottom, around.bottom)}
                    : around;
      painted = true;
    }
  }
  return painted;
}

bool PlanFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex, int widthPx,
               int heightPx, CFramePlan& plan, std::string& error) {
  const double metresPerPixel = ScaleForIndex(setup.ladder, scaleIndex);
  std::vector<Torvane::CDrawCall> arrow;
  if (turn != nullptr && !RecordArrow(setup, *turn, scaleIndex, arrow, error)) return false;
  const tagLonLat centre = PictureCentre(setup, turn, arrow, metresPerPixel, widthPx, heightPx);
  plan.projection = CWebMercator(centre, metresPerPixel, widthPx, heightPx);
  plan.arrowDrawn = PaintedBox(arrow, plan.projection, plan.arrowBox);
  plan.overflowPx = {0, 0, 0, 0};
  if (plan.arrowDrawn) {
    plan.overflowPx = {std::max(0.0, -plan.arrowBox.left), std::max(0.0, -plan.arrowBox.top),
                       std::max(0.0, plan.arrowBox.right - widthPx),
                       std::max(0.0, plan.arrowBox.bottom - heightPx)};
  }
  return true;
}

bool PaintFrame(const CFrameSetup& setup, const CRouteTurn* turn, const CFramePlan& plan,
                CCanvas& canvas, const CCell& cell, std::vector<Torvane::CDrawCall>* calls,
                std::string& error) {
  Torvane::CMapService& view = canvas.BeginFrame(cell, plan.projection);
  if (calls == nullptr) {
    if (!DrawFrame(setup, turn, view, error)) return false;
  } else {
    CCallDumpView recorder(view);
    if (!DrawFrame(setup, turn, recorder, error)) return false;
    *calls = recorder.Calls();
  }
  canvas.PaintEndpoints(setup.route.origin, setup.route.dest);
  return true;
}

tagLonLat TurnNode(const CFrameSetup& setup, const CRouteTurn& turn) {
  return setup.route.guides[static_cast<std::size_t>(turn.enter)].points.back();
}

}  // namespace tool
