// Notation: a direction index k is k quarter degrees counter-clockwise from east; q is a
// reference angle in quarter degrees inside one quadrant (0..360); dx, dy are the vector's
// components with x growing east and y north; r = |dy / dx| is its slope.
#include "direction.h"

#include <cmath>

#include "geodesy.h"

namespace {

// Rows in each table: quarter degrees 0..360, both ends included.
constexpr int kTrigRows = 361;
// Indices in a full turn.
constexpr unsigned kFullTurn = 1440;
// One quarter degree in radians: pi / 720, the double 0.004363323129985824. Every row of the
// tables below depends on its exact bits.
constexpr double kQuarterDegreeRad = kPi / 720.0;
static_assert(kQuarterDegreeRad == 0.004363323129985824, "one quarter degree keeps its bits");
// Stands for the infinite tangent of 90 degrees in the last row. A slope at or above it reads
// as straight north or south.
constexpr double kTanOfRightAngle = 1000000.0;

// Row k (0..359) holds tan, sin and cos of k quarter degrees, computed with the standard
// library from the angle k * kQuarterDegreeRad; row 360 holds the constants 1000000 (for the
// infinite tangent), 1.0 and 0.0, which are set and not computed. The tangent rows increase
// strictly (tan(89.75 degrees) is about 229.18), which the search below relies on.
double g_TanTable[kTrigRows];
double g_SinTable[kTrigRows];
double g_CosTable[kTrigRows];

// Writes every row. Returns true, for the one-time guard in InitTrigTables.
bool FillTrigTables() {
  for (int k = 0; k < kTrigRows - 1; ++k) {
    const double angle = k * kQuarterDegreeRad;  // radians
    g_TanTable[k] = std::tan(angle);
    g_SinTable[k] = std::sin(angle);
    g_CosTable[k] = std::cos(angle);
  }
  g_TanTable[kTrigRows - 1] = kTanOfRightAngle;
  g_SinTable[kTrigRows - 1] = 1.0;
  g_CosTable[kTrigRows - 1] = 0.0;
  return true;
}

// The reference angle of a slope r >= 0, in quarter degrees, truncated: the last row whose
// tangent does not exceed r (360 when r >= 1000000, when r is infinite, and when r is NaN,
// which no row's test accepts). Linear from row 0 and bounded by the table, so it ends for
// any r; row 0 never qualifies because r >= 0 = tan(0), so q = 0 for r = 0.
unsigned ReferenceAngle(double r) {
  int k = 0;
  while (k < kTrigRows && !(r < g_TanTable[k])) ++k;
  return static_cast<unsigned>(k - 1);
}

}  // namespace

void InitTrigTables() {
  // A function-local static is initialised exactly once, and other threads wait for it, so
  // the tables are complete before any caller reads them.
  static const bool s_isFilled = FillTrigTables();
  (void)s_isFilled;
}

unsigned short GetDirectionIndex(double x1, double y1, double x2, double y2) {
  InitTrigTables();
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  // A NaN component (also inf - inf from the subtraction) lies on no axis and in no
  // quadrant: it has no direction. Infinite components do have one and go through the steps
  // below like any other.
  if (std::isnan(dx) || std::isnan(dy)) return 0;

  // The axes, by exact comparison with zero.
  if (dx == 0.0) {
    if (dy == 0.0) return 0;
    return dy > 0.0 ? 360 : 1080;
  }
  if (dy == 0.0) return dx > 0.0 ? 0 : 720;

  // An infinite dy over a finite dx gives r = inf, and two infinite components give
  // r = inf / inf = NaN: no row qualifies and q = 360, a vertical direction. An infinite dx
  // over a finite dy gives r = 0 and q = 0, a horizontal one.
  const unsigned q = ReferenceAngle(std::fabs(dy / dx));
  // Truncating q puts the index on the x-axis side of the true direction in every quadrant.
  unsigned index;
  if (dx > 0.0) {
    index = dy > 0.0 ? q : kFullTurn - q;  // first quadrant, or fourth (1440 just below east)
  } else {
    index = dy > 0.0 ? 720 - q : 720 + q;  // second quadrant, or third
  }
  return static_cast<unsigned short>(index);
}

double GetIndexSin(unsigned short index) {
  InitTrigTables();
  const unsigned k = index % kFullTurn;
  // Quarter by quarter: sin(90 + a) = cos(a), sin(180 + a) = -sin(a), sin(270 + a) = -cos(a).
  if (k <= 360) return g_SinTable[k];
  if (k <= 720) return g_CosTable[k - 360];
  if (k <= 1080) return -g_SinTable[k - 720];
  return -g_CosTable[k - 1080];
}

double GetIndexCos(unsigned short index) {
  InitTrigTables();
  const unsigned k = index % kFullTurn;
  // Quarter by quarter: cos(90 + a) = -sin(a), cos(180 + a) = -cos(a), cos(270 + a) = sin(a).
  if (k <= 360) return g_CosTable[k];
  if (k <= 720) return -g_SinTable[k - 360];
  if (k <= 1080) return -g_CosTable[k - 720];
  return g_SinTable[k - 1080];
}

tagLonLat GetOffsetPoint(const tagLonLat& from, const tagLonLat& to, double distance) {
  // Degrees of longitude and of latitude that one metre spans at `from`.
  double lonPerMeter = 0.0;
  double latPerMeter = 0.0;
  GetUnitDegree(from, lonPerMeter, latPerMeter);
  // Longitude degrees times this ratio are latitude degrees of the same ground distance, so
  // the index below is the direction on the ground.
  const double ratio = latPerMeter / lonPerMeter;
  const unsigned short index =
      GetDirectionIndex(from.lon * ratio, from.lat, to.lon * ratio, to.lat);
  // Metres east and north, converted back to degrees with the factors at `from`.
  tagLonLat result;
  result.lon = ((GetIndexCos(index) * distance) * lonPerMeter) + from.lon;
  result.lat = ((GetIndexSin(index) * distance) * latPerMeter) + from.lat;
  return result;
}
