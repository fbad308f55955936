// Writing a route as the program's own GeoJSON route file (see input/routefile.h), so that a
// route read from a router's answer can be kept, edited and shared.
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_OUTPUT_ROUTEGEOJSON_H_
#define ADVICEPATH_TOOLS_OUTPUT_ROUTEGEOJSON_H_

#include <string>

#include "input/routefile.h"

namespace tool {

// The text of a route file holding the guides of `route` (one LineString feature each, with
// its "name" when it has one and its "ref" when set), its "turns" (enter, exit, type and note
// when there is one), its "turn" when set, its "attribution" when not empty, and "origin" and
// "dest" when they are not the first and last points. One feature or turn per line.
// ParseRouteText of the text gives back the same guides, names, reference points, turns,
// notes, origin, destination and attribution, every coordinate bit for bit (numbers are
// written in the shortest form that reads back exactly), and the members that set up a frame
// (sizes, maxTurnScale, scaleIndex, the colours that are not the library's defaults, redLine
// and flags) when they differ from a file without them. Text that is not valid UTF-8 is written
// with U+FFFD in place of its bad bytes.
std::string FormatRouteGeoJson(const CRouteFile& route);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_OUTPUT_ROUTEGEOJSON_H_
