#include "commandline/options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "commandline/logsetup.h"

namespace tool {

namespace {

// The column where an option's help starts in the help text.
constexpr std::size_t kHelpColumn = 22;
// The most numbers a list option takes: far more rows than a sheet can hold, few enough that
// "0-2147483647" is refused instead of filling the memory.
constexpr std::size_t kMaxListLength = 1024;

const COption kHelpOption = {"--help", nullptr, "this text", static_cast<bool*>(nullptr)};

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

// Reads `value` into the destination of `option`, by the destination's type.
struct CValueReader {
  const COption& option;
  const std::string& value;
  std::string& error;

  bool operator()(bool* on) const {
    *on = true;
    return true;
  }
  bool operator()(std::string* text) const {
    if (value.empty()) {
      error = std::string(option.name) + ": needs a value";
      return false;
    }
    *text = value;
    return true;
  }
  bool operator()(std::optional<int>* number) const {
    int read = 0;
    if (!ParseNumber(option.name, value, option.low, option.high, read, error)) return false;
    *number = read;
    return true;
  }
  bool operator()(int* number) const {
    return ParseNumber(option.name, value, option.low, option.high, *number, error);
  }
  bool operator()(CPixelSize* size) const {
    const std::string name = option.name;
    const std::size_t x = value.find('x');
    if (x == std::string::npos) {
      error = name + ": '" + value + "' is not WIDTHxHEIGHT";
      return false;
    }
    CPixelSize read{};
    if (!ParseNumber(name + " width", value.substr(0, x), option.low, option.high, read.width,
                     error) ||
        !ParseNumber(name + " height", value.substr(x + 1), option.low, option.high, read.height,
                     error)) {
      return false;
    }
    *size = read;
    return true;
  }
  bool operator()(std::optional<std::vector<int>>* list) const {
    std::vector<int> read;
    if (!ParseIndexList(option.name, value, static_cast<int>(option.low),
                        static_cast<int>(option.high), read, error)) {
      return false;
    }
    *list = read;
    return true;
  }
  bool operator()(CCenter* center) const {
    for (const CCenterName& entry : kCenterNames) {
      if (value == entry.name) {
        *center = entry.center;
        return true;
      }
    }
    error = std::string(option.name) + ": '" + value + "' is not arrow, turn or route";
    return false;
  }
  bool operator()(CLogLevel* level) const {
    int priority = 0;
    if (value == "off") {
      level->priority.reset();
    } else if (ParseLogLevel(value, priority)) {
      level->priority = priority;
    } else {
      error = std::string(option.name) + ": '" + value +
              "' is not fatal, error, warn, info, debug or off";
      return false;
    }
    return true;
  }
};

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

void AppendHelpEntry(const COption& option, std::string& text) {
  std::string head = std::string("  ") + option.name;
  if (option.valueName != nullptr) head += std::string(" ") + option.valueName;
  head.resize(std::max(head.size() + 2, kHelpColumn), ' ');
  const std::string help = option.help;
  std::size_t start = 0;
  while (start <= help.size()) {
    const std::size_t stop = std::min(help.find('\n', start), help.size());
    text += (start == 0 ? head : std::string(kHelpColumn, ' ')) + help.substr(start, stop - start) +
            "\n";
    start = stop + 1;
  }
}

}  // namespace

bool ParseCommandLine(const CCommandLine& line, const std::vector<std::string>& args, bool& help,
                      std::string& error) {
  help = false;
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
    if (arg == "--help" || arg == "-h") {
      help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const COption* option = FindOption(line, arg.substr(0, equals));
    // A switch given a value ("--red-line=x") is as unknown as a misspelt name.
    if (option == nullptr || (option->valueName == nullptr && equals != std::string::npos)) {
      error = "unknown option " + arg;
      return false;
    }
    std::string value;
    if (option->valueName != nullptr && !TakeValue(args, i, equals, *option, value, error)) {
      return false;
    }
    if (!std::visit(CValueReader{*option, value, error}, option->target)) return false;
  }
  if (!positionals.empty() && line.route == nullptr) {
    error = "unexpected argument '" + positionals[0] + "'";
    return false;
  }
  if (positionals.size() > 1) {
    error = "one route file at most, not '" + positionals[0] + "' and '" + positionals[1] + "'";
    return false;
  }
  if (!positionals.empty()) *line.route = positionals[0];
  return true;
}

std::string FormatHelp(const CCommandLine& line) {
  std::string text = std::string("Usage: ") + line.usage + "\n\n" + line.description + "\n";
  text += "\nOptions:\n";
  for (const COption& option : line.options) AppendHelpEntry(option, text);
  AppendHelpEntry(kHelpOption, text);
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

std::vector<COption> Options(std::initializer_list<std::vector<COption>> groups) {
  std::vector<COption> rows;
  for (const std::vector<COption>& group : groups)
    rows.insert(rows.end(), group.begin(), group.end());
  return rows;
}

std::vector<COption> SetupOptions(CSetupRequest& setup) {
  return {RouteSizesOption(setup.sizesFile), StyleOption(setup.styleFile),
          ThemeOption(setup.theme),          PrecisionOption(setup.read),
          AlternativeOption(setup.read),     CenterOption(setup.center)};
}

COption RouteSizesOption(std::string& sizesFile) {
  return {"--sizes", "FILE",
          "size table: a list of rows or {\"sizes\": [...], \"maxTurnScale\": n}", &sizesFile};
}

COption StyleOption(std::string& styleFile) {
  return {"--style", "FILE",
          "style file: a size table and themes of colours (see advicepath style);\n"
          "not with --sizes",
          &styleFile};
}

COption ThemeOption(std::string& theme) {
  return {"--theme", "NAME", "the style's theme to draw (default day, else its first)", &theme};
}

COption CenterOption(CCenter& center) {
  return {"--center", "WHERE",
          "middle of the picture: arrow (its strokes and head; default), turn\n"
          "(the turn node) or route (the route's bounding box)",
          &center};
}

COption RedLineOption(bool& redLine) {
  return {"--red-line", nullptr, "draw the line from the route's origin to its destination",
          &redLine};
}

COption LogLevelOption(CLogLevel& level) {
  return {"--log-level", "LEVEL",
          "show the library's log lines on standard error from fatal, error,\n"
          "warn, info or debug up; off (the default) shows none",
          &level};
}

COption TurnsOption(std::optional<std::vector<int>>& turns) {
  return {"--turns", "LIST", "turns of the route's \"turns\", such as 0,3,5 or 0-2 (default all)",
          &turns,    0,      INT_MAX};
}

COption PrecisionOption(CReadOptions& read) {
  return {"--precision",
          "5|6",
          "decimal places of an OSRM answer's encoded polylines (default: inferred\n"
          "from the answer)",
          &read.precision,
          5,
          6};
}

COption AlternativeOption(CReadOptions& read) {
  return {"--alternative",   "N", "which route of a router's answer, 0 the first (default 0)",
          &read.alternative, 0,   INT_MAX};
}

}  // namespace tool
