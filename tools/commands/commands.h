// The advicepath program's commands: `render` draws frames of a route with the renderer
// library and writes them as pictures; `sheet` draws a grid of frames, a row per turn and a
// column per scale index; `check` audits a size table, the colours and the route's turns;
// `turns` lists a route's turns; `convert` writes a router's answer as a route file. Each is a thin
// command over the stages (tools/README.md): it declares the options it needs in a record of its
// own, asks the frame stage for a set-up, records each frame once, places, paints and writes it.
//
// Each returns the process's exit status: 0 on success, 2 with a one-line message on
// standard error for bad input (options, files), an output that cannot be written, or a
// set-up the renderer library refuses; `check` returns 4 when it has findings. Help goes to
// standard output. Process-wide state touched: log4cpp's configuration and the route
// manager's origin and destination.
#ifndef ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_
#define ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_

#include <functional>
#include <string>
#include <vector>

#include "commandline/options.h"
#include "frame/setup.h"

namespace tool {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // an unexpected failure, such as memory running out
constexpr int kExitBadInput = 2;
constexpr int kExitFindings = 4;  // `check` found something

// `advicepath render [ROUTE] [options]`; `args` are the arguments after "render".
int RunRender(const std::vector<std::string>& args);

// `advicepath sheet [ROUTE] [options]`; `args` are the arguments after "sheet".
int RunSheet(const std::vector<std::string>& args);

// `advicepath check [ROUTE] [options]`; `args` are the arguments after "check".
int RunCheck(const std::vector<std::string>& args);

// `advicepath studio [ROUTE] [options]`: serves the studio until SIGINT or SIGTERM; `args` are
// the arguments after "studio".
int RunStudio(const std::vector<std::string>& args);

// `advicepath style [--out FILE]`; `args` are the arguments after "style".
int RunStyle(const std::vector<std::string>& args);

// `advicepath turns [ROUTE]`; `args` are the arguments after "turns".
int RunTurns(const std::vector<std::string>& args);

// `advicepath convert ROUTE`; `args` are the arguments after "convert".
int RunConvert(const std::vector<std::string>& args);

// Writes "advicepath: <message>" and a newline to standard error, the message on one line
// (control characters as spaces).
void ReportError(const std::string& message);

// The common start of a command: reads `args` by `line` into the command's record, prints the
// help when asked, checks the options that do not go together with `check` (when given:
// false with a message) and sets up the log lines at `level` (a destination of `line`, read
// once the line is parsed). -1 when the command goes on, else the exit status it ends with (0
// after the help, 2 after a bad command line, with its message on standard error).
int StartCommand(const CCommandLine& line, const std::vector<std::string>& args,
                 const CLogLevel& level,
                 const std::function<bool(std::string& error)>& check = nullptr);

// The whole run of a command that draws from a frame's set-up: StartCommand, then the set-up
// of `request` (a destination of `line`, read once the line is parsed), then `body` with it (its
// own to change). `body` returns the exit status; when it returns kExitBadInput its message in
// `error` is reported. A set-up that cannot be loaded ends the run with status 2 and its message.
int RunFrameCommand(const CCommandLine& line, const std::vector<std::string>& args,
                    const CLogLevel& level, const CSetupRequest& request,
                    const std::function<int(CFrameSetup& setup, std::string& error)>& body,
                    const std::function<bool(std::string& error)>& check = nullptr);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_
