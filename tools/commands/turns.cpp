// `advicepath turns`: the route's turns, one line each.
#include <cstdio>

#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/frame.h"

namespace tool {

int RunTurns(const std::vector<std::string>& args) {
  CCommandOptions options;
  CFrameSetup setup;
  const int status = StartFrameCommand(TurnsCommandLine(), args, options, setup);
  if (status >= 0) return status;
  const CRouteFile& route = setup.route;
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
