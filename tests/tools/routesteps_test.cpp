// The rules every router reader shares, on hand-made steps along the equator: one guide per
// step, empty steps dropped and turns moved to the guides left, gaps bridged, and which
// manoeuvres turn.
#include "input/routesteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using tool::CRouteStep;
using tool::CStepKind;

// A step from longitude `from` to `to`, in thousandths of a degree, through their middle.
CRouteStep Step(int from, int to, CStepKind kind = CStepKind::kTurn, int type = 3) {
  CRouteStep step;
  step.points = {{from / 1000.0, 0.0}, {(from + to) / 2000.0, 0.0}, {to / 1000.0, 0.0}};
  step.kind = kind;
  step.type = type;
  return step;
}
CRouteStep Departure(int from, int to) { return Step(from, to, CStepKind::kDeparture); }
CRouteStep Arrival(int at) { return Step(at, at, CStepKind::kArrival); }
CRouteStep RoundaboutExit(int from, int to) { return Step(from, to, CStepKind::kRoundaboutExit); }

int Thousandths(double lon) { return static_cast<int>(std::lround(lon * 1000.0)); }

// "from-to/points ... | enter>exit:type ...".
std::string Summary(const tool::CRouteFile& route) {
  std::string text;
  for (const tool::CRouteGuide& guide : route.guides) {
    text += std::to_string(Thousandths(guide.points.front().lon)) + "-" +
            std::to_string(Thousandths(guide.points.back().lon)) + "/" +
            std::to_string(guide.points.size()) + " ";
  }
  text += "|";
  for (const tool::CRouteTurn& turn : route.turns) {
    text += " " + std::to_string(turn.enter) + ">" + std::to_string(turn.exit) + ":" +
            std::to_string(turn.type);
  }
  return text;
}

TEST(CRouteStepsTest, BuildsGuidesAndTurnsByTheSharedRules) {
  const struct {
    const char* what;
    std::vector<CRouteStep> steps;
    const char* expected;  // Summary()
  } kCases[] = {
      {"a turn enters the guide before it", {Departure(0, 1), Step(1, 2)}, "0-1/3 1-2/3 | 0>1:3"},
      {"a turn without a guide before it is dropped",
       {Step(0, 1), Step(1, 2)},
       "0-1/3 1-2/3 | 0>1:3"},
      {"an empty step is dropped; its turn exits the next guide",
       {Departure(0, 1), Step(1, 1, CStepKind::kTurn, 2), Step(1, 2)},
       "0-1/3 1-2/3 | 0>1:2 0>1:3"},
      {"a turn into nothing is dropped", {Departure(0, 1), Step(1, 1)}, "0-1/3 |"},
      {"a gap is bridged from the guide before",
       {Departure(0, 1), Step(2, 3)},
       "0-1/3 1-3/4 | 0>1:3"},
      {"no turn at a via point",
       {Departure(0, 1), Arrival(1), Departure(1, 2), Step(2, 3, CStepKind::kTurn, 2), Arrival(3)},
       "0-1/3 1-2/3 2-3/3 | 1>2:2"},
      {"a roundabout exits after its exit step",
       {Departure(0, 1), Step(1, 2, CStepKind::kTurn, 9), RoundaboutExit(2, 3), Step(3, 4)},
       "0-1/3 1-2/3 2-3/3 3-4/3 | 0>2:9 2>3:3"},
      {"an empty exit step: the roundabout exits the next guide",
       {Departure(0, 1), Step(1, 2, CStepKind::kTurn, 9), RoundaboutExit(2, 2), Step(2, 3)},
       "0-1/3 1-2/3 2-3/3 | 0>2:9 1>2:3"},
      {"an exit step after a plain turn turns nothing",
       {Departure(0, 1), Step(1, 2), RoundaboutExit(2, 3)},
       "0-1/3 1-2/3 2-3/3 | 0>1:3"},
  };
  for (const auto& c : kCases) {
    tool::CRouteFile route;
    std::string error;
    ASSERT_TRUE(tool::BuildRouteFromSteps(c.steps, route, error)) << c.what << ": " << error;
    EXPECT_EQ(Summary(route), c.expected) << c.what;
    EXPECT_EQ(route.origin.lon, route.guides.front().points.front().lon) << c.what;
    EXPECT_EQ(route.dest.lon, route.guides.back().points.back().lon) << c.what;
  }
}

TEST(CRouteStepsTest, StepsWithoutLengthLeaveTheRouteUnchanged) {
  tool::CRouteFile route;
  route.guides.resize(1);
  std::string error;
  EXPECT_FALSE(tool::BuildRouteFromSteps({Departure(1, 1), Arrival(1)}, route, error));
  EXPECT_EQ(error, "no step of the route has a length");
  EXPECT_EQ(route.guides.size(), 1u);
}

}  // namespace
