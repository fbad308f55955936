// CCairoCanvas: the canvas drawn with Cairo, and the two pictures made with it, PNG and SVG.
// The canvas paints the renderer's calls through a CImageMapView and the decorations of
// framedecor.h; each frame is clipped to its cell. The subclasses make the surface and write
// it out through a COutputFile (temporary name beside the destination, renamed on commit).
//
// Only canvas.cpp and tests see this header: commands use CCanvas. One thread at a time.
#ifndef ADVICEPATH_TOOLS_PICTURE_CAIROCANVAS_H_
#define ADVICEPATH_TOOLS_PICTURE_CAIROCANVAS_H_

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>

#include "output/outputfile.h"
#include "picture/canvas.h"
#include "picture/imagemapview.h"

namespace tool {

class CCairoCanvas : public CCanvas {
 public:
  CCairoCanvas(const CCairoCanvas&) = delete;
  CCairoCanvas& operator=(const CCairoCanvas&) = delete;
  // Releases the Cairo objects; an uncommitted picture leaves no file behind.
  ~CCairoCanvas() override;

  int Width() const override { return m_Width; }
  int Height() const override { return m_Height; }
  Torvane::CMapService& BeginFrame(const CCell& cell, const CWebMercator& projection) override;
  void PaintEndpoints(const tagLonLat& origin, const tagLonLat& dest) override;
  void PaintLabels(const CFrameLabels& labels) override;
  void PaintCaption(const CFrameLabels& labels) override;
  void EndFrame() override;

 protected:
  CCairoCanvas(const std::string& path, int widthPx, int heightPx);
  // Opens the temporary file beside the destination. False with "<path>: cannot write: ...".
  bool OpenOutput(std::string& error);
  // Takes `surface` (Owned from here on, even on failure) and makes the drawing context on it.
  // False with "<path>: cannot draw: <Cairo's reason>".
  bool Start(cairo_surface_t* surface, std::string& error);
  // The context's status, as Commit's first test.
  cairo_status_t Status() const { return cairo_status(mp_Cairo); }
  // A failure to write, as a message naming the destination.
  std::string CannotWrite(cairo_status_t status) const;
  // The temporary file the surface is written to.
  COutputFile& Output() { return m_Output; }
  // The picture's surface (Borrowed from the canvas); null before Start.
  cairo_surface_t* Surface() const { return mp_Surface; }

 private:
  std::string m_Path;                        // destination
  COutputFile m_Output;                      // the temporary file the surface is written to
  cairo_surface_t* mp_Surface;               // Owned: the picture's surface; null before Start
  int m_Width;                               // pixels
  int m_Height;                              // pixels
  cairo_t* mp_Cairo;                         // Owned: the context on mp_Surface
  std::optional<CWebMercator> m_Projection;  // the current frame's; empty between frames
  std::unique_ptr<CImageMapView> mp_View;    // Owned: the current frame's view
};

// The canvases behind OpenCanvas, by format; the same results.
std::unique_ptr<CCanvas> OpenPngCanvas(const std::string& path, int widthPx, int heightPx,
                                       std::string& error);
std::unique_ptr<CCanvas> OpenSvgCanvas(const std::string& path, int widthPx, int heightPx,
                                       std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_CAIROCANVAS_H_
