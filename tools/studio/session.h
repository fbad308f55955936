// The studio's session: the route being tuned against, the set-up built from it, and the
// style file that Save writes. Everything a request asks for goes through here: a sheet of
// cells drawn for a style and one of its themes, a cell drawn large, the audit of every theme,
// a dropped route replacing the current one, and Save.
//
// The style itself travels with each request (the page holds the edits), so that a request
// draws exactly what it names. Not safe for concurrent use: the server serialises requests
// (recording touches the route manager, process-wide). Drawing a sheet uses a few threads of
// its own (cells.h).
#ifndef ADVICEPATH_TOOLS_STUDIO_SESSION_H_
#define ADVICEPATH_TOOLS_STUDIO_SESSION_H_

#include <memory>
#include <string>
#include <vector>

#include "audit/themeaudit.h"
#include "frame/setup.h"
#include "input/routefile.h"
#include "input/style.h"
#include "studio/cells.h"

namespace tool {

class CStudioSession {
 public:
  // The picture a turn must fit, as `check`'s default; and the sheet's frames.
  static constexpr int kPictureWidthPx = 800;
  static constexpr int kPictureHeightPx = 600;
  static constexpr int kCellWidthPx = 320;
  static constexpr int kCellHeightPx = 240;

  // A session on `route`, centring frames as `center` says, saving to `stylePath`. Null with a
  // message when the route's path cannot be built.
  static std::unique_ptr<CStudioSession> Create(CRouteFile route, CCenter center,
                                                std::string stylePath, std::string& error);

  CStudioSession(const CStudioSession&) = delete;
  CStudioSession& operator=(const CStudioSession&) = delete;
  ~CStudioSession();

  // The current route.
  const CRouteFile& Route() const { return m_Setup->route; }
  // The metres per pixel each scale index is drawn at, index 0 first.
  std::vector<double> Ladder() const;
  // Where Save writes.
  const std::string& StylePath() const { return m_StylePath; }

  // Replaces the route; the session keeps the old one when the new one's path cannot be
  // built (false with a message).
  bool ReplaceRoute(CRouteFile route, std::string& error);

  // Draws `cells` (turns and indices on the route, checked by the caller) for `theme` of
  // `style`, each frame kCellWidthPx x kCellHeightPx. False with a message when the library
  // refuses the set-up.
  bool DrawSheet(const CStyle& style, const CTheme& theme, std::vector<CCellPicture>& cells,
                 std::string& error);

  // Draws one cell with a frame of widthPx x heightPx pixels, and its map-view calls as JSON.
  bool DrawLarge(const CStyle& style, const CTheme& theme, CCellPicture& cell, int widthPx,
                 int heightPx, std::string& callsJson, std::string& error);

  // Audits every theme of `style` against all the route's turns in a kPictureWidthPx x
  // kPictureHeightPx picture, as `check --style` does; themes that share a table share its
  // part of the audit.
  bool AuditStyle(const CStyle& style, std::vector<CThemeAudit>& audits, std::string& error);

  // Writes `style` to StylePath() under a temporary name, then renames it over the file.
  bool Save(const CStyle& style, std::string& error);

 private:
  CStudioSession(CCenter center, std::string stylePath);

  CCenter m_Center;                      // how frames are centred
  std::string m_StylePath;               // the one file the studio writes
  std::unique_ptr<CFrameSetup> m_Setup;  // Owned: the route, its path and the drawn theme
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_STUDIO_SESSION_H_
