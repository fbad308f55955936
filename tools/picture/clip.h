// Cutting polylines and polygons in pixel positions to a rectangle, so that what reaches
// Cairo stays within the range of its fixed-point coordinates (about +-8 million pixels):
// a route seen at a fine scale can lie millions of pixels away from the picture.
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_PICTURE_CLIP_H_
#define ADVICEPATH_TOOLS_PICTURE_CLIP_H_

#include <vector>

#include "picture/projection.h"

namespace tool {

// An axis-parallel rectangle in pixels, left <= right and top <= bottom.
struct CRect {
  double left;
  double top;
  double right;
  double bottom;
};

// The parts of the open line through `line` that lie inside `box`, in order, each with two
// or more points; a part starts or ends on the box's edge where the line crosses it. Empty
// when nothing lies inside. The coordinates must be finite.
std::vector<std::vector<CPixel>> ClipPolyline(const std::vector<CPixel>& line, const CRect& box);

// The part of the polygon `polygon` (corners in order, each once) inside `box`, as a polygon;
// fewer than three corners when nothing lies inside. The coordinates must be finite.
std::vector<CPixel> ClipPolygon(const std::vector<CPixel>& polygon, const CRect& box);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_CLIP_H_
