#include "imagefile.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cctype>

namespace tool {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

bool ImageFormatForPath(const std::string& path, CImageFormat& format) {
  if (EndsWithNoCase(path, ".png")) {
    format = CImageFormat::kPng;
  } else if (EndsWithNoCase(path, ".svg")) {
    format = CImageFormat::kSvg;
  } else {
    return false;
  }
  return true;
}

CImageFile::CImageFile() : m_Format(CImageFormat::kPng), mp_Surface(nullptr), mp_Cairo(nullptr) {}

CImageFile::~CImageFile() {
  if (mp_Cairo != nullptr) cairo_destroy(mp_Cairo);
  if (mp_Surface != nullptr) cairo_surface_destroy(mp_Surface);
}

bool CImageFile::Open(const std::string& path, int widthPx, int heightPx, std::string& error) {
  if (!ImageFormatForPath(path, m_Format)) {
    error = path + ": the picture's name must end in .png or .svg";
    return false;
  }
  if (!m_Output.Open(path, error)) return false;
  m_Path = path;
  mp_Surface = m_Format == CImageFormat::kPng
                   ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx)
                   : cairo_svg_surface_create(m_Output.TempPath().c_str(), widthPx, heightPx);
  mp_Cairo = cairo_create(mp_Surface);
  if (cairo_status(mp_Cairo) != CAIRO_STATUS_SUCCESS) {
    error = path + ": cannot draw: " + cairo_status_to_string(cairo_status(mp_Cairo));
    return false;
  }
  return true;
}

bool CImageFile::Commit(std::string& error) {
  if (mp_Cairo == nullptr) {
    error = m_Path + ": cannot write: no picture was started";
    return false;
  }
  cairo_status_t status = cairo_status(mp_Cairo);
  if (status == CAIRO_STATUS_SUCCESS && m_Format == CImageFormat::kPng) {
    status = cairo_surface_write_to_png(mp_Surface, m_Output.TempPath().c_str());
  }
  if (status == CAIRO_STATUS_SUCCESS && m_Format == CImageFormat::kSvg) {
    // Finishing the surface writes the rest of the SVG stream and closes the file.
    cairo_surface_finish(mp_Surface);
    status = cairo_surface_status(mp_Surface);
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    error = m_Path + ": cannot write: " + cairo_status_to_string(status);
    return false;
  }
  return m_Output.Commit(error);
}

}  // namespace tool
