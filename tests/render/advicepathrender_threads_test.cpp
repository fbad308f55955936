// Two handles drawing on two threads at once, each on a view of its own over one shared
// path: every frame must be the frame one thread alone draws. Runs under ThreadSanitizer in
// scripts/tsan.sh (the "threads" label).
#include <gtest/gtest.h>

#include <cstring>
#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "advicepathrenderex.h"
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

// Counts the lines it receives by their text up to "::" ("timerDrawTurn", ...), and the
// lines that are not information lines. It locks nothing: the logging service delivers one
// line at a time.
class CLineCounter : public log4cpp::AppenderSkeleton {
 public:
  explicit CLineCounter(std::map<std::string, long>& counts)
      : log4cpp::AppenderSkeleton("line-counter"), m_Counts(counts) {}
  void close() override {}
  bool requiresLayout() const override { return false; }
  void setLayout(log4cpp::Layout* layout) override { delete layout; }

 protected:
  void _append(const log4cpp::LoggingEvent& event) override {
    if (event.priority != log4cpp::Priority::INFO) {
      ++m_Counts["other"];
      return;
    }
    ++m_Counts[event.message.substr(0, event.message.find("::"))];
  }

 private:
  std::map<std::string, long>& m_Counts;  // Borrowed: the test's, outlives the appender
};

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
// three turns along it, an eight-row table with the arrow up to index 5, the red line on.
// Scale indexes 0 to 9: rows 0 to 7, then two past the table that fall back to row 5.
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
        m_Table(Table(8)),
        m_Category(log4cpp::Category::getInstance("pathRender")),
        m_OldPriority(m_Category.getPriority()),
        m_OldAdditivity(m_Category.getAdditivity()) {
    GetRouteManager().GetPathManager().SetOrgPoint({1.0, 0.0});
    GetRouteManager().GetPathManager().SetDestPoints({{1.0, 0.5}});
    // Information lines on, into a counter: the frames trace as a listened-to host's do.
    m_Category.setPriority(log4cpp::Priority::INFO);
    m_Category.setAdditivity(false);
    m_Category.addAppender(new CLineCounter(m_Lines));  // the category owns it
  }
  ~AdvicePathRenderThreadsTest() override {
    m_Category.removeAllAppenders();
    m_Category.setAdditivity(m_OldAdditivity);
    m_Category.setPriority(m_OldPriority);
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

  // Thread `thread`'s frame `frame`: the turn (taken anew every kFramesPerTurn frames) and the
  // scale index. The two threads run through them out of step.
  static int TurnOf(int thread, int frame) { return (frame / kFramesPerTurn + thread) % kTurns; }
  static int ScaleOf(int thread, int frame) { return (frame + 3 * thread) % kScales; }

  // Draws thread `thread`'s frames on a handle and view of its own; returns how many drew
  // other calls than `reference` holds for their turn and scale index.
  int DrawFrames(int thread, const std::vector<CDrawCall> (&reference)[kTurns][kScales]) {
    fakes::RecordingMapView view;
    AdvicePathRenderEx* handle = NewHandle(view);
    int wrong = 0;
    for (int frame = 0; frame < kThreadFrames; ++frame) {
      const int turn = TurnOf(thread, frame);
      if (frame % kFramesPerTurn == 0) handle->SetTurnInfo(m_Turns[turn], m_Path.get());
      const int scale = ScaleOf(thread, frame);
      view.SetScaleIndex(scale);
      view.Reset();
      handle->Draw(true, true);
      wrong += SameCalls(view.GetCalls(), reference[turn][scale]) ? 0 : 1;
    }
    ClosePathRender(handle);
    return wrong;
  }

  std::unique_ptr<CNavPath> m_Path;
  const CTurnInfo m_Turns[kTurns];
  std::vector<AdvicePathSizeSetting> m_Table;
  std::map<std::string, long> m_Lines;  // lines received, by kind
  log4cpp::Category& m_Category;
  int m_OldPriority;
  bool m_OldAdditivity;
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
  m_Lines.clear();

  int wrong[2] = {-1, -1};
  std::thread first([&] { wrong[0] = DrawFrames(0, reference); });
  std::thread second([&] { wrong[1] = DrawFrames(1, reference); });
  first.join();
  second.join();
  EXPECT_EQ(wrong[0], 0);
  EXPECT_EQ(wrong[1], 0);
  // Each traced operation wrote its two lines, whole and once: each thread's SetSize, one
  // SetTurnInfo every kFramesPerTurn frames, one DrawTurn in each frame at an arrow scale.
  long turns = 0;
  long arrows = 0;
  for (int thread = 0; thread < 2; ++thread) {
    for (int frame = 0; frame < kThreadFrames; ++frame) {
      turns += frame % kFramesPerTurn == 0 ? 1 : 0;
      const int scale = ScaleOf(thread, frame);
      arrows += scale <= kMaxTurnScale || scale >= 8 ? 1 : 0;
    }
  }
  const std::map<std::string, long> expected = {
      {"memcnterDrawTurn", arrows}, {"memcnterSetSize", 2}, {"memcnterSetTurnInfo", turns},
      {"timerDrawTurn", arrows},    {"timerSetSize", 2},    {"timerSetTurnInfo", turns}};
  EXPECT_EQ(m_Lines, expected);
}

}  // namespace
