// `advicepath turns`: the route's turns, one line each.
#include <cstdio>

#include "commands/commands.h"
#include "frame/captions.h"

namespace tool {

namespace {

struct CTurnsOptions {
  CSetupRequest setup;
  CLogLevel log;
};

CCommandLine TurnsLine(CTurnsOptions& o) {
  return {
      "turns",
      "advicepath turns [ROUTE]",
      "Lists the turns of ROUTE (the built-in sample without it): index, enter and exit guides,\n"
      "distance of the turn from the start, road names and note.",
      {},
      &o.setup.route,
  };
}

}  // namespace

int RunTurns(const std::vector<std::string>& args) {
  CTurnsOptions o;
  int status = StartCommand(TurnsLine(o), args, o.log);
  if (status >= 0) return status;
  CFrameSetup setup;
  if ((status = LoadSetup(o.setup, setup)) >= 0) return status;
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
