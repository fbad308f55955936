// The command line of the advicepath program: one typed table of options per command, each
// row its name, the name of its value, its help line and where the value goes; the type of
// that destination says how the value is read. The parser and the help text are both made
// from the table, so an option cannot exist without its help or the other way round.
//
// Each command owns a record of the options it needs and builds its table over it; nothing
// here knows what a command does with its values. A mistake gives false and a one-line
// message. Values only; any thread.
#ifndef ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_
#define ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_

#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "frame/setup.h"

namespace tool {

// A picture's or a cell's size, pixels.
struct CPixelSize {
  int width;
  int height;
};

// Which of the library's log lines the program shows on standard error.
struct CLogLevel {
  std::optional<int> priority;  // log4cpp priority shown up to; empty: none (the default)
};

// Where an option's value goes, and by its type how the value is read:
//   bool*                             a switch: set when given
//   std::string*                      text, taken as it is; must not be empty
//   std::optional<int>*, int*         a whole number from `low` to `high`
//   CPixelSize*                       WIDTHxHEIGHT, each side from `low` to `high`
//   std::optional<std::vector<int>>*  numbers from `low` to `high`: "3", "0,3,5", "0-6", "0-2,5"
//   CCenter*                          arrow, turn or route
//   CLogLevel*                        off, fatal, error, warn, info or debug
using COptionTarget = std::variant<bool*, std::string*, std::optional<int>*, int*, CPixelSize*,
                                   std::optional<std::vector<int>>*, CCenter*, CLogLevel*>;

struct COption {
  const char* name;       // with its dashes, "--out"
  const char* valueName;  // "FILE"; null for a switch
  const char* help;       // lines separated by '\n'
  COptionTarget target;   // Borrowed: the command's record
  long low = 0;           // numbers, sizes and lists: the smallest value
  long high = 0;          // and the largest
};

// A command's line: its name, usage, description, options and where its one positional
// argument, the route file, goes. Every command also takes --help (-h).
struct CCommandLine {
  const char* name;
  const char* usage;
  const char* description;
  std::vector<COption> options;
  std::string* route;  // Borrowed; null when the command takes no positional argument
};

// Reads the arguments after the command's name into the table's destinations. Options take
// their value as the next argument or after "=" (--out=x.png); "--" ends the options. `help`
// tells whether --help was given. False with a message such as "unknown option --foo" or
// "--size: '80' is not WIDTHxHEIGHT" for an unknown option, a missing or bad value, or a
// second positional argument.
bool ParseCommandLine(const CCommandLine& line, const std::vector<std::string>& args, bool& help,
                      std::string& error);

// The command's help text: usage, description and one entry per option of its table.
std::string FormatHelp(const CCommandLine& line);

// Reads a list of whole numbers from `low` to `high`: "3", "0,3,5", "0-6", "0-2,5", at most
// 1024 of them. False with "<name>: '<text>' is not a list of numbers from <low> to <high>"
// otherwise; `values` is then unchanged.
bool ParseIndexList(const std::string& name, const std::string& text, int low, int high,
                    std::vector<int>& values, std::string& error);

// Picture and cell sides accepted by the size options, pixels: large enough for the labels,
// small enough that a picture's pixels fit in memory easily (8192 x 8192 x 4 bytes = 256 MiB).
constexpr long kMinSidePx = 16;
constexpr long kMaxSidePx = 8192;

// The rows of `groups`, in order: a command's table made of its own rows and shared groups.
std::vector<COption> Options(std::initializer_list<std::vector<COption>> groups);

// The rows of every command that draws from a frame's set-up: where its route, table and
// colours come from (--sizes, --style, --theme, --precision, --alternative) and --center.
std::vector<COption> SetupOptions(CSetupRequest& setup);

// Rows several commands share.
COption RouteSizesOption(std::string& sizesFile);
COption StyleOption(std::string& styleFile);
COption ThemeOption(std::string& theme);
COption CenterOption(CCenter& center);
COption RedLineOption(bool& redLine);
COption LogLevelOption(CLogLevel& level);
COption TurnsOption(std::optional<std::vector<int>>& turns);
// --precision and --alternative, for reading a router's answer.
COption PrecisionOption(CReadOptions& read);
COption AlternativeOption(CReadOptions& read);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDLINE_OPTIONS_H_
