// A host's own path, route and geodesy services, for answers the real ones never give: a
// path whose walks never end or whose guides cannot be read, a route whose destinations
// cannot be read, a geodesy that measures any length. Every executable that links the fakes
// reaches CPath::GetNext, CPath::GetNextGuid, CPath::GetGuid, CPathManagerEx::GetDestPoint
// and LineLength through wrappers in host_services.cpp (the linker's --wrap, which the
// advicepath_fakes target adds); they pass every call on unchanged unless one of the objects
// below lives. One thread at a time.
#ifndef ADVICEPATH_TESTS_FAKES_HOST_SERVICES_H_
#define ADVICEPATH_TESTS_FAKES_HOST_SERVICES_H_

#include "path.h"

namespace fakes {

// While it lives, the walks over `path` (borrowed) never end: GetNext of the last position
// gives the first position again, GetNextGuid of the last guide gives the first guide. Other
// paths walk as usual. At most one lives at a time.
class CyclingPath {
 public:
  explicit CyclingPath(const CPath& path);
  CyclingPath(const CyclingPath&) = delete;
  CyclingPath& operator=(const CyclingPath&) = delete;
  ~CyclingPath();

  // Calls of GetNext and GetNextGuid on the path since construction.
  static long Steps();
};

// While it lives, GetGuid on `path` (borrowed) answers 0, as for a position without a guide;
// other paths answer as usual. At most one lives at a time.
class GuidelessPath {
 public:
  explicit GuidelessPath(const CPath& path);
  GuidelessPath(const GuidelessPath&) = delete;
  GuidelessPath& operator=(const GuidelessPath&) = delete;
  ~GuidelessPath();
};

// While it lives, GetDestPoint answers false for every destination, though GetDestCount
// still counts them. At most one lives at a time.
class UnreadableDestinations {
 public:
  UnreadableDestinations();
  UnreadableDestinations(const UnreadableDestinations&) = delete;
  UnreadableDestinations& operator=(const UnreadableDestinations&) = delete;
  ~UnreadableDestinations();
};

// While it lives, LineLength answers `metres` for every polyline the core measures. At most
// one lives at a time.
class FixedLineLength {
 public:
  explicit FixedLineLength(double metres);
  FixedLineLength(const FixedLineLength&) = delete;
  FixedLineLength& operator=(const FixedLineLength&) = delete;
  ~FixedLineLength();
};

}  // namespace fakes

#endif  // ADVICEPATH_TESTS_FAKES_HOST_SERVICES_H_
