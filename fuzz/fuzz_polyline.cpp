// fuzz_polyline: the bytes are an encoded polyline and the units to read it in.
//
// The last byte chooses the units (1e5, 1e6 or 1e7 per degree, or GraphHopper's smallest, 1)
// and whether each point carries a height; the rest is the text. Checked: a refused text gets
// a one-line message; an accepted one decodes to valid points, one height each when heights
// are read, and encodes back to exactly the same text (no two texts decode alike).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame_check.h"
#include "input/polyline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto choice = input.ConsumeIntegral<std::uint8_t>();
  const double kUnits[] = {1e5, 1e6, 1e7, 1.0};
  tool::CPolylineScale scale;
  scale.perDegree = kUnits[choice & 3];
  scale.heights = (choice & 4) != 0;
  const std::string text = input.ConsumeRemainingBytesAsString();

  std::vector<tagLonLat> points;
  std::vector<double> heights;
  std::string error;
  if (!tool::DecodePolyline(text, scale, points, heights, error)) {
    FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos,
               "a refused polyline says why on one line");
    return 0;
  }
  FUZZ_CHECK(heights.size() == (scale.heights ? points.size() : 0), "one height per point");
  for (const tagLonLat& point : points) {
    FUZZ_CHECK(IsValidLonLat(point), "decoded points lie inside (-180, 180) x (-90, 90)");
  }
  FUZZ_CHECK(tool::EncodePolyline(points, heights, scale) == text, "encode(decode(x)) == x");
  return 0;
}
