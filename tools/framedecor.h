// What the picture shows besides the renderer's calls: a light background, the route's two
// ends, a scale bar, a caption with the turn's road names, and the data's attribution.
//
// All painting goes to a borrowed Cairo context, whose state is restored after each call.
// Text uses Cairo's built-in font selection ("sans-serif"); on a machine without fonts the
// text is missing but nothing fails. One thread at a time.
#ifndef ADVICEPATH_TOOLS_FRAMEDECOR_H_
#define ADVICEPATH_TOOLS_FRAMEDECOR_H_

#include <cairo.h>

#include <string>

#include "lonlat.h"
#include "projection.h"

namespace tool {

// The caption's lines (empty lines are left out) and the attribution text.
struct CFrameLabels {
  std::string title;        // the turn's roads, "Cockcroft Road -> Crescent"
  std::string subtitle;     // the turn's note
  std::string details;      // turn, guides, distance and scale
  std::string attribution;  // one line per sentence, bottom right
};

// Fills the whole picture (projection.Width() x Height() pixels) with the background.
void PaintBackground(cairo_t* cr, const CWebMercator& projection);

// Marks the route's origin (green) and destination (dark) with small dots.
void PaintEndpoints(cairo_t* cr, const CWebMercator& projection, const tagLonLat& origin,
                    const tagLonLat& dest);

// The scale bar (bottom left), the caption (top left) and the attribution (bottom right).
void PaintLabels(cairo_t* cr, const CWebMercator& projection, const CFrameLabels& labels);

// Releases the font caches that Cairo and fontconfig keep for the whole process once text
// was drawn. Call once at exit, after the last Cairo object is gone: leak checkers report
// the caches otherwise.
void ReleaseFontCaches();

// The scale bar's length in metres: the largest 1, 2 or 5 times a power of ten that spans
// at most `maxPixels` at `metresPerPixel` (> 0).
double ScaleBarMetres(double metresPerPixel, double maxPixels);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAMEDECOR_H_
