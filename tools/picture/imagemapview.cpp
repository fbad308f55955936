#include "picture/imagemapview.h"

#include <algorithm>
#include <cmath>

namespace tool {

namespace {

// Pixels kept around the picture when cutting lines: far more than half the widest line,
// so that cut ends and their caps stay out of sight.
constexpr double kClipMarginPx = 2.0 * kMaxLineWidthPx;

void AddPath(cairo_t* cr, const std::vector<CPixel>& pixels) {
  cairo_move_to(cr, pixels[0].x, pixels[0].y);
  for (std::size_t i = 1; i < pixels.size(); ++i) cairo_line_to(cr, pixels[i].x, pixels[i].y);
}

bool IsFinite(const CPixel& at) { return std::isfinite(at.x) && std::isfinite(at.y); }

}  // namespace

CMark MarkOf(Torvane::CDrawCall::Op op, bool hasPoints, int count, int style, int width) {
  const CMark nothing = {CMark::CKind::kNothing, 0.0};
  if (op == Torvane::CDrawCall::kPolygon) {
    return hasPoints && count >= 3 ? CMark{CMark::CKind::kArea, 0.0} : nothing;
  }
  if (!hasPoints || count < 2) return nothing;
  if (style > 0) return {CMark::CKind::kOutline, static_cast<double>(style)};
  if (width > 0 && width <= kMaxLineWidthPx) return {CMark::CKind::kLine, 1.0 * width};
  return nothing;
}

bool PaintedBox(const std::vector<Torvane::CDrawCall>& calls, std::size_t begin, std::size_t end,
                const CWebMercator& projection, CRect& box) {
  bool painted = false;
  for (std::size_t i = begin; i < end && i < calls.size(); ++i) {
    const Torvane::CDrawCall& call = calls[i];
    const CMark mark = MarkOf(call.op, !call.points.empty(), call.count, call.style, call.width);
    if (mark.kind == CMark::CKind::kNothing) continue;
    const double half = mark.widthPx / 2.0;
    for (const tagLonLat& point : call.points) {
      const CPixel at = projection.ToPixel(point);
      if (!IsFinite(at)) continue;
      const CRect around = {at.x - half, at.y - half, at.x + half, at.y + half};
      box = painted ? CRect{std::min(box.left, around.left), std::min(box.top, around.top),
                            std::max(box.right, around.right), std::max(box.bottom, around.bottom)}
                    : around;
      painted = true;
    }
  }
  return painted;
}

void SetSourceColor(cairo_t* cr, unsigned color) {
  cairo_set_source_rgb(cr, (color & 0xFFu) / 255.0, ((color >> 8) & 0xFFu) / 255.0,
                       ((color >> 16) & 0xFFu) / 255.0);
}

CImageMapView::CImageMapView(cairo_t* cr, const CWebMercator& projection)
    : mp_Cairo(cr), m_Projection(projection) {}

CImageMapView::~CImageMapView() = default;

bool CImageMapView::Project(const tagLonLat* points, int count, std::vector<CPixel>& pixels) const {
  pixels.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    CPixel& at = pixels[static_cast<std::size_t>(i)];
    at = m_Projection.ToPixel(points[i]);
    if (!IsFinite(at)) return false;
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

void CImageMapView::Fill(const std::vector<CPixel>& pixels, unsigned color) {
  const std::vector<CPixel> area = ClipPolygon(pixels, ClipBox());
  if (area.size() < 3) return;
  cairo_save(mp_Cairo);
  SetSourceColor(mp_Cairo, color);
  AddPath(mp_Cairo, area);
  cairo_close_path(mp_Cairo);
  cairo_fill(mp_Cairo);
  cairo_restore(mp_Cairo);
}

void CImageMapView::DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                                 int width) {
  const CMark mark = MarkOf(Torvane::CDrawCall::kPolyline, points != nullptr, count, style, width);
  std::vector<CPixel> pixels;
  if (mark.kind == CMark::CKind::kNothing || !Project(points, count, pixels)) return;
  Stroke(pixels, mark.kind == CMark::CKind::kOutline, color, mark.widthPx);
}

void CImageMapView::DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                                int width) {
  const CMark mark = MarkOf(Torvane::CDrawCall::kPolygon, points != nullptr, count, style, width);
  std::vector<CPixel> pixels;
  if (mark.kind == CMark::CKind::kNothing || !Project(points, count, pixels)) return;
  Fill(pixels, color);
}

void CImageMapView::Paint(const Torvane::CDrawCall& call) {
  // A call the library made without an array is painted as one without.
  const tagLonLat* points = call.points.empty() ? nullptr : call.points.data();
  if (call.op == Torvane::CDrawCall::kPolyline) {
    DrawPolyline(points, call.count, call.style, call.color, call.width);
  } else {
    DrawPolygon(points, call.count, call.style, call.color, call.width);
  }
}

}  // namespace tool
