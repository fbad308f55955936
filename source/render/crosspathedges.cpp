// Notation: E exit length, B enter length, D tolerance, R reserve (all metres); T = E + R the
// after-turn target; L a running length in metres; g one guide's length; H head length and
// W head half width (metres); k the ratio of metres-per-degree of longitude to those of
// latitude at the head, so that (lon * k, lat) measures both axes alike.
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
    if (mp_Path->GetNextGuid(tmpGuid, tmpGuid) == 0) {
      ResetPathGuids();  // the path ended before the turn
      return;
    }
    if (++walked > m_GuideWalkLimit) {
      PATHRENDER_LOG(kLogError, "CCrossPathEdges::SetCrossInfo",
                     "mp_Path->GetNextGuid() walked past the guide limit \n");
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
  const double E = exitLength;
  const double B = enterLength;
  const double D = tolerance;
  const double R = reserve;
  PathGuid tmpGuid;
  std::memset(&tmpGuid, 0, sizeof tmpGuid);
  m_EdgeVec.Clear();
  if (mp_Path == nullptr) return -1;
  // Positive form: a NaN length is refused with the rest.
  if (!(D >= 0.0 && D <= E && D <= B)) return -1;
  if (m_TurnInfo.GetTurnType(0) == NAV_TURN_END) {
    PATHRENDER_LOG(kLogNotSet, "CCrossPathEdges::GenerateCrossEdges", "NAV_TURN_END \n");
    return -1;
  }
  if (m_FromEdges.Size() == 0) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges", "m_FromEdges.Size = 0  \n");
    return -1;
  }
  bool failed = false;
  long walked = 0;

  // Before the turn: from the edge entering the turn back along the route, about B metres.
  double L = 0.0;
  for (int i = 0; i < m_FromEdges.Size() && !failed; ++i) {
    const CCrossEdge* edge = m_FromEdges.GetAt(i);
    L += edge->GetLength();
    if (B - D <= L && L <= B + D) {
      failed = m_EdgeVec.Append(edge) < 0;  // lands within tolerance: whole, and done
      break;
    }
    if (L > B + D) {
      // Overshoot: keep the part of this edge nearest the turn.
      failed = m_EdgeVec.Append(edge, edge->GetLength() - (L - B), false) < 0;
      break;
    }
    failed = m_EdgeVec.Append(edge) < 0;  // short of the target: whole, go on
  }
  // Into the direction of travel, ending with the road entering the turn.
  if (!failed) m_EdgeVec.Reverse(0, -1);

  // Through the turn: every guide after the enter guide up to the exit guide, whole.
  if (!failed && IsDiffPoint(m_EnterGuide.refPoint, m_ExitGuide.refPoint)) {
    std::memcpy(&tmpGuid, &m_EnterGuide, sizeof tmpGuid);
    for (;;) {
      if (mp_Path->GetNextGuid(tmpGuid, tmpGuid) == 0) {
        failed = true;  // the path ends inside the turn
        break;
      }
      if (++walked > m_GuideWalkLimit) {
        PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges",
                       "mp_Path->GetNextGuid() walked past the guide limit \n");
        failed = true;
        break;
      }
      if (m_EdgeVec.Append(&tmpGuid, true, true) < 0) {
        failed = true;
        break;
      }
      if (IsSamePoint(tmpGuid.refPoint, m_ExitGuide.refPoint)) break;
    }
  }

  // After the turn: about T = E + R metres, the last stroke never shorter than R when cut.
  if (!failed) {
    const double T = E + R;
    L = 0.0;
    walked = 0;
    std::memcpy(&tmpGuid, &m_ExitGuide, sizeof tmpGuid);
    for (;;) {
      if (mp_Path->GetNextGuid(tmpGuid, tmpGuid) == 0) break;  // the path ends: success
      if (++walked > m_GuideWalkLimit) {
        PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges",
                       "mp_Path->GetNextGuid() walked past the guide limit \n");
        failed = true;
        break;
      }
      const double g = tmpGuid.length;
      L += g;
      if (T - D <= L && L <= T + D) {
        // Within tolerance: whole; done unless too short to carry the head.
        failed = m_EdgeVec.Append(&tmpGuid, true, true) < 0;
        if (failed || g >= R) break;
        continue;
      }
      if (L < T - D || (L > T + D && g < R)) {
        // Short of the target, or overshooting with a guide too short to cut: whole, go on.
        failed = m_EdgeVec.Append(&tmpGuid, true, true) < 0;
        if (failed) break;
        continue;
      }
      // Overshoot O on a guide at least R long: keep its start, g - O metres, or R when
      // that would be shorter.
      const double O = L - T;
      const double keep = g > O && g - O > R ? g - O : R;
      failed = m_EdgeVec.Append(&tmpGuid, keep, true, true) < 0;
      break;
    }
  }

  if (failed) {
    PATHRENDER_LOG(kLogError, "CCrossPathEdges::GenerateCrossEdges", "m_EdgeVec.Append() failed\n");
    m_EdgeVec.Clear();
    return -1;
  }
  return 0;
}

int CCrossPathEdges::GenerateArrowHead(tagLonLat* points, int count, double headLength,
                                       double halfWidth) {
  const double H = headLength;
  const double W = halfWidth;
  if (points == nullptr || count < 3) return -1;
  if (m_EdgeVec.Size() < 2) return -1;
  CCrossEdge* last = m_EdgeVec.ItemAt(m_EdgeVec.Size() - 1);
  if (last->GetPtNum() < 2) return -1;
  const int n = last->GetPtNum();

  // The head goes over the end of the stroke, unless the stroke is whole and shorter than H:
  // then it goes beyond the end.
  const bool inside = !(last->IsWhole() && last->GetLength() < H);
  tagLonLat pt1;  // start of the head's axis
  tagLonLat pt2;  // end of the axis: the tip (inside) or the middle of the base (outside)
  if (inside) {
    // Drop every point within H metres of the end (measured along the stroke); the first
    // point farther away, or the stroke's first point, starts the axis.
    const tagLonLat pt3 = last->GetPt(n - 1);  // the stroke's end on entry
    double S = 0.0;
    for (int i = n - 1; i > 0; --i) {
      S += SegmentLength(last->GetPt(i - 1), last->GetPt(i));
      last->RemoveLast();
      if (S > H) break;
    }
    pt2 = pt3;
    pt1 = last->GetPt(last->GetPtNum() - 1);
  } else {
    pt1 = last->GetPt(n - 2);
    pt2 = last->GetPt(n - 1);
  }

  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree(pt2, lonPerMeter, latPerMeter);
  const double k = latPerMeter / lonPerMeter;
  // Direction of the axis on the ground, quarter degrees from east.
  const unsigned short d = GetDirectionIndex(pt1.lon * k, pt1.lat, pt2.lon * k, pt2.lat);
  // Degrees of longitude and latitude for one metre along d ...
  const double ux = GetIndexCos(d) * lonPerMeter;
  const double uy = GetIndexSin(d) * latPerMeter;
  // ... and the offset W metres to the left of d (the tables reduce d + 360 past 1439).
  const unsigned short left = static_cast<unsigned short>(d + kQuarterTurn);
  const double wx = GetIndexCos(left) * W * lonPerMeter;
  const double wy = GetIndexSin(left) * W * latPerMeter;

  if (inside) {
    // Middle of the base: H metres back from the old end along the axis.
    const tagLonLat tmpPt = {pt2.lon - H * ux, pt2.lat - H * uy};
    points[0] = pt2;
    points[1] = {tmpPt.lon - wx, tmpPt.lat - wy};
    points[2] = {tmpPt.lon + wx, tmpPt.lat + wy};
    last->AppendPoint(tmpPt);  // the stroke now ends under the head's base
  } else {
    points[0] = {pt2.lon + H * ux, pt2.lat + H * uy};
    points[1] = {pt2.lon - wx, pt2.lat - wy};
    points[2] = {pt2.lon + wx, pt2.lat + wy};
  }
  return 0;
}

void CCrossPathEdges::ClearEdges() { m_EdgeVec.Clear(); }

int CCrossPathEdges::GetCrossEdgeCount() const { return m_EdgeVec.Size(); }

CCrossEdge* CCrossPathEdges::GetCrossEdge(int index) const { return m_EdgeVec.GetAt(index); }
