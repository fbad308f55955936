#include "mapservice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ScaleLadderTest, IndexIsTheFirstBoundAtOrAboveTheScale) {
  const std::vector<double> ladder = {1.0, 10.0, 100.0};
  const struct {
    double scale;
    int index;
  } cases[] = {{0.0, 0},
               {1.0, 0},
               {1.5, 1},
               {10.0, 1},
               {99.0, 2},
               {100.0, 2},
               {101.0, 3},
               {std::numeric_limits<double>::infinity(), 3},
               {std::numeric_limits<double>::quiet_NaN(), 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(Torvane::ScaleIndexFromLadder(ladder, c.scale), c.index) << c.scale;
  }
  EXPECT_EQ(Torvane::ScaleIndexFromLadder({}, 5.0), 0);
}

TEST(CDisplayListMapViewTest, KeepsOnlyTheCurrentFrame) {
  Torvane::CDisplayListMapView view;
  const tagLonLat pts[] = {{1.0, 2.0}, {3.0, 4.0}};
  view.GetScale();
  view.DrawPolyline(pts, 2, 0, 0xff, 3);
  view.DrawPolygon(pts, 2, 7, 0xee, 0xee);
  ASSERT_EQ(view.GetCalls().size(), 2u);
  EXPECT_EQ(view.GetCalls()[0].op, Torvane::CDrawCall::kPolyline);
  EXPECT_EQ(view.GetCalls()[1].op, Torvane::CDrawCall::kPolygon);
  EXPECT_EQ(view.GetCalls()[1].style, 7);
  EXPECT_EQ(view.GetCalls()[0].points[1].lat, 4.0);
  // The next frame starts with GetScale and drops the previous one.
  view.GetScale();
  EXPECT_TRUE(view.GetCalls().empty());
  view.DrawPolyline(pts, 2, 0, 0xff, 3);
  EXPECT_EQ(view.GetCalls().size(), 1u);
}

TEST(CDisplayListMapViewTest, CopiesPointsAndSurvivesNullOnes) {
  Torvane::CDisplayListMapView view;
  tagLonLat pts[] = {{1.0, 2.0}};
  view.DrawPolyline(pts, 1, 0, 0, 0);
  pts[0].lon = 9.0;
  EXPECT_EQ(view.GetCalls()[0].points[0].lon, 1.0);
  view.DrawPolyline(nullptr, 5, 0, 0, 0);
  view.DrawPolyline(pts, -1, 0, 0, 0);
  EXPECT_TRUE(view.GetCalls()[1].points.empty());
  EXPECT_TRUE(view.GetCalls()[2].points.empty());
}

TEST(CDisplayListMapViewTest, SettableScaleMapsThroughTheLadder) {
  Torvane::CDisplayListMapView view;
  view.SetScaleLadder({2.0, 4.0});
  view.SetScale(3.0);
  EXPECT_EQ(view.GetScaleIndex(view.GetScale()), 1);
  view.SetScale(0.5);
  EXPECT_EQ(view.GetScaleIndex(view.GetScale()), 0);
}

TEST(CMapCreateTest, DefaultViewIsOneProcessWideObject) {
  Torvane::CMapService& a = Torvane::CMapCreate::GetMapService(nullptr);
  Torvane::CMapService& b = Torvane::CMapCreate::GetMapService(nullptr);
  EXPECT_EQ(&a, &b);
  EXPECT_NE(dynamic_cast<Torvane::CDisplayListMapView*>(&a), nullptr);
}

}  // namespace
