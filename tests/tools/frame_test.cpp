// The sample's frame as the renderer library draws it through the frame module the program
// runs: the program's --dump-calls against what the library gives a recording view, the
// pixels the image view paints, and where the picture's placement puts the arrow.
#include "frame.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "calldump.h"
#include "imagemapview.h"
#include "inputfile.h"
#include "jsonread.h"
#include "mapservice.h"
#include "path.h"
#include "projection.h"
#include "recording_map_view.h"
#include "route.h"
#include "routefile.h"
#include "sizetable.h"

namespace {

using Torvane::CDrawCall;

const std::vector<double> kLadder = Torvane::CDisplayListMapView::DefaultLadder();

// The sample's frame as the program sets it up and draws it: the frame module on its
// defaults, the sample's own turn.
class CSampleFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(tool::LoadFrameSetup(tool::CCommandOptions(), m_Setup, error)) << error;
    ASSERT_TRUE(tool::ChooseTurn(tool::CCommandOptions(), m_Setup, m_Turn, error)) << error;
    ASSERT_TRUE(m_Turn.has_value());
  }
  ~CSampleFrameTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  // One frame of the sample's own turn on `view`, with the red line when `redLine`.
  void DrawSampleFrame(Torvane::CMapService& view, bool redLine) {
    m_Setup.redLine = redLine;
    std::string error;
    ASSERT_TRUE(tool::DrawFrame(m_Setup, &m_Turn->turn, view, error)) << error;
  }

  // The turn node: the last point of the guide entering the turn.
  tagLonLat TurnNode() const { return tool::TurnNode(m_Setup, m_Turn->turn); }

  tool::CFrameSetup m_Setup;
  std::optional<tool::CChosenTurn> m_Turn;
};

// Runs the program with `arguments`; its exit status.
int RunProgram(const std::string& arguments) {
  const int status = std::system((std::string(ADVICEPATH_PROGRAM) + " " + arguments).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CSampleFrameTest, DumpedCallsAreTheCallsTheLibraryGivesARecordingView) {
  const std::string dir = ::testing::TempDir();
  const std::string picture = dir + "dump_frame_" + std::to_string(::getpid()) + ".png";
  const std::string dumpPath = dir + "dump_frame_" + std::to_string(::getpid()) + ".json";
  ASSERT_EQ(RunProgram("render --scale-index 2 --red-line --out " + picture + " --dump-calls " +
                       dumpPath),
            0);
  std::string text;
  std::string error;
  nlohmann::json dump;
  ASSERT_TRUE(tool::ReadWholeFile(dumpPath, text, error)) << error;
  ASSERT_TRUE(tool::ParseJsonText(text, dump, error)) << error;
  std::remove(picture.c_str());
  std::remove(dumpPath.c_str());

  fakes::RecordingMapView recorder(2, tool::ScaleForIndex(kLadder, 2));
  DrawSampleFrame(recorder, true);
  const std::vector<CDrawCall> calls = recorder.GetCalls();
  // Route in two passes over ten guides, arrow strokes twice plus the head's two calls, and
  // the red line: far more than a handful.
  ASSERT_GT(calls.size(), 25u);
  ASSERT_EQ(dump.size(), calls.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const CDrawCall& call = calls[i];
    const nlohmann::json& item = dump[i];
    SCOPED_TRACE("call " + std::to_string(i));
    EXPECT_EQ(item["op"], call.op == CDrawCall::kPolygon ? "DrawPolygon" : "DrawPolyline");
    EXPECT_EQ(item["count"].get<int>(), call.count);
    EXPECT_EQ(item["third"].get<int>(), call.style);
    EXPECT_EQ(item["color"].get<unsigned>(), call.color);
    EXPECT_EQ(item["fifth"].get<int>(), call.width);
    ASSERT_EQ(item["points"].size(), call.points.size());
    for (std::size_t p = 0; p < call.points.size(); ++p) {
      EXPECT_EQ(item["points"][p][0].get<double>(), call.points[p].lon);
      EXPECT_EQ(item["points"][p][1].get<double>(), call.points[p].lat);
    }
  }
  EXPECT_EQ(calls.back().color, 255u);  // the red line comes last
}

// Distance in pixels from `p` to the segment a b.
double DistanceToSegment(const tool::CPixel& p, const tool::CPixel& a, const tool::CPixel& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::fmax(0.0, std::fmin(1.0, ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2))
                  : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// An 800 x 600 picture of the sample's frame at one metre per pixel, centred on the turn.
class CSampleImageTest : public CSampleFrameTest {
 protected:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  CSampleImageTest()
      : m_Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight)),
        m_Cairo(cairo_create(m_Surface)) {}
  ~CSampleImageTest() override {
    cairo_destroy(m_Cairo);
    cairo_surface_destroy(m_Surface);
  }

  // Draws the frame; the calls it made are kept in m_Calls.
  void DrawPicture() {
    m_Projection = std::make_unique<tool::CWebMercator>(TurnNode(), tool::ScaleForIndex(kLadder, 1),
                                                        kWidth, kHeight);
    cairo_set_source_rgb(m_Cairo, 1.0, 1.0, 1.0);
    cairo_paint(m_Cairo);
    tool::CImageMapView view(m_Cairo, *m_Projection, kLadder);
    tool::CCallDumpView dump(view);
    DrawSampleFrame(dump, false);
    m_Calls = dump.Calls();
    cairo_surface_flush(m_Surface);
  }

  // Draws the frame of `turn` at `scaleIndex` on a grey picture placed by the frame module,
  // as `render` places it; the placement is kept in m_Plan.
  void DrawPlanned(const tool::CRouteTurn& turn, int scaleIndex) {
    std::string error;
    ASSERT_TRUE(tool::PlanFrame(m_Setup, &turn, scaleIndex, kWidth, kHeight, m_Plan, error))
        << error;
    m_Projection = std::make_unique<tool::CWebMercator>(m_Plan.projection);
    cairo_set_source_rgb(m_Cairo, 0.5, 0.5, 0.5);
    cairo_paint(m_Cairo);
    tool::CImageMapView view(m_Cairo, *m_Projection, kLadder);
    ASSERT_TRUE(tool::DrawFrame(m_Setup, &turn, view, error)) << error;
    cairo_surface_flush(m_Surface);
  }

  // The box of the pixels in the arrow's default colours, pure black or pure white: the
  // arrow's, inset by the antialiased edge. False when there are none.
  bool ArrowPixelBox(tool::CRect& box) const {
    bool found = false;
    for (int row = 0; row < kHeight; ++row) {
      for (int column = 0; column < kWidth; ++column) {
        const unsigned color = ColorAt({column + 0.5, row + 0.5});
        if (color != 0x00000000u && color != 0x00FFFFFFu) continue;
        box = found
                  ? tool::CRect{std::min<double>(box.left, column), std::min<double>(box.top, row),
                                std::max<double>(box.right, column),
                                std::max<double>(box.bottom, row)}
                  : tool::CRect{double(column), double(row), double(column), double(row)};
        found = true;
      }
    }
    return found;
  }

  std::vector<tool::CPixel> Pixels(const CDrawCall& call) const {
    std::vector<tool::CPixel> pixels;
    for (const tagLonLat& point : call.points) pixels.push_back(m_Projection->ToPixel(point));
    return pixels;
  }

  // The colour (0x00BBGGRR) of the pixel that holds position p; 0xFFFFFFFF outside.
  unsigned ColorAt(const tool::CPixel& p) const {
    const int column = static_cast<int>(std::floor(p.x));
    const int row = static_cast<int>(std::floor(p.y));
    if (column < 0 || row < 0 || column >= kWidth || row >= kHeight) return 0xFFFFFFFFu;
    const unsigned char* data = cairo_image_surface_get_data(m_Surface);
    std::uint32_t rgb;  // native-endian 0x00RRGGBB
    std::memcpy(&rgb, data + row * cairo_image_surface_get_stride(m_Surface) + column * 4, 4);
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
  }

  cairo_surface_t* m_Surface;
  cairo_t* m_Cairo;
  std::unique_ptr<tool::CWebMercator> m_Projection;
  std::vector<CDrawCall> m_Calls;
  tool::CFramePlan m_Plan;
};

TEST_F(CSampleImageTest, ArrowColourLiesAlongTheStrokesAndRouteColourAlongTheRoute) {
  DrawPicture();
  const AdvicePathClrSetting colors;
  std::vector<std::vector<tool::CPixel>> strokes;
  for (const CDrawCall& call : m_Calls) {
    if (call.op == CDrawCall::kPolyline && call.color == colors.arrowColor) {
      strokes.push_back(Pixels(call));
    }
  }
  ASSERT_GE(strokes.size(), 2u);
  int arrowChecked = 0;
  for (const std::vector<tool::CPixel>& stroke : strokes) {
    for (std::size_t i = 1; i < stroke.size(); ++i) {
      const tool::CPixel middle = {(stroke[i - 1].x + stroke[i].x) / 2,
                                   (stroke[i - 1].y + stroke[i].y) / 2};
      if (ColorAt(middle) == 0xFFFFFFFFu) continue;
      EXPECT_EQ(ColorAt(middle), colors.arrowColor) << middle.x << ", " << middle.y;
      ++arrowChecked;
    }
  }
  EXPECT_GT(arrowChecked, 10);
  // Along the route, away from the arrow and its border, the route's inner colour shows.
  const double clearance = 12.0;
  int routeChecked = 0;
  for (const CDrawCall& call : m_Calls) {
    if (call.color != colors.pathColor) continue;
    const std::vector<tool::CPixel> line = Pixels(call);
    for (std::size_t i = 1; i < line.size(); ++i) {
      const tool::CPixel middle = {(line[i - 1].x + line[i].x) / 2,
                                   (line[i - 1].y + line[i].y) / 2};
      bool nearArrow = false;
      for (const std::vector<tool::CPixel>& stroke : strokes) {
        for (std::size_t k = 1; k < stroke.size(); ++k) {
          nearArrow = nearArrow || DistanceToSegment(middle, stroke[k - 1], stroke[k]) < clearance;
        }
      }
      if (nearArrow || ColorAt(middle) == 0xFFFFFFFFu) continue;
      EXPECT_EQ(ColorAt(middle), colors.pathColor) << middle.x << ", " << middle.y;
      ++routeChecked;
    }
  }
  EXPECT_GT(routeChecked, 10);
}

TEST_F(CSampleImageTest, ArrowheadIsFilledAndBorderedInTheBorderColour) {
  DrawPicture();
  const AdvicePathClrSetting colors;
  const CDrawCall* head = nullptr;
  for (const CDrawCall& call : m_Calls) {
    if (call.op == CDrawCall::kPolygon) head = &call;
  }
  ASSERT_NE(head, nullptr);
  ASSERT_EQ(head->points.size(), 3u);
  const std::vector<tool::CPixel> corners = Pixels(*head);
  const tool::CPixel centroid = {(corners[0].x + corners[1].x + corners[2].x) / 3,
                                 (corners[0].y + corners[1].y + corners[2].y) / 3};
  EXPECT_EQ(ColorAt(centroid), colors.arrowColor);
  // One pixel outside the middle of each side from the tip (corner 0): the outline, half of
  // whose width lies outside the head.
  for (const std::size_t corner : {1u, 2u}) {
    const tool::CPixel middle = {(corners[0].x + corners[corner].x) / 2,
                                 (corners[0].y + corners[corner].y) / 2};
    // The side's unit normal, turned to point away from the centroid.
    const double sideX = corners[corner].x - corners[0].x;
    const double sideY = corners[corner].y - corners[0].y;
    const double sideLength = std::hypot(sideX, sideY);
    double nx = -sideY / sideLength;
    double ny = sideX / sideLength;
    if (nx * (middle.x - centroid.x) + ny * (middle.y - centroid.y) < 0) {
      nx = -nx;
      ny = -ny;
    }
    EXPECT_EQ(ColorAt({middle.x + nx, middle.y + ny}), colors.arrowBorderColor) << corner;
    EXPECT_EQ(ColorAt({middle.x - 3 * nx, middle.y - 3 * ny}), colors.arrowColor) << corner;
  }
}

TEST_F(CSampleImageTest, ArrowCentringPutsTheWholeArrowInTheMiddleOfThePicture) {
  for (std::size_t k = 0; k < m_Setup.route.turns.size(); ++k) {
    for (const int scaleIndex : {1, 3, 6}) {
      SCOPED_TRACE("turn " + std::to_string(k) + ", scale index " + std::to_string(scaleIndex));
      DrawPlanned(m_Setup.route.turns[k], scaleIndex);
      EXPECT_TRUE(m_Plan.arrowDrawn);
      EXPECT_EQ(m_Plan.MaxOverflowPx(), 0.0);
      tool::CRect box;
      ASSERT_TRUE(ArrowPixelBox(box));
      // Clear of the edges, and its middle on the picture's middle (pixel (i, j) spans i to
      // i + 1), within the antialiased edge's pixel on either side.
      EXPECT_GE(box.left, 1.0);
      EXPECT_GE(box.top, 1.0);
      EXPECT_LE(box.right, kWidth - 2.0);
      EXPECT_LE(box.bottom, kHeight - 2.0);
      EXPECT_NEAR((box.left + box.right + 1.0) / 2.0, kWidth / 2.0, 2.0);
      EXPECT_NEAR((box.top + box.bottom + 1.0) / 2.0, kHeight / 2.0, 2.0);
    }
  }
}

TEST_F(CSampleImageTest, ArrowLargerThanThePictureRunsOutEquallyOnOppositeSides) {
  // Turn 3's arrow covers two whole guides: some 1100 pixels tall at half a metre per pixel.
  DrawPlanned(m_Setup.route.turns[3], 0);
  ASSERT_TRUE(m_Plan.arrowDrawn);
  EXPECT_GT(m_Plan.MaxOverflowPx(), 100.0);
  EXPECT_NEAR(m_Plan.overflowPx.left, m_Plan.overflowPx.right, 1.0);
  EXPECT_NEAR(m_Plan.overflowPx.top, m_Plan.overflowPx.bottom, 1.0);
  tool::CRect box;
  ASSERT_TRUE(ArrowPixelBox(box));
  EXPECT_EQ(box.top, 0.0);
  EXPECT_EQ(box.bottom, kHeight - 1.0);
}

}  // namespace
