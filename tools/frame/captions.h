// The words of the advicepath program's pictures and listings: road names, the caption of a
// one-frame picture, the caption of a sheet's cell, and the lines that say how far an arrow
// runs out of its picture or why a frame has none.
//
// Values only; one thread (they read a CFrameSetup).
#ifndef ADVICEPATH_TOOLS_FRAME_CAPTIONS_H_
#define ADVICEPATH_TOOLS_FRAME_CAPTIONS_H_

#include <string>

#include "frame/plan.h"
#include "frame/setup.h"
#include "frame/turns.h"
#include "picture/canvas.h"

namespace tool {

// The name of guide `guide` of `route`, "unnamed road" when it has none.
std::string RoadName(const CRouteFile& route, int guide);

// The caption of a one-frame picture of `turn` (null: none) at `scaleIndex`, shown at
// `metresPerPixel`: roads, note, how the turn was chosen, its distance from the start and
// the scale; the route file's attribution.
CFrameLabels FrameLabels(const CFrameSetup& setup, const CChosenTurn* turn, int scaleIndex,
                         double metresPerPixel);

// The caption of a sheet's cell: "turn K: A -> B" and "index S · M m/px".
CFrameLabels CellLabels(const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                        double metresPerPixel);

// A sheet cell's warning when the arrow of `plan` runs out of its frame: "runs out 241 px:
// top, bottom" (the largest overflow rounded up, then the sides it leaves by); empty when
// it fits.
std::string CellWarning(const CFramePlan& plan);

// "the arrow of <label> at scale index S runs out of the WxH picture by N px (left a, top b,
// right c, bottom d)", pixels rounded up; for a plan whose arrow fits, an empty string.
std::string DescribeOverflow(const CFramePlan& plan, const std::string& label, int scaleIndex);

// "<label> has no arrow at scale index S: <reason>" (frame/record.h's NoArrowReason); for a
// frame without a turn, "the frame has no arrow: <reason>".
std::string DescribeNoArrow(const CChosenTurn* turn, int scaleIndex, const std::string& reason);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_CAPTIONS_H_
