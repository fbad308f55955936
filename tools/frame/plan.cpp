#include "frame/plan.h"

#include <algorithm>

#include "picture/imagemapview.h"

namespace tool {

namespace {

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

// The centre of a picture showing `record` of `turn` (may be null) as setup.center says.
tagLonLat PictureCentre(const CFrameSetup& setup, const CRouteTurn* turn,
                        const CFrameRecord& record, int widthPx, int heightPx) {
  if (turn == nullptr || setup.center == CCenter::kRoute) return RouteMiddle(setup.route);
  const tagLonLat node = TurnNode(setup.route, *turn);
  if (setup.center == CCenter::kTurn) return node;
  // The arrow's box in a picture centred on the node, then the point under its middle.
  const CWebMercator onNode(node, record.metresPerPixel, widthPx, heightPx);
  CRect box;
  if (!PaintedBox(record.calls, record.arrowBegin, record.arrowEnd, onNode, box)) return node;
  const tagLonLat middle =
      onNode.FromPixel({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  return IsValidLonLat(middle) ? middle : node;
}

}  // namespace

double CFramePlan::MaxOverflowPx() const {
  return std::max(std::max(overflowPx.left, overflowPx.right),
                  std::max(overflowPx.top, overflowPx.bottom));
}

CFramePlan PlanFrame(const CFrameSetup& setup, const CRouteTurn* turn, const CFrameRecord& record,
                     int widthPx, int heightPx) {
  CFramePlan plan;
  plan.projection = CWebMercator(PictureCentre(setup, turn, record, widthPx, heightPx),
                                 record.metresPerPixel, widthPx, heightPx);
  plan.arrowDrawn =
      PaintedBox(record.calls, record.arrowBegin, record.arrowEnd, plan.projection, plan.arrowBox);
  if (plan.arrowDrawn) {
    plan.overflowPx = {std::max(0.0, -plan.arrowBox.left), std::max(0.0, -plan.arrowBox.top),
                       std::max(0.0, plan.arrowBox.right - widthPx),
                       std::max(0.0, plan.arrowBox.bottom - heightPx)};
  }
  return plan;
}

}  // namespace tool
