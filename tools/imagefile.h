// CImageFile: a picture being drawn with Cairo and written as PNG or SVG, chosen by the
// destination's extension, through a COutputFile (nothing appears at the destination
// unless the whole picture was written).
//
// One thread at a time.
#ifndef ADVICEPATH_TOOLS_IMAGEFILE_H_
#define ADVICEPATH_TOOLS_IMAGEFILE_H_

#include <cairo.h>

#include <string>

#include "outputfile.h"

namespace tool {

enum class CImageFormat { kPng, kSvg };

// The format for `path` by its extension, ".png" or ".svg" in any case. False for others.
bool ImageFormatForPath(const std::string& path, CImageFormat& format);

class CImageFile {
 public:
  CImageFile();
  CImageFile(const CImageFile&) = delete;
  CImageFile& operator=(const CImageFile&) = delete;
  // Releases the Cairo objects; an uncommitted picture leaves no file behind.
  ~CImageFile();

  // Starts a picture of widthPx x heightPx pixels for `path`. False with "<path>: <problem>"
  // for an extension other than .png or .svg, an unwritable directory or a surface Cairo
  // cannot make.
  bool Open(const std::string& path, int widthPx, int heightPx, std::string& error);
  // The context to draw with: Borrowed, valid until Commit or destruction; null before Open.
  cairo_t* Context() const { return mp_Cairo; }
  // Writes the picture and moves it to the destination. False with a message naming it.
  bool Commit(std::string& error);

 private:
  std::string m_Path;           // destination
  CImageFormat m_Format;        // by the destination's extension
  COutputFile m_Output;         // the temporary file the surface writes
  cairo_surface_t* mp_Surface;  // Owned: PNG pixels, or an SVG stream on the temporary file
  cairo_t* mp_Cairo;            // Owned: the context on mp_Surface
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_IMAGEFILE_H_
