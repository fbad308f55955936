// The whole audit of one theme against a route, as data: what `check` prints and the studio
// shows. Per scale index the view can reach (0 to the ladder's highest), the row the library
// draws it with, measured at the index's scale; per turn and index with an arrow, the fit in
// the picture and the reach past the next turn; the colour pairs, as seen normally and with
// each dichromacy; the findings, and notes about the route that no table can change.
//
// The checks beyond audit.h's and colorvision.h's:
//   past the table  an index the view reports past the table's rows is drawn with the
//                   fallback row (kFallbackScaleIndex, or the last row): one finding naming
//                   the indices, since nobody chose that row for those scales;
//   no arrow        maxTurnScale below 0: no arrow at any index;
//   arrow fit       the arrow runs out of the picture (as `render` warns);
//   arrow drawn     the library draws no arrow for a turn that should have one;
//   next turn       the arrow's tip lies more than arrowBorderWidth pixels past the next
//                   turn's node (turnaudit.h).
//
// Recording touches the route manager's origin and destination. One thread.
#ifndef ADVICEPATH_TOOLS_AUDIT_THEMEAUDIT_H_
#define ADVICEPATH_TOOLS_AUDIT_THEMEAUDIT_H_

#include <string>
#include <vector>

#include "audit/audit.h"
#include "audit/turnaudit.h"
#include "frame/setup.h"
#include "frame/turns.h"

namespace tool {

// One finding: what it is about, and its line.
struct CFinding {
  enum class CKind { kRow, kPastTable, kNoArrowAnywhere, kFit, kNotDrawn, kPastNextTurn, kColor };
  CKind kind;
  int turn = -1;        // index in the route's turns; -1 when not about a turn
  int scaleIndex = -1;  // -1 when not about one index
  std::string text;     // the line `check` prints, without the theme
};

// The audit of one theme.
struct CThemeAudit {
  std::string theme;  // the theme's name; empty without a style
  int widthPx = 0;    // the picture the arrow must fit
  int heightPx = 0;
  std::vector<CRowMeasures> rows;      // every index the view can reach
  std::vector<CTurnCheck> turnChecks;  // per index with an arrow, per turn, in that order
  std::vector<CColorPair> pairs;       // normal vision first, then the dichromacies
  std::vector<CFinding> findings;
  std::vector<std::string> notes;  // about the route; not findings
};

// The rows of `setup`'s table at each index its ladder reaches, as the library draws them.
std::vector<CRowMeasures> MeasureTable(const CFrameSetup& setup);

// Audits `setup` (its table, colours and background) against `turns` in a picture of
// widthPx x heightPx pixels: AuditTable, then AuditColors. False with a message when the
// library refuses the set-up.
bool AuditTheme(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns, int widthPx,
                int heightPx, CThemeAudit& audit, std::string& error);

// The table's part of AuditTheme: the theme's name, rows, turn checks, their findings and the
// notes; `audit` is replaced. What it finds does not depend on the colours, so themes with one
// table share it.
bool AuditTable(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns, int widthPx,
                int heightPx, CThemeAudit& audit, std::string& error);

// The colours' part of AuditTheme, for the colours and background of `setup` and the rows in
// `audit`: replaces the pairs and the colour findings.
void AuditColors(const CFrameSetup& setup, CThemeAudit& audit);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_AUDIT_THEMEAUDIT_H_
