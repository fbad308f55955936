// Notation: "along" is metres along the route from its start (input/routefile.h's
// DistanceToEndOfGuide for a node); a stroke is one of the arrow's border-pass polylines,
// which the library draws in travel order, those before the turn node first.
#include "audit/turnaudit.h"

#include <algorithm>
#include <cmath>

#include "audit/audit.h"
#include "geodesy.h"

namespace tool {

namespace {

// Two points within this many degrees in both coordinates are one point (the library's
// IsSamePoint).
constexpr double kSamePointDegrees = 3e-6;

bool SamePoint(const tagLonLat& a, const tagLonLat& b) {
  return std::fabs(a.lon - b.lon) < kSamePointDegrees &&
         std::fabs(a.lat - b.lat) < kSamePointDegrees;
}

}  // namespace

int NextTurn(const CRouteFile& route, int turnIndex) {
  const double node = DistanceToEndOfGuide(route, route.turns[turnIndex].enter);
  int next = -1;
  double nextNode = 0.0;
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const double along = DistanceToEndOfGuide(route, route.turns[k].enter);
    if (along > node && (next < 0 || along < nextNode)) {
      next = static_cast<int>(k);
      nextNode = along;
    }
  }
  return next;
}

bool ExitGuideReachesNextNode(const CRouteTurn& turn, const CRouteTurn& next) {
  return next.enter <= turn.exit;
}

double ArrowReachMetres(const CFrameRecord& record, const CFrameSetup& setup,
                        const CRouteTurn& turn) {
  if (!record.HasArrow() || record.arrowEnd - record.arrowBegin < 4) return -1.0;
  // The arrow's calls: n border strokes, the head's outline, n inner strokes, the head.
  const std::size_t strokes = (record.arrowEnd - record.arrowBegin - 2) / 2;
  const tagLonLat node = TurnNode(setup.route, turn);
  const Torvane::CDrawCall& head = record.calls[record.arrowEnd - 1];
  std::size_t k = 0;
  while (k < strokes && !(!record.calls[record.arrowBegin + k].points.empty() &&
                          SamePoint(record.calls[record.arrowBegin + k].points.back(), node))) {
    ++k;
  }
  if (k == strokes || head.points.empty()) return -1.0;
  double metres = 0.0;
  for (std::size_t i = k + 1; i < strokes; ++i) {
    const std::vector<tagLonLat>& points = record.calls[record.arrowBegin + i].points;
    metres += LineLength(static_cast<unsigned short>(points.size()), points.data());
  }
  // From the end of the last stroke (the middle of the head's base, or the node itself when
  // no stroke follows it) to the head's tip, its first point.
  const std::vector<tagLonLat>& last = record.calls[record.arrowBegin + strokes - 1].points;
  return metres + SegmentLength(last.back(), head.points.front());
}

bool CheckTurnAtScale(const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                      int widthPx, int heightPx, CTurnCheck& check, std::string& error) {
  CFrameRecord record;
  if (!RecordFrame(setup, &turn.turn, scaleIndex, record, error)) return false;
  check = CTurnCheck();
  check.turn = turn.index;
  check.scaleIndex = scaleIndex;
  check.plan = PlanFrame(setup, &turn.turn, record, widthPx, heightPx);
  const CRouteFile& route = setup.route;
  const int next = turn.index >= 0 ? NextTurn(route, turn.index) : -1;
  const double reach = ArrowReachMetres(record, setup, turn.turn);
  if (next < 0 || reach < 0.0 ||
      ExitGuideReachesNextNode(turn.turn, route.turns[static_cast<std::size_t>(next)])) {
    return true;
  }
  const CRouteTurn& nextTurn = route.turns[static_cast<std::size_t>(next)];
  CPastNextTurn past;
  past.nextTurn = next;
  past.metres = DistanceToEndOfGuide(route, turn.turn.enter) + reach -
                DistanceToEndOfGuide(route, nextTurn.enter);
  past.pixels = past.metres / record.metresPerPixel;
  // The row the library drew with: the index's, or the fallback past the table's end.
  const std::size_t rows = setup.sizes.rows.size();
  const std::size_t row =
      static_cast<std::size_t>(scaleIndex) < rows
          ? static_cast<std::size_t>(scaleIndex)
          : std::min<std::size_t>(static_cast<std::size_t>(kFallbackScaleIndex), rows - 1);
  past.limitPx = setup.sizes.rows[row].arrowBorderWidth;
  check.pastNext = past;
  return true;
}

}  // namespace tool
