// Guide records of the path library (PathGuid) and of the route library (NavGuid).
//
// Both records have one layout, so a NavGuid can be copied byte for byte into a PathGuid
// and handed back to the path library. A record is a plain value of 752 bytes; the point
// arrays it refers to are borrowed from the library that filled it and stay valid while
// that library's path lives unchanged.
//
// Field order is the navigator's; offsets follow from natural alignment of 64-bit pointers.
// Bytes marked reserved belong to the library that fills the record (the path library keeps
// its bookkeeping there); readers of a record never interpret them.
#ifndef ADVICEPATH_OUTSIDE_GUIDE_H_
#define ADVICEPATH_OUTSIDE_GUIDE_H_

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "lonlat.h"

// Capacity of a polyline name in characters. A name that fills it has no terminator.
constexpr int kGuideNameSize = 300;

// The shared layout. Tag only makes PathGuid and NavGuid distinct types.
template <int Tag>
struct tagGuideRecord {
  // First polyline: runs in the direction of travel; the only one the renderer uses.
  unsigned char firstId[16];       // opaque identifier
  char firstName[kGuideNameSize];  // road name, terminated when shorter than 300 characters
  std::uint16_t reserved0;         // reserved
  std::uint16_t firstAttr1;        // first attribute, never interpreted by readers
  std::uint16_t firstAttr2;        // second attribute, never interpreted by readers
  std::uint16_t firstPtNum;        // number of points in firstPts
  tagLonLat* firstPts;             // borrowed from the filling library; may be null
  std::uint64_t pathSerial;        // reserved: identity of the path that filled the record
  double length;                   // metres: length of the first polyline
  std::uint64_t pathIndex;         // reserved: index of the guide in the filling path
  tagLonLat refPoint;              // identifies the guide: equal points mean the same guide
  // Second polyline: note the point count stands before the second attribute here.
  unsigned char secondId[16];       // opaque identifier
  char secondName[kGuideNameSize];  // road name, terminated when shorter than 300 characters
  std::uint16_t reserved1;          // reserved
  std::uint16_t secondAttr1;        // first attribute, never interpreted by readers
  std::uint16_t secondPtNum;        // number of points in secondPts
  std::uint16_t secondAttr2;        // second attribute, never interpreted by readers
  tagLonLat* secondPts;             // borrowed from the filling library; may be null
  unsigned char reserved2[40];      // reserved
};

// A guide record as the path library fills it (CPath::GetGuid, CPath::GetNextGuid).
using PathGuid = tagGuideRecord<0>;
// A guide record as the route library fills it (CTurnInfo::GetEnterGuide, GetExitGuide).
using NavGuid = tagGuideRecord<1>;

// Asserts the offset `at` (bytes) of `field` in both records; undefined after use.
#define ADVICEPATH_GUIDE_OFFSET(field, at)                              \
  static_assert(offsetof(PathGuid, field) == (at), "PathGuid." #field); \
  static_assert(offsetof(NavGuid, field) == (at), "NavGuid." #field)
ADVICEPATH_GUIDE_OFFSET(firstId, 0);
ADVICEPATH_GUIDE_OFFSET(firstName, 16);
ADVICEPATH_GUIDE_OFFSET(firstAttr1, 318);
ADVICEPATH_GUIDE_OFFSET(firstAttr2, 320);
ADVICEPATH_GUIDE_OFFSET(firstPtNum, 322);
ADVICEPATH_GUIDE_OFFSET(firstPts, 328);
ADVICEPATH_GUIDE_OFFSET(length, 344);
ADVICEPATH_GUIDE_OFFSET(refPoint, 360);
ADVICEPATH_GUIDE_OFFSET(secondId, 376);
ADVICEPATH_GUIDE_OFFSET(secondName, 392);
ADVICEPATH_GUIDE_OFFSET(secondAttr1, 694);
ADVICEPATH_GUIDE_OFFSET(secondPtNum, 696);
ADVICEPATH_GUIDE_OFFSET(secondAttr2, 698);
ADVICEPATH_GUIDE_OFFSET(secondPts, 704);
#undef ADVICEPATH_GUIDE_OFFSET
static_assert(sizeof(PathGuid) == 752 && sizeof(NavGuid) == 752, "guide records are 752 bytes");
static_assert(std::is_trivially_copyable<PathGuid>::value, "records are copied byte for byte");

#endif  // ADVICEPATH_OUTSIDE_GUIDE_H_
