// The audit behind `advicepath check`: what each row of a size table gives on screen at its
// scale, the contrast of the four colours with each other and with the picture's background,
// and the findings, one line each, where a row or a pair of colours will not read well.
//
// The checks and their thresholds (tools/advicepath.md lists them for users):
//   route border   pathBorderWidth > pathWidth, or no border shows on either side;
//   arrow border   arrowBorderWidth > arrowWidth (rows with an arrow);
//   head width     2 x arrowHeadHalfWidth, in pixels, wider than arrowBorderWidth: a head no
//                  wider than the strokes' border does not read as a head;
//   head outline   the head's border (arrowHeadBorderParam / 2 pixels, the outline's outer
//                  half) within kMaxBorderMismatchPx of the strokes' border on each side
//                  ((arrowBorderWidth - arrowWidth) / 2);
//   line widths    each width the view receives (the route's as their low 16 bits) from 1 to
//                  kMaxLineWidthPx: the picture's view draws no line of another width;
//   colours        kMinContrast:1 or more (WCAG 2.x) for each pair of colours that meet in the
//                  picture.
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_AUDIT_AUDIT_H_
#define ADVICEPATH_TOOLS_AUDIT_AUDIT_H_

#include <string>
#include <vector>

#include "input/sizetable.h"
#include "picture/imagemapview.h"

namespace tool {

// The least contrast ratio of two colours that meet: WCAG 2.x's for graphical objects.
constexpr double kMinContrast = 3.0;
// The largest difference, pixels on each side, between the head's border and the strokes'.
constexpr double kMaxBorderMismatchPx = 1.0;
// The scale index the library uses for an index at or past the table's end, and so the row
// it draws with (the table's last row when it has no row 5): AdvicePathRender's fallback.
constexpr int kFallbackScaleIndex = 5;

// What one row of the table gives on screen at the scale it is drawn at.
struct CRowMeasures {
  int scaleIndex = 0;
  int tableRow = 0;             // the row the library draws the index with (the fallback row
                                // past the table's end)
  double metresPerPixel = 0.0;  // the ladder's bound for the index
  bool arrow = false;           // whether the arrow is drawn at this index (<= maxTurnScale)
  int pathWidth = 0;            // pixels, as in the row
  int pathBorderWidth = 0;
  int pathWidthSeen = 0;  // pixels as the view receives them: their low 16 bits
  int pathBorderWidthSeen = 0;
  int arrowWidth = 0;
  int arrowBorderWidth = 0;
  int headOutlineWidth = 0;   // arrowHeadBorderParam, pixels
  double enterPx = 0.0;       // arrowEnterLength: the arrow before the turn node, pixels
  double exitPx = 0.0;        // arrowExitLength: the arrow after the exit guide, pixels
  double headLengthPx = 0.0;  // arrowHeadLength, pixels
  double headWidthPx = 0.0;   // 2 x arrowHeadHalfWidth, pixels
};

// One pair of colours (0x00BBGGRR) and their contrast ratio.
struct CColorPair {
  std::string first;   // "arrow", "arrow border", "route", "route border"
  std::string second;  // the same, or "background"
  unsigned firstColor;
  unsigned secondColor;
  double ratio;        // 1 to 21
  bool meets;          // whether the two touch in the picture, and so whether the pair is checked
  std::string vision;  // "protanopia" and so on when the colours are as seen with it; empty
                       // for normal colour vision
};

// The WCAG 2.x relative luminance of `color` (0x00BBGGRR), 0 (black) to 1 (white): each
// channel scaled to 0..1 and linearised from sRGB (c / 12.92 up to 0.04045, else
// ((c + 0.055) / 1.055)^2.4), then 0.2126 R + 0.7152 G + 0.0722 B.
double RelativeLuminance(unsigned color);

// The WCAG 2.x contrast ratio of two colours, (L1 + 0.05) / (L2 + 0.05) with L1 the lighter:
// 1 (the same) to 21 (black and white).
double ContrastRatio(unsigned a, unsigned b);

// Measures `row` as drawn at scale index `scaleIndex`, shown at `metresPerPixel` (> 0);
// `arrow` says whether the arrow is drawn at that index. tableRow is set to scaleIndex; the
// caller changes it for an index past the table.
CRowMeasures MeasureRow(const AdvicePathSizeSetting& row, int scaleIndex, double metresPerPixel,
                        bool arrow);

// Appends the findings of one measured row, each "scale index S: ...".
void CheckRow(const CRowMeasures& row, std::vector<std::string>& findings);

// The seven pairs: arrow against arrow border, arrow border against route, route against
// route border, and each of the four against `background`. An inner colour meets the
// background only where its border does not show: `arrowBorderHidden` / `routeBorderHidden`
// say whether that happens at some row.
std::vector<CColorPair> ColorPairs(const AdvicePathClrSetting& colors, unsigned background,
                                   bool arrowBorderHidden, bool routeBorderHidden);

// Appends a finding for each pair that meets with a contrast below kMinContrast, "colours:
// ..." or, for a pair as seen with a colour-vision deficiency, "colours as seen with
// protanopia: ...".
void CheckColors(const std::vector<CColorPair>& pairs, std::vector<std::string>& findings);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_AUDIT_AUDIT_H_
