#include "commands/commands.h"

#include <iostream>

#include "commandline/logsetup.h"
#include "input/inputfile.h"

namespace tool {

void ReportError(const std::string& message) {
  std::cerr << "advicepath: " << OneLine(message) << '\n';
}

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

int RunFrameCommand(const CCommandLine& line, const std::vector<std::string>& args,
                    const CLogLevel& level, const CSetupRequest& request,
                    const std::function<int(CFrameSetup& setup, std::string& error)>& body,
                    const std::function<bool(std::string& error)>& check) {
  const int status = StartCommand(line, args, level, check);
  if (status >= 0) return status;
  CFrameSetup setup;
  std::string error;
  const int result = LoadFrameSetup(request, setup, error) ? body(setup, error) : kExitBadInput;
  if (result == kExitBadInput) ReportError(error);
  return result;
}

}  // namespace tool
