// The command line of the advicepath program: one table of options per command (name, value,
// help line, handler), from which both the parser and the help text are made, so that an
// option cannot exist without its help or the other way round.
//
// Every command fills the same record, CCommandOptions; each reads only the fields of its own
// options. A mistake gives false and a one-line message. Values only; any thread.
#ifndef ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_
#define ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

namespace tool {

// What the middle of a frame's picture shows.
enum class CCenter {
  kArrow,  // the middle of the arrow's extent (strokes and head); the turn node when no arrow
  kTurn,   // the turn node (the end of the enter guide)
  kRoute,  // the middle of the route's bounding box
};

// The options of every command; absent values leave the route file's members or the
// defaults in force.
struct CCommandOptions {
  bool help = false;
  std::string route;                             // empty: the built-in sample
  std::string out;                               // --out; empty: the command's default
  std::optional<int> turn;                       // --turn K: index into the route's turns
  std::optional<int> enter;                      // --enter I
  std::optional<int> exit;                       // --exit J
  std::optional<int> turnType;                   // --turn-type T, 0 to 9
  std::optional<int> scaleIndex;                 // --scale-index N
  std::string sizesFile;                         // --sizes FILE; empty: none
  bool redLine = false;                          // --red-line
  int widthPx = 800;                             // --size WxH, pixels
  int heightPx = 600;                            // pixels
  std::string dumpCalls;                         // --dump-calls FILE; empty: none
  std::string allTurnsDir;                       // --all-turns DIR; empty: one frame
  std::string logLevel = "warn";                 // --log-level
  CCenter center = CCenter::kArrow;              // --center
  std::optional<std::vector<int>> turns;         // --turns: indices into the route's turns
  std::optional<std::vector<int>> scaleIndices;  // --scale-indices, in the order given
  int cellWidthPx = 320;                         // --cell WxH, pixels
  int cellHeightPx = 240;                        // pixels
};

// One option: its name with dashes, the name of its value (null for a switch), its help
// (lines separated by '\n') and what it does to the record. The handler gets the value ("" for
// a switch) and returns false with a message for a bad one.
struct COption {
  const char* name;
  const char* valueName;
  const char* help;
  bool (*apply)(const std::string& value, CCommandOptions& options, std::string& error);
};

// A command's line: its name, usage, description, options, and the test of options that do
// not go together (null when all do).
struct CCommandLine {
  const char* name;
  const char* usage;
  const char* description;
  std::vector<COption> options;
  bool (*checkCombinations)(const CCommandOptions& options, std::string& error);
};

// The command lines of `render`, `sheet`, `check` and `turns`.
const CCommandLine& RenderCommandLine();
const CCommandLine& SheetCommandLine();
const CCommandLine& CheckCommandLine();
const CCommandLine& TurnsCommandLine();

// Reads the arguments after the command's name into `options` (defaults on entry). Options
// take their value as the next argument or after "=" (--out=x.png); "--" ends the options;
// one positional argument, the route file, is allowed. False with a message such as "unknown
// option --foo" or "--size: '80' is not WIDTHxHEIGHT" for an unknown option, a missing or bad
// value, a second route, or options that do not go together.
bool ParseCommandLine(const CCommandLine& line, const std::vector<std::string>& args,
                      CCommandOptions& options, std::string& error);

// The command's help text: usage, description and one entry per option of its table.
std::string FormatHelp(const CCommandLine& line);

// Reads a list of whole numbers from `low` to `high`: "3", "0,3,5", "0-6", "0-2,5", at most
// 1024 of them. False with "<name>: '<text>' is not a list of numbers from <low> to <high>"
// otherwise; `values` is then unchanged.
bool ParseIndexList(const std::string& name, const std::string& text, int low, int high,
                    std::vector<int>& values, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_
