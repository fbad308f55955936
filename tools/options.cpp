#include "options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "logsetup.h"
#include "mapservice.h"
#include "routefile.h"

namespace tool {

namespace {

// Picture sides accepted by --size, pixels: large enough for the labels, small enough that
// a picture's pixels fit in memory easily (8192 x 8192 x 4 bytes = 256 MiB).
constexpr int kMinSidePx = 16;
constexpr int kMaxSidePx = 8192;

// One option as found on the command line.
struct CArg {
  std::string name;   // with its dashes
  std::string value;  // empty for a switch
};

// Splits `args` into options and positional arguments. `valued` lists the options that take
// a value, `switches` those that do not.
bool ScanArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
              const std::vector<std::string>& switches, std::vector<CArg>& options,
              std::vector<std::string>& positionals, std::string& error) {
  auto isIn = [](const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& candidate : names) {
      if (candidate == name) return true;
    }
    return false;
  };
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
    CArg option{arg.substr(0, equals), std::string()};
    if (option.name == "-h") option.name = "--help";
    if (isIn(switches, option.name) && equals == std::string::npos) {
      options.push_back(option);
    } else if (isIn(valued, option.name)) {
      if (equals != std::string::npos) {
        option.value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        option.value = args[++i];
      } else {
        error = option.name + ": needs a value";
        return false;
      }
      options.push_back(option);
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

// Reads `text` as a whole number from `low` to `high`.
bool ParseNumber(const CArg& option, long low, long high, int& value, std::string& error) {
  const char* text = option.value.c_str();
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text, &end, 10);
  if (option.value.empty() || *end != '\0' || errno != 0 || number < low || number > high) {
    error = option.name + ": '" + option.value + "' is not a whole number from " +
            std::to_string(low) + " to " + std::to_string(high);
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

bool ParseNumber(const CArg& option, long low, long high, std::optional<int>& value,
                 std::string& error) {
  int number = 0;
  if (!ParseNumber(option, low, high, number, error)) return false;
  value = number;
  return true;
}

// Reads "WIDTHxHEIGHT".
bool ParseSize(const CArg& option, int& width, int& height, std::string& error) {
  const std::size_t x = option.value.find('x');
  const long low = kMinSidePx;
  const long high = kMaxSidePx;
  if (x == std::string::npos) {
    error = option.name + ": '" + option.value + "' is not WIDTHxHEIGHT";
    return false;
  }
  return ParseNumber({option.name + " width", option.value.substr(0, x)}, low, high, width,
                     error) &&
         ParseNumber({option.name + " height", option.value.substr(x + 1)}, low, high, height,
                     error);
}

bool TakeRoute(const std::vector<std::string>& positionals, std::string& route,
               std::string& error) {
  if (positionals.size() > 1) {
    error = "one route file at most, not '" + positionals[0] + "' and '" + positionals[1] + "'";
    return false;
  }
  if (!positionals.empty()) route = positionals[0];
  return true;
}

bool ApplyRenderOption(const CArg& option, CRenderOptions& options, std::string& error) {
  const long highestScale = static_cast<long>(Torvane::CDisplayListMapView::DefaultLadder().size());
  const std::string& name = option.name;
  if (name == "--help") {
    options.help = true;
  } else if (name == "--out") {
    options.out = option.value;
    options.outGiven = true;
  } else if (name == "--turn") {
    return ParseNumber(option, 0, INT_MAX, options.turn, error);
  } else if (name == "--enter") {
    return ParseNumber(option, 0, INT_MAX, options.enter, error);
  } else if (name == "--exit") {
    return ParseNumber(option, 0, INT_MAX, options.exit, error);
  } else if (name == "--turn-type") {
    return ParseNumber(option, 0, kMaxTurnType, options.turnType, error);
  } else if (name == "--scale-index") {
    return ParseNumber(option, 0, highestScale, options.scaleIndex, error);
  } else if (name == "--sizes") {
    options.sizesFile = option.value;
  } else if (name == "--red-line") {
    options.redLine = true;
  } else if (name == "--size") {
    return ParseSize(option, options.widthPx, options.heightPx, error);
  } else if (name == "--dump-calls") {
    options.dumpCalls = option.value;
  } else if (name == "--all-turns") {
    options.allTurnsDir = option.value;
  } else if (name == "--log-level") {
    int priority = 0;
    if (!ParseLogLevel(option.value, priority)) {
      error = "--log-level: '" + option.value + "' is not fatal, error, warn, info or debug";
      return false;
    }
    options.logLevel = option.value;
  }
  return true;
}

// Options that are each fine but do not go together.
bool CheckCombinations(const CRenderOptions& options, std::string& error) {
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

}  // namespace

bool ParseRenderOptions(const std::vector<std::string>& args, CRenderOptions& options,
                        std::string& error) {
  std::vector<CArg> found;
  std::vector<std::string> positionals;
  if (!ScanArgs(args,
                {"--out", "--turn", "--enter", "--exit", "--turn-type", "--scale-index", "--sizes",
                 "--size", "--dump-calls", "--all-turns", "--log-level"},
                {"--help", "--red-line"}, found, positionals, error)) {
    return false;
  }
  for (const CArg& option : found) {
    if (!ApplyRenderOption(option, options, error)) return false;
  }
  return TakeRoute(positionals, options.route, error) && CheckCombinations(options, error);
}

bool ParseTurnsOptions(const std::vector<std::string>& args, CTurnsOptions& options,
                       std::string& error) {
  std::vector<CArg> found;
  std::vector<std::string> positionals;
  if (!ScanArgs(args, {}, {"--help"}, found, positionals, error)) return false;
  options.help = !found.empty();
  return TakeRoute(positionals, options.route, error);
}

}  // namespace tool
