// `advicepath check`: the audit of a size table and the colours, and of the route's turns
// against them, printed as tables and then one line per finding.
#include <cmath>
#include <cstdio>
#include <functional>

#include "audit/themeaudit.h"
#include "commands/commands.h"
#include "frame/turns.h"

namespace tool {

namespace {

struct CCheckOptions {
  CSetupRequest setup;
  CPixelSize size = {800, 600};
  std::optional<std::vector<int>> turns;
  CLogLevel log;
};

CCommandLine CheckLine(CCheckOptions& o) {
  return {
      "check",
      "advicepath check [ROUTE] [options]",
      "Audits a size table and the colours, and the turns of ROUTE (the built-in sample\n"
      "without it) against them: tables per scale index, then one line per finding. With\n"
      "--style, every theme of the style (or the one --theme names).\n"
      "Exit status 0 when nothing is found, 4 when something is, 2 for bad input.",
      Options({
          {{"--size", "WxH", "picture the arrow must fit, in pixels (default 800x600)", &o.size,
            kMinSidePx, kMaxSidePx},
           TurnsOption(o.turns)},
          SetupOptions(o.setup),
          {LogLevelOption(o.log)},
      }),
      &o.setup.route,
  };
}

const char* CenterWords(CCenter center) {
  for (const CCenterName& entry : kCenterNames) {
    if (entry.center == center) return entry.words;
  }
  return "";
}

void PrintRows(const std::vector<CRowMeasures>& rows) {
  std::printf(
      "Each scale index at its scale (widths in pixels as in the row; lengths in pixels):\n"
      "index   m/px  route w/border  arrow w/border  head outline  before  after  head long  "
      "head wide\n");
  for (const CRowMeasures& r : rows) {
    std::printf("%5d %6g  %5d / %-5d", r.scaleIndex, r.metresPerPixel, r.pathWidth,
                r.pathBorderWidth);
    const std::string fallback =
        r.tableRow != r.scaleIndex ? "  (row " + std::to_string(r.tableRow) + ")" : "";
    if (!r.arrow) {
      std::printf("   (no arrow at this index)%s\n", fallback.c_str());
      continue;
    }
    std::printf("   %5d / %-5d %9d    %6.0f %6.0f %10.0f %10.0f%s\n", r.arrowWidth,
                r.arrowBorderWidth, r.headOutlineWidth, r.enterPx, r.exitPx, r.headLengthPx,
                r.headWidthPx, fallback.c_str());
  }
}

// The turn checks as a table, a line per index with an arrow and a column per turn, each
// cell as `cellText` says.
void PrintTurnTable(const CThemeAudit& audit, const std::vector<CChosenTurn>& turns,
                    const std::function<std::string(const CTurnCheck&)>& cellText) {
  std::printf("index");
  for (const CChosenTurn& turn : turns) std::printf(" %7s", turn.shortLabel.c_str());
  for (std::size_t i = 0; i < audit.turnChecks.size(); ++i) {
    if (i % turns.size() == 0) std::printf("\n%5d", audit.turnChecks[i].scaleIndex);
    std::printf(" %7s", cellText(audit.turnChecks[i]).c_str());
  }
  std::printf("\n");
}

void PrintTurns(const CThemeAudit& audit, const std::vector<CChosenTurn>& turns, CCenter center) {
  if (turns.empty() || audit.turnChecks.empty()) return;
  std::printf("\nArrow in a %dx%d picture centred on %s (pixels out of it; \"-\" no arrow):\n",
              audit.widthPx, audit.heightPx, CenterWords(center));
  PrintTurnTable(audit, turns, [](const CTurnCheck& check) -> std::string {
    if (!check.plan.arrowDrawn) return "-";
    const double out = check.plan.MaxOverflowPx();
    return out > 0.0 ? std::to_string(static_cast<long long>(std::ceil(out))) : "ok";
  });
  bool measured = false;
  for (const CTurnCheck& check : audit.turnChecks) measured = measured || check.pastNext;
  if (!measured) return;
  std::printf(
      "\nArrow tip past the next turn's node, pixels (negative: short of it; \".\" not "
      "measured):\n");
  PrintTurnTable(audit, turns, [](const CTurnCheck& check) -> std::string {
    if (!check.pastNext) return ".";
    return std::to_string(static_cast<long long>(std::lround(check.pastNext->pixels))) +
           (check.pastNext->Exceeds() ? "!" : "");
  });
}

void PrintColors(const std::vector<CColorPair>& pairs) {
  std::printf("\nColours (WCAG 2.x contrast ratio; pairs that meet need %.0f:1):\n", kMinContrast);
  for (const CColorPair& pair : pairs) {
    const std::string what =
        (pair.vision.empty() ? "" : pair.vision + ": ") + pair.first + " against " + pair.second;
    std::printf("  %-44s 0x%08X 0x%08X %6.2f:1%s\n", what.c_str(), pair.firstColor,
                pair.secondColor, pair.ratio,
                pair.meets ? "" : "  (do not meet: the border lies between)");
  }
}

// The setups to audit: the one loaded, or one per theme of its style (only the requested
// theme when --theme is given).
std::vector<std::string> ThemesToAudit(const CCheckOptions& o, const CFrameSetup& setup) {
  std::vector<std::string> themes;
  if (!setup.style || !o.setup.theme.empty()) {
    themes.push_back(setup.theme);
  } else {
    for (const CTheme& theme : setup.style->themes) themes.push_back(theme.name);
  }
  return themes;
}

int Audit(const CCheckOptions& o, CFrameSetup& setup, std::string& error) {
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(setup.route, o.turns, "--turns", turns, error)) return kExitBadInput;
  std::printf("Route: %s; turns checked: %zu.\n", setup.route.fileName.c_str(), turns.size());
  const std::vector<std::string> themes = ThemesToAudit(o, setup);
  std::vector<std::string> findings;
  std::vector<std::string> notes;
  for (const std::string& name : themes) {
    if (setup.style) {
      ApplyTheme(*setup.style, *setup.style->FindTheme(name), setup);
      std::printf("\n== Theme %s of %s ==\n", name.c_str(), o.setup.styleFile.c_str());
    }
    std::printf("Size table: %zu rows; the arrow is drawn up to scale index %d.\n\n",
                setup.sizes.rows.size(), setup.maxTurnScale);
    CThemeAudit audit;
    if (!AuditTheme(setup, turns, o.size.width, o.size.height, audit, error)) {
      return kExitBadInput;
    }
    PrintRows(audit.rows);
    PrintTurns(audit, turns, setup.center);
    PrintColors(audit.pairs);
    const std::string prefix = setup.style ? "theme " + name + ": " : std::string();
    for (const CFinding& finding : audit.findings) findings.push_back(prefix + finding.text);
    // The notes are about the route, the same for every theme: printed once.
    if (notes.empty()) notes = audit.notes;
  }
  if (!notes.empty()) {
    std::printf("\nNotes (%zu):\n", notes.size());
    for (const std::string& note : notes) std::printf("  %s\n", note.c_str());
  }
  if (findings.empty()) {
    std::printf("\nNo findings.\n");
    return kExitOk;
  }
  std::printf("\nFindings (%zu):\n", findings.size());
  for (const std::string& finding : findings) std::printf("  %s\n", finding.c_str());
  return kExitFindings;
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  CCheckOptions o;
  return RunFrameCommand(
      CheckLine(o), args, o.log, o.setup,
      [&o](CFrameSetup& setup, std::string& error) { return Audit(o, setup, error); });
}

}  // namespace tool
