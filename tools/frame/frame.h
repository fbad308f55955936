// The frame: the stage of the advicepath program that every command (render, sheet, check)
// and the tests run. It resolves a frame's set-up (options over the route file over the
// defaults), chooses the turn or turns, drives the renderer library through its exported
// interface on a map view, measures the arrow the library draws, places the picture, and
// paints a frame into a canvas while collecting its calls.
//
// Process-wide state touched: the route manager's origin and destination, set before each
// frame is drawn. One thread.
#ifndef ADVICEPATH_TOOLS_FRAME_FRAME_H_
#define ADVICEPATH_TOOLS_FRAME_FRAME_H_

#include <optional>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "commandline/options.h"
#include "input/routefile.h"
#include "input/sizetable.h"
#include "mapservice.h"
#include "path.h"
#include "picture/canvas.h"
#include "picture/clip.h"
#include "picture/projection.h"

namespace tool {

// The scale index of a frame when neither the options nor the route file choose one: one
// metre per pixel on the default ladder, close enough to tell the roads at a turn apart.
constexpr int kDefaultScaleIndex = 1;

// A turn to draw, and how it was chosen (for captions and messages).
struct CChosenTurn {
  CRouteTurn turn;
  std::string label;  // "turn 2 of 6", "guides 3 -> 4", "the file's turn"
};

// Everything the frames of one command share. Owns the route and its path; not copied, since
// the renderer borrows the path while it draws.
struct CFrameSetup {
  CFrameSetup() = default;
  CFrameSetup(const CFrameSetup&) = delete;
  CFrameSetup& operator=(const CFrameSetup&) = delete;

  CRouteFile route;                     // the loaded route file
  CNavPath path;                        // its guides, one edge each
  CSizeTable sizes;                     // rows given to SetSize
  int maxTurnScale = 0;                 // largest scale index of the arrow
  int scaleIndex = kDefaultScaleIndex;  // the frame's scale index, for one-frame commands
  AdvicePathClrSetting colors;          // library defaults, then the route file's colours
  bool redLine = false;                 // whether the red line is drawn
  CCenter center = CCenter::kArrow;     // what the middle of each picture shows
  std::vector<double> ladder;           // the view's scale bounds, metres per pixel, ascending
};

// Where a frame's picture lies and where the library's arrow lies in it.
struct CFramePlan {
  CWebMercator projection{{0.0, 0.0}, 1.0, 1, 1};  // the picture's
  bool arrowDrawn = false;       // whether the library drew an arrow for the turn at this scale
  CRect arrowBox{0, 0, 0, 0};    // pixels: strokes and head with half their widths
  CRect overflowPx{0, 0, 0, 0};  // how far the arrow runs out past each side; 0 when inside

  // The largest of the four overflows, pixels; 0 when the arrow fits (or none was drawn).
  double MaxOverflowPx() const;
};

// Reads the route file `options.route` (the built-in sample when empty), builds its path and
// resolves the rest: the size table (--sizes, else the file's, else the default), the
// largest turn scale (the --sizes file's, else the route file's, else the default table's),
// the scale index (--scale-index, else the file's, else kDefaultScaleIndex), colours,
// red line and centring. False with a message naming the file for a file that cannot be
// read or is not a route or size table, or a guide the path refuses; `setup` is then
// undefined.
bool LoadFrameSetup(const CCommandOptions& options, CFrameSetup& setup, std::string& error);

// The turn of a one-frame command: --enter/--exit, --turn K, the route's "turn", the first of
// its "turns", or none (`chosen` empty). False with a message naming the route file for a
// turn that is not on the route.
bool ChooseTurn(const CCommandOptions& options, const CFrameSetup& setup,
                std::optional<CChosenTurn>& chosen, std::string& error);

// The turns of a many-frame command: those of --turns, else all of the route's "turns", in
// that order. False with a message naming the route file for an index past the list.
bool ChooseTurns(const CCommandOptions& options, const CFrameSetup& setup,
                 std::vector<CChosenTurn>& turns, std::string& error);

// Draws one frame on `view` through the renderer's exported interface, as an application
// would: a handle on the setup's path and `view` (both borrowed for the call), SetSize with
// the table and the largest turn scale, SetClr, EnableDrawRedLine, SetTurnInfo with `turn`
// (none when null), one Draw with the route file's flags, ClosePathRender. The scale index is
// the view's: it reports it through GetScale and GetScaleIndex. False with a message when the
// renderer refuses the size table or the path refuses the turn's guides.
bool DrawFrame(const CFrameSetup& setup, const CRouteTurn* turn, Torvane::CMapService& view,
               std::string& error);

// Draws the arrow alone (no route, no red line) of `turn` at `scaleIndex`, on a recording view
// that reports the ladder's bound for that index, and returns its calls: the strokes in two
// passes and the head's outline and fill, or none when the library draws no arrow there
// (beyond the largest turn scale, a turn type of 1, a window it cannot build). False as
// DrawFrame.
bool RecordArrow(const CFrameSetup& setup, const CRouteTurn& turn, int scaleIndex,
                 std::vector<Torvane::CDrawCall>& calls, std::string& error);

// The box, in pixels of `projection`, that the calls paint, as the picture's view paints
// them: lines widened by half their width (half the outline width for the head's outline),
// areas as they are. False when no call paints anything.
bool PaintedBox(const std::vector<Torvane::CDrawCall>& calls, const CWebMercator& projection,
                CRect& box);

// Places a picture of widthPx x heightPx pixels at `scaleIndex`, shown at the ladder's bound
// for it, and centred as setup.center says: on the middle of the arrow's painted box (its
// strokes and head, drawn by the library), on the turn node when the library draws no arrow,
// on the route's bounding box without a turn. `turn` may be null. False as DrawFrame.
bool PlanFrame(const CFrameSetup& setup, const CRouteTurn* turn, int scaleIndex, int widthPx,
               int heightPx, CFramePlan& plan, std::string& error);

// Draws one frame into `cell` of `canvas` through plan.projection (sized as the cell): the
// background, the library's calls, the route's two ends. When `calls` is not null the
// frame's calls are copied there too. The frame stays open for its decorations (PaintLabels
// or PaintCaption) until the caller's EndFrame. False as DrawFrame.
bool PaintFrame(const CFrameSetup& setup, const CRouteTurn* turn, const CFramePlan& plan,
                CCanvas& canvas, const CCell& cell, std::vector<Torvane::CDrawCall>* calls,
                std::string& error);

// The point (degrees) a turn node lies at: the last point of the turn's enter guide.
tagLonLat TurnNode(const CFrameSetup& setup, const CRouteTurn& turn);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_FRAME_H_
