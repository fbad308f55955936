// fuzz_frame: the bytes are a script of library operations.
//
// The script first builds two paths from guides whose points are arbitrary doubles (NaN,
// infinities, +-1e308, +-180 and +-90 exactly, repeated points, guides of 0 or 1 point, up to
// 65535 points), then runs up to kMaxOps operations in any order: handles made, copied,
// assigned and closed; SetPath, SetDrawParm, SetClr and GetClr, SetSize with tables of
// arbitrary ints and counts, SetTurnInfo with turns of arbitrary enter and exit indices and
// types, Draw, Clear, ClearBigArrow and the two switches; the route manager's origin and
// destinations; and direct calls of the edge primitives and the direction functions on
// arbitrary points (edge_script.h). fuzz_input.h decodes the arbitrary values.
//
// A model of each renderer's state (shared by the handles that share the renderer) predicts
// what each Draw may put on the view, and frame_check.h checks the calls against it. The
// primitives are checked against their documented results.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "advicepathrenderex.h"
#include "edge_script.h"
#include "frame_check.h"
#include "fuzz_input.h"
#include "mapservice.h"
#include "path.h"
#include "route.h"

namespace {

using fuzz::CEdgeScript;
using fuzz::CFrameExpectation;
using fuzz::CFuzzMapView;
using fuzz::ConsumeInt;
using fuzz::ConsumePoint;
using fuzz::ConsumePolyline;

// Bounds of one script, so that a run stays well under a second.
constexpr int kMaxOps = 96;
constexpr int kPaths = 2;
constexpr int kMaxGuides = 14;
constexpr int kSlots = 4;
constexpr int kTurns = 3;
constexpr int kMaxTableRows = 16;

// Size-table rows of 44 bytes: the smallest count whose table exceeds 4 GiB, which SetSize
// refuses as an allocation failure without touching the caller's rows.
constexpr int kCountPastAddressSpace = 97612894;

// Row of the fallback scale index.
constexpr int kFallbackScale = 5;
// Largest scale index of the arrow before the first SetSize.
constexpr int kDefaultMaxTurnScale = 30;

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

class CScript {
 public:
  explicit CScript(FuzzedDataProvider& in) : m_In(in), m_EdgeScript(in) {
    for (auto& path : m_Paths) path = ConsumePath(in);
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
        return m_EdgeScript.BenchEdge();
      case 18:
        return m_EdgeScript.BenchVector();
      case 19:
        return m_EdgeScript.BenchTrim();
      case 20:
        return m_EdgeScript.Directions();
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
      fuzz::CheckFrame(m_Views[v], frame);
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

  FuzzedDataProvider& m_In;
  std::unique_ptr<CNavPath> m_Paths[kPaths];
  CTurnInfo m_Turns[kTurns];
  CFuzzMapView m_Views[2];
  CSlot m_Slots[kSlots];
  CPathManagerEx& m_Manager = GetRouteManager().GetPathManager();
  bool m_HasOrigin = false;
  tagLonLat m_Origin = {0.0, 0.0};
  std::vector<tagLonLat> m_Dests;
  CEdgeScript m_EdgeScript;  // runs the steps on the edge primitives and directions
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  CScript script(in);
  script.Run();
  return 0;
}
