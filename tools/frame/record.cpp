#include "frame/record.h"

#include <memory>

#include "route.h"

namespace tool {

namespace {

struct CHandleCloser {
  void operator()(AdvicePathRenderEx* handle) const { ClosePathRender(handle); }
};

bool Drive(const CFrameSetup& setup, const CRouteTurn* turn, Torvane::CMapService& view,
           std::string& error) {
  // The renderer only reads the path and the table, but its interface takes plain pointers.
  CNavPath* path = const_cast<CNavPath*>(&setup.path);
  std::unique_ptr<AdvicePathRenderEx, CHandleCloser> handle(NewPathRender(path, &view));
  std::vector<AdvicePathSizeSetting> table = setup.sizes.rows;
  if (!handle ||
      handle->SetSize(table.data(), static_cast<int>(table.size()), setup.maxTurnScale) != 1) {
    error = "the renderer refused its set-up (see --log-level error)";
    return false;
  }
  handle->SetClr(setup.colors);
  handle->EnableDrawRedLine(setup.redLine);
  if (turn != nullptr) {
    CTurnInfo info;
    if (!info.SetFromPath(*path, turn->enter, turn->exit,
                          static_cast<NAV_TURN_TYPE_tag>(turn->type))) {
      error = "the path refused the turn's guides";
      return false;
    }
    handle->SetTurnInfo(info, path);
  }
  handle->Draw(setup.route.drawRoute, setup.route.drawArrow);
  return true;
}

// Finds the arrow in `record`. The library draws, in order: the route's border pass and
// inner pass (one call per edge each, the program's path having one edge per guide), the
// arrow ending in its one filled head (the frame's only DrawPolygon), then the red line.
void FindArrow(const CFrameSetup& setup, CFrameRecord& record) {
  record.arrowBegin = record.arrowEnd = 0;
  const std::size_t routeCalls = setup.route.drawRoute ? 2 * setup.route.guides.size() : 0;
  for (std::size_t i = routeCalls; i < record.calls.size(); ++i) {
    if (record.calls[i].op == Torvane::CDrawCall::kPolygon) {
      record.arrowBegin = routeCalls;
      record.arrowEnd = i + 1;
      return;
    }
  }
}

}  // namespace

void SetRouteEnds(const CFrameSetup& setup) {
  GetRouteManager().GetPathManager().SetOrgPoint(setup.route.origin);
  GetRouteManager().GetPathManager().SetDestPoints({setup.route.dest});
}

bool RecordFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex,
                 CFrameRecord& record, std::string& error) {
  SetRouteEnds(setup);
  return RecordPreparedFrame(setup, turn, scaleIndex, record, error);
}

bool RecordPreparedFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex,
                         CFrameRecord& record, std::string& error) {
  Torvane::CDisplayListMapView recorder;
  recorder.SetScaleLadder(setup.ladder.Bounds());
  recorder.SetScale(setup.ladder.MetresPerPixel(scaleIndex));
  if (!Drive(setup, turn, recorder, error)) return false;
  record.scaleIndex = scaleIndex;
  record.metresPerPixel = setup.ladder.MetresPerPixel(scaleIndex);
  record.calls = recorder.GetCalls();
  FindArrow(setup, record);
  return true;
}

std::string NoArrowReason(const CFrameSetup& setup, const CRouteTurn* turn,
                          const CFrameRecord& record) {
  if (record.HasArrow()) return std::string();
  if (turn == nullptr) return "the route lists no turn to draw";
  if (!setup.route.drawArrow) return "the route file's \"flags\" ask for no arrow";
  if (turn->EndsRoute()) return "it is the route's end (type 1), where no arrow is drawn";
  if (record.scaleIndex > setup.maxTurnScale) {
    return "the table draws arrows up to scale index " + std::to_string(setup.maxTurnScale);
  }
  return "the library could not build it (--log-level error shows why)";
}

}  // namespace tool
