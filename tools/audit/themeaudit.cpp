#include "audit/themeaudit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audit/colorvision.h"
#include "frame/captions.h"

namespace tool {

namespace {

void Add(CThemeAudit& audit, CFinding::CKind kind, int turn, int scaleIndex,
         const std::string& text) {
  audit.findings.push_back({kind, turn, scaleIndex, text});
}

// The findings of the rows: each row's own, and the rows nobody chose for their scale.
void CheckRows(const CFrameSetup& setup, CThemeAudit& audit) {
  for (const CRowMeasures& row : audit.rows) {
    std::vector<std::string> lines;
    CheckRow(row, lines);
    for (const std::string& line : lines)
      Add(audit, CFinding::CKind::kRow, -1, row.scaleIndex, line);
  }
  const int tableRows = static_cast<int>(setup.sizes.rows.size());
  const int highest = setup.ladder.HighestIndex();
  if (tableRows <= highest) {
    const std::string indices = tableRows == highest
                                    ? "scale index " + std::to_string(highest) + " lies"
                                    : "scale indices " + std::to_string(tableRows) + " to " +
                                          std::to_string(highest) + " lie";
    Add(audit, CFinding::CKind::kPastTable, -1, -1,
        indices + " past the table's " + std::to_string(tableRows) +
            " rows: the library draws them with row " + std::to_string(audit.rows.back().tableRow) +
            " (its fallback), which was chosen for another scale");
  }
  if (setup.maxTurnScale < 0) {
    Add(audit, CFinding::CKind::kNoArrowAnywhere, -1, -1,
        "maxTurnScale is " + std::to_string(setup.maxTurnScale) +
            ": the library draws no arrow at any scale index");
  }
}

// The finding of one turn at one index, if any.
void CheckTurn(const CFrameSetup& setup, const CChosenTurn& turn, const CTurnCheck& check,
               CThemeAudit& audit) {
  const std::string at = " at scale index " + std::to_string(check.scaleIndex);
  if (!check.plan.arrowDrawn) {
    // The route's end has no arrow by design, and a file may ask Draw for none.
    if (!turn.turn.EndsRoute() && setup.route.drawArrow) {
      Add(audit, CFinding::CKind::kNotDrawn, turn.index, check.scaleIndex,
          turn.label + at + ": the library draws no arrow");
    }
    return;
  }
  if (check.plan.MaxOverflowPx() > 0.0) {
    Add(audit, CFinding::CKind::kFit, turn.index, check.scaleIndex,
        DescribeOverflow(check.plan, turn.label, check.scaleIndex));
  }
  if (check.pastNext && check.pastNext->Exceeds()) {
    char text[200];
    std::snprintf(text, sizeof text,
                  " runs %.0f px (%.0f m) past the node of turn %d, the next decision: more than "
                  "its %.0f px width",
                  std::ceil(check.pastNext->pixels), std::ceil(check.pastNext->metres),
                  check.pastNext->nextTurn, check.pastNext->limitPx);
    Add(audit, CFinding::CKind::kPastNextTurn, turn.index, check.scaleIndex,
        "the arrow of " + turn.label + at + text);
  }
}

// A note for each turn whose exit guide reaches the next turn's node.
void NoteRoute(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns,
               CThemeAudit& audit) {
  for (const CChosenTurn& turn : turns) {
    const int next = turn.index >= 0 ? NextTurn(setup.route, turn.index) : -1;
    if (next < 0 || turn.turn.EndsRoute() ||
        !ExitGuideReachesNextNode(turn.turn, setup.route.turns[static_cast<std::size_t>(next)])) {
      continue;
    }
    audit.notes.push_back(turn.label + ": its exit guide reaches the node of turn " +
                          std::to_string(next) +
                          ", so the library draws its arrow past that node at every scale, "
                          "whatever the table (not counted as a finding)");
  }
}

}  // namespace

std::vector<CRowMeasures> MeasureTable(const CFrameSetup& setup) {
  std::vector<CRowMeasures> rows;
  const int count = static_cast<int>(setup.sizes.rows.size());
  for (int index = 0; index <= setup.ladder.HighestIndex(); ++index) {
    // Past the table the library takes the fallback index, and the last row when the table
    // has no row of that index either.
    const int effective = index < count ? index : kFallbackScaleIndex;
    const int row = effective < count ? effective : count - 1;
    rows.push_back(MeasureRow(setup.sizes.rows[static_cast<std::size_t>(row)], index,
                              setup.ladder.MetresPerPixel(index), effective <= setup.maxTurnScale));
    rows.back().tableRow = row;
  }
  return rows;
}

bool AuditTheme(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns, int widthPx,
                int heightPx, CThemeAudit& audit, std::string& error) {
  if (!AuditTable(setup, turns, widthPx, heightPx, audit, error)) return false;
  AuditColors(setup, audit);
  return true;
}

bool AuditTable(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns, int widthPx,
                int heightPx, CThemeAudit& audit, std::string& error) {
  audit = CThemeAudit();
  audit.theme = setup.theme;
  audit.widthPx = widthPx;
  audit.heightPx = heightPx;
  audit.rows = MeasureTable(setup);
  CheckRows(setup, audit);
  for (const CRowMeasures& row : audit.rows) {
    if (!row.arrow) continue;
    for (const CChosenTurn& turn : turns) {
      audit.turnChecks.emplace_back();
      if (!CheckTurnAtScale(setup, turn, row.scaleIndex, widthPx, heightPx, audit.turnChecks.back(),
                            error)) {
        return false;
      }
      CheckTurn(setup, turn, audit.turnChecks.back(), audit);
    }
  }
  NoteRoute(setup, turns, audit);
  return true;
}

void AuditColors(const CFrameSetup& setup, CThemeAudit& audit) {
  audit.theme = setup.theme;
  std::vector<CFinding>& findings = audit.findings;
  findings.erase(
      std::remove_if(findings.begin(), findings.end(),
                     [](const CFinding& f) { return f.kind == CFinding::CKind::kColor; }),
      findings.end());
  bool arrowBorderHidden = false;
  bool routeBorderHidden = false;
  for (const CRowMeasures& row : audit.rows) {
    arrowBorderHidden = arrowBorderHidden || (row.arrow && row.arrowBorderWidth <= row.arrowWidth);
    routeBorderHidden = routeBorderHidden || row.pathBorderWidthSeen <= row.pathWidthSeen;
  }
  audit.pairs = ColorPairs(setup.colors, setup.background, arrowBorderHidden, routeBorderHidden);
  const std::vector<CColorPair> seen =
      ColorVisionPairs(setup.colors, setup.background, arrowBorderHidden);
  audit.pairs.insert(audit.pairs.end(), seen.begin(), seen.end());
  std::vector<std::string> lines;
  CheckColors(audit.pairs, lines);
  for (const std::string& line : lines) Add(audit, CFinding::CKind::kColor, -1, -1, line);
}

}  // namespace tool
