// A PNG encoder for pictures that are shown at once and thrown away (the studio's cells):
// zlib at its fastest level, no row filter. Cairo's own writer compresses harder and took
// about three quarters of a sheet's time; on the sample's cells this one takes about a quarter
// of that, for files about the same size (mostly flat background compresses well either way).
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_PICTURE_FASTPNG_H_
#define ADVICEPATH_TOOLS_PICTURE_FASTPNG_H_

#include <cstdint>
#include <string>

namespace tool {

// Encodes widthPx x heightPx pixels of Cairo's RGB24 (or ARGB32, alpha ignored) layout: rows
// `stridePx` bytes apart, each pixel a native-endian 32-bit 0x??RRGGBB. Appends the PNG file
// (8-bit RGB) to `png`. False, with `png` unchanged, for sizes outside 1 to 32767 or when
// zlib fails (out of memory).
bool EncodeFastPng(const unsigned char* pixels, int widthPx, int heightPx, int strideBytes,
                   std::string& png);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_PICTURE_FASTPNG_H_
