// fuzz_route_file: the bytes are a route in any format the program reads (its own route
// files, routers' answers, GPX), or a size table.
//
// They go through the program's readers, recognised by content, and, on the same bytes, its
// size-table reader. A route the readers accept must hold what they promise, and must read
// back the same from the route file convert writes. Its frames are then made by the program's
// own frame stage: the set-up it builds (with the red line on and arrows at every scale
// index), and every turn recorded once at every scale index of the picture's ladder and placed
// from its record. Every record is checked call by call (frame_check.h), its arrow must be
// found where the library drew it, and every point drawn is a finite number, since the
// route's points all lie inside (-180, 180) x (-90, 90).
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "frame/plan.h"
#include "frame/record.h"
#include "frame/setup.h"
#include "frame_check.h"
#include "input/routereader.h"
#include "input/sizetable.h"
#include "output/routegeojson.h"
#include "path.h"
#include "route.h"

namespace {

// The documented guarantees of a table the reader accepted.
void CheckSizeTable(const tool::CSizeTable& table) {
  FUZZ_CHECK(!table.rows.empty(), "an accepted size table has a row");
  for (const AdvicePathSizeSetting& row : table.rows) {
    for (const tool::CSizeField& field : tool::kSizeFields) {
      FUZZ_CHECK(row.*field.member >= 0, "size values are whole numbers from 0");
    }
  }
}

// The documented guarantees of a route the readers accepted.
void CheckRouteFile(const tool::CRouteFile& route) {
  FUZZ_CHECK(!route.guides.empty(), "an accepted route has a guide");
  for (const tool::CRouteGuide& guide : route.guides) {
    FUZZ_CHECK(guide.points.size() >= 2 && guide.points.size() <= CPath::kMaxGuidePoints,
               "a guide holds 2 to 65535 points");
    for (const tagLonLat& pt : guide.points) {
      FUZZ_CHECK(IsValidLonLat(pt), "guide points lie inside (-180, 180) x (-90, 90)");
    }
  }
}

// The route file convert writes reads back to the same route, every point bit for bit.
void CheckRoundTrip(const tool::CRouteFile& route) {
  tool::CRouteFile back;
  std::string error;
  FUZZ_CHECK(tool::ParseRouteText(tool::FormatRouteGeoJson(route), "back", back, error),
             "a converted route reads back");
  FUZZ_CHECK(back.guides.size() == route.guides.size() && back.turns.size() == route.turns.size(),
             "a converted route keeps its guides and turns");
  for (std::size_t g = 0; g < route.guides.size(); ++g) {
    const tool::CRouteGuide& a = route.guides[g];
    const tool::CRouteGuide& b = back.guides[g];
    FUZZ_CHECK(
        a.points.size() == b.points.size() &&
            std::memcmp(a.points.data(), b.points.data(), a.points.size() * sizeof(tagLonLat)) == 0,
        "a converted guide keeps its points bit for bit");
  }
  for (std::size_t t = 0; t < route.turns.size(); ++t) {
    const tool::CRouteTurn& a = route.turns[t];
    const tool::CRouteTurn& b = back.turns[t];
    FUZZ_CHECK(a.enter == b.enter && a.exit == b.exit && a.type == b.type,
               "a converted turn keeps its guides and type");
  }
  FUZZ_CHECK(fuzz::SameBits(back.origin, route.origin) && fuzz::SameBits(back.dest, route.dest),
             "a converted route keeps its ends");
}

void CheckFinitePoints(const std::vector<fuzz::CViewCall>& calls) {
  for (const fuzz::CViewCall& call : calls) {
    for (const tagLonLat& pt : call.points) {
      FUZZ_CHECK(std::isfinite(pt.lon) && std::isfinite(pt.lat), "a drawn point is not finite");
    }
  }
}

// What the library may draw for `turn` at `scaleIndex` with the set-up's table.
fuzz::CFrameExpectation Expect(const tool::CFrameSetup& setup, const tool::CRouteTurn& turn,
                               int scaleIndex) {
  fuzz::CFrameExpectation frame;
  frame.pastGuards = true;
  frame.path = setup.route.drawRoute ? &setup.path : nullptr;
  const int count = static_cast<int>(setup.sizes.rows.size());
  const int row = scaleIndex < count ? scaleIndex : 5;  // past the table: row 5
  frame.row = row < count ? &setup.sizes.rows[static_cast<std::size_t>(row)] : nullptr;
  frame.colors = setup.colors;
  frame.arrowAllowed = setup.route.drawArrow && !turn.EndsRoute();
  fuzz::ExpectRedLine(setup.route.origin, setup.route.dest, frame);
  return frame;
}

// Records `turn` at every scale index of the ladder and checks each record and its placement.
void DrawTurnAtEveryScale(const tool::CFrameSetup& setup, const tool::CRouteTurn& turn) {
  for (int scale = 0; scale <= setup.ladder.HighestIndex(); ++scale) {
    tool::CFrameRecord record;
    std::string error;
    FUZZ_CHECK(tool::RecordFrame(setup, &turn, scale, record, error),
               "a turn the readers accept is drawn");
    const int strokes = fuzz::CheckDrawCalls(record.calls, Expect(setup, turn, scale));
    FUZZ_CHECK(record.HasArrow() == (strokes > 0) &&
                   (strokes == 0 || record.arrowEnd - record.arrowBegin ==
                                        2 * static_cast<std::size_t>(strokes) + 2),
               "the record's arrow is the arrow the library drew");
    CheckFinitePoints(record.calls);
    const tool::CFramePlan plan = tool::PlanFrame(setup, &turn, record, 320, 240);
    FUZZ_CHECK(std::isfinite(plan.MaxOverflowPx()) && plan.MaxOverflowPx() >= 0.0,
               "a placed arrow runs out by a finite number of pixels");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;

  const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
  tool::CSizeTable table;
  if (!document.is_discarded() && tool::ParseSizeTable(document, table, error)) {
    CheckSizeTable(table);
  }

  tool::CRouteFile route;
  error.clear();
  if (!tool::ReadRoute(text, "fuzz", tool::CReadOptions(), route, error)) {
    FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos,
               "a refused route says why in one line");
    return 0;
  }
  CheckRouteFile(route);
  CheckRoundTrip(route);

  tool::CSetupRequest request;
  request.redLine = true;
  tool::CFrameSetup setup;
  // A route file may ask for a scale index past the ladder: the set-up refuses it, as the
  // program does.
  if (!tool::BuildFrameSetup(route, request, setup, error)) return 0;
  setup.maxTurnScale = INT_MAX;  // the arrow at every scale index
  std::vector<tool::CRouteTurn> turns = setup.route.turns;
  if (setup.route.turn) turns.push_back(*setup.route.turn);
  for (const tool::CRouteTurn& turn : turns) DrawTurnAtEveryScale(setup, turn);
  GetRouteManager().GetPathManager().ClearOrgPoint();
  GetRouteManager().GetPathManager().SetDestPoints({});
  return 0;
}
