// The renderer under failing and counted allocations. This executable replaces the global
// operator new (alloc_counter.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "recording_map_view.h"
#include "route_builder.h"

namespace {

std::vector<AdvicePathSizeSetting> Table(int rows) {
  AdvicePathSizeSetting row = {8, 12, 20, 26, 0, 0, 60, 40, 5, 12, 8};
  return std::vector<AdvicePathSizeSetting>(static_cast<std::size_t>(rows), row);
}

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
  EXPECT_TRUE(view.Calls().empty());
  // Copies of a handle without a renderer have none either.
  AdvicePathRenderEx copy(handle);
  EXPECT_FALSE(copy.GetClr(colors));
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
  ASSERT_EQ(view.DrawCalls().size(), 2u);
  EXPECT_EQ(view.DrawCalls()[1].width, 8);
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
