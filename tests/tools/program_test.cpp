// The advicepath program from the command line: what it writes for good requests, and for
// each kind of bad one a single line on standard error, exit status 2 and no file left.
#include <cairo.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CRun {
  int status;       // exit status; -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the program in a directory of its own, which starts empty for each test.
class CProgramTest : public ::testing::Test {
 protected:
  CProgramTest()
      : m_Dir(::testing::TempDir() + "advicepath_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    ::mkdir(m_Dir.c_str(), 0700);
  }
  ~CProgramTest() override {
    for (const std::string& name : Files()) std::remove((m_Dir + "/" + name).c_str());
    ::rmdir(m_Dir.c_str());
  }

  // Runs `advicepath <arguments>` with the test's directory as working directory.
  CRun Run(const std::string& arguments) {
    const std::string errPath = m_Dir + "/../" + "stderr_" + std::to_string(::getpid());
    const std::string command =
        "cd " + m_Dir + " && " ADVICEPATH_PROGRAM " " + arguments + " 2>" + errPath;
    CRun run{-1, std::string(), std::string()};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      run.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    std::remove(errPath.c_str());
    return run;
  }

  // Writes `text` into the test's directory as `name`.
  void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(m_Dir + "/" + name, std::ios::binary) << text;
  }

  // The names in the test's directory, sub-directories' contents included as "dir/name".
  std::vector<std::string> Files(const std::string& sub = "") const {
    std::vector<std::string> names;
    DIR* dir = ::opendir((m_Dir + "/" + sub).c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = sub.empty() ? name : sub + "/" + name;
      const std::vector<std::string> inner = Files(path);
      names.insert(names.end(), inner.begin(), inner.end());
      names.push_back(path);
    }
    ::closedir(dir);
    return names;
  }

  std::string m_Dir;  // the program's working directory
};

TEST_F(CProgramTest, EachBadRequestGetsOneLineStatusTwoAndNoFile) {
  WriteFile("bad.geojson", R"({"type": "FeatureCollection", "features": [)");
  WriteFile("far.geojson", R"({"type": "FeatureCollection", "scaleIndex": 13, "features": [
      {"type": "Feature", "geometry": {"type": "LineString", "coordinates": [[1, 2], [1, 3]]}}]})");
  ::mkdir((m_Dir + "/folder").c_str(), 0700);
  ::mkdir((m_Dir + "/folder/turn-3.png").c_str(), 0700);
  const struct {
    const char* arguments;
    const char* expected;  // the start of the message after "advicepath: "
  } kCases[] = {
      {"render --frobnicate", "render: unknown option --frobnicate"},
      {"render missing.geojson", "missing.geojson: cannot read: No such file or directory"},
      {"render bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"render --sizes bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"render --turn 6", "(built-in sample): --turn 6: the route has 6 turns"},
      {"render --enter 3 --exit 2",
       "(built-in sample): --enter/--exit: enter 3 comes after exit 2"},
      {"render --enter 3", "render: --enter and --exit go together"},
      {"render --scale-index 13", "render: --scale-index: '13' is not a whole number from 0 to 12"},
      {"render --size 800", "render: --size: '800' is not WIDTHxHEIGHT"},
      {"render --size 8x600", "render: --size width: '8' is not a whole number from 16"},
      {"render --log-level loud", "render: --log-level: 'loud' is not fatal, error, warn"},
      {"render --out route.jpg", "route.jpg: the picture's name must end in .png or .svg"},
      {"render --out no/such/dir/route.png", "no/such/dir/route.png: cannot write:"},
      {"render --dump-calls missing/calls.json", "missing/calls.json: cannot write:"},
      {"render --dump-calls folder", "folder: cannot write: Is a directory"},
      {"render --all-turns folder", "folder/turn-3.png: cannot write: Is a directory"},
      {"render far.geojson", "far.geojson: scaleIndex: must be a whole number from 0 to 12"},
      {"render --dump-calls d.json --all-turns all", "render: --dump-calls cannot be combined"},
      {"render a.geojson b.geojson", "render: one route file at most"},
      {"render --center middle", "render: --center: 'middle' is not arrow, turn or route"},
      {"sheet --turns 9", "(built-in sample): --turns 9: the route has 6 turns"},
      {"convert " ADVICEPATH_TEST_DATA_DIR "/routers/bad/osrm-noroute.json",
       ADVICEPATH_TEST_DATA_DIR "/routers/bad/osrm-noroute.json: the router answered NoRoute: "},
      {"turns --precision 7", "turns: --precision: '7' is not a whole number from 5 to 6"},
      {"sheet --scale-indices 3-1", "sheet: --scale-indices: '3-1' is not a list of numbers"},
      {"sheet --scale-indices 0-2147483647", "sheet: --scale-indices: '0-2147483647' is not"},
      {"sheet --cell 8000x8000", "sheet: 56000x48180 pixels is too large"},
      {"sheet --out sheet.gif", "sheet.gif: the picture's name must end in .png or .svg"},
      {"check --sizes missing.json", "missing.json: cannot read: No such file or directory"},
      {"check --red-line", "check: unknown option --red-line"},
      {"render --theme night", "--theme needs --style: themes come from a style file"},
      {"sheet --style bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"check --sizes a.json --style b.json", "--sizes and --style do not go together"},
      {"studio --style bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"studio --port 70000", "studio: --port: '70000' is not a whole number from 0 to 65535"},
      {"style --out folder", "folder: exists; the built-in style is written only to a new file"},
      {"turns --all", "turns: unknown option --all"},
      {"draw", "unknown command draw"},
  };
  for (const auto& c : kCases) {
    const CRun run = Run(c.arguments);
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind(std::string("advicepath: ") + c.expected, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    std::vector<std::string> files = Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"bad.geojson", "far.geojson", "folder",
                                               "folder/turn-3.png"}));
  }
}

TEST_F(CProgramTest, WritesPngAndSvgByExtension) {
  const CRun run =
      Run("render --size 320x240 --out frame.png && " ADVICEPATH_PROGRAM " render --out frame.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(m_Dir + "/frame.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  const std::string svg = ReadFile(m_Dir + "/frame.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  // Its size in pixels, not Cairo's points, so that it shows at the size asked for.
  EXPECT_NE(svg.find(R"(width="800px" height="600px" viewBox="0 0 800 600")"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST_F(CProgramTest, AllTurnsWritesOnePicturePerTurn) {
  const CRun run = Run("render --all-turns turns");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> files = Files();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"turns", "turns/turn-0.png", "turns/turn-1.png",
                                             "turns/turn-2.png", "turns/turn-3.png",
                                             "turns/turn-4.png", "turns/turn-5.png"}));
}

// Each format, converted to a route file, draws the same frames: the same calls at every turn.
TEST_F(CProgramTest, ConvertedAnswerDrawsAsTheAnswerDoes) {
  for (const char* answer : {"osrm-via-polyline5.json", "osrm-roundabout-polyline6.json",
                             "valhalla-via.json", "graphhopper-elevation.json", "gpx-route.gpx"}) {
    SCOPED_TRACE(answer);
    const std::string path = std::string(ADVICEPATH_TEST_DATA_DIR "/routers/") + answer;
    ASSERT_EQ(Run("convert " + path + " --out route.geojson").status, 0);
    for (const char* turn : {"0", "1"}) {
      const std::string frame = std::string(" --turn ") + turn + " --red-line --out f.svg";
      ASSERT_EQ(Run("render " + path + frame + " --dump-calls a.json").status, 0);
      ASSERT_EQ(Run("render route.geojson" + frame + " --dump-calls b.json").status, 0);
      EXPECT_EQ(ReadFile(m_Dir + "/a.json"), ReadFile(m_Dir + "/b.json")) << turn;
    }
  }
  // The listing of the answer as JSON, one object per turn.
  const CRun json = Run("turns --json " ADVICEPATH_TEST_DATA_DIR "/routers/valhalla-via.json");
  ASSERT_EQ(json.status, 0);
  EXPECT_EQ(json.out.substr(0, json.out.find('\n', 2)),
            "[\n{\"index\":0,\"enter\":0,\"exit\":1,\"type\":3,\"node\":[8.68404,50.113],"
            "\"enterRoad\":\"Bahnhofstraße\",\"exitRoad\":\"Lindenstraße\",\"distance\":"
            "111.23165676912326,\"note\":\"Turn right onto Lindenstraße.\"},");
}

TEST_F(CProgramTest, TurnsListsTheSampleTurnsWithNamesAndDistances) {
  const CRun run = Run("turns");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(lines, line)) rows.push_back(line);
  ASSERT_EQ(rows.size(), 8u) << run.out;  // the format read, a heading and six turns
  EXPECT_EQ(rows[0], "(built-in sample): GeoJSON route file, 6 turns");
  EXPECT_NE(rows[2].find("0 -> 1"), std::string::npos) << rows[2];
  EXPECT_NE(rows[2].find("Cockcroft Road -> unnamed road"), std::string::npos) << rows[2];
  EXPECT_NE(rows[7].find("7 -> 9"), std::string::npos) << rows[7];
  EXPECT_NE(rows[7].find("Pendleton Roundabout -> Gerald Road"), std::string::npos) << rows[7];
}

// The number of times `part` occurs in `text`.
int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(CProgramTest, OneLibraryPassPerPictureWhoseLinesShowOnlyWhenAsked) {
  // Each traced operation of the one frame writes its lines once, with position and function.
  const CRun run = Run("render --log-level info --out frame.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Count(run.err, "INFO pathRender source/render/advicepathrender.cpp:"), 6) << run.err;
  EXPECT_EQ(Count(run.err, " AdvicePathRender::SetSize: timerSetSize::"), 1) << run.err;
  EXPECT_EQ(Count(run.err, " AdvicePathRender::DrawTurn: timerDrawTurn::"), 1) << run.err;
  EXPECT_EQ(run.err.find("\n\n"), std::string::npos) << run.err;
  // By default the library's lines stay out; the program says once why a frame has no arrow.
  const CRun beyond = Run("render --scale-index 8 --out frame.png");
  EXPECT_EQ(beyond.status, 0);
  EXPECT_EQ(beyond.err,
            "advicepath: note: frame.png: the file's turn has no arrow at scale index 8: the "
            "table draws arrows up to scale index 6\n");
  const CRun end = Run("render --enter 9 --exit 9 --turn-type 1 --out end.png");
  EXPECT_EQ(end.err,
            "advicepath: note: end.png: guides 9 -> 9 has no arrow at scale index 1: it is the "
            "route's end (type 1), where no arrow is drawn\n");
}

// A motorway exit: 600 m of carriageway heading east, a 556 m slip road, then the road it
// joins. At one metre per pixel the arrow spans some 720 pixels from west to east.
const char kRamp[] = R"({"type": "FeatureCollection",
 "turns": [{"enter": 0, "exit": 1, "type": 5, "note": "take the exit"}],
 "features": [
  {"type": "Feature", "properties": {"name": "A1"},
   "geometry": {"type": "LineString", "coordinates": [[8.0, 50.0], [8.008385, 50.0]]}},
  {"type": "Feature", "properties": {"name": "exit 12"},
   "geometry": {"type": "LineString", "coordinates": [[8.008385, 50.0], [8.016155, 49.9997]]}},
  {"type": "Feature", "properties": {"name": "B3"},
   "geometry": {"type": "LineString", "coordinates": [[8.016155, 49.9997], [8.020, 49.9997]]}}]})";

TEST_F(CProgramTest, ArrowThatRunsOutIsDrawnAndReportedInOneLine) {
  WriteFile("ramp.geojson", kRamp);
  const CRun onTurn = Run("render ramp.geojson --center turn --out turn.png");
  EXPECT_EQ(onTurn.status, 0);
  EXPECT_EQ(onTurn.err.rfind("advicepath: warning: turn.png: the arrow of turn 0 of 1 at scale "
                             "index 1 runs out of the 800x600 picture by ",
                             0),
            0u)
      << onTurn.err;
  EXPECT_EQ(onTurn.err.find('\n'), onTurn.err.size() - 1) << onTurn.err;
  EXPECT_EQ(ReadFile(m_Dir + "/turn.png").substr(0, 4), "\x89PNG");
  // Centred on the arrow by default, the same arrow fits.
  const CRun onArrow = Run("render ramp.geojson --out arrow.png");
  EXPECT_EQ(onArrow.status, 0);
  EXPECT_EQ(onArrow.err, "");
}

TEST_F(CProgramTest, SheetHasACellPerTurnAndScaleIndexEachWithAnArrow) {
  const CRun run = Run("sheet --turns 0,5 --scale-indices 1-3 --cell 200x150 --out grid.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  cairo_surface_t* sheet = cairo_image_surface_create_from_png((m_Dir + "/grid.png").c_str());
  ASSERT_EQ(cairo_surface_status(sheet), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(sheet), 3 * 200);
  // Each cell is its frame below a caption band of 30 pixels.
  EXPECT_EQ(cairo_image_surface_get_height(sheet), 2 * (30 + 150));
  // Pure white in a frame comes only from the arrow (the captions lie outside the frames).
  const unsigned char* data = cairo_image_surface_get_data(sheet);
  const int stride = cairo_image_surface_get_stride(sheet);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      int white = 0;
      for (int y = row * 180 + 30; y < (row + 1) * 180; ++y) {
        for (int x = column * 200; x < (column + 1) * 200; ++x) {
          std::uint32_t pixel;
          std::memcpy(&pixel, data + y * stride + x * 4, 4);
          white += (pixel & 0xFFFFFFu) == 0xFFFFFFu ? 1 : 0;
        }
      }
      EXPECT_GT(white, 50) << "row " << row << ", column " << column;
    }
  }
  cairo_surface_destroy(sheet);
}

TEST_F(CProgramTest, SheetMarksTheSidesAnArrowRunsOutOfInRed) {
  // Turn 3 at scale index 0 runs out on all four sides of a 200x150 frame; at index 5 it fits.
  const CRun run = Run("sheet --turns 3 --scale-indices 0,5 --cell 200x150 --out grid.png");
  ASSERT_EQ(run.status, 0) << run.err;
  cairo_surface_t* sheet = cairo_image_surface_create_from_png((m_Dir + "/grid.png").c_str());
  ASSERT_EQ(cairo_surface_status(sheet), CAIRO_STATUS_SUCCESS);
  const unsigned char* data = cairo_image_surface_get_data(sheet);
  const int stride = cairo_image_surface_get_stride(sheet);
  const struct {
    int column;
    bool marked;
  } kCells[] = {{0, true}, {1, false}};
  for (const auto& c : kCells) {
    // The frame's two leftmost pixel columns, below the caption band.
    int red = 0;
    for (int y = 30 + 10; y < 30 + 140; ++y) {
      for (int x = c.column * 200 + 1; x < c.column * 200 + 3; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, data + y * stride + x * 4, 4);
        const unsigned r = (pixel >> 16) & 0xFFu, g = (pixel >> 8) & 0xFFu, b = pixel & 0xFFu;
        red += r > 150 && g < 90 && b < 90 ? 1 : 0;
      }
    }
    EXPECT_EQ(red == 2 * 130, c.marked) << "column " << c.column << ": " << red << " red pixels";
  }
  cairo_surface_destroy(sheet);
}

TEST_F(CProgramTest, CheckExitsFourWithFindingsAndZeroWithoutAny) {
  // Turn 3 spans some 1100 pixels at scale index 0: too tall for 800x600, not for 1300x1200.
  // (Turn 4 is left out: with the default table its arrow runs past turn 5's node, below.)
  const CRun found = Run("check --turns 0-3,5");
  EXPECT_EQ(found.status, 4) << found.err;
  EXPECT_NE(found.out.find("\nFindings (1):\n  the arrow of turn 3 of 6 at scale index 0 runs out "
                           "of the 800x600 picture by "),
            std::string::npos)
      << found.out;
  const CRun clean = Run("check --turns 0-3,5 --size 1300x1200");
  EXPECT_EQ(clean.status, 0) << clean.out;
  EXPECT_NE(clean.out.find("\nNo findings.\n"), std::string::npos) << clean.out;
  // A table that trips a row check, as the audit's own tests show for each check.
  WriteFile("thin.json", R"({"maxTurnScale": 0, "sizes": [{"pathWidth": 8, "pathBorderWidth": 8,
      "arrowWidth": 10, "arrowBorderWidth": 14, "arrowHeadParam": 0, "arrowHeadBorderParam": 4,
      "arrowExitLength": 30, "arrowEnterLength": 40, "arrowLengthTolerance": 5,
      "arrowHeadLength": 15, "arrowHeadHalfWidth": 11}]})");
  const CRun thin = Run("check --sizes thin.json --turns 0");
  EXPECT_EQ(thin.status, 4) << thin.err;
  EXPECT_NE(thin.out.find("  scale index 0: route border width 8 is not above its width 8"),
            std::string::npos)
      << thin.out;
}

TEST_F(CProgramTest, BuiltInStyleIsWrittenOnceAndEachThemeIsCleanButForRunOuts) {
  const CRun written = Run("style --out s.json");
  ASSERT_EQ(written.status, 0) << written.err;
  const CRun again = Run("style --out s.json");
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err,
            "advicepath: s.json: exists; the built-in style is written only to a new file\n");
  // Every theme is audited; at 1300x1200 even turn 3 fits, and nothing else is found.
  const CRun check = Run("check --style s.json --size 1300x1200");
  EXPECT_EQ(check.status, 0) << check.out;
  for (const char* theme : {"day", "large", "night"}) {
    EXPECT_NE(check.out.find(std::string("== Theme ") + theme + " of s.json =="), std::string::npos)
        << theme;
  }
  // The default table, without the style's tuning of rows 5 and 6, points past turn 5.
  const CRun table = Run("check --turns 4");
  EXPECT_EQ(table.status, 4);
  EXPECT_NE(table.out.find("  the arrow of turn 4 of 6 at scale index 5 runs 33 px (641 m) past "
                           "the node of turn 5, the next decision: more than its 14 px width\n"),
            std::string::npos)
      << table.out;
  const CRun unknown = Run("render --style s.json --theme dusk");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "advicepath: s.json: no theme 'dusk' (it has day large night)\n");
}

TEST_F(CProgramTest, ThemeGivesThePictureItsBackground) {
  ASSERT_EQ(Run("style --out s.json").status, 0);
  const struct {
    const char* theme;
    std::uint32_t background;  // Cairo's 0x00RRGGBB
  } kCases[] = {{"day", 0xF3F1ECu}, {"night", 0x101218u}};
  for (const auto& c : kCases) {
    const CRun run =
        Run(std::string("render --style s.json --size 64x48 --out t.png --theme ") + c.theme);
    ASSERT_EQ(run.status, 0) << run.err;
    cairo_surface_t* picture = cairo_image_surface_create_from_png((m_Dir + "/t.png").c_str());
    ASSERT_EQ(cairo_surface_status(picture), CAIRO_STATUS_SUCCESS);
    std::uint32_t corner;
    std::memcpy(&corner, cairo_image_surface_get_data(picture), 4);
    EXPECT_EQ(corner & 0xFFFFFFu, c.background) << c.theme;
    cairo_surface_destroy(picture);
  }
}

TEST_F(CProgramTest, HelpAndVersionGoToStandardOutput) {
  for (const char* arguments : {"--help", "render --help", "sheet --help", "check --help",
                                "turns --help", "style --help", "--version"}) {
    const CRun run = Run(arguments);
    EXPECT_EQ(run.status, 0) << arguments;
    EXPECT_EQ(run.err, "") << arguments;
    EXPECT_FALSE(run.out.empty()) << arguments;
  }
}

}  // namespace
