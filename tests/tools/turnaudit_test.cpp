// The audit of turns against the route: which turn comes next, when the exit guide alone
// reaches it, and how far the library's arrow reaches along the sample's route, measured on
// the frames the library records.
#include "audit/turnaudit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "route.h"

namespace {

class CTurnAuditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(tool::LoadFrameSetup(tool::CSetupRequest(), m_Setup, error)) << error;
    ASSERT_TRUE(tool::ChooseTurns(m_Setup.route, std::nullopt, "--turns", m_Turns, error));
    ASSERT_EQ(m_Turns.size(), 6u);
  }
  ~CTurnAuditTest() override {
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  // Metres from the route's start to the end of guide `guide`.
  double Along(int guide) const { return tool::DistanceToEndOfGuide(m_Setup.route, guide); }

  tool::CTurnCheck Check(int turn, int scaleIndex) {
    tool::CTurnCheck check;
    std::string error;
    EXPECT_TRUE(tool::CheckTurnAtScale(m_Setup, m_Turns[static_cast<std::size_t>(turn)], scaleIndex,
                                       800, 600, check, error))
        << error;
    return check;
  }

  tool::CFrameSetup m_Setup;
  std::vector<tool::CChosenTurn> m_Turns;
};

TEST_F(CTurnAuditTest, NextTurnIsTheNearestNodeAheadAndMostShareTheExitGuide) {
  // The sample's turns by guides: 0->1, 1->3, 3->4, 4->5, 5->6, 7->9.
  const struct {
    int turn;
    int next;
    bool exitGuideReachesIt;
  } kCases[] = {{0, 1, true}, {1, 2, true},  {2, 3, true},
                {3, 4, true}, {4, 5, false}, {5, -1, false}};
  for (const auto& c : kCases) {
    EXPECT_EQ(tool::NextTurn(m_Setup.route, c.turn), c.next) << c.turn;
    if (c.next < 0) continue;
    EXPECT_EQ(
        tool::ExitGuideReachesNextNode(m_Setup.route.turns[c.turn], m_Setup.route.turns[c.next]),
        c.exitGuideReachesIt)
        << c.turn;
  }
}

TEST_F(CTurnAuditTest, ReachFollowsTheStrokesToTheHeadsTip) {
  // Turn 4 enters from guide 5. At scale index 5 (20 m/px) the default table's after-turn
  // target, 1200 + 1.1 x 520 m, is longer than the route after the exit guide: the strokes run
  // to the route's end, and the head, longer than the last guide, sits 520 m beyond it.
  tool::CFrameRecord record;
  std::string error;
  ASSERT_TRUE(tool::RecordFrame(m_Setup, &m_Turns[4].turn, 5, record, error)) << error;
  EXPECT_NEAR(tool::ArrowReachMetres(record, m_Setup, m_Turns[4].turn), Along(9) - Along(5) + 520.0,
              1.0);
  // Beyond the table's largest turn scale there is no arrow to measure.
  ASSERT_TRUE(tool::RecordFrame(m_Setup, &m_Turns[4].turn, 8, record, error)) << error;
  EXPECT_EQ(tool::ArrowReachMetres(record, m_Setup, m_Turns[4].turn), -1.0);
}

TEST_F(CTurnAuditTest, PastTheNextNodeIsMeasuredOnlyWhereTheTableDecidesIt) {
  // Turn 4 at index 5: the tip lies (route end + head) - turn 5's node past it, more than the
  // row's 14 px arrow.
  const tool::CTurnCheck past = Check(4, 5);
  ASSERT_TRUE(past.pastNext.has_value());
  EXPECT_EQ(past.pastNext->nextTurn, 5);
  EXPECT_NEAR(past.pastNext->metres, Along(9) + 520.0 - Along(7), 1.0);
  EXPECT_NEAR(past.pastNext->pixels, past.pastNext->metres / 20.0, 1e-9);
  EXPECT_EQ(past.pastNext->limitPx, 14.0);
  EXPECT_TRUE(past.pastNext->Exceeds());
  // An exit length whose target lands within the tolerance of guide 7 ends the strokes on
  // turn 5's node. (The head's straight axis stands in for the bend of the roundabout under
  // it, some metres shorter.)
  m_Setup.sizes.rows[5].arrowExitLength = 600;
  const tool::CTurnCheck atNode = Check(4, 5);
  ASSERT_TRUE(atNode.pastNext.has_value());
  EXPECT_NEAR(atNode.pastNext->metres, 0.0, 10.0);
  EXPECT_FALSE(atNode.pastNext->Exceeds());
  // Turn 0's exit guide ends on turn 1's node, and turn 5 has no next turn: nothing measured.
  EXPECT_FALSE(Check(0, 2).pastNext.has_value());
  EXPECT_FALSE(Check(5, 2).pastNext.has_value());
}

}  // namespace
