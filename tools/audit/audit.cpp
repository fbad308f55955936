// Notation: L is a WCAG 2.x relative luminance, 0 (black) to 1 (white); a ratio "r:1" is
// (L1 + 0.05) / (L2 + 0.05) with L1 >= L2. Widths are pixels; lengths in the row are metres
// and become pixels by dividing by the row's metres per pixel.
#include "audit/audit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tool {

namespace {

// One sRGB channel (0..255) on the linear scale, 0..1.
double Linear(unsigned channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// `pixels` with one decimal.
std::string OneDecimal(double pixels) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", pixels);
  return text;
}

// A finding when a line width reaches the view other than as given in the row (the route's
// as their low 16 bits), or as a width the view does not draw. `value` is the row's, `seen`
// the view's.
void CheckWidth(const std::string& at, const char* field, int value, int seen,
                std::vector<std::string>& findings) {
  const bool drawn = seen >= 1 && seen <= kMaxLineWidthPx;
  if (drawn && seen == value) return;
  std::string what = at + field + " " + std::to_string(value);
  if (seen != value) what += " reaches the view as " + std::to_string(seen) + " (its low 16 bits)";
  findings.push_back(
      what + (drawn ? ": the picture draws a line " + std::to_string(seen) + " px wide"
                    : ": the picture's view draws lines 1 to " + std::to_string(kMaxLineWidthPx) +
                          " px wide, so this one not at all"));
}

}  // namespace

double RelativeLuminance(unsigned color) {
  return 0.2126 * Linear(color & 0xFFu) + 0.7152 * Linear((color >> 8) & 0xFFu) +
         0.0722 * Linear((color >> 16) & 0xFFu);
}

double ContrastRatio(unsigned a, unsigned b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

CRowMeasures MeasureRow(const AdvicePathSizeSetting& row, int scaleIndex, double metresPerPixel,
                        bool arrow) {
  CRowMeasures m;
  m.scaleIndex = scaleIndex;
  m.metresPerPixel = metresPerPixel;
  m.arrow = arrow;
  m.tableRow = scaleIndex;
  m.pathWidth = row.pathWidth;
  m.pathBorderWidth = row.pathBorderWidth;
  m.pathWidthSeen = row.pathWidth & 0xFFFF;
  m.pathBorderWidthSeen = row.pathBorderWidth & 0xFFFF;
  m.arrowWidth = row.arrowWidth;
  m.arrowBorderWidth = row.arrowBorderWidth;
  m.headOutlineWidth = row.arrowHeadBorderParam;
  m.enterPx = row.arrowEnterLength / metresPerPixel;
  m.exitPx = row.arrowExitLength / metresPerPixel;
  m.headLengthPx = row.arrowHeadLength / metresPerPixel;
  m.headWidthPx = 2.0 * row.arrowHeadHalfWidth / metresPerPixel;
  return m;
}

void CheckRow(const CRowMeasures& row, std::vector<std::string>& findings) {
  const std::string at = "scale index " + std::to_string(row.scaleIndex) + ": ";
  CheckWidth(at, "pathWidth", row.pathWidth, row.pathWidthSeen, findings);
  CheckWidth(at, "pathBorderWidth", row.pathBorderWidth, row.pathBorderWidthSeen, findings);
  if (row.arrow) {
    CheckWidth(at, "arrowWidth", row.arrowWidth, row.arrowWidth, findings);
    CheckWidth(at, "arrowBorderWidth", row.arrowBorderWidth, row.arrowBorderWidth, findings);
  }
  if (row.pathBorderWidthSeen <= row.pathWidthSeen) {
    findings.push_back(at + "route border width " + std::to_string(row.pathBorderWidthSeen) +
                       " is not above its width " + std::to_string(row.pathWidthSeen) +
                       ": the route shows no border");
  }
  if (!row.arrow) return;
  if (row.arrowBorderWidth <= row.arrowWidth) {
    findings.push_back(at + "arrow border width " + std::to_string(row.arrowBorderWidth) +
                       " is not above its width " + std::to_string(row.arrowWidth) +
                       ": the arrow shows no border");
  }
  if (row.headWidthPx <= row.arrowBorderWidth) {
    findings.push_back(at + "arrowhead " + OneDecimal(row.headWidthPx) +
                       " px wide is no wider than the arrow's border stroke (" +
                       std::to_string(row.arrowBorderWidth) + " px): it does not read as a head");
  }
  const double headBorder = row.headOutlineWidth / 2.0;
  const double strokeBorder = (row.arrowBorderWidth - row.arrowWidth) / 2.0;
  if (std::fabs(headBorder - strokeBorder) > kMaxBorderMismatchPx) {
    findings.push_back(at + "arrowhead border " + OneDecimal(headBorder) +
                       " px a side (arrowHeadBorderParam " + std::to_string(row.headOutlineWidth) +
                       ") against the strokes' " + OneDecimal(strokeBorder) +
                       " px (arrowBorderWidth - arrowWidth = " +
                       std::to_string(row.arrowBorderWidth - row.arrowWidth) +
                       "): head and strokes do not read as one shape");
  }
}

std::vector<CColorPair> ColorPairs(const AdvicePathClrSetting& colors, unsigned background,
                                   bool arrowBorderHidden, bool routeBorderHidden) {
  const struct {
    const char* first;
    const char* second;
    unsigned a;
    unsigned b;
    bool meets;
  } kPairs[] = {
      {"arrow", "arrow border", colors.arrowColor, colors.arrowBorderColor, true},
      {"arrow border", "route", colors.arrowBorderColor, colors.pathColor, true},
      {"route", "route border", colors.pathColor, colors.pathBorderColor, true},
      {"arrow", "background", colors.arrowColor, background, arrowBorderHidden},
      {"arrow border", "background", colors.arrowBorderColor, background, true},
      {"route", "background", colors.pathColor, background, routeBorderHidden},
      {"route border", "background", colors.pathBorderColor, background, true},
  };
  std::vector<CColorPair> pairs;
  for (const auto& p : kPairs) {
    pairs.push_back({p.first, p.second, p.a, p.b, ContrastRatio(p.a, p.b), p.meets, std::string()});
  }
  return pairs;
}

void CheckColors(const std::vector<CColorPair>& pairs, std::vector<std::string>& findings) {
  for (const CColorPair& pair : pairs) {
    if (!pair.meets || pair.ratio >= kMinContrast) continue;
    char text[160];
    std::snprintf(text, sizeof text, "%s 0x%08X against %s 0x%08X: contrast %.2f:1, below %.0f:1",
                  pair.first.c_str(), pair.firstColor, pair.second.c_str(), pair.secondColor,
                  pair.ratio, kMinContrast);
    findings.push_back(
        (pair.vision.empty() ? "colours: " : "colours as seen with " + pair.vision + ": ") + text);
  }
}

}  // namespace tool
