// Edges rejected by an Append are deleted or kept as spares, and Clear deletes the spares;
// the sanitizer build's leak check shows that none is lost.
#include "crossedgevector.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "geodesy.h"
#include "realloc_failure.h"

namespace {

class CCrossEdgeVectorTest : public ::testing::Test {
 protected:
  CCrossEdgeVectorTest() : m_Guide() {
    // Two segments of about 111 m along the equator.
    m_Pts = {{10.0, 0.0}, {10.001, 0.0}, {10.002, 0.0}};
    m_Guide.firstPts = m_Pts.data();
    m_Guide.firstPtNum = 3;
  }

  // Appends `n` owned copies of the guide; stops the test on the first failure.
  void AppendCopies(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(m_Vec.Append(&m_Guide, true, true), 0);
  }

  std::vector<tagLonLat> m_Pts;
  PathGuid m_Guide;  // first polyline on m_Pts
  CCrossEdgeVector m_Vec;
};

TEST_F(CCrossEdgeVectorTest, CapacityGrowsFrom8To16AndEdgesStayInPlace) {
  AppendCopies(1);
  EXPECT_EQ(m_Vec.GetCapacity(), 8);
  const CCrossEdge* first = m_Vec.GetAt(0);
  AppendCopies(8);
  EXPECT_EQ(m_Vec.Size(), 9);
  EXPECT_EQ(m_Vec.GetCapacity(), 16);
  EXPECT_EQ(m_Vec.GetAt(0), first);
  EXPECT_EQ(m_Vec.ItemAt(8), m_Vec.GetAt(8));
}

TEST_F(CCrossEdgeVectorTest, GetAtOutsideTheSizeIsNull) {
  AppendCopies(2);
  EXPECT_EQ(m_Vec.GetAt(-1), nullptr);
  EXPECT_EQ(m_Vec.GetAt(2), nullptr);
  EXPECT_NE(m_Vec.GetAt(1), nullptr);
}

TEST_F(CCrossEdgeVectorTest, GrowWithOverflowingCountFailsAndChangesNothing) {
  AppendCopies(1);
  EXPECT_EQ(m_Vec.Grow(INT_MAX), -1);
  EXPECT_EQ(m_Vec.GetCapacity(), 8);
  EXPECT_EQ(m_Vec.Size(), 1);
}

// Reverse with an index outside 0..size swapped pointers outside the array.
TEST_F(CCrossEdgeVectorTest, ReverseSwapsWithinTheSizeAndIgnoresIndexOutside) {
  AppendCopies(3);
  CCrossEdge* const e[] = {m_Vec.GetAt(0), m_Vec.GetAt(1), m_Vec.GetAt(2)};
  m_Vec.Reverse(-1, 2);
  m_Vec.Reverse(4, -1);
  EXPECT_EQ(m_Vec.GetAt(0), e[0]);
  m_Vec.Reverse(0, -1);
  EXPECT_EQ(m_Vec.GetAt(0), e[2]);
  EXPECT_EQ(m_Vec.GetAt(1), e[1]);
  EXPECT_EQ(m_Vec.GetAt(2), e[0]);
  m_Vec.Reverse(1, 5);  // cut to the two edges present
  EXPECT_EQ(m_Vec.GetAt(1), e[0]);
  EXPECT_EQ(m_Vec.GetAt(2), e[1]);
}

TEST_F(CCrossEdgeVectorTest, DeleteAtLeavesNullSlotAndClearFreesEverything) {
  m_Vec.Clear();  // on an empty vector
  EXPECT_EQ(m_Vec.GetCapacity(), 0);
  AppendCopies(2);
  m_Vec.DeleteAt(0);
  m_Vec.DeleteAt(0);  // an empty slot
  m_Vec.DeleteAt(5);  // outside
  EXPECT_EQ(m_Vec.Size(), 2);
  EXPECT_EQ(m_Vec.GetAt(0), nullptr);
  m_Vec.Clear();
  EXPECT_EQ(m_Vec.Size(), 0);
  EXPECT_EQ(m_Vec.GetCapacity(), 0);
}

TEST_F(CCrossEdgeVectorTest, ResetKeepsEdgesThatLaterAppendsFillAsNew) {
  ASSERT_EQ(m_Vec.Append(&m_Guide, 50.0, true, true), 0);  // cut: not whole
  ASSERT_EQ(m_Vec.Append(&m_Guide, false, true), 0);       // borrowed
  CCrossEdge* const e[] = {m_Vec.GetAt(0), m_Vec.GetAt(1)};
  m_Vec.Reset();
  EXPECT_EQ(m_Vec.Size(), 0);
  EXPECT_EQ(m_Vec.GetAt(0), nullptr);
  EXPECT_EQ(m_Vec.GetCapacity(), 8);
  AppendCopies(2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m_Vec.GetAt(i), e[i]);
    EXPECT_TRUE(m_Vec.GetAt(i)->IsWhole());
    EXPECT_TRUE(m_Vec.GetAt(i)->IsOwner());
    EXPECT_NE(m_Vec.GetAt(i)->GetPts(), m_Pts.data());
    EXPECT_EQ(m_Vec.GetAt(i)->GetPtNum(), 3);
  }
  // Rejected refills, one too long, one whose points cannot grow, leave the size alone and
  // the spare in its slot.
  std::vector<tagLonLat> nine(9, m_Pts[0]);
  PathGuid longGuide = m_Guide;
  longGuide.firstPts = nine.data();
  longGuide.firstPtNum = 9;
  m_Vec.Reset();
  EXPECT_EQ(m_Vec.Append(&m_Guide, 1e6, true, true), -1);
  {
    CReallocFailure failure;
    EXPECT_EQ(m_Vec.Append(&longGuide, true, true), -1);
  }
  EXPECT_EQ(m_Vec.Size(), 0);
  ASSERT_EQ(m_Vec.Append(&longGuide, true, true), 0);
  EXPECT_EQ(m_Vec.GetAt(0), e[0]);
  // An edge from outside takes the slot of a spare, which is deleted; an emptied slot is
  // refilled with a new edge. Spares are deleted with the vector (the leak check).
  EXPECT_TRUE(m_Vec.PushBack(new CCrossEdge()));
  m_Vec.DeleteAt(0);
  m_Vec.Reset();
  AppendCopies(1);
  EXPECT_NE(m_Vec.GetAt(0), nullptr);
}

TEST_F(CCrossEdgeVectorTest, AppendCopyOfEdgeNeedsPoints) {
  const CCrossEdge empty;
  EXPECT_EQ(m_Vec.Append(&empty), -1);
  EXPECT_EQ(m_Vec.Append(static_cast<const CCrossEdge*>(nullptr)), -1);
  EXPECT_EQ(m_Vec.Size(), 0);
  AppendCopies(1);
  ASSERT_EQ(m_Vec.Append(m_Vec.GetAt(0)), 0);
  EXPECT_NE(m_Vec.GetAt(1)->GetPts(), m_Vec.GetAt(0)->GetPts());
  EXPECT_EQ(m_Vec.GetAt(1)->GetPtNum(), 3);
}

TEST_F(CCrossEdgeVectorTest, AppendOfGuideBorrowsEvenWithoutPoints) {
  m_Guide.firstPts = nullptr;
  EXPECT_EQ(m_Vec.Append(&m_Guide, true, true), -1);
  ASSERT_EQ(m_Vec.Append(&m_Guide, false, true), 0);
  const CCrossEdge* edge = m_Vec.GetAt(0);
  EXPECT_FALSE(edge->IsOwner());
  EXPECT_EQ(edge->GetPts(), nullptr);
  EXPECT_EQ(edge->GetPtNum(), 3);
  EXPECT_EQ(edge->GetPt(0).lon, 180.0);  // a count without points reads as invalid points
  EXPECT_EQ(m_Vec.Append(static_cast<const PathGuid*>(nullptr), false, true), -1);
}

TEST_F(CCrossEdgeVectorTest, TrimmedAppendsKeepPartsAndRejectTooLong) {
  const double whole = LineLength(3, m_Pts.data());
  ASSERT_EQ(m_Vec.Append(&m_Guide, 50.0, true, true), 0);
  ASSERT_EQ(m_Vec.Append(m_Vec.GetAt(0), 20.0, false), 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(m_Vec.GetAt(i)->IsWhole());
    EXPECT_EQ(m_Vec.GetAt(i)->GetLength(), whole);
  }
  EXPECT_EQ(m_Vec.Append(&m_Guide, whole + 1.0, false, true), -1);
  EXPECT_EQ(m_Vec.Append(m_Vec.GetAt(0), 1000.0, true), -1);
  EXPECT_EQ(m_Vec.Append(&m_Guide, -5.0, true, true), -1);
  EXPECT_EQ(m_Vec.Append(static_cast<const PathGuid*>(nullptr), 20.0, true, true), -1);
  EXPECT_EQ(m_Vec.Size(), 2);
}

// A PushBack that could not grow left the new edge stored nowhere and its Append reported 0.
TEST_F(CCrossEdgeVectorTest, AppendThatCannotStoreDeletesTheEdgeAndFails) {
  EXPECT_FALSE(m_Vec.PushBack(nullptr));
  AppendCopies(8);
  {
    CReallocFailure failure(1);  // the edge's points fit, the ninth slot does not
    EXPECT_EQ(m_Vec.Append(&m_Guide, true, true), -1);
  }
  {
    CReallocFailure failure;
    EXPECT_EQ(m_Vec.Append(&m_Guide, false, true), -1);  // borrowed: only the slot grows
    EXPECT_EQ(m_Vec.Append(m_Vec.GetAt(0)), -1);         // the copy's points fail first
  }
  EXPECT_EQ(m_Vec.Size(), 8);
  EXPECT_EQ(m_Vec.GetCapacity(), 8);
}

}  // namespace
