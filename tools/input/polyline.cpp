// Notation: a "number" is one signed whole number of the text: a latitude, longitude or height
// difference. Its bits are zig-zag folded (0, -1, 1, -2, ... become 0, 1, 2, 3, ...) and cut
// into five-bit chunks, lowest first; each chunk is written as the character '?' + chunk, plus
// 0x20 when another chunk follows. A point's numbers add to the previous point's values.
#include "input/polyline.h"

#include <cmath>
#include <cstdio>

namespace tool {

namespace {

constexpr int kFirstChar = '?';  // chunk 0
constexpr int kLastChar = '~';   // chunk 63: five bits and the "more follow" bit
constexpr unsigned kMoreBit = 0x20;
constexpr unsigned kChunkBits = 0x1f;
// 11 chunks carry 55 bits: a folded difference below 2^55, far beyond any coordinate.
constexpr int kMaxChunks = 11;
constexpr double kHeightPerMetre = 100.0;  // heights are written in hundredths of a metre

const char* const kDimensionNames[] = {"latitude", "longitude", "height"};

// A byte for a message: quoted when printable, else in hex.
std::string DescribeByte(unsigned char byte) {
  char text[16];
  if (byte >= 0x20 && byte < 0x7f) {
    std::snprintf(text, sizeof text, "'%c'", byte);
  } else {
    std::snprintf(text, sizeof text, "byte 0x%02x", byte);
  }
  return text;
}

std::string Character(std::size_t pos) { return "character " + std::to_string(pos + 1); }

// Reads the number that starts at `pos` and moves `pos` past it.
bool ReadNumber(const std::string& text, std::size_t& pos, long long& value, std::string& error) {
  const std::size_t start = pos;
  unsigned long long folded = 0;
  for (int chunks = 0;; ++chunks) {
    if (pos == text.size()) {
      error = Character(start) + ": the text ends inside a number";
      return false;
    }
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < kFirstChar || byte > kLastChar) {
      error = Character(pos) + ": " + DescribeByte(byte) + " is not a polyline character";
      return false;
    }
    if (chunks == kMaxChunks) {
      error = Character(start) + ": a number longer than 11 characters";
      return false;
    }
    const unsigned chunk = byte - static_cast<unsigned>(kFirstChar);
    folded |= static_cast<unsigned long long>(chunk & kChunkBits) << (5 * chunks);
    ++pos;
    if ((chunk & kMoreBit) != 0) continue;
    // An encoder stops before a zero top chunk; only the number 0 is written as one.
    if (chunk == 0 && chunks > 0) {
      error = Character(pos - 1) + ": a number ends in a needless zero chunk";
      return false;
    }
    break;
  }
  // Unfold: even values are the non-negative numbers, odd ones the negative numbers.
  const auto half = static_cast<long long>(folded >> 1);
  value = (folded & 1) != 0 ? ~half : half;
  return true;
}

void AppendNumber(long long value, std::string& text) {
  unsigned long long folded = static_cast<unsigned long long>(value) << 1;
  if (value < 0) folded = ~folded;
  while (folded >= kMoreBit) {
    text += static_cast<char>((kMoreBit | (folded & kChunkBits)) + kFirstChar);
    folded >>= 5;
  }
  text += static_cast<char>(folded + kFirstChar);
}

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

// Checks the point decoded from the running totals (units of `scale`).
bool CheckPoint(const long long totals[3], const CPolylineScale& scale, std::size_t index,
                tagLonLat& point, double& height, std::string& error) {
  point = {static_cast<double>(totals[1]) / scale.perDegree,
           static_cast<double>(totals[0]) / scale.perDegree};
  height = static_cast<double>(totals[2]) / kHeightPerMetre;
  const std::string where = "point " + std::to_string(index);
  if (!IsValidLonLat(point)) {
    error = where + ": [" + FormatNumber(point.lon) + ", " + FormatNumber(point.lat) +
            "] lies outside longitude (-180, 180) and latitude (-90, 90)";
    return false;
  }
  if (!(std::fabs(height) <= kMaxHeightMetres)) {
    error = where + ": height " + FormatNumber(height) + " m lies beyond 1000 km";
    return false;
  }
  return true;
}

}  // namespace

double PerDegreeOfPrecision(int precision) {
  double perDegree = 1.0;
  for (int i = 0; i < precision; ++i) perDegree *= 10.0;
  return perDegree;
}

bool DecodePolyline(const std::string& text, const CPolylineScale& scale,
                    std::vector<tagLonLat>& points, std::vector<double>& heights,
                    std::string& error) {
  points.clear();
  heights.clear();
  if (!(scale.perDegree >= kMinPerDegree && scale.perDegree <= kMaxPerDegree)) {
    error = "a polyline unit of " + FormatNumber(scale.perDegree) + " per degree is not 1 to 1e9";
    return false;
  }
  const int dimensions = scale.heights ? 3 : 2;
  // Every total stays within the checked ranges (below 2^38 units), so adding a difference
  // of at most 2^54 cannot overflow.
  long long totals[3] = {0, 0, 0};
  std::size_t pos = 0;
  while (pos < text.size()) {
    for (int d = 0; d < dimensions; ++d) {
      if (d > 0 && pos == text.size()) {
        error = "point " + std::to_string(points.size()) + ": the text ends before its " +
                kDimensionNames[d];
        return false;
      }
      long long difference = 0;
      if (!ReadNumber(text, pos, difference, error)) return false;
      totals[d] += difference;
    }
    tagLonLat point;
    double height = 0.0;
    if (!CheckPoint(totals, scale, points.size(), point, height, error)) return false;
    points.push_back(point);
    if (scale.heights) heights.push_back(height);
  }
  return true;
}

std::string EncodePolyline(const std::vector<tagLonLat>& points, const std::vector<double>& heights,
                           const CPolylineScale& scale) {
  std::string text;
  long long previous[3] = {0, 0, 0};
  for (std::size_t i = 0; i < points.size(); ++i) {
    const long long values[3] = {
        std::llround(points[i].lat * scale.perDegree),
        std::llround(points[i].lon * scale.perDegree),
        scale.heights ? std::llround(heights[i] * kHeightPerMetre) : 0,
    };
    for (int d = 0; d < (scale.heights ? 3 : 2); ++d) {
      AppendNumber(values[d] - previous[d], text);
      previous[d] = values[d];
    }
  }
  return text;
}

}  // namespace tool
