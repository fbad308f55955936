// Log lines of the advicepath program: every log4cpp category writes to standard error, one
// line per event, "<PRIORITY> <category> <file>:<line> <function>: <text>" (the renderer
// passes its source position and function in the event's context, which %x prints).
//
// Configures log4cpp's process-wide hierarchy: call once, on the main thread, before the
// renderer runs.
#ifndef ADVICEPATH_TOOLS_COMMANDLINE_LOGSETUP_H_
#define ADVICEPATH_TOOLS_COMMANDLINE_LOGSETUP_H_

#include <optional>
#include <string>

namespace tool {

// The log4cpp priority named `name`: "fatal" 0, "error" 300, "warn" 400, "info" 600,
// "debug" 700 (which also lets the renderer's priority-800 trace lines through). False for
// any other name.
bool ParseLogLevel(const std::string& name, int& priority);

// Sends the root category, and with it "pathRender", to standard error at `priority`; with
// none, nothing is sent anywhere (and the library skips the work its information lines would
// cost). The appender and its layout are owned by log4cpp.
void SetUpLogging(std::optional<int> priority);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_COMMANDLINE_LOGSETUP_H_
