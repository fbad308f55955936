// The map-view calls of one frame as the program's --dump-calls option writes them: JSON,
// one call per line:
//   [{"op": "DrawPolyline" | "DrawPolygon", "points": [[lon, lat], ...], "count": n,
//     "third": v, "color": c, "fifth": w}, ...]
// Numbers are printed in their shortest form that reads back to the same double.
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_
#define ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_

#include <string>
#include <vector>

#include "mapservice.h"

namespace tool {

// The calls as JSON text, ending in a newline.
std::string FormatCallDump(const std::vector<Torvane::CDrawCall>& calls);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_
