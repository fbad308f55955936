#include "picture/cairocanvas.h"

#include "picture/framedecor.h"

namespace tool {

CCairoCanvas::CCairoCanvas(const std::string& path, int widthPx, int heightPx)
    : m_Path(path), mp_Surface(nullptr), m_Width(widthPx), m_Height(heightPx), mp_Cairo(nullptr) {}

CCairoCanvas::~CCairoCanvas() {
  mp_View.reset();
  if (mp_Cairo != nullptr) cairo_destroy(mp_Cairo);
  if (mp_Surface != nullptr) cairo_surface_destroy(mp_Surface);
}

bool CCairoCanvas::OpenOutput(std::string& error) { return m_Output.Open(m_Path, error); }

bool CCairoCanvas::Start(cairo_surface_t* surface, std::string& error) {
  mp_Surface = surface;
  mp_Cairo = cairo_create(mp_Surface);
  if (cairo_status(mp_Cairo) != CAIRO_STATUS_SUCCESS) {
    error = m_Path + ": cannot draw: " + cairo_status_to_string(cairo_status(mp_Cairo));
    return false;
  }
  return true;
}

std::string CCairoCanvas::CannotWrite(cairo_status_t status) const {
  return m_Path + ": cannot write: " + cairo_status_to_string(status);
}

Torvane::CMapService& CCairoCanvas::BeginFrame(const CCell& cell, const CWebMercator& projection) {
  if (m_Projection) EndFrame();
  cairo_save(mp_Cairo);
  cairo_translate(mp_Cairo, cell.left, cell.top);
  cairo_rectangle(mp_Cairo, 0, 0, cell.width, cell.height);
  cairo_clip(mp_Cairo);
  m_Projection = projection;
  PaintBackground(mp_Cairo, *m_Projection);
  mp_View = std::make_unique<CImageMapView>(mp_Cairo, *m_Projection,
                                            Torvane::CDisplayListMapView::DefaultLadder());
  return *mp_View;
}

void CCairoCanvas::PaintEndpoints(const tagLonLat& origin, const tagLonLat& dest) {
  if (m_Projection) tool::PaintEndpoints(mp_Cairo, *m_Projection, origin, dest);
}

void CCairoCanvas::PaintLabels(const CFrameLabels& labels) {
  if (m_Projection) tool::PaintLabels(mp_Cairo, *m_Projection, labels);
}

void CCairoCanvas::PaintCaption(const CFrameLabels& labels) {
  if (m_Projection) tool::PaintCaption(mp_Cairo, *m_Projection, labels);
}

void CCairoCanvas::EndFrame() {
  if (!m_Projection) return;
  mp_View.reset();
  m_Projection.reset();
  cairo_restore(mp_Cairo);
}

}  // namespace tool
