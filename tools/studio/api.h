// The studio's JSON answers: each request of the page, read from its body and answered from
// the session, without HTTP (server.h carries them). A bad request gets a 4xx status and
// {"error": "<one line>"}; nothing here reads or writes a file but Save's, the one named on
// the command line.
//
//   GET  /api/state  the route and its turns, the style last loaded or saved, the ladder, the
//                    fields of a size row with their units, the sizes of cells and pictures
//   POST /api/sheet  {"style", "theme", "turns", "scaleIndices"}: the cells, each a PNG with
//                    its warning, and the audit of every theme with the route's notes
//   POST /api/cell   {"style", "theme", "turn", "scaleIndex"}: one cell drawn large, and the
//                    map-view calls the library made for it
//   POST /api/route  the bytes of a route file (any format the program reads): replaces the
//                    route
//   POST /api/save   {"style"}: writes the style file
//
// Limits: at most kMaxSheetTurns turns and all kMaxScaleIndices indices per sheet. One request
// at a time (the session is not shared safely).
#ifndef ADVICEPATH_TOOLS_STUDIO_API_H_
#define ADVICEPATH_TOOLS_STUDIO_API_H_

#include <cstddef>
#include <string>

#include "input/style.h"
#include "studio/session.h"

namespace tool {

// The most turns one sheet request draws: 64 rows of 13 cells, some 3 s on two cores.
constexpr std::size_t kMaxSheetTurns = 64;

// An answer: HTTP status and a JSON body.
struct CApiAnswer {
  int status = 200;
  std::string body;  // JSON
};

// The studio's state of the moment: the session and the style it started with or last saved.
struct CStudio {
  CStudioSession* session;  // Borrowed: lives as long as the server
  CStyle style;             // the style file's content, as loaded or last saved
  std::string theme;        // the theme the page starts on
};

CApiAnswer AnswerState(const CStudio& studio);
CApiAnswer AnswerSheet(CStudio& studio, const std::string& body);
CApiAnswer AnswerCell(CStudio& studio, const std::string& body);
// `fileName` only names the route in messages.
CApiAnswer AnswerRoute(CStudio& studio, const std::string& body, const std::string& fileName);
CApiAnswer AnswerSave(CStudio& studio, const std::string& body);

// {"error": message} with `status`.
CApiAnswer ErrorAnswer(int status, const std::string& message);

// `bytes` in base 64 (RFC 4648, with padding).
std::string Base64(const std::string& bytes);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_STUDIO_API_H_
