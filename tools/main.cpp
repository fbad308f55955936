// advicepath: draws a route and its turn arrow with the route-guidance renderer library, as
// an application would, into PNG or SVG pictures. See tools/advicepath.md.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "picture/framedecor.h"

namespace {

const char kHelp[] =
    R"(Usage: advicepath COMMAND [ROUTE] [options]

Commands:
  render   draw one frame of a route (or one per turn) as PNG or SVG
  sheet    draw a grid of frames: a row per turn, a column per scale index
  check    audit a size table, the colours and the route's turns against them
  turns    list a route's turns
  convert  write a router's answer (OSRM, Valhalla, GraphHopper, GPX) as a route file
  style    write the built-in style (size table and themes) to start a team's own
  studio   serve a page on 127.0.0.1 for tuning a style: edits redraw the sheet at once

ROUTE is a route file or a router's answer, recognised by content ("-" reads standard
input); without it, every command that reads a route but convert uses the built-in sample.
"advicepath COMMAND --help" describes a command's options; "advicepath --version" prints the
version.
)";

// Runs the command in args[0] on the rest; the exit status.
int Dispatch(const std::vector<std::string>& args) {
  // Nothing below throws by design; out of memory is the one exception left, and it gets a
  // message instead of an abort.
  try {
    const std::string command = args.empty() ? std::string() : args[0];
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    const struct {
      const char* name;
      int (*run)(const std::vector<std::string>& args);
    } kCommands[] = {{"render", tool::RunRender},   {"sheet", tool::RunSheet},
                     {"check", tool::RunCheck},     {"turns", tool::RunTurns},
                     {"convert", tool::RunConvert}, {"style", tool::RunStyle},
                     {"studio", tool::RunStudio}};
    for (const auto& entry : kCommands) {
      if (command == entry.name) return entry.run(rest);
    }
    if (command == "--help" || command == "-h") {
      std::cout << kHelp;
      return tool::kExitOk;
    }
    if (command == "--version") {
      std::cout << "advicepath " << ADVICEPATH_VERSION << '\n';
      return tool::kExitOk;
    }
    tool::ReportError(command.empty() ? "no command (see advicepath --help)"
                                      : "unknown command " + command + " (see advicepath --help)");
    return tool::kExitBadInput;
  } catch (const std::exception& e) {
    tool::ReportError(e.what());
    return tool::kExitFailure;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Dispatch(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  tool::ReleaseFontCaches();
  return status;
}
