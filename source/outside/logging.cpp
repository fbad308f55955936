#include "logging.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <log4cpp/Appender.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>
#include <mutex>
#include <string>

namespace {

// The threshold a priority is checked against: log4cpp's NOTSET (800) can never be enabled,
// so lines at 800 and above count as debug lines for the check only.
int EnablingPriority(int priority) {
  return priority >= log4cpp::Priority::NOTSET ? static_cast<int>(log4cpp::Priority::DEBUG)
                                               : priority;
}

__attribute__((format(printf, 1, 0))) std::string FormatV(const char* format, va_list args) {
  char stackBuf[256];
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(stackBuf, sizeof stackBuf, format, copy);
  va_end(copy);
  if (needed < 0) return std::string();
  if (static_cast<std::size_t>(needed) < sizeof stackBuf) return std::string(stackBuf, needed);
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

// Serialises the delivery of lines: a line reaches every one of its appenders before the
// next line, from any thread, reaches any. log4cpp's appenders do not lock (an
// OstreamAppender writes its stream as it is called); log4cpp's own callAppenders calls
// them under its category's lock, which is private to log4cpp, so the lines of this file
// take this lock instead. A std::mutex is constant-initialised: lines written while other
// static objects are built or destroyed still find it usable.
std::mutex g_DeliveryMutex;
// True on a thread while it holds g_DeliveryMutex.
thread_local bool t_isDelivering = false;

// Holds g_DeliveryMutex for the delivery of one line. An appender that logs through these
// functions is already inside a delivery on its thread: its own line is delivered in the
// middle of the current one rather than waiting for a lock its thread holds. Taking the
// lock may throw (std::system_error); then nothing is held.
class CDelivery {
 public:
  CDelivery() : m_isOwner(!t_isDelivering) {
    if (!m_isOwner) return;
    g_DeliveryMutex.lock();
    t_isDelivering = true;
  }
  CDelivery(const CDelivery&) = delete;
  CDelivery& operator=(const CDelivery&) = delete;
  ~CDelivery() {
    if (!m_isOwner) return;
    t_isDelivering = false;
    g_DeliveryMutex.unlock();
  }

 private:
  bool m_isOwner;  // this delivery took the lock, not an outer one on the same thread
};

// True when `cat`, or an ancestor it passes its lines to while additivity holds, has an
// appender: a line written to it would reach somebody. Allocates nothing: each category
// answers its first appender under its own lock, without copying its set.
bool IsHeard(const log4cpp::Category& cat) {
  for (const log4cpp::Category* c = &cat; c != nullptr;
       c = c->getAdditivity() ? c->getParent() : nullptr) {
    if (c->getAppender() != nullptr) return true;
  }
  return false;
}

// Hands `event` to every appender of `cat`, then of its ancestors while additivity holds,
// as log4cpp's callAppenders does, under g_DeliveryMutex. callAppenders may not let an
// exception out (it is declared throw()), so an appender that threw there would end the
// process; here each appender is called on its own, and one that throws loses only its own
// copy of the line. The appenders are called from a copy of each category's set.
void CallAppenders(log4cpp::Category& cat, const log4cpp::LoggingEvent& event) {
  const CDelivery delivery;
  for (log4cpp::Category* c = &cat; c != nullptr;
       c = c->getAdditivity() ? c->getParent() : nullptr) {
    const log4cpp::AppenderSet appenders = c->getAllAppenders();
    for (log4cpp::Appender* appender : appenders) {
      try {
        appender->doAppend(event);
      } catch (...) {
        // This appender misses the line; the next ones still get it.
      }
    }
  }
}

__attribute__((format(printf, 6, 0))) void LogV(const char* category, int priority,
                                                const char* file, int line, const char* function,
                                                const char* format, va_list args) noexcept {
  if (category == nullptr || format == nullptr) return;
  // Everything below may throw: the lookup and the strings allocate. A line that cannot be
  // made is dropped.
  try {
    log4cpp::Category& cat = log4cpp::Category::getInstance(category);
    // A line nobody would receive is neither formatted nor delivered.
    if (!cat.isPriorityEnabled(EnablingPriority(priority)) || !IsHeard(cat)) return;
    std::string ndc = file != nullptr ? file : "?";
    ndc += ':';
    ndc += std::to_string(line);
    ndc += ' ';
    ndc += function != nullptr ? function : "?";
    CallAppenders(cat, log4cpp::LoggingEvent(cat.getName(), FormatV(format, args), ndc, priority));
  } catch (...) {
    // The line is lost; the caller must not notice.
  }
}

}  // namespace

void log4cpp_category_log(const char* category, int priority, const char* file, int line,
                          const char* function, const char* format, ...) noexcept {
  va_list args;
  va_start(args, format);
  LogV(category, priority, file, line, function, format, args);
  va_end(args);
}

void log4cpp_Info(const char* category, const char* file, int line, const char* function,
                  const char* format, ...) noexcept {
  va_list args;
  va_start(args, format);
  LogV(category, log4cpp::Priority::INFO, file, line, function, format, args);
  va_end(args);
}

bool log4cpp_IsInfoEnabled(const char* category) noexcept {
  if (category == nullptr) return false;
  try {
    const log4cpp::Category& cat = log4cpp::Category::getInstance(category);
    return cat.isPriorityEnabled(log4cpp::Priority::INFO) && IsHeard(cat);
  } catch (...) {
    return false;  // the category cannot be made: nothing could be written to it
  }
}

bool ParseLogContext(const std::string& ndc, LogContext& context) {
  const std::size_t space = ndc.find(' ');
  if (space == std::string::npos) return false;
  const std::size_t colon = ndc.rfind(':', space);
  if (colon == std::string::npos || colon + 1 >= space) return false;
  const std::string lineText = ndc.substr(colon + 1, space - colon - 1);
  char* end = nullptr;
  const long line = std::strtol(lineText.c_str(), &end, 10);
  if (*end != '\0') return false;  // strtol always sets `end`
  context.file = ndc.substr(0, colon);
  context.line = static_cast<int>(line);
  context.function = ndc.substr(space + 1);
  return true;
}

Timer::Timer() = default;
Timer::~Timer() = default;

void Timer::StartTime() { m_Start = std::chrono::steady_clock::now(); }

void Timer::EndTime() { m_End = std::chrono::steady_clock::now(); }

double Timer::GetTime() const {
  return std::chrono::duration<double, std::milli>(m_End - m_Start).count();
}
