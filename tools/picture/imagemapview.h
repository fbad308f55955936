// CImageMapView: a map view that paints the renderer's calls into a Cairo context, through a
// Web Mercator projection, at a scale taken from a scale ladder.
//
// What the view makes of each call (colours are 0x00BBGGRR, widths pixels, everything
// antialiased, later calls over earlier ones):
//   DrawPolyline, third value 0: an open line through the points, round joins and caps, the
//     fifth value its width in pixels. A width of 0 or less, or above kMaxLineWidthPx, draws
//     nothing: such a width is no line width (the renderer passes colours there, below).
//   DrawPolyline, third value > 0: the outline of the closed polygon through the points,
//     round joins, the third value its width in pixels; the fifth value is ignored. This is
//     the arrowhead's outline call: the renderer passes arrowHeadBorderParam as the third
//     value and the border colour as the fifth. Half the outline lies outside the triangle,
//     so the head gets a border of arrowHeadBorderParam / 2 pixels, matching the strokes'
//     (arrowBorderWidth - arrowWidth) / 2 when the row is made that way.
//   DrawPolygon: the area the points enclose, filled; the third and fifth values are
//     ignored (the renderer passes arrowHeadParam and the fill colour there).
//   GetScale: the projection's metres per pixel; GetScaleIndex: the ladder's row for it
//     (Torvane::ScaleIndexFromLadder).
// Calls with a null point array, too few points, or a point that does not project to a
// finite pixel position draw nothing.
//
// The Cairo context is borrowed and must stay alive while the view draws; the view saves and
// restores the context's state around each call. Everything runs on the caller's thread.
#ifndef ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_
#define ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_

#include <cairo.h>

#include <vector>

#include "mapservice.h"
#include "picture/clip.h"
#include "picture/projection.h"

namespace tool {

class CImageMapView : public Torvane::CMapService {
 public:
  // Widths above this many pixels are not painted.
  static constexpr int kMaxLineWidthPx = 1024;

  // Paints on `cr` (borrowed) through `projection`; reports scale indices by `ladder`
  // (ascending bounds in metres per pixel).
  CImageMapView(cairo_t* cr, const CWebMercator& projection, const std::vector<double>& ladder);
  CImageMapView(const CImageMapView&) = delete;
  CImageMapView& operator=(const CImageMapView&) = delete;
  ~CImageMapView() override;

  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override;
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                   int width) override;
  double GetScale() override;
  int GetScaleIndex(double scale) override;

 private:
  // Projects points[0..count-1]; false when a position is not finite.
  bool Project(const tagLonLat* points, int count, std::vector<CPixel>& pixels) const;
  // The picture with a margin: what lies outside it is cut away before painting.
  CRect ClipBox() const;
  // Strokes `pixels` (closed or open) in `color` at `widthPx`.
  void Stroke(const std::vector<CPixel>& pixels, bool closed, unsigned color, double widthPx);

  cairo_t* mp_Cairo;             // Borrowed: must stay alive while the view draws
  CWebMercator m_Projection;     // degrees to pixels
  std::vector<double> m_Ladder;  // ascending scale bounds, metres per pixel
};

// Sets the source of `cr` to the opaque colour `color` (0x00BBGGRR).
void SetSourceColor(cairo_t* cr, unsigned color);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_
