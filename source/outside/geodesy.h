// Geodesy service: distances on a spherical earth and degrees per metre.
//
// Stateless free functions; any thread may call them.
//
// Model: a sphere of radius kEarthRadiusMetres (the mean radius of the WGS 84 ellipsoid).
// Distances are great-circle (haversine) lengths in metres; angles are degrees.
#ifndef ADVICEPATH_OUTSIDE_GEODESY_H_
#define ADVICEPATH_OUTSIDE_GEODESY_H_

#include "lonlat.h"

// Pi, the ratio of a circle's circumference to its diameter: the double nearest to it
// (3.141592653589793). Every conversion between degrees and radians in the library and its
// tests and benchmarks uses this one.
constexpr double kPi = 3.14159265358979323846;

// Mean earth radius in metres: (2a + b) / 3 of the WGS 84 ellipsoid.
constexpr double kEarthRadiusMetres = 6371008.8;

// Great-circle distance in metres between (lon1, lat1) and (lon2, lat2), in degrees:
// a = sin^2(dlat/2) + cos(lat1) cos(lat2) sin^2(dlon/2); d = 2R asin(min(1, sqrt(a))).
// NaN when a coordinate is NaN or infinite.
double SegmentLength(double lon1, double lat1, double lon2, double lat2);

// The same for two points.
double SegmentLength(const tagLonLat& a, const tagLonLat& b);

// Length in metres of the polyline through count points in order: the sum of SegmentLength
// over consecutive points, added from the first. 0 for fewer than two points or a null array.
double LineLength(unsigned short count, const tagLonLat* points);

// Degrees of longitude and of latitude that one metre spans at `at`:
// latPerMeter = 180 / (pi R), lonPerMeter = latPerMeter / cos(lat). Both are positive for a
// valid point; at the poles lonPerMeter is infinite.
void GetUnitDegree(const tagLonLat& at, double& lonPerMeter, double& latPerMeter);

#endif  // ADVICEPATH_OUTSIDE_GEODESY_H_
