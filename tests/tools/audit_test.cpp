// The size-table and colour audit: contrast ratios against published WCAG values, and each
// row check tripped by a row built for it, with a clean row tripping none.
#include "audit/audit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Row 1 of the default table, measured at 1 m per pixel: borders of 2 px a side on route and
// arrow, a head outline of 4 (2 px a side), a head 40 px wide.
const AdvicePathSizeSetting kCleanRow = {10, 14, 12, 16, 0, 4, 60, 80, 10, 28, 20};

// kCleanRow with field `member` set to `value`.
AdvicePathSizeSetting With(int AdvicePathSizeSetting::*member, int value,
                           AdvicePathSizeSetting row = kCleanRow) {
  row.*member = value;
  return row;
}

TEST(AuditTest, ContrastRatiosMatchPublishedValues) {
  // Colours are 0x00BBGGRR. References: WCAG 2.x's definition, as published contrast
  // checkers give them (black on white 21:1, #767676 on white 4.54:1, pure red 4.00:1, pure
  // blue 8.59:1).
  const struct {
    unsigned a;
    unsigned b;
    double ratio;
  } kCases[] = {
      {0x00000000u, 0x00FFFFFFu, 21.0}, {0x00767676u, 0x00FFFFFFu, 4.54},
      {0x000000FFu, 0x00FFFFFFu, 4.00}, {0x00FF0000u, 0x00FFFFFFu, 8.59},
      {0x00FFFFFFu, 0x000000FFu, 4.00}, {0x00ABCDEFu, 0x00ABCDEFu, 1.0},
  };
  for (const auto& c : kCases) {
    EXPECT_NEAR(tool::ContrastRatio(c.a, c.b), c.ratio, 0.005) << std::hex << c.a << " " << c.b;
  }
}

TEST(AuditTest, EachRowCheckTripsOnARowBuiltForItAndNoOther) {
  const struct {
    const char* what;
    AdvicePathSizeSetting row;
    bool arrow;
    const char* finding;  // the one expected finding's start; null for none
  } kCases[] = {
      {"clean", kCleanRow, true, nullptr},
      {"route border equal to its width", With(&AdvicePathSizeSetting::pathBorderWidth, 10), true,
       "scale index 1: route border width 10 is not above its width 10"},
      {"arrow border equal to its width (and no head outline)",
       With(&AdvicePathSizeSetting::arrowHeadBorderParam, 0,
            With(&AdvicePathSizeSetting::arrowBorderWidth, 12)),
       true, "scale index 1: arrow border width 12 is not above its width 12"},
      {"head 16 px wide, the border stroke's width",
       With(&AdvicePathSizeSetting::arrowHeadHalfWidth, 8), true,
       "scale index 1: arrowhead 16.0 px wide is no wider than the arrow's border stroke (16 px)"},
      {"head border 5 px a side against 2", With(&AdvicePathSizeSetting::arrowHeadBorderParam, 10),
       true,
       "scale index 1: arrowhead border 5.0 px a side (arrowHeadBorderParam 10) against the "
       "strokes' 2.0 px"},
      {"head border 3 px a side against 2: within a pixel",
       With(&AdvicePathSizeSetting::arrowHeadBorderParam, 6), true, nullptr},
      {"arrow faults beyond the largest turn scale",
       With(&AdvicePathSizeSetting::arrowHeadHalfWidth, 1), false, nullptr},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> findings;
    tool::CheckRow(tool::MeasureRow(c.row, 1, 1.0, c.arrow), findings);
    if (c.finding == nullptr) {
      EXPECT_TRUE(findings.empty()) << c.what << ": " << findings.front();
      continue;
    }
    ASSERT_EQ(findings.size(), 1u) << c.what;
    EXPECT_EQ(findings[0].rfind(c.finding, 0), 0u) << c.what << ": " << findings[0];
  }
}

TEST(AuditTest, MeasuresLengthsInPixelsAtTheRowsScale) {
  const tool::CRowMeasures m = tool::MeasureRow(kCleanRow, 2, 2.0, true);
  EXPECT_DOUBLE_EQ(m.enterPx, 40.0);
  EXPECT_DOUBLE_EQ(m.exitPx, 30.0);
  EXPECT_DOUBLE_EQ(m.headLengthPx, 14.0);
  EXPECT_DOUBLE_EQ(m.headWidthPx, 20.0);
}

TEST(AuditTest, ColourPairsThatMeetBelowThreeToOneAreFindings) {
  const unsigned background = 0x00ECF1F3u;
  // The library's defaults: all pairs that meet read well.
  AdvicePathClrSetting colors;
  std::vector<std::string> findings;
  tool::CheckColors(tool::ColorPairs(colors, background, false, false), findings);
  EXPECT_TRUE(findings.empty()) << findings.front();

  // The white arrow on the light background: no finding while its black border lies
  // between, one where the border does not show.
  tool::CheckColors(tool::ColorPairs(colors, background, true, false), findings);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0],
            "colours: arrow 0x00FFFFFF against background 0x00ECF1F3: contrast 1.13:1, below 3:1");

  // A dark-red arrow border on the red route, and a route border like the route.
  findings.clear();
  colors.arrowBorderColor = 0x000000C0u;
  colors.pathBorderColor = 0x000010E0u;
  tool::CheckColors(tool::ColorPairs(colors, background, false, false), findings);
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].rfind("colours: arrow border 0x000000C0 against route 0x000711F5", 0), 0u)
      << findings[0];
  EXPECT_EQ(findings[1].rfind("colours: route 0x000711F5 against route border 0x000010E0", 0), 0u)
      << findings[1];
}

}  // namespace
