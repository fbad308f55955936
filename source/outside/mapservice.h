// Map data service: the map view interface the renderer draws on, and the process-wide
// default view.
//
// The renderer borrows a view (it never deletes one) and calls it on the host's thread,
// inside Draw only. Points passed to the draw operations are borrowed for the call: a view
// that keeps them copies them.
#ifndef ADVICEPATH_OUTSIDE_MAPSERVICE_H_
#define ADVICEPATH_OUTSIDE_MAPSERVICE_H_

#include <vector>

#include "lonlat.h"

namespace Torvane {

// A map view. Colours are 0x00BBGGRR (255 is pure red). The meaning of `style` (the third
// value) and of `width` (the fifth) beyond a pixel width is the view's own.
class CMapService {
 public:
  virtual ~CMapService();

  // Paints an open line through `count` points in order, later calls over earlier ones.
  virtual void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                            int width) = 0;
  // Paints the area the points enclose, each corner passed once.
  virtual void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                           int width) = 0;
  // The view's current scale; meaningful only as GetScaleIndex's argument.
  virtual double GetScale() = 0;
  // The size-table row for `scale`: 0 or more.
  virtual int GetScaleIndex(double scale) = 0;
};

// One recorded draw call. Points are copied.
struct CDrawCall {
  // Which operation was called: kPolyline for DrawPolyline, kPolygon for DrawPolygon.
  enum Op { kPolyline, kPolygon };
  Op op;                          // DrawPolyline or DrawPolygon
  std::vector<tagLonLat> points;  // the call's points, degrees
  int count;                      // the call's count
  int style;                      // the third value
  unsigned color;                 // 0x00BBGGRR
  int width;                      // the fifth value
};

// Maps a scale to a row index through a ladder of ascending scale bounds: the index is the
// first i with scale <= ladder[i], or ladder.size() when the scale exceeds them all.
int ScaleIndexFromLadder(const std::vector<double>& ladder, double scale);

// The default view: a display list of the current frame. GetScale starts a new frame (the
// renderer calls it first in every Draw), so the list holds one frame's calls at most and a
// host that draws on it for hours keeps one frame's memory.
class CDisplayListMapView : public CMapService {
 public:
  // Scale 1.0 and the default ladder.
  CDisplayListMapView();
  CDisplayListMapView(const CDisplayListMapView&) = delete;
  CDisplayListMapView& operator=(const CDisplayListMapView&) = delete;
  ~CDisplayListMapView() override;

  // The default ladder: metres per pixel at which each row of a size table ends
  // (0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000).
  static std::vector<double> DefaultLadder();

  // Host side: the current scale (metres per pixel) and the ladder that maps it to a row.
  void SetScale(double metresPerPixel);
  // Host side: the ladder of ascending scale bounds (metres per pixel) GetScaleIndex uses.
  void SetScaleLadder(const std::vector<double>& ascendingBounds);

  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override;
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                   int width) override;
  // Returns the scale and empties the display list: a new frame begins.
  double GetScale() override;
  int GetScaleIndex(double scale) override;

  // The calls of the current frame, in order.
  const std::vector<CDrawCall>& GetCalls() const;
  // Empties the display list.
  void ClearCalls();

 private:
  void Record(CDrawCall::Op op, const tagLonLat* points, int count, int style, unsigned color,
              int width);

  double m_Scale;                  // metres per pixel
  std::vector<double> m_Ladder;    // ascending scale bounds, metres per pixel
  std::vector<CDrawCall> m_Calls;  // current frame only
};

// The map data library's access to the default view.
class CMapCreate {
 public:
  // The process-wide default view (a CDisplayListMapView), built on first use and destroyed
  // at exit. `config` is reserved and ignored.
  static CMapService& GetMapService(void* config);
};

}  // namespace Torvane

#endif  // ADVICEPATH_OUTSIDE_MAPSERVICE_H_
