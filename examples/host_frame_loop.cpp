// A host's frame loop, the way docs/host-guide.md tells it: a map view of the host's own, a
// route of five roads with two manoeuvres, a size table of three rows, and eight frames that
// zoom, pass the turns and end at the destination. Each frame prints what the view was
// asked to paint, one line per frame.
#include <advicepathrender/advicepathrenderex.h>
#include <advicepathrender/outside/mapservice.h>
#include <advicepathrender/outside/path.h>
#include <advicepathrender/outside/route.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// [guide:view]
constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;  // along a meridian, near enough for a screen

// The host's map view: projects degrees to pixels around a centre at a given scale, and
// here only counts what it would paint. The renderer calls it inside Draw only.
class MyView : public Torvane::CMapService {
 public:
  MyView(tagLonLat centre, double metresPerPixel)
      : m_Centre(centre), m_MetresPerPixel(metresPerPixel) {}

  // Route edges, arrow strokes, the arrowhead's outline and the red line. `points` (degrees)
  // is borrowed for this call only. `style` is 0, except for the arrowhead outline: the
  // row's arrowHeadBorderParam. `width` is pixels, except for the arrowhead outline, where
  // it repeats `color` (0x00BBGGRR).
  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override {
    if (style != 0) {
      ++m_HeadOutlines;  // three corners: paint them as a closed outline, not an open line
    } else if (color == kRouteColor || color == kRouteBorderColor) {
      ++m_RouteEdges;
    } else if (color == kRedLineColor && width == 2) {
      ++m_RedLines;
    } else {
      ++m_Strokes;
      for (int i = 0; i < count; ++i) Widen(points[i]);
    }
  }
  // The filled arrowhead only: three corners, `style` the row's arrowHeadParam, `width`
  // repeating `color`.
  void DrawPolygon(const tagLonLat* points, int count, int, unsigned, int) override {
    ++m_HeadFills;
    for (int i = 0; i < count; ++i) Widen(points[i]);
  }
  // First call of every Draw: the current scale, handed back to GetScaleIndex.
  double GetScale() override {
    m_RouteEdges = m_Strokes = m_HeadOutlines = m_HeadFills = m_RedLines = 0;
    m_Left = m_Top = 1e9;
    m_Right = m_Bottom = -1e9;
    return m_MetresPerPixel;
  }
  // The size table's row for that scale: rows end at 1, 2 and 5 metres per pixel.
  int GetScaleIndex(double metresPerPixel) override {
    const double rowEnds[] = {1.0, 2.0, 5.0};
    int row = 0;
    while (row < 3 && metresPerPixel > rowEnds[row]) ++row;
    return row;  // 3 past the table: the renderer falls back to row 5, or its last row
  }

  // Host side: the map's scale, and where a point lands, in pixels right and down from the
  // picture's centre.
  void SetMetresPerPixel(double metresPerPixel) { m_MetresPerPixel = metresPerPixel; }
  void ToPixel(const tagLonLat& at, double& x, double& y) const {
    const double metresPerDegreeLon = kMetresPerDegree * std::cos(m_Centre.lat * kPi / 180.0);
    x = (at.lon - m_Centre.lon) * metresPerDegreeLon / m_MetresPerPixel;
    y = (m_Centre.lat - at.lat) * kMetresPerDegree / m_MetresPerPixel;
  }
  void Report(int frame) const {
    std::printf(
        "frame %d: %d route edges, %d arrow strokes, %d head outlines, %d head fills,"
        " %d red lines",
        frame, m_RouteEdges, m_Strokes, m_HeadOutlines, m_HeadFills, m_RedLines);
    if (m_Strokes > 0) std::printf(", arrow %.0f x %.0f px", m_Right - m_Left, m_Bottom - m_Top);
    std::printf("\n");
  }

  static constexpr unsigned kRouteColor = 0x000711F5;
  static constexpr unsigned kRouteBorderColor = 0x0092121B;
  static constexpr unsigned kRedLineColor = 0x000000FF;  // the red line's colour and width 2

 private:
  // Grows the arrow's box in pixels by one point.
  void Widen(const tagLonLat& at) {
    double x = 0.0;
    double y = 0.0;
    ToPixel(at, x, y);
    m_Left = std::fmin(m_Left, x);
    m_Right = std::fmax(m_Right, x);
    m_Top = std::fmin(m_Top, y);
    m_Bottom = std::fmax(m_Bottom, y);
  }

  tagLonLat m_Centre;       // degrees
  double m_MetresPerPixel;  // the map's scale
  int m_RouteEdges = 0;     // this frame's route polylines, both passes
  int m_Strokes = 0;        // this frame's arrow strokes, both passes
  int m_HeadOutlines = 0;   // this frame's arrowhead outlines
  int m_HeadFills = 0;      // this frame's filled arrowheads
  int m_RedLines = 0;       // this frame's red lines
  double m_Left = 0.0;      // the arrow's box this frame, pixels from the centre
  double m_Top = 0.0;
  double m_Right = 0.0;
  double m_Bottom = 0.0;
};
// [/guide:view]

// [guide:road]
// A guide of the route: a road of two points in the direction of travel. Its reference
// point, which identifies it, is its first point.
CPathGuideInput Road(tagLonLat from, tagLonLat to, const char* name) {
  CPathGuideInput road;
  road.points = {from, to};  // degrees, longitude first
  road.name = name;
  return road;
}
// [/guide:road]

}  // namespace

int main() {
  // [guide:setup]
  // The route: five roads of about 110 m in travel order. The path must outlive every
  // handle that draws it, and gets no guide added while one does.
  CNavPath path;
  path.AddGuide(Road({11.5750, 48.1370}, {11.5765, 48.1370}, "Avenue"));       // 0
  path.AddGuide(Road({11.5765, 48.1370}, {11.5780, 48.1370}, "Avenue"));       // 1
  path.AddGuide(Road({11.5780, 48.1370}, {11.5780, 48.1360}, "Side Street"));  // 2
  path.AddGuide(Road({11.5780, 48.1360}, {11.5780, 48.1350}, "Side Street"));  // 3
  path.AddGuide(Road({11.5780, 48.1350}, {11.5795, 48.1350}, "Quay"));         // 4
  // The red line's ends come from the process-wide route manager.
  GetRouteManager().GetPathManager().SetOrgPoint({11.5750, 48.1370});
  GetRouteManager().GetPathManager().SetDestPoints({{11.5795, 48.1350}});

  MyView view({11.5780, 48.1365}, 1.0);
  AdvicePathRenderEx* render = NewPathRender(&path, &view);  // the view is borrowed too
  if (render == nullptr) return 1;

  // Widths in pixels, lengths in metres; row i for scale index i. The arrow is drawn up to
  // scale index 1.
  AdvicePathSizeSetting sizes[3] = {
      // path, border, arrow, border, head, outline, exit, enter, tolerance, head, half width
      {12, 16, 14, 18, 0, 4, 30, 40, 5, 15, 11},
      {10, 14, 12, 16, 0, 4, 60, 80, 10, 28, 20},
      {9, 13, 12, 16, 0, 4, 120, 160, 20, 56, 40},
  };
  if (render->SetSize(sizes, 3, 1) != 1) return 1;  // the table is copied
  render->SetClr(
      AdvicePathClrSetting(MyView::kRouteColor, MyView::kRouteBorderColor, 0x00FFFFFF, 0x00000000));
  render->EnableDrawRedLine(true);
  // [/guide:setup]

  // [guide:loop]
  const double scaleOfFrame[8] = {1.0, 1.0, 2.0, 4.0, 1.0, 1.0, 1.0, 1.0};
  for (int frame = 0; frame < 8; ++frame) {
    if (frame == 0) {  // a new manoeuvre: right from the Avenue into the Side Street
      CTurnInfo turn;
      if (!turn.SetFromPath(path, 1, 2, NAV_TURN_RIGHT)) return 1;
      render->SetTurnInfo(turn, &path);  // copies the turn, walks the path to it
    }
    if (frame == 4) {  // the next one: left from the Side Street onto the Quay
      CTurnInfo turn;
      if (!turn.SetFromPath(path, 3, 4, NAV_TURN_LEFT)) return 1;
      render->SetTurnInfo(turn, &path);
    }
    if (frame == 6) render->ClearBigArrow();  // the turn is behind: no arrow until the next
    if (frame == 7) render->Clear();          // arrived: no route, no turn
    view.SetMetresPerPixel(scaleOfFrame[frame]);
    render->Draw(true, true);  // route, arrow when the scale allows, red line when enabled
    view.Report(frame);
  }
  // [/guide:loop]

  return ClosePathRender(render) ? 0 : 1;
}
