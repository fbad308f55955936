// Notation: L is the running length of a walk, g one guide's length and O its overshoot past
// the after-turn target, S the length walked back from a stroke's end (all metres); k is the
// ratio of metres per degree of longitude to those of latitude at the head, so that
// (lon * k, lat) measures both axes alike. The after-turn target is the exit length plus the
// reserve for the head.
#include "crosspathedges.h"

#include <cmath>
#include <cstring>

#include "direction.h"
#include "geodesy.h"
#include "path.h"
#include "renderlog.h"

namespace {

// Degrees within which two reference points name the same guide.
constexpr double kSamePointTolerance = 3e-6;

// Quarter degrees in a quarter turn: added to a direction to get its left-hand normal.
constexpr unsigned short kQuarterTurn = 360;

// The axis of the arrowhead on `stroke` (at least two points), from pt1 to pt2, in degrees.
// The head goes over the end of the stroke ("inside") unless the stroke is whole and shorter
// than `headLength` metres; then it goes beyond the end ("outside"). Inside, every point
// within `headLength` metres of the end (measured along the stroke) is dropped, and the axis
// runs from the first point farther away, or the stroke's first point, straight to the old
// end. Outside, the axis is the last segment and the stroke is unchanged. True for inside.
bool HeadAxis(CCrossEdge& stroke, double headLength, tagLonLat& pt1, tagLonLat& pt2) {
  const int n = stroke.GetPtNum();
  // The length is read only for a whole stroke.
  if (stroke.IsWhole() && stroke.GetLength() < headLength) {
    pt1 = stroke.GetPt(n - 2);
    pt2 = stroke.GetPt(n - 1);
    return false;
  }
  const tagLonLat pt3 = stroke.GetPt(n - 1);  // the stroke's end on entry
  double S = 0.0;                             // metres walked back from the end
  for (int i = n - 1; i > 0; --i) {
    S += SegmentLength(stroke.GetPt(i - 1), stroke.GetPt(i));
    stroke.RemoveLast();
    if (S > headLength) break;
  }
  pt1 = stroke.GetPt(stroke.GetPtNum() - 1);
  pt2 = pt3;
  return true;
}

// Writes the arrowhead triangle on the axis pt1 -> pt2 into points[0..2]: the tip, then the
// base corners right and left of the direction of travel, `halfWidth` metres from the middle
// of the base. Inside, the tip is pt2 and the base lies `headLength` metres back along the
// axis; outside, the base's middle is pt2 and the tip lies `headLength` metres beyond it.
// Returns the middle of the base. All offsets are straight steps in degrees, scaled at pt2.
tagLonLat HeadTriangle(const tagLonLat& pt1, const tagLonLat& pt2, bool inside, double headLength,
                       double halfWidth, tagLonLat* points) {
  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree(pt2, lonPerMeter, latPerMeter);
  const double k = latPerMeter / lonPerMeter;
  // Direction of the axis on the ground, quarter degrees from east.
  const unsigned short d = GetDirectionIndex(pt1.lon * k, pt1.lat, pt2.lon * k, pt2.lat);
  // Degrees of longitude and latitude for one metre along d ...
  const double ux = GetIndexCos(d) * lonPerMeter;
  const double uy = GetIndexSin(d) * latPerMeter;
  // ... and the offset of halfWidth metres to the left of d (the tables reduce d + 360 past 1439).
  const unsigned short left = static_cast<unsigned short>(d + kQuarterTurn);
  const double wx = GetIndexCos(left) * halfWidth * lonPerMeter;
  const double wy = GetIndexSin(left) * halfWidth * latPerMeter;
  if (inside) {
    // Middle of the base: headLength metres back from the old end along the axis.
    const tagLonLat tmpPt = {pt2.lon - headLength * ux, pt2.lat - headLength * uy};
    points[0] = pt2;
    points[1] = {tmpPt.lon - wx, tmpPt.lat - wy};
    points[2] = {tmpPt.lon + wx, tmpPt.lat + wy};
    return tmpPt;
  }
  points[0] = {pt2.lon + headLength * ux, pt2.lat + headLength * uy};
  points[1] = {pt2.lon - wx, pt2.lat - wy};
  points[2] = {pt2.lon + wx, pt2.lat + wy};
  return pt2;
}

}  // namespace

int IsSamePoint(const tagLonLat& a, const tagLonLat& b) {
  return std::fabs(a.lon - b.lon) < kSamePointTolerance &&
                 std::fabs(a.lat - b.lat) < kSamePointTolerance
             ? 1
             : 0;
}

int IsDiffPoint(const tagLonLat& a, const tagLonLat& b) {
  return std::fabs(a.lon - b.lon) >= kSamePointTolerance ||
                 std::fabs(a.lat - b.lat) > kSamePointTolerance
             ? 1
             : 0;
}

void ReversePathGuids(PathGuid* guids, int n) {
  for (int i = 0; i < n / 2; ++i) {
    const PathGuid tmp = guids[i];
    guids[i] = guids[n - 1 - i];
    guids[n - 1 - i] = tmp;
  }
}

CCrossPathEdges::CCrossPathEdges()
    : m_TurnInfo(), mp_Path(nullptr), m_GuideWalkLimit(kDefaultGuideWalkLimit) {
  ResetPathGuids();
  std::memset(&m_EnterGuide, 0, sizeof m_EnterGuide);
  std::memset(&m_ExitGuide, 0, sizeof m_ExitGuide);
}

CCrossPathEdges::~CCrossPathEdges() = default;

void CCrossPathEdges::SetGuideWalkLimit(long guides) { m_GuideWalkLimit = guides; }

void CCrossPathEdges::ResetPathGuids() {
  for (PathGuid& slot : m_PathGuids) {
    std::memset(&slot, 0, sizeof slot);
    slot.refPoint = g_InvalidPoint;
  }
}

void CCrossPathEdges::SetCrossInfo(const CPath* path, const CTurnInfo& turnInfo) {
  PathGuid tmpGuid;
  std::memset(&tmpGuid, 0, sizeof tmpGuid);
  mp_Path = path;
  if (path == nullptr) return;
  int k = 0;  // ring index: the slot the next guide goes to
  ResetPathGuids();
  m_FromEdges.Clear();
  m_TurnInfo = turnInfo;
  turnInfo.GetEnterGuide(0, m_EnterGuide);
  turnInfo.GetExitGuide(0, m_ExitGuide);
  const void* pos = mp_Path->GetFirstPosition();
  if (pos == nullptr) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::SetCrossInfo",
                   "mp_Path->GetFirstPosition() failed \n");
    return;
  }
  if (mp_Path->GetGuid(pos, tmpGuid) == 0) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::SetCrossInfo", "mp_Path->GetGuid() failed \n");
    return;
  }
  ResetPathGuids();
  // Walk to the guide entering the turn, keeping the last ten guides in the ring.
  long walked = 0;
  for (;;) {
    m_PathGuids[k] = tmpGuid;
    k = (k + 1) % kPathGuidWindow;
    if (IsSamePoint(tmpGuid.refPoint, m_EnterGuide.refPoint)) {
      // Only the path's first guide gets here: it stays alone in slot 0.
      k = (k + kPathGuidWindow - 1) % kPathGuidWindow;
      break;
    }
    // The path ended before the turn (no line), or the walk went past its limit.
    if (NextGuide(tmpGuid, walked, "CCrossPathEdges::SetCrossInfo") != PathStep::kNextGuide) {
      ResetPathGuids();
      return;
    }
    if (IsSamePoint(tmpGuid.refPoint, m_EnterGuide.refPoint)) {
      m_PathGuids[k] = tmpGuid;
      break;
    }
  }
  // Slot k holds the enter guide, k - 1 the one before it, wrapping from 0 to 9. Two
  // reversals put the window in order nearest the turn first, empty slots last.
  ReversePathGuids(&m_PathGuids[0], k + 1);
  if (k < kPathGuidWindow - 1 && IsValidLonLat(m_PathGuids[k + 1].refPoint)) {
    ReversePathGuids(&m_PathGuids[k + 1], kPathGuidWindow - 1 - k);
  }
  // A guide whose edge cannot be built is simply missing from m_FromEdges.
  for (const PathGuid& slot : m_PathGuids) {
    if (IsValidLonLat(slot.refPoint)) m_FromEdges.Append(&slot, true, true);
  }
}

int CCrossPathEdges::GenerateCrossEdges(double exitLength, double enterLength, double tolerance,
                                        double reserve) {
  m_EdgeVec.Reset();
  if (mp_Path == nullptr) return -1;
  // Positive form: a NaN length is refused with the rest.
  if (!(tolerance >= 0.0 && tolerance <= exitLength && tolerance <= enterLength)) return -1;
  if (m_TurnInfo.GetTurnType(0) == NAV_TURN_END) {
    PATHRENDER_LOG(kLogNotSet, "CCrossPathEdges::GenerateCrossEdges", "NAV_TURN_END \n");
    return -1;
  }
  if (m_FromEdges.Size() == 0) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges", "m_FromEdges.Size = 0  \n");
    return -1;
  }
  // After the exit guide the strokes cover the exit length plus the head's reserve.
  if (!AppendBeforeTurn(enterLength, tolerance) || !AppendThroughTurn() ||
      !AppendAfterExit(exitLength + reserve, tolerance, reserve)) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges", "m_EdgeVec.Append() failed\n");
    m_EdgeVec.Reset();
    return -1;
  }
  return 0;
}

int CCrossPathEdges::GenerateArrowHead(tagLonLat* points, int count, double headLength,
                                       double halfWidth) {
  if (points == nullptr || count < 3) return -1;
  if (m_EdgeVec.Size() < 2) return -1;
  CCrossEdge* last = m_EdgeVec.ItemAt(m_EdgeVec.Size() - 1);
  if (last->GetPtNum() < 2) return -1;
  tagLonLat pt1;
  tagLonLat pt2;
  const bool inside = HeadAxis(*last, headLength, pt1, pt2);
  const tagLonLat tmpPt = HeadTriangle(pt1, pt2, inside, headLength, halfWidth, points);
  if (inside) last->AppendPoint(tmpPt);  // the stroke now ends under the head's base
  return 0;
}

void CCrossPathEdges::ClearEdges() { m_EdgeVec.Clear(); }

void CCrossPathEdges::ResetEdges() { m_EdgeVec.Reset(); }

int CCrossPathEdges::GetCrossEdgeCount() const { return m_EdgeVec.Size(); }

CCrossEdge* CCrossPathEdges::GetCrossEdge(int index) const { return m_EdgeVec.GetAt(index); }

CCrossPathEdges::PathStep CCrossPathEdges::NextGuide(PathGuid& guide, long& walked,
                                                     const char* function) const {
  if (mp_Path->GetNextGuid(guide, guide) == 0) return PathStep::kPathEnd;
  if (++walked > m_GuideWalkLimit) {
    PATHRENDER_LOG(kLogError, function, "mp_Path->GetNextGuid() walked past the guide limit \n");
    return PathStep::kWalkLimit;
  }
  return PathStep::kNextGuide;
}

bool CCrossPathEdges::AppendBeforeTurn(double enterLength, double tolerance) {
  // First measure, from the edge entering the turn back along the route: the farthest edge
  // reached, and whether it is cut to its part nearest the turn (`keep` metres of it).
  int farthest = m_FromEdges.Size() - 1;  // every edge whole when they run out first
  bool cut = false;
  double keep = 0.0;
  double L = 0.0;
  for (int i = 0; i < m_FromEdges.Size(); ++i) {
    const double length = m_FromEdges.GetAt(i)->GetLength();
    L += length;
    if (enterLength - tolerance <= L && L <= enterLength + tolerance) {
      // Lands within tolerance: whole, and done.
      farthest = i;
      break;
    }
    if (L > enterLength + tolerance) {
      // Overshoot: the part nearest the turn, and done.
      farthest = i;
      cut = true;
      keep = length - (L - enterLength);
      break;
    }
    // Short of the target: whole, go on.
  }
  // Then append farthest first, so that the strokes run in the direction of travel and end
  // with the road entering the turn. Appending in this order, rather than reversing the
  // strokes afterwards, keeps each stroke in the same slot, with the same reused storage,
  // frame after frame.
  for (int i = farthest; i >= 0; --i) {
    const CCrossEdge* edge = m_FromEdges.GetAt(i);
    const int r =
        i == farthest && cut ? m_EdgeVec.Append(edge, keep, false) : m_EdgeVec.Append(edge);
    if (r < 0) return false;
  }
  return true;
}

bool CCrossPathEdges::AppendThroughTurn() {
  // Enter and exit guides with the same reference point: nothing lies between them.
  if (!IsDiffPoint(m_EnterGuide.refPoint, m_ExitGuide.refPoint)) return true;
  PathGuid tmpGuid;
  std::memcpy(&tmpGuid, &m_EnterGuide, sizeof tmpGuid);
  long walked = 0;
  for (;;) {
    // The path ending inside the turn fails like a walk past its limit.
    if (NextGuide(tmpGuid, walked, "CCrossPathEdges::GenerateCrossEdges") != PathStep::kNextGuide)
      return false;
    if (m_EdgeVec.Append(&tmpGuid, true, true) < 0) return false;
    if (IsSamePoint(tmpGuid.refPoint, m_ExitGuide.refPoint)) return true;
  }
}

bool CCrossPathEdges::AppendAfterExit(double target, double tolerance, double reserve) {
  PathGuid tmpGuid;
  std::memcpy(&tmpGuid, &m_ExitGuide, sizeof tmpGuid);
  long walked = 0;
  double L = 0.0;
  for (;;) {
    const PathStep step = NextGuide(tmpGuid, walked, "CCrossPathEdges::GenerateCrossEdges");
    if (step == PathStep::kPathEnd) return true;  // the strokes end with the path
    if (step == PathStep::kWalkLimit) return false;
    const double g = tmpGuid.length;
    L += g;
    if (target - tolerance <= L && L <= target + tolerance) {
      // Within tolerance: whole; done unless too short to carry the head.
      if (m_EdgeVec.Append(&tmpGuid, true, true) < 0) return false;
      if (g >= reserve) return true;
      continue;
    }
    if (L < target - tolerance || (L > target + tolerance && g < reserve)) {
      // Short of the target, or overshooting with a guide too short to cut: whole, go on.
      if (m_EdgeVec.Append(&tmpGuid, true, true) < 0) return false;
      continue;
    }
    if (L > target + tolerance && g >= reserve) {
      // Overshoot O on a guide at least `reserve` long: keep its start, g - O metres, or
      // `reserve` when that would be shorter; done.
      const double O = L - target;
      const double keep = g > O && g - O > reserve ? g - O : reserve;
      return m_EdgeVec.Append(&tmpGuid, keep, true, true) >= 0;
    }
    // No rule applies to a running length that is not a number: a guide whose length is
    // NaN makes L NaN for the rest of the walk, so nothing more is appended and the walk
    // goes on to the path's end (or its limit).
  }
}
