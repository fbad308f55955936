// Routes written as our GeoJSON: what the router readers never set (a reference point, the
// turn to draw, an origin and destination of their own) survives the parser too, and text
// that is not UTF-8 is written rather than thrown about. The round trip of every reader's
// routes is in routereader_test.cpp.
#include "output/routegeojson.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tool::CRouteFile;

CRouteFile TwoGuides() {
  CRouteFile route;
  route.guides.resize(2);
  route.guides[0].points = {{8.6, 50.1}, {8.61, 50.1}};
  route.guides[0].name = "Rue \"Neuve\" – Süd";
  route.guides[1].points = {{8.61, 50.1}, {8.61, 50.0999999999999}};
  route.guides[1].ref = tagLonLat{8.61, 50.09995};
  route.turns.push_back({0, 1, 2, ""});
  route.origin = {8.5999, 50.1};
  route.dest = route.guides[1].points.back();
  route.attribution = "Made up\nfor a test";
  return route;
}

TEST(CRouteGeoJsonTest, KeepsReferenceTurnOriginAndAttributionThroughTheParser) {
  CRouteFile route = TwoGuides();
  route.turn = tool::CRouteTurn{1, 1, 9, "the turn to draw"};
  CRouteFile back;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(tool::FormatRouteGeoJson(route), "back", back, error)) << error;
  ASSERT_EQ(back.guides.size(), 2u);
  EXPECT_EQ(back.guides[0].name, route.guides[0].name);
  EXPECT_EQ(back.guides[1].points[1].lat, 50.0999999999999);
  ASSERT_TRUE(back.guides[1].ref.has_value());
  EXPECT_EQ(back.guides[1].ref->lat, 50.09995);
  ASSERT_EQ(back.turns.size(), 1u);
  EXPECT_EQ(back.turns[0].type, 2);
  EXPECT_EQ(back.turns[0].note, "");
  ASSERT_TRUE(back.turn.has_value());
  EXPECT_EQ(back.turn->enter, 1);
  EXPECT_EQ(back.turn->note, "the turn to draw");
  EXPECT_EQ(back.origin.lon, 8.5999);
  EXPECT_EQ(back.dest.lat, 50.0999999999999);
  EXPECT_EQ(back.attribution, "Made up\nfor a test");
}

// A name may arrive in bytes that are not UTF-8 (XML files are not checked for it), on which
// the JSON writer throws unless told to replace them.
TEST(CRouteGeoJsonTest, NameThatIsNotUtf8IsWrittenWithReplacementCharacters) {
  CRouteFile route = TwoGuides();
  route.guides[0].name = "Caf\xe9";
  CRouteFile back;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(tool::FormatRouteGeoJson(route), "back", back, error)) << error;
  EXPECT_EQ(back.guides[0].name, "Caf\xef\xbf\xbd");
}

}  // namespace
