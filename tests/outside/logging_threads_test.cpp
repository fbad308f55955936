// Log lines written from two threads at once. Runs under ThreadSanitizer in scripts/tsan.sh
// (the "threads" label).
#include <gtest/gtest.h>

#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "logging.h"

namespace {

// An appender in the manner of log4cpp's OstreamAppender: it writes each line to its text as
// it is called, a character at a time, and locks nothing. Lines delivered to it at the same
// time interleave.
class CPiecewiseAppender : public log4cpp::AppenderSkeleton {
 public:
  explicit CPiecewiseAppender(std::vector<char>& text)
      : log4cpp::AppenderSkeleton("piecewise"), m_Text(text) {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent& event) override {
    for (const char c : event.message) m_Text.push_back(c);
    m_Text.push_back('\n');
  }

 private:
  std::vector<char>& m_Text;  // Borrowed: the test's, outlives the appender
};

TEST(LoggingThreadsTest, LinesFromTwoThreadsArriveWholeAndOnce) {
  // Fault: the appenders were called outside any lock, so lines written at the same time
  // from two threads reached an unlocked appender interleaved, mangled and duplicated.
  constexpr int kThreads = 2;
  constexpr int kLinesPerThread = 2000;
  log4cpp::Category& category = log4cpp::Category::getInstance("loggingThreads");
  category.setAdditivity(false);
  category.setPriority(log4cpp::Priority::INFO);
  std::vector<char> text;
  category.addAppender(new CPiecewiseAppender(text));  // the category owns it
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kLinesPerThread; ++i) {
        // Both kinds of line, long enough that an unlocked appender is caught mid-line.
        if (i % 2 == 0) {
          log4cpp_Info("loggingThreads", "f", i, "g", "thread %d line %d of the info lines", t, i);
        } else {
          log4cpp_category_log("loggingThreads", 300, "f", i, "g",
                               "thread %d line %d of the error lines", t, i);
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  category.removeAllAppenders();

  std::map<std::string, int> seen;
  std::istringstream lines(std::string(text.begin(), text.end()));
  for (std::string line; std::getline(lines, line);) ++seen[line];
  int whole = 0;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kLinesPerThread; ++i) {
      const std::string expected = "thread " + std::to_string(t) + " line " + std::to_string(i) +
                                   (i % 2 == 0 ? " of the info lines" : " of the error lines");
      const auto it = seen.find(expected);
      whole += it != seen.end() && it->second == 1 ? 1 : 0;
    }
  }
  EXPECT_EQ(whole, kThreads * kLinesPerThread);  // every line once, as written
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kLinesPerThread));  // nothing else
}

}  // namespace
