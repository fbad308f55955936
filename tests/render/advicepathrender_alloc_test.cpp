// The renderer under failing and counted allocations. This executable replaces the global
// operator new (alloc_counter.cpp).
#include <gtest/gtest.h>

#include <log4cpp/Category.hh>
#include <log4cpp/Priority.hh>
#include <memory>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "memstatus.h"
#include "recording_map_view.h"
#include "route_builder.h"

namespace {

std::vector<AdvicePathSizeSetting> Table(int rows) {
  AdvicePathSizeSetting row = {8, 12, 20, 26, 0, 0, 60, 40, 5, 12, 8};
  return std::vector<AdvicePathSizeSetting>(static_cast<std::size_t>(rows), row);
}

// For its life, the renderer's log category has `priority`; the old one is put back
// afterwards. At ERROR it writes errors only, so that the counts are the renderer's own and
// not those of the host's logging, which formats every traced frame's information lines. At
// NOTSET it is as log4cpp comes: it inherits the root's priority.
class CCategoryPriority {
 public:
  explicit CCategoryPriority(log4cpp::Priority::Value priority)
      : m_Category(log4cpp::Category::getInstance("pathRender")),
        m_OldPriority(m_Category.getPriority()) {
    m_Category.setPriority(priority);
  }
  CCategoryPriority(const CCategoryPriority&) = delete;
  CCategoryPriority& operator=(const CCategoryPriority&) = delete;
  ~CCategoryPriority() { m_Category.setPriority(m_OldPriority); }

 private:
  log4cpp::Category& m_Category;
  log4cpp::Priority::Value m_OldPriority;
};

TEST(AdvicePathRenderAllocTest, HandleWithoutRendererDoesNothing) {
  fakes::FailNextAllocations(1);  // the renderer's allocation
  AdvicePathRenderEx handle;
  fakes::FailNextAllocations(0);
  CNavPath path;
  fakes::RecordingMapView view;
  std::vector<AdvicePathSizeSetting> table = Table(8);
  AdvicePathClrSetting colors(1, 2, 3, 4);
  EXPECT_FALSE(handle.GetClr(colors));
  EXPECT_EQ(colors.pathColor, 1u);  // untouched
  EXPECT_FALSE(handle.SetPath(&path));
  EXPECT_FALSE(handle.SetDrawParm(&view));
  EXPECT_EQ(handle.SetSize(table.data(), 8, 30), 0);
  handle.SetClr(colors);
  handle.SetTurnInfo(CTurnInfo(), &path);
  handle.EnableDrawing(true);
  handle.EnableDrawRedLine(true);
  handle.Draw(true, true);
  handle.ClearBigArrow();
  handle.Clear();
  EXPECT_TRUE(view.GetCalls().empty());
  EXPECT_TRUE(view.ScaleQueries().empty());
  // Copies of a handle without a renderer have none either. Assigned to a handle with a
  // renderer, it leaves that handle without one (its renderer is deleted: the leak check);
  // a handle without one that is assigned a renderer shares it.
  AdvicePathRenderEx copy(handle);
  EXPECT_FALSE(copy.GetClr(colors));
  AdvicePathRenderEx withRenderer;
  withRenderer = handle;
  EXPECT_FALSE(withRenderer.GetClr(colors));
  EXPECT_FALSE(withRenderer.SetDrawParm(&view));
  const AdvicePathRenderEx source;
  copy = source;
  copy.SetClr(AdvicePathClrSetting(5, 6, 7, 8));
  ASSERT_TRUE(source.GetClr(colors));
  EXPECT_EQ(colors.pathColor, 5u);
  EXPECT_EQ(colors.arrowBorderColor, 8u);
}

TEST(AdvicePathRenderAllocTest, NewPathRenderReturnsNullWhenTheHandleCannotBeMade) {
  fakes::FailNextAllocations(1);
  AdvicePathRenderEx* handle = NewPathRender(nullptr, nullptr);
  fakes::FailNextAllocations(0);
  EXPECT_EQ(handle, nullptr);
}

TEST(AdvicePathRenderAllocTest, SetSizeOutOfMemoryKeepsThePreviousTable) {
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0}));
  fakes::RecordingMapView view(0);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  std::vector<AdvicePathSizeSetting> table = Table(8);
  ASSERT_EQ(handle->SetSize(table.data(), 8, 30), 1);
  std::vector<AdvicePathSizeSetting> wide = Table(8);
  wide[0].pathWidth = 99;
  fakes::FailNextAllocations(1);
  EXPECT_EQ(handle->SetSize(wide.data(), 8, 30), 0);
  fakes::FailNextAllocations(0);
  handle->Draw(true, false);
  ASSERT_EQ(view.GetCalls().size(), 2u);
  EXPECT_EQ(view.GetCalls()[1].width, 8);
  EXPECT_TRUE(ClosePathRender(handle));
}

// The strokes were made anew on every frame: seven allocations per frame with a turn ahead.
TEST(AdvicePathRenderAllocTest, TurnFramesAfterTheFirstAllocateNothing) {
  const CCategoryPriority quiet(log4cpp::Priority::ERROR);
  // Before the turn the strokes cover a whole guide and a cut one, of different point counts.
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, std::vector<double>(12, 100.0), 20));
  fakes::NullMapView view(0);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  std::vector<AdvicePathSizeSetting> table = Table(8);
  table[0].arrowEnterLength = 150;
  ASSERT_EQ(handle->SetSize(table.data(), 8, 30), 1);
  const CTurnInfo turn = fakes::MakeTurn(*path, 5, 6);
  handle->SetTurnInfo(turn, path.get());
  handle->Draw(true, true);
  const long callsPerFrame = view.Calls();
  ASSERT_EQ(callsPerFrame, 2 * 12 + 2 * 4 + 2);  // route, four strokes and the head, twice
  const long before = fakes::AllocationCount();
  for (int i = 0; i < 10; ++i) handle->Draw(true, true);
  EXPECT_EQ(fakes::AllocationCount() - before, 0);
  EXPECT_EQ(view.Calls(), 11 * callsPerFrame);
  // Clear releases the strokes' storage, so the next turn's first frame makes it again.
  handle->Clear();
  handle->SetTurnInfo(turn, path.get());
  const long afterClear = fakes::AllocationCount();
  handle->Draw(true, true);
  EXPECT_GT(fakes::AllocationCount() - afterClear, 0);
  EXPECT_TRUE(ClosePathRender(handle));
}

TEST(AdvicePathRenderAllocTest, TurnFramesNobodyHearsMeasureAndAllocateNothing) {
  // Fault: with log4cpp as it comes, every arrow frame took two memory snapshots and formatted
  // two information lines that no appender received (a third of the frames per second).
  const CCategoryPriority asItComes(log4cpp::Priority::NOTSET);
  const log4cpp::Category& root = log4cpp::Category::getRoot();
  ASSERT_TRUE(root.getPriority() == log4cpp::Priority::INFO && root.getAppender() == nullptr &&
              log4cpp::Category::getInstance("pathRender").getAppender() == nullptr);
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, std::vector<double>(12, 100.0), 20));
  fakes::NullMapView view(0);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  std::vector<AdvicePathSizeSetting> table = Table(8);
  ASSERT_EQ(handle->SetSize(table.data(), 8, 30), 1);
  handle->SetTurnInfo(fakes::MakeTurn(*path, 5, 6), path.get());
  handle->Draw(true, true);
  const long allocations = fakes::AllocationCount();
  const unsigned long snapshots = GetMemoryStatusCount();
  for (int i = 0; i < 10; ++i) handle->Draw(true, true);
  EXPECT_EQ(fakes::AllocationCount() - allocations, 0);
  EXPECT_EQ(GetMemoryStatusCount(), snapshots);
  EXPECT_EQ(view.Calls(), 11 * (2 * 12 + 2 * 3 + 2));  // the arrow was drawn all the same
  EXPECT_TRUE(ClosePathRender(handle));
}

TEST(AdvicePathRenderAllocTest, RouteFrameAllocatesNothing) {
  auto path = fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0, 50.0, 70.0}, 20));
  fakes::NullMapView view(0);
  AdvicePathRenderEx* handle = NewPathRender(path.get(), &view);
  ASSERT_NE(handle, nullptr);
  std::vector<AdvicePathSizeSetting> table = Table(8);
  ASSERT_EQ(handle->SetSize(table.data(), 8, 30), 1);
  handle->Draw(true, false);
  const long before = fakes::AllocationCount();
  for (int i = 0; i < 10; ++i) handle->Draw(true, false);
  EXPECT_EQ(fakes::AllocationCount() - before, 0);
  EXPECT_EQ(view.Calls(), 11 * 6);
  EXPECT_TRUE(ClosePathRender(handle));
}

}  // namespace
