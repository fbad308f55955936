#include "frame/sheetcell.h"

#include "frame/captions.h"

namespace tool {

bool DrawSheetCell(CCanvas& canvas, int leftPx, int topPx, int frameWidthPx, int frameHeightPx,
                   const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                   CDrawnCell& cell, std::string& error) {
  if (!RecordPreparedFrame(setup, &turn.turn, scaleIndex, cell.record, error)) return false;
  cell.plan = PlanFrame(setup, &turn.turn, cell.record, frameWidthPx, frameHeightPx);
  CFrameLabels labels = CellLabels(setup, turn, scaleIndex, cell.record.metresPerPixel);
  labels.warning = CellWarning(cell.plan);
  canvas.BeginFrame({leftPx, topPx + kCaptionBandPx, frameWidthPx, frameHeightPx},
                    cell.plan.projection, cell.record.calls, setup.route.origin, setup.route.dest,
                    setup.background);
  canvas.MarkOverflow(cell.plan.overflowPx);
  canvas.PaintCaption(labels);
  canvas.EndFrame();
  return true;
}

}  // namespace tool
