// Two handles drawing on two threads at once, each on a view of its own over one shared
// path: every frame must be the frame one thread alone draws. Runs under ThreadSanitizer in
// scripts/tsan.sh (the "threads" label).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "advicepathrenderex.h"
#include "log_capture.h"
#include "mapservice.h"
#include "recording_map_view.h"
#include "route.h"
#include "route_builder.h"

namespace {

using Torvane::CDrawCall;

// Row i of the table: every width distinct, so a frame's calls tell which row it used; the
// arrow asks for 50 m before the turn, 50 m + 11 m after it, a 10 m head 6 m wide.
std::vector<AdvicePathSizeSetting> Table(int rows) {
  std::vector<AdvicePathSizeSetting> table;
  for (int i = 0; i < rows; ++i) {
    table.push_back({100 + i, 200 + i, 300 + i, 400 + i, 500 + i, 600 + i, 50, 50, 5, 10, 6});
  }
  return table;
}

// Frames each drawing thread draws. Under ThreadSanitizer a frame costs about ten times as
// much; 20,000 frames there still take seconds, not minutes.
constexpr int kThreadFrames = 20000;

// True when the two frames made the same calls with the same values and points, bit for bit.
bool SameCalls(const std::vector<CDrawCall>& a, const std::vector<CDrawCall>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const CDrawCall& x = a[i];
    const CDrawCall& y = b[i];
    if (x.op != y.op || x.count != y.count || x.style != y.style || x.color != y.color ||
        x.width != y.width || x.points.size() != y.points.size() ||
        (!x.points.empty() &&
         std::memcmp(x.points.data(), y.points.data(), x.points.size() * sizeof(tagLonLat)) != 0)) {
      return false;
    }
  }
  return true;
}

// A route of twelve guides of 100 m east shared by both threads and changed by neither,
// three turns along it, an eight-row table with the arrow up to index 5, the red line on, and
// the log captured (so every traced operation measures and writes its lines, as for a host
// that listens). Scale indexes 0 to 9: rows 0 to 7, then two past the table that fall back to
// row 5.
class AdvicePathRenderThreadsTest : public ::testing::Test {
 protected:
  static constexpr int kTurns = 3;
  static constexpr int kScales = 10;
  static constexpr int kMaxTurnScale = 5;
  static constexpr int kFramesPerTurn = 7;

  AdvicePathRenderThreadsTest()
      : m_Path(fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, std::vector<double>(12, 100.0)))),
        m_Turns{fakes::MakeTurn(*m_Path, 3, 4), fakes::MakeTurn(*m_Path, 6, 7),
                fakes::MakeTurn(*m_Path, 8, 9)},
        m_Table(Table(8)) {
    GetRouteManager().GetPathManager().SetOrgPoint({1.0, 0.0});
    GetRouteManager().GetPathManager().SetDestPoints({{1.0, 0.5}});
  }
  ~AdvicePathRenderThreadsTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  // A handle on `view` with the fixture's route, table and red line. The caller closes it.
  AdvicePathRenderEx* NewHandle(fakes::RecordingMapView& view) {
    AdvicePathRenderEx* handle = NewPathRender(m_Path.get(), &view);
    handle->SetSize(m_Table.data(), static_cast<int>(m_Table.size()), kMaxTurnScale);
    handle->EnableDrawRedLine(true);
    return handle;
  }

  // Draws thread `thread`'s frames on a handle and view of its own, the turn taken anew every
  // kFramesPerTurn frames and the scale index changed every frame, out of step with the other
  // thread. Returns how many frames drew other calls than `reference` holds for their turn
  // and scale index.
  int DrawFrames(int thread, const std::vector<CDrawCall> (&reference)[kTurns][kScales]) {
    fakes::RecordingMapView view;
    AdvicePathRenderEx* handle = NewHandle(view);
    int wrong = 0;
    for (int frame = 0; frame < kThreadFrames; ++frame) {
      const int turn = (frame / kFramesPerTurn + thread) % kTurns;
      if (frame % kFramesPerTurn == 0) handle->SetTurnInfo(m_Turns[turn], m_Path.get());
      const int scale = (frame + 3 * thread) % kScales;
      view.SetScaleIndex(scale);
      view.Reset();
      handle->Draw(true, true);
      wrong += SameCalls(view.GetCalls(), reference[turn][scale]) ? 0 : 1;
    }
    ClosePathRender(handle);
    return wrong;
  }

  fakes::LogCapture m_Log;
  std::unique_ptr<CNavPath> m_Path;
  const CTurnInfo m_Turns[kTurns];
  std::vector<AdvicePathSizeSetting> m_Table;
};

TEST_F(AdvicePathRenderThreadsTest, TwoHandlesOnTwoThreadsDrawWhatOneThreadDraws) {
  // Every frame of every turn and scale index, drawn first on this thread alone.
  std::vector<CDrawCall> reference[kTurns][kScales];
  {
    fakes::RecordingMapView view;
    AdvicePathRenderEx* handle = NewHandle(view);
    for (int turn = 0; turn < kTurns; ++turn) {
      handle->SetTurnInfo(m_Turns[turn], m_Path.get());
      for (int scale = 0; scale < kScales; ++scale) {
        view.SetScaleIndex(scale);
        view.Reset();
        handle->Draw(true, true);
        reference[turn][scale] = view.GetCalls();
      }
    }
    ClosePathRender(handle);
  }
  // The arrow is drawn up to index 5 and at the two indexes that fall back to row 5.
  ASSERT_EQ(reference[0][2].size(), 2 * 12 + 2 * 3 + 2 + 1u);  // route, arrow, red line
  ASSERT_EQ(reference[0][6].size(), 2 * 12 + 1u);              // route, red line
  ASSERT_EQ(reference[0][9].size(), reference[0][5].size());
  m_Log.Clear();

  int wrong[2] = {-1, -1};
  std::thread first([&] { wrong[0] = DrawFrames(0, reference); });
  std::thread second([&] { wrong[1] = DrawFrames(1, reference); });
  first.join();
  second.join();
  EXPECT_EQ(wrong[0], 0);
  EXPECT_EQ(wrong[1], 0);
  // Every traced operation's lines arrived once: on each thread, one SetTurnInfo every
  // kFramesPerTurn frames and one DrawTurn in the 8 frames of every 10 at an arrow scale.
  const std::size_t turns = 2 * ((kThreadFrames + kFramesPerTurn - 1) / kFramesPerTurn);
  const std::size_t arrows = 2 * kThreadFrames / kScales * 8;
  EXPECT_EQ(m_Log.LinesStartingWith("timerSetTurnInfo::").size(), turns);
  EXPECT_EQ(m_Log.LinesStartingWith("memcnterSetTurnInfo::").size(), turns);
  EXPECT_EQ(m_Log.LinesStartingWith("timerDrawTurn::").size(), arrows);
  EXPECT_EQ(m_Log.LinesStartingWith("memcnterDrawTurn::").size(), arrows);
}

}  // namespace
