// `advicepath render`: one frame of a route as a picture (or one picture per turn), with the
// frame's calls as JSON on request.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <list>

#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/plan.h"
#include "frame/record.h"
#include "frame/turns.h"
#include "output/calldump.h"
#include "output/outputfile.h"
#include "picture/canvas.h"

namespace tool {

namespace {

struct CRenderOptions {
  CSetupRequest setup;
  CTurnRequest turn;
  std::string out = "route.png";
  CPixelSize size = {800, 600};
  std::string dumpCalls;    // empty: none
  std::string allTurnsDir;  // empty: one frame
  CLogLevel log;
};

CCommandLine RenderLine(CRenderOptions& o) {
  return {
      "render",
      "advicepath render [ROUTE] [options]",
      "Draws one frame of ROUTE (a route file or a router's answer, \"-\" standard input; the\n"
      "built-in sample without it) with the renderer library: the route, the turn arrow and,\n"
      "if asked, the red line, as PNG or SVG.\n"
      "When the arrow does not fit the picture, a line on standard error says how far it runs\n"
      "out, and when the frame has no arrow, a line says why; the picture is written all the\n"
      "same.",
      Options({
          {{"--out", "FILE", "picture to write, .png or .svg (default route.png)", &o.out},
           {"--turn", "K", "draw turn K of the route's \"turns\" (0 first)", &o.turn.index, 0,
            INT_MAX},
           {"--enter", "I", "draw the turn from guide I (feature index) ...", &o.turn.enter, 0,
            INT_MAX},
           {"--exit", "J", "... to guide J (I <= J); both or neither", &o.turn.exit, 0, INT_MAX},
           {"--turn-type", "T", "turn type for --enter/--exit, 0 to 9 (1 ends the route: no arrow)",
            &o.turn.type, 0, kMaxTurnType},
           {"--scale-index", "N",
            "scale index of the frame, 0 to 12 (default 1, one metre per pixel)",
            &o.setup.scaleIndex, 0, CScaleLadder::Default().HighestIndex()},
           {"--size", "WxH", "picture size in pixels (default 800x600)", &o.size, kMinSidePx,
            kMaxSidePx},
           {"--dump-calls", "FILE", "also write the frame's map-view calls as JSON", &o.dumpCalls},
           {"--all-turns", "DIR", "one picture per turn, DIR/turn-K.png (.svg when --out is .svg)",
            &o.allTurnsDir},
           RedLineOption(o.setup.redLine)},
          SetupOptions(o.setup),
          {LogLevelOption(o.log)},
      }),
      &o.setup.route,
  };
}

// Options that are each fine but do not go together.
bool CheckCombinations(const CRenderOptions& o, std::string& error) {
  if (o.turn.index && (o.turn.enter || o.turn.exit)) {
    error = "--turn cannot be combined with --enter and --exit";
  } else if (o.turn.enter.has_value() != o.turn.exit.has_value()) {
    error = "--enter and --exit go together";
  } else if (o.turn.type && !o.turn.enter) {
    error = "--turn-type needs --enter and --exit";
  } else if (!o.dumpCalls.empty() && !o.allTurnsDir.empty()) {
    error = "--dump-calls cannot be combined with --all-turns";
  } else {
    return true;
  }
  return false;
}

// What a command run writes: the files to commit together and the lines to print once they
// are in place.
struct COutputs {
  std::list<COutputFile> files;  // a list: canvases hold on to their file
  std::vector<std::string> notes;
  std::string madeDir;  // a directory made for the files; removed again when they fail
};

// Records one frame of `chosen` (may be null) once, places it, paints it into a picture for
// `outPath` and, when `dumpPath` is not empty, formats its calls for that file. The files go
// into `outputs`, with a note when the arrow runs out of the picture or is missing.
bool RenderFrame(const CFrameSetup& setup, const CChosenTurn* chosen, const std::string& outPath,
                 const CPixelSize& size, const std::string& dumpPath, COutputs& outputs,
                 std::string& error) {
  const CRouteTurn* turn = chosen != nullptr ? &chosen->turn : nullptr;
  CFrameRecord record;
  if (!RecordFrame(setup, turn, setup.scaleIndex, record, error)) return false;
  const CFramePlan plan = PlanFrame(setup, turn, record, size.width, size.height);
  std::unique_ptr<CCanvas> canvas =
      OpenCanvas(outputs.files.emplace_back(), outPath, size.width, size.height, error);
  if (!canvas) return false;
  canvas->BeginFrame({0, 0, size.width, size.height}, plan.projection, record.calls,
                     setup.route.origin, setup.route.dest, setup.background);
  canvas->PaintLabels(FrameLabels(setup, chosen, setup.scaleIndex, record.metresPerPixel));
  if (!canvas->Finish(error)) return false;
  if (!dumpPath.empty() && (!outputs.files.emplace_back().Open(dumpPath, error) ||
                            !outputs.files.back().Write(FormatCallDump(record.calls), error))) {
    return false;
  }
  const std::string label = chosen != nullptr ? chosen->label : std::string();
  const std::string overflow = DescribeOverflow(plan, label, setup.scaleIndex);
  if (!overflow.empty()) outputs.notes.push_back("warning: " + outPath + ": " + overflow);
  const std::string reason = NoArrowReason(setup, turn, record);
  if (!reason.empty()) {
    outputs.notes.push_back("note: " + outPath + ": " +
                            DescribeNoArrow(chosen, setup.scaleIndex, reason));
  }
  return true;
}

// One picture per turn of the route, DIR/turn-K.png (or .svg), DIR made when missing.
bool RenderAllTurns(const CRenderOptions& o, const CFrameSetup& setup, COutputs& outputs,
                    std::string& error) {
  if (setup.route.turns.empty()) {
    error = setup.route.fileName + ": the route has no turns to draw";
    return false;
  }
  if (::mkdir(o.allTurnsDir.c_str(), 0777) == 0) {
    outputs.madeDir = o.allTurnsDir;
  } else if (errno != EEXIST) {
    error = o.allTurnsDir + ": cannot make the directory: " + std::strerror(errno);
    return false;
  }
  const std::string chosenExtension = CanvasExtension(o.out);
  const std::string extension = chosenExtension.empty() ? ".png" : chosenExtension;
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(setup.route, std::nullopt, "--turns", turns, error)) return false;
  for (std::size_t k = 0; k < turns.size(); ++k) {
    const std::string out = o.allTurnsDir + "/turn-" + std::to_string(k) + extension;
    if (!RenderFrame(setup, &turns[k], out, o.size, std::string(), outputs, error)) return false;
  }
  return true;
}

bool Render(const CRenderOptions& o, const CFrameSetup& setup, std::string& error) {
  COutputs outputs;
  std::optional<CChosenTurn> chosen;
  const bool drawn = o.allTurnsDir.empty()
                         ? ChooseTurn(setup.route, o.turn, chosen, error) &&
                               RenderFrame(setup, chosen ? &*chosen : nullptr, o.out, o.size,
                                           o.dumpCalls, outputs, error)
                         : RenderAllTurns(o, setup, outputs, error);
  std::vector<COutputFile*> files;
  for (COutputFile& file : outputs.files) files.push_back(&file);
  if (!drawn || !CommitAll(files, error)) {
    outputs.files.clear();  // removes the temporary files first
    if (!outputs.madeDir.empty()) ::rmdir(outputs.madeDir.c_str());
    return false;
  }
  for (const std::string& note : outputs.notes) ReportError(note);
  return true;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  CRenderOptions o;
  return RunFrameCommand(
      RenderLine(o), args, o.log, o.setup,
      [&o](CFrameSetup& setup, std::string& error) {
        return Render(o, setup, error) ? kExitOk : kExitBadInput;
      },
      [&o](std::string& error) { return CheckCombinations(o, error); });
}

}  // namespace tool
