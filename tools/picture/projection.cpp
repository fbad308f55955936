// Notation: lambda, phi are longitude and latitude in radians; R is kSphereRadiusMetres.
// Web Mercator: X = R lambda, Y = R ln(tan(pi/4 + phi/2)); the scale factor at latitude phi
// is 1 / cos(phi), so a ground length d at the centre's latitude phi0 spans d / cos(phi0)
// projected metres.
#include "picture/projection.h"

#include <cmath>

#include "geodesy.h"

namespace tool {

namespace {

double Radians(double degrees) { return degrees * kPi / 180.0; }

// Projected metres east of the prime meridian.
double ProjectX(double lonDegrees) {
  return CWebMercator::kSphereRadiusMetres * Radians(lonDegrees);
}

// Projected metres north of the equator.
double ProjectY(double latDegrees) {
  return CWebMercator::kSphereRadiusMetres *
         std::log(std::tan(kPi / 4.0 + Radians(latDegrees) / 2.0));
}

// Longitude in degrees of projected metres east of the prime meridian.
double UnprojectX(double x) { return x / CWebMercator::kSphereRadiusMetres * 180.0 / kPi; }

// Latitude in degrees of projected metres north of the equator: phi = 2 atan(e^(Y/R)) - pi/2.
double UnprojectY(double y) {
  return (2.0 * std::atan(std::exp(y / CWebMercator::kSphereRadiusMetres)) - kPi / 2.0) * 180.0 /
         kPi;
}

}  // namespace

CWebMercator::CWebMercator(const tagLonLat& centre, double metresPerPixel, int widthPx,
                           int heightPx)
    : m_MetresPerPixel(metresPerPixel),
      m_ProjectedPerPixel(metresPerPixel / std::cos(Radians(centre.lat))),
      m_CentreX(ProjectX(centre.lon)),
      m_CentreY(ProjectY(centre.lat)),
      m_Width(widthPx),
      m_Height(heightPx) {}

CPixel CWebMercator::ToPixel(const tagLonLat& point) const {
  // Projected metres from the centre, divided by projected metres per pixel; y flips so
  // that north is up.
  return {m_Width / 2.0 + (ProjectX(point.lon) - m_CentreX) / m_ProjectedPerPixel,
          m_Height / 2.0 - (ProjectY(point.lat) - m_CentreY) / m_ProjectedPerPixel};
}

tagLonLat CWebMercator::FromPixel(const CPixel& pixel) const {
  return {UnprojectX(m_CentreX + (pixel.x - m_Width / 2.0) * m_ProjectedPerPixel),
          UnprojectY(m_CentreY - (pixel.y - m_Height / 2.0) * m_ProjectedPerPixel)};
}

}  // namespace tool
