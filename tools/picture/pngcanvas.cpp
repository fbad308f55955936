// The PNG canvas: Cairo's image surface, written as PNG on commit.
#include "picture/cairocanvas.h"

namespace tool {

namespace {

class CPngCanvas : public CCairoCanvas {
 public:
  CPngCanvas(const std::string& path, int widthPx, int heightPx)
      : CCairoCanvas(path, widthPx, heightPx) {}

  bool Open(std::string& error) {
    return OpenOutput(error) &&
           Start(cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width(), Height()), error);
  }

  bool Commit(std::string& error) override {
    EndFrame();
    cairo_status_t status = Status();
    if (status == CAIRO_STATUS_SUCCESS) {
      status = cairo_surface_write_to_png(Surface(), Output().TempPath().c_str());
    }
    if (status != CAIRO_STATUS_SUCCESS) {
      error = CannotWrite(status);
      return false;
    }
    return Output().Commit(error);
  }
};

}  // namespace

std::unique_ptr<CCanvas> OpenPngCanvas(const std::string& path, int widthPx, int heightPx,
                                       std::string& error) {
  auto canvas = std::make_unique<CPngCanvas>(path, widthPx, heightPx);
  if (!canvas->Open(error)) return nullptr;
  return canvas;
}

}  // namespace tool
