// Expected indices are the true directions (atan2, in quarter degrees) truncated toward the x
// axis; expected sines, cosines and offset points were computed with Python's math module
// and the sphere of the geodesy service (R = 6371008.8 m), not with the code under test.
#include "direction.h"

#include <gtest/gtest.h>

#include <limits>

#include "geodesy.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Tolerances: 1e-9 degrees is about 0.1 mm on the ground.
constexpr double kDegTol = 1e-9;
constexpr double kMetreTol = 1e-6;

struct DirectionCase {
  double x1, y1, x2, y2;
  unsigned short expected;
};

TEST(DirectionTest, GetDirectionIndexTruncatesTowardXAxis) {
  const DirectionCase cases[] = {
      {0, 0, 0, 0, 0},        {0, 0, 0, 5, 360},    {0, 0, 0, -5, 1080},   {0, 0, 5, 0, 0},
      {0, 0, -5, 0, 720},     {0, 0, 1, 1, 180},    {0, 0, -1, 1, 540},    {0, 0, -1, -1, 900},
      {0, 0, 1, -1, 1260},    {0, 0, 3, 1, 73},     {0, 0, 1, 3, 286},     {0, 0, -3, 1, 647},
      {0, 0, -1, -3, 1006},   {10, 20, 13, 21, 73},  // 73.74 and 286.26 truncated; from (10, 20)
      {0, 0, 1, -1e-9, 1440},                        // just below east: not folded to 0
      {0, 0, 1, 999999, 359},                        // below the last row's 1000000
      {0, 0, 1, 1e6, 360},    {0, 0, -1, 1e6, 360}, {0, 0, 1, -1e6, 1080}, {0, 0, -1, -2e6, 1080},
  };
  for (const DirectionCase& c : cases) {
    EXPECT_EQ(GetDirectionIndex(c.x1, c.y1, c.x2, c.y2), c.expected)
        << "(" << c.x1 << ", " << c.y1 << ") -> (" << c.x2 << ", " << c.y2 << ")";
  }
}

// Every infinite component was answered with 0, although the slope rule gives most of them a
// direction: an infinite dy is vertical, an infinite dx with a finite dy horizontal, and two
// infinite components (r = inf / inf, NaN) take the last row, 90 degrees, like r >= 1000000.
TEST(DirectionTest, InfiniteComponentFollowsTheSlopeRule) {
  const DirectionCase cases[] = {
      {0, 0, -kInf, 0, 720},        {0, 0, kInf, 0, 0},       {0, 0, 0, kInf, 360},
      {0, 0, 0, -kInf, 1080},       {0, 0, 1, -kInf, 1080},   {0, 0, -1, kInf, 360},
      {0, 0, kInf, kInf, 360},      {0, 0, -kInf, kInf, 360}, {0, 0, -kInf, -kInf, 1080},
      {0, 0, kInf, -kInf, 1080},    {0, 0, kInf, 1, 0},       {0, 0, -kInf, 1, 720},
      {0, 0, -kInf, -1, 720},       {0, 0, kInf, -1, 1440},   {kInf, 0, 0, 1, 720},
      {-1e308, 0, 1e308, -1, 1440},  // finite ends whose difference overflows to +inf
      {0, -1e308, 1, 1e308, 360},
  };
  for (const DirectionCase& c : cases) {
    EXPECT_EQ(GetDirectionIndex(c.x1, c.y1, c.x2, c.y2), c.expected)
        << "(" << c.x1 << ", " << c.y1 << ") -> (" << c.x2 << ", " << c.y2 << ")";
  }
}

// A NaN component, also inf - inf from two infinite ends, matches no axis and no quadrant.
TEST(DirectionTest, NanComponentGivesZero) {
  const DirectionCase cases[] = {
      {kNaN, 0, 1, 1, 0},          {0, kNaN, 1, 1, 0},    {0, 0, kNaN, 0, 0},
      {0, 0, 0, kNaN, 0},          {kInf, 0, kInf, 1, 0}, {0, -kInf, 1, -kInf, 0},
      {-kInf, 0, -kInf, -kInf, 0},
  };
  for (const DirectionCase& c : cases) {
    EXPECT_EQ(GetDirectionIndex(c.x1, c.y1, c.x2, c.y2), c.expected)
        << "(" << c.x1 << ", " << c.y1 << ") -> (" << c.x2 << ", " << c.y2 << ")";
  }
}

TEST(DirectionTest, SinAndCosAreExactAtQuadrantBoundaries) {
  const struct {
    unsigned short index;
    double sin, cos;
  } cases[] = {
      {0, 0.0, 1.0}, {360, 1.0, 0.0}, {720, 0.0, -1.0}, {1080, -1.0, 0.0}, {1440, 0.0, 1.0}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetIndexSin(c.index), c.sin) << c.index;
    EXPECT_EQ(GetIndexCos(c.index), c.cos) << c.index;
  }
}

TEST(DirectionTest, SinAndCosInEveryQuadrantAndModulo1440) {
  const struct {
    unsigned short index;
    double sin, cos;
  } cases[] = {
      {100, 0.42261826174069944, 0.9063077870366499},      // 25 degrees
      {500, 0.8191520442889917, -0.5735764363510462},      // 125 degrees
      {900, -0.7071067811865475, -0.7071067811865477},     // 225 degrees
      {1300, -0.5735764363510465, 0.8191520442889916},     // 325 degrees
      {65535, -0.06540312923014287, -0.9978589232386035},  // read as 735: 183.75 degrees
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(GetIndexSin(c.index), c.sin, 1e-12) << c.index;
    EXPECT_NEAR(GetIndexCos(c.index), c.cos, 1e-12) << c.index;
  }
}

TEST(DirectionTest, OffsetOfCoincidentPointsGoesEast) {
  const tagLonLat p = {116.4, 39.9};
  const tagLonLat r = GetOffsetPoint(p, p, 250.0);
  EXPECT_NEAR(r.lon, 116.40293066089355, kDegTol);
  EXPECT_EQ(r.lat, p.lat);
  EXPECT_NEAR(SegmentLength(p, r), 250.0, kMetreTol);
}

TEST(DirectionTest, OffsetNorthAndAwayFromTarget) {
  const tagLonLat p = {116.4, 39.9};
  const tagLonLat north = {116.4, 40.5};
  const tagLonLat toward = GetOffsetPoint(p, north, 100.0);
  EXPECT_EQ(toward.lon, p.lon);
  EXPECT_NEAR(toward.lat, 39.90089932036372, kDegTol);
  EXPECT_NEAR(SegmentLength(p, toward), 100.0, kMetreTol);

  const tagLonLat away = GetOffsetPoint(p, north, -100.0);
  EXPECT_EQ(away.lon, p.lon);
  EXPECT_NEAR(away.lat, 39.89910067963628, kDegTol);
}

TEST(DirectionTest, OffsetOfZeroMetresIsTheStartPoint) {
  const tagLonLat p = {116.4, 39.9};
  const tagLonLat r = GetOffsetPoint(p, {117.0, 41.0}, 0.0);
  EXPECT_EQ(r.lon, p.lon);
  EXPECT_EQ(r.lat, p.lat);
}

// At latitude 60 a degree of longitude is half as long as one of latitude: the direction
// must be taken on the ground (30.1 degrees, quantised to 30), not in degrees (16 degrees).
TEST(DirectionTest, OffsetFollowsGroundDirectionAwayFromEquator) {
  const tagLonLat from = {10.0, 60.0};
  const tagLonLat to = {10.015560965804472, 60.00451018818554};  // 1000 m at 30.1 degrees
  const tagLonLat r = GetOffsetPoint(from, to, 500.0);
  EXPECT_NEAR(r.lon, 10.007788342811262, kDegTol);
  EXPECT_NEAR(r.lat, 60.00224830090931, kDegTol);
  // The degrees-per-metre factors are those at `from`; 250 m further north a degree of
  // longitude is shorter, so the step falls about 1.3 cm short of 500 m.
  EXPECT_NEAR(SegmentLength(from, r), 500.0, 0.02);
}

}  // namespace
