// Route files: the built-in sample, every optional member, each kind of bad file, and the
// path built from a route.
#include "input/routefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "geodesy.h"
#include "input/embedded.h"
#include "input/routereader.h"
#include "path.h"

namespace {

using tool::CRouteFile;

// Two guides on the equator: A runs 0.001 degrees east from longitude 10, B another 0.002.
const char kTwoGuides[] = R"([
  {"type": "Feature", "properties": {"name": "A"},
   "geometry": {"type": "LineString", "coordinates": [[10.0, 0.0], [10.001, 0.0]]}},
  {"type": "Feature", "properties": {"name": "B", "ref": [10.0015, 0.0]},
   "geometry": {"type": "LineString", "coordinates": [[10.001, 0.0], [10.002, 0.0], [10.003, 0.0]]}}
])";

// A route file with `features` and, when given, more top-level members.
std::string RouteText(const std::string& features, const std::string& members = "") {
  return R"({"type": "FeatureCollection", )" + (members.empty() ? "" : members + ", ") +
         R"("features": )" + features + "}";
}

// A size row with every field, optionally without one.
std::string SizeRow(const std::string& without = "") {
  std::string row = "{";
  for (const tool::CSizeField& field : tool::kSizeFields) {
    if (field.name == without) continue;
    row += std::string(row.size() > 1 ? ", " : "") + "\"" + field.name + "\": 7";
  }
  return row + "}";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CRouteFileTest : public ::testing::Test {
 protected:
  ~CRouteFileTest() override {
    for (const std::string& path : m_Files) std::remove(path.c_str());
  }

  // Writes `text` to a file in the test's temporary directory; returns its path.
  std::string WriteFile(const std::string& text) {
    const std::string path = ::testing::TempDir() + "route_" + std::to_string(::getpid()) + "_" +
                             std::to_string(m_Files.size()) + ".geojson";
    std::ofstream(path, std::ios::binary) << text;
    m_Files.push_back(path);
    return path;
  }

  std::vector<std::string> m_Files;  // files to remove
};

TEST_F(CRouteFileTest, BuiltInSampleIsTheDataFileByteForByte) {
  EXPECT_EQ(tool::EmbeddedSampleRoute(), ReadFile(ADVICEPATH_DATA_DIR "/sample-route.geojson"));
  EXPECT_EQ(tool::EmbeddedSizeTable(), ReadFile(ADVICEPATH_DATA_DIR "/sizes.json"));
}

TEST_F(CRouteFileTest, SampleHasTenGuidesSixTurnsAndItsAttribution) {
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::LoadSampleRoute(route, error)) << error;
  ASSERT_EQ(route.guides.size(), 10u);
  EXPECT_EQ(route.guides[0].name, "Cockcroft Road");
  EXPECT_EQ(route.guides[1].name, "");
  EXPECT_EQ(route.guides[0].points.size(), 5u);
  ASSERT_EQ(route.turns.size(), 6u);
  EXPECT_EQ(route.turns[1].enter, 1);
  EXPECT_EQ(route.turns[1].exit, 3);
  EXPECT_EQ(route.turns[1].note, "roundabout, take exit 1 onto Crescent (left)");
  ASSERT_TRUE(route.turn.has_value());  // the default frame's turn: the last roundabout
  EXPECT_EQ(route.turn->enter, 7);
  EXPECT_EQ(route.turn->exit, 9);
  EXPECT_EQ(route.origin.lon, -2.273517);
  EXPECT_EQ(route.origin.lat, 53.486534);
  EXPECT_EQ(route.dest.lon, -2.275603);
  EXPECT_EQ(route.dest.lat, 53.496878);
  EXPECT_TRUE(route.drawRoute && route.drawArrow);
  EXPECT_FALSE(route.redLine);
  EXPECT_NE(route.attribution.find("OpenStreetMap contributors (ODbL 1.0)"), std::string::npos);
}

TEST_F(CRouteFileTest, ReadsEveryOptionalMember) {
  const std::string members =
      R"("turns": [{"enter": 0, "exit": 1, "type": 3, "note": "right"}],
         "turn": {"enter": 0, "exit": 1, "type": 1},
         "sizes": [)" +
      SizeRow() + R"(], "maxTurnScale": 4, "scaleIndex": 2,
         "colors": {"pathColor": 255, "arrowBorderColor": "0x00ff8000"},
         "redLine": true, "origin": [10.5, 1.5], "dest": [-3, -4.25],
         "flags": [false, true], "attribution": "Made up.")";
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(RouteText(kTwoGuides, members), "full", route, error)) << error;
  ASSERT_EQ(route.turns.size(), 1u);
  EXPECT_EQ(route.turns[0].type, 3);
  EXPECT_EQ(route.turns[0].note, "right");
  ASSERT_TRUE(route.turn.has_value());
  EXPECT_EQ(route.turn->type, 1);
  ASSERT_TRUE(route.sizes.has_value());
  EXPECT_EQ(route.sizes->size(), 1u);
  EXPECT_EQ(route.maxTurnScale, 4);
  EXPECT_EQ(route.scaleIndex, 2);
  EXPECT_EQ(route.colors.pathColor, 255u);
  EXPECT_EQ(route.colors.pathBorderColor, AdvicePathClrSetting().pathBorderColor);
  EXPECT_EQ(route.colors.arrowBorderColor, 0x00ff8000u);
  EXPECT_TRUE(route.redLine);
  EXPECT_EQ(route.origin.lon, 10.5);
  EXPECT_EQ(route.dest.lat, -4.25);
  EXPECT_FALSE(route.drawRoute);
  EXPECT_TRUE(route.drawArrow);
  EXPECT_EQ(route.attribution, "Made up.");
  ASSERT_TRUE(route.guides[1].ref.has_value());
  EXPECT_EQ(route.guides[1].ref->lon, 10.0015);
}

TEST_F(CRouteFileTest, RejectsEachKindOfBadFileWithOneLineNamingIt) {
  auto line = [](const std::string& coordinates) {
    return R"([{"type": "Feature", "geometry": {"type": "LineString", "coordinates": )" +
           coordinates + "}}]";
  };
  const struct {
    const char* what;
    std::string text;
    const char* expected;
  } kCases[] = {
      {"malformed JSON", "{\n  \"type\": \"FeatureCollection\",\n  \"features\": [,]\n}",
       ": line 3, column 16: malformed JSON ("},
      // Such a number used to escape as an exception from the loader.
      {"a number beyond a double", RouteText(line("[[1e999, 0], [1, 1]]")),
       ": malformed JSON (number overflow parsing '1e999')"},
      {"not a collection", R"({"type": "Feature"})", ": not a GeoJSON FeatureCollection"},
      {"no features", RouteText("[]"), ": features: a route needs at least one LineString"},
      {"a point feature",
       RouteText(R"([{"type": "Feature", "geometry": {"type": "Point", "coordinates": [1, 2]}}])"),
       ": features[0]: geometry is not a LineString (Point)"},
      {"no geometry", RouteText(R"([{"type": "Feature", "properties": {}}])"),
       ": features[0]: geometry is not a LineString"},
      {"one point", RouteText(line("[[10, 50]]")),
       ": features[0].geometry.coordinates: a guide needs at least two points"},
      {"longitude 180", RouteText(line("[[10, 50], [180, 50]]")),
       ": features[0].geometry.coordinates[1]: [180, 50] lies outside"},
      {"latitude -90", RouteText(line("[[10, -90], [10, 50]]")),
       ": features[0].geometry.coordinates[0]: [10, -90] lies outside"},
      {"text coordinate", RouteText(line(R"([[10, 50], ["10", 51]])")),
       ": features[0].geometry.coordinates[1]: coordinates must be numbers"},
      {"null coordinate", RouteText(line("[[10, null], [10, 51]]")),
       ": features[0].geometry.coordinates[0]: coordinates must be numbers"},
      {"exit past the route", RouteText(kTwoGuides, R"("turns": [{"enter": 0, "exit": 2}])"),
       ": turns[0]: exit 2 lies outside the route's guides 0..1"},
      {"negative enter", RouteText(kTwoGuides, R"("turns": [{"enter": -1, "exit": 1}])"),
       ": turns[0]: enter -1 lies outside the route's guides 0..1"},
      {"turn backwards", RouteText(kTwoGuides, R"("turn": {"enter": 1, "exit": 0})"),
       ": turn: enter 1 comes after exit 0"},
      {"unknown turn type",
       RouteText(kTwoGuides, R"("turns": [{"enter": 0, "exit": 1, "type": 10}])"),
       ": turns[0].type: must be a whole number from 0 to 9"},
      {"size row missing a field",
       RouteText(kTwoGuides, "\"sizes\": [" + SizeRow() + ", " + SizeRow("arrowHeadLength") + "]"),
       ": sizes[1]: missing field arrowHeadLength"},
      {"fractional width", RouteText(kTwoGuides, R"("scaleIndex": 1.5)"),
       ": scaleIndex: must be a whole number from 0 to 2147483647"},
      {"flags of one", RouteText(kTwoGuides, R"("flags": [true])"),
       ": flags: must be [route, arrow]"},
  };
  for (const auto& c : kCases) {
    const std::string path = WriteFile(c.text);
    CRouteFile route;
    std::string error;
    EXPECT_FALSE(tool::LoadRouteFile(path, route, error)) << c.what;
    EXPECT_EQ(error.rfind(path + c.expected, 0), 0u) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what << ": " << error;
  }
}

// A turn at the end of one guide (enter = exit) was refused, though the renderer draws it.
TEST_F(CRouteFileTest, TurnWithEnterEqualToExitIsAccepted) {
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(
      RouteText(kTwoGuides,
                R"("turns": [{"enter": 1, "exit": 1}], "turn": {"enter": 0, "exit": 0})"),
      "same", route, error))
      << error;
  ASSERT_EQ(route.turns.size(), 1u);
  EXPECT_EQ(route.turns[0].enter, 1);
  EXPECT_EQ(route.turns[0].exit, 1);
  tool::CRouteTurn turn;
  turn.enter = 1;
  turn.exit = 1;
  EXPECT_TRUE(tool::CheckTurn(route, turn, "--enter/--exit", error)) << error;
}

TEST_F(CRouteFileTest, MissingFileAndDirectoryAreNamed) {
  const std::string missing = ::testing::TempDir() + "no_such_route.geojson";
  const std::string directory = ::testing::TempDir() + "route_dir_" + std::to_string(::getpid());
  ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
  const struct {
    std::string path;
    std::string expected;
  } kCases[] = {
      {missing, missing + ": cannot read: No such file or directory"},
      {directory, directory + ": cannot read: is a directory"},
  };
  for (const auto& c : kCases) {
    CRouteFile route;
    std::string error;
    EXPECT_FALSE(tool::LoadRouteFile(c.path, route, error));
    EXPECT_EQ(error, c.expected);
  }
  ::rmdir(directory.c_str());
}

TEST_F(CRouteFileTest, PathHasTheGuidesNamesAndReferencePoints) {
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(RouteText(kTwoGuides), "two", route, error)) << error;
  CNavPath path;
  ASSERT_TRUE(tool::BuildPath(route, path));
  ASSERT_EQ(path.GetGuideCount(), 2);
  PathGuid guide;
  ASSERT_TRUE(path.GetGuideAt(0, guide));
  EXPECT_STREQ(guide.firstName, "A");
  EXPECT_EQ(guide.refPoint.lon, 10.0);  // no "ref": the first point
  ASSERT_TRUE(path.GetGuideAt(1, guide));
  EXPECT_EQ(guide.firstPtNum, 3);
  EXPECT_EQ(guide.refPoint.lon, 10.0015);
}

TEST_F(CRouteFileTest, DistanceToEndOfGuideAddsWholeGuides) {
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::ParseRouteText(RouteText(kTwoGuides), "two", route, error)) << error;
  // On the equator 0.001 degrees of longitude span R * pi / 180 / 1000 metres.
  const double milliDegree = kEarthRadiusMetres * kPi / 180.0 / 1000.0;
  const struct {
    int guide;
    double metres;
  } kCases[] = {{-1, 0.0}, {0, milliDegree}, {1, 3 * milliDegree}, {5, 3 * milliDegree}};
  for (const auto& c : kCases) {
    EXPECT_NEAR(tool::DistanceToEndOfGuide(route, c.guide), c.metres, 1e-6) << c.guide;
  }
}

}  // namespace
