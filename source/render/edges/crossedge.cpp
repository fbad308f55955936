// Notation: pts[0..n-1] is a source polyline in degrees; L is a length in metres to keep;
// seg is one segment's length and sum the running sum of segments, both in metres, measured
// with SegmentLength of the geodesy service; a cut point is a point placed inside a segment
// with GetOffsetPoint.
#include "crossedge.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "direction.h"
#include "geodesy.h"

const tagLonLat g_InvalidPoint = {180.0, 90.0};

namespace {

// Points added at a time when an array grows.
constexpr int kGrowBlock = 8;

// Copies at most kNameSize - 1 characters of the name at `src`, which need not be
// terminated, into `dst` and fills the rest of `dst` with terminators. Reads no further than
// the first terminator or the last character that fits, so a guide name that fills all of
// its buffer is cut by one character. `src` may be `dst`.
void CopyName(char* dst, const char* src) {
  const int maxLen = CCrossEdge::kNameSize - 1;
  const void* end = std::memchr(src, '\0', static_cast<std::size_t>(maxLen));
  const std::size_t len = end != nullptr
                              ? static_cast<std::size_t>(static_cast<const char*>(end) - src)
                              : static_cast<std::size_t>(maxLen);
  std::memmove(dst, src, len);
  std::memset(dst + len, '\0', static_cast<std::size_t>(CCrossEdge::kNameSize) - len);
}

// The point count and the point array of one polyline of a guide record.
struct GuidePolyline {
  int count;
  tagLonLat* pts;  // Borrowed from the record; may be null
};

GuidePolyline PolylineOf(const PathGuid& guide, bool firstPolyline) {
  if (firstPolyline) return {guide.firstPtNum, guide.firstPts};
  return {guide.secondPtNum, guide.secondPts};
}

}  // namespace

CCrossEdge::CCrossEdge()
    : m_isOwner(true),
      m_isWhole(true),
      m_Length(0.0),
      m_Id(),
      m_Name(),
      m_Attr1(0),
      m_Attr2(0),
      m_PtNum(0),
      m_PtCapacity(0),
      mp_Pts(nullptr) {}

CCrossEdge::CCrossEdge(const CCrossEdge& src) : CCrossEdge() {
  // A failed allocation leaves the copy without points.
  CopyEdge(src);
}

CCrossEdge::~CCrossEdge() {
  if (m_isOwner) std::free(mp_Pts);
}

double CCrossEdge::GetLength() const { return m_Length; }

tagEdgeId CCrossEdge::GetId() const { return m_Id; }

const char* CCrossEdge::GetName() const { return m_Name; }

int CCrossEdge::GetAttr1() const { return m_Attr1; }

int CCrossEdge::GetAttr2() const { return m_Attr2; }

int CCrossEdge::GetPtNum() const { return m_PtNum; }

int CCrossEdge::GetPtCapacity() const { return m_PtCapacity; }

const tagLonLat* CCrossEdge::GetPts() const { return mp_Pts; }

tagLonLat CCrossEdge::GetPt(int i) const {
  // A borrowed record may pair a point count with a null array.
  if (i >= 0 && i < m_PtNum && mp_Pts != nullptr) return mp_Pts[i];
  return g_InvalidPoint;
}

bool CCrossEdge::IsWhole() const { return m_isWhole; }

bool CCrossEdge::IsOwner() const { return m_isOwner; }

int CCrossEdge::Grow(int n) {
  if (!m_isOwner) return -1;
  if (n <= m_PtCapacity) return m_PtCapacity;
  // Rounding up to the block must stay an int, and the byte count a size_t.
  if (n > INT_MAX - (kGrowBlock - 1)) return -1;
  const int capacity = (n + kGrowBlock - 1) / kGrowBlock * kGrowBlock;
  if (static_cast<std::size_t>(capacity) > SIZE_MAX / sizeof(tagLonLat)) return -1;
  void* grown = std::realloc(mp_Pts, static_cast<std::size_t>(capacity) * sizeof(tagLonLat));
  if (grown == nullptr) return -1;  // realloc left the old array in place
  mp_Pts = static_cast<tagLonLat*>(grown);
  m_PtCapacity = capacity;
  return m_PtCapacity;
}

bool CCrossEdge::AppendPoint(const tagLonLat& pt) {
  // `pt` may lie in this edge's own array, which Grow may move.
  const tagLonLat copy = pt;
  if (!m_isOwner || Grow(m_PtNum + 1) < 0) return false;
  mp_Pts[m_PtNum] = copy;
  ++m_PtNum;
  return true;
}

bool CCrossEdge::AppendPoints(const tagLonLat* pts, int n) {
  if (!m_isOwner || pts == nullptr || n < 0 || n > INT_MAX - m_PtNum) return false;
  if (n == 0) return true;
  // `pts` may lie in this edge's own array (appending the edge to itself); Grow may move that
  // array, so keep the offset and find the points again afterwards.
  const std::less<const tagLonLat*> before;
  const bool ownPoints =
      mp_Pts != nullptr && !before(pts, mp_Pts) && before(pts, mp_Pts + m_PtCapacity);
  const std::ptrdiff_t ownOffset = ownPoints ? pts - mp_Pts : 0;
  if (Grow(m_PtNum + n) < 0) return false;
  if (ownPoints) pts = mp_Pts + ownOffset;
  std::memmove(mp_Pts + m_PtNum, pts, static_cast<std::size_t>(n) * sizeof(tagLonLat));
  m_PtNum += n;
  return true;
}

void CCrossEdge::Clear() { m_PtNum = 0; }

void CCrossEdge::Reset() {
  // A borrowed array belongs to its guide record.
  if (!m_isOwner) {
    mp_Pts = nullptr;
    m_PtCapacity = 0;
  }
  m_isOwner = true;
  m_isWhole = true;
  m_Length = 0.0;
  m_Id = tagEdgeId();
  std::memset(m_Name, '\0', sizeof m_Name);
  m_Attr1 = 0;
  m_Attr2 = 0;
  m_PtNum = 0;
}

void CCrossEdge::RemoveLast() {
  if (m_PtNum > 0) --m_PtNum;
}

void CCrossEdge::Reverse(int index, int n) {
  if (!m_isOwner || !(index >= 0 && index <= m_PtNum)) return;
  if (n < 0) n = m_PtNum;
  if (n > m_PtNum - index) n = m_PtNum - index;  // index + n > m_PtNum, without overflow
  for (int k = 0; k < n / 2; ++k) {
    const tagLonLat swap = mp_Pts[index + k];
    mp_Pts[index + k] = mp_Pts[index + n - 1 - k];
    mp_Pts[index + n - 1 - k] = swap;
  }
}

void CCrossEdge::SetHeaderFromGuide(const PathGuid& guide, bool firstPolyline) {
  const GuidePolyline line = PolylineOf(guide, firstPolyline);
  m_Length = LineLength(static_cast<unsigned short>(line.count), line.pts);
  std::memcpy(m_Id.bytes, firstPolyline ? guide.firstId : guide.secondId, sizeof(m_Id.bytes));
  // In the record's order: the second polyline's count stands between its attributes.
  m_Attr1 = firstPolyline ? guide.firstAttr1 : guide.secondAttr1;
  m_Attr2 = firstPolyline ? guide.firstAttr2 : guide.secondAttr2;
  CopyName(m_Name, firstPolyline ? guide.firstName : guide.secondName);
}

void CCrossEdge::SetHeaderFromEdge(const CCrossEdge& src) {
  m_Length = src.GetLength();
  m_Id = src.GetId();
  m_Attr1 = src.GetAttr1();
  m_Attr2 = src.GetAttr2();
  CopyName(m_Name, src.GetName());
}

void CCrossEdge::BorrowGuide(const PathGuid& guide, bool firstPolyline) {
  SetHeaderFromGuide(guide, firstPolyline);
  // An edge that was not new would otherwise lose its own array here.
  if (m_isOwner) std::free(mp_Pts);
  const GuidePolyline line = PolylineOf(guide, firstPolyline);
  m_isOwner = false;
  m_PtCapacity = 0;
  m_PtNum = line.count;
  mp_Pts = line.pts;
}

// Edges start owned and a borrowed edge stays borrowed, so the copy and the trimmed fills
// below leave the owner flag alone: on an edge that borrows, their appends fail and they
// report failure without ever handing the record's array to realloc.
bool CCrossEdge::CopyGuide(const PathGuid& guide, bool firstPolyline) {
  SetHeaderFromGuide(guide, firstPolyline);
  const GuidePolyline line = PolylineOf(guide, firstPolyline);
  return AppendPoints(line.pts, line.count);
}

bool CCrossEdge::CopyEdge(const CCrossEdge& src) {
  // Copying an edge into itself would append its own points to themselves.
  if (&src == this) return false;
  SetHeaderFromEdge(src);
  return src.GetPts() != nullptr && AppendPoints(src.GetPts(), src.GetPtNum());
}

int CCrossEdge::TrimToTail(const tagLonLat* pts, int n, double length) {
  const int segments = AppendWalked(pts, n, length, true);
  // The points left by a failure are unusable (callers discard the edge).
  if (segments < 0) return -1;
  // Gathered backward; the kept points run in the source's direction.
  Reverse(0, -1);
  return segments + 1;
}

int CCrossEdge::TrimToHead(const tagLonLat* pts, int n, double length) {
  // The index of the point that ends the last segment walked is the count of segments.
  return AppendWalked(pts, n, length, false);
}

int CCrossEdge::AppendWalked(const tagLonLat* pts, int n, double length, bool backward) {
  // A negative length would put the cut point beyond the first point; NaN fails every
  // comparison.
  if (n < 2 || pts == nullptr || !(std::isfinite(length) && length >= 0.0)) return -1;
  // The walk starts at `first` and steps through the source by `step`.
  const tagLonLat* const first = backward ? pts + (n - 1) : pts;
  const int step = backward ? -1 : 1;
  if (!AppendPoint(first[0])) return -1;
  double sum = 0.0;  // metres from the first point to `to`
  for (int k = 1; k < n; ++k) {
    const tagLonLat& from = first[(k - 1) * step];
    const tagLonLat& to = first[k * step];
    const double seg = SegmentLength(from.lon, from.lat, to.lon, to.lat);
    sum = sum + seg;
    if (length > sum) {
      // The kept part reaches beyond `to`: keep that point and walk on.
      if (AppendWalkedPoint(to)) continue;
      Clear();
      return -1;
    }
    if (length == sum) {
      // The kept part ends exactly on `to`: that source point ends it, taken as it is.
      if (AppendWalkedPoint(to)) return k;
      Clear();
      return -1;
    }
    // The kept part ends inside this segment (a NaN sum included), d metres from `from`:
    // a cut point ends it, accepted only inside the valid range.
    const double d = seg - (sum - length);
    const tagLonLat cut = GetOffsetPoint(from, to, d);
    if (IsValidLonLat(cut) && AppendWalkedPoint(cut)) return k;
    Clear();
    return -1;
  }
  return -1;  // shorter than L: the points walked stay
}

bool CCrossEdge::AppendWalkedPoint(const tagLonLat& pt) {
  if (m_PtNum == m_PtCapacity && m_PtCapacity <= INT_MAX / 2) {
    Grow(m_PtCapacity * 2);  // a failure leaves the array as it was, for AppendPoint to try
  }
  return AppendPoint(pt);
}

bool CCrossEdge::SetTrimmedGuide(const PathGuid& guide, double length, bool fromStart,
                                 bool firstPolyline) {
  const GuidePolyline line = PolylineOf(guide, firstPolyline);
  if (line.pts == nullptr) return false;
  SetHeaderFromGuide(guide, firstPolyline);
  const int r = fromStart ? TrimToHead(line.pts, line.count, length)
                          : TrimToTail(line.pts, line.count, length);
  if (r < 0) return false;
  m_isWhole = false;
  return true;
}

bool CCrossEdge::SetTrimmedEdge(const CCrossEdge& src, double length, bool fromStart) {
  // Trimming an edge into itself would read points that its own appends move.
  if (&src == this || src.GetPts() == nullptr) return false;
  SetHeaderFromEdge(src);
  const int r = fromStart ? TrimToHead(src.GetPts(), src.GetPtNum(), length)
                          : TrimToTail(src.GetPts(), src.GetPtNum(), length);
  if (r < 0) return false;
  m_isWhole = false;
  return true;
}
