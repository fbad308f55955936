#include "path.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "geodesy.h"

namespace {

// Each path gets its own serial, stamped into the records it fills, so that a record of
// another path is never taken for one of ours by its index alone.
std::atomic<std::uint64_t> g_NextPathSerial{0x5eed0001u};

}  // namespace

std::size_t CPath::RefKeyHash::operator()(const RefKey& key) const noexcept {
  return std::hash<std::uint64_t>()(key.lon * 0x9E3779B97F4A7C15ull ^ key.lat);
}

CPath::RefKey CPath::KeyOf(const tagLonLat& pt) {
  RefKey key;
  const double lon = pt.lon + 0.0;  // folds -0.0 into +0.0
  const double lat = pt.lat + 0.0;
  std::memcpy(&key.lon, &lon, sizeof lon);
  std::memcpy(&key.lat, &lat, sizeof lat);
  return key;
}

CPath::CPath() : m_Serial(g_NextPathSerial.fetch_add(1)) {}

CPath::~CPath() = default;

int CPath::AddGuide(const CPathGuideInput& guide) {
  if (guide.points.size() > kMaxGuidePoints) return -1;
  const long long index = static_cast<long long>(m_Entries.size());
  m_Entries.emplace_back();
  Entry& entry = m_Entries.back();
  entry.points = guide.points;
  PathGuid& rec = entry.record;
  std::memset(&rec, 0, sizeof rec);
  std::memcpy(rec.firstId, guide.id, sizeof rec.firstId);
  const std::size_t nameLen = std::min(guide.name.size(), sizeof rec.firstName - 1);
  std::memcpy(rec.firstName, guide.name.data(), nameLen);
  rec.firstAttr1 = guide.attr1;
  rec.firstAttr2 = guide.attr2;
  rec.firstPtNum = static_cast<std::uint16_t>(entry.points.size());
  rec.firstPts = entry.points.empty() ? nullptr : entry.points.data();
  rec.length = LineLength(rec.firstPtNum, rec.firstPts);
  rec.refPoint = guide.hasRefPoint || entry.points.empty() ? guide.refPoint : entry.points[0];
  rec.pathSerial = m_Serial;
  rec.pathIndex = static_cast<std::uint64_t>(index);
  m_FirstIndexByRef.emplace(KeyOf(rec.refPoint), index);
  return static_cast<int>(index);
}

int CPath::GetGuideCount() const { return static_cast<int>(m_Entries.size()); }

bool CPath::GetGuideAt(int index, PathGuid& guide) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_Entries.size()) return false;
  guide = m_Entries[static_cast<std::size_t>(index)].record;
  return true;
}

long long CPath::IndexOf(const void* pos) const {
  // Compared as integers: the position may come from anywhere and is never dereferenced.
  if (pos == nullptr || m_Entries.empty()) return -1;
  const auto base = reinterpret_cast<std::uintptr_t>(m_Entries.data());
  const auto at = reinterpret_cast<std::uintptr_t>(pos);
  if (at < base) return -1;
  const std::uintptr_t offset = at - base;
  if (offset % sizeof(Entry) != 0) return -1;
  const std::uintptr_t index = offset / sizeof(Entry);
  return index < m_Entries.size() ? static_cast<long long>(index) : -1;
}

const void* CPath::GetFirstPosition() const {
  return m_Entries.empty() ? nullptr : &m_Entries.front();
}

const void* CPath::GetNext(const void* pos) const {
  const long long index = IndexOf(pos);
  if (index < 0 || static_cast<std::size_t>(index) + 1 >= m_Entries.size()) return nullptr;
  return &m_Entries[static_cast<std::size_t>(index) + 1];
}

int CPath::GetEdge(const void* pos, unsigned short& count, tagLonLat*& points) const {
  count = 0;
  points = nullptr;
  const long long index = IndexOf(pos);
  if (index < 0) return 0;
  const PathGuid& rec = m_Entries[static_cast<std::size_t>(index)].record;
  if (rec.firstPts == nullptr) return 0;
  count = rec.firstPtNum;
  points = rec.firstPts;
  return 1;
}

int CPath::GetGuid(const void* pos, PathGuid& guid) const {
  const long long index = IndexOf(pos);
  if (index < 0) return 0;
  guid = m_Entries[static_cast<std::size_t>(index)].record;
  return 1;
}

long long CPath::FindGuide(const PathGuid& record) const {
  // A record this path filled (or a route-library copy of one) names its own index. Its
  // reference point is compared by key, as the lookup below does, so that one that is not a
  // number still names its own guide rather than the first guide with that point.
  if (record.pathSerial == m_Serial && record.pathIndex < m_Entries.size() &&
      KeyOf(m_Entries[record.pathIndex].record.refPoint) == KeyOf(record.refPoint)) {
    return static_cast<long long>(record.pathIndex);
  }
  // Any other record: the first guide with exactly this reference point.
  const auto found = m_FirstIndexByRef.find(KeyOf(record.refPoint));
  return found == m_FirstIndexByRef.end() ? -1 : found->second;
}

int CPath::GetNextGuid(const PathGuid& current, PathGuid& next) const {
  const long long index = FindGuide(current);
  if (index < 0 || static_cast<std::size_t>(index) + 1 >= m_Entries.size()) return 0;
  next = m_Entries[static_cast<std::size_t>(index) + 1].record;
  return 1;
}
