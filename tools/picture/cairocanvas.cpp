#include "picture/cairocanvas.h"

#include <cairo-svg.h>

#include "picture/framedecor.h"

namespace tool {

std::unique_ptr<CCanvas> CCairoCanvas::Open(CKind kind, COutputFile& file, int widthPx,
                                            int heightPx, std::string& error) {
  std::unique_ptr<CCairoCanvas> canvas(new CCairoCanvas(kind, file, widthPx, heightPx));
  const cairo_status_t status = cairo_status(canvas->mp_Cairo);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = file.Path() + ": cannot draw: " + cairo_status_to_string(status);
    return nullptr;
  }
  return canvas;
}

CCairoCanvas::CCairoCanvas(CKind kind, COutputFile& file, int widthPx, int heightPx)
    : m_Kind(kind), m_Output(file), m_Width(widthPx), m_Height(heightPx) {
  if (kind == CKind::kPng) {
    mp_Surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx);
  } else {
    mp_Surface = cairo_svg_surface_create(file.TempPath().c_str(), widthPx, heightPx);
    // The document states its size in pixels (Cairo's default unit is the point), so that it
    // shows at the size asked for.
    cairo_svg_surface_set_document_unit(mp_Surface, CAIRO_SVG_UNIT_PX);
  }
  // Cairo gives a context in an error state, never null, when the surface failed.
  mp_Cairo = cairo_create(mp_Surface);
}

CCairoCanvas::~CCairoCanvas() {
  cairo_destroy(mp_Cairo);
  cairo_surface_destroy(mp_Surface);
}

void CCairoCanvas::BeginFrame(const CCell& cell, const CWebMercator& projection,
                              const std::vector<Torvane::CDrawCall>& calls, const tagLonLat& origin,
                              const tagLonLat& dest, unsigned background) {
  if (m_Projection) EndFrame();
  cairo_save(mp_Cairo);
  cairo_translate(mp_Cairo, cell.left, cell.top);
  cairo_rectangle(mp_Cairo, 0, 0, cell.width, cell.height);
  cairo_clip(mp_Cairo);
  m_Projection = projection;
  PaintBackground(mp_Cairo, projection, background);
  CImageMapView view(mp_Cairo, projection);
  for (const Torvane::CDrawCall& call : calls) view.Paint(call);
  PaintEndpoints(mp_Cairo, projection, origin, dest);
}

void CCairoCanvas::PaintLabels(const CFrameLabels& labels) {
  if (m_Projection) tool::PaintLabels(mp_Cairo, *m_Projection, labels);
}

void CCairoCanvas::PaintCaption(const CFrameLabels& labels) {
  if (m_Projection) tool::PaintCaption(mp_Cairo, *m_Projection, labels);
}

void CCairoCanvas::MarkOverflow(const CRect& overflowPx) {
  if (m_Projection) tool::MarkOverflow(mp_Cairo, *m_Projection, overflowPx);
}

void CCairoCanvas::EndFrame() {
  if (!m_Projection) return;
  m_Projection.reset();
  cairo_restore(mp_Cairo);
}

bool CCairoCanvas::Finish(std::string& error) {
  EndFrame();
  cairo_status_t status = cairo_status(mp_Cairo);
  if (status == CAIRO_STATUS_SUCCESS && m_Kind == CKind::kPng) {
    status = cairo_surface_write_to_png(mp_Surface, m_Output.TempPath().c_str());
  } else if (status == CAIRO_STATUS_SUCCESS) {
    cairo_surface_finish(mp_Surface);
    status = cairo_surface_status(mp_Surface);
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    error = m_Output.Path() + ": cannot write: " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

}  // namespace tool
