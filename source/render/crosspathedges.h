// CCrossPathEdges: builds the strokes of the big arrow at the next manoeuvre.
//
// The renderer embeds exactly one. Once per manoeuvre SetCrossInfo copies the turn and its
// enter and exit guides and gathers up to ten guides before the turn (nearest the turn
// first) into m_FromEdges. On every frame that shows the arrow GenerateCrossEdges cuts the
// strokes into m_EdgeVec and GenerateArrowHead computes the arrowhead at the end of the last
// stroke. The path is borrowed: it must stay alive until the next SetCrossInfo. Everything
// runs on the renderer's thread, one call at a time.
#ifndef ADVICEPATH_RENDER_CROSSPATHEDGES_H_
#define ADVICEPATH_RENDER_CROSSPATHEDGES_H_

#include "crossedge.h"
#include "crossedgevector.h"
#include "guide.h"
#include "lonlat.h"
#include "route.h"

class CPath;

// Slots of the guide window.
constexpr int kPathGuidWindow = 10;

// The most guides a walk along a path takes by default before it gives up: far above any
// real route, so it only stops a host path that cycles.
constexpr long kDefaultGuideWalkLimit = 1000000;

// 1 when both coordinates differ by less than 3e-6 degrees (strictly), else 0.
int IsSamePoint(const tagLonLat& a, const tagLonLat& b);
// 1 when the longitudes differ by 3e-6 degrees or more, or the latitudes by more than 3e-6;
// else 0. (A latitude difference of exactly 3e-6 is neither the same nor different.)
int IsDiffPoint(const tagLonLat& a, const tagLonLat& b);
// Reverses n consecutive records in place; nothing for n <= 1.
void ReversePathGuids(PathGuid* guids, int n);

class CCrossPathEdges {
 public:
  // No path, both vectors empty, all window slots empty, both guides zero.
  CCrossPathEdges();
  CCrossPathEdges(const CCrossPathEdges&) = delete;
  CCrossPathEdges& operator=(const CCrossPathEdges&) = delete;
  // Deletes the strokes, then the window's edges.
  virtual ~CCrossPathEdges();

  // The most guides one walk along the path may take (kDefaultGuideWalkLimit after
  // construction). A walk that reaches it logs a line and fails as if the path ended there.
  void SetGuideWalkLimit(long guides);

  // Takes the next manoeuvre. A null path only forgets the path (the turn, the window and
  // m_FromEdges keep their contents, GenerateCrossEdges fails until a path is set). With a
  // path (borrowed): copies the turn and its enter and exit guides, walks the path from its
  // first guide to the guide that matches the enter guide, and keeps the last ten guides
  // walked as edges of m_FromEdges, nearest the turn first. When the path has no first
  // position, no first guide, or ends (or exceeds the guide walk limit) before the enter
  // guide, m_FromEdges stays empty; all but the path's end write a log line.
  void SetCrossInfo(const CPath* path, const CTurnInfo& turnInfo);

  // Cuts the arrow's strokes into m_EdgeVec, in the direction of travel, reusing the storage
  // of the strokes it held before: about `enterLength` metres before the turn, every guide
  // through the turn, and about exitLength + reserve metres after it, whole road pieces
  // taken uncut when the running length lands within `tolerance` metres of a target; the
  // last stroke, when cut, is never shorter than `reserve` metres unless the path ends
  // first. A guide after the exit guide whose length is NaN ends the strokes before it,
  // though the walk still runs on to the path's end or the walk limit. Returns 0, or -1 with
  // m_EdgeVec empty: no path, a tolerance that is negative or exceeds either length, an
  // end-of-route turn, no guides before the turn, a failed append, a path that ends inside the
  // turn, or a walk past the guide walk limit. All lengths are metres.
  int GenerateCrossEdges(double exitLength, double enterLength, double tolerance, double reserve);

  // Writes the arrowhead triangle into points[0..2] (tip, right base corner, left base
  // corner, seen in the direction of travel) at the end of the last stroke: over its end
  // (the stroke is shortened to end at the middle of the base) unless the stroke is whole
  // and shorter than `headLength`, then beyond it. `headLength` is metres from tip to base,
  // `halfWidth` metres from the middle of the base to each corner. Returns 0, or -1 with
  // nothing written and no stroke changed: null points, count < 3, fewer than two strokes,
  // or a last stroke of fewer than two points.
  int GenerateArrowHead(tagLonLat* points, int count, double headLength, double halfWidth);

  // Deletes the strokes and frees their storage.
  void ClearEdges();
  // Empties the strokes (GetCrossEdgeCount() 0) but keeps their storage, so that the next
  // GenerateCrossEdges for the same turn and lengths allocates nothing. ClearEdges or the
  // destructor frees it.
  void ResetEdges();
  // Number of strokes.
  int GetCrossEdgeCount() const;
  // Stroke i (borrowed until the strokes are next cleared or rebuilt), or null out of range.
  CCrossEdge* GetCrossEdge(int index) const;

 private:
  // What one step along the path found.
  enum class PathStep {
    kNextGuide,  // the record now holds the next guide
    kPathEnd,    // the path has no next guide; the record is unchanged
    kWalkLimit,  // the step went past the guide walk limit (a line was logged)
  };

  // Fills every window slot with zero bytes and marks it empty (reference point invalid).
  void ResetPathGuids();

  // Moves `guide` on to the path's next guide and counts the step in `walked` (guides taken
  // by this walk so far). A step past m_GuideWalkLimit logs a line under `function`, the
  // qualified name of the walking operation. Needs a path.
  PathStep NextGuide(PathGuid& guide, long& walked, const char* function) const;

  // The three phases of GenerateCrossEdges; each returns false when an append fails, a walk
  // fails, or the path ends where it must not, and then leaves m_EdgeVec for the caller to
  // empty. Lengths in metres.
  // Appends the window's edges covering about `enterLength` metres before the turn (the
  // farthest cut to its part nearest the turn, unless the running length lands within
  // `tolerance`), in the direction of travel: farthest first.
  bool AppendBeforeTurn(double enterLength, double tolerance);
  // Appends every guide after the enter guide up to the exit guide, whole. False also when
  // the path ends before the exit guide.
  bool AppendThroughTurn();
  // Appends about `target` metres of guides after the exit guide; see GenerateCrossEdges for
  // the tolerance and the reserve. The path's end is success.
  bool AppendAfterExit(double target, double tolerance, double reserve);

  CTurnInfo m_TurnInfo;                   // copy of the last turn given with a path
  NavGuid m_EnterGuide;                   // the guide entering the turn node
  NavGuid m_ExitGuide;                    // the guide leaving it
  PathGuid m_PathGuids[kPathGuidWindow];  // the window: nearest the turn first once ordered
  const CPath* mp_Path;                   // Borrowed: must stay alive until the next SetCrossInfo
  CCrossEdgeVector m_FromEdges;           // owned edges of the window, nearest the turn first
  CCrossEdgeVector m_EdgeVec;             // owned strokes of the arrow, in the direction of travel
  long m_GuideWalkLimit;                  // guides: the longest walk along the path
};

#endif  // ADVICEPATH_RENDER_CROSSPATHEDGES_H_
