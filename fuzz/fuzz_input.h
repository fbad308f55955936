// Decoders that turn fuzz_frame's bytes into arbitrary values: doubles and ints that favour
// the special ones (NaN, infinities, the coordinate limits, INT_MIN), points, and polylines
// whose points mostly follow one another as a road's do. Both the frame script and the edge
// script (edge_script.h) read through them, so a decoder's reads, and their order, are part
// of what every committed corpus input means. One thread; nothing here is shared.
#ifndef ADVICEPATH_FUZZ_FUZZ_INPUT_H_
#define ADVICEPATH_FUZZ_FUZZ_INPUT_H_

#include <vector>

#include "lonlat.h"

class FuzzedDataProvider;

namespace fuzz {

// An arbitrary double: a special value, a plausible degree, or any bit pattern.
double ConsumeDouble(FuzzedDataProvider& in);

// An arbitrary int: small, special, or any value.
int ConsumeInt(FuzzedDataProvider& in);

// A point of two arbitrary doubles, longitude first.
tagLonLat ConsumePoint(FuzzedDataProvider& in);

// The point after `previous` on a polyline: a short step (a road), the same point again, or
// anywhere at all.
tagLonLat NextPoint(FuzzedDataProvider& in, const tagLonLat& previous);

// A polyline of `count` points (0 or more) from `start`, each point after the first made by
// NextPoint from the one before.
std::vector<tagLonLat> ConsumePolyline(FuzzedDataProvider& in, int count, tagLonLat start);

}  // namespace fuzz

#endif  // ADVICEPATH_FUZZ_FUZZ_INPUT_H_
