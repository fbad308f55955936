// CCrossEdgeVector: a growable array of pointers to edges, which owns the edges it holds.
//
// Its Append operations are the only place where edges are made: each fills a new edge,
// keeps it on success and rejects it on failure. The pointer array grows with realloc in
// blocks of 8 slots. Clear deletes every edge and frees the array; Reset only empties the
// vector and keeps its edges, with their point arrays, as spares that later Appends fill
// again as new edges, so that refilling a vector to its former size allocates nothing.
// Edges are held by pointer, so pointers handed out stay valid objects until Clear or
// DeleteAt of their slot; after Reset they may be refilled. One thread at a time; nothing
// here logs.
#ifndef ADVICEPATH_RENDER_EDGES_CROSSEDGEVECTOR_H_
#define ADVICEPATH_RENDER_EDGES_CROSSEDGEVECTOR_H_

#include "crossedge.h"
#include "guide.h"

class CCrossEdgeVector {
 public:
  // Empty: no array.
  CCrossEdgeVector();
  CCrossEdgeVector(const CCrossEdgeVector&) = delete;
  CCrossEdgeVector& operator=(const CCrossEdgeVector&) = delete;
  // Deletes every edge held (Clear).
  virtual ~CCrossEdgeVector();

  // Number of slots in use.
  int Size() const;
  // Number of pointer slots allocated: 0 or a multiple of 8.
  int GetCapacity() const;
  // The edge at i (borrowed from the vector), or null when i is outside 0..Size()-1.
  CCrossEdge* GetAt(int i) const;
  // The edge at i without a range check: the caller guarantees 0 <= i < Size().
  CCrossEdge* ItemAt(int i) const;

  // Raises the capacity to at least n slots (rounded up to a multiple of 8). Returns the
  // capacity, or -1 with nothing changed when the array cannot grow.
  int Grow(int n);
  // Stores `edge` at the end and takes ownership of it: true. A null edge is ignored: false.
  // When the array cannot grow the edge is not stored and stays the caller's: false. The
  // edge must not be held by a vector already; a spare edge in its slot is deleted.
  bool PushBack(CCrossEdge* edge);
  // Deletes the edge in slot i (when i is in range and the slot is not empty) and leaves the
  // slot null; Size() is unchanged.
  void DeleteAt(int i);
  // Deletes every edge, spares included, and frees the array: size and capacity 0.
  void Clear();
  // Empties the vector (size 0) but keeps its edges as spares and the array with its
  // capacity, for the next Appends to refill.
  void Reset();
  // Reverses the order of n edges from `index` (n < 0: up to the last edge; n is cut to the
  // edges present). Nothing happens for an index outside 0..Size().
  void Reverse(int index, int n);

  // Each Append fills a new edge (a spare made new again, else a new allocation) and returns
  // 0 when it is stored, or -1 when it was rejected (then the vector holds the same edges as
  // before; a rejected spare stays a spare, a rejected allocation is deleted).
  // A deep copy of src; rejected when src is null or the copy has no points.
  int Append(const CCrossEdge* src);
  // A copy of src cut to `length` metres, keeping its start (fromStart) or its end part.
  int Append(const CCrossEdge* src, double length, bool fromStart);
  // An owned copy of one polyline of `guide` cut to `length` metres from its start or end.
  int Append(const PathGuid* guide, double length, bool fromStart, bool firstPolyline);
  // One polyline of `guide`, as an owned copy (copy) or a borrowed view (!copy, valid only
  // while the record lives unchanged). Rejected for a null guide, or a copy that fails.
  int Append(const PathGuid* guide, bool copy, bool firstPolyline);

 private:
  // The edge the next Append fills: the spare in slot Size(), made new again, or a new
  // allocation; null when the allocation fails.
  CCrossEdge* TakeEdge();
  // Stores an edge from TakeEdge when `filled` is true: 0. Otherwise, or when it cannot be
  // stored, a spare stays in its slot and a new edge is deleted: -1.
  int Keep(CCrossEdge* edge, bool filled);

  int m_Size;             // slots in use: 0..m_Size-1 hold the edges (null after DeleteAt)
  int m_Capacity;         // slots allocated, 0 or a multiple of 8; from m_Size on, spares or null
  CCrossEdge** mp_Edges;  // Owned array (realloc/free) of Owned edges; null when capacity 0
};

#endif  // ADVICEPATH_RENDER_EDGES_CROSSEDGEVECTOR_H_
