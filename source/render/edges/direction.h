// Directions quantised to quarter degrees, their sines and cosines from precomputed tables,
// and a point moved a number of metres toward another.
//
// A direction index is an unsigned 16-bit count of quarter degrees, counter-clockwise from
// east (growing longitude): 0 east, 360 north, 720 west, 1080 south, 1440 a full turn.
// The tables are process-wide, filled once under a thread-safe one-time initialisation and
// read-only afterwards, so any thread may call these functions. Nothing here logs.
#ifndef ADVICEPATH_RENDER_EDGES_DIRECTION_H_
#define ADVICEPATH_RENDER_EDGES_DIRECTION_H_

#include "lonlat.h"

// Fills the tangent, sine and cosine tables once (361 rows each, quarter-degree steps from
// 0 to 90 degrees). The functions below call it; callers never need to.
void InitTrigTables();

// Direction of the vector from (x1, y1) to (x2, y2), x growing east and y north, in quarter
// degrees: 0..1440, truncated toward the x axis in every quadrant, so a vector just below
// east gives 1440 (read as 0 by GetIndexSin and GetIndexCos). A zero vector gives 0; so does
// a vector with a NaN component (including inf - inf), which has no direction. Infinite
// components follow the same rules: an infinite dy gives 360 or 1080 (also when dx is
// infinite too), an infinite dx with a finite non-zero dy gives 0, 720 or 1440.
unsigned short GetDirectionIndex(double x1, double y1, double x2, double y2);

// Sine and cosine of a direction index; any 16-bit value is reduced modulo 1440.
double GetIndexSin(unsigned short index);
double GetIndexCos(unsigned short index);

// The point `distance` metres from `from` toward `to` (away from it for a negative distance;
// due east when the two points coincide), in the quarter-degree direction measured on the
// ground, with the degrees-per-metre factors taken at `from`. The result is not checked for
// validity.
tagLonLat GetOffsetPoint(const tagLonLat& from, const tagLonLat& to, double distance);

#endif  // ADVICEPATH_RENDER_EDGES_DIRECTION_H_
