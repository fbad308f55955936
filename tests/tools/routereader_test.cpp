// Routes read by content through ReadRoute: one table of fixtures (format x rule) with the
// guides and turns each must give and the same route back from its GeoJSON, and one table of
// bad answers with the one line each must give. The fixtures live in data/routers/; their
// polylines were encoded from the plain coordinates by a separate encoder.
#include "input/routereader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "output/routegeojson.h"

namespace {

using tool::CReadOptions;
using tool::CRouteFile;

const std::string kRouters = ADVICEPATH_TEST_DATA_DIR "/routers/";
const std::string kBad = kRouters + "bad/";

CReadOptions Options(std::optional<int> precision = std::nullopt, int alternative = 0) {
  CReadOptions options;
  options.precision = precision;
  options.alternative = alternative;
  return options;
}

bool SameBits(const tagLonLat& a, const tagLonLat& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// "name|name|...", one per guide.
std::string Names(const CRouteFile& route) {
  std::string names;
  for (std::size_t i = 0; i < route.guides.size(); ++i) {
    names += (i == 0 ? "" : "|") + route.guides[i].name;
  }
  return names;
}

// "enter>exit:type ...", one per turn.
std::string Turns(const CRouteFile& route) {
  std::string turns;
  for (const tool::CRouteTurn& turn : route.turns) {
    turns += (turns.empty() ? "" : " ") + std::to_string(turn.enter) + ">" +
             std::to_string(turn.exit) + ":" + std::to_string(turn.type);
  }
  return turns;
}

// What FormatRouteGeoJson promises to keep: every point bit for bit, names, turns, notes.
void ExpectSameRoute(const CRouteFile& read, const CRouteFile& back) {
  ASSERT_EQ(back.guides.size(), read.guides.size());
  for (std::size_t i = 0; i < read.guides.size(); ++i) {
    const std::vector<tagLonLat>& points = read.guides[i].points;
    ASSERT_EQ(back.guides[i].points.size(), points.size()) << "guide " << i;
    for (std::size_t k = 0; k < points.size(); ++k) {
      EXPECT_TRUE(SameBits(back.guides[i].points[k], points[k])) << "guide " << i << "." << k;
    }
  }
  EXPECT_EQ(Names(back), Names(read));
  EXPECT_EQ(Turns(back), Turns(read));
  for (std::size_t k = 0; k < read.turns.size() && k < back.turns.size(); ++k) {
    EXPECT_EQ(back.turns[k].note, read.turns[k].note) << "turn " << k;
  }
  EXPECT_EQ(back.attribution, read.attribution);
  EXPECT_TRUE(SameBits(back.origin, read.origin) && SameBits(back.dest, read.dest));
}

TEST(CRouteReaderTest, ReadsEachFormatIntoGuidesAndTurnsThatConvertToGeoJson) {
  const char* const kOsrm = "OSRM v5 route response";
  const char* const kGraphHopper = "GraphHopper route response";
  const char* const kGpx = "GPX 1.1 file";
  const struct {
    std::string file;
    CReadOptions options;
    const char* format;
    tagLonLat start;    // the route's first point, degrees
    const char* names;  // Names()
    const char* turns;  // Turns()
    const char* note;   // the first turn's
    const char* attribution;
  } kCases[] = {
      // clang-format off
      // Precision 5 inferred; name else ref; no turn at the via point; arrivals dropped.
      {kRouters + "osrm-via-polyline5.json", Options(), kOsrm, {8.68012, 50.11003},
       "Lindenstraße|K 812|K 812|Bahnhofstraße", "0>1:3 2>3:2", "turn right", ""},
      // Precision 6 inferred, or asked for; the roundabout exits onto its exit step's road.
      {kRouters + "osrm-roundabout-polyline6.json", Options(), kOsrm, {8.69012, 50.11503},
       "Mühlweg|Am Ring|Talstraße|Gartenweg", "0>2:9 2>3:4",
       "Enter Am Ring and take the 2nd exit onto Talstraße.", ""},
      {kRouters + "osrm-roundabout-polyline6.json", Options(6), kOsrm, {8.69012, 50.11503},
       "Mühlweg|Am Ring|Talstraße|Gartenweg", "0>2:9 2>3:4",
       "Enter Am Ring and take the 2nd exit onto Talstraße.", ""},
      // GeoJSON steps; a roundabout without exit step exits its own step's road (the ring and
      // the road after it).
      {kRouters + "osrm-geojson-noexit.json", Options(), kOsrm, {8.69012, 50.11503},
       "Mühlweg|Talstraße|Talstraße", "0>1:9 1>2:8", "roundabout right exit 2", ""},
      // The second route, whose steps do not join: the join is bridged.
      {kRouters + "osrm-geojson-noexit.json", Options(std::nullopt, 1), kOsrm,
       {8.69012, 50.11503}, "Mühlweg|Feldweg", "0>1:6", "turn sharp left", ""},
      // Two legs; names joined; the roundabout's exit manoeuvre (27) belongs to its entry.
      {kRouters + "valhalla-via.json", Options(), "Valhalla route response", {8.684, 50.112},
       "Bahnhofstraße|Lindenstraße|Am Ring|Talstraße/L 3004|Talstraße/L 3004|Gartenweg",
       "0>1:3 1>3:9 4>5:4", "Turn right onto Lindenstraße.", ""},
      {kRouters + "graphhopper-encoded.json", Options(), kGraphHopper, {8.678, 50.105},
       "Lindenstraße|Bahnhofstraße|Talstraße|Gartenweg", "0>1:3 1>2:9 2>3:4",
       "Turn right onto Bahnhofstraße", "GraphHopper, OpenStreetMap contributors"},
      // Heights inferred from the intervals; multiplier 1e6; street_ref; via point (sign 5).
      {kRouters + "graphhopper-elevation.json", Options(), kGraphHopper, {8.67, 50.1},
       "Feldweg|B 3|B 3|Höhenweg", "0>1:2 2>3:5", "Turn left onto B 3",
       "GraphHopper, OpenStreetMap contributors"},
      // GeoJSON points with heights; leaving the roundabout (sign -6) belongs to its entry.
      {kRouters + "graphhopper-geojson.json", Options(), kGraphHopper, {8.66, 50.09},
       "Mühlweg|Talstraße|Talstraße|Feldweg", "0>2:9 2>3:7",
       "At roundabout, take exit 1 onto Talstraße", "GraphHopper, OpenStreetMap contributors"},
      // Route points matched to the nearest track point; gh:sign gives the kind.
      {kRouters + "gpx-graphhopper.gpx", Options(), kGpx, {8.65, 50.08}, "||", "0>1:3 1>2:9",
       "Turn right onto Bahnhofstraße", "OpenStreetMap contributors"},
      {kRouters + "gpx-osmand.gpx", Options(), kGpx, {8.64, 50.07}, "Mühlweg|Feldweg|L 3004",
       "0>1:7 1>2:9", "Turn sharply right onto Feldweg", ""},
      // A route alone: the kinds come from the angles between its legs.
      {kRouters + "gpx-route.gpx", Options(), kGpx, {8.63, 50.06}, "||", "0>1:3 1>2:4",
       "90 degrees right, from the roads' angle", ""},
      // A track alone: one guide of both segments, no turn.
      {kRouters + "gpx-track.gpx", Options(), kGpx, {8.62, 50.05}, "", "", "",
       "Jo Walker (CC BY 4.0)"},
      {ADVICEPATH_DATA_DIR "/sample-route.geojson", Options(), "GeoJSON route file",
       {-2.273517, 53.486534},
       "Cockcroft Road||University Road West|Crescent|Crescent|Crescent|Pendleton Roundabout|"
       "Pendleton Roundabout|Gerald Road|Gerald Road",
       "0>1:0 1>3:0 3>4:0 4>5:0 5>6:0 7>9:0", "turn slight right onto unnamed road",
       "Route computed by Valhalla (Stadia Maps API) on OpenStreetMap data. Map data © "
       "OpenStreetMap contributors (ODbL 1.0). Fixture from github.com/stadiamaps/ferrostar, © "
       "2023 Stadia Maps, Inc. (BSD-3-Clause)"},
      // clang-format on
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file + (c.options.precision ? " --precision" : "") +
                 (c.options.alternative != 0 ? " --alternative" : ""));
    CRouteFile route;
    std::string error;
    ASSERT_TRUE(tool::LoadRoute(c.file, c.options, route, error)) << error;
    EXPECT_EQ(route.format, c.format);
    EXPECT_EQ(route.fileName, c.file);
    EXPECT_NEAR(route.origin.lon, c.start.lon, 1e-9);
    EXPECT_NEAR(route.origin.lat, c.start.lat, 1e-9);
    EXPECT_EQ(Names(route), c.names);
    EXPECT_EQ(Turns(route), c.turns);
    EXPECT_EQ(route.turns.empty() ? "" : route.turns[0].note, c.note);
    EXPECT_EQ(route.attribution, c.attribution);
    for (std::size_t k = 1; k < route.guides.size(); ++k) {
      EXPECT_TRUE(SameBits(route.guides[k - 1].points.back(), route.guides[k].points.front()))
          << "join before guide " << k;
    }
    EXPECT_TRUE(SameBits(route.dest, route.guides.back().points.back()));
    CRouteFile back;
    ASSERT_TRUE(tool::ParseRouteText(tool::FormatRouteGeoJson(route), "back", back, error))
        << error;
    ExpectSameRoute(route, back);
  }
}

TEST(CRouteReaderTest, RefusesEachBadAnswerWithOneLineNamingTheFile) {
  const struct {
    std::string file;
    CReadOptions options;
    const char* expected;  // the message after "<file>: ", or its start
  } kCases[] = {
      {kBad + "osrm-noroute.json", Options(),
       "the router answered NoRoute: Impossible route between points"},
      {kBad + "osrm-nosteps.json", Options(),
       "routes[0].legs[0]: no steps; ask the router with steps=true"},
      {kBad + "osrm-truncated-polyline.json", Options(),
       "routes[0].legs[0].steps[1].geometry: point 1: the text ends before its longitude"},
      {kRouters + "osrm-roundabout-polyline6.json", Options(5),
       "routes[0].legs[0].steps[0].geometry: point 0: [86.9012, 501.1503] lies outside"},
      {kBad + "osrm-out-of-range.json", Options(),
       "routes[0].legs[0].steps[0].geometry.coordinates[1]: [200.5, 50.1101] lies outside"},
      {kBad + "osrm-not-a-number.json", Options(), "line 2, column 72: malformed JSON ("},
      {kBad + "osrm-truncated.json", Options(), "line 1, column 99: malformed JSON ("},
      {kRouters + "osrm-geojson-noexit.json", Options(std::nullopt, 2),
       "alternative 2: the answer holds 2 routes, 0 to 1"},
      {kBad + "valhalla-error.json", Options(),
       "the router answered error 442: No path could be found for input"},
      {kBad + "valhalla-nomaneuvers.json", Options(),
       "trip.legs[0]: no maneuvers; ask the router with directions_type maneuvers or "
       "instructions"},
      {kBad + "valhalla-index-outside.json", Options(),
       "trip.legs[0].maneuvers[1].end_shape_index: must be a whole number from 2 to 3"},
      {kRouters + "valhalla-via.json", Options(std::nullopt, 1),
       "alternative 1: the answer holds 1 trip"},
      {kBad + "graphhopper-error.json", Options(),
       "the router answered: Cannot find point 1: 50.112,8.683"},
      {kBad + "graphhopper-noinstructions.json", Options(),
       "paths[0]: no instructions; ask the router with instructions=true"},
      {kBad + "graphhopper-interval-outside.json", Options(),
       "paths[0].instructions[1].interval: [2, 9] lies outside the path's 4 points"},
      {kBad + "gpx-not-a-number.gpx", Options(),
       "gpx.rte.rtept[1]: lat \"51#!.3\" is not a decimal number"},
      {kBad + "gpx-out-of-range.gpx", Options(),
       "gpx.trk.trkseg[0].trkpt[1]: lat 90.0, lon 8.63 lies outside"},
      {kBad + "gpx-truncated.gpx", Options(), "line 3, column 132: malformed XML ("},
      {kBad + "kml.xml", Options(), "not a GPX file: the root element is <kml>"},
      {kBad + "geojson-feature.json", Options(), "not a GeoJSON FeatureCollection"},
      {kBad + "unknown.json", Options(), "not a route: the program reads OSRM v5"},
      {kBad + "unknown.csv", Options(), "not a route: the program reads OSRM v5"},
      {kBad + "empty.json", Options(), "the file is empty"},
  };
  for (const auto& c : kCases) {
    CRouteFile route;
    std::string error;
    EXPECT_FALSE(tool::LoadRoute(c.file, c.options, route, error)) << c.file;
    EXPECT_EQ(error.rfind(c.file + ": " + c.expected, 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// The readers hand their routes to the same check as our own files: a step too long for one
// guide is refused there, after the reader accepted it.
TEST(CRouteReaderTest, StepLongerThanAGuideIsRefusedByTheRouteCheck) {
  std::string coordinates = "[8.6, 50.1]";
  for (int k = 1; k <= 65535; ++k) {
    coordinates += ", [8.6, " + std::to_string(50.1 + k * 1e-6) + "]";
  }
  const std::string answer = R"({"code": "Ok", "routes": [{"legs": [{"steps": [{"maneuver": )"
                             R"({"type": "depart"}, "geometry": {"type": "LineString", )"
                             R"("coordinates": [)" +
                             coordinates + "]}}]}]}]}";
  CRouteFile route;
  std::string error;
  EXPECT_FALSE(tool::ReadRoute(answer, "long.json", Options(), route, error));
  EXPECT_EQ(error, "long.json: guide 0: has 65536 points; a guide holds 2 to 65535");
}

// The name says GPX; the bytes are an OSRM answer.
TEST(CRouteReaderTest, FormatIsRecognisedByContentNotByFileName) {
  const char kAnswer[] =
      R"({"code": "Ok", "routes": [{"legs": [{"steps": [{"maneuver": {"type": "depart"}, )"
      R"("geometry": {"type": "LineString", "coordinates": [[8.6, 50.1], [8.6, 50.2]]}}]}]}]})";
  CRouteFile route;
  std::string error;
  ASSERT_TRUE(tool::ReadRoute(kAnswer, "route.gpx", Options(), route, error)) << error;
  EXPECT_EQ(route.format, "OSRM v5 route response");
}

}  // namespace
