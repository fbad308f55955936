// The image view's painting: line widths and caps, colour order, the arrowhead's outline and
// fill calls, widths that are no widths, and lines reaching far beyond the picture.
#include "picture/imagemapview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "geodesy.h"

namespace {

constexpr int kSide = 200;
constexpr unsigned kWhite = 0x00FFFFFF;
constexpr unsigned kBlack = 0x00000000;
constexpr unsigned kRed = 0x000000FF;
const tagLonLat kCentre = {10.0, 50.0};

// Paints on a 200 x 200 white picture centred on kCentre.
class CImageMapViewTest : public ::testing::Test {
 protected:
  explicit CImageMapViewTest(double metresPerPixel = 1.0)
      : m_Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSide, kSide)),
        m_Cairo(cairo_create(m_Surface)),
        m_Projection(kCentre, metresPerPixel, kSide, kSide),
        m_View(m_Cairo, m_Projection) {
    cairo_set_source_rgb(m_Cairo, 1.0, 1.0, 1.0);
    cairo_paint(m_Cairo);
  }
  ~CImageMapViewTest() override {
    cairo_destroy(m_Cairo);
    cairo_surface_destroy(m_Surface);
  }

  // The point that lands on pixel position (x, y), by the inverse of Web Mercator: each
  // pixel spans metresPerPixel / cos(centre latitude) projected metres, and a projected
  // northing Y belongs to latitude 2 atan(exp(Y / R)) - pi / 2.
  tagLonLat At(double x, double y) const {
    const double radius = tool::CWebMercator::kSphereRadiusMetres;
    const double perPixel = m_Projection.MetresPerPixel() / std::cos(kCentre.lat * kPi / 180.0);
    const double centreNorthing =
        radius * std::log(std::tan(kPi / 4.0 + kCentre.lat * kPi / 360.0));
    const double northing = centreNorthing + (kSide / 2.0 - y) * perPixel;
    return {kCentre.lon + (x - kSide / 2.0) * perPixel / radius * 180.0 / kPi,
            (2.0 * std::atan(std::exp(northing / radius)) - kPi / 2.0) * 180.0 / kPi};
  }

  // The colour of pixel (column, row), as 0x00BBGGRR.
  unsigned Pixel(int column, int row) {
    cairo_surface_flush(m_Surface);
    const unsigned char* data = cairo_image_surface_get_data(m_Surface);
    const int stride = cairo_image_surface_get_stride(m_Surface);
    std::uint32_t rgb;  // native-endian 0x00RRGGBB
    std::memcpy(&rgb, data + row * stride + column * 4, sizeof rgb);
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
  }

  cairo_surface_t* m_Surface;
  cairo_t* m_Cairo;
  tool::CWebMercator m_Projection;
  tool::CImageMapView m_View;
};

TEST_F(CImageMapViewTest, LineCoversItsWidthAndRoundCapsAndNoMore) {
  // Along y = 100 (between rows 99 and 100) from x = 50 to 150, 10 pixels wide: rows 95 to
  // 104, and round caps of radius 5 beyond each end.
  const std::vector<tagLonLat> line = {At(50, 100), At(150, 100)};
  m_View.DrawPolyline(line.data(), 2, 0, kRed, 10);
  const struct {
    int column, row;
    unsigned color;
  } kCases[] = {
      {100, 95, kRed},  {100, 104, kRed}, {100, 93, kWhite},  {100, 106, kWhite},
      {152, 100, kRed}, {47, 99, kRed},   {157, 100, kWhite}, {42, 99, kWhite},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Pixel(c.column, c.row), c.color) << c.column << ", " << c.row;
  }
}

TEST_F(CImageMapViewTest, ColourIsReadAsBlueGreenRed) {
  const std::vector<tagLonLat> line = {At(50, 100), At(150, 100)};
  m_View.DrawPolyline(line.data(), 2, 0, 0x00FF8000, 10);
  EXPECT_EQ(Pixel(100, 100), 0x00FF8000u);
}

TEST_F(CImageMapViewTest, OutlineCallStrokesTheClosedTriangleAtTheThirdValue) {
  // The head outline as the renderer calls it: the third value 6 is the width, the fifth is
  // the colour (white here), which must not be taken for a width.
  const std::vector<tagLonLat> head = {At(100, 40), At(160, 160), At(40, 160)};
  m_View.DrawPolyline(head.data(), 3, 6, kBlack, static_cast<int>(kWhite));
  EXPECT_EQ(Pixel(70, 100), kBlack);   // on the closing side, from the last corner to the first
  EXPECT_EQ(Pixel(100, 162), kBlack);  // 2 of the 3 outer pixels of the bottom side
  EXPECT_EQ(Pixel(100, 165), kWhite);
  EXPECT_EQ(Pixel(100, 120), kWhite);  // inside: outlined, not filled
}

TEST_F(CImageMapViewTest, FillCallPaintsTheAreaAndIgnoresTheOtherValues) {
  const std::vector<tagLonLat> head = {At(100, 40), At(160, 160), At(40, 160)};
  m_View.DrawPolygon(head.data(), 3, 6, kRed, static_cast<int>(kRed));
  EXPECT_EQ(Pixel(100, 120), kRed);
  EXPECT_EQ(Pixel(100, 158), kRed);
  EXPECT_EQ(Pixel(100, 162), kWhite);
  EXPECT_EQ(Pixel(20, 120), kWhite);
}

TEST_F(CImageMapViewTest, WidthsThatAreNoWidthsDrawNothing) {
  const std::vector<tagLonLat> line = {At(20, 100), At(180, 100)};
  for (const int width : {0, -3, tool::kMaxLineWidthPx + 1, 0x00FFFFFF}) {
    m_View.DrawPolyline(line.data(), 2, 0, kRed, width);
  }
  m_View.DrawPolyline(line.data(), 1, 0, kRed, 10);
  m_View.DrawPolyline(nullptr, 2, 0, kRed, 10);
  const tagLonLat notANumber[] = {{10.0, std::nan("")}, {10.0, 50.0}};
  m_View.DrawPolyline(notANumber, 2, 0, kRed, 10);
  for (int row = 0; row < kSide; row += 10) EXPECT_EQ(Pixel(100, row), kWhite) << row;
}

// A centimetre per pixel: far ends of lines and corners lie millions of pixels away, where
// Cairo's own coordinates no longer reach.
class CImageMapViewFineScaleTest : public CImageMapViewTest {
 protected:
  CImageMapViewFineScaleTest() : CImageMapViewTest(0.01) {}
};

TEST_F(CImageMapViewFineScaleTest, LineFromFarBeyondThePictureIsDrawnAcrossIt) {
  const std::vector<tagLonLat> line = {At(-1e7, -1e7), At(1e7, 1e7)};
  m_View.DrawPolyline(line.data(), 2, 0, kRed, 6);
  for (int i = 5; i < kSide; i += 20) {
    EXPECT_EQ(Pixel(i, i), kRed) << i;
    EXPECT_EQ(Pixel(i, (i + 100) % kSide), kWhite) << i;
  }
}

TEST_F(CImageMapViewFineScaleTest, PolygonWithAFarCornerFillsItsVisiblePart) {
  // The part of the picture below its diagonal from the top-left corner.
  const std::vector<tagLonLat> area = {At(0, 200), At(200, 200), At(-1e7, -1e7)};
  m_View.DrawPolygon(area.data(), 3, 0, kRed, 0);
  for (int i = 5; i < kSide - 10; i += 20) {
    EXPECT_EQ(Pixel(i, i + 10), kRed) << i;
    EXPECT_EQ(Pixel(i + 10, i), kWhite) << i;
  }
}

}  // namespace
