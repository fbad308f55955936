#include "picture/framedecor.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "geodesy.h"
#include "picture/imagemapview.h"

namespace tool {

namespace {

// Colours as red, green, blue in 0..1.
struct CRgb {
  double r, g, b;
};
constexpr CRgb kInk = {0.13, 0.13, 0.13};
constexpr CRgb kSoftInk = {0.35, 0.35, 0.35};
constexpr CRgb kOriginGreen = {0.18, 0.62, 0.27};
constexpr CRgb kWarningRed = {0.82, 0.10, 0.10};

constexpr double kMarginPx = 12.0;
constexpr double kPaddingPx = 8.0;
constexpr double kScaleBarMaxPx = 120.0;
constexpr double kCaptionPaddingPx = 4.0;
constexpr double kOverflowBarPx = 4.0;

void SetRgb(cairo_t* cr, const CRgb& c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

// One line of text with its size and weight.
struct CTextLine {
  std::string text;
  double sizePx;
  bool bold;
  CRgb color;
};

void SelectFont(cairo_t* cr, const CTextLine& line, double shrink) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                         line.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, line.sizePx * shrink);
}

double TextWidth(cairo_t* cr, const CTextLine& line, double shrink) {
  SelectFont(cr, line, shrink);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, line.text.c_str(), &extents);
  return extents.x_advance;
}

void RoundedBox(cairo_t* cr, double x, double y, double w, double h, double radius) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -kPi / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, kPi / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, kPi / 2, kPi);
  cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

// Where a text box sits: its top-left corner or its bottom-right corner at the given point.
enum class CAnchor { kTopLeft, kBottomRight };

// Paints `lines` in a translucent box anchored at (x, y), shrinking the text evenly when it
// would be wider than `maxWidthPx`. Lines with empty text are skipped.
void PaintTextBox(cairo_t* cr, std::vector<CTextLine> lines, double x, double y, CAnchor anchor,
                  double maxWidthPx, double boxAlpha) {
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const CTextLine& line) { return line.text.empty(); }),
              lines.end());
  if (lines.empty()) return;
  double widest = 0.0;
  for (const CTextLine& line : lines) widest = std::max(widest, TextWidth(cr, line, 1.0));
  const double room = maxWidthPx - 2 * kPaddingPx;
  const double shrink = widest > room && widest > 0.0 ? std::max(room, 1.0) / widest : 1.0;
  // Each line takes its size plus 35 % leading; the last line's leading is not boxed.
  double textHeight = -0.35 * lines.back().sizePx * shrink;
  for (const CTextLine& line : lines) textHeight += 1.35 * line.sizePx * shrink;
  const double boxWidth = widest * shrink + 2 * kPaddingPx;
  const double boxHeight = textHeight + 2 * kPaddingPx;
  const double left = anchor == CAnchor::kTopLeft ? x : x - boxWidth;
  const double top = anchor == CAnchor::kTopLeft ? y : y - boxHeight;
  RoundedBox(cr, left, top, boxWidth, boxHeight, 5.0);
  cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, boxAlpha);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.12);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  double baseline = top + kPaddingPx;
  for (const CTextLine& line : lines) {
    baseline += line.sizePx * shrink;
    const double width = TextWidth(cr, line, shrink);
    cairo_move_to(cr, anchor == CAnchor::kTopLeft ? left + kPaddingPx : x - kPaddingPx - width,
                  baseline);
    SetRgb(cr, line.color);
    cairo_show_text(cr, line.text.c_str());
    baseline += 0.35 * line.sizePx * shrink;
  }
}

// The sentences of `text` (split after ". "), each a line of its own.
std::vector<std::string> Sentences(const std::string& text) {
  std::vector<std::string> sentences;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find(". ", start);
    const std::size_t end = stop == std::string::npos ? text.size() : stop + 1;
    sentences.push_back(text.substr(start, end - start));
    start = stop == std::string::npos ? text.size() : stop + 2;
  }
  return sentences;
}

void PaintScaleBar(cairo_t* cr, const CWebMercator& projection) {
  const double metres = ScaleBarMetres(projection.MetresPerPixel(), kScaleBarMaxPx);
  const double length = metres / projection.MetresPerPixel();
  const double x = kMarginPx + 4.0;
  const double y = projection.Height() - kMarginPx - 4.0;
  char label[32];
  if (metres >= 1000.0) {
    std::snprintf(label, sizeof label, "%g km", metres / 1000.0);
  } else {
    std::snprintf(label, sizeof label, "%g m", metres);
  }
  // The bar with end ticks, first as a wide white halo, then in ink.
  for (int pass = 0; pass < 2; ++pass) {
    cairo_move_to(cr, x, y - 6.0);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x + length, y);
    cairo_line_to(cr, x + length, y - 6.0);
    cairo_set_line_width(cr, pass == 0 ? 5.0 : 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (pass == 0) {
      cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.85);
    } else {
      SetRgb(cr, kInk);
    }
    cairo_stroke(cr);
  }
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11.0);
  cairo_move_to(cr, x + 4.0, y - 5.0);
  SetRgb(cr, kInk);
  cairo_show_text(cr, label);
}

}  // namespace

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

double ScaleBarMetres(double metresPerPixel, double maxPixels) {
  const double limit = metresPerPixel * maxPixels;
  double decade = std::pow(10.0, std::floor(std::log10(limit)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * decade <= limit) return step * decade;
  }
  return decade;
}

void PaintBackground(cairo_t* cr, const CWebMercator& projection, unsigned color) {
  cairo_save(cr);
  SetSourceColor(cr, color);
  cairo_rectangle(cr, 0, 0, projection.Width(), projection.Height());
  cairo_fill(cr);
  cairo_restore(cr);
}

void PaintEndpoints(cairo_t* cr, const CWebMercator& projection, const tagLonLat& origin,
                    const tagLonLat& dest) {
  cairo_save(cr);
  const struct {
    tagLonLat point;
    CRgb fill;
  } ends[] = {{origin, kOriginGreen}, {dest, kInk}};
  for (const auto& end : ends) {
    const CPixel at = projection.ToPixel(end.point);
    if (!(at.x > -10 && at.x < projection.Width() + 10 && at.y > -10 &&
          at.y < projection.Height() + 10)) {
      continue;
    }
    cairo_arc(cr, at.x, at.y, 5.5, 0, 2 * kPi);
    SetRgb(cr, end.fill);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void PaintLabels(cairo_t* cr, const CWebMercator& projection, const CFrameLabels& labels) {
  cairo_save(cr);
  PaintScaleBar(cr, projection);
  const double width = projection.Width();
  PaintTextBox(cr,
               {{labels.title, 15.0, true, kInk},
                {labels.subtitle, 12.0, false, kSoftInk},
                {labels.details, 10.5, false, kSoftInk}},
               kMarginPx, kMarginPx, CAnchor::kTopLeft, width - 2 * kMarginPx, 0.9);
  std::vector<CTextLine> attribution;
  for (const std::string& sentence : Sentences(labels.attribution)) {
    attribution.push_back({sentence, 9.0, false, kSoftInk});
  }
  PaintTextBox(cr, attribution, width - kMarginPx / 2, projection.Height() - kMarginPx / 2,
               CAnchor::kBottomRight, width * 0.62, 0.75);
  cairo_restore(cr);
}

void PaintCaption(cairo_t* cr, const CWebMercator& projection, const CFrameLabels& labels) {
  const double width = projection.Width();
  cairo_save(cr);
  // A hairline along the cell's edges, half of it inside: neighbouring cells share a line.
  cairo_rectangle(cr, 0, 0, width, projection.Height());
  SetRgb(cr, kSoftInk, 0.5);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // The band above the cell: the cell's clip is lifted and the band's put in its place.
  cairo_reset_clip(cr);
  cairo_rectangle(cr, 0, -kCaptionBandPx, width, kCaptionBandPx);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.98, 0.98, 0.98);
  cairo_paint(cr);
  const double room = std::max(width - 2 * kCaptionPaddingPx, 1.0);
  // The title on the first line, shrunk evenly when it is wider than the band.
  const CTextLine title = {labels.title, 10.0, true, kInk};
  const double titleWidth = TextWidth(cr, title, 1.0);
  const double titleShrink = titleWidth > room ? room / titleWidth : 1.0;
  SelectFont(cr, title, titleShrink);
  cairo_move_to(cr, kCaptionPaddingPx, -kCaptionBandPx + 12.0);
  SetRgb(cr, kInk);
  cairo_show_text(cr, title.text.c_str());
  // The details and the warning after them on the second line, shrunk together.
  const CTextLine details = {labels.details, 8.5, false, kSoftInk};
  const CTextLine warning = {labels.warning.empty() ? "" : "  " + labels.warning, 8.5, true,
                             kWarningRed};
  const double lineWidth = TextWidth(cr, details, 1.0) + TextWidth(cr, warning, 1.0);
  const double shrink = lineWidth > room ? room / lineWidth : 1.0;
  SelectFont(cr, details, shrink);
  cairo_move_to(cr, kCaptionPaddingPx, -5.0);
  SetRgb(cr, kSoftInk);
  cairo_show_text(cr, details.text.c_str());
  SelectFont(cr, warning, shrink);
  SetRgb(cr, kWarningRed);
  cairo_show_text(cr, warning.text.c_str());
  cairo_restore(cr);
}

void MarkOverflow(cairo_t* cr, const CWebMercator& projection, const CRect& overflowPx) {
  const double w = projection.Width();
  const double h = projection.Height();
  const struct {
    double overflow;
    double x, y, width, height;
  } kEdges[] = {
      {overflowPx.left, 0, 0, kOverflowBarPx, h},
      {overflowPx.top, 0, 0, w, kOverflowBarPx},
      {overflowPx.right, w - kOverflowBarPx, 0, kOverflowBarPx, h},
      {overflowPx.bottom, 0, h - kOverflowBarPx, w, kOverflowBarPx},
  };
  cairo_save(cr);
  SetRgb(cr, kWarningRed, 0.85);
  for (const auto& edge : kEdges) {
    if (edge.overflow > 0.0) cairo_rectangle(cr, edge.x, edge.y, edge.width, edge.height);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace tool
