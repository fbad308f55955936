// `advicepath convert`: a route in any format the program reads, written as the program's own
// GeoJSON route file, which draws exactly as the original does.
#include "commands/commands.h"
#include "input/routereader.h"
#include "output/outputfile.h"
#include "output/routegeojson.h"

namespace tool {

namespace {

struct CConvertOptions {
  std::string route;
  CReadOptions read;
  std::string out = "route.geojson";
  CLogLevel log;
};

CCommandLine ConvertLine(CConvertOptions& o) {
  return {
      "convert",
      "advicepath convert ROUTE [options]",
      "Writes ROUTE (a router's answer or a GPX file, in any format the program reads; \"-\"\n"
      "standard input) as a GeoJSON route file: the same guides, turns and notes, so that it\n"
      "draws as the original does and can be kept, edited or shared.",
      {
          {"--out", "FILE", "the route file to write (default route.geojson)", &o.out},
          PrecisionOption(o.read),
          AlternativeOption(o.read),
      },
      &o.route,
  };
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
  CConvertOptions o;
  const int status = StartCommand(ConvertLine(o), args, o.log, [&o](std::string& error) {
    if (!o.route.empty()) return true;
    error = "needs the route to convert";
    return false;
  });
  if (status >= 0) return status;
  CRouteFile route;
  COutputFile file;
  std::string error;
  if (!LoadRoute(o.route, o.read, route, error) || !file.Open(o.out, error) ||
      !file.Write(FormatRouteGeoJson(route), error) || !CommitAll({&file}, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace tool
