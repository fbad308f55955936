#include "frame_check.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "geodesy.h"
#include "path.h"

namespace fuzz {

namespace {

// The red line: metres at which it is broken into ten steps, its colour, width and points.
constexpr double kRedLineStepMetres = 200000.0;
constexpr unsigned kRedLineColor = 255;
constexpr int kRedLineWidth = 2;
constexpr int kRedLineFarPoints = 11;
// Corners of the arrowhead.
constexpr int kHeadPoints = 3;

struct CEdgeRef {
  const tagLonLat* pts;
  int count;
};

bool SamePoints(const std::vector<tagLonLat>& a, const std::vector<tagLonLat>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(tagLonLat)) == 0);
}

// True when `call` drew the edge's points, bit for bit, and its count.
bool DrewEdge(const CViewCall& call, const CEdgeRef& edge) {
  if (call.count != edge.count || call.points.size() != static_cast<std::size_t>(edge.count)) {
    return false;
  }
  return edge.count == 0 ||
         std::memcmp(call.points.data(), edge.pts, call.points.size() * sizeof(tagLonLat)) == 0;
}

// The route's edges as the path delivers them. An edge the path cannot deliver may be
// skipped or may end the walk (the renderer's choice): `all` skips it, `leading` ends there.
void RouteEdges(const CPath& path, std::vector<CEdgeRef>& all, std::vector<CEdgeRef>& leading) {
  bool broken = false;
  for (const void* pos = path.GetFirstPosition(); pos != nullptr; pos = path.GetNext(pos)) {
    unsigned short count = 0;
    tagLonLat* pts = nullptr;
    if (path.GetEdge(pos, count, pts) == 0) {
      broken = true;
      continue;
    }
    all.push_back({pts, count});
    if (!broken) leading.push_back({pts, count});
  }
}

// True when calls[at..] start with one pass over `edges` in `color` and `width`.
bool MatchesPass(const std::vector<CViewCall>& calls, std::size_t at,
                 const std::vector<CEdgeRef>& edges, unsigned color, int width, bool checkWidth) {
  if (calls.size() - at < edges.size()) return false;
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const CViewCall& call = calls[at + e];
    if (call.op != CViewCall::kPolyline || !DrewEdge(call, edges[e]) || call.style != 0 ||
        call.color != color || (checkWidth && call.width != width)) {
      return false;
    }
  }
  return true;
}

// Checks the route's two passes from calls[at]; returns the index after them. Without the
// frame's row (a scale index outside the table) the route may also be left out.
std::size_t CheckRoute(const std::vector<CViewCall>& calls, std::size_t at,
                       const CFrameExpectation& frame) {
  std::vector<CEdgeRef> all;
  std::vector<CEdgeRef> leading;
  RouteEdges(*frame.path, all, leading);
  const bool checkWidth = frame.row != nullptr;
  // Route widths reach the view as their low 16 bits.
  const int border = checkWidth ? static_cast<unsigned short>(frame.row->pathBorderWidth) : 0;
  const int inner = checkWidth ? static_cast<unsigned short>(frame.row->pathWidth) : 0;
  for (const std::vector<CEdgeRef>* edges : {&all, &leading}) {
    if (MatchesPass(calls, at, *edges, frame.colors.pathBorderColor, border, checkWidth) &&
        MatchesPass(calls, at + edges->size(), *edges, frame.colors.pathColor, inner, checkWidth)) {
      return at + 2 * edges->size();
    }
  }
  if (!checkWidth) return at;
  Fail(__FILE__, __LINE__, "route passes", "the route is not drawn as two passes over its edges");
}

// Checks the arrow's calls[at..end): strokes in the border colour, the head's outline,
// strokes in the arrow colour, the filled head. Returns the number of strokes.
int CheckArrow(const std::vector<CViewCall>& calls, std::size_t at, std::size_t end,
               const CFrameExpectation& frame) {
  const std::size_t n = end - at;
  FUZZ_CHECK(frame.arrowAllowed, "an arrow drawn where none may be");
  FUZZ_CHECK(n % 2 == 0 && n >= 6, "arrow calls are two passes of two or more strokes and a head");
  const std::size_t k = (n - 2) / 2;
  const AdvicePathSizeSetting* row = frame.row;
  const unsigned borderColor = frame.colors.arrowBorderColor;
  const unsigned arrowColor = frame.colors.arrowColor;
  for (std::size_t s = 0; s < k; ++s) {
    const CViewCall& border = calls[at + s];
    const CViewCall& inner = calls[at + k + 1 + s];
    FUZZ_CHECK(border.op == CViewCall::kPolyline && inner.op == CViewCall::kPolyline,
               "arrow strokes are polylines");
    FUZZ_CHECK(border.count >= 1 && !border.points.empty(), "an arrow stroke without points");
    FUZZ_CHECK(border.count == inner.count && SamePoints(border.points, inner.points),
               "the inner pass draws other strokes than the border pass");
    FUZZ_CHECK(border.style == 0 && inner.style == 0, "stroke style is 0");
    FUZZ_CHECK(border.color == borderColor && inner.color == arrowColor, "stroke colours");
    FUZZ_CHECK(
        row == nullptr || (border.width == row->arrowBorderWidth && inner.width == row->arrowWidth),
        "stroke widths");
  }
  const CViewCall& outline = calls[at + k];
  const CViewCall& fill = calls[end - 1];
  FUZZ_CHECK(outline.op == CViewCall::kPolyline && outline.count == kHeadPoints,
             "the head's outline is a polyline of three points");
  FUZZ_CHECK(fill.op == CViewCall::kPolygon && fill.count == kHeadPoints,
             "the filled head is a polygon of three points");
  FUZZ_CHECK(SamePoints(outline.points, fill.points), "outline and fill are one head");
  FUZZ_CHECK(outline.color == borderColor && outline.width == static_cast<int>(borderColor),
             "the outline passes the border colour twice");
  FUZZ_CHECK(fill.color == arrowColor && fill.width == static_cast<int>(arrowColor),
             "the fill passes the arrow colour twice");
  FUZZ_CHECK(row == nullptr ||
                 (outline.style == row->arrowHeadBorderParam && fill.style == row->arrowHeadParam),
             "head styles come from the row");
  return static_cast<int>(k);
}

void CheckRedLine(const CViewCall& call, const CFrameExpectation& frame) {
  FUZZ_CHECK(frame.red != CFrameExpectation::kRedNone, "a red line drawn where none may be");
  FUZZ_CHECK(call.style == 0 && call.color == kRedLineColor && call.width == kRedLineWidth,
             "the red line is style 0, colour 255, width 2");
  FUZZ_CHECK(call.count == 2 || call.count == kRedLineFarPoints, "the red line has 2 or 11 points");
  if (frame.red != CFrameExpectation::kRedExpected) return;
  FUZZ_CHECK(call.count == frame.redCount, "red line point count for its length");
  FUZZ_CHECK(
      SameBits(call.points.front(), frame.origin) && SameBits(call.points.back(), frame.dest),
      "the red line runs from the origin to the first destination");
}

}  // namespace

void Fail(const char* file, int line, const char* condition, const char* what) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s: %s\n", file, line, condition, what);
  std::abort();
}

bool SameBits(const tagLonLat& a, const tagLonLat& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectRedLine(const tagLonLat& origin, const tagLonLat& dest, CFrameExpectation& frame) {
  const tagLonLat ends[2] = {origin, dest};
  const double length = LineLength(2, ends);
  if (std::isnan(length)) {
    frame.red = CFrameExpectation::kRedMaybe;
    return;
  }
  frame.red = CFrameExpectation::kRedExpected;
  frame.redCount = length < kRedLineStepMetres ? 2 : kRedLineFarPoints;
  frame.origin = origin;
  frame.dest = dest;
}

int CheckFrame(const CFuzzMapView& view, const CFrameExpectation& frame) {
  const std::vector<fakes::ScaleQuery>& queries = view.ScaleQueries();
  if (!frame.viewAttached) {
    FUZZ_CHECK(view.GetCalls().empty() && queries.empty(),
               "a view that is not the renderer's was called");
    return 0;
  }
  FUZZ_CHECK(queries.size() == 2 && queries[0].op == fakes::ScaleQuery::kGetScale &&
                 queries[1].op == fakes::ScaleQuery::kGetScaleIndex && queries[1].drawsBefore == 0,
             "every frame starts with GetScale, then GetScaleIndex, and asks nothing more");
  return CheckDrawCalls(view.GetCalls(), frame);
}

int CheckDrawCalls(const std::vector<CViewCall>& calls, const CFrameExpectation& frame) {
  for (const CViewCall& call : calls) {
    FUZZ_CHECK(call.count >= 0, "a draw call with a negative count");
    FUZZ_CHECK(call.points.size() == static_cast<std::size_t>(call.count),
               "a draw call with points but no array");
  }
  std::size_t at = 0;
  if (!frame.pastGuards) {
    FUZZ_CHECK(calls.empty(), "a frame without drawing, a view or a table draws nothing");
    return 0;
  }
  if (frame.path != nullptr) at = CheckRoute(calls, at, frame);
  std::size_t end = calls.size();
  // The arrow ends with its polygon, so a polyline at the end is the red line.
  if (end > at && calls[end - 1].op == CViewCall::kPolyline) {
    CheckRedLine(calls[end - 1], frame);
    --end;
  } else {
    // What a frame whose scale index has no row draws is the renderer's choice.
    FUZZ_CHECK(frame.red != CFrameExpectation::kRedExpected || frame.row == nullptr,
               "the red line is missing");
  }
  return end > at ? CheckArrow(calls, at, end, frame) : 0;
}

}  // namespace fuzz
