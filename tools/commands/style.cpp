// `advicepath style`: writes the built-in style as a starting point for a team's own.
#include "input/style.h"

#include <sys/stat.h>

#include "commands/commands.h"
#include "output/outputfile.h"

namespace tool {

namespace {

struct CStyleOptions {
  std::string out = "style.json";
  CLogLevel log;
};

CCommandLine StyleLine(CStyleOptions& o) {
  return {
      "style",
      "advicepath style [--out FILE]",
      "Writes the built-in style: a size table (the default one, with rows 5 and 6 stopping\n"
      "at the next junction of close manoeuvres) and the themes day, night and large (a table\n"
      "of its own for low-vision drivers), to edit by hand or in `advicepath studio` and to\n"
      "use with --style. An existing FILE is left alone.",
      {
          {"--out", "FILE", "style file to write (default style.json)", &o.out},
      },
      nullptr,
  };
}

bool WriteStyle(const CStyleOptions& o, std::string& error) {
  struct stat info;
  if (::stat(o.out.c_str(), &info) == 0) {
    error = o.out + ": exists; the built-in style is written only to a new file";
    return false;
  }
  COutputFile file;
  return file.Open(o.out, error) && file.Write(DefaultStyleText(), error) &&
         CommitAll({&file}, error);
}

}  // namespace

int RunStyle(const std::vector<std::string>& args) {
  CStyleOptions o;
  const int status = StartCommand(StyleLine(o), args, o.log);
  if (status >= 0) return status;
  std::string error;
  if (!WriteStyle(o, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace tool
