// Draws one frame of a small route into an SVG picture with a map view that really paints:
// written from docs/host-guide.md alone, as a check that the guide is enough to embed the
// library. Usage: svg_frame [OUT.svg] (default: standard output).
#include <advicepathrender/advicepathrenderex.h>
#include <advicepathrender/outside/mapservice.h>
#include <advicepathrender/outside/path.h>
#include <advicepathrender/outside/route.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A view that writes each call as an SVG element, in call order (later over earlier).
class SvgView : public Torvane::CMapService {
 public:
  SvgView(tagLonLat centre, double metresPerPixel, int widthPx, int heightPx)
      : m_Centre(centre), m_MetresPerPixel(metresPerPixel), m_Width(widthPx), m_Height(heightPx) {}

  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override {
    // A positive third value is the arrowhead outline: close it, `style` pixels wide. The
    // fifth value repeats the colour there and is no width.
    if (style > 0) {
      Element(
          "polygon", points, count,
          "fill='none' stroke='" + Rgb(color) + "' stroke-width='" + std::to_string(style) + "'");
      return;
    }
    Element("polyline", points, count,
            "fill='none' stroke='" + Rgb(color) + "' stroke-width='" + std::to_string(width) +
                "' stroke-linejoin='round' stroke-linecap='round'");
  }
  void DrawPolygon(const tagLonLat* points, int count, int, unsigned color, int) override {
    Element("polygon", points, count, "fill='" + Rgb(color) + "'");
  }
  double GetScale() override { return m_MetresPerPixel; }
  int GetScaleIndex(double) override { return 0; }

  std::string Svg() const {
    return "<svg xmlns='http://www.w3.org/2000/svg' width='" + std::to_string(m_Width) +
           "' height='" + std::to_string(m_Height) + "'><rect width='100%' height='100%' " +
           "fill='#e8e4d8'/>" + m_Body + "</svg>\n";
  }

 private:
  // 0x00BBGGRR to #RRGGBB.
  static std::string Rgb(unsigned color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color & 0xFFu, (color >> 8) & 0xFFu,
                  (color >> 16) & 0xFFu);
    return text;
  }
  void Element(const char* name, const tagLonLat* points, int count, const std::string& attrs) {
    const double metresPerDegreeLat = 111320.0;
    const double metresPerDegreeLon = metresPerDegreeLat * std::cos(m_Centre.lat * kPi / 180.0);
    m_Body += std::string("<") + name + " points='";
    for (int i = 0; i < count; ++i) {
      const double x =
          m_Width / 2.0 + (points[i].lon - m_Centre.lon) * metresPerDegreeLon / m_MetresPerPixel;
      const double y =
          m_Height / 2.0 + (m_Centre.lat - points[i].lat) * metresPerDegreeLat / m_MetresPerPixel;
      char pair[64];
      std::snprintf(pair, sizeof pair, "%.1f,%.1f ", x, y);
      m_Body += pair;
    }
    m_Body += "' " + attrs + "/>";
  }

  tagLonLat m_Centre;       // degrees, the picture's middle
  double m_MetresPerPixel;  // scale
  int m_Width;              // pixels
  int m_Height;             // pixels
  std::string m_Body;       // the elements so far
};

CPathGuideInput Road(tagLonLat from, tagLonLat to) {
  CPathGuideInput road;
  road.points = {from, to};
  return road;
}

}  // namespace

int main(int argc, char** argv) {
  CNavPath path;
  path.AddGuide(Road({8.5400, 47.3700}, {8.5415, 47.3700}));  // east
  path.AddGuide(Road({8.5415, 47.3700}, {8.5415, 47.3710}));  // left turn, north
  path.AddGuide(Road({8.5415, 47.3710}, {8.5400, 47.3720}));  // north-west
  CTurnInfo turn;
  if (!turn.SetFromPath(path, 0, 1, NAV_TURN_LEFT)) return 1;

  SvgView view({8.5410, 47.3707}, 0.5, 400, 400);
  AdvicePathRenderEx* render = NewPathRender(&path, static_cast<Torvane::CMapService*>(&view));
  if (render == nullptr) return 1;
  AdvicePathSizeSetting row = {10, 14, 12, 16, 0, 3, 30, 40, 5, 15, 11};
  if (render->SetSize(&row, 1, 0) != 1) return 1;
  render->SetTurnInfo(turn, &path);
  render->Draw(true, true);
  ClosePathRender(render);

  const std::string svg = view.Svg();
  std::FILE* out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
  if (out == nullptr) return 1;
  std::fputs(svg.c_str(), out);
  return (argc > 1 ? std::fclose(out) : 0) == 0 ? 0 : 1;
}
