#include "picture/imagemapview.h"

#include <cmath>

namespace tool {

namespace {

// Pixels kept around the picture when cutting lines: far more than half the widest line,
// so that cut ends and their caps stay out of sight.
constexpr double kClipMarginPx = 2.0 * CImageMapView::kMaxLineWidthPx;

void AddPath(cairo_t* cr, const std::vector<CPixel>& pixels) {
  cairo_move_to(cr, pixels[0].x, pixels[0].y);
  for (std::size_t i = 1; i < pixels.size(); ++i) cairo_line_to(cr, pixels[i].x, pixels[i].y);
}

}  // namespace

void SetSourceColor(cairo_t* cr, unsigned color) {
  cairo_set_source_rgb(cr, (color & 0xFFu) / 255.0, ((color >> 8) & 0xFFu) / 255.0,
                       ((color >> 16) & 0xFFu) / 255.0);
}

CImageMapView::CImageMapView(cairo_t* cr, const CWebMercator& projection,
                             const std::vector<double>& ladder)
    : mp_Cairo(cr), m_Projection(projection), m_Ladder(ladder) {}

CImageMapView::~CImageMapView() = default;

bool CImageMapView::Project(const tagLonLat* points, int count, std::vector<CPixel>& pixels) const {
  pixels.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    pixels[static_cast<std::size_t>(i)] = m_Projection.ToPixel(points[i]);
    if (!std::isfinite(pixels[static_cast<std::size_t>(i)].x) ||
        !std::isfinite(pixels[static_cast<std::size_t>(i)].y)) {
      return false;
    }
  }
  return true;
}

CRect CImageMapView::ClipBox() const {
  return {-kClipMarginPx, -kClipMarginPx, m_Projection.Width() + kClipMarginPx,
          m_Projection.Height() + kClipMarginPx};
}

void CImageMapView::Stroke(const std::vector<CPixel>& pixels, bool closed, unsigned color,
                           double widthPx) {
  const CRect box = ClipBox();
  cairo_save(mp_Cairo);
  SetSourceColor(mp_Cairo, color);
  cairo_set_line_width(mp_Cairo, widthPx);
  cairo_set_line_join(mp_Cairo, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(mp_Cairo, CAIRO_LINE_CAP_ROUND);
  if (closed) {
    // An outline is stroked as the border of its clipped area.
    const std::vector<CPixel> area = ClipPolygon(pixels, box);
    if (area.size() >= 3) {
      AddPath(mp_Cairo, area);
      cairo_close_path(mp_Cairo);
    }
  } else {
    for (const std::vector<CPixel>& part : ClipPolyline(pixels, box)) AddPath(mp_Cairo, part);
  }
  cairo_stroke(mp_Cairo);
  cairo_restore(mp_Cairo);
}

void CImageMapView::DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                                 int width) {
  std::vector<CPixel> pixels;
  if (points == nullptr || count < 2 || !Project(points, count, pixels)) return;
  if (style > 0) {
    Stroke(pixels, true, color, style);
  } else if (width > 0 && width <= kMaxLineWidthPx) {
    Stroke(pixels, false, color, width);
  }
}

void CImageMapView::DrawPolygon(const tagLonLat* points, int count, int /*style*/, unsigned color,
                                int /*width*/) {
  std::vector<CPixel> pixels;
  if (points == nullptr || count < 3 || !Project(points, count, pixels)) return;
  const std::vector<CPixel> area = ClipPolygon(pixels, ClipBox());
  if (area.size() < 3) return;
  cairo_save(mp_Cairo);
  SetSourceColor(mp_Cairo, color);
  AddPath(mp_Cairo, area);
  cairo_close_path(mp_Cairo);
  cairo_fill(mp_Cairo);
  cairo_restore(mp_Cairo);
}

double CImageMapView::GetScale() { return m_Projection.MetresPerPixel(); }

int CImageMapView::GetScaleIndex(double scale) {
  return Torvane::ScaleIndexFromLadder(m_Ladder, scale);
}

}  // namespace tool
