// CCrossEdge: one stroke of the big arrow, a polyline of points with a small header
// (source length, identifier, name, two attributes) taken from a guide record or another
// edge.
//
// An edge either owns its point array (allocated with realloc in blocks of 8 points, never
// shrunk, freed in the destructor) or borrows one polyline's array from a guide record; a
// borrowed edge is valid only while that record lives unchanged, and appends and reversals
// are refused on it. Edges are created and deleted by CCrossEdgeVector. One thread at a time;
// nothing here logs (callers report).
#ifndef ADVICEPATH_RENDER_EDGES_CROSSEDGE_H_
#define ADVICEPATH_RENDER_EDGES_CROSSEDGE_H_

#include "guide.h"
#include "lonlat.h"

// The point that is not a point: longitude 180, latitude 90 (outside the valid range).
// Marks empty guide slots and answers point reads out of range.
extern const tagLonLat g_InvalidPoint;

// An edge's 16-byte opaque identifier, by value.
struct tagEdgeId {
  unsigned char bytes[16];
};

class CCrossEdge {
 public:
  // Capacity of the name in characters, terminator included.
  static constexpr int kNameSize = kGuideNameSize;

  // An empty owned, whole edge: length 0, attributes 0, no points, empty name and id.
  CCrossEdge();
  // Deep copy: owned and whole whatever the source's flags; header from the source, points
  // copied. When the points cannot be allocated the copy has none (nothing reported).
  CCrossEdge(const CCrossEdge& src);
  CCrossEdge& operator=(const CCrossEdge&) = delete;
  // Frees an owned point array; a borrowed one is left alone.
  virtual ~CCrossEdge();

  // Metres: length of the whole source polyline (trims keep the source's length).
  double GetLength() const;
  tagEdgeId GetId() const;
  // The name, always terminated inside the edge's buffer.
  const char* GetName() const;
  // The source polyline's two 16-bit attributes, zero-extended.
  int GetAttr1() const;
  int GetAttr2() const;
  // Number of points in use.
  int GetPtNum() const;
  // Points allocated: 0 for a borrowed array, else a multiple of 8.
  int GetPtCapacity() const;
  // The points, owned or borrowed; may be null.
  const tagLonLat* GetPts() const;
  // A copy of point i for 0 <= i < GetPtNum(), else g_InvalidPoint.
  tagLonLat GetPt(int i) const;
  // True while the edge holds its whole source; false after a successful trimmed fill.
  bool IsWhole() const;
  // True when the edge owns (and may edit) its point array.
  bool IsOwner() const;

  // Raises the capacity to at least n points (n rounded up to a multiple of 8), keeping the
  // points. Returns the capacity. Returns -1 and changes nothing when the array cannot grow
  // (allocation failure, or a capacity that would overflow) or the edge borrows its points.
  int Grow(int n);
  // Appends a copy of pt. False, nothing changed, on a borrowed edge or when the array
  // cannot grow.
  bool AppendPoint(const tagLonLat& pt);
  // Appends n points after the existing ones; the points are copied, so the caller keeps
  // pts. False, nothing changed, on a borrowed edge, for a null pts or a negative n, or when
  // the array cannot grow. With n = 0 it succeeds and adds nothing.
  bool AppendPoints(const tagLonLat* pts, int n);
  // Forgets all points; the array and its capacity stay.
  void Clear();
  // Makes this edge as a new one again (owned, whole, length and attributes 0, empty name and
  // identifier, no points) for reuse: an owned point array and its capacity stay, so refills
  // up to that capacity need no allocation; a borrowed array is let go, never freed.
  void Reset();
  // Forgets the last point when there is one; the storage stays (a borrowed array is not
  // touched either way).
  void RemoveLast();
  // Reverses the order of n points from `index` (n < 0: up to the last point; n is cut to
  // the points present). Nothing happens on a borrowed edge or for an index outside
  // 0..GetPtNum().
  void Reverse(int index, int n);

  // Header from one polyline of a guide (the first when firstPolyline): length = LineLength
  // of its points (metres), identifier, the two attributes, and the name cut to 299
  // characters and terminated. Points untouched.
  void SetHeaderFromGuide(const PathGuid& guide, bool firstPolyline);
  // Header from another edge. Points untouched.
  void SetHeaderFromEdge(const CCrossEdge& src);

  // Makes this (new, empty) edge a view on one polyline of `guide`: borrowed, valid only
  // while the record lives unchanged.
  void BorrowGuide(const PathGuid& guide, bool firstPolyline);
  // Makes this (new, empty) edge an owned copy of one polyline of `guide`. False when the
  // polyline's points are null or cannot be copied.
  bool CopyGuide(const PathGuid& guide, bool firstPolyline);
  // Makes this (new, empty) edge a deep copy of `src`, as the copy constructor does: header
  // from src, its points copied, owned and whole whatever src's flags. False when src has no
  // point array, is this edge, or its points cannot be copied (the edge then has none).
  bool CopyEdge(const CCrossEdge& src);

  // Appends the last `length` metres of pts[0..n-1] to this (new, empty) edge, in the
  // source's direction, ending with pts[n-1]; the first point is a cut point unless the
  // length ends on a source point. Source points are kept as they are; only a cut point
  // must lie in the valid range. Returns the number of points kept (> 0), or -1 for fewer
  // than two points, a length that is negative, not finite or longer than the polyline, a
  // cut point outside the valid range, or a failed append (the edge's points are then
  // unusable: callers discard the edge).
  int TrimToTail(const tagLonLat* pts, int n, double length);
  // Appends the first `length` metres of pts[0..n-1], starting with pts[0]. Returns the
  // index of the source point that ends the segment where the length was reached (>= 0), or
  // -1 as TrimToTail.
  int TrimToHead(const tagLonLat* pts, int n, double length);
  // Header from the guide, then the first (fromStart) or last `length` metres of its chosen
  // polyline as owned points; clears the whole flag. False when the polyline's points are
  // null (edge untouched) or the trim fails (the whole flag stays).
  bool SetTrimmedGuide(const PathGuid& guide, double length, bool fromStart, bool firstPolyline);
  // The same from another edge's points.
  bool SetTrimmedEdge(const CCrossEdge& src, double length, bool fromStart);

 private:
  // The walk both trims share: appends the source's first point, then its points in walking
  // order (from pts[0] forward, or from pts[n-1] backward when `backward`) up to `length`
  // metres, ending on a source point or on a cut point. Returns the number of segments
  // walked (>= 1), or -1 as the trims, the points then being unusable.
  int AppendWalked(const tagLonLat* pts, int n, double length, bool backward);
  // AppendPoint for the walk: a full array first tries to double (still a multiple of the
  // block), so that keeping thousands of points costs a logarithmic number of reallocations
  // instead of one per block; when doubling fails it falls back to AppendPoint's one block.
  // Called only after the walk's first point was appended: the edge owns an array of at
  // least one block.
  bool AppendWalkedPoint(const tagLonLat& pt);

  bool m_isOwner;          // true: mp_Pts was allocated here and is freed here
  bool m_isWhole;          // true while the edge holds its whole source
  double m_Length;         // metres: length of the whole source polyline
  tagEdgeId m_Id;          // opaque identifier of the source
  char m_Name[kNameSize];  // source name, terminated inside the buffer
  int m_Attr1;             // first attribute of the source, zero-extended
  int m_Attr2;             // second attribute of the source, zero-extended
  int m_PtNum;             // points in use
  int m_PtCapacity;        // points allocated; 0 when borrowed
  tagLonLat* mp_Pts;       // Owned (realloc/free) or Borrowed from a guide record; may be null
};

#endif  // ADVICEPATH_RENDER_EDGES_CROSSEDGE_H_
