// CCrossEdgeVector: a growable array of pointers to edges, which owns the edges it holds.
//
// Its Append operations are the only place where edges are created: each makes a new edge,
// keeps it on success and deletes it on failure. The pointer array grows with realloc in
// blocks of 8 slots and is freed by Clear; edges are held by pointer, so pointers handed out
// stay valid until Clear or DeleteAt of their slot. One thread at a time; nothing here logs.
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
  // When the array cannot grow the edge is not stored and stays the caller's: false.
  bool PushBack(CCrossEdge* edge);
  // Deletes the edge in slot i (when i is in range and the slot is not empty) and leaves the
  // slot null; Size() is unchanged.
  void DeleteAt(int i);
  // Deletes every edge and frees the array: size and capacity 0.
  void Clear();
  // Reverses the order of n edges from `index` (n < 0: up to the last edge; n is cut to the
  // edges present). Nothing happens for an index outside 0..Size().
  void Reverse(int index, int n);

  // Each Append returns 0 when the new edge is stored, or -1 when it was rejected (then it
  // is deleted and the vector is unchanged).
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
  // Stores `edge` or deletes it: 0 or -1.
  int Keep(CCrossEdge* edge);

  int m_Size;             // slots in use
  int m_Capacity;         // slots allocated: 0 or a multiple of 8
  CCrossEdge** mp_Edges;  // Owned array (realloc/free) of Owned edges; null when capacity 0
};

#endif  // ADVICEPATH_RENDER_EDGES_CROSSEDGEVECTOR_H_
