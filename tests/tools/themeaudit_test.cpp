// The audit of one theme: the rows the library reaches past a short table, the findings for
// rows nobody chose, and the findings' kinds, turns and indices that the studio marks cells by.
#include "audit/themeaudit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "route.h"

namespace {

using tool::CFinding;

class CThemeAuditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(tool::LoadFrameSetup(tool::CSetupRequest(), m_Setup, error)) << error;
    ASSERT_TRUE(tool::ChooseTurns(m_Setup.route, std::nullopt, "--turns", m_Turns, error));
  }
  ~CThemeAuditTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  tool::CThemeAudit Audit() {
    tool::CThemeAudit audit;
    std::string error;
    EXPECT_TRUE(tool::AuditTheme(m_Setup, m_Turns, 800, 600, audit, error)) << error;
    return audit;
  }

  // The findings of `kind`.
  static std::vector<CFinding> Of(const tool::CThemeAudit& audit, CFinding::CKind kind) {
    std::vector<CFinding> found;
    for (const CFinding& finding : audit.findings) {
      if (finding.kind == kind) found.push_back(finding);
    }
    return found;
  }

  tool::CFrameSetup m_Setup;
  std::vector<tool::CChosenTurn> m_Turns;
};

TEST_F(CThemeAuditTest, IndicesPastTheTableUseTheFallbackRow) {
  const struct {
    std::size_t rows;
    int maxTurnScale;
    int row12;     // the row index 12 is drawn with
    bool arrow12;  // whether index 12 has an arrow
  } kCases[] = {{13, 6, 12, false}, {7, 6, 5, true}, {7, 4, 5, false}, {3, 6, 2, true}};
  for (const auto& c : kCases) {
    m_Setup.sizes.rows.resize(c.rows);
    m_Setup.maxTurnScale = c.maxTurnScale;
    const std::vector<tool::CRowMeasures> rows = tool::MeasureTable(m_Setup);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[12].tableRow, c.row12) << c.rows;
    EXPECT_EQ(rows[12].arrow, c.arrow12) << c.rows;
    EXPECT_EQ(rows[12].metresPerPixel, 4000.0);
    EXPECT_EQ(rows[1].tableRow, 1);
  }
}

TEST_F(CThemeAuditTest, RowsNobodyChoseAreFindings) {
  m_Setup.sizes.rows.resize(7);
  std::vector<CFinding> past = Of(Audit(), CFinding::CKind::kPastTable);
  ASSERT_EQ(past.size(), 1u);
  EXPECT_EQ(past[0].text,
            "scale indices 7 to 12 lie past the table's 7 rows: the library draws them with row 5 "
            "(its fallback), which was chosen for another scale");
  m_Setup.sizes.rows.resize(13);
  m_Setup.maxTurnScale = -1;
  const tool::CThemeAudit none = Audit();
  ASSERT_EQ(Of(none, CFinding::CKind::kNoArrowAnywhere).size(), 1u);
  EXPECT_EQ(Of(none, CFinding::CKind::kNoArrowAnywhere)[0].text,
            "maxTurnScale is -1: the library draws no arrow at any scale index");
  EXPECT_TRUE(none.turnChecks.empty());
}

TEST_F(CThemeAuditTest, TurnFindingsNameTheirTurnAndIndex) {
  const tool::CThemeAudit audit = Audit();
  // Six turns at each of the seven indices with an arrow.
  EXPECT_EQ(audit.turnChecks.size(), 42u);
  const std::vector<CFinding> fit = Of(audit, CFinding::CKind::kFit);
  ASSERT_EQ(fit.size(), 1u);
  EXPECT_EQ(fit[0].turn, 3);
  EXPECT_EQ(fit[0].scaleIndex, 0);
  const std::vector<CFinding> past = Of(audit, CFinding::CKind::kPastNextTurn);
  ASSERT_EQ(past.size(), 2u);
  EXPECT_EQ(past[0].turn, 4);
  EXPECT_EQ(past[0].scaleIndex, 5);
  EXPECT_EQ(past[1].scaleIndex, 6);
  // Turns 0 to 3 end their exit guides on the next node: notes, not findings.
  EXPECT_EQ(audit.notes.size(), 4u);
  // Seven pairs in normal vision, four for each dichromacy.
  EXPECT_EQ(audit.pairs.size(), 7u + 3u * 4u);
}

TEST_F(CThemeAuditTest, WidthsTheViewCannotDrawAreFindings) {
  // The route's widths reach the view as their low 16 bits: 65540 arrives as 4.
  m_Setup.sizes.rows[2].pathWidth = 65540;
  m_Setup.sizes.rows[3].arrowBorderWidth = 2000;
  std::vector<std::string> texts;
  for (const CFinding& finding : Of(Audit(), CFinding::CKind::kRow)) texts.push_back(finding.text);
  const std::vector<std::string> expected = {
      "scale index 2: pathWidth 65540 reaches the view as 4 (its low 16 bits): the picture draws "
      "a line 4 px wide",
      "scale index 3: arrowBorderWidth 2000: the picture's view draws lines 1 to 1024 px wide, so "
      "this one not at all"};
  for (const std::string& line : expected) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end())
        << line << "\n"
        << ::testing::PrintToString(texts);
  }
}

}  // namespace
