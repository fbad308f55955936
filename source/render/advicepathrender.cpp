#include "advicepathrender.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "geodesy.h"
#include "logging.h"
#include "memcounter.h"
#include "path.h"
#include "renderlog.h"
#include "route.h"

const char* const g_LogCategory = "pathRender";

namespace {

// The largest size-table copy SetSize accepts, in bytes: tables beyond it are refused as an
// allocation failure rather than attempted.
constexpr std::uint64_t kMaxSizeTableBytes = 4ull << 30;

// Red line: metres per step of the broken line, and the number of steps.
constexpr double kRedLineStepMetres = 200000.0;
constexpr int kRedLineSteps = 10;
constexpr unsigned kRedLineColor = 255;  // pure red, 0x00BBGGRR
constexpr int kRedLineWidth = 2;

// The stopwatch and memory counter of one traced operation. They run only when, at
// construction, an information line of the category would reach an appender: otherwise the
// operation measures and formats nothing (a snapshot costs two system calls), which is what
// log4cpp as it comes (root at INFO, no appender) gets. An operation that succeeds ends with
// PATHRENDER_TRACE_END, which stops both and writes the two lines.
class CTracedOp {
 public:
  CTracedOp() : m_isListened(log4cpp_IsInfoEnabled(g_LogCategory)) {
    if (!m_isListened) return;
    m_Timer.StartTime();
    m_MemCounter.Start();
  }

  // Stops the memory counter, then the stopwatch. False when nothing was started: there
  // are no lines to write.
  bool Stop() {
    if (!m_isListened) return false;
    m_MemCounter.Stop();
    m_Timer.EndTime();
    return true;
  }
  // Milliseconds between the start and Stop.
  double Milliseconds() const { return m_Timer.GetTime(); }
  // The memory counter's text, written into `szBuf` (MemCounter::kBufSize characters); ""
  // when it could not be written.
  const char* MemoryText(char* szBuf) const {
    const char* text = m_MemCounter.Format(szBuf);
    return text != nullptr ? text : "";
  }

 private:
  bool m_isListened;        // information lines were heard when the operation began
  Timer m_Timer;            // started only when listened to
  MemCounter m_MemCounter;  // started only when listened to
};

// Ends the traced operation `traced` after it succeeded: when it is listened to, stops it
// and writes for `function` the stopwatch line (`timerFormat`, with the milliseconds), then
// the memory line (`memoryFormat`, with the counter's text). A macro rather than a function
// so that each format stays a literal the compiler checks against its argument, and each
// line names the source line where its operation ends.
#define PATHRENDER_TRACE_END(traced, function, timerFormat, memoryFormat)  \
  do {                                                                     \
    if ((traced).Stop()) {                                                 \
      PATHRENDER_INFO(function, timerFormat, (traced).Milliseconds());     \
      char szBuf[MemCounter::kBufSize];                                    \
      PATHRENDER_INFO(function, memoryFormat, (traced).MemoryText(szBuf)); \
    }                                                                      \
  } while (false)

}  // namespace

AdvicePathRender::AdvicePathRender(Torvane::CMapService* mapView)
    : m_isClearBigArrow(false),
      m_isDrawEnabled(true),
      m_CurScale(kFallbackScale),
      m_ArrowHeadPts(),
      mp_Path(nullptr),
      mp_MapView(mapView),
      m_CrossPathEdges(),
      m_ClrSetting(),
      mp_SizeSet(nullptr),
      m_SizeSetCnt(0),
      m_MaxTurnScale(kDefaultMaxTurnScale),
      m_isDrawRedLine(false),
      m_RefCount(1),
      m_GuideWalkLimit(kDefaultGuideWalkLimit) {
  ZeroPoints(m_ArrowHeadPts, 3);
}

AdvicePathRender::~AdvicePathRender() {
  delete[] mp_SizeSet;
  mp_SizeSet = nullptr;
}

void AdvicePathRender::AddRef() { ++m_RefCount; }

bool AdvicePathRender::Release() { return --m_RefCount == 0; }

void AdvicePathRender::SetGuideWalkLimit(long guides) {
  m_GuideWalkLimit = guides;
  m_CrossPathEdges.SetGuideWalkLimit(guides);
}

bool AdvicePathRender::SetPath(CNavPath* path) {
  if (path == nullptr) return false;
  mp_Path = path;
  return true;
}

bool AdvicePathRender::SetDrawParm(Torvane::CMapService* mapView) {
  mp_MapView = mapView;
  return true;
}

void AdvicePathRender::SetClr(const AdvicePathClrSetting& colors) { m_ClrSetting = colors; }

bool AdvicePathRender::GetClr(AdvicePathClrSetting& colors) const {
  colors = m_ClrSetting;
  return true;
}

void AdvicePathRender::EnableDrawing(bool enable) { m_isDrawEnabled = enable; }

void AdvicePathRender::EnableDrawRedLine(bool enable) { m_isDrawRedLine = enable; }

int AdvicePathRender::SetSize(const AdvicePathSizeSetting* table, int count, int maxTurnScale) {
  CTracedOp traced;
  if (table == nullptr || count == 0) {
    PATHRENDER_LOG(kLogError, "AdvicePathRender::SetSize", "AdvicePathSizeSetting is NULL \n");
    return 0;
  }
  // A negative count or a table past the size limit fails like an exhausted heap: the array
  // is not attempted, so nothing can throw or overflow.
  AdvicePathSizeSetting* copy = nullptr;
  if (count > 0 &&
      static_cast<std::uint64_t>(count) * sizeof(AdvicePathSizeSetting) <= kMaxSizeTableBytes) {
    copy = new (std::nothrow) AdvicePathSizeSetting[static_cast<std::size_t>(count)];
  }
  if (copy == nullptr) {
    PATHRENDER_LOG(kLogFatal, "AdvicePathRender::SetSize", "new AdvicePathSizeSetting failed \n");
    return 0;
  }
  delete[] mp_SizeSet;
  mp_SizeSet = nullptr;
  std::memcpy(copy, table, static_cast<std::size_t>(count) * sizeof(AdvicePathSizeSetting));
  mp_SizeSet = copy;
  m_SizeSetCnt = count;
  m_MaxTurnScale = maxTurnScale;
  PATHRENDER_TRACE_END(traced, "AdvicePathRender::SetSize", "timerSetSize::%lfms",
                       "memcnterSetSize::%s");
  return 1;
}

void AdvicePathRender::SetTurnInfo(CNavPath* path, const CTurnInfo& turn) {
  if (path == nullptr) {
    PATHRENDER_LOG(kLogFatal, "AdvicePathRender::SetTurnInfo", "path is NULL \n");
    return;
  }
  CTracedOp traced;
  m_CrossPathEdges.SetCrossInfo(path, turn);
  PATHRENDER_TRACE_END(traced, "AdvicePathRender::SetTurnInfo", "timerSetTurnInfo::%lfms",
                       "memcnterSetTurnInfo::%s");
  m_isClearBigArrow = false;
}

void AdvicePathRender::ClearBigArrow() { m_isClearBigArrow = true; }

void AdvicePathRender::Clear() {
  mp_Path = nullptr;
  const CTurnInfo m_EmptyTurn;
  m_CrossPathEdges.ClearEdges();
  m_CrossPathEdges.SetCrossInfo(nullptr, m_EmptyTurn);
}

void AdvicePathRender::Draw(bool drawPath, bool drawArrow) {
  AutoSetCurScale();
  if (!m_isDrawEnabled || mp_MapView == nullptr || mp_SizeSet == nullptr) return;
  if (drawPath) DrawPath();
  if (drawArrow && m_CurScale <= m_MaxTurnScale) DrawTurn();
  if (m_isDrawRedLine) DrawRedLine();
}

void AdvicePathRender::AutoSetCurScale() {
  if (mp_MapView == nullptr) {
    PATHRENDER_LOG(kLogFatal, "AdvicePathRender::AutoSetCurScale", "mp_MapView is NULL \n");
    return;
  }
  const double scale = mp_MapView->GetScale();
  m_CurScale = mp_MapView->GetScaleIndex(scale);
  if (m_CurScale >= m_SizeSetCnt) {
    PATHRENDER_LOG(kLogNotSet, "AdvicePathRender::AutoSetCurScale",
                   "m_CurScale > = m_SizeSetCnt \n");
    m_CurScale = kFallbackScale;
  }
}

const AdvicePathSizeSetting& AdvicePathRender::CurrentRow() const {
  // m_CurScale keeps the view's value (the arrow-scale test uses it); only the lookup is
  // held inside the table.
  int row = m_CurScale;
  if (row >= m_SizeSetCnt) row = m_SizeSetCnt - 1;
  if (row < 0) row = 0;
  return mp_SizeSet[row];
}

void AdvicePathRender::DrawPath() {
  if (mp_Path == nullptr || mp_MapView == nullptr) return;
  const void* first = mp_Path->GetFirstPosition();
  if (first == nullptr) {
    PATHRENDER_LOG(kLogError, "AdvicePathRender::DrawPath",
                   "mp_Path->GetFirstPosition() failed \n");
    return;
  }
  const AdvicePathSizeSetting& row = CurrentRow();
  // Widths reach the view as their low 16 bits.
  const unsigned short pathWidth = static_cast<unsigned short>(row.pathWidth);
  const unsigned short pathBorderWidth = static_cast<unsigned short>(row.pathBorderWidth);
  // A border pass cut off at the walk limit is not followed by the inner pass: the path
  // cycles, the inner pass would cover the same cut-off route, and the frame has already
  // taken as long as one pass may.
  if (!DrawPathPass(*mp_MapView, first, m_ClrSetting.pathBorderColor, pathBorderWidth)) return;
  DrawPathPass(*mp_MapView, mp_Path->GetFirstPosition(), m_ClrSetting.pathColor, pathWidth);
}

bool AdvicePathRender::DrawPathPass(Torvane::CMapService& view, const void* first, unsigned color,
                                    int width) {
  long walked = 0;  // GetNext steps taken to reach pos
  for (const void* pos = first; pos != nullptr; pos = mp_Path->GetNext(pos), ++walked) {
    if (walked > m_GuideWalkLimit) {
      PATHRENDER_LOG(kLogError, "AdvicePathRender::DrawPath",
                     "mp_Path->GetNext() walked past the guide limit \n");
      return false;
    }
    unsigned short ptNum = 0;
    tagLonLat* pts = nullptr;
    // An edge the path cannot deliver is skipped; the rest of the route is still drawn.
    if (mp_Path->GetEdge(pos, ptNum, pts) == 0) continue;
    view.DrawPolyline(pts, ptNum, 0, color, width);
  }
  return true;
}

void AdvicePathRender::DrawTurn() {
  CTracedOp traced;
  if (m_isClearBigArrow || mp_MapView == nullptr) {
    PATHRENDER_LOG(kLogNotSet, "AdvicePathRender::DrawTurn",
                   "m_isClearBigArrow is ture Or mp_MapView is NULL \n");
    return;
  }
  m_CrossPathEdges.ResetEdges();
  ZeroPoints(m_ArrowHeadPts, 3);
  const AdvicePathSizeSetting& row = CurrentRow();
  const double headLength = static_cast<double>(row.arrowHeadLength);
  if (m_CrossPathEdges.GenerateCrossEdges(
          static_cast<double>(row.arrowExitLength), static_cast<double>(row.arrowEnterLength),
          static_cast<double>(row.arrowLengthTolerance), headLength * 1.1) < 0) {
    PATHRENDER_LOG(kLogError, "AdvicePathRender::DrawTurn", "GenerateCrossEdges failed \n");
    m_CrossPathEdges.ResetEdges();
    return;
  }
  if (m_CrossPathEdges.GenerateArrowHead(m_ArrowHeadPts, 3, headLength,
                                         static_cast<double>(row.arrowHeadHalfWidth)) < 0) {
    PATHRENDER_LOG(kLogError, "AdvicePathRender::DrawTurn", "GenerateCrossEdges failed \n");
    m_CrossPathEdges.ResetEdges();
    ZeroPoints(m_ArrowHeadPts, 3);
    return;
  }
  const int n = m_CrossPathEdges.GetCrossEdgeCount();
  const unsigned arrowColor = m_ClrSetting.arrowColor;
  const unsigned borderColor = m_ClrSetting.arrowBorderColor;
  Torvane::CMapService& view = *mp_MapView;
  // Border pass: every stroke, then the head's outline. The two head calls pass the colour
  // as their fifth value too.
  DrawStrokes(view, n, borderColor, row.arrowBorderWidth);
  view.DrawPolyline(m_ArrowHeadPts, 3, row.arrowHeadBorderParam, borderColor,
                    static_cast<int>(borderColor));
  // Inner pass over it: every stroke, then the filled head.
  DrawStrokes(view, n, arrowColor, row.arrowWidth);
  view.DrawPolygon(m_ArrowHeadPts, 3, row.arrowHeadParam, arrowColor, static_cast<int>(arrowColor));
  PATHRENDER_TRACE_END(traced, "AdvicePathRender::DrawTurn", "timerDrawTurn::%lfms",
                       "memcnterDrawTurn::%s");
}

void AdvicePathRender::DrawStrokes(Torvane::CMapService& view, int count, unsigned color,
                                   int width) {
  for (int i = 0; i < count; ++i) {
    const CCrossEdge* edge = m_CrossPathEdges.GetCrossEdge(i);
    view.DrawPolyline(edge->GetPts(), edge->GetPtNum(), 0, color, width);
  }
}

void AdvicePathRender::DrawRedLine() {
  NavDest dest;
  tagLonLat ll[2];
  const bool hasOrigin = GetRouteManager().GetPathManager().GetOrgPoint(dest);
  ll[0] = dest.point;
  if (!hasOrigin || GetRouteManager().GetPathManager().GetDestCount() < 1) {
    PATHRENDER_LOG(kLogError, "AdvicePathRender::DrawRedLine", "Kestrix NO OrgPoint or DestPoint");
    return;
  }
  if (!GetRouteManager().GetPathManager().GetDestPoint(0, dest)) return;
  ll[1] = dest.point;
  const double length = LineLength(2, ll);
  // A length that is not a number (a coordinate that is not one) draws nothing rather than
  // converting NaN or infinity to a step count.
  if (!std::isfinite(length)) return;
  // Less than one whole step apart: one straight segment. Compared before any conversion:
  // from about 4.3e14 m the step count has no int, and a host's geodesy may measure that.
  if (length / kRedLineStepMetres < 1.0) {
    if (mp_MapView != nullptr) mp_MapView->DrawPolyline(ll, 2, 0, kRedLineColor, kRedLineWidth);
    return;
  }
  // Far apart: ten equal steps in longitude and latitude.
  tagLonLat newLL[kRedLineSteps + 1];
  newLL[0] = ll[0];
  newLL[kRedLineSteps] = ll[1];
  // Point i lies i steps along: (difference * i) / steps, divided as doubles.
  for (int i = 1; i < kRedLineSteps; ++i) {
    newLL[i].lat = ((ll[1].lat - ll[0].lat) * i) / kRedLineSteps + ll[0].lat;
    newLL[i].lon = ((ll[1].lon - ll[0].lon) * i) / kRedLineSteps + ll[0].lon;
  }
  if (mp_MapView != nullptr)
    mp_MapView->DrawPolyline(newLL, kRedLineSteps + 1, 0, kRedLineColor, kRedLineWidth);
}

void AdvicePathRender::ZeroPoints(tagLonLat* points, int count) {
  for (int i = 0; i < count; ++i) {
    points[i].lon = 0.0;
    points[i].lat = 0.0;
  }
}
