// Placing a frame's picture from its record: the projection that centres the picture as the
// set-up asks, and where the library's arrow lies in it.
//
// Values only; one thread.
#ifndef ADVICEPATH_TOOLS_FRAME_PLAN_H_
#define ADVICEPATH_TOOLS_FRAME_PLAN_H_

#include "frame/record.h"
#include "frame/setup.h"
#include "picture/clip.h"
#include "picture/projection.h"

namespace tool {

// Where a frame's picture lies and where the library's arrow lies in it.
struct CFramePlan {
  CWebMercator projection{{0.0, 0.0}, 1.0, 1, 1};  // the picture's
  bool arrowDrawn = false;       // whether the record holds an arrow that paints something
  CRect arrowBox{0, 0, 0, 0};    // pixels: strokes and head with half their widths
  CRect overflowPx{0, 0, 0, 0};  // how far the arrow runs out past each side; 0 when inside

  // The largest of the four overflows, pixels; 0 when the arrow fits (or none was drawn).
  double MaxOverflowPx() const;
};

// Places a picture of widthPx x heightPx pixels showing `record` (of `turn`, may be null) at
// the record's scale, centred as setup.center says: on the middle of the arrow's painted box
// (its strokes and head), on the turn node when the library drew no arrow, on the route's
// bounding box without a turn.
CFramePlan PlanFrame(const CFrameSetup& setup, const CRouteTurn* turn, const CFrameRecord& record,
                     int widthPx, int heightPx);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_PLAN_H_
