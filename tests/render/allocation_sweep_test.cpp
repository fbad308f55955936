// A whole session of the exported handle, run once per allocation it makes, with that one
// allocation made to fail: every failure must end in documented results and log lines, with
// no exception escaping, and leave a handle that can still draw once memory is back and
// that closes cleanly. Leaks show in the sanitizer build. This executable replaces the
// global operator new (alloc_counter.cpp); the view and the log capture here allocate
// nothing while the session runs, so every allocation counted is the library's own or its
// logging's.
#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <log4cpp/AppenderSkeleton.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>
#include <memory>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "alloc_counter.h"
#include "mapservice.h"
#include "route.h"
#include "route_builder.h"

namespace {

constexpr int kMaxFrames = 8;
constexpr int kMaxCallsPerFrame = 32;
constexpr int kMaxLines = 64;
constexpr int kTextSize = 96;
// Far more allocations than one session makes; the sweep stops long before.
constexpr long kMaxSweep = 100000;

// One frame's draw calls: operation and point count of each.
struct Frame {
  int calls = 0;
  bool polygon[kMaxCallsPerFrame] = {};
  int count[kMaxCallsPerFrame] = {};
};

bool SameCalls(const Frame& a, int from, const Frame& b, int bFrom, int n) {
  for (int i = 0; i < n; ++i) {
    if (a.polygon[from + i] != b.polygon[bFrom + i] || a.count[from + i] != b.count[bFrom + i]) {
      return false;
    }
  }
  return true;
}

bool SameFrame(const Frame& a, const Frame& b) {
  return a.calls == b.calls && SameCalls(a, 0, b, 0, a.calls);
}

// A frame drawn like `reference` (the route's `routeCalls` calls first, the red line last)
// whose arrow, between them, is absent (false in `arrow`) or built from other strokes: two
// passes of one or more strokes, the head's three-point outline between them and the
// three-point filled head last.
bool RouteAndRedLineAsIn(const Frame& frame, const Frame& reference, int routeCalls, bool& arrow) {
  if (frame.calls < routeCalls + 1 || !SameCalls(frame, 0, reference, 0, routeCalls) ||
      !SameCalls(frame, frame.calls - 1, reference, reference.calls - 1, 1)) {
    return false;
  }
  const int n = frame.calls - routeCalls - 1;
  arrow = n > 0;
  if (n == 0) return true;
  const int k = (n - 2) / 2;
  const int head = routeCalls + k;
  const int fill = frame.calls - 2;
  return n % 2 == 0 && k >= 1 && !frame.polygon[head] && frame.count[head] == 3 &&
         frame.polygon[fill] && frame.count[fill] == 3;
}

// Records each frame's calls in fixed arrays and reads every point it is handed (the
// sanitizers catch an array shorter than its count). GetScale starts a frame.
class FrameView : public Torvane::CMapService {
 public:
  void DrawPolyline(const tagLonLat* points, int count, int, unsigned, int) override {
    Record(false, points, count);
  }
  void DrawPolygon(const tagLonLat* points, int count, int, unsigned, int) override {
    Record(true, points, count);
  }
  double GetScale() override {
    if (m_Frames < kMaxFrames) ++m_Frames;
    m_Frame[m_Frames - 1] = Frame();
    return 1000.0;
  }
  int GetScaleIndex(double) override { return 0; }

  // Frames since the last Reset, and frame i of them.
  int Frames() const { return m_Frames; }
  const Frame& At(int i) const { return m_Frame[i]; }
  void Reset() { m_Frames = 0; }

 private:
  void Record(bool polygon, const tagLonLat* points, int count) {
    for (int i = 0; i < count; ++i) m_Sum += points[i].lon + points[i].lat;
    if (m_Frames == 0) return;
    Frame& frame = m_Frame[m_Frames - 1];
    if (frame.calls == kMaxCallsPerFrame) return;
    frame.polygon[frame.calls] = polygon;
    frame.count[frame.calls] = count;
    ++frame.calls;
  }

  int m_Frames = 0;
  Frame m_Frame[kMaxFrames];
  volatile double m_Sum = 0.0;  // keeps the point reads
};

// One log line as the capture keeps it: its priority, the frame it came in (the view's frame
// count then) and the start of its text.
struct Line {
  int priority = 0;
  int frame = 0;
  char text[kTextSize] = {};
};

// Captures the lines of "pathRender" into fixed arrays while it lives, down to the priority-800
// lines; recording a line allocates nothing.
class LineCapture {
 public:
  explicit LineCapture(const FrameView& view)
      : m_Category(log4cpp::Category::getInstance("pathRender")),
        m_OldPriority(m_Category.getPriority()),
        m_OldAdditivity(m_Category.getAdditivity()),
        mp_Appender(new Appender(*this, view)) {
    m_Category.setPriority(log4cpp::Priority::DEBUG);
    m_Category.setAdditivity(false);
    m_Category.addAppender(mp_Appender);  // the category owns it from here
  }
  LineCapture(const LineCapture&) = delete;
  LineCapture& operator=(const LineCapture&) = delete;
  ~LineCapture() {
    m_Category.removeAppender(mp_Appender);  // deletes it
    m_Category.setAdditivity(m_OldAdditivity);
    m_Category.setPriority(m_OldPriority);
  }

  int Count() const { return m_Count; }
  const Line& At(int i) const { return m_Lines[i]; }
  void Reset() { m_Count = 0; }
  // Lines whose text is `text`, in frame `frame` (any frame when negative).
  int CountOf(const char* text, int frame = -1) const {
    int n = 0;
    for (int i = 0; i < m_Count; ++i) {
      if (std::strcmp(m_Lines[i].text, text) == 0 && (frame < 0 || m_Lines[i].frame == frame)) ++n;
    }
    return n;
  }

 private:
  class Appender : public log4cpp::AppenderSkeleton {
   public:
    Appender(LineCapture& sink, const FrameView& view)
        : log4cpp::AppenderSkeleton("sweep-capture"), m_Sink(sink), m_View(view) {}
    void close() override {}
    bool requiresLayout() const override { return false; }
    void setLayout(log4cpp::Layout* layout) override { delete layout; }

   protected:
    void _append(const log4cpp::LoggingEvent& event) override {
      if (m_Sink.m_Count == kMaxLines) return;
      Line& line = m_Sink.m_Lines[m_Sink.m_Count++];
      line.priority = event.priority;
      line.frame = m_View.Frames();
      std::strncpy(line.text, event.message.c_str(), kTextSize - 1);
      line.text[kTextSize - 1] = '\0';
    }

   private:
    LineCapture& m_Sink;
    const FrameView& m_View;
  };

  log4cpp::Category& m_Category;
  int m_OldPriority;
  bool m_OldAdditivity;
  Appender* mp_Appender;  // Owned by the category while attached
  int m_Count = 0;
  Line m_Lines[kMaxLines];
};

// The lines a session may write, with their priorities; the information lines are matched by
// their start.
bool IsDocumentedLine(const Line& line) {
  struct Known {
    const char* text;
    int priority;
  };
  static const Known kKnown[] = {
      {"new AdvicePathSizeSetting failed \n", 0}, {"m_CurScale > = m_SizeSetCnt \n", 800},
      {"GenerateCrossEdges failed \n", 300},      {"m_EdgeVec.Append() failed\n", 300},
      {"m_FromEdges.Size = 0  \n", 300},
  };
  for (const Known& known : kKnown) {
    if (std::strcmp(line.text, known.text) == 0) return line.priority == known.priority;
  }
  const bool info =
      std::strncmp(line.text, "timer", 5) == 0 || std::strncmp(line.text, "memcnter", 8) == 0;
  return info && line.priority == log4cpp::Priority::INFO;
}

// What one session gave back.
struct Outcome {
  bool handle = false;    // NewPathRender gave a handle
  bool renderer = false;  // the handle has a renderer (GetClr true)
  int setSize = -1;       // SetSize's result
  bool threw = false;
  std::string what;  // the escaped exception's text
};

// Frames of a session: three with the arrow, then one after Clear.
constexpr int kArrowFrames = 3;
constexpr int kSessionFrames = kArrowFrames + 1;
// Calls of the route in one frame: two passes over the five guides.
constexpr int kRouteCalls = 10;

// A route of five guides east along the equator, a turn from guide 1 to guide 2, a one-row
// table and an origin and destination for the red line. The table asks for 80 m before the
// turn: guide 1 (50 m) whole and the last 30 m of guide 0, so that the arrow holds every kind
// of stroke (whole copy, cut edge, whole guide, cut guide) and each one's allocation fails
// once. The process-wide handle is built before any allocation is made to fail
// (ClosePathRender builds it on first use).
class AllocationSweepTest : public ::testing::Test {
 protected:
  AllocationSweepTest()
      : m_Path(fakes::MakePath(fakes::GuidesEast({1.0, 0.0}, {100.0, 50.0, 70.0, 80.0, 60.0}, 4))),
        m_Turn(fakes::MakeTurn(*m_Path, 1, 2)),
        m_Table(1, AdvicePathSizeSetting{8, 12, 20, 26, 0, 0, 60, 80, 5, 12, 8}) {
    GetAdvicePath();
    GetRouteManager().GetPathManager().SetOrgPoint({1.0, 0.0});
    GetRouteManager().GetPathManager().SetDestPoints({{1.003, 0.0}});
  }
  ~AllocationSweepTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  // Create, SetSize, SetTurnInfo, red line on, three frames with route and arrow, Clear, one
  // more frame. The handle stays open in `handle`.
  Outcome Session(AdvicePathRenderEx*& handle) {
    Outcome outcome;
    try {
      handle = NewPathRender(m_Path.get(), &m_View);
      outcome.handle = handle != nullptr;
      if (handle == nullptr) return outcome;
      AdvicePathClrSetting colors;
      outcome.renderer = handle->GetClr(colors);
      outcome.setSize = handle->SetSize(m_Table.data(), 1, 30);
      handle->SetTurnInfo(m_Turn, m_Path.get());
      handle->EnableDrawRedLine(true);
      for (int i = 0; i < kArrowFrames; ++i) handle->Draw(true, true);
      handle->Clear();
      handle->Draw(true, true);
    } catch (const std::exception& e) {
      outcome.threw = true;
      outcome.what = e.what();
    } catch (...) {
      outcome.threw = true;
    }
    return outcome;
  }

  std::unique_ptr<CNavPath> m_Path;
  CTurnInfo m_Turn;
  std::vector<AdvicePathSizeSetting> m_Table;
  FrameView m_View;
};

TEST_F(AllocationSweepTest, EveryAllocationFailureEndsInDocumentedResults) {
  LineCapture capture(m_View);

  // The session without a failure: the frames every other run is held to.
  AdvicePathRenderEx* handle = nullptr;
  const long before = fakes::AllocationCount();
  const Outcome clean = Session(handle);
  const long sessionAllocations = fakes::AllocationCount() - before;
  ASSERT_FALSE(clean.threw) << clean.what;
  ASSERT_TRUE(clean.handle && clean.renderer);
  ASSERT_EQ(clean.setSize, 1);
  ASSERT_EQ(m_View.Frames(), kSessionFrames);
  Frame reference[kSessionFrames];
  for (int i = 0; i < kSessionFrames; ++i) reference[i] = m_View.At(i);
  ASSERT_GT(reference[0].calls, reference[kArrowFrames].calls)
      << "the clean session draws an arrow";
  ASSERT_TRUE(ClosePathRender(handle));

  // Which failures the sweep met: no handle, no renderer, no table, a frame without arrow.
  int kinds[4] = {};
  for (long n = 0; n < kMaxSweep; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of the session fails");
    m_View.Reset();
    capture.Reset();
    handle = nullptr;
    const long start = fakes::AllocationCount();
    fakes::FailAllocationAfter(n);
    const Outcome run = Session(handle);
    fakes::FailAllocationAfter(-1);
    const bool failed = fakes::AllocationCount() - start > n;

    EXPECT_FALSE(run.threw) << "an exception escaped: " << run.what;
    for (int i = 0; i < capture.Count(); ++i) {
      EXPECT_TRUE(IsDocumentedLine(capture.At(i)))
          << "priority " << capture.At(i).priority << ": " << capture.At(i).text;
    }
    if (!run.threw && run.handle && run.renderer) {
      // SetSize fails only as an allocation failure, and says so; without a table nothing is
      // drawn. With it, every frame draws the route and the red line as the clean session
      // did, and its arrow is the same, built from other strokes (a guide missing from the
      // window), or absent with the reason logged in that frame.
      EXPECT_TRUE(run.setSize == 1 || run.setSize == 0);
      if (run.setSize == 0) ++kinds[2];
      EXPECT_EQ(capture.CountOf("new AdvicePathSizeSetting failed \n"), run.setSize == 0 ? 1 : 0);
      ASSERT_EQ(m_View.Frames(), kSessionFrames);
      for (int f = 0; f < kSessionFrames; ++f) {
        const Frame& frame = m_View.At(f);
        bool arrow = false;
        if (run.setSize == 0) {
          EXPECT_EQ(frame.calls, 0) << "frame " << f;
        } else if (f == kArrowFrames) {
          EXPECT_TRUE(SameFrame(frame, reference[f])) << "the frame after Clear";
        } else if (!SameFrame(frame, reference[f])) {
          EXPECT_TRUE(RouteAndRedLineAsIn(frame, reference[f], kRouteCalls, arrow))
              << "frame " << f;
          if (!arrow) {
            ++kinds[3];
            EXPECT_EQ(capture.CountOf("GenerateCrossEdges failed \n", f + 1), 1) << "frame " << f;
          }
        }
      }
    } else if (!run.threw && run.handle) {
      // A handle whose renderer could not be made refuses everything and draws nothing.
      ++kinds[1];
      EXPECT_EQ(run.setSize, 0);
      EXPECT_EQ(m_View.Frames(), 0);
      EXPECT_EQ(capture.Count(), 0);
    } else if (!run.threw) {
      ++kinds[0];
      EXPECT_EQ(capture.Count(), 0) << "NewPathRender gave no handle";
    }

    // With memory back, a handle that has a renderer draws the clean session's frame again,
    // and closing allocates nothing.
    if (handle != nullptr) {
      AdvicePathClrSetting colors;
      if (handle->GetClr(colors)) {
        m_View.Reset();
        EXPECT_TRUE(handle->SetPath(m_Path.get()));
        handle->EnableDrawRedLine(true);
        EXPECT_EQ(handle->SetSize(m_Table.data(), 1, 30), 1);
        handle->SetTurnInfo(m_Turn, m_Path.get());
        handle->Draw(true, true);
        ASSERT_EQ(m_View.Frames(), 1);
        EXPECT_TRUE(SameFrame(m_View.At(0), reference[0]));
      }
      const long beforeClose = fakes::AllocationCount();
      EXPECT_TRUE(ClosePathRender(handle));
      EXPECT_EQ(fakes::AllocationCount(), beforeClose);
    }
    if (!failed) {
      // The countdown outlasted the session: every allocation it makes has been failed once.
      EXPECT_EQ(n, sessionAllocations);
      for (int kind : kinds) EXPECT_GE(kind, 1) << "no handle, renderer, table, arrow";
      return;
    }
  }
  FAIL() << "the session never completed";
}

}  // namespace
