#include "commands/commands.h"

#include <iostream>

#include "commandline/logsetup.h"

namespace tool {

void ReportError(const std::string& message) { std::cerr << "advicepath: " << message << '\n'; }

namespace {

int StartCommand(const CCommandLine& line, const std::vector<std::string>& args,
                 CCommandOptions& options) {
  std::string error;
  if (!ParseCommandLine(line, args, options, error)) {
    ReportError(std::string(line.name) + ": " + error + " (see advicepath " + line.name +
                " --help)");
    return kExitBadInput;
  }
  if (options.help) {
    std::cout << FormatHelp(line);
    return kExitOk;
  }
  int priority = 0;
  ParseLogLevel(options.logLevel, priority);
  SetUpLogging(priority);
  return -1;
}

}  // namespace

int StartFrameCommand(const CCommandLine& line, const std::vector<std::string>& args,
                      CCommandOptions& options, CFrameSetup& setup) {
  const int status = StartCommand(line, args, options);
  if (status >= 0) return status;
  std::string error;
  if (!LoadFrameSetup(options, setup, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  return -1;
}

}  // namespace tool
