#include "host_services.h"

#include "geodesy.h"
#include "guide.h"
#include "route.h"

namespace {

const CPath* g_CyclingPath = nullptr;    // Borrowed: the path of the living CyclingPath
long g_CyclingSteps = 0;                 // GetNext and GetNextGuid calls on it
const CPath* g_GuidelessPath = nullptr;  // Borrowed: the path of the living GuidelessPath
bool g_isDestUnreadable = false;         // an UnreadableDestinations lives
bool g_isLengthFixed = false;            // a FixedLineLength lives
double g_FixedLength = 0.0;              // metres: its answer

}  // namespace

// The wrapped operations, under their mangled names: CPath::GetNext(const void*) const,
// CPath::GetNextGuid(const PathGuid&, PathGuid&) const, CPath::GetGuid(const void*,
// PathGuid&) const, CPathManagerEx::GetDestPoint(int, NavDest&) const and
// LineLength(unsigned short, const tagLonLat*). A member function is called like a free one
// with `this` first.
extern "C" {
const void* __real__ZNK5CPath7GetNextEPKv(const CPath* self, const void* pos);
int __real__ZNK5CPath11GetNextGuidERK14tagGuideRecordILi0EERS1_(const CPath* self,
                                                                const PathGuid& current,
                                                                PathGuid& next);
int __real__ZNK5CPath7GetGuidEPKvR14tagGuideRecordILi0EE(const CPath* self, const void* pos,
                                                         PathGuid& guid);
bool __real__ZNK14CPathManagerEx12GetDestPointEiR7NavDest(const CPathManagerEx* self, int index,
                                                          NavDest& dest);
double __real__Z10LineLengthtPK9tagLonLat(unsigned short count, const tagLonLat* points);

const void* __wrap__ZNK5CPath7GetNextEPKv(const CPath* self, const void* pos) {
  if (self != g_CyclingPath) return __real__ZNK5CPath7GetNextEPKv(self, pos);
  ++g_CyclingSteps;
  const void* next = __real__ZNK5CPath7GetNextEPKv(self, pos);
  return next != nullptr ? next : self->GetFirstPosition();
}

int __wrap__ZNK5CPath11GetNextGuidERK14tagGuideRecordILi0EERS1_(const CPath* self,
                                                                const PathGuid& current,
                                                                PathGuid& next) {
  if (self != g_CyclingPath) {
    return __real__ZNK5CPath11GetNextGuidERK14tagGuideRecordILi0EERS1_(self, current, next);
  }
  ++g_CyclingSteps;
  if (__real__ZNK5CPath11GetNextGuidERK14tagGuideRecordILi0EERS1_(self, current, next) != 0) {
    return 1;
  }
  return self->GetGuideAt(0, next) ? 1 : 0;
}

int __wrap__ZNK5CPath7GetGuidEPKvR14tagGuideRecordILi0EE(const CPath* self, const void* pos,
                                                         PathGuid& guid) {
  if (self == g_GuidelessPath) return 0;
  return __real__ZNK5CPath7GetGuidEPKvR14tagGuideRecordILi0EE(self, pos, guid);
}

bool __wrap__ZNK14CPathManagerEx12GetDestPointEiR7NavDest(const CPathManagerEx* self, int index,
                                                          NavDest& dest) {
  if (g_isDestUnreadable) return false;
  return __real__ZNK14CPathManagerEx12GetDestPointEiR7NavDest(self, index, dest);
}

double __wrap__Z10LineLengthtPK9tagLonLat(unsigned short count, const tagLonLat* points) {
  return g_isLengthFixed ? g_FixedLength : __real__Z10LineLengthtPK9tagLonLat(count, points);
}
}

namespace fakes {

CyclingPath::CyclingPath(const CPath& path) {
  g_CyclingPath = &path;
  g_CyclingSteps = 0;
}

CyclingPath::~CyclingPath() { g_CyclingPath = nullptr; }

long CyclingPath::Steps() { return g_CyclingSteps; }

GuidelessPath::GuidelessPath(const CPath& path) { g_GuidelessPath = &path; }

GuidelessPath::~GuidelessPath() { g_GuidelessPath = nullptr; }

UnreadableDestinations::UnreadableDestinations() { g_isDestUnreadable = true; }

UnreadableDestinations::~UnreadableDestinations() { g_isDestUnreadable = false; }

FixedLineLength::FixedLineLength(double metres) {
  g_FixedLength = metres;
  g_isLengthFixed = true;
}

FixedLineLength::~FixedLineLength() { g_isLengthFixed = false; }

}  // namespace fakes
