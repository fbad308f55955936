// What the picture shows besides the renderer's calls: a light background, the route's two
// ends, a scale bar, a caption with the turn's road names, and the data's attribution.
//
// All painting goes to a borrowed Cairo context, whose state is restored after each call.
// Text uses Cairo's built-in font selection ("sans-serif"); on a machine without fonts the
// text is missing but nothing fails. One thread at a time.
#ifndef ADVICEPATH_TOOLS_PICTURE_FRAMEDECOR_H_
#define ADVICEPATH_TOOLS_PICTURE_FRAMEDECOR_H_

#include <cairo.h>

#include <string>

#include "lonlat.h"
#include "picture/canvas.h"
#include "picture/projection.h"

namespace tool {

// Fills the whole picture (projection.Width() x Height() pixels) with `color`, 0x00BBGGRR.
void PaintBackground(cairo_t* cr, const CWebMercator& projection, unsigned color);

// Marks the route's origin (green) and destination (dark) with small dots.
void PaintEndpoints(cairo_t* cr, const CWebMercator& projection, const tagLonLat& origin,
                    const tagLonLat& dest);

// The scale bar (bottom left), the caption (top left) and the attribution (bottom right).
void PaintLabels(cairo_t* cr, const CWebMercator& projection, const CFrameLabels& labels);

// The small caption of a sheet's cell in the kCaptionBandPx band above the cell (y from
// -kCaptionBandPx to 0; the cell's clip is lifted for it): the title, then the details and
// the warning (red) in small type, the subtitle and attribution left out; and a hairline
// along the cell's edges.
void PaintCaption(cairo_t* cr, const CWebMercator& projection, const CFrameLabels& labels);

// Red bars inside the cell along the edges where `overflowPx` is above 0 (left, top, right,
// bottom).
void MarkOverflow(cairo_t* cr, const CWebMercator& projection, const CRect& overflowPx);

// Releases the font caches that Cairo and fontconfig keep for the whole process once text
// was drawn. Call once at exit, after the last Cairo object is gone: leak checkers report
// the caches otherwise.
void ReleaseFontCaches();

// The scale bar's length in metres: the largest 1, 2 or 5 times a power of ten that spans
// at most `maxPixels` at `metresPerPixel` (> 0).
double ScaleBarMetres(double metresPerPixel, double maxPixels);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_FRAMEDECOR_H_
