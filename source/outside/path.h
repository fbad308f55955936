// Path service: the route as a sequence of guides, each also one drawable edge.
//
// A host builds a CNavPath from its guides in travel order and hands it to the renderer,
// which keeps a borrowed pointer and reads it through the const operations below. The path
// owns every point array it hands out; arrays and records stay valid while the path lives
// and no guide is added. One thread at a time.
#ifndef ADVICEPATH_OUTSIDE_PATH_H_
#define ADVICEPATH_OUTSIDE_PATH_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "guide.h"
#include "lonlat.h"

// What a host supplies for one guide.
struct CPathGuideInput {
  std::vector<tagLonLat> points;    // degrees, in the direction of travel; at most 65535
  std::string name;                 // road name; cut to 299 characters in the record
  std::uint16_t attr1 = 0;          // opaque attribute
  std::uint16_t attr2 = 0;          // opaque attribute
  unsigned char id[16] = {};        // opaque identifier
  bool hasRefPoint = false;         // false: the reference point is the first point
  tagLonLat refPoint = {0.0, 0.0};  // degrees; identifies the guide
};

// The route: guides in travel order, each also one edge to draw. The renderer reads it
// through the const operations; the host appends guides with AddGuide.
class CPath {
 public:
  // The largest number of points one guide may carry (the record's count is 16-bit).
  static constexpr std::size_t kMaxGuidePoints = 65535;

  CPath();
  // Guides hold pointers into this path's own arrays, so a path is neither copied nor moved.
  CPath(const CPath&) = delete;
  CPath& operator=(const CPath&) = delete;
  virtual ~CPath();

  // Appends a guide at the end of the route. Its record gets the polyline, the name, the
  // attributes, the identifier, the reference point (the first point unless given) and the
  // length in metres (LineLength of its points). Returns the guide's index, or -1 when it has
  // more than kMaxGuidePoints points (nothing added). A guide without points is accepted:
  // it has no geometry, so GetEdge reports failure at its position.
  int AddGuide(const CPathGuideInput& guide);

  // Number of guides (and of edges).
  int GetGuideCount() const;

  // Copies the record of guide `index` into `guide`. False, `guide` untouched, when the index
  // is outside 0..count-1.
  bool GetGuideAt(int index, PathGuid& guide) const;

  // First edge position, null for an empty path. Positions are opaque and belong to this
  // path: they stay valid while the path lives and no guide is added.
  const void* GetFirstPosition() const;

  // The position after `pos`; null after the last one or for a position not of this path.
  const void* GetNext(const void* pos) const;

  // The polyline of the edge at `pos`: count and a borrowed pointer to the path's points.
  // Returns 1. Returns 0 and sets count 0, points null for a position not of this path or a
  // guide without geometry.
  int GetEdge(const void* pos, unsigned short& count, tagLonLat*& points) const;

  // Copies the guide record at `pos` into `guid`. Returns 1; 0 for a position not of this
  // path (`guid` untouched).
  int GetGuid(const void* pos, PathGuid& guid) const;

  // Fills `next` with the guide that follows `current` on this path; returns 1, or 0 at the
  // path's end or when `current` is no guide of this path (`next` untouched). `current` and
  // `next` may be the same record. `current` may be any record this path filled, or a copy
  // of one made by the route library; the guide is found in constant expected time, and a
  // route that passes the same reference point twice still walks forward.
  int GetNextGuid(const PathGuid& current, PathGuid& next) const;

 private:
  struct Entry {
    std::vector<tagLonLat> points;  // owned point storage; record.firstPts points into it
    PathGuid record;                // the record handed out; pathIndex is the entry's index
  };
  // Exact bits of a reference point (-0.0 folded into 0.0): how reference points compare.
  struct RefKey {
    std::uint64_t lon;
    std::uint64_t lat;
    bool operator==(const RefKey& other) const { return lon == other.lon && lat == other.lat; }
  };
  // Cannot throw, so the map keeps no hash code per node and compares keys in a bucket.
  struct RefKeyHash {
    std::size_t operator()(const RefKey& key) const noexcept;
  };
  static RefKey KeyOf(const tagLonLat& pt);

  // Index of the guide `record` stands for, or -1.
  long long FindGuide(const PathGuid& record) const;
  // Index of the entry at `pos`, or -1 when `pos` is not one of this path's positions.
  long long IndexOf(const void* pos) const;

  std::vector<Entry> m_Entries;  // in travel order; moving an entry keeps its point buffer
  std::unordered_map<RefKey, long long, RefKeyHash> m_FirstIndexByRef;  // first guide per point
  std::uint64_t m_Serial;  // distinguishes this path's records from other paths'
};

// The path type that crosses the renderer's exported interface. A CNavPath* is used as a
// CPath* at the same address.
class CNavPath final : public CPath {
 public:
  CNavPath() = default;
};

#endif  // ADVICEPATH_OUTSIDE_PATH_H_
