// A sheet's cell: one frame of a turn at a scale index, recorded once through the library,
// placed, and painted onto a canvas with its caption in a band above the frame and the sides
// the arrow runs out of marked. The one way the `sheet` command and the studio draw a cell.
//
// Recording leaves the route manager alone (frame/record.h's RecordPreparedFrame): call
// SetRouteEnds(setup) once before the cells. Cells of one set-up may be drawn on several
// threads at once, each on its own canvas.
#ifndef ADVICEPATH_TOOLS_FRAME_SHEETCELL_H_
#define ADVICEPATH_TOOLS_FRAME_SHEETCELL_H_

#include <string>

#include "frame/plan.h"
#include "frame/record.h"
#include "frame/setup.h"
#include "frame/turns.h"
#include "picture/canvas.h"

namespace tool {

// What drawing a cell found out about its frame.
struct CDrawnCell {
  CFrameRecord record;  // the library's calls
  CFramePlan plan;      // where the frame and the arrow lie
};

// The pixels a cell takes in height: its frame and the caption band above it.
constexpr int CellHeightPx(int frameHeightPx) { return frameHeightPx + kCaptionBandPx; }

// Draws the cell of `turn` at `scaleIndex` with its top-left corner at (leftPx, topPx) of
// `canvas`: the caption band (CellLabels, and CellWarning when the arrow runs out), then a
// frame of frameWidthPx x frameHeightPx pixels below it, centred as setup.center says, with
// red bars on the sides the arrow runs out of. The cell must lie inside the picture. False
// with a message, and nothing painted, when the library refuses the set-up or the turn.
bool DrawSheetCell(CCanvas& canvas, int leftPx, int topPx, int frameWidthPx, int frameHeightPx,
                   const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                   CDrawnCell& cell, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_SHEETCELL_H_
