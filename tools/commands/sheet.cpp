// `advicepath sheet`: a contact sheet, a grid of frames with a row per turn and a column per
// scale index, each cell recorded, placed and painted as `render` does it.
#include <algorithm>

#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/record.h"
#include "frame/sheetcell.h"
#include "frame/turns.h"
#include "output/outputfile.h"
#include "picture/canvas.h"

namespace tool {

namespace {

// The largest sheet, in pixels: a side Cairo can address, and a pixel count whose image
// (4 bytes a pixel) stays within 256 MiB.
constexpr long long kMaxSheetSidePx = 32767;
constexpr long long kMaxSheetPixels = 64ll << 20;

struct CSheetOptions {
  CSetupRequest setup;
  std::string out = "sheet.png";
  std::optional<std::vector<int>> turns;         // rows: indices into the route's turns
  std::optional<std::vector<int>> scaleIndices;  // columns, in the order given
  CPixelSize cell = {320, 240};
  CLogLevel log;
};

CCommandLine SheetLine(CSheetOptions& o) {
  return {
      "sheet",
      "advicepath sheet [ROUTE] [options]",
      "Draws a contact sheet of ROUTE (the built-in sample without it): a row per turn, a\n"
      "column per scale index, each cell a frame drawn by the renderer library with a caption\n"
      "above it; the sides an arrow runs out of are marked red, with the pixels in the caption.",
      Options({
          {{"--out", "FILE", "picture to write, .png or .svg (default sheet.png)", &o.out},
           TurnsOption(o.turns),
           {"--scale-indices", "LIST",
            "columns, such as 0-6 or 1,3,5 (default 0 to the table's maxTurnScale)",
            &o.scaleIndices, 0, CScaleLadder::Default().HighestIndex()},
           {"--cell", "WxH", "size of each cell in pixels (default 320x240)", &o.cell, kMinSidePx,
            kMaxSidePx},
           RedLineOption(o.setup.redLine)},
          SetupOptions(o.setup),
          {LogLevelOption(o.log)},
      }),
      &o.setup.route,
  };
}

// The columns: the option's, else 0 to the largest turn scale (at least index 0, at most the
// last index the view reports).
std::vector<int> SheetColumns(const CSheetOptions& o, const CFrameSetup& setup) {
  if (o.scaleIndices) return *o.scaleIndices;
  std::vector<int> columns;
  const int last = std::min(std::max(setup.maxTurnScale, 0), setup.ladder.HighestIndex());
  for (int s = 0; s <= last; ++s) columns.push_back(s);
  return columns;
}

bool DrawSheet(const CSheetOptions& o, const CFrameSetup& setup, std::string& error) {
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(setup.route, o.turns, "--turns", turns, error)) return false;
  if (turns.empty()) {
    error = setup.route.fileName + ": the route has no turns to draw";
    return false;
  }
  const std::vector<int> columns = SheetColumns(o, setup);
  const long long width = static_cast<long long>(columns.size()) * o.cell.width;
  const long long height = static_cast<long long>(turns.size()) * CellHeightPx(o.cell.height);
  if (width > kMaxSheetSidePx || height > kMaxSheetSidePx || width * height > kMaxSheetPixels) {
    error = "sheet: " + std::to_string(width) + "x" + std::to_string(height) +
            " pixels is too large (at most 32767 a side and 67108864 in all)";
    return false;
  }
  COutputFile file;
  std::unique_ptr<CCanvas> canvas =
      OpenCanvas(file, o.out, static_cast<int>(width), static_cast<int>(height), error);
  if (!canvas) return false;
  int arrowless = 0;  // cells without an arrow
  std::string firstArrowless;
  SetRouteEnds(setup);
  for (std::size_t row = 0; row < turns.size(); ++row) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
      CDrawnCell cell;
      if (!DrawSheetCell(*canvas, static_cast<int>(column) * o.cell.width,
                         static_cast<int>(row) * CellHeightPx(o.cell.height), o.cell.width,
                         o.cell.height, setup, turns[row], columns[column], cell, error)) {
        return false;
      }
      const std::string reason = NoArrowReason(setup, &turns[row].turn, cell.record);
      if (!reason.empty() && arrowless++ == 0) {
        firstArrowless = DescribeNoArrow(&turns[row], columns[column], reason);
      }
    }
  }
  if (!canvas->Finish(error) || !CommitAll({&file}, error)) return false;
  if (arrowless > 0) {
    ReportError("note: " + o.out + ": " + std::to_string(arrowless) + " of " +
                std::to_string(turns.size() * columns.size()) + " cells have no arrow (" +
                firstArrowless + ")");
  }
  return true;
}

}  // namespace

int RunSheet(const std::vector<std::string>& args) {
  CSheetOptions o;
  return RunFrameCommand(SheetLine(o), args, o.log, o.setup,
                         [&o](CFrameSetup& setup, std::string& error) {
                           return DrawSheet(o, setup, error) ? kExitOk : kExitBadInput;
                         });
}

}  // namespace tool
