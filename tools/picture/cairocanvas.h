// CCairoCanvas: the canvas drawn with Cairo, as a PNG image or an SVG document. It paints the
// renderer's calls with a CImageMapView and the decorations of framedecor.h; each frame is
// clipped to its cell. Finish writes the picture into the output file's temporary file, which
// the command commits, or, for a picture kept in memory, encodes it as a fast PNG
// (fastpng.h) into a string.
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
  enum class CKind {
    kPng,        // an image surface, written as PNG when finished
    kSvg,        // an SVG surface streaming into the file; finishing writes the rest and closes it
    kMemoryPng,  // an image surface, encoded as a fast PNG into a string when finished
  };

  // A picture of `kind` written into `file` (borrowed, already open: must outlive the canvas).
  // Null with "<path>: cannot draw: <Cairo's reason>" when Cairo cannot make it.
  static std::unique_ptr<CCanvas> Open(CKind kind, COutputFile& file, int widthPx, int heightPx,
                                       std::string& error);
  // A kMemoryPng picture whose PNG Finish appends to `png` (borrowed: must outlive the
  // canvas). Null with "cannot draw: <Cairo's reason>" when Cairo cannot make it.
  static std::unique_ptr<CCanvas> OpenInMemory(int widthPx, int heightPx, std::string& png,
                                               std::string& error);

  CCairoCanvas(const CCairoCanvas&) = delete;
  CCairoCanvas& operator=(const CCairoCanvas&) = delete;
  // Releases the Cairo objects.
  ~CCairoCanvas() override;

  int Width() const override { return m_Width; }
  int Height() const override { return m_Height; }
  void BeginFrame(const CCell& cell, const CWebMercator& projection,
                  const std::vector<Torvane::CDrawCall>& calls, const tagLonLat& origin,
                  const tagLonLat& dest, unsigned background) override;
  void PaintLabels(const CFrameLabels& labels) override;
  void PaintCaption(const CFrameLabels& labels) override;
  void MarkOverflow(const CRect& overflowPx) override;
  void EndFrame() override;
  bool Finish(std::string& error) override;

 private:
  CCairoCanvas(CKind kind, COutputFile* file, std::string* png, int widthPx, int heightPx);
  // The context's status as an error naming the destination; false when it is not success.
  bool Check(cairo_status_t status, const char* what, std::string& error) const;

  CKind m_Kind;
  COutputFile* mp_Output;                    // Borrowed: the file written to; null in memory
  std::string* mp_Png;                       // Borrowed: the string a kMemoryPng goes into
  int m_Width;                               // pixels
  int m_Height;                              // pixels
  cairo_surface_t* mp_Surface;               // Owned: the picture's surface
  cairo_t* mp_Cairo;                         // Owned: the context on mp_Surface
  std::optional<CWebMercator> m_Projection;  // the current frame's; empty between frames
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_CAIROCANVAS_H_
