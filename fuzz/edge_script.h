// The part of fuzz_frame's script that calls the edge primitives and the direction functions
// directly, on arbitrary points: point edits, Grow and Reverse on loose edges (owned, or
// borrowing a guide record); Append, Grow, Reverse, DeleteAt and Clear on an edge vector; the
// two trims and the trimmed fills; GetDirectionIndex, the index sine and cosine, and
// GetOffsetPoint. Each call is checked against its documented results (frame_check.h's
// FUZZ_CHECK aborts on a broken one).
//
// The frame script owns one CEdgeScript and runs one of its steps when its next operation
// says so; both read the same bytes, so the order of the reads here is part of what every
// committed corpus input means. One thread; nothing here is shared.
#ifndef ADVICEPATH_FUZZ_EDGE_SCRIPT_H_
#define ADVICEPATH_FUZZ_EDGE_SCRIPT_H_

#include <memory>
#include <vector>

#include "crossedge.h"
#include "crossedgevector.h"
#include "guide.h"
#include "lonlat.h"

class FuzzedDataProvider;

namespace fuzz {

// The edge primitives' bench: point arrays that live for the whole script (borrowed edges
// and guide records point into them), a guide record, an edge vector and two loose edges.
class CEdgeScript {
 public:
  // Starts with one empty array, a zeroed guide record, an empty vector and two empty owned
  // edges; reads nothing yet. `in` is borrowed: it must stay alive while steps run. Not
  // copyable.
  explicit CEdgeScript(FuzzedDataProvider& in);
  CEdgeScript(const CEdgeScript&) = delete;
  CEdgeScript& operator=(const CEdgeScript&) = delete;

  // Point edits on one loose edge.
  void BenchEdge();
  // Appends to, grows, reverses, deletes from or clears the edge vector.
  void BenchVector();
  // The two trims and the trimmed fills on a new edge.
  void BenchTrim();
  // The direction functions on two arbitrary points, an arbitrary index and distance.
  void Directions();

 private:
  const std::vector<tagLonLat>& PickArray();
  void NewArray();
  // A guide record over one of the bench's arrays, or over none; any count up to the array's
  // size (any count at all with a null array), any name bytes, length and reference point.
  void NewGuide();
  int ConsumeGrowRequest();
  // An edge to copy or trim from: a loose edge or one held by the vector (maybe null).
  const CCrossEdge* PickSourceEdge();
  // A length in metres for a trim of one of the guide record's polylines.
  double GuideLength(bool first);

  FuzzedDataProvider& m_In;  // the script's bytes; borrowed
  // Owned, and only ever added to, so that pointers into them stay valid to the end.
  std::vector<std::unique_ptr<std::vector<tagLonLat>>> m_Arrays;
  PathGuid m_Guide;                        // its polylines point into m_Arrays, or are null
  CCrossEdgeVector m_Vec;                  // its edges may borrow points of m_Arrays
  std::unique_ptr<CCrossEdge> m_Edges[2];  // the loose edges; owned, never null
};

}  // namespace fuzz

#endif  // ADVICEPATH_FUZZ_EDGE_SCRIPT_H_
