#include "picture/cairocanvas.h"

#include <cairo-svg.h>

#include "picture/fastpng.h"
#include "picture/framedecor.h"

namespace tool {

std::unique_ptr<CCanvas> CCairoCanvas::Open(CKind kind, COutputFile& file, int widthPx,
                                            int heightPx, std::string& error) {
  std::unique_ptr<CCairoCanvas> canvas(new CCairoCanvas(kind, &file, nullptr, widthPx, heightPx));
  if (!canvas->Check(cairo_status(canvas->mp_Cairo), "cannot draw", error)) return nullptr;
  return canvas;
}

std::unique_ptr<CCanvas> CCairoCanvas::OpenInMemory(int widthPx, int heightPx, std::string& png,
                                                    std::string& error) {
  std::unique_ptr<CCairoCanvas> canvas(
      new CCairoCanvas(CKind::kMemoryPng, nullptr, &png, widthPx, heightPx));
  if (!canvas->Check(cairo_status(canvas->mp_Cairo), "cannot draw", error)) return nullptr;
  return canvas;
}

CCairoCanvas::CCairoCanvas(CKind kind, COutputFile* file, std::string* png, int widthPx,
                           int heightPx)
    : m_Kind(kind), mp_Output(file), mp_Png(png), m_Width(widthPx), m_Height(heightPx) {
  if (kind != CKind::kSvg) {
    mp_Surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx);
  } else {
    mp_Surface = cairo_svg_surface_create(file->TempPath().c_str(), widthPx, heightPx);
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

bool CCairoCanvas::Check(cairo_status_t status, const char* what, std::string& error) const {
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = (mp_Output != nullptr ? mp_Output->Path() + ": " : std::string()) + what + ": " +
          cairo_status_to_string(status);
  return false;
}

bool CCairoCanvas::Finish(std::string& error) {
  EndFrame();
  cairo_status_t status = cairo_status(mp_Cairo);
  if (status == CAIRO_STATUS_SUCCESS && m_Kind == CKind::kPng) {
    status = cairo_surface_write_to_png(mp_Surface, mp_Output->TempPath().c_str());
  } else if (status == CAIRO_STATUS_SUCCESS && m_Kind == CKind::kSvg) {
    cairo_surface_finish(mp_Surface);
    status = cairo_surface_status(mp_Surface);
  } else if (status == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(mp_Surface);
    if (!EncodeFastPng(cairo_image_surface_get_data(mp_Surface), m_Width, m_Height,
                       cairo_image_surface_get_stride(mp_Surface), *mp_Png)) {
      status = CAIRO_STATUS_NO_MEMORY;
    }
  }
  return Check(status, "cannot write", error);
}

}  // namespace tool
