// A frame's set-up: everything the frames of one command share, resolved from what the
// command asks for (a request of values, never the command line) over the route file over
// the built-in defaults.
//
// Process-wide state: none here (the route manager is set when a frame is recorded). One
// thread.
#ifndef ADVICEPATH_TOOLS_FRAME_SETUP_H_
#define ADVICEPATH_TOOLS_FRAME_SETUP_H_

#include <optional>
#include <string>

#include "advicepathrenderex.h"
#include "frame/ladder.h"
#include "input/routefile.h"
#include "input/routereader.h"
#include "input/sizetable.h"
#include "input/style.h"
#include "path.h"

namespace tool {

// The scale index of a frame when neither the request nor the route file choose one: one
// metre per pixel on the default ladder, close enough to tell the roads at a turn apart.
constexpr int kDefaultScaleIndex = 1;

// The pictures' background when no style gives one, 0x00BBGGRR: a warm light grey, like
// paper (red 243, green 241, blue 236).
constexpr unsigned kDefaultBackgroundColor = 0x00ECF1F3u;

// What the middle of a frame's picture shows.
enum class CCenter {
  kArrow,  // the middle of the arrow's extent (strokes and head); the turn node when no arrow
  kTurn,   // the turn node (the end of the enter guide)
  kRoute,  // the middle of the route's bounding box
};

// Each centre's name on the command line and in the program's words.
struct CCenterName {
  CCenter center;
  const char* name;   // "arrow"
  const char* words;  // "the arrow"
};
constexpr CCenterName kCenterNames[] = {{CCenter::kArrow, "arrow", "the arrow"},
                                        {CCenter::kTurn, "turn", "the turn node"},
                                        {CCenter::kRoute, "route", "the route"}};

// What a command asks of the set-up; absent values leave the route file's or the defaults.
struct CSetupRequest {
  std::string route;              // route file in any format read, "-" standard input; empty:
                                  // the built-in sample
  CReadOptions read;              // how to read a router's answer
  std::string sizesFile;          // size table file; empty: the route file's, else the default
  std::string styleFile;          // style file (input/style.h); empty: none
  std::string theme;              // the style's theme to draw; empty: its default theme
  std::optional<int> scaleIndex;  // the one-frame commands' scale index
  bool redLine = false;           // draw the red line even when the file does not ask
  CCenter center = CCenter::kArrow;
};

// Everything the frames of one command share. Owns the route and its path; not copied, since
// the renderer borrows the path while it draws.
struct CFrameSetup {
  CFrameSetup() = default;
  CFrameSetup(const CFrameSetup&) = delete;
  CFrameSetup& operator=(const CFrameSetup&) = delete;

  CRouteFile route;                               // the loaded route file
  CNavPath path;                                  // its guides, one edge each
  CSizeTable sizes;                               // rows given to SetSize
  int maxTurnScale = 0;                           // largest scale index of the arrow
  int scaleIndex = kDefaultScaleIndex;            // the frame's scale index, for one-frame commands
  AdvicePathClrSetting colors;                    // library defaults, then the route file's colours
  unsigned background = kDefaultBackgroundColor;  // the pictures' background, 0x00BBGGRR
  std::optional<CStyle> style;                    // the request's style file, when it names one
  std::string theme;                              // the theme drawn; empty without a style
  bool redLine = false;                           // whether the red line is drawn
  CCenter center = CCenter::kArrow;               // what the middle of each picture shows
  CScaleLadder ladder = CScaleLadder::Default();  // the pictures' scale of each index
};

// Reads the route `request.route` (input/routereader.h: any format, recognised by content; the
// built-in sample when empty) and resolves the set-up with BuildFrameSetup. False with
// "<file>: <problem>" for a file that cannot be read or is not a route or size table, or as
// BuildFrameSetup; `setup` is then undefined.
bool LoadFrameSetup(const CSetupRequest& request, CFrameSetup& setup, std::string& error);

// Takes `route` and resolves the rest: the size table (the request's file, else the route's,
// else the default), the largest turn scale (the request's size file's, else the route
// file's, else the default table's), the scale index (the request's, else the file's, else
// kDefaultScaleIndex), colours, red line and centring; builds the path. With a style file,
// its theme (the request's, else the style's default) gives the table, the largest turn scale,
// the colours and the background instead. False with a message naming the route file for a
// scale index past the ladder or a guide the path refuses, naming the style file when it
// cannot be read or has no such theme, or saying that --sizes and --style do not go together.
bool BuildFrameSetup(CRouteFile route, const CSetupRequest& request, CFrameSetup& setup,
                     std::string& error);

// Gives `setup` the table, largest turn scale, colours and background of `theme`, a theme of
// `style`.
void ApplyTheme(const CStyle& style, const CTheme& theme, CFrameSetup& setup);

// The point (degrees) a turn node lies at: the last point of the turn's enter guide.
tagLonLat TurnNode(const CRouteFile& route, const CRouteTurn& turn);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_SETUP_H_
