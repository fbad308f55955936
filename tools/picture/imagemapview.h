// CImageMapView: paints the renderer's map-view calls into a Cairo context, through a Web
// Mercator projection; and MarkOf, the one place that says what the picture makes of a call,
// for painting and for measuring (PaintedBox) alike.
//
// What the picture makes of each call (colours are 0x00BBGGRR, widths pixels, everything
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
// Calls with a null point array, too few points, or a point that does not project to a
// finite pixel position draw nothing.
//
// The Cairo context is borrowed and must stay alive while the view draws; the view saves and
// restores the context's state around each call. Everything runs on the caller's thread.
#ifndef ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_
#define ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_

#include <cairo.h>

#include <cstddef>
#include <vector>

#include "mapservice.h"
#include "picture/clip.h"
#include "picture/projection.h"

namespace tool {

// Widths above this many pixels are not painted.
constexpr int kMaxLineWidthPx = 1024;

// What the picture paints for one call.
struct CMark {
  enum class CKind { kNothing, kLine, kOutline, kArea };
  CKind kind;
  double widthPx;  // the line's width for kLine and kOutline; 0 otherwise
};

// The mark of a call of kind `op` with `count` points (`hasPoints`: the array was not null),
// third value `style` and fifth value `width`, as described above.
CMark MarkOf(Torvane::CDrawCall::Op op, bool hasPoints, int count, int style, int width);

// The box, in pixels of `projection`, that calls[begin .. end) paint: every point of a
// painted call widened by half its line width. False when none paints anything.
bool PaintedBox(const std::vector<Torvane::CDrawCall>& calls, std::size_t begin, std::size_t end,
                const CWebMercator& projection, CRect& box);

class CImageMapView {
 public:
  // Paints on `cr` (borrowed) through `projection`.
  CImageMapView(cairo_t* cr, const CWebMercator& projection);
  CImageMapView(const CImageMapView&) = delete;
  CImageMapView& operator=(const CImageMapView&) = delete;
  ~CImageMapView();

  // The map view's two drawing calls, with the renderer's arguments.
  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color, int width);
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color, int width);
  // A recorded call, as the renderer made it.
  void Paint(const Torvane::CDrawCall& call);

 private:
  // Projects points[0..count-1]; false when a position is not finite.
  bool Project(const tagLonLat* points, int count, std::vector<CPixel>& pixels) const;
  // The picture with a margin: what lies outside it is cut away before painting.
  CRect ClipBox() const;
  // Strokes `pixels` (closed or open) in `color` at `widthPx`.
  void Stroke(const std::vector<CPixel>& pixels, bool closed, unsigned color, double widthPx);
  // Fills the area `pixels` enclose in `color`.
  void Fill(const std::vector<CPixel>& pixels, unsigned color);

  cairo_t* mp_Cairo;          // Borrowed: must stay alive while the view draws
  CWebMercator m_Projection;  // degrees to pixels
};

// Sets the source of `cr` to the opaque colour `color` (0x00BBGGRR).
void SetSourceColor(cairo_t* cr, unsigned color);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_IMAGEMAPVIEW_H_
