// The SVG canvas: Cairo's SVG surface streaming into the temporary file; finishing the
// surface on commit writes the rest of the document and closes the file.
#include <cairo-svg.h>

#include "picture/cairocanvas.h"

namespace tool {

namespace {

class CSvgCanvas : public CCairoCanvas {
 public:
  CSvgCanvas(const std::string& path, int widthPx, int heightPx)
      : CCairoCanvas(path, widthPx, heightPx) {}

  bool Open(std::string& error) {
    return OpenOutput(error) &&
           Start(cairo_svg_surface_create(Output().TempPath().c_str(), Width(), Height()), error);
  }

  bool Commit(std::string& error) override {
    EndFrame();
    cairo_status_t status = Status();
    if (status == CAIRO_STATUS_SUCCESS) {
      cairo_surface_finish(Surface());
      status = cairo_surface_status(Surface());
    }
    if (status != CAIRO_STATUS_SUCCESS) {
      error = CannotWrite(status);
      return false;
    }
    return Output().Commit(error);
  }
};

}  // namespace

std::unique_ptr<CCanvas> OpenSvgCanvas(const std::string& path, int widthPx, int heightPx,
                                       std::string& error) {
  auto canvas = std::make_unique<CSvgCanvas>(path, widthPx, heightPx);
  if (!canvas->Open(error)) return nullptr;
  return canvas;
}

}  // namespace tool
