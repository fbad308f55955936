#include "studio/session.h"

#include <cstring>
#include <utility>

#include "frame/turns.h"
#include "output/calldump.h"
#include "output/outputfile.h"
#include "picture/canvas.h"

namespace tool {

namespace {

bool SameTable(const CSizeTable& a, const CSizeTable& b) {
  return a.maxTurnScale == b.maxTurnScale && a.rows.size() == b.rows.size() &&
         std::memcmp(a.rows.data(), b.rows.data(), a.rows.size() * sizeof a.rows[0]) == 0;
}

}  // namespace

std::unique_ptr<CStudioSession> CStudioSession::Create(CRouteFile route, CCenter center,
                                                       std::string stylePath, std::string& error) {
  std::unique_ptr<CStudioSession> session(new CStudioSession(center, std::move(stylePath)));
  if (!session->ReplaceRoute(std::move(route), error)) return nullptr;
  return session;
}

CStudioSession::CStudioSession(CCenter center, std::string stylePath)
    : m_Center(center), m_StylePath(std::move(stylePath)) {}

CStudioSession::~CStudioSession() = default;

std::vector<double> CStudioSession::Ladder() const {
  std::vector<double> ladder;
  for (int i = 0; i <= m_Setup->ladder.HighestIndex(); ++i) {
    ladder.push_back(m_Setup->ladder.MetresPerPixel(i));
  }
  return ladder;
}

bool CStudioSession::ReplaceRoute(CRouteFile route, std::string& error) {
  std::unique_ptr<CFrameSetup> setup(new CFrameSetup);
  CSetupRequest request;
  request.center = m_Center;
  if (!BuildFrameSetup(std::move(route), request, *setup, error)) return false;
  m_Setup = std::move(setup);
  return true;
}

bool CStudioSession::DrawSheet(const CStyle& style, const CTheme& theme,
                               std::vector<CCellPicture>& cells, std::string& error) {
  ApplyTheme(style, theme, *m_Setup);
  return DrawCells(*m_Setup, cells, kCellWidthPx, kCellHeightPx, CellThreads(), error);
}

bool CStudioSession::DrawLarge(const CStyle& style, const CTheme& theme, CCellPicture& cell,
                               int widthPx, int heightPx, std::string& callsJson,
                               std::string& error) {
  ApplyTheme(style, theme, *m_Setup);
  std::vector<CCellPicture> cells = {cell};
  if (!DrawCells(*m_Setup, cells, widthPx, heightPx, 1, error)) return false;
  cell = std::move(cells[0]);
  callsJson = FormatCallDump(cell.record.calls);
  return true;
}

bool CStudioSession::AuditStyle(const CStyle& style, std::vector<CThemeAudit>& audits,
                                std::string& error) {
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(m_Setup->route, std::nullopt, "turns", turns, error)) return false;
  audits.clear();
  for (const CTheme& theme : style.themes) {
    ApplyTheme(style, theme, *m_Setup);
    const CThemeAudit* same = nullptr;
    for (std::size_t t = 0; t < audits.size() && same == nullptr; ++t) {
      if (SameTable(style.TableOf(style.themes[t]), style.TableOf(theme))) same = &audits[t];
    }
    if (same != nullptr) {
      audits.push_back(*same);
    } else {
      audits.emplace_back();
      if (!AuditTable(*m_Setup, turns, kPictureWidthPx, kPictureHeightPx, audits.back(), error)) {
        return false;
      }
    }
    AuditColors(*m_Setup, audits.back());
  }
  return true;
}

bool CStudioSession::Save(const CStyle& style, std::string& error) {
  COutputFile file;
  return file.Open(m_StylePath, error) && file.Write(FormatStyle(style), error) &&
         CommitAll({&file}, error);
}

}  // namespace tool
