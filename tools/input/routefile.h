// Route files of the advicepath program, and the path built from one.
//
// A route file is a GeoJSON FeatureCollection whose LineString features are the route's
// guides in travel order, each also one edge of the path: property "name" (optional road
// name) and "ref" (optional [lon, lat] reference point; default the guide's first point).
// Optional top-level members set up one frame; the program's options override them:
//   "turns"        list of {"enter": i, "exit": j, "type": t, "note": "..."} by feature index
//   "turn"         one such object: the turn to draw, before "turns"
//   "sizes"        list of size-table rows (see sizetable.h); "maxTurnScale" a whole number
//   "scaleIndex"   the frame's scale index, 0 or more (the frame's set-up checks its top)
//   "colors"       {"pathColor", "pathBorderColor", "arrowColor", "arrowBorderColor"}, any of
//                  them, each 0x00BBGGRR as a number or a "0x..." string
//   "redLine"      true or false
//   "origin", "dest"  [lon, lat]; default the route's first and last points
//   "flags"        [route, arrow]: what Draw is asked for; default [true, true]
//   "attribution"  text printed in the image's corner
// Other members and properties are ignored.
//
// Loading yields a CRouteFile value that owns all its data. Failures are results: false and
// a one-line message "<file>: <where>: <problem>". Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_ROUTEFILE_H_
#define ADVICEPATH_TOOLS_INPUT_ROUTEFILE_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "input/sizetable.h"
#include "lonlat.h"

class CNavPath;

namespace tool {

struct CRouteGuide {
  std::vector<tagLonLat> points;  // degrees, in travel order; 2 to 65535 of them
  std::string name;               // road name; empty when the feature has none
  std::optional<tagLonLat> ref;   // degrees; absent: the first point
};

// The turn type of the route's end (NAV_TURN_END).
constexpr int kEndOfRouteType = 1;

struct CRouteTurn {
  int enter = 0;  // index of the guide entering the turn node
  int exit = 1;   // index of the guide leaving it; enter <= exit < number of guides (equal:
                  // a turn at the end of one guide)
  int type = 0;   // a NAV_TURN_TYPE_tag value, 0 to 9 (1: route ends, no arrow)
  std::string note;

  // Whether this is the route's end (type 1), where the library draws no arrow by design.
  bool EndsRoute() const { return type == kEndOfRouteType; }
};

// The highest turn type (NAV_TURN_ROUNDABOUT).
constexpr int kMaxTurnType = 9;

// The four colour fields of AdvicePathClrSetting, by JSON name, in the record's order.
struct CColorField {
  const char* name;
  unsigned int AdvicePathClrSetting::*member;
};
extern const std::array<CColorField, 4> kColorFields;

// Reads a colour, 0x00BBGGRR: a whole number from 0 to 0xFFFFFFFF, or a string of up to eight
// hexadecimal digits after "0x". False with "<where>: ..." otherwise; `color` is then unchanged.
bool ReadColor(const nlohmann::json& value, const std::string& where, unsigned& color,
               std::string& error);

struct CRouteFile {
  std::string fileName;             // as given, for messages
  std::string format;               // the format read ("OSRM v5 route response", ...); set by
                                    // ReadRoute (routereader.h), empty otherwise
  std::vector<CRouteGuide> guides;  // at least one
  std::vector<CRouteTurn> turns;    // in file order
  std::optional<CRouteTurn> turn;   // the "turn" member
  std::optional<std::vector<AdvicePathSizeSetting>> sizes;
  std::optional<int> maxTurnScale;
  std::optional<int> scaleIndex;  // 0 or more
  AdvicePathClrSetting colors;    // the library's defaults but for those given
  bool redLine = false;
  tagLonLat origin = {0.0, 0.0};  // degrees
  tagLonLat dest = {0.0, 0.0};    // degrees
  bool drawRoute = true;          // Draw's first flag
  bool drawArrow = true;          // Draw's second flag
  std::string attribution;        // empty when absent
};

// Parses the text of a route file. `fileName` only names the file in messages. False with
// "<fileName>: <problem>" for malformed JSON (with line and column), a document that is not
// a FeatureCollection, a feature that is not a LineString, a guide with fewer than two
// points or more than 65535, a coordinate that is not a number or lies outside (-180, 180) x
// (-90, 90), a turn outside the route or with enter > exit, a size row with a missing or
// unknown field, or a member of the wrong type; `route` is then undefined.
bool ParseRouteText(const std::string& text, const std::string& fileName, CRouteFile& route,
                    std::string& error);

// Reads and parses the file at `path`. False with "<path>: cannot read: <reason>" when the
// file is missing or unreadable, else as ParseRouteText.
bool LoadRouteFile(const std::string& path, CRouteFile& route, std::string& error);

// Checks that `turn` lies on `route`: enter and exit guides exist, enter <= exit, and the
// type is 0 to 9. False with "<where>: <problem>" otherwise.
bool CheckTurn(const CRouteFile& route, const CRouteTurn& turn, const std::string& where,
               std::string& error);

// Checks what every route must satisfy, whichever format it was read from: at least one guide;
// each guide with 2 to 65535 points, all inside (-180, 180) x (-90, 90), and a valid reference
// point if it has one; a valid origin and destination; every turn of "turns" and "turn" as
// CheckTurn says. False with "<where>: <problem>" (such as "guide 3, point 0: ...") otherwise.
bool CheckRoute(const CRouteFile& route, std::string& error);

// Adds every guide of `route` to `path` (empty on entry), in order, with its name and
// reference point. False when the path refuses a guide; the guides before it stay added.
bool BuildPath(const CRouteFile& route, CNavPath& path);

// Metres along the route from its start to the end of guide `guide` (the turn node of a
// turn entering from it), by the geodesy service's LineLength. 0 for an index < 0.
double DistanceToEndOfGuide(const CRouteFile& route, int guide);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_ROUTEFILE_H_
