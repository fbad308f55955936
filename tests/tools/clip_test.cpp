// Cutting lines and polygons to a box: what stays inside, and where the cuts fall.
#include "picture/clip.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using tool::CPixel;

const tool::CRect kBox = {0.0, 0.0, 10.0, 10.0};

void ExpectPoints(const std::vector<CPixel>& actual, const std::vector<CPixel>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << i;
    EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << i;
  }
}

TEST(ClipTest, PolylineKeepsThePartsInsideTheBox) {
  const struct {
    const char* what;
    std::vector<CPixel> line;
    std::vector<std::vector<CPixel>> parts;
  } kCases[] = {
      {"inside", {{1, 1}, {5, 5}, {9, 1}}, {{{1, 1}, {5, 5}, {9, 1}}}},
      {"through", {{-10, 5}, {20, 5}}, {{{0, 5}, {10, 5}}}},
      {"out and back in",
       {{5, 5}, {5, 20}, {8, 20}, {8, 5}},
       {{{5, 5}, {5, 10}}, {{8, 10}, {8, 5}}}},
      {"enters and stays", {{-5, 5}, {5, 5}, {5, 8}}, {{{0, 5}, {5, 5}, {5, 8}}}},
      {"outside", {{-5, -5}, {-1, 20}}, {}},
      {"one point", {{5, 5}}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::vector<CPixel>> parts = tool::ClipPolyline(c.line, kBox);
    ASSERT_EQ(parts.size(), c.parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) ExpectPoints(parts[i], c.parts[i]);
  }
}

TEST(ClipTest, PolygonIsCutAlongTheBoxEdges) {
  // A triangle over the right edge keeps its left part, closed along x = 10.
  ExpectPoints(tool::ClipPolygon({{6, 2}, {14, 2}, {6, 6}}, kBox),
               {{6, 2}, {10, 2}, {10, 4}, {6, 6}});
  EXPECT_LT(tool::ClipPolygon({{20, 20}, {30, 20}, {20, 30}}, kBox).size(), 3u);
}

}  // namespace
