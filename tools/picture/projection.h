// The picture's projection: Web Mercator (EPSG:3857, a sphere of the WGS 84 semi-major axis)
// centred on a chosen point at a ground resolution in metres per pixel.
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_PICTURE_PROJECTION_H_
#define ADVICEPATH_TOOLS_PICTURE_PROJECTION_H_

#include "lonlat.h"

namespace tool {

// A position in the picture, in pixels: x grows to the right, y downwards, (0, 0) is the
// top-left corner of the top-left pixel (so pixel (i, j) has its middle at i + 0.5, j + 0.5).
struct CPixel {
  double x;
  double y;
};

class CWebMercator {
 public:
  // Sphere radius of Web Mercator, metres (the WGS 84 semi-major axis).
  static constexpr double kSphereRadiusMetres = 6378137.0;

  // `centre` (a valid point, degrees) lands on the middle of a picture of widthPx x heightPx
  // pixels, that is on (widthPx / 2, heightPx / 2). `metresPerPixel` (> 0) is the ground
  // resolution at the centre's latitude: Web Mercator stretches by 1 / cos(latitude), so one
  // pixel spans metresPerPixel / cos(latitude) projected metres everywhere in the picture.
  CWebMercator(const tagLonLat& centre, double metresPerPixel, int widthPx, int heightPx);

  // The pixel position of `point` (degrees). Points far outside the picture give positions
  // far outside it (a latitude of +-90 some 2.4e8 projected metres from the equator); a
  // coordinate that is not a number gives a position that is not one.
  CPixel ToPixel(const tagLonLat& point) const;

  // The point (degrees) at pixel position `pixel`: the inverse of ToPixel. Positions beyond
  // the projection's reach give longitudes outside (-180, 180) or latitudes that approach
  // +-90; the caller checks validity.
  tagLonLat FromPixel(const CPixel& pixel) const;

  double MetresPerPixel() const { return m_MetresPerPixel; }
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }

 private:
  double m_MetresPerPixel;     // ground metres per pixel at the centre's latitude
  double m_ProjectedPerPixel;  // projected (Web Mercator) metres per pixel
  double m_CentreX;            // projected metres east of the prime meridian
  double m_CentreY;            // projected metres north of the equator
  int m_Width;                 // pixels
  int m_Height;                // pixels
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_PROJECTION_H_
