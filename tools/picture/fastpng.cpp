// Notation: a PNG file is the 8-byte signature, then chunks, each its length (32-bit big
// endian), its 4-letter type, its data and the CRC-32 of type and data. IHDR gives the size
// and the pixel format, IDAT the zlib stream of the rows, each row a filter byte (0: none)
// followed by R, G, B of each pixel, and IEND ends the file.
#include "picture/fastpng.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace tool {

namespace {

// The largest side accepted, pixels: the largest Cairo image side.
constexpr int kMaxSidePx = 32767;

void PutBigEndian(std::string& out, std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 8), static_cast<char>(value)};
  out.append(bytes, 4);
}

void PutChunk(std::string& out, const char* type, const unsigned char* data, std::size_t size) {
  PutBigEndian(out, static_cast<std::uint32_t>(size));
  const std::size_t typeAt = out.size();
  out.append(type, 4);
  if (size > 0) out.append(reinterpret_cast<const char*>(data), size);
  const uLong crc =
      crc32(0L, reinterpret_cast<const Bytef*>(out.data() + typeAt), static_cast<uInt>(size + 4));
  PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// The rows as PNG wants them before compression: a filter byte 0, then R, G, B per pixel.
std::vector<unsigned char> RawRows(const unsigned char* pixels, int widthPx, int heightPx,
                                   int strideBytes) {
  const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(widthPx);
  std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(heightPx));
  for (int y = 0; y < heightPx; ++y) {
    unsigned char* out = raw.data() + rowBytes * static_cast<std::size_t>(y);
    *out++ = 0;
    const unsigned char* row = pixels + static_cast<std::ptrdiff_t>(strideBytes) * y;
    for (int x = 0; x < widthPx; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, row + 4 * x, 4);
      *out++ = static_cast<unsigned char>(pixel >> 16);
      *out++ = static_cast<unsigned char>(pixel >> 8);
      *out++ = static_cast<unsigned char>(pixel);
    }
  }
  return raw;
}

}  // namespace

bool EncodeFastPng(const unsigned char* pixels, int widthPx, int heightPx, int strideBytes,
                   std::string& png) {
  if (pixels == nullptr || widthPx < 1 || heightPx < 1 || widthPx > kMaxSidePx ||
      heightPx > kMaxSidePx || strideBytes < 4 * widthPx) {
    return false;
  }
  const std::vector<unsigned char> raw = RawRows(pixels, widthPx, heightPx, strideBytes);
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_SPEED) != Z_OK) {
    return false;
  }
  std::string out("\x89PNG\r\n\x1a\n", 8);
  unsigned char header[13] = {};
  for (int i = 0; i < 4; ++i) {
    header[i] = static_cast<unsigned char>(static_cast<unsigned>(widthPx) >> (24 - 8 * i));
    header[4 + i] = static_cast<unsigned char>(static_cast<unsigned>(heightPx) >> (24 - 8 * i));
  }
  header[8] = 8;  // bits per channel
  header[9] = 2;  // colour type: RGB
  // Compression 0 (deflate), filter method 0, no interlace.
  PutChunk(out, "IHDR", header, sizeof header);
  PutChunk(out, "IDAT", packed.data(), packedSize);
  PutChunk(out, "IEND", nullptr, 0);
  png += out;
  return true;
}

}  // namespace tool
