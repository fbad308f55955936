// The exported handle, the two settings records and the three free functions.
#include "advicepathrenderex.h"

#include <new>

#include "advicepathrender.h"
#include "mapservice.h"

AdvicePathClrSetting::AdvicePathClrSetting()
    : pathColor(0x000711F5u),
      pathBorderColor(0x0092121Bu),
      arrowColor(0x00FFFFFFu),
      arrowBorderColor(0x00000000u) {}

AdvicePathClrSetting::AdvicePathClrSetting(unsigned long pathClr, unsigned long pathBorderClr,
                                           unsigned long arrowClr, unsigned long arrowBorderClr)
    : pathColor(static_cast<unsigned int>(pathClr)),
      pathBorderColor(static_cast<unsigned int>(pathBorderClr)),
      arrowColor(static_cast<unsigned int>(arrowClr)),
      arrowBorderColor(static_cast<unsigned int>(arrowBorderClr)) {}

AdvicePathClrSetting& AdvicePathClrSetting::operator=(const AdvicePathClrSetting& other) {
  pathColor = other.pathColor;
  pathBorderColor = other.pathBorderColor;
  arrowColor = other.arrowColor;
  arrowBorderColor = other.arrowBorderColor;
  return *this;
}

AdvicePathRenderEx::AdvicePathRenderEx(CNavPath* path) : mp_Render(nullptr) {
  // Allocated first and constructed only once the memory is there, so that a failed
  // allocation leaves a handle without a renderer instead of throwing.
  void* memory = ::operator new(sizeof(AdvicePathRender), std::nothrow);
  if (memory == nullptr) return;
  Torvane::CMapService& view = Torvane::CMapCreate::GetMapService(nullptr);
  mp_Render = new (memory) AdvicePathRender(&view);
  if (path != nullptr) mp_Render->SetPath(path);
}

AdvicePathRenderEx::AdvicePathRenderEx(const AdvicePathRenderEx& other)
    : mp_Render(other.mp_Render) {
  if (mp_Render != nullptr) mp_Render->AddRef();
}

AdvicePathRenderEx::~AdvicePathRenderEx() {
  if (mp_Render == nullptr) return;
  if (mp_Render->Release()) delete mp_Render;
  mp_Render = nullptr;
}

AdvicePathRenderEx& AdvicePathRenderEx::operator=(const AdvicePathRenderEx& other) {
  // Take the source's reference before dropping ours, so self-assignment keeps the renderer.
  if (other.mp_Render != nullptr) other.mp_Render->AddRef();
  if (mp_Render != nullptr && mp_Render->Release()) delete mp_Render;
  mp_Render = other.mp_Render;
  return *this;
}

bool AdvicePathRenderEx::SetPath(CNavPath* path) {
  return mp_Render != nullptr && mp_Render->SetPath(path);
}

bool AdvicePathRenderEx::SetDrawParm(void* mapView) {
  // The one place where the exported interface's untyped view becomes the interface it is.
  return mp_Render != nullptr &&
         mp_Render->SetDrawParm(static_cast<Torvane::CMapService*>(mapView));
}

void AdvicePathRenderEx::SetClr(const AdvicePathClrSetting& colors) {
  if (mp_Render != nullptr) mp_Render->SetClr(colors);
}

bool AdvicePathRenderEx::GetClr(AdvicePathClrSetting& colors) const {
  return mp_Render != nullptr && mp_Render->GetClr(colors);
}

int AdvicePathRenderEx::SetSize(AdvicePathSizeSetting* table, int count, int maxTurnScale) {
  return mp_Render != nullptr ? mp_Render->SetSize(table, count, maxTurnScale) : 0;
}

void AdvicePathRenderEx::SetTurnInfo(const CTurnInfo& turn, CNavPath* path) {
  if (mp_Render != nullptr) mp_Render->SetTurnInfo(path, turn);
}

void AdvicePathRenderEx::Draw(bool drawPath, bool drawArrow) {
  if (mp_Render != nullptr) mp_Render->Draw(drawPath, drawArrow);
}

void AdvicePathRenderEx::EnableDrawing(bool enable) {
  if (mp_Render != nullptr) mp_Render->EnableDrawing(enable);
}

void AdvicePathRenderEx::EnableDrawRedLine(bool enable) {
  if (mp_Render != nullptr) mp_Render->EnableDrawRedLine(enable);
}

void AdvicePathRenderEx::Clear() {
  if (mp_Render != nullptr) mp_Render->Clear();
}

void AdvicePathRenderEx::ClearBigArrow() {
  if (mp_Render != nullptr) mp_Render->ClearBigArrow();
}

AdvicePathRenderEx* NewPathRender(CNavPath* path, void* mapView) {
  AdvicePathRenderEx* handle = new (std::nothrow) AdvicePathRenderEx(path);
  if (handle != nullptr && mapView != nullptr) handle->SetDrawParm(mapView);
  return handle;
}

bool ClosePathRender(AdvicePathRenderEx* handle) {
  if (handle == nullptr) return true;
  if (handle == &GetAdvicePath()) return false;
  delete handle;
  return true;
}

AdvicePathRenderEx& GetAdvicePath() {
  static AdvicePathRenderEx s_Handle(nullptr);
  return s_Handle;
}
