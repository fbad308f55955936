#include "crossedgevector.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Pointer slots added at a time when the array grows.
constexpr int kGrowBlock = 8;

}  // namespace

CCrossEdgeVector::CCrossEdgeVector() : m_Size(0), m_Capacity(0), mp_Edges(nullptr) {}

CCrossEdgeVector::~CCrossEdgeVector() { Clear(); }

int CCrossEdgeVector::Size() const { return m_Size; }

int CCrossEdgeVector::GetCapacity() const { return m_Capacity; }

CCrossEdge* CCrossEdgeVector::GetAt(int i) const {
  if (i >= 0 && i < m_Size) return mp_Edges[i];
  return nullptr;
}

CCrossEdge* CCrossEdgeVector::ItemAt(int i) const { return mp_Edges[i]; }

int CCrossEdgeVector::Grow(int n) {
  if (n <= m_Capacity) return m_Capacity;
  // Rounding up to the block must stay an int, and the byte count a size_t.
  if (n > INT_MAX - (kGrowBlock - 1)) return -1;
  const int capacity = (n + kGrowBlock - 1) / kGrowBlock * kGrowBlock;
  if (static_cast<std::size_t>(capacity) > SIZE_MAX / sizeof(CCrossEdge*)) return -1;
  void* grown = std::realloc(mp_Edges, static_cast<std::size_t>(capacity) * sizeof(CCrossEdge*));
  if (grown == nullptr) return -1;  // realloc left the old array in place
  mp_Edges = static_cast<CCrossEdge**>(grown);
  // The new slots hold no spare.
  for (int i = m_Capacity; i < capacity; ++i) mp_Edges[i] = nullptr;
  m_Capacity = capacity;
  return m_Capacity;
}

bool CCrossEdgeVector::PushBack(CCrossEdge* edge) {
  if (edge == nullptr || Grow(m_Size + 1) < 0) return false;
  // Slot m_Size holds a spare, which may be `edge` itself (an Append storing its spare).
  if (mp_Edges[m_Size] != edge) delete mp_Edges[m_Size];
  mp_Edges[m_Size] = edge;
  ++m_Size;
  return true;
}

void CCrossEdgeVector::DeleteAt(int i) {
  if (i < 0 || i >= m_Size) return;
  delete mp_Edges[i];
  mp_Edges[i] = nullptr;
}

void CCrossEdgeVector::Clear() {
  for (int i = 0; i < m_Capacity; ++i) delete mp_Edges[i];
  std::free(mp_Edges);
  mp_Edges = nullptr;
  m_Size = 0;
  m_Capacity = 0;
}

void CCrossEdgeVector::Reset() { m_Size = 0; }

void CCrossEdgeVector::Reverse(int index, int n) {
  if (!(index >= 0 && index <= m_Size)) return;
  if (n < 0) n = m_Size;
  if (n > m_Size - index) n = m_Size - index;  // index + n > m_Size, without overflow
  for (int k = 0; k < n / 2; ++k) {
    CCrossEdge* const swap = mp_Edges[index + k];
    mp_Edges[index + k] = mp_Edges[index + n - 1 - k];
    mp_Edges[index + n - 1 - k] = swap;
  }
}

int CCrossEdgeVector::Append(const CCrossEdge* src) {
  if (src == nullptr) return -1;
  CCrossEdge* edge = TakeEdge();
  // A copy without points (a source without points, or a failed allocation) draws nothing.
  return Keep(edge, edge != nullptr && edge->CopyEdge(*src) && edge->GetPtNum() != 0);
}

int CCrossEdgeVector::Append(const CCrossEdge* src, double length, bool fromStart) {
  if (src == nullptr) return -1;
  CCrossEdge* edge = TakeEdge();
  return Keep(edge, edge != nullptr && edge->SetTrimmedEdge(*src, length, fromStart));
}

int CCrossEdgeVector::Append(const PathGuid* guide, double length, bool fromStart,
                             bool firstPolyline) {
  if (guide == nullptr) return -1;
  CCrossEdge* edge = TakeEdge();
  return Keep(edge,
              edge != nullptr && edge->SetTrimmedGuide(*guide, length, fromStart, firstPolyline));
}

int CCrossEdgeVector::Append(const PathGuid* guide, bool copy, bool firstPolyline) {
  if (guide == nullptr) return -1;
  CCrossEdge* edge = TakeEdge();
  if (edge == nullptr) return -1;
  if (!copy) {
    edge->BorrowGuide(*guide, firstPolyline);  // cannot fail
    return Keep(edge, true);
  }
  return Keep(edge, edge->CopyGuide(*guide, firstPolyline));
}

CCrossEdge* CCrossEdgeVector::TakeEdge() {
  if (m_Size < m_Capacity && mp_Edges[m_Size] != nullptr) {
    // The spare keeps its point array, so a refill up to its capacity allocates nothing.
    mp_Edges[m_Size]->Reset();
    return mp_Edges[m_Size];
  }
  return new (std::nothrow) CCrossEdge();
}

int CCrossEdgeVector::Keep(CCrossEdge* edge, bool filled) {
  if (edge == nullptr) return -1;  // its allocation failed
  // PushBack refuses nothing here but an array that cannot grow, and then leaves the edge with
  // us: it is kept as the spare or deleted rather than leaked or reported as stored.
  if (filled && PushBack(edge)) return 0;
  if (m_Size < m_Capacity && mp_Edges[m_Size] == edge) return -1;  // a spare stays a spare
  delete edge;
  return -1;
}
