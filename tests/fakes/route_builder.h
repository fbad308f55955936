// Small hand-made routes for tests, with lengths known in metres under the geodesy service.
//
// On the equator a move east of m metres spans m / kMetresPerDegree degrees of longitude and
// SegmentLength gives back m (up to rounding); along any meridian the same holds for moves
// north. Routes built from such moves have exact, independently known lengths.
#ifndef ADVICEPATH_TESTS_FAKES_ROUTE_BUILDER_H_
#define ADVICEPATH_TESTS_FAKES_ROUTE_BUILDER_H_

#include <memory>
#include <string>
#include <vector>

#include "geodesy.h"
#include "path.h"
#include "route.h"

namespace fakes {

// Metres along a great circle per degree: R * pi / 180.
constexpr double kMetresPerDegree = kEarthRadiusMetres * kPi / 180.0;

inline tagLonLat MetresEast(const tagLonLat& p, double metres) {
  return {p.lon + metres / kMetresPerDegree, p.lat};
}
inline tagLonLat MetresNorth(const tagLonLat& p, double metres) {
  return {p.lon, p.lat + metres / kMetresPerDegree};
}

// A guide through `points`, named `name`; its reference point is its first point.
CPathGuideInput Guide(const std::vector<tagLonLat>& points, const std::string& name = "");

// Guides laid end to end due east along the equator from `start`, one per entry of
// `lengths` (metres), each with `pointsPerGuide` evenly spaced points (at least 2), named
// "g0", "g1", ...
std::vector<CPathGuideInput> GuidesEast(const tagLonLat& start, const std::vector<double>& lengths,
                                        int pointsPerGuide = 2);

// A path of these guides, in order.
std::unique_ptr<CNavPath> MakePath(const std::vector<CPathGuideInput>& guides);

// A turn from guide `enter` to guide `exit` of `path`.
CTurnInfo MakeTurn(const CPath& path, int enter, int exit, NAV_TURN_TYPE_tag type = NAV_TURN_RIGHT);

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_ROUTE_BUILDER_H_
