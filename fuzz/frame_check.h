// What the fuzz targets check beyond "no crash": a map view that records every call the
// renderer makes and reads every point it is handed, and a check of one frame's calls
// against what the exported interface promises for the renderer's state.
//
// A broken invariant prints what broke and aborts, so that libFuzzer keeps the input and the
// replay program (and with it the test run) fails. One thread; nothing here is shared.
#ifndef ADVICEPATH_FUZZ_FRAME_CHECK_H_
#define ADVICEPATH_FUZZ_FRAME_CHECK_H_

#include <vector>

#include "advicepathrenderex.h"
#include "lonlat.h"
#include "mapservice.h"
#include "recording_map_view.h"

class CPath;

namespace fuzz {

// Prints "<file>:<line>: <condition>: <what>" to stderr and aborts.
[[noreturn]] void Fail(const char* file, int line, const char* condition, const char* what);

#define FUZZ_CHECK(condition, what) \
  ((condition) ? static_cast<void>(0) : ::fuzz::Fail(__FILE__, __LINE__, #condition, what))

// True when the two points have the same bits (so NaN equals NaN and -0.0 differs from 0.0).
bool SameBits(const tagLonLat& a, const tagLonLat& b);

// The view both targets draw on: the tests' recording view, the outside layer's display list
// with pinned scale answers, which copies every point it is handed (the sanitizers catch an
// array shorter than its count). CheckFrame checks that each draw call with a count above 0
// passed an array: its points were copied.
using CViewCall = Torvane::CDrawCall;
using CFuzzMapView = fakes::RecordingMapView;

// What one Draw may put on the view, from the renderer's state before the call.
struct CFrameExpectation {
  bool viewAttached = true;     // the renderer draws on this view
  bool pastGuards = false;      // drawing on, a view and a size table: more than the scale queries
  const CPath* path = nullptr;  // the route when Draw asks for it, else null
  // The size-table row of the frame when its scale index lies inside the table, else null
  // (then widths and styles are not checked, and the route and the red line may be left
  // out: what such a frame draws is the renderer's choice).
  const AdvicePathSizeSetting* row = nullptr;
  AdvicePathClrSetting colors;
  bool arrowAllowed = false;  // false: the arrow must not be drawn
  // The red line: kRedNone must not be drawn; kRedMaybe may be; kRedExpected must be, with
  // redCount points from `origin` to `dest`.
  enum Red { kRedNone, kRedMaybe, kRedExpected } red = kRedNone;
  int redCount = 0;
  tagLonLat origin = {0.0, 0.0};
  tagLonLat dest = {0.0, 0.0};
};

// The red line's expectation for an origin and a first destination 200000 m or more apart
// (11 points) or closer (2 points); kRedMaybe when their distance is not a number.
void ExpectRedLine(const tagLonLat& origin, const tagLonLat& dest, CFrameExpectation& frame);

// Checks what one Draw left on `view` since its Reset: GetScale, then GetScaleIndex, before any
// draw call; then, past the guards, the route's border pass and inner pass
// over its edges (each with the points and count the path holds), the arrow's strokes in
// their border pass, the head's outline, the same strokes again in the inner pass and the
// filled head, then the red line, each group only where allowed. Returns the number of arrow
// strokes drawn (0 when there was no arrow).
int CheckFrame(const CFuzzMapView& view, const CFrameExpectation& frame);

// The same checks on the draw calls of one Draw alone, for frames recorded elsewhere (the
// program's own record of a frame).
int CheckDrawCalls(const std::vector<CViewCall>& calls, const CFrameExpectation& frame);

}  // namespace fuzz

#endif  // ADVICEPATH_FUZZ_FRAME_CHECK_H_
