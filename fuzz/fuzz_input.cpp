// Decoders of fuzz_frame's bytes into arbitrary doubles, ints, points and polylines.
#include "fuzz_input.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>

namespace fuzz {
namespace {

const double kSpecialDoubles[] = {
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    1e308,
    -1e308,
    180.0,
    -180.0,
    90.0,
    -90.0,
    0.0,
    -0.0,
    3e-6,
    -3e-6,
    DBL_MIN,
    std::numeric_limits<double>::denorm_min(),
    DBL_MAX,
    179.99999999999997,
    89.99999999999999,
    1e6,
    -1e-9,
};

const int kSpecialInts[] = {INT_MIN, INT_MIN + 1, -1,    0,           1,      2,
                            5,       65535,       65536, INT_MAX - 7, INT_MAX};

}  // namespace

double ConsumeDouble(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return in.ConsumeFloatingPointInRange<double>(-180.0, 180.0);
    case 1:
      return in.PickValueInArray(kSpecialDoubles);
    default: {
      const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
  }
}

int ConsumeInt(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return in.ConsumeIntegralInRange<int>(0, 3000);
    case 1:
      return in.PickValueInArray(kSpecialInts);
    default:
      return in.ConsumeIntegral<int>();
  }
}

tagLonLat ConsumePoint(FuzzedDataProvider& in) {
  const double lon = ConsumeDouble(in);
  return {lon, ConsumeDouble(in)};
}

tagLonLat NextPoint(FuzzedDataProvider& in, const tagLonLat& previous) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
    case 1: {
      const double dlon = in.ConsumeFloatingPointInRange<double>(-0.01, 0.01);
      return {previous.lon + dlon,
              previous.lat + in.ConsumeFloatingPointInRange<double>(-0.01, 0.01)};
    }
    case 2:
      return previous;
    default:
      return ConsumePoint(in);
  }
}

std::vector<tagLonLat> ConsumePolyline(FuzzedDataProvider& in, int count, tagLonLat start) {
  std::vector<tagLonLat> points;
  points.reserve(static_cast<std::size_t>(count));
  tagLonLat at = start;
  for (int i = 0; i < count; ++i) {
    at = i == 0 ? start : NextPoint(in, at);
    points.push_back(at);
  }
  return points;
}

}  // namespace fuzz
