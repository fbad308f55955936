// The data files compiled into the advicepath program (generated at build time from data/
// by embed.cmake), so that it runs from any directory.
#ifndef ADVICEPATH_TOOLS_INPUT_EMBEDDED_H_
#define ADVICEPATH_TOOLS_INPUT_EMBEDDED_H_

#include <string>

namespace tool {

// The text of data/sample-route.geojson: the built-in sample route.
std::string EmbeddedSampleRoute();
// The text of data/sizes.json: the built-in size table.
std::string EmbeddedSizeTable();
// The text of data/style.json: the built-in style.
std::string EmbeddedStyle();

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_EMBEDDED_H_
