// Encoded polylines, the compact geometry routers answer with: each point's latitude, then
// longitude (then, optionally, height) as whole numbers of a fixed unit, each stored as the
// difference from the previous point's, in printable characters ('?' to '~') that carry five
// bits each, lowest first, with 0x20 marking "more follow".
//
// Precision 5 counts 1e-5 degrees (OSRM, GraphHopper), precision 6 1e-6 degrees (Valhalla);
// GraphHopper may name another unit (points_encoded_multiplier) and adds a height in
// hundredths of a metre when asked for elevation. Pure functions; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_POLYLINE_H_
#define ADVICEPATH_TOOLS_INPUT_POLYLINE_H_

#include <string>
#include <vector>

#include "lonlat.h"

namespace tool {

// The units of one encoded polyline.
struct CPolylineScale {
  double perDegree = 1e5;  // units per degree of latitude and longitude: 1e5, 1e6, or a
                           // router's multiplier, from kMinPerDegree to kMaxPerDegree
  bool heights = false;    // a third number per point: its height in hundredths of a metre
};

// The units per degree accepted: GraphHopper refuses multipliers below 1; above 1e9 a
// longitude no longer fits the 53 bits a double holds exactly.
constexpr double kMinPerDegree = 1.0;
constexpr double kMaxPerDegree = 1e9;

// Heights are accepted within this many metres of sea level either way.
constexpr double kMaxHeightMetres = 1e6;

// Precision 5 or 6 as units per degree (1e5 or 1e6).
double PerDegreeOfPrecision(int precision);

// Decodes `text` into `points` (degrees) and, when `scale.heights`, one height per point into
// `heights` (metres; emptied otherwise). True for the empty text (no points). False with a
// one-line message, the outputs then undefined, for: a scale outside kMinPerDegree to
// kMaxPerDegree; a byte outside '?' to '~' ("byte 7: ..."); a number cut off by the end of
// the text; a number written with a needless trailing zero chunk or more than 11 chunks, which
// no encoder writes; a point missing its longitude or height; a point outside (-180, 180) x
// (-90, 90) or a height beyond kMaxHeightMetres ("point 3: ...").
bool DecodePolyline(const std::string& text, const CPolylineScale& scale,
                    std::vector<tagLonLat>& points, std::vector<double>& heights,
                    std::string& error);

// Encodes `points` (degrees) and, when `scale.heights`, `heights` (metres, one per point) as
// DecodePolyline reads them, each number rounded to the nearest unit. For every text that
// DecodePolyline accepts, encoding what it decoded gives the text back. Preconditions,
// unchecked: a scale DecodePolyline accepts, valid points, finite heights within
// kMaxHeightMetres, and as many heights as points when they are encoded.
std::string EncodePolyline(const std::vector<tagLonLat>& points, const std::vector<double>& heights,
                           const CPolylineScale& scale);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_POLYLINE_H_
