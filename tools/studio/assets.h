// The studio's page, built into the program (generated at build time from tools/studio/page/
// by embed_page.cmake): the only files the studio serves.
#ifndef ADVICEPATH_TOOLS_STUDIO_ASSETS_H_
#define ADVICEPATH_TOOLS_STUDIO_ASSETS_H_

#include <string>

namespace tool {

struct CStudioAsset {
  const char* path;         // as requested, "/" for the page itself
  const char* contentType;  // "text/html; charset=utf-8"
  const unsigned char* data;
  unsigned long size;  // bytes
};

// The asset served at `path`, or null: there is no other.
const CStudioAsset* FindStudioAsset(const std::string& path);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_STUDIO_ASSETS_H_
