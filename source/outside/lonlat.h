// Geographic point shared by every service of the navigator and by the renderer.
// A plain value; copy it freely. No thread restrictions.
#ifndef ADVICEPATH_OUTSIDE_LONLAT_H_
#define ADVICEPATH_OUTSIDE_LONLAT_H_

// A point on the earth: longitude, then latitude, both in degrees (WGS 84 sense).
// A point is valid when -180 < lon < 180 and -90 < lat < 90, both strict.
struct tagLonLat {
  double lon;  // degrees, growing east
  double lat;  // degrees, growing north
};

static_assert(sizeof(tagLonLat) == 16, "tagLonLat is two doubles, longitude first");

// True when the point lies strictly inside (-180, 180) x (-90, 90). Written in the positive
// form, so a NaN coordinate is never valid.
inline bool IsValidLonLat(const tagLonLat& pt) {
  return pt.lon > -180.0 && pt.lon < 180.0 && pt.lat > -90.0 && pt.lat < 90.0;
}

#endif  // ADVICEPATH_OUTSIDE_LONLAT_H_
