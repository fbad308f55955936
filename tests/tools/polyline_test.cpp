// Encoded polylines: the published reference line, and each kind of text the decoder refuses.
// The round trip over arbitrary text is fuzz_polyline's.
#include "input/polyline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tool::CPolylineScale;

// The example of Google's "Encoded Polyline Algorithm Format" page: (38.5, -120.2),
// (40.7, -120.95), (43.252, -126.453), latitude first, precision 5.
const char kReference[] = "_p~iF~ps|U_ulLnnqC_mqNvxq`@";

TEST(CPolylineTest, ReferenceLineDecodesToItsPointsAndEncodesBack) {
  std::vector<tagLonLat> points;
  std::vector<double> heights;
  std::string error;
  ASSERT_TRUE(tool::DecodePolyline(kReference, CPolylineScale(), points, heights, error)) << error;
  const tagLonLat expected[] = {{-120.2, 38.5}, {-120.95, 40.7}, {-126.453, 43.252}};
  ASSERT_EQ(points.size(), 3u);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].lon, expected[i].lon, 1e-12) << i;
    EXPECT_NEAR(points[i].lat, expected[i].lat, 1e-12) << i;
  }
  EXPECT_TRUE(heights.empty());
  EXPECT_EQ(tool::EncodePolyline(points, heights, CPolylineScale()), kReference);
}

TEST(CPolylineTest, RefusesMalformedTextWithWhatAndWhere) {
  const struct {
    const char* text;
    CPolylineScale scale;
    const char* expected;
  } kCases[] = {
      {"_p~iF~ps|U_", {1e5, false}, "character 11: the text ends inside a number"},
      {"_p~iF", {1e5, false}, "point 0: the text ends before its longitude"},
      {"_p~iF~ps|U", {1e5, true}, "point 0: the text ends before its height"},
      {"_p~iF~ps|U!", {1e5, false}, "character 11: '!' is not a polyline character"},
      {"_p~iF~ps\n", {1e5, false}, "character 9: byte 0x0a is not a polyline character"},
      // Zero written as two chunks, which no encoder does: encoding would not give it back.
      {"_??", {1e5, false}, "character 2: a number ends in a needless zero chunk"},
      {"~~~~~~~~~~~~", {1e5, false}, "character 1: a number longer than 11 characters"},
      // Latitude 100 degrees (1e7 units), longitude 0.
      {"_gjaR?", {1e5, false}, "point 0: [0, 100] lies outside longitude (-180, 180)"},
      {"_gjaR?", {1e6, false}, ""},  // the same numbers are 10 degrees at precision 6
      {"??", {0.5, false}, "a polyline unit of 0.5 per degree is not 1 to 1e9"},
  };
  for (const auto& c : kCases) {
    std::vector<tagLonLat> points;
    std::vector<double> heights;
    std::string error;
    const bool decoded = tool::DecodePolyline(c.text, c.scale, points, heights, error);
    EXPECT_EQ(decoded, *c.expected == '\0') << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.text << ": " << error;
  }
}

}  // namespace
