#include "picture/canvas.h"

#include <algorithm>
#include <cctype>

#include "picture/cairocanvas.h"

namespace tool {

namespace {

// Each picture format the program writes, by extension.
const struct {
  const char* extension;
  CCairoCanvas::CKind kind;
} kFormats[] = {
    {".png", CCairoCanvas::CKind::kPng},
    {".svg", CCairoCanvas::CKind::kSvg},
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return text;
}

}  // namespace

CCanvas::~CCanvas() = default;

std::string CanvasExtension(const std::string& path) {
  const std::string lower = Lower(path);
  for (const auto& format : kFormats) {
    const std::string extension = format.extension;
    if (lower.size() >= extension.size() &&
        lower.compare(lower.size() - extension.size(), extension.size(), extension) == 0) {
      return extension;
    }
  }
  return std::string();
}

std::unique_ptr<CCanvas> OpenCanvas(COutputFile& file, const std::string& path, int widthPx,
                                    int heightPx, std::string& error) {
  const std::string extension = CanvasExtension(path);
  for (const auto& format : kFormats) {
    if (extension != format.extension) continue;
    if (!file.Open(path, error)) return nullptr;
    return CCairoCanvas::Open(format.kind, file, widthPx, heightPx, error);
  }
  error = path + ": the picture's name must end in .png or .svg";
  return nullptr;
}

std::unique_ptr<CCanvas> OpenMemoryCanvas(int widthPx, int heightPx, std::string& png,
                                          std::string& error) {
  return CCairoCanvas::OpenInMemory(widthPx, heightPx, png, error);
}

}  // namespace tool
