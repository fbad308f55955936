#include "commandline/logsetup.h"

#include <iostream>
#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/Priority.hh>

namespace tool {

namespace {

// A PatternLayout whose lines end in exactly one newline: many of the renderer's messages
// carry their own " \n", which would otherwise leave blank lines.
class CLogLineLayout : public log4cpp::PatternLayout {
 public:
  CLogLineLayout() { setConversionPattern("%p %c %x: %m"); }

  std::string format(const log4cpp::LoggingEvent& event) override {
    std::string line = PatternLayout::format(event);
    const std::size_t end = line.find_last_not_of(" \t\r\n");
    line.erase(end == std::string::npos ? 0 : end + 1);
    line += '\n';
    return line;
  }
};

}  // namespace

bool ParseLogLevel(const std::string& name, int& priority) {
  static const struct {
    const char* name;
    int priority;
  } kLevels[] = {
      {"fatal", log4cpp::Priority::FATAL}, {"error", log4cpp::Priority::ERROR},
      {"warn", log4cpp::Priority::WARN},   {"info", log4cpp::Priority::INFO},
      {"debug", log4cpp::Priority::DEBUG},
  };
  for (const auto& level : kLevels) {
    if (name == level.name) {
      priority = level.priority;
      return true;
    }
  }
  return false;
}

void SetUpLogging(std::optional<int> priority) {
  log4cpp::Category& root = log4cpp::Category::getRoot();
  root.removeAllAppenders();
  if (priority) {
    auto* appender = new log4cpp::OstreamAppender("stderr", &std::cerr);
    appender->setLayout(new CLogLineLayout());
    root.addAppender(appender);
  }
  const int shown = priority.value_or(log4cpp::Priority::FATAL);
  root.setPriority(shown);
  log4cpp::Category::getInstance("pathRender").setPriority(shown);
}

}  // namespace tool
