#include "commands/commands.h"

#include <iostream>

#include "commandline/logsetup.h"

namespace tool {

void ReportError(const std::string& message) { std::cerr << "advicepath: " << message << '\n'; }

int StartCommand(const CCommandLine& line, const std::vector<std::string>& args,
                 const CLogLevel& level, const std::function<bool(std::string& error)>& check) {
  std::string error;
  bool help = false;
  if (!ParseCommandLine(line, args, help, error) || (!help && check && !check(error))) {
    ReportError(std::string(line.name) + ": " + error + " (see advicepath " + line.name +
                " --help)");
    return kExitBadInput;
  }
  if (help) {
    std::cout << FormatHelp(line);
    return kExitOk;
  }
  SetUpLogging(level.priority);
  return -1;
}

int LoadSetup(const CSetupRequest& request, CFrameSetup& setup) {
  std::string error;
  if (!LoadFrameSetup(request, setup, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  return -1;
}

}  // namespace tool
