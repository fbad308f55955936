// fuzz_frame: the bytes are a script of library operations.
//
// The script first builds two paths from guides whose points are arbitrary doubles (NaN,
// infinities, +-1e308, +-180 and +-90 exactly, repeated points, guides of 0 or 1 point, up to
// 65535 points), then runs up to kMaxOps operations in any order: handles made, copied,
// assigned and closed; SetPath, SetDrawParm, SetClr and GetClr, SetSize with tables of
// arbitrary ints and counts, SetTurnInfo with turns of arbitrary enter and exit indices and
// types, Draw, Clear, ClearBigArrow and the two switches; the route manager's origin and
// destinations; and direct calls of the edge primitives and the direction functions on
// arbitrary points.
//
// A model of each renderer's state (shared by the handles that share the renderer) predicts
// what each Draw may put on the view, and frame_check.h checks the calls against it. The
// primitives are checked against their documented results.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "advicepathrenderex.h"
#include "crossedge.h"
#include "crossedgevector.h"
#include "direction.h"
#include "frame_check.h"
#include "geodesy.h"
#include "mapservice.h"
#include "path.h"
#include "route.h"

namespace {

using fuzz::CFrameExpectation;
using fuzz::CFuzzMapView;

// Bounds of one script, so that a run stays well under a second.
constexpr int kMaxOps = 96;
constexpr int kPaths = 2;
constexpr int kMaxGuides = 14;
constexpr int kSlots = 4;
constexpr int kTurns = 3;
constexpr int kMaxTableRows = 16;
constexpr int kMaxBenchArrays = 8;
constexpr int kMaxBenchPoints = 48;
// The largest Grow the script asks for that may allocate (larger ones are refused before
// allocating, or would only measure the allocator).
constexpr int kMaxGrowAttempt = 1 << 16;

// Size-table rows of 44 bytes: the smallest count whose table exceeds 4 GiB, which SetSize
// refuses as an allocation failure without touching the caller's rows.
constexpr int kCountPastAddressSpace = 97612894;

// Row of the fallback scale index.
constexpr int kFallbackScale = 5;
// Largest scale index of the arrow before the first SetSize.
constexpr int kDefaultMaxTurnScale = 30;

const double kSpecialDoubles[] = {
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    1e308,
    -1e308,
    180.0,
    -180.0,
    90.0,
    -90.0,
    0.0,
    -0.0,
    3e-6,
    -3e-6,
    DBL_MIN,
    std::numeric_limits<double>::denorm_min(),
    DBL_MAX,
    179.99999999999997,
    89.99999999999999,
    1e6,
    -1e-9,
};

const int kSpecialInts[] = {INT_MIN, INT_MIN + 1, -1,    0,           1,      2,
                            5,       65535,       65536, INT_MAX - 7, INT_MAX};

// An arbitrary double: a special value, a plausible degree, or any bit pattern.
double ConsumeDouble(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return in.ConsumeFloatingPointInRange<double>(-180.0, 180.0);
    case 1:
      return in.PickValueInArray(kSpecialDoubles);
    default: {
      const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
  }
}

// An arbitrary int: small, special, or any value.
int ConsumeInt(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return in.ConsumeIntegralInRange<int>(0, 3000);
    case 1:
      return in.PickValueInArray(kSpecialInts);
    default:
      return in.ConsumeIntegral<int>();
  }
}

tagLonLat ConsumePoint(FuzzedDataProvider& in) {
  const double lon = ConsumeDouble(in);
  return {lon, ConsumeDouble(in)};
}

// The point after `previous` on a polyline: a short step (a road), the same point again, or
// anywhere at all.
tagLonLat NextPoint(FuzzedDataProvider& in, const tagLonLat& previous) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
    case 1: {
      const double dlon = in.ConsumeFloatingPointInRange<double>(-0.01, 0.01);
      return {previous.lon + dlon,
              previous.lat + in.ConsumeFloatingPointInRange<double>(-0.01, 0.01)};
    }
    case 2:
      return previous;
    default:
      return ConsumePoint(in);
  }
}

// A length in metres for the trims: special values, the length of a prefix of the polyline
// (to land exactly on a vertex), or anything.
double ConsumeLength(FuzzedDataProvider& in, const std::vector<tagLonLat>& pts, int n) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return in.ConsumeFloatingPointInRange<double>(0.0, 5000.0);
    case 1: {
      // The running sum the trims compute, from either end.
      const int segments = in.ConsumeIntegralInRange<int>(0, std::max(0, n - 1));
      const bool fromEnd = in.ConsumeBool();
      double sum = 0.0;
      for (int s = 0; s < segments; ++s) {
        const int i = fromEnd ? n - 1 - s : s;
        const int j = fromEnd ? i - 1 : i + 1;
        sum = sum + SegmentLength(
                        pts[static_cast<std::size_t>(i)].lon, pts[static_cast<std::size_t>(i)].lat,
                        pts[static_cast<std::size_t>(j)].lon, pts[static_cast<std::size_t>(j)].lat);
      }
      return sum;
    }
    default:
      return ConsumeDouble(in);
  }
}

std::vector<tagLonLat> ConsumePolyline(FuzzedDataProvider& in, int count, tagLonLat start) {
  std::vector<tagLonLat> points;
  points.reserve(static_cast<std::size_t>(count));
  tagLonLat at = start;
  for (int i = 0; i < count; ++i) {
    at = i == 0 ? start : NextPoint(in, at);
    points.push_back(at);
  }
  return points;
}

// A path of 0 to kMaxGuides guides; most start where the one before ended.
std::unique_ptr<CNavPath> ConsumePath(FuzzedDataProvider& in) {
  auto path = std::make_unique<CNavPath>();
  const int guides = in.ConsumeIntegralInRange<int>(0, kMaxGuides);
  tagLonLat end = {116.4, 39.9};
  for (int g = 0; g < guides; ++g) {
    CPathGuideInput guide;
    int count = in.ConsumeIntegralInRange<int>(0, 6);
    if (in.ConsumeProbability<double>() < 0.02) {
      count = in.ConsumeIntegralInRange<int>(0, static_cast<int>(CPath::kMaxGuidePoints));
    }
    const tagLonLat start = in.ConsumeBool() ? end : ConsumePoint(in);
    guide.points = ConsumePolyline(in, count, start);
    guide.name = in.ConsumeRandomLengthString(310);
    if (in.ConsumeBool()) {
      guide.hasRefPoint = true;
      guide.refPoint = ConsumePoint(in);
    }
    if (!guide.points.empty()) end = guide.points.back();
    FUZZ_CHECK(path->AddGuide(guide) == g, "a guide of at most 65535 points is added");
  }
  return path;
}

// A size-table row: arbitrary ints, or (half the time) a row an application would set:
// widths in pixels, lengths in metres, a tolerance no longer than either length.
AdvicePathSizeSetting ConsumeRow(FuzzedDataProvider& in) {
  AdvicePathSizeSetting row;
  int* fields[] = {&row.pathWidth,        &row.pathBorderWidth,   &row.arrowWidth,
                   &row.arrowBorderWidth, &row.arrowHeadParam,    &row.arrowHeadBorderParam,
                   &row.arrowExitLength,  &row.arrowEnterLength,  &row.arrowLengthTolerance,
                   &row.arrowHeadLength,  &row.arrowHeadHalfWidth};
  if (!in.ConsumeBool()) {
    for (int* field : fields) *field = ConsumeInt(in);
    return row;
  }
  for (int i = 0; i < 6; ++i) *fields[i] = in.ConsumeIntegralInRange<int>(0, 40);
  row.arrowExitLength = in.ConsumeIntegralInRange<int>(0, 3000);
  row.arrowEnterLength = in.ConsumeIntegralInRange<int>(0, 3000);
  row.arrowLengthTolerance =
      in.ConsumeIntegralInRange<int>(0, std::min(row.arrowExitLength, row.arrowEnterLength));
  row.arrowHeadLength = in.ConsumeIntegralInRange<int>(0, 1000);
  row.arrowHeadHalfWidth = in.ConsumeIntegralInRange<int>(0, 500);
  return row;
}

// What the script knows of one renderer; the handles that share it share this.
struct CRenderModel {
  const CPath* path = nullptr;  // the route drawn
  int view = 1;                 // 0 none, 1 the default view, 2 + i the checking view i
  bool drawEnabled = true;
  bool redLine = false;
  bool hidden = false;   // ClearBigArrow until the next SetTurnInfo with a path
  bool hasTurn = false;  // a SetTurnInfo with a path since construction or Clear
  NAV_TURN_TYPE_tag turnType = NAV_TURN_STRAIGHT;  // of that turn
  AdvicePathClrSetting colors;
  std::vector<AdvicePathSizeSetting> table;  // empty until a SetSize succeeds
  int maxTurnScale = kDefaultMaxTurnScale;
};

struct CSlot {
  AdvicePathRenderEx* handle = nullptr;  // Owned: closed with ClosePathRender
  std::shared_ptr<CRenderModel> model;
};

// The edge primitives' bench: point arrays that live for the whole script (borrowed edges
// and guide records point into them), a guide record, an edge vector and two loose edges.
struct CBench {
  std::vector<std::unique_ptr<std::vector<tagLonLat>>> arrays;
  PathGuid guide;
  CCrossEdgeVector vec;
  std::unique_ptr<CCrossEdge> edges[2];
};

class CScript {
 public:
  explicit CScript(FuzzedDataProvider& in) : m_In(in) {
    for (auto& path : m_Paths) path = ConsumePath(in);
    std::memset(&m_Bench.guide, 0, sizeof m_Bench.guide);
    m_Bench.arrays.push_back(std::make_unique<std::vector<tagLonLat>>());
    for (auto& edge : m_Bench.edges) edge = std::make_unique<CCrossEdge>();
    m_Manager.ClearOrgPoint();
    m_Manager.SetDestPoints({});
  }

  ~CScript() {
    for (CSlot& slot : m_Slots) Close(slot);
    m_Manager.ClearOrgPoint();
    m_Manager.SetDestPoints({});
  }

  void Run() {
    for (int op = 0; op < kMaxOps && m_In.remaining_bytes() > 0; ++op) Step();
  }

 private:
  void Step() {
    switch (m_In.ConsumeIntegralInRange<int>(0, 22)) {
      case 0:
        return NewHandle();
      case 1:
        return CopyHandle();
      case 2:
        return AssignHandle();
      case 3:
        return Close(PickSlot());
      case 4:
        return SetPath();
      case 5:
        return SetDrawParm();
      case 6:
        return SetClr();
      case 7:
        return GetClr();
      case 8:
        return SetSize();
      case 9:
        return SetTurnInfo();
      case 10:
      case 11:
        return Draw();
      case 12:
        return Switch();
      case 13:
        return ClearOrHide();
      case 14:
        return SetScaleIndex();
      case 15:
        return SetRoutePoints();
      case 16:
        return EditTurn();
      case 17:
        return BenchEdge();
      case 18:
        return BenchVector();
      case 19:
        return BenchTrim();
      case 20:
        return Directions();
      case 21:
        return SharedHandle();
      default:
        return Setup();
    }
  }

  CSlot& PickSlot() { return m_Slots[m_In.ConsumeIntegralInRange<int>(0, kSlots - 1)]; }
  // A live slot, or null when there is none.
  CSlot* PickLive() {
    CSlot& slot = PickSlot();
    return slot.handle != nullptr ? &slot : nullptr;
  }
  CNavPath* PickPath() {
    const int i = m_In.ConsumeIntegralInRange<int>(0, kPaths);
    return i < kPaths ? m_Paths[i].get() : nullptr;
  }
  // 0 none, 1 the default view, 2 and 3 the checking views (twice as likely as the others).
  int PickView() {
    const int pick = m_In.ConsumeIntegralInRange<int>(0, 5);
    return pick < 4 ? pick : pick - 2;
  }
  void* ViewPointer(int view) {
    if (view == 0) return nullptr;
    if (view == 1) return &Torvane::CMapCreate::GetMapService(nullptr);
    return &m_Views[view - 2];
  }

  void Close(CSlot& slot) {
    if (slot.handle == nullptr) return;
    FUZZ_CHECK(ClosePathRender(slot.handle), "a handle from NewPathRender closes");
    slot.handle = nullptr;
    slot.model.reset();
  }

  void NewHandle() {
    CSlot& slot = PickSlot();
    Close(slot);
    CNavPath* path = PickPath();
    const int view = PickView();
    // A null view argument keeps the default view.
    slot.handle = NewPathRender(path, view == 0 ? nullptr : ViewPointer(view));
    FUZZ_CHECK(slot.handle != nullptr, "a handle can be made");
    slot.model = std::make_shared<CRenderModel>();
    slot.model->path = path;
    slot.model->view = view == 0 ? 1 : view;
  }

  void CopyHandle() {
    CSlot* source = PickLive();
    CSlot& target = PickSlot();
    if (source == nullptr || source == &target) return;
    Close(target);
    target.handle = new AdvicePathRenderEx(*source->handle);
    target.model = source->model;
  }

  void AssignHandle() {
    CSlot* source = PickLive();
    CSlot* target = PickLive();
    if (source == nullptr || target == nullptr) return;
    *target->handle = *source->handle;  // self-assignment included
    target->model = source->model;
  }

  // A handle as an application sets one up, in one step: a path, a checking view, a table
  // of application rows, a turn from one guide of the path to one shortly after it, the red
  // line from the path's first point to its last.
  void Setup() {
    CSlot& slot = PickSlot();
    Close(slot);
    CNavPath* path = m_Paths[m_In.ConsumeIntegralInRange<int>(0, kPaths - 1)].get();
    const int view = m_In.ConsumeIntegralInRange<int>(2, 3);
    slot.handle = NewPathRender(path, ViewPointer(view));
    FUZZ_CHECK(slot.handle != nullptr, "a handle can be made");
    slot.model = std::make_shared<CRenderModel>();
    CRenderModel& model = *slot.model;
    model.path = path;
    model.view = view;

    std::vector<AdvicePathSizeSetting> rows(
        static_cast<std::size_t>(m_In.ConsumeIntegralInRange<int>(1, 4)));
    for (AdvicePathSizeSetting& row : rows) row = ConsumeRow(m_In);
    FUZZ_CHECK(
        slot.handle->SetSize(rows.data(), static_cast<int>(rows.size()), kDefaultMaxTurnScale) == 1,
        "SetSize takes a whole table");
    model.table = rows;

    const int guides = path->GetGuideCount();
    const int enter = m_In.ConsumeIntegralInRange<int>(0, std::max(0, guides - 1));
    const int exit = std::min(enter + m_In.ConsumeIntegralInRange<int>(0, 2), guides - 1);
    const auto type = static_cast<NAV_TURN_TYPE_tag>(m_In.ConsumeIntegralInRange<int>(0, 9));
    CTurnInfo turn;
    turn.SetFromPath(*path, enter, exit, type);
    slot.handle->SetTurnInfo(turn, path);
    model.hasTurn = true;
    model.turnType = turn.GetTurnType(0);

    model.redLine = m_In.ConsumeBool();
    slot.handle->EnableDrawRedLine(model.redLine);
    PathGuid first;
    PathGuid last;
    if (path->GetGuideAt(0, first) && path->GetGuideAt(guides - 1, last) &&
        first.firstPts != nullptr && last.firstPts != nullptr) {
      m_Origin = first.firstPts[0];
      m_HasOrigin = true;
      m_Dests.assign(1, last.firstPts[last.firstPtNum - 1]);
      m_Manager.SetOrgPoint(m_Origin);
      m_Manager.SetDestPoints(m_Dests);
    }
  }

  void SharedHandle() {
    AdvicePathRenderEx& shared = GetAdvicePath();
    FUZZ_CHECK(&shared == &GetAdvicePath(), "one process-wide handle");
    FUZZ_CHECK(!ClosePathRender(&shared), "the process-wide handle is never closed");
    FUZZ_CHECK(ClosePathRender(nullptr), "closing null succeeds");
  }

  void SetPath() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    CNavPath* path = PickPath();
    FUZZ_CHECK(slot->handle->SetPath(path) == (path != nullptr), "SetPath refuses only null");
    if (path != nullptr) slot->model->path = path;
  }

  void SetDrawParm() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    const int view = PickView();
    FUZZ_CHECK(slot->handle->SetDrawParm(ViewPointer(view)), "SetDrawParm succeeds");
    slot->model->view = view;
  }

  void SetClr() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    const auto pathColor = m_In.ConsumeIntegral<unsigned>();
    const auto pathBorderColor = m_In.ConsumeIntegral<unsigned>();
    const auto arrowColor = m_In.ConsumeIntegral<unsigned>();
    const AdvicePathClrSetting colors(pathColor, pathBorderColor, arrowColor,
                                      m_In.ConsumeIntegral<unsigned>());
    slot->handle->SetClr(colors);
    slot->model->colors = colors;
  }

  void GetClr() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    AdvicePathClrSetting colors(1, 2, 3, 4);
    FUZZ_CHECK(slot->handle->GetClr(colors), "GetClr succeeds with a renderer");
    const AdvicePathClrSetting& set = slot->model->colors;
    FUZZ_CHECK(colors.pathColor == set.pathColor && colors.pathBorderColor == set.pathBorderColor &&
                   colors.arrowColor == set.arrowColor &&
                   colors.arrowBorderColor == set.arrowBorderColor,
               "GetClr gives the colours last set");
  }

  void SetSize() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    std::vector<AdvicePathSizeSetting> rows(
        static_cast<std::size_t>(m_In.ConsumeIntegralInRange<int>(1, kMaxTableRows)));
    for (AdvicePathSizeSetting& row : rows) row = ConsumeRow(m_In);
    const int maxTurnScale = ConsumeInt(m_In);
    AdvicePathSizeSetting* table = rows.data();
    int count = static_cast<int>(rows.size());
    switch (m_In.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        break;  // the whole table
      case 1:   // refused: nothing or less than nothing
        count = m_In.PickValueInArray({0, -1, INT_MIN, -static_cast<int>(rows.size())});
        break;
      case 2:  // refused: more than the address space holds
        count = m_In.PickValueInArray({INT_MAX, kCountPastAddressSpace});
        break;
      default:  // refused: no table
        table = nullptr;
        count = ConsumeInt(m_In);
        break;
    }
    const bool accepted = table != nullptr && count > 0 && count <= static_cast<int>(rows.size());
    FUZZ_CHECK(slot->handle->SetSize(table, count, maxTurnScale) == (accepted ? 1 : 0),
               "SetSize takes a whole table and refuses the rest");
    if (!accepted) return;
    slot->model->table = rows;
    slot->model->maxTurnScale = maxTurnScale;
  }

  void SetTurnInfo() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    const CTurnInfo& turn = m_Turns[m_In.ConsumeIntegralInRange<int>(0, kTurns - 1)];
    CNavPath* path = PickPath();
    slot->handle->SetTurnInfo(turn, path);
    if (path == nullptr) return;  // logged; nothing changes
    slot->model->hidden = false;
    slot->model->hasTurn = true;
    slot->model->turnType = turn.GetTurnType(0);
  }

  void Switch() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    const bool on = m_In.ConsumeBool();
    if (m_In.ConsumeBool()) {
      slot->handle->EnableDrawing(on);
      slot->model->drawEnabled = on;
    } else {
      slot->handle->EnableDrawRedLine(on);
      slot->model->redLine = on;
    }
  }

  void ClearOrHide() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    if (m_In.ConsumeBool()) {
      slot->handle->Clear();
      slot->model->path = nullptr;
      slot->model->hasTurn = false;
    } else {
      slot->handle->ClearBigArrow();
      slot->model->hidden = true;
    }
  }

  void SetScaleIndex() {
    CFuzzMapView& view = m_Views[m_In.ConsumeIntegralInRange<int>(0, 1)];
    view.SetScaleIndex(m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-2, kMaxTableRows + 1)
                                          : ConsumeInt(m_In));
  }

  void SetRoutePoints() {
    switch (m_In.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        m_Origin = ConsumePoint(m_In);
        m_HasOrigin = true;
        m_Manager.SetOrgPoint(m_Origin);
        break;
      case 1:
        m_HasOrigin = false;
        m_Manager.ClearOrgPoint();
        break;
      default: {
        m_Dests.clear();
        const int n = m_In.ConsumeIntegralInRange<int>(0, 3);
        for (int i = 0; i < n; ++i) m_Dests.push_back(ConsumePoint(m_In));
        m_Manager.SetDestPoints(m_Dests);
        break;
      }
    }
  }

  // Turns from guide indices of either path, in range or not, of any type; or with the enter
  // or exit guide of another path.
  void EditTurn() {
    CTurnInfo& turn = m_Turns[m_In.ConsumeIntegralInRange<int>(0, kTurns - 1)];
    const CNavPath& path = *m_Paths[m_In.ConsumeIntegralInRange<int>(0, kPaths - 1)];
    const int guides = path.GetGuideCount();
    const auto type = static_cast<NAV_TURN_TYPE_tag>(m_In.ConsumeIntegralInRange<int>(0, 15));
    switch (m_In.ConsumeIntegralInRange<int>(0, 3)) {
      case 0: {
        const int enter = m_In.ConsumeIntegralInRange<int>(-1, guides);
        // Mostly a turn a route would have: the exit guide shortly after the enter guide.
        const int exit = m_In.ConsumeBool() ? enter + m_In.ConsumeIntegralInRange<int>(0, 2)
                                            : m_In.ConsumeIntegralInRange<int>(-1, guides);
        const bool inside = enter >= 0 && enter < guides && exit >= 0 && exit < guides;
        FUZZ_CHECK(turn.SetFromPath(path, enter, exit, type) == inside,
                   "a turn is set from guides of the path only");
        break;
      }
      case 1:
        turn.SetTurnType(type);
        break;
      default: {
        PathGuid record;
        if (!path.GetGuideAt(m_In.ConsumeIntegralInRange<int>(0, guides), record)) break;
        NavGuid guide;
        std::memcpy(&guide, &record, sizeof guide);
        if (m_In.ConsumeBool()) {
          turn.SetEnterGuide(guide);
        } else {
          turn.SetExitGuide(guide);
        }
        break;
      }
    }
  }

  void Draw() {
    CSlot* slot = PickLive();
    if (slot == nullptr) return;
    const bool drawPath = m_In.ConsumeBool();
    const bool drawArrow = m_In.ConsumeBool();
    for (CFuzzMapView& view : m_Views) view.Reset();
    slot->handle->Draw(drawPath, drawArrow);
    const CRenderModel& model = *slot->model;
    for (int v = 0; v < 2; ++v) {
      CFrameExpectation frame;
      frame.viewAttached = model.view == 2 + v;
      if (frame.viewAttached) Expect(model, m_Views[v].ScaleIndex(), drawPath, drawArrow, frame);
      fuzz::CheckFrame(m_Views[v].Calls(), frame);
    }
  }

  // What one Draw of a renderer in state `model` may draw on its view, which answers
  // `scaleIndex`.
  void Expect(const CRenderModel& model, int scaleIndex, bool drawPath, bool drawArrow,
              CFrameExpectation& frame) const {
    const int rows = static_cast<int>(model.table.size());
    frame.pastGuards = model.drawEnabled && rows > 0;
    if (!frame.pastGuards) return;
    const int scale = scaleIndex >= rows ? kFallbackScale : scaleIndex;
    const AdvicePathSizeSetting* row =
        scale >= 0 && scale < rows ? &model.table[static_cast<std::size_t>(scale)] : nullptr;
    frame.row = row;
    frame.path = drawPath ? model.path : nullptr;
    frame.colors = model.colors;
    frame.arrowAllowed = drawArrow && scale <= model.maxTurnScale && !model.hidden &&
                         model.hasTurn && model.turnType != NAV_TURN_END;
    if (row != nullptr) {
      // Cross-edge generation refuses a tolerance below 0 or above either length.
      const double tolerance = row->arrowLengthTolerance;
      frame.arrowAllowed = frame.arrowAllowed && tolerance <= row->arrowExitLength &&
                           tolerance <= row->arrowEnterLength && tolerance >= 0.0;
    }
    if (model.redLine && m_HasOrigin && !m_Dests.empty()) {
      fuzz::ExpectRedLine(m_Origin, m_Dests.front(), frame);
    }
  }

  // --- The edge primitives.

  const std::vector<tagLonLat>& PickArray() {
    return *m_Bench.arrays[static_cast<std::size_t>(
        m_In.ConsumeIntegralInRange<int>(0, static_cast<int>(m_Bench.arrays.size()) - 1))];
  }

  void NewArray() {
    if (static_cast<int>(m_Bench.arrays.size()) >= kMaxBenchArrays) return;
    const int n = m_In.ConsumeIntegralInRange<int>(0, kMaxBenchPoints);
    m_Bench.arrays.push_back(
        std::make_unique<std::vector<tagLonLat>>(ConsumePolyline(m_In, n, ConsumePoint(m_In))));
  }

  // A guide record over one of the bench's arrays, or over none; any count up to the array's
  // size (any count at all with a null array), any name bytes, length and reference point.
  void NewGuide() {
    PathGuid& guide = m_Bench.guide;
    std::memset(&guide, 0, sizeof guide);
    for (int polyline = 0; polyline < 2; ++polyline) {
      const std::vector<tagLonLat>& pts = PickArray();
      const bool null = pts.empty() || m_In.ConsumeBool();
      tagLonLat* data = null ? nullptr : const_cast<tagLonLat*>(pts.data());
      const auto count = static_cast<std::uint16_t>(
          null ? m_In.ConsumeIntegral<std::uint16_t>()
               : m_In.ConsumeIntegralInRange<std::size_t>(0, pts.size()));
      const std::vector<std::uint8_t> name = m_In.ConsumeBytes<std::uint8_t>(kGuideNameSize);
      if (polyline == 0) {
        guide.firstPts = data;
        guide.firstPtNum = count;
        if (!name.empty()) std::memcpy(guide.firstName, name.data(), name.size());
        guide.firstAttr1 = m_In.ConsumeIntegral<std::uint16_t>();
      } else {
        guide.secondPts = data;
        guide.secondPtNum = count;
        if (!name.empty()) std::memcpy(guide.secondName, name.data(), name.size());
        guide.secondAttr2 = m_In.ConsumeIntegral<std::uint16_t>();
      }
    }
    guide.length = ConsumeDouble(m_In);
    guide.refPoint = ConsumePoint(m_In);
  }

  static void CheckEdge(const CCrossEdge& edge) {
    FUZZ_CHECK(edge.GetPtNum() >= 0, "a point count is never negative");
    if (!edge.IsOwner()) {
      FUZZ_CHECK(edge.GetPtCapacity() == 0, "a borrowed edge has no capacity");
      return;
    }
    FUZZ_CHECK(edge.GetPtCapacity() % 8 == 0 && edge.GetPtNum() <= edge.GetPtCapacity() &&
                   (edge.GetPts() == nullptr) == (edge.GetPtCapacity() == 0),
               "an owned edge's capacity is a multiple of 8 that holds its points");
    FUZZ_CHECK(std::strlen(edge.GetName()) < static_cast<std::size_t>(CCrossEdge::kNameSize),
               "the name ends inside its buffer");
    const tagLonLat outside = edge.GetPt(edge.GetPtNum());
    FUZZ_CHECK(fuzz::SameBits(outside, g_InvalidPoint), "a point past the end is invalid");
  }

  // Grow's documented results for a request of n from capacity `before`.
  static void CheckGrow(int result, int n, int before, int after) {
    if (n <= before) {
      FUZZ_CHECK(result == before && after == before, "Grow never shrinks");
    } else if (result < 0) {
      FUZZ_CHECK(result == -1 && after == before, "a failed Grow changes nothing");
    } else {
      FUZZ_CHECK(result == after && result >= n && result % 8 == 0 && result - n < 8,
                 "Grow rounds up to the next multiple of 8");
    }
  }

  int ConsumeGrowRequest() {
    return m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-8, kMaxGrowAttempt)
                              : m_In.PickValueInArray({INT_MIN, -1, INT_MAX, INT_MAX - 6});
  }

  // Point edits on one loose edge.
  void BenchEdge() {
    std::unique_ptr<CCrossEdge>& edge = m_Bench.edges[m_In.ConsumeIntegralInRange<int>(0, 1)];
    switch (m_In.ConsumeIntegralInRange<int>(0, 9)) {
      case 0:
        edge = std::make_unique<CCrossEdge>();
        break;
      case 1:
        NewArray();
        break;
      case 2:
        NewGuide();
        break;
      case 3:
        edge = std::make_unique<CCrossEdge>();
        edge->BorrowGuide(m_Bench.guide, m_In.ConsumeBool());
        FUZZ_CHECK(!edge->IsOwner(), "a borrowed edge");
        FUZZ_CHECK(!edge->AppendPoint({0.0, 0.0}), "appends fail on a borrowed edge");
        break;
      case 4: {
        auto copy = std::make_unique<CCrossEdge>();
        const bool first = m_In.ConsumeBool();
        const bool copied = copy->CopyGuide(m_Bench.guide, first);
        const tagLonLat* pts = first ? m_Bench.guide.firstPts : m_Bench.guide.secondPts;
        const int count = first ? m_Bench.guide.firstPtNum : m_Bench.guide.secondPtNum;
        FUZZ_CHECK(copied == (pts != nullptr), "a copy fails only without points");
        if (copied) {
          FUZZ_CHECK(copy->GetPtNum() == count &&
                         (count == 0 ||
                          std::memcmp(copy->GetPts(), pts,
                                      static_cast<std::size_t>(count) * sizeof(tagLonLat)) == 0),
                     "a copied guide holds its points");
        }
        edge = std::move(copy);
        break;
      }
      case 5: {
        const int before = edge->GetPtNum();
        const bool borrowed = !edge->IsOwner();
        const bool added = edge->AppendPoint(ConsumePoint(m_In));
        FUZZ_CHECK(added == !borrowed && edge->GetPtNum() == before + (added ? 1 : 0),
                   "AppendPoint adds one point to an owned edge");
        break;
      }
      case 6: {
        const std::vector<tagLonLat>& pts = PickArray();
        const int n = m_In.ConsumeIntegralInRange<int>(-2, static_cast<int>(pts.size()));
        const int before = edge->GetPtNum();
        const bool added = edge->AppendPoints(pts.empty() ? nullptr : pts.data(), n);
        FUZZ_CHECK(edge->GetPtNum() == before + (added ? n : 0), "AppendPoints adds n points");
        FUZZ_CHECK(!added || n >= 0, "a negative count is refused");
        break;
      }
      case 7: {
        const int n = ConsumeGrowRequest();
        const int before = edge->GetPtCapacity();
        const int result = edge->Grow(n);
        if (edge->IsOwner()) {
          CheckGrow(result, n, before, edge->GetPtCapacity());
        } else {
          FUZZ_CHECK(result == -1 && edge->GetPtCapacity() == 0, "a borrowed edge cannot grow");
        }
        break;
      }
      case 8: {
        // Reversing the same span twice gives back the points.
        const int index = m_In.ConsumeIntegralInRange<int>(-2, edge->GetPtNum() + 2);
        const int n = m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-2, 64)
                                         : m_In.PickValueInArray({INT_MIN, INT_MAX});
        const std::vector<tagLonLat> before = PointsOf(*edge);
        edge->Reverse(index, n);
        FUZZ_CHECK(static_cast<int>(before.size()) == edge->GetPtNum(), "Reverse keeps the count");
        edge->Reverse(index, n);
        const std::vector<tagLonLat> after = PointsOf(*edge);
        FUZZ_CHECK(before.empty() || std::memcmp(before.data(), after.data(),
                                                 before.size() * sizeof(tagLonLat)) == 0,
                   "reversing twice restores the points");
        break;
      }
      default:
        if (m_In.ConsumeBool()) {
          edge->RemoveLast();
        } else {
          edge->Clear();
        }
        break;
    }
    CheckEdge(*edge);
  }

  static std::vector<tagLonLat> PointsOf(const CCrossEdge& edge) {
    std::vector<tagLonLat> points;
    for (int i = 0; i < edge.GetPtNum(); ++i) points.push_back(edge.GetPt(i));
    return points;
  }

  // An edge to copy or trim from: a loose edge or one held by the vector (maybe null).
  const CCrossEdge* PickSourceEdge() {
    const int i = m_In.ConsumeIntegralInRange<int>(-2, m_Bench.vec.Size());
    if (i < 0) return m_Bench.edges[i + 2].get();
    return m_Bench.vec.GetAt(i);
  }

  void BenchVector() {
    CCrossEdgeVector& vec = m_Bench.vec;
    const int size = vec.Size();
    int result = 0;
    bool appended = true;
    switch (m_In.ConsumeIntegralInRange<int>(0, 7)) {
      case 0:
        result = vec.Append(PickSourceEdge());
        break;
      case 1: {
        const CCrossEdge* src = PickSourceEdge();
        const std::vector<tagLonLat> pts =
            src != nullptr ? PointsOf(*src) : std::vector<tagLonLat>();
        result = vec.Append(src, ConsumeLength(m_In, pts, static_cast<int>(pts.size())),
                            m_In.ConsumeBool());
        break;
      }
      case 2: {
        const bool first = m_In.ConsumeBool();
        result = vec.Append(&m_Bench.guide, GuideLength(first), m_In.ConsumeBool(), first);
        break;
      }
      case 3: {
        const bool copy = m_In.ConsumeBool();
        const bool first = m_In.ConsumeBool();
        result = vec.Append(&m_Bench.guide, copy, first);
        FUZZ_CHECK(copy || result == 0, "a borrowed guide is always taken");
        break;
      }
      case 4: {
        appended = false;
        const int n = ConsumeGrowRequest();
        const int before = vec.GetCapacity();
        const int grown = vec.Grow(n);
        CheckGrow(grown, n, before, vec.GetCapacity());
        break;
      }
      case 5: {
        appended = false;
        const int index = m_In.ConsumeIntegralInRange<int>(-2, size + 2);
        const int n = m_In.ConsumeBool() ? m_In.ConsumeIntegralInRange<int>(-2, 64)
                                         : m_In.PickValueInArray({INT_MIN, INT_MAX});
        std::vector<const CCrossEdge*> before;
        for (int i = 0; i < size; ++i) before.push_back(vec.GetAt(i));
        vec.Reverse(index, n);
        vec.Reverse(index, n);
        for (int i = 0; i < size; ++i) {
          FUZZ_CHECK(vec.GetAt(i) == before[static_cast<std::size_t>(i)],
                     "reversing twice restores the order");
        }
        break;
      }
      case 6:
        appended = false;
        vec.DeleteAt(m_In.ConsumeIntegralInRange<int>(-1, size));
        FUZZ_CHECK(vec.Size() == size, "DeleteAt keeps the size");
        break;
      default:
        appended = false;
        vec.Clear();
        FUZZ_CHECK(vec.Size() == 0 && vec.GetCapacity() == 0, "Clear frees the array");
        break;
    }
    if (appended) {
      FUZZ_CHECK((result == 0 || result == -1) && vec.Size() == size + (result == 0 ? 1 : 0),
                 "Append stores one edge on 0 and none on -1");
    }
    FUZZ_CHECK(vec.GetAt(-1) == nullptr && vec.GetAt(vec.Size()) == nullptr,
               "GetAt out of range is null");
    for (int i = 0; i < vec.Size(); ++i) {
      if (vec.GetAt(i) != nullptr) CheckEdge(*vec.GetAt(i));
    }
  }

  double GuideLength(bool first) {
    const PathGuid& guide = m_Bench.guide;
    const tagLonLat* pts = first ? guide.firstPts : guide.secondPts;
    const int count = first ? guide.firstPtNum : guide.secondPtNum;
    const std::vector<tagLonLat> points =
        pts != nullptr ? std::vector<tagLonLat>(pts, pts + count) : std::vector<tagLonLat>();
    return ConsumeLength(m_In, points, static_cast<int>(points.size()));
  }

  // The two trims and the trimmed fills on a new edge.
  void BenchTrim() {
    CCrossEdge edge;
    const std::vector<tagLonLat>& pts = PickArray();
    const int n = m_In.ConsumeIntegralInRange<int>(0, static_cast<int>(pts.size()));
    const tagLonLat* data = pts.empty() ? nullptr : pts.data();
    switch (m_In.ConsumeIntegralInRange<int>(0, 3)) {
      case 0: {
        const int r = edge.TrimToTail(data, n, ConsumeLength(m_In, pts, n));
        if (r >= 0) {
          FUZZ_CHECK(r >= 2 && r <= n && edge.GetPtNum() == r, "TrimToTail counts its points");
          FUZZ_CHECK(fuzz::SameBits(edge.GetPt(r - 1), pts[static_cast<std::size_t>(n - 1)]),
                     "the tail ends with the last point");
          FUZZ_CHECK(IsValidLonLat(edge.GetPt(0)) ||
                         fuzz::SameBits(edge.GetPt(0), pts[static_cast<std::size_t>(n - r)]),
                     "a cut point is valid");
        }
        FUZZ_CHECK(r >= -1, "a failed trim gives -1");
        break;
      }
      case 1: {
        const int r = edge.TrimToHead(data, n, ConsumeLength(m_In, pts, n));
        if (r >= 0) {
          FUZZ_CHECK(r >= 1 && r <= n - 1 && edge.GetPtNum() == r + 1,
                     "TrimToHead keeps the points up to its result and one more");
          FUZZ_CHECK(fuzz::SameBits(edge.GetPt(0), pts[0]), "the head starts with the first point");
          FUZZ_CHECK(IsValidLonLat(edge.GetPt(r)) ||
                         fuzz::SameBits(edge.GetPt(r), pts[static_cast<std::size_t>(r)]),
                     "a cut point is valid");
        }
        FUZZ_CHECK(r >= -1, "a failed trim gives -1");
        break;
      }
      case 2: {
        const bool first = m_In.ConsumeBool();
        const bool done =
            edge.SetTrimmedGuide(m_Bench.guide, GuideLength(first), m_In.ConsumeBool(), first);
        FUZZ_CHECK(edge.IsWhole() != done, "only a successful trimmed fill clears whole");
        break;
      }
      default: {
        const CCrossEdge* src = PickSourceEdge();
        if (src == nullptr) break;
        const std::vector<tagLonLat> points = PointsOf(*src);
        const bool done = edge.SetTrimmedEdge(
            *src, ConsumeLength(m_In, points, static_cast<int>(points.size())), m_In.ConsumeBool());
        FUZZ_CHECK(edge.IsWhole() != done, "only a successful trimmed fill clears whole");
        break;
      }
    }
    CheckEdge(edge);
  }

  // --- The direction functions.

  void Directions() {
    const double x1 = ConsumeDouble(m_In);
    const double y1 = ConsumeDouble(m_In);
    const double x2 = ConsumeDouble(m_In);
    const double y2 = ConsumeDouble(m_In);
    const unsigned short index = GetDirectionIndex(x1, y1, x2, y2);
    FUZZ_CHECK(index <= 1440, "a direction lies in 0..1440");
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (std::isnan(dx) || std::isnan(dy)) {
      FUZZ_CHECK(index == 0, "a NaN component has no direction");
    } else if (std::isinf(dy)) {
      FUZZ_CHECK(index == (dy > 0.0 ? 360 : 1080), "an infinite dy points north or south");
    } else if (dx != 0.0 || dy != 0.0) {
      // Truncated toward the x axis: within one quarter degree of the true direction.
      const double quarterDegrees = 720.0 / 3.14159265358979323846;
      double exact = std::atan2(dy, dx) * quarterDegrees;
      if (exact < 0.0) exact += 1440.0;
      double diff = std::fabs(exact - index);
      diff = std::min(diff, 1440.0 - diff);
      FUZZ_CHECK(diff <= 1.0 + 1e-9, "the direction is the true one, truncated");
    }

    const auto any = m_In.ConsumeIntegral<unsigned short>();
    const double s = GetIndexSin(any);
    const double c = GetIndexCos(any);
    const auto reduced = static_cast<unsigned short>(any % 1440);
    FUZZ_CHECK(s == GetIndexSin(reduced) && c == GetIndexCos(reduced), "indices wrap at 1440");
    FUZZ_CHECK(std::fabs(s * s + c * c - 1.0) < 1e-12, "sine and cosine of one angle");

    const tagLonLat from = {x1, y1};
    const tagLonLat to = {x2, y2};
    const double distance = m_In.ConsumeBool() ? m_In.ConsumeFloatingPointInRange<double>(-1e4, 1e4)
                                               : ConsumeDouble(m_In);
    const tagLonLat moved = GetOffsetPoint(from, to, distance);
    if (!IsValidLonLat(from)) return;
    if (distance == 0.0) {
      FUZZ_CHECK(moved.lon == from.lon && moved.lat == from.lat, "no distance, no move");
    }
    if (std::isfinite(distance) && std::fabs(distance) <= 1e7) {
      FUZZ_CHECK(std::isfinite(moved.lon) && std::isfinite(moved.lat), "a finite move");
    }
    if (std::fabs(from.lat) <= 60.0 && std::fabs(distance) >= 1.0 && std::fabs(distance) <= 1e4) {
      FUZZ_CHECK(
          std::fabs(SegmentLength(from, moved) - std::fabs(distance)) <= 0.01 * std::fabs(distance),
          "the point lies `distance` metres away");
    }
  }

  FuzzedDataProvider& m_In;
  std::unique_ptr<CNavPath> m_Paths[kPaths];
  CTurnInfo m_Turns[kTurns];
  CFuzzMapView m_Views[2];
  CSlot m_Slots[kSlots];
  CPathManagerEx& m_Manager = GetRouteManager().GetPathManager();
  bool m_HasOrigin = false;
  tagLonLat m_Origin = {0.0, 0.0};
  std::vector<tagLonLat> m_Dests;
  CBench m_Bench;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  CScript script(in);
  script.Run();
  return 0;
}
