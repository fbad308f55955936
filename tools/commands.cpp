#include "commands.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "advicepathrenderex.h"
#include "calldump.h"
#include "framedecor.h"
#include "imagefile.h"
#include "imagemapview.h"
#include "jsonread.h"
#include "logsetup.h"
#include "mapservice.h"
#include "options.h"
#include "outputfile.h"
#include "path.h"
#include "projection.h"
#include "route.h"
#include "routefile.h"
#include "sizetable.h"

namespace tool {

namespace {

// The scale index of a frame when neither the options nor the route file choose one: one
// metre per pixel on the built-in ladder, close enough to tell the roads at the turn apart
// and wide enough to show the whole arrow.
constexpr int kDefaultScaleIndex = 1;

const char kRenderHelp[] =
    R"(Usage: advicepath render [ROUTE] [options]

Draws one frame of ROUTE (a GeoJSON route file; the built-in sample without it) with the
renderer library: the route, the turn arrow and, if asked, the red line, as PNG or SVG.

Options:
  --out FILE          picture to write, .png or .svg (default route.png)
  --turn K            draw turn K of the route's "turns" (0 first)
  --enter I --exit J  draw the turn from guide I to guide J (feature indices)
  --turn-type T       turn type for --enter/--exit, 0 to 9 (1 ends the route: no arrow)
  --scale-index N     scale index of the frame, 0 to 12 (default 1, one metre per pixel)
  --sizes FILE        size table: a list of rows or {"sizes": [...], "maxTurnScale": n}
  --red-line          draw the line from the route's origin to its destination
  --size WxH          picture size in pixels (default 800x600)
  --dump-calls FILE   also write the frame's map-view calls as JSON
  --all-turns DIR     one picture per turn, DIR/turn-K.png (.svg when --out is .svg)
  --log-level LEVEL   renderer log lines on standard error: fatal, error, warn (default),
                      info or debug
  --help              this text
)";

const char kTurnsHelp[] =
    R"(Usage: advicepath turns [ROUTE]

Lists the turns of ROUTE (the built-in sample without it): index, enter and exit guides,
distance of the turn from the start, road names and note.
)";

// Everything a frame needs apart from its turn. Not copied: the colour record is filled in
// place.
struct CFrameSetup {
  const CRouteFile* route = nullptr;  // Borrowed: the loaded route
  CNavPath* path = nullptr;           // Borrowed: the path built from it
  CSizeTable sizes;                   // rows given to SetSize
  int maxTurnScale = 0;               // largest scale index of the arrow
  int scaleIndex = 0;                 // row of the ladder the view reports
  AdvicePathClrSetting colors;        // library defaults, then the route's colours
  bool redLine = false;
  int widthPx = 0;
  int heightPx = 0;
};

// The turn of one frame, and how it was chosen (for the caption).
struct CChosenTurn {
  CRouteTurn turn;
  std::string label;  // "turn 2 of 6", "guides 3 -> 4"
};

std::string RoadName(const CRouteFile& route, int guide) {
  const std::string& name = route.guides[static_cast<std::size_t>(guide)].name;
  return name.empty() ? "unnamed road" : name;
}

// The middle of the route's bounding box in longitude and latitude, degrees.
tagLonLat RouteMiddle(const CRouteFile& route) {
  tagLonLat low = route.guides.front().points.front();
  tagLonLat high = low;
  for (const CRouteGuide& guide : route.guides) {
    for (const tagLonLat& point : guide.points) {
      low = {std::min(low.lon, point.lon), std::min(low.lat, point.lat)};
      high = {std::max(high.lon, point.lon), std::max(high.lat, point.lat)};
    }
  }
  return {(low.lon + high.lon) / 2.0, (low.lat + high.lat) / 2.0};
}

bool LoadRoute(const std::string& path, CRouteFile& route, std::string& error) {
  return path.empty() ? LoadSampleRoute(route, error) : LoadRouteFile(path, route, error);
}

bool LoadSizesFile(const std::string& path, CSizeTable& table, std::string& error) {
  std::string text;
  nlohmann::json document;
  if (ReadWholeFile(path, text, error) && ParseJsonText(text, document, error) &&
      ParseSizeTable(document, table, error)) {
    return true;
  }
  error = path + ": " + error;
  return false;
}

// The size table, scale, colours and switches: options over the route file over defaults.
bool ResolveSetup(const CRenderOptions& options, const CRouteFile& route, CFrameSetup& setup,
                  std::string& error) {
  CSizeTable defaults;
  if (!LoadDefaultSizeTable(defaults, error)) return false;
  std::optional<int> maxTurnScale;
  if (!options.sizesFile.empty()) {
    if (!LoadSizesFile(options.sizesFile, setup.sizes, error)) return false;
    maxTurnScale = setup.sizes.maxTurnScale;
  } else {
    setup.sizes.rows = route.sizes ? *route.sizes : defaults.rows;
  }
  if (!maxTurnScale) maxTurnScale = route.maxTurnScale;
  if (!maxTurnScale) maxTurnScale = defaults.maxTurnScale;
  setup.maxTurnScale = maxTurnScale.value_or(0);
  setup.scaleIndex = options.scaleIndex.value_or(route.scaleIndex.value_or(kDefaultScaleIndex));
  for (std::size_t i = 0; i < kColorFields.size(); ++i) {
    if (route.colors[i]) setup.colors.*kColorFields[i].member = *route.colors[i];
  }
  setup.redLine = options.redLine || route.redLine;
  setup.widthPx = options.widthPx;
  setup.heightPx = options.heightPx;
  return true;
}

// The turn to draw: --enter/--exit, --turn K, the route's "turn", its first of "turns", or
// none. False with a message naming the route file for a turn that is not on the route.
bool ChooseTurn(const CRenderOptions& options, const CRouteFile& route,
                std::optional<CChosenTurn>& chosen, std::string& error) {
  const std::string count = std::to_string(route.turns.size());
  if (options.enter) {
    CRouteTurn turn;
    turn.enter = *options.enter;
    turn.exit = *options.exit;
    turn.type = options.turnType.value_or(0);
    if (!CheckTurn(route, turn, "--enter/--exit", error)) {
      error = route.fileName + ": " + error;
      return false;
    }
    chosen = CChosenTurn{
        turn, "guides " + std::to_string(turn.enter) + " -> " + std::to_string(turn.exit)};
  } else if (options.turn) {
    if (static_cast<std::size_t>(*options.turn) >= route.turns.size()) {
      error = route.fileName + ": --turn " + std::to_string(*options.turn) + ": the route has " +
              count + " turns";
      return false;
    }
    chosen = CChosenTurn{route.turns[static_cast<std::size_t>(*options.turn)],
                         "turn " + std::to_string(*options.turn) + " of " + count};
  } else if (route.turn) {
    chosen = CChosenTurn{*route.turn, "the file's turn"};
  } else if (!route.turns.empty()) {
    chosen = CChosenTurn{route.turns.front(), "turn 0 of " + count};
  }
  return true;
}

struct CHandleCloser {
  void operator()(AdvicePathRenderEx* handle) const { ClosePathRender(handle); }
};

// Drives the renderer through its exported interface for one frame on `view`: a handle on
// the path and the view, the size table, colours, red-line switch, the turn, one Draw.
bool DrawFrame(const CFrameSetup& setup, const std::optional<CChosenTurn>& chosen,
               Torvane::CMapService& view, std::string& error) {
  std::unique_ptr<AdvicePathRenderEx, CHandleCloser> handle(NewPathRender(setup.path, &view));
  const std::size_t rows = setup.sizes.rows.size();
  std::unique_ptr<AdvicePathSizeSetting[]> table(new AdvicePathSizeSetting[rows]);
  FillSizeSettings(setup.sizes, table.get());
  if (!handle || handle->SetSize(table.get(), static_cast<int>(rows), setup.maxTurnScale) != 1) {
    error = "the renderer refused its set-up (see the log lines above)";
    return false;
  }
  handle->SetClr(setup.colors);
  handle->EnableDrawRedLine(setup.redLine);
  if (chosen) {
    CTurnInfo turn;
    if (!turn.SetFromPath(*setup.path, chosen->turn.enter, chosen->turn.exit,
                          static_cast<NAV_TURN_TYPE_tag>(chosen->turn.type))) {
      error = "the path refused the turn's guides";
      return false;
    }
    handle->SetTurnInfo(turn, setup.path);
  }
  handle->Draw(setup.route->drawRoute, setup.route->drawArrow);
  return true;
}

CFrameLabels Labels(const CFrameSetup& setup, const std::optional<CChosenTurn>& chosen,
                    double metresPerPixel) {
  const CRouteFile& route = *setup.route;
  const int last = static_cast<int>(route.guides.size()) - 1;
  CFrameLabels labels;
  char scale[96];
  std::snprintf(scale, sizeof scale, "scale index %d (%g m per pixel)", setup.scaleIndex,
                metresPerPixel);
  if (chosen) {
    const CRouteTurn& turn = chosen->turn;
    char at[48];
    std::snprintf(at, sizeof at, "%.0f m from the start", DistanceToEndOfGuide(route, turn.enter));
    labels.title = RoadName(route, turn.enter) + " \u2192 " + RoadName(route, turn.exit);
    labels.subtitle = turn.note;
    labels.details = chosen->label + " \u00b7 " + at + " \u00b7 " + scale;
  } else {
    labels.title = RoadName(route, 0) + " \u2192 " + RoadName(route, last);
    labels.details = std::string("no turn \u00b7 ") + scale;
  }
  labels.attribution = route.attribution;
  return labels;
}

// Draws one frame into the picture `outPath` and, when `dumpPath` is not empty, writes its
// calls there. Neither file appears unless both were written.
bool RenderFrame(const CFrameSetup& setup, const std::optional<CChosenTurn>& chosen,
                 const std::string& outPath, const std::string& dumpPath, std::string& error) {
  const std::vector<double> ladder = Torvane::CDisplayListMapView::DefaultLadder();
  const CRouteFile& route = *setup.route;
  const tagLonLat centre =
      chosen ? route.guides[static_cast<std::size_t>(chosen->turn.enter)].points.back()
             : RouteMiddle(route);
  const CWebMercator projection(centre, ScaleForIndex(ladder, setup.scaleIndex), setup.widthPx,
                                setup.heightPx);
  CImageFile image;
  COutputFile dump;
  if (!image.Open(outPath, setup.widthPx, setup.heightPx, error) ||
      (!dumpPath.empty() && !dump.Open(dumpPath, error))) {
    return false;
  }
  cairo_t* cr = image.Context();
  PaintBackground(cr, projection);
  CImageMapView view(cr, projection, ladder);
  CCallDumpView recorder(view);
  if (!DrawFrame(setup, chosen, recorder, error)) return false;
  PaintEndpoints(cr, projection, route.origin, route.dest);
  PaintLabels(cr, projection, Labels(setup, chosen, projection.MetresPerPixel()));
  if (!dumpPath.empty() && !dump.Write(FormatCallDump(recorder.Calls()), error)) return false;
  return image.Commit(error) && (dumpPath.empty() || dump.Commit(error));
}

// One picture per turn of the route, DIR/turn-K.png (or .svg), DIR made when missing.
bool RenderAllTurns(const CRenderOptions& options, const CFrameSetup& setup, std::string& error) {
  const CRouteFile& route = *setup.route;
  if (route.turns.empty()) {
    error = route.fileName + ": the route has no turns to draw";
    return false;
  }
  if (::mkdir(options.allTurnsDir.c_str(), 0777) != 0 && errno != EEXIST) {
    error = options.allTurnsDir + ": cannot make the directory: " + std::strerror(errno);
    return false;
  }
  CImageFormat format = CImageFormat::kPng;
  ImageFormatForPath(options.out, format);
  const char* extension = format == CImageFormat::kSvg ? ".svg" : ".png";
  const std::string count = std::to_string(route.turns.size());
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const std::optional<CChosenTurn> chosen =
        CChosenTurn{route.turns[k], "turn " + std::to_string(k) + " of " + count};
    const std::string out = options.allTurnsDir + "/turn-" + std::to_string(k) + extension;
    if (!RenderFrame(setup, chosen, out, std::string(), error)) return false;
  }
  return true;
}

}  // namespace

void ReportError(const std::string& message) { std::cerr << "advicepath: " << message << '\n'; }

int RunRender(const std::vector<std::string>& args) {
  CRenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, options, error)) {
    ReportError("render: " + error + " (see advicepath render --help)");
    return kExitBadInput;
  }
  if (options.help) {
    std::cout << kRenderHelp;
    return kExitOk;
  }
  int priority = 0;
  ParseLogLevel(options.logLevel, priority);
  SetUpLogging(priority);
  CRouteFile route;
  CFrameSetup setup;
  std::optional<CChosenTurn> chosen;
  if (!LoadRoute(options.route, route, error) || !ResolveSetup(options, route, setup, error) ||
      !ChooseTurn(options, route, chosen, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  CNavPath path;
  if (!BuildPath(route, path)) {
    ReportError(route.fileName + ": the path refused a guide");
    return kExitBadInput;
  }
  GetRouteManager().GetPathManager().SetOrgPoint(route.origin);
  GetRouteManager().GetPathManager().SetDestPoints({route.dest});
  setup.route = &route;
  setup.path = &path;
  const bool done = options.allTurnsDir.empty()
                        ? RenderFrame(setup, chosen, options.out, options.dumpCalls, error)
                        : RenderAllTurns(options, setup, error);
  if (!done) {
    ReportError(error);
    return kExitBadInput;
  }
  return kExitOk;
}

int RunTurns(const std::vector<std::string>& args) {
  CTurnsOptions options;
  std::string error;
  if (!ParseTurnsOptions(args, options, error)) {
    ReportError("turns: " + error + " (see advicepath turns --help)");
    return kExitBadInput;
  }
  if (options.help) {
    std::cout << kTurnsHelp;
    return kExitOk;
  }
  CRouteFile route;
  if (!LoadRoute(options.route, route, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  std::printf("turn  guides     at (m)  roads\n");
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const CRouteTurn& turn = route.turns[k];
    const std::string roads = RoadName(route, turn.enter) + " -> " + RoadName(route, turn.exit);
    std::printf("%4zu  %3d -> %-3d %7.0f  %s%s%s\n", k, turn.enter, turn.exit,
                DistanceToEndOfGuide(route, turn.enter), roads.c_str(),
                turn.note.empty() ? "" : "  # ", turn.note.c_str());
  }
  if (route.turns.empty()) std::printf("(the route lists no turns)\n");
  return kExitOk;
}

}  // namespace tool
