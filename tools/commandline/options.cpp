#include "commandline/options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "commandline/logsetup.h"
#include "input/routefile.h"
#include "mapservice.h"

namespace tool {

namespace {

// Picture and cell sides accepted by --size and --cell, pixels: large enough for the labels,
// small enough that a picture's pixels fit in memory easily (8192 x 8192 x 4 bytes = 256 MiB).
constexpr int kMinSidePx = 16;
constexpr int kMaxSidePx = 8192;
// The column where an option's help starts in the help text.
constexpr std::size_t kHelpColumn = 22;
// The most numbers a list option takes: far more rows than a sheet can hold, few enough that
// "0-2147483647" is refused instead of filling the memory.
constexpr std::size_t kMaxListLength = 1024;

// The highest scale index the picture's view reports: the row beyond the default ladder.
int HighestScaleIndex() {
  return static_cast<int>(Torvane::CDisplayListMapView::DefaultLadder().size());
}

// Reads `text` as a whole number from `low` to `high`.
bool ParseNumber(const std::string& name, const std::string& text, long low, long high, int& value,
                 std::string& error) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || number < low || number > high) {
    error = name + ": '" + text + "' is not a whole number from " + std::to_string(low) + " to " +
            std::to_string(high);
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

bool ParseOptionalNumber(const std::string& name, const std::string& text, long low, long high,
                         std::optional<int>& value, std::string& error) {
  int number = 0;
  if (!ParseNumber(name, text, low, high, number, error)) return false;
  value = number;
  return true;
}

// Reads "WIDTHxHEIGHT", each side kMinSidePx to kMaxSidePx.
bool ParseSize(const std::string& name, const std::string& text, int& width, int& height,
               std::string& error) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) {
    error = name + ": '" + text + "' is not WIDTHxHEIGHT";
    return false;
  }
  return ParseNumber(name + " width", text.substr(0, x), kMinSidePx, kMaxSidePx, width, error) &&
         ParseNumber(name + " height", text.substr(x + 1), kMinSidePx, kMaxSidePx, height, error);
}

// The handlers of the option tables, one per option.
bool ApplyHelp(const std::string&, CCommandOptions& options, std::string&) {
  options.help = true;
  return true;
}
bool ApplyOut(const std::string& value, CCommandOptions& options, std::string& error) {
  if (value.empty()) {
    error = "--out: needs a file name";
    return false;
  }
  options.out = value;
  return true;
}
bool ApplyTurn(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseOptionalNumber("--turn", value, 0, INT_MAX, options.turn, error);
}
bool ApplyEnter(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseOptionalNumber("--enter", value, 0, INT_MAX, options.enter, error);
}
bool ApplyExit(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseOptionalNumber("--exit", value, 0, INT_MAX, options.exit, error);
}
bool ApplyTurnType(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseOptionalNumber("--turn-type", value, 0, kMaxTurnType, options.turnType, error);
}
bool ApplyScaleIndex(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseOptionalNumber("--scale-index", value, 0, HighestScaleIndex(), options.scaleIndex,
                             error);
}
bool ApplySizes(const std::string& value, CCommandOptions& options, std::string&) {
  options.sizesFile = value;
  return true;
}
bool ApplyRedLine(const std::string&, CCommandOptions& options, std::string&) {
  options.redLine = true;
  return true;
}
bool ApplySize(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseSize("--size", value, options.widthPx, options.heightPx, error);
}
bool ApplyCell(const std::string& value, CCommandOptions& options, std::string& error) {
  return ParseSize("--cell", value, options.cellWidthPx, options.cellHeightPx, error);
}
bool ApplyDumpCalls(const std::string& value, CCommandOptions& options, std::string&) {
  options.dumpCalls = value;
  return true;
}
bool ApplyAllTurns(const std::string& value, CCommandOptions& options, std::string&) {
  options.allTurnsDir = value;
  return true;
}
bool ApplyLogLevel(const std::string& value, CCommandOptions& options, std::string& error) {
  int priority = 0;
  if (!ParseLogLevel(value, priority)) {
    error = "--log-level: '" + value + "' is not fatal, error, warn, info or debug";
    return false;
  }
  options.logLevel = value;
  return true;
}
bool ApplyCenter(const std::string& value, CCommandOptions& options, std::string& error) {
  if (value == "arrow") {
    options.center = CCenter::kArrow;
  } else if (value == "turn") {
    options.center = CCenter::kTurn;
  } else if (value == "route") {
    options.center = CCenter::kRoute;
  } else {
    error = "--center: '" + value + "' is not arrow, turn or route";
    return false;
  }
  return true;
}
bool ApplyTurns(const std::string& value, CCommandOptions& options, std::string& error) {
  std::vector<int> turns;
  if (!ParseIndexList("--turns", value, 0, INT_MAX, turns, error)) return false;
  options.turns = turns;
  return true;
}
bool ApplyScaleIndices(const std::string& value, CCommandOptions& options, std::string& error) {
  std::vector<int> indices;
  if (!ParseIndexList("--scale-indices", value, 0, HighestScaleIndex(), indices, error)) {
    return false;
  }
  options.scaleIndices = indices;
  return true;
}

// The entries shared by several tables.
const COption kHelpOption = {"--help", nullptr, "this text", ApplyHelp};
const COption kSizesOption = {
    "--sizes", "FILE", "size table: a list of rows or {\"sizes\": [...], \"maxTurnScale\": n}",
    ApplySizes};
const COption kCenterOption = {
    "--center", "WHERE",
    "middle of the picture: arrow (its strokes and head; default), turn\n"
    "(the turn node) or route (the route's bounding box)",
    ApplyCenter};
const COption kRedLineOption = {"--red-line", nullptr,
                                "draw the line from the route's origin to its destination",
                                ApplyRedLine};
const COption kLogLevelOption = {
    "--log-level", "LEVEL",
    "renderer log lines on standard error: fatal, error, warn (default),\ninfo or debug",
    ApplyLogLevel};
const COption kTurnsOption = {"--turns", "LIST",
                              "turns of the route's \"turns\", such as 0,3,5 or 0-2 (default all)",
                              ApplyTurns};

// Options that are each fine but do not go together in `render`.
bool CheckRenderCombinations(const CCommandOptions& options, std::string& error) {
  if (options.turn && (options.enter || options.exit)) {
    error = "--turn cannot be combined with --enter and --exit";
  } else if (options.enter.has_value() != options.exit.has_value()) {
    error = "--enter and --exit go together";
  } else if (options.turnType && !options.enter) {
    error = "--turn-type needs --enter and --exit";
  } else if (!options.dumpCalls.empty() && !options.allTurnsDir.empty()) {
    error = "--dump-calls cannot be combined with --all-turns";
  } else {
    return true;
  }
  return false;
}

// The value of args[i] for `option`: after "=", or the next argument (i moves on).
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::size_t equals,
               const COption& option, std::string& value, std::string& error) {
  if (equals != std::string::npos) {
    value = args[i].substr(equals + 1);
  } else if (i + 1 < args.size()) {
    value = args[++i];
  } else {
    error = std::string(option.name) + ": needs a value";
    return false;
  }
  return true;
}

const COption* FindOption(const CCommandLine& line, const std::string& name) {
  for (const COption& option : line.options) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

}  // namespace

const CCommandLine& RenderCommandLine() {
  static const CCommandLine kLine = {
      "render",
      "advicepath render [ROUTE] [options]",
      "Draws one frame of ROUTE (a GeoJSON route file; the built-in sample without it) with the\n"
      "renderer library: the route, the turn arrow and, if asked, the red line, as PNG or SVG.\n"
      "When the arrow does not fit the picture, a line on standard error says how far it runs\n"
      "out; the picture is written all the same.",
      {
          {"--out", "FILE", "picture to write, .png or .svg (default route.png)", ApplyOut},
          {"--turn", "K", "draw turn K of the route's \"turns\" (0 first)", ApplyTurn},
          {"--enter", "I", "draw the turn from guide I (feature index) ...", ApplyEnter},
          {"--exit", "J", "... to guide J (I <= J); both or neither", ApplyExit},
          {"--turn-type", "T", "turn type for --enter/--exit, 0 to 9 (1 ends the route: no arrow)",
           ApplyTurnType},
          {"--scale-index", "N",
           "scale index of the frame, 0 to 12 (default 1, one metre per pixel)", ApplyScaleIndex},
          kSizesOption,
          kCenterOption,
          kRedLineOption,
          {"--size", "WxH", "picture size in pixels (default 800x600)", ApplySize},
          {"--dump-calls", "FILE", "also write the frame's map-view calls as JSON", ApplyDumpCalls},
          {"--all-turns", "DIR", "one picture per turn, DIR/turn-K.png (.svg when --out is .svg)",
           ApplyAllTurns},
          kLogLevelOption,
          kHelpOption,
      },
      CheckRenderCombinations,
  };
  return kLine;
}

const CCommandLine& SheetCommandLine() {
  static const CCommandLine kLine = {
      "sheet",
      "advicepath sheet [ROUTE] [options]",
      "Draws a contact sheet of ROUTE (the built-in sample without it): a row per turn, a\n"
      "column per scale index, each cell a frame drawn by the renderer library with a caption.",
      {
          {"--out", "FILE", "picture to write, .png or .svg (default sheet.png)", ApplyOut},
          kTurnsOption,
          {"--scale-indices", "LIST",
           "columns, such as 0-6 or 1,3,5 (default 0 to the table's maxTurnScale)",
           ApplyScaleIndices},
          {"--cell", "WxH", "size of each cell in pixels (default 320x240)", ApplyCell},
          kSizesOption,
          kCenterOption,
          kRedLineOption,
          kLogLevelOption,
          kHelpOption,
      },
      nullptr,
  };
  return kLine;
}

const CCommandLine& CheckCommandLine() {
  static const CCommandLine kLine = {
      "check",
      "advicepath check [ROUTE] [options]",
      "Audits a size table and the colours, and the turns of ROUTE (the built-in sample\n"
      "without it) against them: a table per scale index, then one line per finding.\n"
      "Exit status 0 when nothing is found, 4 when something is, 2 for bad input.",
      {
          kSizesOption,
          {"--size", "WxH", "picture the arrow must fit, in pixels (default 800x600)", ApplySize},
          kTurnsOption,
          kCenterOption,
          kLogLevelOption,
          kHelpOption,
      },
      nullptr,
  };
  return kLine;
}

const CCommandLine& TurnsCommandLine() {
  static const CCommandLine kLine = {
      "turns",
      "advicepath turns [ROUTE]",
      "Lists the turns of ROUTE (the built-in sample without it): index, enter and exit guides,\n"
      "distance of the turn from the start, road names and note.",
      {kHelpOption},
      nullptr,
  };
  return kLine;
}

bool ParseCommandLine(const CCommandLine& line, const std::vector<std::string>& args,
                      CCommandOptions& options, std::string& error) {
  std::vector<std::string> positionals;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      positionals.insert(positionals.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      positionals.push_back(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg == "-h" ? "--help" : arg.substr(0, equals);
    const COption* option = FindOption(line, name);
    // A switch given a value ("--red-line=x") is as unknown as a misspelt name.
    if (option == nullptr || (option->valueName == nullptr && equals != std::string::npos)) {
      error = "unknown option " + arg;
      return false;
    }
    std::string value;
    if (option->valueName != nullptr && !TakeValue(args, i, equals, *option, value, error)) {
      return false;
    }
    if (!option->apply(value, options, error)) return false;
  }
  if (positionals.size() > 1) {
    error = "one route file at most, not '" + positionals[0] + "' and '" + positionals[1] + "'";
    return false;
  }
  if (!positionals.empty()) options.route = positionals[0];
  return line.checkCombinations == nullptr || line.checkCombinations(options, error);
}

std::string FormatHelp(const CCommandLine& line) {
  std::string text = std::string("Usage: ") + line.usage + "\n\n" + line.description + "\n";
  if (line.options.empty()) return text;
  text += "\nOptions:\n";
  for (const COption& option : line.options) {
    std::string head = std::string("  ") + option.name;
    if (option.valueName != nullptr) head += std::string(" ") + option.valueName;
    head.resize(std::max(head.size() + 2, kHelpColumn), ' ');
    const std::string help = option.help;
    std::size_t start = 0;
    while (start <= help.size()) {
      const std::size_t stop = std::min(help.find('\n', start), help.size());
      text += (start == 0 ? head : std::string(kHelpColumn, ' ')) +
              help.substr(start, stop - start) + "\n";
      start = stop + 1;
    }
  }
  return text;
}

bool ParseIndexList(const std::string& name, const std::string& text, int low, int high,
                    std::vector<int>& values, std::string& error) {
  std::vector<int> parsed;
  std::size_t start = 0;
  bool good = !text.empty();
  while (good && start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    const std::size_t dash = item.find('-', 1);
    std::string ignored;
    int first = 0;
    int last = 0;
    good = ParseNumber(name, item.substr(0, dash), low, high, first, ignored) &&
           (dash == std::string::npos
                ? (last = first, true)
                : ParseNumber(name, item.substr(dash + 1), low, high, last, ignored)) &&
           first <= last && static_cast<std::size_t>(last - first) < kMaxListLength - parsed.size();
    for (int value = first; good && value <= last; ++value) parsed.push_back(value);
    start = comma + 1;
  }
  if (!good) {
    error = name + ": '" + text + "' is not a list of numbers from " + std::to_string(low) +
            " to " + std::to_string(high);
    return false;
  }
  values = parsed;
  return true;
}

}  // namespace tool
