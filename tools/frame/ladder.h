// The scale ladder: which scale, in metres per pixel, each scale index of a size table is
// drawn at, and back. The program's pictures use the outside layer's default ladder, fetched
// here and nowhere else.
//
// A value; any thread.
#ifndef ADVICEPATH_TOOLS_FRAME_LADDER_H_
#define ADVICEPATH_TOOLS_FRAME_LADDER_H_

#include <utility>
#include <vector>

#include "mapservice.h"

namespace tool {

class CScaleLadder {
 public:
  // The outside layer's default ladder (Torvane::CDisplayListMapView::DefaultLadder()).
  static const CScaleLadder& Default() {
    static const CScaleLadder kDefault(Torvane::CDisplayListMapView::DefaultLadder());
    return kDefault;
  }

  // `bounds`: ascending scales in metres per pixel; index i covers scales up to bounds[i],
  // index bounds.size() everything beyond (Torvane::ScaleIndexFromLadder).
  explicit CScaleLadder(std::vector<double> bounds) : m_Bounds(std::move(bounds)) {}

  const std::vector<double>& Bounds() const { return m_Bounds; }
  // The highest index a view on this ladder reports: the row beyond the last bound.
  int HighestIndex() const { return static_cast<int>(m_Bounds.size()); }
  // The scale, metres per pixel, the picture shows `index` at: its bound, the largest scale
  // of that row, or twice the last bound for the row beyond the ladder. -1 for an index
  // outside 0..HighestIndex().
  double MetresPerPixel(int index) const {
    if (index < 0 || index > HighestIndex()) return -1.0;
    if (index < HighestIndex()) return m_Bounds[static_cast<std::size_t>(index)];
    return m_Bounds.empty() ? 1.0 : 2.0 * m_Bounds.back();
  }

 private:
  std::vector<double> m_Bounds;  // metres per pixel, ascending
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_LADDER_H_
