// The edge primitives' part of fuzz_frame's script (edge_script.h): each step reads its
// operation and arguments from the bytes, makes the call and checks the documented results.
// A call never reads two of its arguments from the bytes: the compiler chooses the order in
// which arguments are evaluated, and the replay build (g++) must read each corpus input as
// the fuzzer (clang) did. Such arguments are read into locals first, in source order.
#include "edge_script.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "direction.h"
#include "frame_check.h"
#include "fuzz_input.h"
#include "geodesy.h"

namespace fuzz {
namespace {

// Bounds of the bench, so that a script stays well under a second.
constexpr int kMaxBenchArrays = 8;
constexpr int kMaxBenchPoints = 48;
// The largest Grow the script asks for that may allocate (larger ones are refused before
// allocating, or would only measure the allocator).
constexpr int kMaxGrowAttempt = 1 << 16;

// A length in metres for the trims: special values, the length of a prefix of the polyline
// (to land exactly on a vertex), or anything.
double ConsumeLength(FuzzedDataProvider& in, const std::vector<tagLonLat>& pts, int n) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return in.ConsumeFloatingPointInRange<double>(0.0, 5000.0);
    case 1: {
      // The running sum the trims compute, from either end.
      const int segments = in.ConsumeIntegralInRange<int>(0, std::max(0, n - 1));
      const bool fromEnd = in.ConsumeBool();
      double sum = 0.0;
      for (int s = 0; s < segments; ++s) {
        const int i = fromEnd ? n - 1 - s : s;
        const int j = fromEnd ? i - 1 : i + 1;
        sum = sum + SegmentLength(
                        pts[static_cast<std::size_t>(i)].lon, pts[static_cast<std::size_t>(i)].lat,
                        pts[static_cast<std::size_t>(j)].lon, pts[static_cast<std::size_t>(j)].lat);
      }
      return sum;
    }
    default:
      return ConsumeDouble(in);
  }
}

// The invariants every edge keeps, whatever was done to it.
void CheckEdge(const CCrossEdge& edge) {
  FUZZ_CHECK(edge.GetPtNum() >= 0, "a point count is never negative");
  if (!edge.IsOwner()) {
    FUZZ_CHECK(edge.GetPtCapacity() == 0, "a borrowed edge has no capacity");
    return;
  }
  FUZZ_CHECK(edge.GetPtCapacity() % 8 == 0 && edge.GetPtNum() <= edge.GetPtCapacity() &&
                 (edge.GetPts() == nullptr) == (edge.GetPtCapacity() == 0),
             "an owned edge's capacity is a multiple of 8 that holds its points");
  FUZZ_CHECK(std::strlen(edge.GetName()) < static_cast<std::size_t>(CCrossEdge::kNameSize),
             "the name ends inside its buffer");
  const tagLonLat outside = edge.GetPt(edge.GetPtNum());
  FUZZ_CHECK(SameBits(outside, g_InvalidPoint), "a point past the end is invalid");
}

// Grow's documented results for a request of n from capacity `before`.
void CheckGrow(int result, int n, int before, int after) {
  if (n <= before) {
    FUZZ_CHECK(result == before && after == before, "Grow never shrinks");
  } else if (result < 0) {
    FUZZ_CHECK(result == -1 && after == before, "a failed Grow changes nothing");
  } else {
    FUZZ_CHECK(result == after && result >= n && result % 8 == 0 && result - n < 8,
               "Grow rounds up to the next multiple of 8");
  }
}

// A copy of the edge's points.
std::vector<tagLonLat> PointsOf(const CCrossEdge& edge) {
  std::vector<tagLonLat> points;
  for (int i = 0; i < edge.GetPtNum(); ++i) points.push_back(edge.GetPt(i));
  return points;
}

}  // namespace

CEdgeScript::CEdgeScript(FuzzedDataProvider& in) : m_In(in) {
  std::memset(&m_Guide, 0, sizeof m_Guide);
  m_Arrays.push_back(std::make_unique<std::vector<tagLonLat>>());
  for (auto& edge : m_Edges) edge = std::make_unique<CCrossEdge>();
}

const std::vector<tagLonLat>& CEdgeScript::PickArray() {
  return *m_Arrays[static_cast<std::size_t>(
      m_In.ConsumeIntegralInRange<int>(0, static_cast<int>(m_Arrays.size()) - 1))];
}

void CEdgeScript::NewArray() {
  if (static_cast<int>(m_Arrays.size()) >= kMaxBenchArrays) return;
  const int n = m_In.ConsumeIntegralInRange<int>(0, kMaxBenchPoints);
  m_Arrays.push_back(
      std::make_unique<std::vector<tagLonLat>>(ConsumePolyline(m_In, n, ConsumePoint(m_In))));
}

void CEdgeScript::NewGuide() {
  PathGuid& guide = m_Guide;
  std::memset(&guide, 0, sizeof guide);
  for (int polyline = 0; polyline < 2; ++polyline) {
    const std::vector<tagLonLat>& pts = PickArray();
    const bool null = pts.empty() || m_In.ConsumeBool();
    tagLonLat* data = null ? nullptr : const_cast<tagLonLat*>(pts.data());
    const auto count =
        static_cast<std::uint16_t>(null ? m_In.ConsumeIntegral<std::uint16_t>()
                                        : m_In.ConsumeIntegralInRange<std::size_t>(0, pts.size()));
    const std::vector<std::uint8_t> name = m_In.ConsumeBytes<std::uint8_t>(kGuideNameSize);
    if (polyline == 0) {
      guide.firstPts = data;
      guide.firstPtNum = count;
      if (!name.empty()) std::memcpy(guide.firstName, name.data(), name.size());
      guide.firstAttr1 = m_In.ConsumeIntegral<std::uint16_t>();
    } else {
      guide.secondPts = data;
      guide.secondPtNum = count;
      if (!name.empty()) std::memcpy(guide.secondName, name.data(), name.size());
      guide.secondAttr2 = m_In.ConsumeIntegral<std::uint16_t>();
    }
  }
  guide.length = ConsumeDouble(m_In);
  guide.refPoint = ConsumePoint(m_In);
}

int CEdgeScript::ConsumeGrowRequest() {
  return m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-8, kMaxGrowAttempt)
                            : m_In.PickValueInArray({INT_MIN, -1, INT_MAX, INT_MAX - 6});
}

void CEdgeScript::BenchEdge() {
  std::unique_ptr<CCrossEdge>& edge = m_Edges[m_In.ConsumeIntegralInRange<int>(0, 1)];
  switch (m_In.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
      edge = std::make_unique<CCrossEdge>();
      break;
    case 1:
      NewArray();
      break;
    case 2:
      NewGuide();
      break;
    case 3:
      edge = std::make_unique<CCrossEdge>();
      edge->BorrowGuide(m_Guide, m_In.ConsumeBool());
      FUZZ_CHECK(!edge->IsOwner(), "a borrowed edge");
      FUZZ_CHECK(!edge->AppendPoint({0.0, 0.0}), "appends fail on a borrowed edge");
      break;
    case 4: {
      auto copy = std::make_unique<CCrossEdge>();
      const bool first = m_In.ConsumeBool();
      const bool copied = copy->CopyGuide(m_Guide, first);
      const tagLonLat* pts = first ? m_Guide.firstPts : m_Guide.secondPts;
      const int count = first ? m_Guide.firstPtNum : m_Guide.secondPtNum;
      FUZZ_CHECK(copied == (pts != nullptr), "a copy fails only without points");
      if (copied) {
        FUZZ_CHECK(copy->GetPtNum() == count &&
                       (count == 0 ||
                        std::memcmp(copy->GetPts(), pts,
                                    static_cast<std::size_t>(count) * sizeof(tagLonLat)) == 0),
                   "a copied guide holds its points");
      }
      edge = std::move(copy);
      break;
    }
    case 5: {
      const int before = edge->GetPtNum();
      const bool borrowed = !edge->IsOwner();
      const bool added = edge->AppendPoint(ConsumePoint(m_In));
      FUZZ_CHECK(added == !borrowed && edge->GetPtNum() == before + (added ? 1 : 0),
                 "AppendPoint adds one point to an owned edge");
      break;
    }
    case 6: {
      const std::vector<tagLonLat>& pts = PickArray();
      const int n = m_In.ConsumeIntegralInRange<int>(-2, static_cast<int>(pts.size()));
      const int before = edge->GetPtNum();
      const bool added = edge->AppendPoints(pts.empty() ? nullptr : pts.data(), n);
      FUZZ_CHECK(edge->GetPtNum() == before + (added ? n : 0), "AppendPoints adds n points");
      FUZZ_CHECK(!added || n >= 0, "a negative count is refused");
      break;
    }
    case 7: {
      const int n = ConsumeGrowRequest();
      const int before = edge->GetPtCapacity();
      const int result = edge->Grow(n);
      if (edge->IsOwner()) {
        CheckGrow(result, n, before, edge->GetPtCapacity());
      } else {
        FUZZ_CHECK(result == -1 && edge->GetPtCapacity() == 0, "a borrowed edge cannot grow");
      }
      break;
    }
    case 8: {
      // Reversing the same span twice gives back the points.
      const int index = m_In.ConsumeIntegralInRange<int>(-2, edge->GetPtNum() + 2);
      const int n = m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-2, 64)
                                       : m_In.PickValueInArray({INT_MIN, INT_MAX});
      const std::vector<tagLonLat> before = PointsOf(*edge);
      edge->Reverse(index, n);
      FUZZ_CHECK(static_cast<int>(before.size()) == edge->GetPtNum(), "Reverse keeps the count");
      edge->Reverse(index, n);
      const std::vector<tagLonLat> after = PointsOf(*edge);
      FUZZ_CHECK(before.empty() || std::memcmp(before.data(), after.data(),
                                               before.size() * sizeof(tagLonLat)) == 0,
                 "reversing twice restores the points");
      break;
    }
    default:
      if (m_In.ConsumeBool()) {
        edge->RemoveLast();
      } else {
        edge->Clear();
      }
      break;
  }
  CheckEdge(*edge);
}

const CCrossEdge* CEdgeScript::PickSourceEdge() {
  const int i = m_In.ConsumeIntegralInRange<int>(-2, m_Vec.Size());
  if (i < 0) return m_Edges[i + 2].get();
  return m_Vec.GetAt(i);
}

void CEdgeScript::BenchVector() {
  CCrossEdgeVector& vec = m_Vec;
  const int size = vec.Size();
  int result = 0;
  bool appended = true;
  switch (m_In.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
      result = vec.Append(PickSourceEdge());
      break;
    case 1: {
      const CCrossEdge* src = PickSourceEdge();
      const std::vector<tagLonLat> pts = src != nullptr ? PointsOf(*src) : std::vector<tagLonLat>();
      const double length = ConsumeLength(m_In, pts, static_cast<int>(pts.size()));
      result = vec.Append(src, length, m_In.ConsumeBool());
      break;
    }
    case 2: {
      const bool first = m_In.ConsumeBool();
      const double length = GuideLength(first);
      result = vec.Append(&m_Guide, length, m_In.ConsumeBool(), first);
      break;
    }
    case 3: {
      const bool copy = m_In.ConsumeBool();
      const bool first = m_In.ConsumeBool();
      result = vec.Append(&m_Guide, copy, first);
      FUZZ_CHECK(copy || result == 0, "a borrowed guide is always taken");
      break;
    }
    case 4: {
      appended = false;
      const int n = ConsumeGrowRequest();
      const int before = vec.GetCapacity();
      const int grown = vec.Grow(n);
      CheckGrow(grown, n, before, vec.GetCapacity());
      break;
    }
    case 5: {
      appended = false;
      const int index = m_In.ConsumeIntegralInRange<int>(-2, size + 2);
      const int n = m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-2, 64)
                                       : m_In.PickValueInArray({INT_MIN, INT_MAX});
      std::vector<const CCrossEdge*> before;
      for (int i = 0; i < size; ++i) before.push_back(vec.GetAt(i));
      vec.Reverse(index, n);
      vec.Reverse(index, n);
      for (int i = 0; i < size; ++i) {
        FUZZ_CHECK(vec.GetAt(i) == before[static_cast<std::size_t>(i)],
                   "reversing twice restores the order");
      }
      break;
    }
    case 6:
      appended = false;
      vec.DeleteAt(m_In.ConsumeIntegralInRange<int>(-1, size));
      FUZZ_CHECK(vec.Size() == size, "DeleteAt keeps the size");
      break;
    default:
      appended = false;
      vec.Clear();
      FUZZ_CHECK(vec.Size() == 0 && vec.GetCapacity() == 0, "Clear frees the array");
      break;
  }
  if (appended) {
    FUZZ_CHECK((result == 0 || result == -1) && vec.Size() == size + (result == 0 ? 1 : 0),
               "Append stores one edge on 0 and none on -1");
  }
  FUZZ_CHECK(vec.GetAt(-1) == nullptr && vec.GetAt(vec.Size()) == nullptr,
             "GetAt out of range is null");
  for (int i = 0; i < vec.Size(); ++i) {
    if (vec.GetAt(i) != nullptr) CheckEdge(*vec.GetAt(i));
  }
}

double CEdgeScript::GuideLength(bool first) {
  const PathGuid& guide = m_Guide;
  const tagLonLat* pts = first ? guide.firstPts : guide.secondPts;
  const int count = first ? guide.firstPtNum : guide.secondPtNum;
  const std::vector<tagLonLat> points =
      pts != nullptr ? std::vector<tagLonLat>(pts, pts + count) : std::vector<tagLonLat>();
  return ConsumeLength(m_In, points, static_cast<int>(points.size()));
}

void CEdgeScript::BenchTrim() {
  CCrossEdge edge;
  const std::vector<tagLonLat>& pts = PickArray();
  const int n = m_In.ConsumeIntegralInRange<int>(0, static_cast<int>(pts.size()));
  const tagLonLat* data = pts.empty() ? nullptr : pts.data();
  switch (m_In.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
      const int r = edge.TrimToTail(data, n, ConsumeLength(m_In, pts, n));
      if (r >= 0) {
        FUZZ_CHECK(r >= 2 && r <= n && edge.GetPtNum() == r, "TrimToTail counts its points");
        FUZZ_CHECK(SameBits(edge.GetPt(r - 1), pts[static_cast<std::size_t>(n - 1)]),
                   "the tail ends with the last point");
        FUZZ_CHECK(IsValidLonLat(edge.GetPt(0)) ||
                       SameBits(edge.GetPt(0), pts[static_cast<std::size_t>(n - r)]),
                   "a cut point is valid");
      }
      FUZZ_CHECK(r >= -1, "a failed trim gives -1");
      break;
    }
    case 1: {
      const int r = edge.TrimToHead(data, n, ConsumeLength(m_In, pts, n));
      if (r >= 0) {
        FUZZ_CHECK(r >= 1 && r <= n - 1 && edge.GetPtNum() == r + 1,
                   "TrimToHead keeps the points up to its result and one more");
        FUZZ_CHECK(SameBits(edge.GetPt(0), pts[0]), "the head starts with the first point");
        FUZZ_CHECK(IsValidLonLat(edge.GetPt(r)) ||
                       SameBits(edge.GetPt(r), pts[static_cast<std::size_t>(r)]),
                   "a cut point is valid");
      }
      FUZZ_CHECK(r >= -1, "a failed trim gives -1");
      break;
    }
    case 2: {
      const bool first = m_In.ConsumeBool();
      const double length = GuideLength(first);
      const bool done = edge.SetTrimmedGuide(m_Guide, length, m_In.ConsumeBool(), first);
      FUZZ_CHECK(edge.IsWhole() != done, "only a successful trimmed fill clears whole");
      break;
    }
    default: {
      const CCrossEdge* src = PickSourceEdge();
      if (src == nullptr) break;
      const std::vector<tagLonLat> points = PointsOf(*src);
      const double length = ConsumeLength(m_In, points, static_cast<int>(points.size()));
      const bool done = edge.SetTrimmedEdge(*src, length, m_In.ConsumeBool());
      FUZZ_CHECK(edge.IsWhole() != done, "only a successful trimmed fill clears whole");
      break;
    }
  }
  CheckEdge(edge);
}

void CEdgeScript::Directions() {
  const double x1 = ConsumeDouble(m_In);
  const double y1 = ConsumeDouble(m_In);
  const double x2 = ConsumeDouble(m_In);
  const double y2 = ConsumeDouble(m_In);
  const unsigned short index = GetDirectionIndex(x1, y1, x2, y2);
  FUZZ_CHECK(index <= 1440, "a direction lies in 0..1440");
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  if (std::isnan(dx) || std::isnan(dy)) {
    FUZZ_CHECK(index == 0, "a NaN component has no direction");
  } else if (std::isinf(dy)) {
    FUZZ_CHECK(index == (dy > 0.0 ? 360 : 1080), "an infinite dy points north or south");
  } else if (dx != 0.0 || dy != 0.0) {
    // Truncated toward the x axis: within one quarter degree of the true direction.
    const double quarterDegrees = 720.0 / kPi;
    double exact = std::atan2(dy, dx) * quarterDegrees;
    if (exact < 0.0) exact += 1440.0;
    double diff = std::fabs(exact - index);
    diff = std::min(diff, 1440.0 - diff);
    FUZZ_CHECK(diff <= 1.0 + 1e-9, "the direction is the true one, truncated");
  }

  const auto any = m_In.ConsumeIntegral<unsigned short>();
  const double s = GetIndexSin(any);
  const double c = GetIndexCos(any);
  const auto reduced = static_cast<unsigned short>(any % 1440);
  FUZZ_CHECK(s == GetIndexSin(reduced) && c == GetIndexCos(reduced), "indices wrap at 1440");
  FUZZ_CHECK(std::fabs(s * s + c * c - 1.0) < 1e-12, "sine and cosine of one angle");

  const tagLonLat from = {x1, y1};
  const tagLonLat to = {x2, y2};
  const double distance = m_In.ConsumeBool() ? m_In.ConsumeFloatingPointInRange<double>(-1e4, 1e4)
                                             : ConsumeDouble(m_In);
  const tagLonLat moved = GetOffsetPoint(from, to, distance);
  if (!IsValidLonLat(from)) return;
  if (distance == 0.0) {
    FUZZ_CHECK(moved.lon == from.lon && moved.lat == from.lat, "no distance, no move");
  }
  if (std::isfinite(distance) && std::fabs(distance) <= 1e7) {
    FUZZ_CHECK(std::isfinite(moved.lon) && std::isfinite(moved.lat), "a finite move");
  }
  if (std::fabs(from.lat) <= 60.0 && std::fabs(distance) >= 1.0 && std::fabs(distance) <= 1e4) {
    FUZZ_CHECK(
        std::fabs(SegmentLength(from, moved) - std::fabs(distance)) <= 0.01 * std::fabs(distance),
        "the point lies `distance` metres away");
  }
}

}  // namespace fuzz
