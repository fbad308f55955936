#include "studio/api.h"

#include <chrono>
#include <climits>
#include <nlohmann/json.hpp>

#include "frame/captions.h"
#include "input/jsonread.h"
#include "input/routereader.h"
#include "input/sizetable.h"

namespace tool {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

// The size fields that hold lengths in metres; the others are pixels.
bool IsLengthField(const std::string& name) {
  return name == "arrowExitLength" || name == "arrowEnterLength" ||
         name == "arrowLengthTolerance" || name == "arrowHeadLength" ||
         name == "arrowHeadHalfWidth";
}

const char* KindName(CFinding::CKind kind) {
  switch (kind) {
    case CFinding::CKind::kRow:
      return "row";
    case CFinding::CKind::kPastTable:
      return "pastTable";
    case CFinding::CKind::kNoArrowAnywhere:
      return "noArrowAnywhere";
    case CFinding::CKind::kFit:
      return "fit";
    case CFinding::CKind::kNotDrawn:
      return "notDrawn";
    case CFinding::CKind::kPastNextTurn:
      return "pastNextTurn";
    case CFinding::CKind::kColor:
      return "color";
  }
  return "";
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

json RouteJson(const CRouteFile& route) {
  json turns = json::array();
  for (std::size_t k = 0; k < route.turns.size(); ++k) {
    const CRouteTurn& turn = route.turns[k];
    turns.push_back(
        {{"index", k},
         {"roads", RoadName(route, turn.enter) + " \u2192 " + RoadName(route, turn.exit)},
         {"note", turn.note},
         {"endsRoute", turn.EndsRoute()}});
  }
  return {{"name", route.fileName}, {"guides", route.guides.size()}, {"turns", turns}};
}

json StyleJson(const CStyle& style) { return json::parse(FormatStyle(style)); }

// The request body as a JSON object. False with a message otherwise.
bool ReadBody(const std::string& body, json& document, std::string& error) {
  if (!ParseJsonText(body, document, error)) return false;
  if (!document.is_object()) {
    error = "the request must be a JSON object";
    return false;
  }
  return true;
}

// The request's "style" and the theme it names ("theme"; default: the style's default).
bool ReadStyle(const json& document, CStyle& style, const CTheme*& theme, std::string& error) {
  if (!document.contains("style")) {
    error = "style: missing";
    return false;
  }
  if (!ParseStyle(document["style"], style, error)) {
    error = "style: " + error;
    return false;
  }
  theme = &style.DefaultTheme();
  if (!document.contains("theme")) return true;
  if (!document["theme"].is_string() ||
      (theme = style.FindTheme(document["theme"].get<std::string>())) == nullptr) {
    error = "theme: must name one of the style's themes";
    return false;
  }
  return true;
}

// A list member of whole numbers from 0 to `high`, at most `most` of them.
bool ReadIndices(const json& document, const char* member, int high, std::size_t most,
                 std::vector<int>& values, std::string& error) {
  const json& list = document[member];
  if (!list.is_array() || list.size() > most) {
    error =
        std::string(member) + ": must be a list of at most " + std::to_string(most) + " numbers";
    return false;
  }
  values.clear();
  for (std::size_t i = 0; i < list.size(); ++i) {
    long long value = 0;
    if (!ReadInt(list[i], std::string(member) + "[" + std::to_string(i) + "]", 0, high, value,
                 error)) {
      return false;
    }
    values.push_back(static_cast<int>(value));
  }
  return true;
}

// The sheet's rows and columns: the request's, else every turn and the indices 0 to the
// theme's maxTurnScale.
bool ReadSheet(const json& document, const CStudio& studio, const CStyle& style,
               const CTheme& theme, std::vector<int>& turns, std::vector<int>& indices,
               std::string& error) {
  const int turnCount = static_cast<int>(studio.session->Route().turns.size());
  const int highest = static_cast<int>(studio.session->Ladder().size()) - 1;
  if (turnCount == 0) {
    error = studio.session->Route().fileName + ": the route has no turns to draw";
    return false;
  }
  if (document.contains("turns")) {
    if (!ReadIndices(document, "turns", turnCount - 1, kMaxSheetTurns, turns, error)) return false;
  } else {
    for (int k = 0; k < turnCount && turns.size() < kMaxSheetTurns; ++k) turns.push_back(k);
  }
  if (document.contains("scaleIndices")) {
    return ReadIndices(document, "scaleIndices", highest, static_cast<std::size_t>(highest) + 1,
                       indices, error);
  }
  const int last = std::min(std::max(style.TableOf(theme).maxTurnScale.value_or(0), 0), highest);
  for (int s = 0; s <= last; ++s) indices.push_back(s);
  return true;
}

std::string PngDataUrl(const std::string& png) { return "data:image/png;base64," + Base64(png); }

json CellJson(const CCellPicture& cell) {
  return {{"turn", cell.turn},
          {"scaleIndex", cell.scaleIndex},
          {"image", PngDataUrl(cell.png)},
          {"warning", CellWarning(cell.plan)},
          {"noArrow", cell.noArrow}};
}

json AuditJson(const std::vector<CThemeAudit>& audits) {
  json themes = json::array();
  for (const CThemeAudit& audit : audits) {
    json findings = json::array();
    for (const CFinding& f : audit.findings) {
      findings.push_back({{"kind", KindName(f.kind)},
                          {"turn", f.turn},
                          {"scaleIndex", f.scaleIndex},
                          {"text", f.text}});
    }
    json pairs = json::array();
    for (const CColorPair& p : audit.pairs) {
      pairs.push_back({{"first", p.first},
                       {"second", p.second},
                       {"firstColor", p.firstColor},
                       {"secondColor", p.secondColor},
                       {"ratio", p.ratio},
                       {"meets", p.meets},
                       {"vision", p.vision}});
    }
    themes.push_back({{"theme", audit.theme}, {"findings", findings}, {"pairs", pairs}});
  }
  return themes;
}

CApiAnswer JsonAnswer(const json& body) {
  // Text that is not UTF-8 (a road name, say) is replaced rather than refused.
  return {200, body.dump(-1, ' ', false, json::error_handler_t::replace)};
}

}  // namespace

CApiAnswer ErrorAnswer(int status, const std::string& message) {
  return {status, json{{"error", message}}.dump(-1, ' ', false, json::error_handler_t::replace)};
}

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (left > 1)
      group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    text += kDigits[(group >> 18) & 63];
    text += kDigits[(group >> 12) & 63];
    text += left > 1 ? kDigits[(group >> 6) & 63] : '=';
    text += left > 2 ? kDigits[group & 63] : '=';
  }
  return text;
}

CApiAnswer AnswerState(const CStudio& studio) {
  json fields = json::array();
  for (const CSizeField& field : kSizeFields) {
    fields.push_back({{"name", field.name}, {"unit", IsLengthField(field.name) ? "m" : "px"}});
  }
  return JsonAnswer(
      {{"route", RouteJson(studio.session->Route())},
       {"style", StyleJson(studio.style)},
       {"theme", studio.theme},
       {"savePath", studio.session->StylePath()},
       {"ladder", studio.session->Ladder()},
       {"fields", fields},
       {"cell",
        {{"width", CStudioSession::kCellWidthPx},
         {"height", CStudioSession::kCellHeightPx},
         {"captionBand", kCaptionBandPx}}},
       {"picture",
        {{"width", CStudioSession::kPictureWidthPx}, {"height", CStudioSession::kPictureHeightPx}}},
       {"maxSheetTurns", kMaxSheetTurns}});
}

CApiAnswer AnswerSheet(CStudio& studio, const std::string& body) {
  json document;
  CStyle style;
  const CTheme* theme = nullptr;
  std::vector<int> turns;
  std::vector<int> indices;
  std::string error;
  if (!ReadBody(body, document, error) || !ReadStyle(document, style, theme, error) ||
      !ReadSheet(document, studio, style, *theme, turns, indices, error)) {
    return ErrorAnswer(400, error);
  }
  std::vector<CCellPicture> cells;
  for (const int turn : turns) {
    for (const int index : indices) {
      cells.emplace_back();
      cells.back().turn = turn;
      cells.back().scaleIndex = index;
    }
  }
  const Clock::time_point start = Clock::now();
  if (!studio.session->DrawSheet(style, *theme, cells, error)) return ErrorAnswer(422, error);
  const double drawMs = MillisecondsSince(start);
  std::vector<CThemeAudit> audits;
  if (!studio.session->AuditStyle(style, audits, error)) return ErrorAnswer(422, error);
  json cellsJson = json::array();
  for (const CCellPicture& cell : cells) cellsJson.push_back(CellJson(cell));
  return JsonAnswer({{"theme", theme->name},
                     {"turns", turns},
                     {"scaleIndices", indices},
                     {"cells", cellsJson},
                     {"audit", AuditJson(audits)},
                     {"notes", audits.empty() ? std::vector<std::string>() : audits[0].notes},
                     {"drawMs", drawMs},
                     {"auditMs", MillisecondsSince(start) - drawMs}});
}

CApiAnswer AnswerCell(CStudio& studio, const std::string& body) {
  json document;
  CStyle style;
  const CTheme* theme = nullptr;
  std::string error;
  long long turn = 0;
  long long index = 0;
  const long long turnCount = static_cast<long long>(studio.session->Route().turns.size());
  const long long highest = static_cast<long long>(studio.session->Ladder().size()) - 1;
  if (!ReadBody(body, document, error) || !ReadStyle(document, style, theme, error)) {
    return ErrorAnswer(400, error);
  }
  if (turnCount == 0 || !document.contains("turn") || !document.contains("scaleIndex") ||
      !ReadInt(document["turn"], "turn", 0, turnCount - 1, turn, error) ||
      !ReadInt(document["scaleIndex"], "scaleIndex", 0, highest, index, error)) {
    return ErrorAnswer(400, error.empty() ? "turn, scaleIndex: missing" : error);
  }
  CCellPicture cell;
  cell.turn = static_cast<int>(turn);
  cell.scaleIndex = static_cast<int>(index);
  std::string calls;
  if (!studio.session->DrawLarge(style, *theme, cell, CStudioSession::kPictureWidthPx,
                                 CStudioSession::kPictureHeightPx, calls, error)) {
    return ErrorAnswer(422, error);
  }
  json callsJson = json::parse(calls, nullptr, false);
  json answer = CellJson(cell);
  answer["calls"] = callsJson.is_discarded() ? json::array() : callsJson;
  return JsonAnswer(answer);
}

CApiAnswer AnswerRoute(CStudio& studio, const std::string& body, const std::string& fileName) {
  CRouteFile route;
  std::string error;
  if (!ReadRoute(body, fileName, CReadOptions(), route, error) ||
      !studio.session->ReplaceRoute(std::move(route), error)) {
    return ErrorAnswer(400, error);
  }
  return JsonAnswer({{"route", RouteJson(studio.session->Route())}});
}

CApiAnswer AnswerSave(CStudio& studio, const std::string& body) {
  json document;
  CStyle style;
  const CTheme* theme = nullptr;
  std::string error;
  if (!ReadBody(body, document, error) || !ReadStyle(document, style, theme, error)) {
    return ErrorAnswer(400, error);
  }
  if (!studio.session->Save(style, error)) return ErrorAnswer(500, error);
  studio.style = style;
  studio.theme = theme->name;
  return JsonAnswer({{"saved", studio.session->StylePath()}});
}

}  // namespace tool
