// GraphHopper's instruction signs, which its route responses and its GPX files (gh:sign)
// share. Pure; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_GRAPHHOPPER_H_
#define ADVICEPATH_TOOLS_INPUT_GRAPHHOPPER_H_

#include "input/routesteps.h"

namespace tool {

// Sets the kind and turn type of `step` from a GraphHopper instruction sign: 4 (finish) an
// arrival, 5 (via reached) a departure, -6 (leave roundabout) a roundabout exit, 6 a
// roundabout; -3..3 sharp left to sharp right, -7 and 7 (keep left, right) slight turns,
// -98, -8 and 8 U-turns; any other sign (ferry, public transport, unknown) straight on.
// The first instruction of a route is a departure whatever its sign: the caller sets that.
void ClassifyGraphHopperSign(long long sign, CRouteStep& step);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_GRAPHHOPPER_H_
