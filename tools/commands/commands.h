// The advicepath program's commands: `render` draws frames of a route with the renderer
// library and writes them as pictures; `sheet` draws a grid of frames, a row per turn and a
// column per scale index; `check` audits a size table, the colours and the route's turns;
// `turns` lists a route's turns. Each is a thin command over the stages: options (options.h),
// the frame (frame.h), the canvas (canvas.h), the audit (audit.h).
//
// Each returns the process's exit status: 0 on success, 2 with a one-line message on
// standard error for bad input (options, files), an output that cannot be written, or a
// set-up the renderer library refuses; `check` returns 4 when it has findings. Help goes to
// standard output. Process-wide state touched: log4cpp's configuration and the route
// manager's origin and destination.
#ifndef ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_
#define ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_

#include <string>
#include <vector>

#include "commandline/options.h"
#include "frame/frame.h"

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

// `advicepath turns [ROUTE]`; `args` are the arguments after "turns".
int RunTurns(const std::vector<std::string>& args);

// Writes "advicepath: <message>" and a newline to standard error.
void ReportError(const std::string& message);

// The common start of a command: reads `args` by the command's line into `options`, prints
// the help when asked, sets up the log lines and loads the frame's set-up (route, size table,
// colours) into `setup`. Returns -1 when the command goes on, else the exit status it ends
// with (0 after the help, 2 after a bad command line or a set-up that cannot be loaded, with
// its message on standard error).
int StartFrameCommand(const CCommandLine& line, const std::vector<std::string>& args,
                      CCommandOptions& options, CFrameSetup& setup);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDS_COMMANDS_H_
