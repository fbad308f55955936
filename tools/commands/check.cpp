// `advicepath check`: the audit of a size table and the colours, and of the route's turns
// against them, printed as tables and then one line per finding.
#include <cmath>
#include <cstdio>

#include "audit/audit.h"
#include "commands/commands.h"
#include "frame/captions.h"
#include "frame/plan.h"
#include "frame/record.h"
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
      "without it) against them: a table per scale index, then one line per finding.\n"
      "Exit status 0 when nothing is found, 4 when something is, 2 for bad input.",
      {
          RouteSizesOption(o.setup.sizesFile),
          StyleOption(o.setup.styleFile),
          ThemeOption(o.setup.theme),
          {"--size", "WxH", "picture the arrow must fit, in pixels (default 800x600)", &o.size,
           kMinSidePx, kMaxSidePx},
          TurnsOption(o.turns),
          CenterOption(o.setup.center),
          LogLevelOption(o.log),
      },
      &o.setup.route,
  };
}

const char* CenterWords(CCenter center) {
  for (const CCenterName& entry : kCenterNames) {
    if (entry.center == center) return entry.words;
  }
  return "";
}

// The rows the view can reach: indices 0 to the last the ladder reports, and no further than
// the table.
std::vector<CRowMeasures> MeasureTable(const CFrameSetup& setup) {
  std::vector<CRowMeasures> rows;
  const std::size_t count =
      std::min(setup.sizes.rows.size(), static_cast<std::size_t>(setup.ladder.HighestIndex()) + 1);
  for (std::size_t i = 0; i < count; ++i) {
    const int index = static_cast<int>(i);
    rows.push_back(MeasureRow(setup.sizes.rows[i], index, setup.ladder.MetresPerPixel(index),
                              index <= setup.maxTurnScale));
  }
  return rows;
}

void PrintRows(const std::vector<CRowMeasures>& rows) {
  std::printf(
      "Each scale index at its scale (widths in pixels as in the row; lengths in pixels):\n"
      "index   m/px  route w/border  arrow w/border  head outline  before  after  head long  "
      "head wide\n");
  for (const CRowMeasures& r : rows) {
    std::printf("%5d %6g  %5d / %-5d", r.scaleIndex, r.metresPerPixel, r.pathWidth,
                r.pathBorderWidth);
    if (!r.arrow) {
      std::printf("   (no arrow at this index)\n");
      continue;
    }
    std::printf("   %5d / %-5d %9d    %6.0f %6.0f %10.0f %10.0f\n", r.arrowWidth,
                r.arrowBorderWidth, r.headOutlineWidth, r.enterPx, r.exitPx, r.headLengthPx,
                r.headWidthPx);
  }
}

// For each turn and each row with an arrow, the library's arrow in a picture of the option's
// size, centred as `render` centres it: one table line per row, findings for what does not
// fit and for turns the library draws no arrow for.
bool CheckTurns(const CFrameSetup& setup, const std::vector<CChosenTurn>& turns,
                const std::vector<CRowMeasures>& rows, const CPixelSize& size,
                std::vector<std::string>& findings, std::string& error) {
  std::printf("\nArrow in a %dx%d picture centred on %s (pixels out of it; \"-\" no arrow):\n",
              size.width, size.height, CenterWords(setup.center));
  std::printf("index");
  for (const CChosenTurn& turn : turns) std::printf(" %7s", turn.shortLabel.c_str());
  std::printf("\n");
  for (const CRowMeasures& row : rows) {
    if (!row.arrow) continue;
    std::printf("%5d", row.scaleIndex);
    for (const CChosenTurn& turn : turns) {
      CFrameRecord record;
      if (!RecordFrame(setup, &turn.turn, row.scaleIndex, record, error)) return false;
      const CFramePlan plan = PlanFrame(setup, &turn.turn, record, size.width, size.height);
      const double out = plan.MaxOverflowPx();
      if (!plan.arrowDrawn) {
        std::printf(" %7s", "-");
        // The route's end has no arrow by design, and a file may ask Draw for none.
        if (!turn.turn.EndsRoute() && setup.route.drawArrow) {
          findings.push_back(turn.label + " at scale index " + std::to_string(row.scaleIndex) +
                             ": the library draws no arrow");
        }
      } else if (out > 0.0) {
        std::printf(" %7.0f", std::ceil(out));
        findings.push_back(DescribeOverflow(plan, turn.label, row.scaleIndex));
      } else {
        std::printf(" %7s", "ok");
      }
    }
    std::printf("\n");
  }
  return true;
}

void PrintColors(const std::vector<CColorPair>& pairs) {
  std::printf("\nColours (WCAG 2.x contrast ratio; pairs that meet need %.0f:1):\n", kMinContrast);
  for (const CColorPair& pair : pairs) {
    const std::string what = pair.first + " against " + pair.second;
    std::printf("  %-32s 0x%08X 0x%08X %6.2f:1%s\n", what.c_str(), pair.firstColor,
                pair.secondColor, pair.ratio,
                pair.meets ? "" : "  (do not meet: the border lies between)");
  }
}

int Audit(const CCheckOptions& o, const CFrameSetup& setup, std::string& error) {
  std::vector<CChosenTurn> turns;
  if (!ChooseTurns(setup.route, o.turns, "--turns", turns, error)) return kExitBadInput;
  std::printf("Route: %s; turns checked: %zu.\n", setup.route.fileName.c_str(), turns.size());
  std::printf("Size table: %zu rows; the arrow is drawn up to scale index %d.\n\n",
              setup.sizes.rows.size(), setup.maxTurnScale);
  const std::vector<CRowMeasures> rows = MeasureTable(setup);
  PrintRows(rows);
  std::vector<std::string> findings;
  bool arrowBorderHidden = false;
  bool routeBorderHidden = false;
  for (const CRowMeasures& row : rows) {
    CheckRow(row, findings);
    arrowBorderHidden = arrowBorderHidden || (row.arrow && row.arrowBorderWidth <= row.arrowWidth);
    routeBorderHidden = routeBorderHidden || row.pathBorderWidth <= row.pathWidth;
  }
  if (!turns.empty() && !CheckTurns(setup, turns, rows, o.size, findings, error)) {
    return kExitBadInput;
  }
  const std::vector<CColorPair> pairs =
      ColorPairs(setup.colors, setup.background, arrowBorderHidden, routeBorderHidden);
  PrintColors(pairs);
  CheckColors(pairs, findings);
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
  int status = StartCommand(CheckLine(o), args, o.log);
  if (status >= 0) return status;
  CFrameSetup setup;
  if ((status = LoadSetup(o.setup, setup)) >= 0) return status;
  std::string error;
  const int result = Audit(o, setup, error);
  if (result == kExitBadInput) ReportError(error);
  return result;
}

}  // namespace tool
