#include "log_capture.h"

#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>

#include "logging.h"

namespace fakes {

class LogCapture::Appender : public log4cpp::AppenderSkeleton {
 public:
  explicit Appender(std::vector<LogLine>& lines)
      : log4cpp::AppenderSkeleton("test-capture"), m_Sink(lines) {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent& event) override {
    LogLine line;
    line.category = event.categoryName;
    line.priority = event.priority;
    line.text = event.message;
    LogContext context;
    if (ParseLogContext(event.ndc, context)) {
      line.file = context.file;
      line.line = context.line;
      line.function = context.function;
    }
    m_Sink.push_back(line);
  }

 private:
  std::vector<LogLine>& m_Sink;
};

LogCapture::LogCapture(const std::string& category)
    : m_Category(log4cpp::Category::getInstance(category)),
      m_OldPriority(m_Category.getPriority()),
      m_OldAdditivity(m_Category.getAdditivity()),
      mp_Appender(new Appender(m_Lines)) {
  m_Category.setPriority(log4cpp::Priority::DEBUG);
  m_Category.setAdditivity(false);
  m_Category.addAppender(mp_Appender);  // the category owns it from here
}

LogCapture::~LogCapture() {
  m_Category.removeAppender(mp_Appender);  // deletes it
  m_Category.setAdditivity(m_OldAdditivity);
  m_Category.setPriority(m_OldPriority);
}

void LogCapture::SetPriority(int priority) { m_Category.setPriority(priority); }

std::vector<LogLine> LogCapture::NonInfoLines() const {
  std::vector<LogLine> lines;
  for (const LogLine& line : m_Lines) {
    if (line.priority != log4cpp::Priority::INFO) lines.push_back(line);
  }
  return lines;
}

std::vector<LogLine> LogCapture::LinesStartingWith(const std::string& prefix) const {
  std::vector<LogLine> lines;
  for (const LogLine& line : m_Lines) {
    if (line.text.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

}  // namespace fakes
