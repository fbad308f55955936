// The advicepath program's commands: `render` draws frames of a route with the renderer
// library and writes them as pictures; `turns` lists a route's turns.
//
// Each returns the process's exit status: 0 on success, 2 with a one-line message on
// standard error for bad input (options, files), an output that cannot be written, or a
// set-up the renderer library refuses. Help goes to standard output. Process-wide state
// touched: log4cpp's configuration and the route manager's origin and destination.
#ifndef ADVICEPATH_TOOLS_COMMANDS_H_
#define ADVICEPATH_TOOLS_COMMANDS_H_

#include <string>
#include <vector>

namespace tool {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // an unexpected failure, such as memory running out
constexpr int kExitBadInput = 2;

// `advicepath render [ROUTE] [options]`; `args` are the arguments after "render".
int RunRender(const std::vector<std::string>& args);

// `advicepath turns [ROUTE]`; `args` are the arguments after "turns".
int RunTurns(const std::vector<std::string>& args);

// Writes "advicepath: <message>" and a newline to standard error.
void ReportError(const std::string& message);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDS_H_
