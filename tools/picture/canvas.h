// CCanvas: a picture the program draws frames into, and the one place where a file name's
// extension chooses how the picture is made (Cairo PNG or Cairo SVG, behind this interface),
// or where a picture kept in memory is made (a PNG encoded for speed, for the studio).
//
// A canvas holds one or more frames, each in a rectangle of the picture (a cell), each with
// its own projection; the commands paint a frame by replaying the calls the renderer library
// made for it, then add decorations, then finish the picture into its output file, which the
// command commits with its other outputs (output/outputfile.h). One thread at a time.
#ifndef ADVICEPATH_TOOLS_PICTURE_CANVAS_H_
#define ADVICEPATH_TOOLS_PICTURE_CANVAS_H_

#include <memory>
#include <string>
#include <vector>

#include "lonlat.h"
#include "mapservice.h"
#include "output/outputfile.h"
#include "picture/clip.h"
#include "picture/projection.h"

namespace tool {

// The height of the caption band above each frame of a sheet, pixels: two lines of small
// type, outside the frame, so that no caption ever covers the arrow.
constexpr int kCaptionBandPx = 30;

// A rectangle of the picture, in whole pixels from its top-left corner.
struct CCell {
  int left;
  int top;
  int width;
  int height;
};

// The text a frame carries: the caption's lines (empty ones are left out) and the
// attribution.
struct CFrameLabels {
  std::string title;        // the turn's roads, "Cockcroft Road -> Crescent"
  std::string subtitle;     // the turn's note
  std::string details;      // turn, guides, distance and scale
  std::string attribution;  // one line per sentence, bottom right
  std::string warning;      // a sheet cell's warning, in red after the details
};

class CCanvas {
 public:
  virtual ~CCanvas();

  // The picture's size in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Starts a frame in `cell` (inside the picture): paints its background (`background`,
  // 0x00BBGGRR), the renderer's
  // map-view calls in order (picture/imagemapview.h says what each becomes) and the route's
  // origin and destination (degrees). `projection` maps to the cell's own pixels: (0, 0) is
  // the cell's top-left corner and its size is the cell's. Nothing the frame paints leaves
  // the cell.
  virtual void BeginFrame(const CCell& cell, const CWebMercator& projection,
                          const std::vector<Torvane::CDrawCall>& calls, const tagLonLat& origin,
                          const tagLonLat& dest, unsigned background) = 0;
  // The full decorations of a picture of one frame: scale bar, caption and attribution.
  virtual void PaintLabels(const CFrameLabels& labels) = 0;
  // The small caption of a sheet's cell, in the kCaptionBandPx band right above the current
  // frame's cell (which must lie inside the picture), outside the frame: the title, then the
  // details and the warning in small type; and a hairline along the cell's edges.
  virtual void PaintCaption(const CFrameLabels& labels) = 0;
  // Marks, with a red bar inside the current frame along each edge, the sides that the arrow
  // runs out of: those where `overflowPx` (pixels past left, top, right, bottom) is above 0.
  virtual void MarkOverflow(const CRect& overflowPx) = 0;
  // Ends the current frame; painting outside any cell is possible again.
  virtual void EndFrame() = 0;

  // Writes the picture into its output file's temporary file; the command commits it. False
  // with a message naming the destination.
  virtual bool Finish(std::string& error) = 0;
};

// Opens `file` for `path` (output/outputfile.h) and the canvas for a picture of widthPx x
// heightPx pixels written into it, chosen by the extension of `path`: ".png" or ".svg" in any
// case. `file` is borrowed: it must outlive the canvas. Null with "<path>: <problem>" for
// another extension (no file is made then), an unwritable directory, or a picture Cairo
// cannot make.
std::unique_ptr<CCanvas> OpenCanvas(COutputFile& file, const std::string& path, int widthPx,
                                    int heightPx, std::string& error);

// Opens a canvas for a picture of widthPx x heightPx pixels kept in memory: Finish appends it
// to `png` (borrowed: must outlive the canvas) as a PNG encoded for speed (fastpng.h). Null
// with "cannot draw: <problem>" when the picture cannot be made.
std::unique_ptr<CCanvas> OpenMemoryCanvas(int widthPx, int heightPx, std::string& png,
                                          std::string& error);

// The extension by which OpenCanvas would choose for `path`, lower case (".png", ".svg"); empty
// when it would refuse the name.
std::string CanvasExtension(const std::string& path);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_CANVAS_H_
