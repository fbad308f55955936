// A minimal application of the route-guidance renderer: it builds a small route and a turn
// with the outside-service layer, draws one frame into a map view that prints the calls it
// receives, and closes the handle.
#include <advicepathrender/advicepathrenderex.h>
#include <advicepathrender/outside/mapservice.h>
#include <advicepathrender/outside/path.h>
#include <advicepathrender/outside/route.h>

#include <cstdio>

namespace {

// A map view that prints every call: where a real application would paint.
class PrintingView : public Torvane::CMapService {
 public:
  void DrawPolyline(const tagLonLat* points, int count, int style, unsigned color,
                    int width) override {
    Print("DrawPolyline", points, count, style, color, width);
  }
  void DrawPolygon(const tagLonLat* points, int count, int style, unsigned color,
                   int width) override {
    Print("DrawPolygon", points, count, style, color, width);
  }
  double GetScale() override { return 2.0; }        // metres per pixel
  int GetScaleIndex(double) override { return 0; }  // the size table's only row

 private:
  static void Print(const char* op, const tagLonLat* points, int count, int style, unsigned color,
                    int width) {
    std::printf("%s count=%d style=%d color=0x%06X width=%d first=(%.6f, %.6f)\n", op, count, style,
                color, width, points[0].lon, points[0].lat);
  }
};

// A guide of two points, its reference point its first.
CPathGuideInput Guide(tagLonLat from, tagLonLat to, const char* name) {
  CPathGuideInput guide;
  guide.points = {from, to};
  guide.name = name;
  return guide;
}

}  // namespace

int main() {
  // Three roads of about 110 m: east, east again, then a right turn south.
  CNavPath path;
  path.AddGuide(Guide({11.5750, 48.1370}, {11.5765, 48.1370}, "Avenue"));
  path.AddGuide(Guide({11.5765, 48.1370}, {11.5780, 48.1370}, "Avenue"));
  path.AddGuide(Guide({11.5780, 48.1370}, {11.5780, 48.1360}, "Side Street"));
  CTurnInfo turn;
  if (!turn.SetFromPath(path, 1, 2, NAV_TURN_RIGHT)) return 1;

  PrintingView view;
  AdvicePathRenderEx* render = NewPathRender(&path, &view);
  if (render == nullptr) return 1;
  // One row: widths in pixels, then arrow lengths in metres.
  AdvicePathSizeSetting sizes[1] = {{8, 12, 10, 14, 2, 2, 40, 60, 5, 15, 10}};
  if (render->SetSize(sizes, 1, 0) != 1) return 1;
  render->SetClr(AdvicePathClrSetting());
  render->SetTurnInfo(turn, &path);
  render->Draw(true, true);
  return ClosePathRender(render) ? 0 : 1;
}
