#include "route.h"

#include <cstring>

#include "path.h"

CTurnInfo::CTurnInfo() : m_Type(NAV_TURN_STRAIGHT) {
  std::memset(&m_Enter, 0, sizeof m_Enter);
  std::memset(&m_Exit, 0, sizeof m_Exit);
}

CTurnInfo::~CTurnInfo() = default;

bool CTurnInfo::SetFromPath(const CPath& path, int enterIndex, int exitIndex,
                            NAV_TURN_TYPE_tag type) {
  PathGuid enter;
  PathGuid exit;
  if (!path.GetGuideAt(enterIndex, enter) || !path.GetGuideAt(exitIndex, exit)) return false;
  // The route library's records share the path library's layout.
  std::memcpy(&m_Enter, &enter, sizeof m_Enter);
  std::memcpy(&m_Exit, &exit, sizeof m_Exit);
  m_Type = type;
  return true;
}

void CTurnInfo::SetTurnType(NAV_TURN_TYPE_tag type) { m_Type = type; }
void CTurnInfo::SetEnterGuide(const NavGuid& guide) { m_Enter = guide; }
void CTurnInfo::SetExitGuide(const NavGuid& guide) { m_Exit = guide; }

NAV_TURN_TYPE_tag CTurnInfo::GetTurnType(int /*index*/) const { return m_Type; }
void CTurnInfo::GetEnterGuide(int /*index*/, NavGuid& guide) const { guide = m_Enter; }
void CTurnInfo::GetExitGuide(int /*index*/, NavGuid& guide) const { guide = m_Exit; }

NavDest::NavDest() { std::memset(static_cast<void*>(this), 0, sizeof *this); }

CPathManagerEx::CPathManagerEx() : m_HasOrigin(false), m_Origin{0.0, 0.0} {}
CPathManagerEx::~CPathManagerEx() = default;

void CPathManagerEx::SetOrgPoint(const tagLonLat& origin) {
  m_Origin = origin;
  m_HasOrigin = true;
}
void CPathManagerEx::ClearOrgPoint() { m_HasOrigin = false; }
void CPathManagerEx::SetDestPoints(const std::vector<tagLonLat>& destinations) {
  m_Dests = destinations;
}

bool CPathManagerEx::GetOrgPoint(NavDest& dest) const {
  if (!m_HasOrigin) return false;
  dest.point = m_Origin;
  return true;
}

int CPathManagerEx::GetDestCount() const { return static_cast<int>(m_Dests.size()); }

bool CPathManagerEx::GetDestPoint(int index, NavDest& dest) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_Dests.size()) return false;
  dest.point = m_Dests[static_cast<std::size_t>(index)];
  return true;
}

RouteManager::RouteManager() = default;
RouteManager::~RouteManager() = default;
CPathManagerEx& RouteManager::GetPathManager() { return m_PathManager; }

RouteManager& GetRouteManager() {
  static RouteManager manager;
  return manager;
}
