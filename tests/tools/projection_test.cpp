// The projection against positions worked out from ground distances, and the scales shown
// for each scale index.
#include "picture/projection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/ladder.h"
#include "mapservice.h"

namespace {

// One thousandth of a degree of a great circle on the Web Mercator sphere, metres:
// 6378137 * pi / 180 / 1000.
constexpr double kMilliDegreeMetres = 111.31949079327357;

TEST(CWebMercatorTest, KnownPointsLandOnKnownPixels) {
  // Near the centre the picture shows ground metres at metresPerPixel: a point d metres east
  // lies d / metresPerPixel pixels right. At latitude 60 a degree of longitude spans half
  // its equatorial length (cos 60 = 0.5), and a degree of latitude the same as anywhere.
  const struct {
    tagLonLat centre;
    double metresPerPixel;
    tagLonLat point;
    double x;
    double y;
  } kCases[] = {
      {{10.0, 0.0}, 1.0, {10.0, 0.0}, 400.0, 300.0},
      {{10.0, 0.0}, 1.0, {10.001, 0.0}, 400.0 + kMilliDegreeMetres, 300.0},
      {{10.0, 0.0},
       2.0,
       {9.999, 0.001},
       400.0 - kMilliDegreeMetres / 2,
       300.0 - kMilliDegreeMetres / 2},
      {{10.0, 60.0}, 1.0, {10.001, 60.0}, 400.0 + kMilliDegreeMetres / 2, 300.0},
      {{10.0, 60.0}, 1.0, {10.0, 59.9999}, 400.0, 300.0 + kMilliDegreeMetres / 10},
      {{-2.27, 53.49}, 0.5, {-2.27, 53.49}, 400.0, 300.0},
  };
  for (const auto& c : kCases) {
    const tool::CWebMercator projection(c.centre, c.metresPerPixel, 800, 600);
    const tool::CPixel pixel = projection.ToPixel(c.point);
    // Tolerance 0.001 pixel: the curvature of the projection over 111 m is far below it.
    EXPECT_NEAR(pixel.x, c.x, 1e-3) << c.point.lon << ", " << c.point.lat;
    EXPECT_NEAR(pixel.y, c.y, 1e-3) << c.point.lon << ", " << c.point.lat;
  }
}

TEST(CScaleLadderTest, ScaleOfEachIndexMapsBackToThatIndex) {
  const tool::CScaleLadder& ladder = tool::CScaleLadder::Default();
  for (int index = 0; index <= ladder.HighestIndex(); ++index) {
    const double scale = ladder.MetresPerPixel(index);
    EXPECT_GT(scale, 0.0);
    EXPECT_EQ(Torvane::ScaleIndexFromLadder(ladder.Bounds(), scale), index);
  }
  EXPECT_LT(ladder.MetresPerPixel(-1), 0.0);
  EXPECT_LT(ladder.MetresPerPixel(ladder.HighestIndex() + 1), 0.0);
}

}  // namespace
