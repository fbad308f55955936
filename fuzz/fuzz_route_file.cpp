// fuzz_route_file: the bytes are a route file of the advicepath program.
//
// They go through the program's own loader and, on the same bytes, its size-table reader.
// When the loader accepts the file, its path is built and every turn it lists that the
// program's turn check accepts is drawn at every scale index of its table (and once past the
// table's end, where the renderer falls back to row 5) on a recording view, with the red line
// on from the file's origin to its destination. Every frame is checked call by call
// (frame_check.h); beyond that, every point drawn is a finite number, since the file's points
// all lie inside (-180, 180) x (-90, 90).
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "frame_check.h"
#include "input/routefile.h"
#include "input/sizetable.h"
#include "path.h"
#include "route.h"

namespace {

// The rows drawn with when the file has no size table: a street-level row and a town-level
// row (pixels, then metres, in the field order of AdvicePathSizeSetting).
const std::vector<AdvicePathSizeSetting> kFallbackRows = {
    {10, 14, 12, 16, 0, 4, 60, 80, 10, 28, 20},
    {8, 12, 11, 15, 0, 4, 300, 400, 50, 135, 95},
};

// The documented guarantees of a table the reader accepted.
void CheckSizeTable(const tool::CSizeTable& table) {
  FUZZ_CHECK(!table.rows.empty(), "an accepted size table has a row");
  for (const AdvicePathSizeSetting& row : table.rows) {
    for (const tool::CSizeField& field : tool::kSizeFields) {
      FUZZ_CHECK(row.*field.member >= 0, "size values are whole numbers from 0");
    }
  }
}

// The documented guarantees of a route the loader accepted.
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

void CheckFinitePoints(const std::vector<fuzz::CViewCall>& calls) {
  for (const fuzz::CViewCall& call : calls) {
    for (const tagLonLat& pt : call.points) {
      FUZZ_CHECK(std::isfinite(pt.lon) && std::isfinite(pt.lat), "a drawn point is not finite");
    }
  }
}

// Draws `turn` at every scale index from 0 to the table's row count and checks each frame.
void DrawTurnAtEveryScale(AdvicePathRenderEx& handle, fuzz::CFuzzMapView& view, CNavPath& path,
                          const tool::CRouteFile& route, const tool::CRouteTurn& turn,
                          const std::vector<AdvicePathSizeSetting>& rows,
                          const AdvicePathClrSetting& colors) {
  CTurnInfo info;
  FUZZ_CHECK(
      info.SetFromPath(path, turn.enter, turn.exit, static_cast<NAV_TURN_TYPE_tag>(turn.type)),
      "a turn the program accepts lies on its path");
  handle.SetTurnInfo(info, &path);
  const int count = static_cast<int>(rows.size());
  for (int scale = 0; scale <= count; ++scale) {
    view.SetScaleIndex(scale);
    view.Reset();
    handle.Draw(true, true);
    fuzz::CFrameExpectation frame;
    frame.pastGuards = true;
    frame.path = &path;
    const int row = scale < count ? scale : 5;  // an index past the table falls back to 5
    frame.row = row < count ? &rows[static_cast<std::size_t>(row)] : nullptr;
    frame.colors = colors;
    frame.arrowAllowed = turn.type != NAV_TURN_END;
    fuzz::ExpectRedLine(route.origin, route.dest, frame);
    fuzz::CheckFrame(view, frame);
    CheckFinitePoints(view.GetCalls());
  }
}

void DrawRoute(const tool::CRouteFile& route, const tool::CSizeTable* fileTable) {
  CNavPath path;
  FUZZ_CHECK(tool::BuildPath(route, path), "an accepted route builds a path");
  tool::CSizeTable table;
  if (route.sizes) {
    table.rows = *route.sizes;
  } else if (fileTable != nullptr) {
    table = *fileTable;
  } else {
    table.rows = kFallbackRows;
  }
  std::vector<AdvicePathSizeSetting> rows = table.rows;
  const AdvicePathClrSetting colors = route.colors;

  fuzz::CFuzzMapView view;
  AdvicePathRenderEx* handle = NewPathRender(&path, &view);
  FUZZ_CHECK(handle != nullptr, "a handle can be made");
  // The arrow is drawn at every row, whatever largest arrow scale the file asks for.
  FUZZ_CHECK(handle->SetSize(rows.data(), static_cast<int>(rows.size()), INT_MAX) == 1,
             "the table is taken");
  handle->SetClr(colors);
  handle->EnableDrawRedLine(true);
  CPathManagerEx& manager = GetRouteManager().GetPathManager();
  manager.SetOrgPoint(route.origin);
  manager.SetDestPoints({route.dest});

  std::vector<tool::CRouteTurn> turns = route.turns;
  if (route.turn) turns.push_back(*route.turn);
  std::string error;
  for (const tool::CRouteTurn& turn : turns) {
    if (!tool::CheckTurn(route, turn, "turn", error)) continue;
    DrawTurnAtEveryScale(*handle, view, path, route, turn, rows, colors);
  }
  FUZZ_CHECK(ClosePathRender(handle), "the handle closes");
  manager.ClearOrgPoint();
  manager.SetDestPoints({});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;

  tool::CSizeTable fileTable;
  bool tableRead = false;
  const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
  if (!document.is_discarded()) {
    tableRead = tool::ParseSizeTable(document, fileTable, error);
    if (tableRead) CheckSizeTable(fileTable);
  }

  tool::CRouteFile route;
  error.clear();
  if (!tool::ParseRouteText(text, "fuzz", route, error)) {
    FUZZ_CHECK(!error.empty(), "a refused route file says why");
    return 0;
  }
  CheckRouteFile(route);
  DrawRoute(route, tableRead ? &fileTable : nullptr);
  return 0;
}
