#include "logging.h"

#include <gtest/gtest.h>

#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>
#include <stdexcept>
#include <string>

#include "log_capture.h"

namespace {

// A host's appender gone wrong: it throws from every line, a standard exception or not.
class CThrowingAppender : public log4cpp::AppenderSkeleton {
 public:
  explicit CThrowingAppender(bool throwStandard)
      : log4cpp::AppenderSkeleton("throwing"), m_isStandard(throwStandard) {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent&) override {
    if (m_isStandard) throw std::runtime_error("appender failed");
    throw 42;
  }

 private:
  bool m_isStandard;  // throws std::runtime_error, else an int
};

// A host's appender that reports through the logging service itself: for each line it
// receives it writes one line of its own to another category.
class CEchoingAppender : public log4cpp::AppenderSkeleton {
 public:
  explicit CEchoingAppender(const char* echoCategory)
      : log4cpp::AppenderSkeleton("echoing"), m_EchoCategory(echoCategory) {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent& event) override {
    log4cpp_category_log(m_EchoCategory, 300, "f", 1, "g", "echo of %s", event.message.c_str());
  }

 private:
  const char* m_EchoCategory;  // Borrowed: a literal
};

TEST(LoggingTest, LineCarriesCategoryPriorityPositionFunctionAndText) {
  fakes::LogCapture capture("loggingTest");
  log4cpp_category_log("loggingTest", 300, "source/x.cpp", 42, "C::F", "value %d \n", 7);
  log4cpp_Info("loggingTest", "source/y.cpp", 9, "C::G", "timer::%lfms", 1.5);
  ASSERT_EQ(capture.Lines().size(), 2u);
  const fakes::LogLine& error = capture.Lines()[0];
  EXPECT_EQ(error.category, "loggingTest");
  EXPECT_EQ(error.priority, 300);
  EXPECT_EQ(error.file, "source/x.cpp");
  EXPECT_EQ(error.line, 42);
  EXPECT_EQ(error.function, "C::F");
  EXPECT_EQ(error.text, "value 7 \n");
  EXPECT_EQ(capture.Lines()[1].priority, log4cpp::Priority::INFO);
  EXPECT_EQ(capture.Lines()[1].text, "timer::1.500000ms");
}

TEST(LoggingTest, DisabledPrioritiesWriteNothing) {
  fakes::LogCapture capture("loggingQuiet");
  log4cpp::Category::getInstance("loggingQuiet").setPriority(log4cpp::Priority::ERROR);
  log4cpp_category_log("loggingQuiet", 800, "f", 1, "g", "trace");
  log4cpp_Info("loggingQuiet", "f", 1, "g", "info");
  log4cpp_category_log("loggingQuiet", 0, "f", 1, "g", "fatal");
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].text, "fatal");
  EXPECT_FALSE(log4cpp_IsInfoEnabled("loggingQuiet"));
  log4cpp::Category::getInstance("loggingQuiet").setPriority(log4cpp::Priority::INFO);
  EXPECT_TRUE(log4cpp_IsInfoEnabled("loggingQuiet"));
  EXPECT_FALSE(log4cpp_IsInfoEnabled(nullptr));
}

TEST(LoggingTest, InfoIsEnabledOnlyWhereAnAppenderWouldReceiveIt) {
  // Fault: with log4cpp as it comes (root at INFO, no appender) information lines counted as
  // enabled, so every traced operation measured and formatted lines that reached nobody.
  ASSERT_EQ(log4cpp::Category::getRoot().getAppender(), nullptr);
  log4cpp::Category& child = log4cpp::Category::getInstance("loggingHeard.child");
  log4cpp::Category::getInstance("loggingHeard").setPriority(log4cpp::Priority::INFO);
  EXPECT_FALSE(log4cpp_IsInfoEnabled("loggingHeard.child"));  // enabled, nobody listens
  fakes::LogCapture capture("loggingHeard");                  // the parent gets an appender
  EXPECT_TRUE(log4cpp_IsInfoEnabled("loggingHeard.child"));   // heard through its parent
  log4cpp_Info("loggingHeard.child", "f", 1, "g", "heard");
  child.setAdditivity(false);
  EXPECT_FALSE(log4cpp_IsInfoEnabled("loggingHeard.child"));  // it no longer passes lines on
  log4cpp_Info("loggingHeard.child", "f", 1, "g", "unheard");
  capture.SetPriority(log4cpp::Priority::WARN);
  EXPECT_FALSE(log4cpp_IsInfoEnabled("loggingHeard"));  // listened to, not enabled
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].text, "heard");
}

TEST(LoggingTest, NotSetLinesGoOutWhenTheCategoryIsAtDebug) {
  // log4cpp never enables its NOTSET priority itself; debug stands in for it.
  fakes::LogCapture capture("loggingVerbose");
  log4cpp_category_log("loggingVerbose", 800, "f", 1, "g", "trace \n");
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].priority, 800);
}

TEST(LoggingTest, LongMessagesAreWhole) {
  fakes::LogCapture capture("loggingLong");
  const std::string text(1000, 'x');
  log4cpp_category_log("loggingLong", 300, "f", 1, "g", "%s!", text.c_str());
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].text, text + "!");
}

TEST(LoggingTest, NullCategoryOrFormatIsIgnored) {
  log4cpp_category_log(nullptr, 300, "f", 1, "g", "x");
  fakes::LogCapture capture("loggingNull");
  const char* const noFormat = nullptr;
  log4cpp_category_log("loggingNull", 300, "f", 1, "g", noFormat);
  EXPECT_TRUE(capture.Lines().empty());
  log4cpp_category_log("loggingNull", 300, nullptr, 1, nullptr, "x");
  ASSERT_EQ(capture.Lines().size(), 1u);  // missing position and function are tolerated
}

TEST(LoggingTest, AppenderThatThrowsLosesItsLineNotTheCaller) {
  // Fault: an exception from an appender ended the process (log4cpp's callAppenders may not
  // throw), or left the logging call and with it the renderer.
  fakes::LogCapture capture("loggingThrows");
  log4cpp::Category& category = log4cpp::Category::getInstance("loggingThrows");
  for (const bool throwStandard : {true, false}) {
    log4cpp::Appender* appender = new CThrowingAppender(throwStandard);
    category.addAppender(appender);  // the category owns it
    capture.Clear();
    EXPECT_NO_THROW(log4cpp_category_log("loggingThrows", 300, "f", 1, "g", "error \n"));
    EXPECT_NO_THROW(log4cpp_Info("loggingThrows", "f", 1, "g", "info"));
    category.removeAppender(appender);  // deletes it
    // The category's other appender got both lines.
    ASSERT_EQ(capture.Lines().size(), 2u);
    EXPECT_EQ(capture.Lines()[1].text, "info");
  }
}

TEST(LoggingTest, AppenderThatLogsGetsItsLineInsteadOfWaitingForItself) {
  // A line is delivered under a lock: an appender that logs from inside a delivery must not
  // wait for the lock its own thread holds (it would hang the host).
  fakes::LogCapture echoed("loggingEchoed");
  fakes::LogCapture capture("loggingEcho");
  log4cpp::Category& category = log4cpp::Category::getInstance("loggingEcho");
  log4cpp::Appender* echoing = new CEchoingAppender("loggingEchoed");
  category.addAppender(echoing);  // the category owns it
  log4cpp_Info("loggingEcho", "f", 1, "g", "line");
  category.removeAppender(echoing);  // deletes it
  ASSERT_EQ(echoed.Lines().size(), 1u);
  EXPECT_EQ(echoed.Lines()[0].text, "echo of line");
  ASSERT_EQ(capture.Lines().size(), 1u);  // the line itself arrived as well
  EXPECT_EQ(capture.Lines()[0].text, "line");
}

TEST(LoggingTest, ParseLogContextSplitsPositionAndFunction) {
  LogContext context;
  ASSERT_TRUE(ParseLogContext("source/render/a.cpp:120 A::B", context));
  EXPECT_EQ(context.file, "source/render/a.cpp");
  EXPECT_EQ(context.line, 120);
  EXPECT_EQ(context.function, "A::B");
  EXPECT_FALSE(ParseLogContext("", context));
  EXPECT_FALSE(ParseLogContext("nofunction", context));
  EXPECT_FALSE(ParseLogContext("file12 A::B", context));  // no line number
  EXPECT_FALSE(ParseLogContext("file:12x A::B", context));
  EXPECT_FALSE(ParseLogContext("file: A::B", context));
}

TEST(TimerTest, MeasuresNonNegativeMilliseconds) {
  Timer timer;
  EXPECT_EQ(timer.GetTime(), 0.0);
  timer.StartTime();
  timer.EndTime();
  EXPECT_GE(timer.GetTime(), 0.0);
}

}  // namespace
