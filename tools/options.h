// The command line of the advicepath program: the options of `advicepath render` and
// `advicepath turns`, read into plain records with a one-line message on any mistake.
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_OPTIONS_H_
#define ADVICEPATH_TOOLS_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

namespace tool {

// Options of `advicepath render [ROUTE] [options]`; absent values leave the route file's
// members or the defaults in force.
struct CRenderOptions {
  bool help = false;
  std::string route;              // empty: the built-in sample
  std::string out = "route.png";  // --out
  bool outGiven = false;          // whether --out was given
  std::optional<int> turn;        // --turn K: index into the route's turns
  std::optional<int> enter;       // --enter I
  std::optional<int> exit;        // --exit J
  std::optional<int> turnType;    // --turn-type T, 0 to 9
  std::optional<int> scaleIndex;  // --scale-index N
  std::string sizesFile;          // --sizes FILE; empty: none
  bool redLine = false;           // --red-line
  int widthPx = 800;              // --size WxH
  int heightPx = 600;
  std::string dumpCalls;          // --dump-calls FILE; empty: none
  std::string allTurnsDir;        // --all-turns DIR; empty: one frame
  std::string logLevel = "warn";  // --log-level
};

// Options of `advicepath turns [ROUTE]`.
struct CTurnsOptions {
  bool help = false;
  std::string route;  // empty: the built-in sample
};

// Reads the arguments after "render". Options take their value as the next argument or after
// "=" (--out=x.png); "--" ends the options. False with a message such as "unknown option
// --foo" or "--size: '80' is not WIDTHxHEIGHT" for an unknown option, a missing or bad value,
// a second route, or options that do not go together (--turn with --enter, --enter without
// --exit, --turn-type without --enter, --dump-calls with --all-turns).
bool ParseRenderOptions(const std::vector<std::string>& args, CRenderOptions& options,
                        std::string& error);

// Reads the arguments after "turns". False with a message as above.
bool ParseTurnsOptions(const std::vector<std::string>& args, CTurnsOptions& options,
                       std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_OPTIONS_H_
