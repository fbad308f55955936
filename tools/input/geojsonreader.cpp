// The program's own GeoJSON route file as one of the route readers: routefile.h's parser.
#include "input/routereader.h"

namespace tool {

namespace {

class CGeoJsonRouteReader : public CRouteReader {
 public:
  const char* Format() const override { return "GeoJSON route file"; }

  // A JSON object with a "type" or "features" member: GeoJSON of some kind. One that is no
  // FeatureCollection is read here too, to be refused with the parser's message.
  bool Identify(const CRouteInput& input) const override {
    return input.document != nullptr && input.document->is_object() &&
           (input.document->contains("type") || input.document->contains("features"));
  }

  bool Read(const CRouteInput& input, const CReadOptions& options, CRouteFile& route,
            std::string& error) const override {
    if (options.alternative != 0) {
      error = "alternative " + std::to_string(options.alternative) +
              ": a GeoJSON route file holds one route";
      return false;
    }
    if (ParseRouteText(input.bytes, input.fileName, route, error)) return true;
    // The parser names the file; the caller does that here.
    const std::string prefix = input.fileName + ": ";
    if (error.compare(0, prefix.size(), prefix) == 0) error.erase(0, prefix.size());
    return false;
  }
};

}  // namespace

const CRouteReader& GeoJsonRouteReader() {
  static const CGeoJsonRouteReader kReader;
  return kReader;
}

}  // namespace tool
