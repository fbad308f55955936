// `advicepath sheet`: a contact sheet, a grid of frames with a row per turn and a column per
// scale index, each cell drawn by the renderer library through the same view as `render`.
#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/frame.h"

namespace tool {

namespace {

const char kDefaultOut[] = "sheet.png";
// The largest sheet, in pixels: a side Cairo can address, and a pixel count whose image
// (4 bytes a pixel) stays within 256 MiB.
constexpr long long kMaxSheetSidePx = 32767;
constexpr long long kMaxSheetPixels = 64ll << 20;

// The columns: --scale-indices, else 0 to the largest turn scale (at least index 0, at most
// the last index the view reports).
std::vector<int> SheetColumns(const CCommandOptions& options, const CFrameSetup& setup) {
  if (options.scaleIndices) return *options.scaleIndices;
  const int highest = static_cast<int>(setup.ladder.size());
  std::vector<int> columns;
  for (int s = 0; s <= std::min(std::max(setup.maxTurnScale, 0), highest); ++s) {
    columns.push_back(s);
  }
  return columns;
}

bool DrawSheet(const CCommandOptions& options, const CFrameSetup& setup, std::string& error) {
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(options, setup, turns, error)) return false;
  if (turns.empty()) {
    error = setup.route.fileName + ": the route has no turns to draw";
    return false;
  }
  const std::vector<int> columns = SheetColumns(options, setup);
  const long long width = static_cast<long long>(columns.size()) * options.cellWidthPx;
  const long long height = static_cast<long long>(turns.size()) * options.cellHeightPx;
  if (width > kMaxSheetSidePx || height > kMaxSheetSidePx || width * height > kMaxSheetPixels) {
    error = "sheet: " + std::to_string(width) + "x" + std::to_string(height) +
            " pixels is too large (at most 32767 a side and 67108864 in all)";
    return false;
  }
  std::unique_ptr<CCanvas> canvas =
      OpenCanvas(options.out, static_cast<int>(width), static_cast<int>(height), error);
  if (!canvas) return false;
  for (std::size_t row = 0; row < turns.size(); ++row) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
      const CCell cell = {static_cast<int>(column) * options.cellWidthPx,
                          static_cast<int>(row) * options.cellHeightPx, options.cellWidthPx,
                          options.cellHeightPx};
      CFramePlan plan;
      if (!PlanFrame(setup, &turns[row].turn, columns[column], cell.width, cell.height, plan,
                     error) ||
          !PaintFrame(setup, &turns[row].turn, plan, *canvas, cell, nullptr, error)) {
        return false;
      }
      canvas->PaintCaption(
          CellLabels(setup, turns[row], columns[column], plan.projection.MetresPerPixel()));
      canvas->EndFrame();
    }
  }
  return canvas->Commit(error);
}

}  // namespace

int RunSheet(const std::vector<std::string>& args) {
  CCommandOptions options;
  CFrameSetup setup;
  const int status = StartFrameCommand(SheetCommandLine(), args, options, setup);
  if (status >= 0) return status;
  if (options.out.empty()) options.out = kDefaultOut;
  std::string error;
  if (!DrawSheet(options, setup, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace tool
