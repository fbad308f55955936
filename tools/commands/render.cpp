// `advicepath render`: one frame of a route as a picture (or one picture per turn), with the
// frame's calls as JSON on request.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/frame.h"
#include "output/calldump.h"
#include "output/outputfile.h"

namespace tool {

namespace {

// The default picture of `render`.
const char kDefaultOut[] = "route.png";

// Draws one frame into the picture `outPath` and, when `dumpPath` is not empty, writes its
// calls there. Neither file appears unless both were written. An arrow that runs out of the
// picture is drawn all the same and reported on standard error.
bool RenderFrame(const CFrameSetup& setup, const std::optional<CChosenTurn>& chosen,
                 const std::string& outPath, const CCommandOptions& options,
                 const std::string& dumpPath, std::string& error) {
  const CRouteTurn* turn = chosen ? &chosen->turn : nullptr;
  CFramePlan plan;
  if (!PlanFrame(setup, turn, setup.scaleIndex, options.widthPx, options.heightPx, plan, error)) {
    return false;
  }
  std::unique_ptr<CCanvas> canvas = OpenCanvas(outPath, options.widthPx, options.heightPx, error);
  COutputFile dump;
  if (!canvas || (!dumpPath.empty() && !dump.Open(dumpPath, error))) return false;
  std::vector<Torvane::CDrawCall> calls;
  if (!PaintFrame(setup, turn, plan, *canvas, {0, 0, options.widthPx, options.heightPx},
                  dumpPath.empty() ? nullptr : &calls, error)) {
    return false;
  }
  canvas->PaintLabels(FrameLabels(setup, chosen ? &*chosen : nullptr, setup.scaleIndex,
                                  plan.projection.MetresPerPixel()));
  canvas->EndFrame();
  if (!dumpPath.empty() && !dump.Write(FormatCallDump(calls), error)) return false;
  if (!canvas->Commit(error) || (!dumpPath.empty() && !dump.Commit(error))) return false;
  const std::string overflow =
      DescribeOverflow(plan, chosen ? chosen->label : std::string(), setup.scaleIndex);
  if (!overflow.empty()) ReportError("warning: " + outPath + ": " + overflow);
  return true;
}

// One picture per turn of the route, DIR/turn-K.png (or .svg), DIR made when missing.
bool RenderAllTurns(const CCommandOptions& options, const CFrameSetup& setup, std::string& error) {
  const CRouteFile& route = setup.route;
  if (route.turns.empty()) {
    error = route.fileName + ": the route has no turns to draw";
    return false;
  }
  if (::mkdir(options.allTurnsDir.c_str(), 0777) != 0 && errno != EEXIST) {
    error = options.allTurnsDir + ": cannot make the directory: " + std::strerror(errno);
    return false;
  }
  const std::string chosenExtension = CanvasExtension(options.out);
  const std::string extension = chosenExtension.empty() ? ".png" : chosenExtension;
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(CCommandOptions(), setup, turns, error)) return false;
  for (std::size_t k = 0; k < turns.size(); ++k) {
    const std::string out = options.allTurnsDir + "/turn-" + std::to_string(k) + extension;
    if (!RenderFrame(setup, turns[k], out, options, std::string(), error)) return false;
  }
  return true;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  CCommandOptions options;
  CFrameSetup setup;
  const int status = StartFrameCommand(RenderCommandLine(), args, options, setup);
  if (status >= 0) return status;
  if (options.out.empty()) options.out = kDefaultOut;
  std::optional<CChosenTurn> chosen;
  std::string error;
  const bool done = ChooseTurn(options, setup, chosen, error) &&
                    (options.allTurnsDir.empty() ? RenderFrame(setup, chosen, options.out, options,
                                                               options.dumpCalls, error)
                                                 : RenderAllTurns(options, setup, error));
  if (!done) {
    ReportError(error);
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace tool
