// Reading a route in any of the formats the program knows, recognised by content (never by
// the file name): an OSRM v5 route response (also written by Valhalla's osrm format,
// GraphHopper's navigation endpoint and Mapbox Directions), a Valhalla route response, a
// GraphHopper route response, a GPX 1.1 file, and the program's own GeoJSON route file.
//
// Each format is one reader behind CRouteReader, in a file of its own; ReadRoute asks them in
// a fixed order and runs CheckRoute (routefile.h) on what the chosen one made, so that no
// format can hand the library a route our own files could not. Readers only translate: they
// set the guides (points and names), the turns (enter, exit, type, note), origin, destination
// and attribution, and nothing else (the router readers through routesteps.h's rules).
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_ROUTEREADER_H_
#define ADVICEPATH_TOOLS_INPUT_ROUTEREADER_H_

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "input/routefile.h"

namespace tool {

// What the user may choose when reading a router's answer.
struct CReadOptions {
  std::optional<int> precision;  // 5 or 6: the precision of an OSRM answer's encoded
                                 // polylines; absent: inferred from the answer
  int alternative = 0;           // which of the answer's routes, 0 the first (0 or more)
};

// The bytes being read, and their JSON document when they are one.
struct CRouteInput {
  const std::string& bytes;        // Borrowed: the whole file
  const std::string& fileName;     // Borrowed: names the file, in messages only
  const nlohmann::json* document;  // Borrowed: the parsed bytes when they are a JSON
                                   // document, else null
};

// One input format.
class CRouteReader {
 public:
  virtual ~CRouteReader() = default;

  // The format's name, such as "OSRM v5 route response".
  virtual const char* Format() const = 0;

  // True when `input` is of this format, judged from the top-level members of its document or
  // its first bytes alone: cheap, and never from the file name.
  virtual bool Identify(const CRouteInput& input) const = 0;

  // Reads `input` into `route` (fresh: default members and the file name set). False with a
  // one-line message without the file name (such as "routes[0].legs[0]: no steps; ...");
  // `route` is then undefined.
  virtual bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
                    std::string& error) const = 0;
};

// The readers, one per format, each defined in its own file. Process-wide, stateless.
const CRouteReader& GeoJsonRouteReader();      // geojsonreader.cpp
const CRouteReader& OsrmRouteReader();         // osrm.cpp
const CRouteReader& ValhallaRouteReader();     // valhalla.cpp
const CRouteReader& GraphHopperRouteReader();  // graphhopper.cpp
const CRouteReader& GpxRouteReader();          // gpx.cpp

// Reads the route in `bytes`, whatever its format, and checks it (CheckRoute). The result
// records the file name and the format read. False with "<fileName>: <problem>" on one line:
// malformed JSON or XML (with its position), a router's error answer (its message), an
// answer without steps (the request option that was missing), an answer or option that does
// not fit (a polyline, a coordinate, an index), or bytes of no known format; `route` is then
// undefined.
bool ReadRoute(const std::string& bytes, const std::string& fileName, const CReadOptions& options,
               CRouteFile& route, std::string& error);

// Reads the file at `path` and then as ReadRoute. False with "<path>: cannot read: <reason>"
// when the file is missing or unreadable.
bool LoadRoute(const std::string& path, const CReadOptions& options, CRouteFile& route,
               std::string& error);

// The built-in sample route (data/sample-route.geojson compiled in), read as ReadRoute reads
// it and named "(built-in sample)" in messages. False only for a program built from a broken
// sample.
bool LoadSampleRoute(CRouteFile& route, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_ROUTEREADER_H_
