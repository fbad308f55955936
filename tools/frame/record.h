// Recording a frame: the renderer library is driven once, through its exported interface as
// an application would, on the outside layer's display list (Torvane::CDisplayListMapView),
// and what the map view received is kept. The picture is placed from the record
// (frame/plan.h), painted by replaying it onto the canvas, and dumped from it: one library
// pass per picture.
//
// Process-wide state touched: the route manager's origin and destination, set before each
// frame is drawn by RecordFrame. RecordPreparedFrame leaves them alone, so that several
// threads may record frames of one set-up at once, each with its own record: the library
// keeps no state between handles, the set-up and its path are only read.
#ifndef ADVICEPATH_TOOLS_FRAME_RECORD_H_
#define ADVICEPATH_TOOLS_FRAME_RECORD_H_

#include <cstddef>
#include <string>
#include <vector>

#include "frame/setup.h"
#include "mapservice.h"

namespace tool {

// The map-view draw calls of one frame, in the order the library made them.
struct CFrameRecord {
  int scaleIndex = 0;           // the index the view reported
  double metresPerPixel = 0.0;  // the scale the view reported
  std::vector<Torvane::CDrawCall> calls;
  // The arrow's calls, calls[arrowBegin .. arrowEnd): its strokes in the border colour, the
  // head's outline, the strokes again and the filled head. Empty when no arrow was drawn.
  std::size_t arrowBegin = 0;
  std::size_t arrowEnd = 0;

  bool HasArrow() const { return arrowEnd > arrowBegin; }
};

// Draws one frame of `turn` (null: none) at `scaleIndex` (0 to the ladder's highest) on a
// display list that reports the ladder's scale for it: a handle on the set-up's path, SetSize
// with its table and largest turn scale, SetClr, EnableDrawRedLine, SetTurnInfo, one Draw with
// the route file's flags, ClosePathRender. False with a message when the renderer refuses the
// size table or the path refuses the turn's guides.
bool RecordFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex,
                 CFrameRecord& record, std::string& error);

// Sets the route manager's origin and destination (GetRouteManager().GetPathManager(),
// process-wide) to the set-up's route ends, which the library reads for the red line. No
// frame may be recording while it runs.
void SetRouteEnds(const CFrameSetup& setup);

// RecordFrame without setting the route ends: SetRouteEnds(setup) must have run, and must not
// run again while this runs. Safe on several threads at once, each with its own `record`.
bool RecordPreparedFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex,
                         CFrameRecord& record, std::string& error);

// Why the library drew no arrow in `record` of `turn` (null: none) at the record's scale
// index, in the program's words ("turn 5 is the route's end, where no arrow is drawn"); empty
// when it drew one.
std::string NoArrowReason(const CFrameSetup& setup, const CRouteTurn* turn,
                          const CFrameRecord& record);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_RECORD_H_
