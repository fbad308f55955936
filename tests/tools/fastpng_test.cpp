// The fast PNG encoder against Cairo's own PNG reader: every pixel reads back, and sizes it
// cannot encode leave the output alone.
#include "picture/fastpng.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Cairo's reader, fed from a string.
struct CReader {
  const std::string& png;
  std::size_t at = 0;
};

cairo_status_t Read(void* closure, unsigned char* data, unsigned int length) {
  CReader* reader = static_cast<CReader*>(closure);
  if (reader->png.size() - reader->at < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->png.data() + reader->at, length);
  reader->at += length;
  return CAIRO_STATUS_SUCCESS;
}

TEST(FastPngTest, EveryPixelReadsBackThroughCairo) {
  // A gradient with a noisy patch, in rows padded past their pixels (stride 4 x 37 + 12).
  const int width = 37;
  const int height = 23;
  const int stride = 4 * width + 12;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height, 0xAB);
  unsigned seed = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const std::uint32_t pixel = y > 10 && x > 20 ? (seed >> 8) & 0xFFFFFFu
                                                   : (static_cast<std::uint32_t>(7 * x) << 16) |
                                                         (static_cast<std::uint32_t>(11 * y) << 8) |
                                                         static_cast<std::uint32_t>(x ^ y);
      std::memcpy(pixels.data() + y * stride + 4 * x, &pixel, 4);
    }
  }
  std::string png = "kept";
  ASSERT_TRUE(tool::EncodeFastPng(pixels.data(), width, height, stride, png));
  ASSERT_EQ(png.substr(0, 4), "kept");
  CReader reader{png, 4};
  cairo_surface_t* image = cairo_image_surface_create_from_png_stream(Read, &reader);
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(image), width);
  ASSERT_EQ(cairo_image_surface_get_height(image), height);
  EXPECT_EQ(reader.at, png.size());
  const unsigned char* read = cairo_image_surface_get_data(image);
  const int readStride = cairo_image_surface_get_stride(image);
  int different = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t a;
      std::uint32_t b;
      std::memcpy(&a, pixels.data() + y * stride + 4 * x, 4);
      std::memcpy(&b, read + y * readStride + 4 * x, 4);
      different += (a & 0xFFFFFFu) != (b & 0xFFFFFFu) ? 1 : 0;
    }
  }
  EXPECT_EQ(different, 0);
  cairo_surface_destroy(image);
}

TEST(FastPngTest, RefusesSizesItCannotEncodeAndLeavesTheOutput) {
  std::vector<unsigned char> pixels(64, 0);
  const struct {
    const unsigned char* pixels;
    int width;
    int height;
    int stride;
  } kCases[] = {{nullptr, 2, 2, 8},
                {pixels.data(), 0, 2, 8},
                {pixels.data(), 2, -1, 8},
                {pixels.data(), 2, 2, 7},
                {pixels.data(), 32768, 1, 131072}};
  for (const auto& c : kCases) {
    std::string png = "kept";
    EXPECT_FALSE(tool::EncodeFastPng(c.pixels, c.width, c.height, c.stride, png)) << c.width;
    EXPECT_EQ(png, "kept");
  }
}

}  // namespace
