#include "input/routereader.h"

#include "input/embedded.h"
#include "input/inputfile.h"
#include "input/jsonread.h"

namespace tool {

namespace {

// The readers in the order they are asked. The JSON formats are told apart by top-level
// members that only they carry, so the order matters only for a document that carries
// several: our own format first (it names itself, "type": "FeatureCollection"), then the
// routers from the most to the least specific mark: OSRM's "code", Valhalla's "trip" or
// "error_code", GraphHopper's "paths" or bare "message". GPX, the one XML format, comes last.
const CRouteReader* const* Readers(std::size_t& count) {
  static const CRouteReader* const kReaders[] = {
      &GeoJsonRouteReader(),     &OsrmRouteReader(), &ValhallaRouteReader(),
      &GraphHopperRouteReader(), &GpxRouteReader(),
  };
  count = sizeof kReaders / sizeof kReaders[0];
  return kReaders;
}

// The white space, and the bytes of a UTF-8 byte-order mark, that may come before a document.
const char kLeadingBytes[] = " \t\r\n\xEF\xBB\xBF";

bool CheckOptions(const CReadOptions& options, std::string& error) {
  if (options.precision && *options.precision != 5 && *options.precision != 6) {
    error = "precision " + std::to_string(*options.precision) + " is not 5 or 6";
    return false;
  }
  if (options.alternative < 0) {
    error = "alternative " + std::to_string(options.alternative) + " is not 0 or more";
    return false;
  }
  return true;
}

bool ReadKnownRoute(const std::string& bytes, const std::string& fileName,
                    const CReadOptions& options, CRouteFile& route, std::string& error) {
  if (!CheckOptions(options, error)) return false;
  const std::size_t first = bytes.find_first_not_of(kLeadingBytes);
  if (first == std::string::npos) {
    error = "the file is empty";
    return false;
  }
  nlohmann::json document;
  const bool isJson = bytes[first] == '{' || bytes[first] == '[';
  if (isJson && !ParseJsonText(bytes, document, error)) return false;
  const CRouteInput input{bytes, fileName, isJson ? &document : nullptr};
  std::size_t count = 0;
  const CRouteReader* const* readers = Readers(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (!readers[i]->Identify(input)) continue;
    route = CRouteFile();
    route.fileName = fileName;
    if (!readers[i]->Read(input, options, route, error) || !CheckRoute(route, error)) return false;
    route.format = readers[i]->Format();
    return true;
  }
  error =
      "not a route: the program reads OSRM v5, Valhalla and GraphHopper route responses, GPX "
      "1.1 files and GeoJSON route files (a FeatureCollection)";
  return false;
}

}  // namespace

bool ReadRoute(const std::string& bytes, const std::string& fileName, const CReadOptions& options,
               CRouteFile& route, std::string& error) {
  if (ReadKnownRoute(bytes, fileName, options, route, error)) return true;
  error = OneLine(fileName + ": " + error);
  return false;
}

bool LoadRoute(const std::string& path, const CReadOptions& options, CRouteFile& route,
               std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) {
    error = path + ": " + error;
    return false;
  }
  return ReadRoute(bytes, path, options, route, error);
}

bool LoadSampleRoute(CRouteFile& route, std::string& error) {
  return ReadRoute(EmbeddedSampleRoute(), "(built-in sample)", CReadOptions(), route, error);
}

}  // namespace tool
