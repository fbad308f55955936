// The map-view calls of one frame as the program's --dump-calls option writes them.
//
// CCallDumpView stands between the renderer and another view: it copies each draw call into
// its list and passes every call on unchanged, so the picture and the dump come from the
// same frame. FormatCallDump turns the list into JSON, one call per line:
//   [{"op": "DrawPolyline" | "DrawPolygon", "points": [[lon, lat], ...], "count": n,
//     "third": v, "color": c, "fifth": w}, ...]
// Numbers are printed in their shortest form that reads back to the same double.
// One thread at a time.
#ifndef ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_
#define ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_

#include <string>
#include <vector>

#include "mapservice.h"

namespace tool {

class CCallDumpView : public Torvane::CMapService {
 public:
  // Passes every call on to `inner` (borrowed: must stay alive while this view is drawn on).
  explicit CCallDumpView(Torvane::CMapService& inner);
  CCallDumpView(const CCallDumpView&) = delete;
  CCallDumpView& operator=(const CCallDumpView&) = delete;
  ~CCallDumpView() override;

  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override;
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                   int width) override;
  double GetScale() override;
  int GetScaleIndex(double scale) override;

  // The draw calls so far, in order, their points copied.
  const std::vector<Torvane::CDrawCall>& Calls() const { return m_Recorded.GetCalls(); }

 private:
  Torvane::CMapService& m_Inner;  // Borrowed: the view that paints
  // Keeps every draw call. Its own GetScale, which would empty it, is never called.
  Torvane::CDisplayListMapView m_Recorded;
};

// The calls as JSON text, ending in a newline.
std::string FormatCallDump(const std::vector<Torvane::CDrawCall>& calls);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_OUTPUT_CALLDUMP_H_
