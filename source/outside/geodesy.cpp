// Notation: lon, lat in degrees; phi = latitude in radians; R = kEarthRadiusMetres.
#include "geodesy.h"

#include <cmath>

namespace {

constexpr double kRadPerDeg = kPi / 180.0;

}  // namespace

double SegmentLength(double lon1, double lat1, double lon2, double lat2) {
  const double phi1 = lat1 * kRadPerDeg;
  const double phi2 = lat2 * kRadPerDeg;
  // Half-angle sines of the latitude and longitude differences (radians).
  const double sinHalfDPhi = std::sin((lat2 - lat1) * kRadPerDeg / 2.0);
  const double sinHalfDLambda = std::sin((lon2 - lon1) * kRadPerDeg / 2.0);
  // Haversine of the central angle. Its root is clamped so that rounding never leaves asin's
  // domain, written so that a NaN (a coordinate that is not a number) stays NaN.
  const double a =
      sinHalfDPhi * sinHalfDPhi + std::cos(phi1) * std::cos(phi2) * sinHalfDLambda * sinHalfDLambda;
  const double root = std::sqrt(a);
  return 2.0 * kEarthRadiusMetres * std::asin(root > 1.0 ? 1.0 : root);
}

double SegmentLength(const tagLonLat& a, const tagLonLat& b) {
  return SegmentLength(a.lon, a.lat, b.lon, b.lat);
}

double LineLength(unsigned short count, const tagLonLat* points) {
  double total = 0.0;
  if (points == nullptr) return total;
  for (unsigned i = 1; i < count; ++i) total += SegmentLength(points[i - 1], points[i]);
  return total;
}

void GetUnitDegree(const tagLonLat& at, double& lonPerMeter, double& latPerMeter) {
  // One metre along a meridian spans 1/R radians of latitude, i.e. 180/(pi R) degrees.
  latPerMeter = 180.0 / (kPi * kEarthRadiusMetres);
  // Along a parallel the circle's radius shrinks to R cos(lat).
  lonPerMeter = latPerMeter / std::cos(at.lat * kRadPerDeg);
}
