// `advicepath turns`: the route's turns, one line each, or as JSON.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands/commands.h"
#include "frame/captions.h"

namespace tool {

namespace {

struct CTurnsOptions {
  CSetupRequest setup;
  bool json = false;
  CLogLevel log;
};

CCommandLine TurnsLine(CTurnsOptions& o) {
  return {
      "turns",
      "advicepath turns [ROUTE] [options]",
      "Lists the turns of ROUTE (any format the program reads; the built-in sample without it):\n"
      "index, enter and exit guides, distance of the turn from the start, road names and note.",
      {
          {"--json", nullptr,
           "a JSON array instead, one object per turn: index, enter, exit, type,\n"
           "node ([lon, lat]), enterRoad, exitRoad, distance (m), note",
           &o.json},
          PrecisionOption(o.setup.read),
          AlternativeOption(o.setup.read),
      },
      &o.setup.route,
  };
}

void PrintText(const CRouteFile& route) {
  std::printf("%s: %s, %zu turns\n", route.fileName.c_str(), route.format.c_str(),
              route.turns.size());
  std::printf("turn  guides     at (m)  roads\n");
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const CRouteTurn& turn = route.turns[k];
    const std::string roads = RoadName(route, turn.enter) + " -> " + RoadName(route, turn.exit);
    std::printf("%4zu  %3d -> %-3d %7.0f  %s%s%s\n", k, turn.enter, turn.exit,
                DistanceToEndOfGuide(route, turn.enter), roads.c_str(),
                turn.note.empty() ? "" : "  # ", turn.note.c_str());
  }
  if (route.turns.empty()) std::printf("(the route lists no turns)\n");
}

void PrintJson(const CRouteFile& route) {
  std::cout << '[';
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const CRouteTurn& turn = route.turns[k];
    const tagLonLat node = TurnNode(route, turn);
    const nlohmann::ordered_json item = {
        {"index", k},
        {"enter", turn.enter},
        {"exit", turn.exit},
        {"type", turn.type},
        {"node", {node.lon, node.lat}},
        {"enterRoad", route.guides[static_cast<std::size_t>(turn.enter)].name},
        {"exitRoad", route.guides[static_cast<std::size_t>(turn.exit)].name},
        {"distance", DistanceToEndOfGuide(route, turn.enter)},
        {"note", turn.note}};
    // One turn per line. Names and notes come from files: bytes that are not UTF-8 are
    // replaced, not refused.
    std::cout << (k == 0 ? "\n" : ",\n")
              << item.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  }
  std::cout << "\n]\n";
}

}  // namespace

int RunTurns(const std::vector<std::string>& args) {
  CTurnsOptions o;
  return RunFrameCommand(TurnsLine(o), args, o.log, o.setup,
                         [&o](CFrameSetup& setup, std::string&) {
                           o.json ? PrintJson(setup.route) : PrintText(setup.route);
                           return kExitOk;
                         });
}

}  // namespace tool
