// Log lines, and the renderer's operations that write them, when the heap runs out. This
// executable replaces the global operator new (alloc_counter.cpp), which log4cpp and the
// standard library use as well.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "log_capture.h"
#include "logging.h"
#include "recording_map_view.h"
#include "route_builder.h"

namespace {

// Allocations one test lets through before the heap runs out, from 0 up to this bound: far
// more than one line or one frame needs, so every allocation of it fails in some round.
constexpr int kMaxSkip = 120;

TEST(LoggingAllocTest, LineThatCannotBeMadeIsDropped) {
  // Fault: out of memory, the formatter's std::string threw out of the logging call.
  fakes::LogCapture capture("loggingAlloc");
  const std::string text(1000, 'x');  // past the formatter's stack buffer: the heap is needed
  int threw = 0;
  for (int skip = 0; skip <= kMaxSkip; ++skip) {
    fakes::FailAllocationsAfter(skip);
    try {
      log4cpp_category_log("loggingAlloc", 300, "source/x.cpp", 7, "C::F", "%s", text.c_str());
      log4cpp_Info("loggingAlloc", "source/x.cpp", 8, "C::G", "short");
    } catch (...) {
      ++threw;
    }
    fakes::FailNextAllocations(0);
  }
  EXPECT_EQ(threw, 0);
  // The rounds with enough memory wrote whole lines.
  ASSERT_FALSE(capture.Lines().empty());
  EXPECT_EQ(capture.Lines().back().text, "short");
  capture.Clear();
  log4cpp_category_log("loggingAlloc", 300, "source/x.cpp", 7, "C::F", "%s", text.c_str());
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].text, text);
}

TEST(LoggingAllocTest, RendererOperationsReturnWhenTheirLinesCannotBeMade) {
  // Fault: out of memory, a failure's log line threw out of SetSize, SetTurnInfo and Draw.
  fakes::LogCapture capture;  // the renderer's category, information lines on
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, std::vector<double>(10, 100.0)));
  const CTurnInfo turn = fakes::MakeTurn(*path, 4, 5);
  fakes::NullMapView view(1);  // allocates nothing itself
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  const AdvicePathSizeSetting row = {8, 12, 20, 26, 0, 0, 60, 40, 5, 12, 8};
  std::vector<AdvicePathSizeSetting> table(8, row);
  int threw = 0;
  for (int skip = 0; skip <= kMaxSkip; ++skip) {
    fakes::FailAllocationsAfter(skip);
    try {
      handle->SetSize(table.data(), 8, 30);
      handle->SetSize(nullptr, 8, 30);
      handle->SetTurnInfo(turn, path.get());
      handle->Draw(true, true);
    } catch (...) {
      ++threw;
    }
    fakes::FailNextAllocations(0);
  }
  EXPECT_EQ(threw, 0);
  // With memory back, the frame is whole: the route's two passes and the arrow.
  const long before = view.Calls();
  ASSERT_EQ(handle->SetSize(table.data(), 8, 30), 1);
  handle->SetTurnInfo(turn, path.get());
  handle->Draw(true, true);
  EXPECT_GT(view.Calls() - before, 20);
  EXPECT_TRUE(ClosePathRender(handle));
}

}  // namespace
