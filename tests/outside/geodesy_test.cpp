#include "geodesy.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Reference distances from an independent haversine evaluation (Python, double precision)
// on the same sphere, R = 6371008.8 m.
struct SegmentCase {
  const char* what;
  tagLonLat a;
  tagLonLat b;
  double metres;
};

const SegmentCase kSegments[] = {
    {"one degree on the equator", {0.0, 0.0}, {1.0, 0.0}, 111195.0802335329},
    {"a short street segment", {-2.273517, 53.486534}, {-2.273346, 53.486549}, 11.43604960260708},
    {"two cities", {2.3522, 48.8566}, {-0.1276, 51.5072}, 343530.3399985717},
    {"half the equator", {0.0, 0.0}, {180.0, 0.0}, 20015114.442035925},
    {"across the antimeridian", {-179.5, 10.0}, {179.5, 10.0}, 109505.73519924385},
    {"the same point", {12.5, -33.0}, {12.5, -33.0}, 0.0},
};

TEST(GeodesyTest, SegmentLengthMatchesReferenceDistances) {
  for (const SegmentCase& c : kSegments) {
    SCOPED_TRACE(c.what);
    // 1 micrometre per 100 km of rounding room.
    const double tolerance = 1e-6 + c.metres * 1e-11;
    EXPECT_NEAR(SegmentLength(c.a, c.b), c.metres, tolerance);
    EXPECT_NEAR(SegmentLength(c.a.lon, c.a.lat, c.b.lon, c.b.lat), c.metres, tolerance);
    EXPECT_NEAR(SegmentLength(c.b, c.a), c.metres, tolerance);
  }
}

TEST(GeodesyTest, LineLengthIsTheSumOfSegmentsInOrder) {
  const tagLonLat pts[] = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {2.3522, 48.8566}};
  double sum = 0.0;
  for (int i = 1; i < 4; ++i) sum += SegmentLength(pts[i - 1], pts[i]);
  EXPECT_EQ(LineLength(4, pts), sum);  // the same additions in the same order
  EXPECT_EQ(LineLength(1, pts), 0.0);
  EXPECT_EQ(LineLength(0, pts), 0.0);
  EXPECT_EQ(LineLength(3, nullptr), 0.0);
}

TEST(GeodesyTest, UnitDegreeShrinksLongitudeMetresWithLatitude) {
  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree({0.0, 0.0}, lonPerMeter, latPerMeter);
  EXPECT_NEAR(latPerMeter, 8.993203637245379e-06, 1e-20);
  EXPECT_NEAR(lonPerMeter, 8.993203637245379e-06, 1e-20);
  GetUnitDegree({100.0, 60.0}, lonPerMeter, latPerMeter);
  EXPECT_NEAR(latPerMeter, 8.993203637245379e-06, 1e-20);
  EXPECT_NEAR(lonPerMeter, 1.7986407274490754e-05, 1e-18);  // cos 60 = 1/2
}

TEST(GeodesyTest, RoundingNeverLeavesTheArcSineDomain) {
  // Antipodal points put the haversine at 1, and nearly antipodal ones can round its root
  // above 1 (the last pair does: 1 + 2^-52), where the arc sine has no value: each distance
  // is half the circumference.
  const tagLonLat pairs[][2] = {
      {{0.0, 0.0}, {180.0, 0.0}},
      {{10.0, 45.0}, {-170.0, -45.0}},
      {{-134.15982998191757, -58.612687373213944}, {45.840170078050924, 58.612687454626219}},
  };
  for (const auto& pair : pairs) {
    EXPECT_NEAR(SegmentLength(pair[0], pair[1]), 20015114.442035925, 1e-3) << pair[0].lon;
  }
}

TEST(GeodesyTest, ValidPointsLieStrictlyInsideTheRanges) {
  const double nan = std::nan("");
  const struct {
    tagLonLat pt;
    bool valid;
  } cases[] = {
      {{0.0, 0.0}, true},       {{179.99999999999997, 89.99999999999999}, true},
      {{-180.0, 0.0}, false},   {{180.0, 0.0}, false},
      {{0.0, -90.0}, false},    {{0.0, 90.0}, false},
      {{nan, 0.0}, false},      {{0.0, nan}, false},
      {{-1e308, 1e308}, false}, {{-179.99999999999997, -89.99999999999999}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidLonLat(c.pt), c.valid) << c.pt.lon << ", " << c.pt.lat;
  }
}

TEST(GeodesyTest, CoordinatesThatAreNotNumbersGiveNoDistance) {
  // Fault: the clamp to 1 turned a NaN haversine into half the earth's circumference.
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  EXPECT_TRUE(std::isnan(SegmentLength(nan, 0.0, 1.0, 1.0)));
  EXPECT_TRUE(std::isnan(SegmentLength(0.0, inf, 1.0, 1.0)));
  const tagLonLat pts[] = {{0.0, 0.0}, {nan, 0.0}, {1.0, 0.0}};
  EXPECT_TRUE(std::isnan(LineLength(3, pts)));
}

}  // namespace
