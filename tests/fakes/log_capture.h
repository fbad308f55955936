// Captures the log lines of one log4cpp category for the life of the object: category,
// priority, function, file and exact text of each line. While it lives the category is
// enabled down to debug (so lines at priority 800 are written too) and does not pass lines
// on to its parents; the destructor puts both settings back.
#ifndef ADVICEPATH_TESTS_FAKES_LOG_CAPTURE_H_
#define ADVICEPATH_TESTS_FAKES_LOG_CAPTURE_H_

#include <string>
#include <vector>

namespace log4cpp {
class Category;
}

namespace fakes {

struct LogLine {
  std::string category;
  int priority = 0;
  std::string file;
  int line = 0;
  std::string function;
  std::string text;
};

class LogCapture {
 public:
  explicit LogCapture(const std::string& category = "pathRender");
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture();

  // Enables the category down to `priority` (log4cpp's scale) instead of debug, until the
  // next call or the destructor.
  void SetPriority(int priority);

  const std::vector<LogLine>& Lines() const { return m_Lines; }
  // Lines at a priority other than log4cpp's info (600): the failures and traces.
  std::vector<LogLine> NonInfoLines() const;
  // Lines whose text starts with `prefix`.
  std::vector<LogLine> LinesStartingWith(const std::string& prefix) const;
  void Clear() { m_Lines.clear(); }

 private:
  class Appender;

  log4cpp::Category& m_Category;
  int m_OldPriority;
  bool m_OldAdditivity;
  Appender* mp_Appender;  // Owned by the category while attached
  std::vector<LogLine> m_Lines;
};

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_LOG_CAPTURE_H_
