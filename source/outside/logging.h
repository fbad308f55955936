// Logging service: printf-style log lines through log4cpp, and a stopwatch.
//
// Each line is a log4cpp event of the named category at the given priority (log4cpp's
// numeric scale: 0 fatal, 300 error, 600 info, 700 debug, 800 not set). The message text is
// exactly the formatted text; the source position and function travel in the event's
// nested diagnostic context as "file:line function" (a PatternLayout prints it with %x,
// ParseLogContext splits it). A message is formatted only when its priority is enabled and
// the category, or an ancestor it passes lines to (additivity), has an appender.
//
// Priority 800 ("not set") marks the most verbose lines. log4cpp itself never enables that
// priority, so here such a line goes out when the category is enabled down to debug (700).
//
// The three logging functions never throw. Formatting a line needs the heap and a host's
// appenders may throw: a line that cannot be made (out of memory) is dropped, and an
// appender that throws misses that line while the category's other appenders still get it.
// The caller goes on as if the line had been written.
//
// Threads: any thread may call the three logging functions at any time. A line reaches
// all of its appenders before any other line written through these functions reaches any,
// so lines written at the same time from several threads arrive whole and once each, even
// at appenders that do not lock (log4cpp's do not). The lock is this file's own: lines a
// host writes through log4cpp's Category directly are serialised by log4cpp per category,
// not against these. Appenders are called from a copy of their category's set, so the
// logging set-up (priorities, additivity, appenders) must be complete before threads log,
// and a host that removes (and so deletes) an appender must not do so while another thread
// logs. An appender may itself log through these functions (its line is delivered inside
// the current one); it must not wait for another thread that logs.
#ifndef ADVICEPATH_OUTSIDE_LOGGING_H_
#define ADVICEPATH_OUTSIDE_LOGGING_H_

#include <chrono>
#include <string>

// Writes one line at `priority` to `category` when that priority is enabled there and an
// appender would receive the line (see log4cpp_IsInfoEnabled). `file` and `line` are the
// caller's source position, `function` its qualified name. Null category or format: nothing.
void log4cpp_category_log(const char* category, int priority, const char* file, int line,
                          const char* function, const char* format, ...) noexcept
    __attribute__((format(printf, 6, 7)));

// The same at log4cpp's info priority (600).
void log4cpp_Info(const char* category, const char* file, int line, const char* function,
                  const char* format, ...) noexcept __attribute__((format(printf, 5, 6)));

// True when a line of log4cpp_Info to `category` would reach an appender now: the category
// is enabled at log4cpp's info priority (600), and it or an ancestor it passes lines to
// (while additivity holds) has an appender. Callers use it to skip work whose only use is
// such a line; log4cpp as it comes (root at INFO, no appender) answers false. Cheap enough
// for every frame: no allocation for a category name of up to 15 characters (the standard
// string's inline buffer), a few uncontended locks. False for a null category, and when
// log4cpp cannot answer.
bool log4cpp_IsInfoEnabled(const char* category) noexcept;

// The parts of a line's context as ParseLogContext finds them.
struct LogContext {
  std::string file;      // source file of the call, relative to the project root
  int line = 0;          // source line of the call
  std::string function;  // qualified name of the operation that logged
};

// Splits a nested diagnostic context written by the two functions above. False when `ndc`
// is not of the form "file:line function".
bool ParseLogContext(const std::string& ndc, LogContext& context);

// A stopwatch on the monotonic clock.
class Timer {
 public:
  Timer();
  ~Timer();

  // Takes the start time.
  void StartTime();
  // Takes the end time.
  void EndTime();
  // Milliseconds from StartTime to EndTime; 0 before both were called.
  double GetTime() const;

 private:
  std::chrono::steady_clock::time_point m_Start;  // when StartTime ran
  std::chrono::steady_clock::time_point m_End;    // when EndTime ran
};

#endif  // ADVICEPATH_OUTSIDE_LOGGING_H_
