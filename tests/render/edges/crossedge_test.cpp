// Lengths that must land exactly on a source point are summed with SegmentLength of the
// geodesy service in the order the trims walk; other expected values are worked out by hand
// or with Python.
#include "crossedge.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "geodesy.h"
#include "realloc_failure.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void ExpectPoints(const CCrossEdge& edge, const std::vector<tagLonLat>& expected) {
  ASSERT_EQ(edge.GetPtNum(), static_cast<int>(expected.size()));
  for (int i = 0; i < edge.GetPtNum(); ++i) {
    EXPECT_EQ(edge.GetPt(i).lon, expected[i].lon) << "point " << i;
    EXPECT_EQ(edge.GetPt(i).lat, expected[i].lat) << "point " << i;
  }
}

// Points whose longitude is their index: Reverse and growth show in the order.
std::vector<tagLonLat> Numbered(int n) {
  std::vector<tagLonLat> pts;
  for (int i = 0; i < n; ++i) pts.push_back({static_cast<double>(i), 0.0});
  return pts;
}

// Metres over the first `k` segments of `pts`, added in the order a trim walks them: from
// the first point (head) or back from the last one (tail).
double WalkSum(const std::vector<tagLonLat>& pts, int k, bool head) {
  const int n = static_cast<int>(pts.size());
  double sum = 0.0;
  for (int i = 1; i <= k; ++i) {
    const tagLonLat& from = head ? pts[i - 1] : pts[n - i];
    const tagLonLat& to = head ? pts[i] : pts[n - 1 - i];
    sum += SegmentLength(from.lon, from.lat, to.lon, to.lat);
  }
  return sum;
}

class CCrossEdgeTest : public ::testing::Test {
 protected:
  CCrossEdgeTest() : m_Guide() {
    // Segments of about 96, 111, 155 and 174 m near latitude 30.
    m_Pts = {
        {120.0, 30.0}, {120.001, 30.0}, {120.001, 30.001}, {120.0025, 30.0015}, {120.003, 30.003}};
    m_Guide.firstPts = m_Pts.data();
    m_Guide.firstPtNum = static_cast<unsigned short>(m_Pts.size());
    std::memset(m_Guide.firstId, 0x11, sizeof(m_Guide.firstId));
    std::strcpy(m_Guide.firstName, "Ring Road");
    m_Guide.firstAttr1 = 7;
    m_Guide.firstAttr2 = 65535;
  }

  // Metres from the first point over `k` segments, added as TrimToHead adds them.
  double HeadSum(int k) const {
    double sum = 0.0;
    for (int i = 0; i < k; ++i)
      sum += SegmentLength(m_Pts[i].lon, m_Pts[i].lat, m_Pts[i + 1].lon, m_Pts[i + 1].lat);
    return sum;
  }
  // Metres from the last point back over `k` segments, added as TrimToTail adds them.
  double TailSum(int k) const {
    double sum = 0.0;
    const int n = static_cast<int>(m_Pts.size());
    for (int i = n - 1; i > n - 1 - k; --i)
      sum += SegmentLength(m_Pts[i].lon, m_Pts[i].lat, m_Pts[i - 1].lon, m_Pts[i - 1].lat);
    return sum;
  }
  int Count() const { return static_cast<int>(m_Pts.size()); }

  std::vector<tagLonLat> m_Pts;
  PathGuid m_Guide;  // first polyline on m_Pts
};

// --- Points: growth, appends, Reverse -------------------------------------------------------

TEST_F(CCrossEdgeTest, GrowRoundsUpToBlocksOfEightAndNeverShrinks) {
  CCrossEdge edge;
  EXPECT_EQ(edge.Grow(0), 0);
  EXPECT_EQ(edge.Grow(9), 16);
  EXPECT_EQ(edge.Grow(16), 16);
  EXPECT_EQ(edge.Grow(3), 16);
  EXPECT_EQ(edge.Grow(17), 24);
}

TEST_F(CCrossEdgeTest, AppendPointGrowsCapacityFrom8To16AtTheNinthPoint) {
  CCrossEdge edge;
  const std::vector<tagLonLat> pts = Numbered(9);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(edge.AppendPoint(pts[i]));
  EXPECT_EQ(edge.GetPtCapacity(), 8);
  ASSERT_TRUE(edge.AppendPoint(pts[8]));
  EXPECT_EQ(edge.GetPtCapacity(), 16);
  ExpectPoints(edge, pts);
}

// Rounding a count near INT_MAX up to a block overflowed the int capacity.
TEST_F(CCrossEdgeTest, GrowWithOverflowingCountFailsAndChangesNothing) {
  CCrossEdge edge;
  ASSERT_TRUE(edge.AppendPoints(m_Pts.data(), 3));
  const tagLonLat* before = edge.GetPts();
  EXPECT_EQ(edge.Grow(INT_MAX), -1);
  EXPECT_EQ(edge.Grow(INT_MAX - 6), -1);
  EXPECT_EQ(edge.GetPtCapacity(), 8);
  EXPECT_EQ(edge.GetPts(), before);
  ExpectPoints(edge, {m_Pts[0], m_Pts[1], m_Pts[2]});
}

TEST_F(CCrossEdgeTest, GrowFailureKeepsOldArray) {
  CCrossEdge edge;
  const std::vector<tagLonLat> pts = Numbered(8);
  ASSERT_TRUE(edge.AppendPoints(pts.data(), 8));
  const tagLonLat* before = edge.GetPts();
  {
    CReallocFailure failure;
    EXPECT_EQ(edge.Grow(9), -1);
    EXPECT_FALSE(edge.AppendPoint({8.0, 0.0}));
    EXPECT_FALSE(edge.AppendPoints(pts.data(), 1));
  }
  EXPECT_EQ(edge.GetPts(), before);
  EXPECT_EQ(edge.GetPtCapacity(), 8);
  ExpectPoints(edge, pts);
}

// A negative count went on to Grow and to a copy of a negative size.
TEST_F(CCrossEdgeTest, AppendPointsWithNegativeCountFails) {
  CCrossEdge edge;
  ASSERT_TRUE(edge.AppendPoints(m_Pts.data(), 2));
  EXPECT_FALSE(edge.AppendPoints(m_Pts.data(), -1));
  EXPECT_FALSE(edge.AppendPoints(m_Pts.data(), INT_MAX));  // the new count would overflow
  EXPECT_FALSE(edge.AppendPoints(nullptr, 0));
  EXPECT_TRUE(edge.AppendPoints(m_Pts.data(), 0));
  ExpectPoints(edge, {m_Pts[0], m_Pts[1]});
}

TEST_F(CCrossEdgeTest, AppendingOwnPointsSurvivesTheMoveOfTheArray) {
  CCrossEdge edge;
  const std::vector<tagLonLat> pts = Numbered(6);
  ASSERT_TRUE(edge.AppendPoints(pts.data(), 6));
  ASSERT_TRUE(edge.AppendPoints(edge.GetPts(), 6));  // 12 points: the array grows to 16
  ASSERT_TRUE(edge.AppendPoint(edge.GetPts()[1]));
  std::vector<tagLonLat> expected = pts;
  expected.insert(expected.end(), pts.begin(), pts.end());
  expected.push_back(pts[1]);
  ExpectPoints(edge, expected);
}

TEST_F(CCrossEdgeTest, ClearAndRemoveLastKeepStorage) {
  CCrossEdge edge;
  edge.RemoveLast();  // nothing to remove
  EXPECT_EQ(edge.GetPtNum(), 0);
  ASSERT_TRUE(edge.AppendPoints(m_Pts.data(), 3));
  edge.RemoveLast();
  ExpectPoints(edge, {m_Pts[0], m_Pts[1]});
  edge.Clear();
  EXPECT_EQ(edge.GetPtNum(), 0);
  EXPECT_EQ(edge.GetPtCapacity(), 8);
}

TEST_F(CCrossEdgeTest, ResetMakesTheEdgeNewAndKeepsOnlyOwnedStorage) {
  const std::vector<tagLonLat> nine = Numbered(9);
  CCrossEdge owned, borrowed;
  ASSERT_TRUE(owned.SetTrimmedGuide(m_Guide, 120.0, false, true));
  ASSERT_TRUE(owned.AppendPoints(nine.data(), 9));
  const tagLonLat* storage = owned.GetPts();
  borrowed.BorrowGuide(m_Guide, true);
  owned.Reset();
  borrowed.Reset();
  const CCrossEdge fresh;
  for (const CCrossEdge* e : {&owned, &borrowed}) {
    EXPECT_TRUE(e->IsOwner());
    EXPECT_TRUE(e->IsWhole());
    EXPECT_EQ(e->GetLength(), fresh.GetLength());
    EXPECT_EQ(std::memcmp(e->GetId().bytes, fresh.GetId().bytes, sizeof(tagEdgeId)), 0);
    EXPECT_STREQ(e->GetName(), fresh.GetName());
    EXPECT_EQ(e->GetAttr1(), 0);
    EXPECT_EQ(e->GetAttr2(), 0);
    EXPECT_EQ(e->GetPtNum(), 0);
  }
  EXPECT_EQ(owned.GetPts(), storage);
  EXPECT_EQ(owned.GetPtCapacity(), 16);
  // The guide's array is let go, neither kept nor freed: the copy gets an array of its own.
  EXPECT_EQ(borrowed.GetPts(), nullptr);
  EXPECT_EQ(borrowed.GetPtCapacity(), 0);
  ASSERT_TRUE(borrowed.CopyGuide(m_Guide, true));
  EXPECT_NE(borrowed.GetPts(), m_Pts.data());
  ExpectPoints(borrowed, m_Pts);
}

TEST_F(CCrossEdgeTest, GetPtOutsideTheCountIsTheInvalidPoint) {
  CCrossEdge edge;
  ASSERT_TRUE(edge.AppendPoints(m_Pts.data(), 2));
  for (int i : {-1, 2, 7}) {
    EXPECT_EQ(edge.GetPt(i).lon, 180.0) << i;
    EXPECT_EQ(edge.GetPt(i).lat, 90.0) << i;
  }
}

// Reverse with an index outside 0..count swapped points outside the array.
TEST_F(CCrossEdgeTest, ReverseSwapsWithinTheCountAndIgnoresIndexOutside) {
  const struct {
    int index, n;
    std::vector<int> order;
  } cases[] = {
      {0, -1, {4, 3, 2, 1, 0}}, {1, 2, {0, 2, 1, 3, 4}},  {1, 10, {0, 4, 3, 2, 1}},
      {5, -1, {0, 1, 2, 3, 4}}, {-1, 3, {0, 1, 2, 3, 4}}, {6, 1, {0, 1, 2, 3, 4}},
  };
  const std::vector<tagLonLat> pts = Numbered(5);
  for (const auto& c : cases) {
    CCrossEdge edge;
    ASSERT_TRUE(edge.AppendPoints(pts.data(), 5));
    edge.Reverse(c.index, c.n);
    std::vector<tagLonLat> expected;
    for (int k : c.order) expected.push_back(pts[k]);
    SCOPED_TRACE(::testing::Message() << "Reverse(" << c.index << ", " << c.n << ")");
    ExpectPoints(edge, expected);
  }
}

// --- Header and fills from a guide -------------------------------------------------------

TEST_F(CCrossEdgeTest, HeaderFromSecondPolylineReadsItsOwnFields) {
  tagLonLat second[] = {{121.0, 31.0}, {121.0, 31.001}};
  m_Guide.secondPts = second;
  m_Guide.secondPtNum = 2;
  m_Guide.secondAttr1 = 3;
  m_Guide.secondAttr2 = 4;
  std::memset(m_Guide.secondId, 0x22, sizeof(m_Guide.secondId));
  std::strcpy(m_Guide.secondName, "Side Street");
  CCrossEdge edge;
  edge.SetHeaderFromGuide(m_Guide, false);
  EXPECT_NEAR(edge.GetLength(), 111.19508, 1e-5);  // 0.001 degrees of latitude, metres
  EXPECT_EQ(edge.GetAttr1(), 3);
  EXPECT_EQ(edge.GetAttr2(), 4);
  EXPECT_EQ(edge.GetId().bytes[15], 0x22);
  EXPECT_STREQ(edge.GetName(), "Side Street");
  edge.SetHeaderFromGuide(m_Guide, true);
  EXPECT_EQ(edge.GetAttr2(), 65535);  // zero-extended
  EXPECT_EQ(edge.GetId().bytes[0], 0x11);
  EXPECT_STREQ(edge.GetName(), "Ring Road");
}

// A name filling all 300 characters left the edge's name without a terminator.
TEST_F(CCrossEdgeTest, NameFillingTheWholeBufferIsCutTo299) {
  std::memset(m_Guide.firstName, 'a', sizeof(m_Guide.firstName));
  CCrossEdge edge;
  ASSERT_TRUE(edge.CopyGuide(m_Guide, true));
  const CCrossEdge copy(edge);
  CCrossEdge fromEdge;
  fromEdge.SetHeaderFromEdge(copy);
  for (const CCrossEdge* e : std::vector<const CCrossEdge*>{&edge, &copy, &fromEdge}) {
    EXPECT_EQ(e->GetName()[CCrossEdge::kNameSize - 1], '\0');
    EXPECT_EQ(std::strlen(e->GetName()), 299u);
  }
}

TEST_F(CCrossEdgeTest, BorrowedEdgeRefusesEdits) {
  CCrossEdge edge;
  edge.BorrowGuide(m_Guide, true);
  EXPECT_FALSE(edge.IsOwner());
  EXPECT_EQ(edge.GetPts(), m_Pts.data());
  EXPECT_EQ(edge.GetPtCapacity(), 0);
  EXPECT_EQ(edge.Grow(8), -1);
  EXPECT_FALSE(edge.AppendPoint(m_Pts[0]));
  EXPECT_FALSE(edge.AppendPoints(m_Pts.data(), 1));
  EXPECT_FALSE(edge.CopyGuide(m_Guide, true));
  edge.Reverse(0, -1);
  ExpectPoints(edge, m_Pts);
  edge.RemoveLast();  // shortens the view only
  EXPECT_EQ(edge.GetPtNum(), Count() - 1);
  EXPECT_EQ(m_Guide.firstPtNum, Count());
  // Borrowing another record lets the first one's array go without freeing it.
  std::vector<tagLonLat> two = Numbered(2);
  PathGuid other = m_Guide;
  other.firstPts = two.data();
  other.firstPtNum = 2;
  edge.BorrowGuide(other, true);
  EXPECT_FALSE(edge.IsOwner());
  ExpectPoints(edge, two);
  EXPECT_EQ(edge.GetPts(), two.data());
}

TEST_F(CCrossEdgeTest, CopyOfBorrowedEdgeOwnsItsPoints) {
  CCrossEdge borrowed;
  borrowed.BorrowGuide(m_Guide, true);
  const CCrossEdge copy(borrowed);
  EXPECT_TRUE(copy.IsOwner());
  EXPECT_NE(copy.GetPts(), m_Pts.data());
  EXPECT_EQ(copy.GetLength(), LineLength(m_Guide.firstPtNum, m_Pts.data()));
  EXPECT_STREQ(copy.GetName(), "Ring Road");
  ExpectPoints(copy, m_Pts);
}

TEST_F(CCrossEdgeTest, CopyGuideWithNullPointsFails) {
  m_Guide.firstPts = nullptr;
  CCrossEdge edge;
  EXPECT_FALSE(edge.CopyGuide(m_Guide, true));
  EXPECT_EQ(edge.GetPtNum(), 0);
}

// --- Trims ---------------------------------------------------------------------------------

TEST_F(CCrossEdgeTest, TrimsEndingOnSourcePointsKeepThemWithoutCutPoint) {
  const std::vector<tagLonLat>& p = m_Pts;
  // A source point at longitude 180, outside the valid range, reached exactly: it is kept as
  // it is, since only cut points are checked.
  const std::vector<tagLonLat> east = {{179.999, 0.0}, {180.0, 0.0}};
  const std::vector<tagLonLat> west = {east[1], east[0]};
  // Each trim's one segment, measured in its own walking order.
  const double eastLength = SegmentLength(east[0].lon, east[0].lat, east[1].lon, east[1].lat);
  const double westLength = SegmentLength(west[1].lon, west[1].lat, west[0].lon, west[0].lat);
  const struct {
    bool head;
    const std::vector<tagLonLat>& src;
    double length;
    int result;
    std::vector<tagLonLat> pts;
  } cases[] = {
      {false, p, 0.0, 2, {p[4], p[4]}},
      {true, p, 0.0, 1, {p[0], p[0]}},
      {false, p, TailSum(2), 3, {p[2], p[3], p[4]}},
      {true, p, HeadSum(2), 2, {p[0], p[1], p[2]}},
      {false, p, TailSum(4), 5, p},
      {true, p, HeadSum(4), 4, p},
      {true, east, eastLength, 1, east},
      {false, west, westLength, 2, west},
  };
  for (const auto& c : cases) {
    CCrossEdge edge;
    const int n = static_cast<int>(c.src.size());
    const int r = c.head ? edge.TrimToHead(c.src.data(), n, c.length)
                         : edge.TrimToTail(c.src.data(), n, c.length);
    SCOPED_TRACE(::testing::Message() << (c.head ? "head " : "tail ") << c.length << " m");
    EXPECT_EQ(r, c.result);
    ExpectPoints(edge, c.pts);
  }
}

TEST_F(CCrossEdgeTest, TrimToTailInsideSegmentStartsWithCutPoint) {
  CCrossEdge edge;
  const double length = TailSum(1) + 30.0;  // 30 m into the segment p[3] -> p[2]
  ASSERT_EQ(edge.TrimToTail(m_Pts.data(), Count(), length), 3);
  ASSERT_EQ(edge.GetPtNum(), 3);
  EXPECT_NEAR(SegmentLength(m_Pts[3], edge.GetPt(0)), 30.0, 1e-3);
  EXPECT_NEAR(LineLength(3, edge.GetPts()), length, 1e-3);
  ExpectPoints(edge, {edge.GetPt(0), m_Pts[3], m_Pts[4]});
}

TEST_F(CCrossEdgeTest, TrimToHeadInsideSegmentEndsWithCutPoint) {
  CCrossEdge edge;
  const double length = HeadSum(3) + 100.0;  // 100 m into the segment p[3] -> p[4]
  ASSERT_EQ(edge.TrimToHead(m_Pts.data(), Count(), length), 4);
  ASSERT_EQ(edge.GetPtNum(), 5);
  EXPECT_NEAR(SegmentLength(m_Pts[3], edge.GetPt(4)), 100.0, 1e-3);
  EXPECT_NEAR(LineLength(5, edge.GetPts()), length, 1e-3);
}

TEST_F(CCrossEdgeTest, TrimsBeyondTheWholeLengthOrOfFewerThanTwoPointsFail) {
  for (bool head : {false, true}) {
    SCOPED_TRACE(head ? "head" : "tail");
    CCrossEdge beyond, one, none;
    const double length = LineLength(m_Guide.firstPtNum, m_Pts.data()) + 1.0;
    EXPECT_EQ(head ? beyond.TrimToHead(m_Pts.data(), Count(), length)
                   : beyond.TrimToTail(m_Pts.data(), Count(), length),
              -1);
    EXPECT_EQ(head ? one.TrimToHead(m_Pts.data(), 1, 0.0) : one.TrimToTail(m_Pts.data(), 1, 0.0),
              -1);
    EXPECT_EQ(head ? none.TrimToHead(nullptr, 3, 0.0) : none.TrimToTail(nullptr, 3, 0.0), -1);
    EXPECT_EQ(one.GetPtNum() + none.GetPtNum(), 0);
  }
}

// A negative length put the cut point before the polyline's end, outside the polyline.
TEST_F(CCrossEdgeTest, TrimsWithNegativeOrNonFiniteLengthFail) {
  for (bool head : {false, true}) {
    for (double length : {-1.0, -1e-9, kNaN, kInf, -kInf}) {
      CCrossEdge edge;
      EXPECT_EQ(head ? edge.TrimToHead(m_Pts.data(), Count(), length)
                     : edge.TrimToTail(m_Pts.data(), Count(), length),
                -1)
          << (head ? "head " : "tail ") << length;
      EXPECT_EQ(edge.GetPtNum(), 0);
    }
  }
}

// Near longitude 180 a steep segment's quarter-degree direction leans east enough that the
// cut point 1000 m along it lands at longitude 180.0000292, outside the valid range.
TEST_F(CCrossEdgeTest, TrimWithCutPointOutsideValidRangeClearsPoints) {
  const tagLonLat up[] = {{179.99999, 0.0}, {179.999991, 0.01}};
  const tagLonLat down[] = {{179.999991, 0.01}, {179.99999, 0.0}};
  CCrossEdge head, tail;
  EXPECT_EQ(head.TrimToHead(up, 2, 1000.0), -1);
  EXPECT_EQ(tail.TrimToTail(down, 2, 1000.0), -1);
  EXPECT_EQ(head.GetPtNum(), 0);
  EXPECT_EQ(tail.GetPtNum(), 0);
}

TEST_F(CCrossEdgeTest, TrimWithFailingAppendClearsPoints) {
  const std::vector<tagLonLat> pts = Numbered(10);  // nine segments of one degree
  for (bool head : {false, true}) {
    // The ninth point, which needs the growth that fails, is a walked source point, the
    // source point that ends the trim, or the cut point that ends it.
    const double seven = WalkSum(pts, 7, head);
    const double eight = WalkSum(pts, 8, head);
    for (const double length : {8.5e6, eight, seven + 0.5 * (eight - seven)}) {
      SCOPED_TRACE(testing::Message() << (head ? "head " : "tail ") << length << " m");
      CCrossEdge edge;
      CReallocFailure failure(1);  // 8 points fit, the ninth cannot
      EXPECT_EQ(
          head ? edge.TrimToHead(pts.data(), 10, length) : edge.TrimToTail(pts.data(), 10, length),
          -1);
      EXPECT_EQ(edge.GetPtNum(), 0);
    }
  }
}

TEST_F(CCrossEdgeTest, TrimmedEdgesAreNotWholeAndKeepTheSourceLength) {
  const double whole = LineLength(m_Guide.firstPtNum, m_Pts.data());
  CCrossEdge tail;
  ASSERT_TRUE(tail.SetTrimmedGuide(m_Guide, 120.0, false, true));
  EXPECT_FALSE(tail.IsWhole());
  EXPECT_EQ(tail.GetLength(), whole);
  EXPECT_STREQ(tail.GetName(), "Ring Road");

  const CCrossEdge copy(tail);
  EXPECT_TRUE(copy.IsWhole());
  EXPECT_EQ(copy.GetLength(), whole);
  ExpectPoints(copy, std::vector<tagLonLat>(tail.GetPts(), tail.GetPts() + tail.GetPtNum()));

  CCrossEdge head;
  ASSERT_TRUE(head.SetTrimmedEdge(copy, 50.0, true));
  EXPECT_FALSE(head.IsWhole());
  EXPECT_EQ(head.GetLength(), whole);
  EXPECT_EQ(head.GetPt(0).lon, copy.GetPt(0).lon);
}

TEST_F(CCrossEdgeTest, FailedTrimmedFillsStayWhole) {
  CCrossEdge tooLong, self;
  EXPECT_FALSE(tooLong.SetTrimmedGuide(m_Guide, 1e6, true, true));
  EXPECT_TRUE(tooLong.IsWhole());
  ASSERT_TRUE(self.CopyGuide(m_Guide, true));
  EXPECT_FALSE(self.SetTrimmedEdge(self, 50.0, true));  // would read its own moving array
  EXPECT_TRUE(self.IsWhole());
  EXPECT_FALSE(self.CopyEdge(self));  // would append its points to themselves
  ExpectPoints(self, m_Pts);

  m_Guide.firstPts = nullptr;
  CCrossEdge untouched;
  EXPECT_FALSE(untouched.SetTrimmedGuide(m_Guide, 50.0, true, true));
  EXPECT_STREQ(untouched.GetName(), "");
  EXPECT_EQ(untouched.GetLength(), 0.0);
}

}  // namespace
