#include "input/sizetable.h"

#include <climits>
#include <nlohmann/json.hpp>

#include "input/embedded.h"
#include "input/inputfile.h"
#include "input/jsonread.h"

namespace tool {

const std::array<CSizeField, kSizeFieldCount> kSizeFields = {{
    {"pathWidth", &AdvicePathSizeSetting::pathWidth},
    {"pathBorderWidth", &AdvicePathSizeSetting::pathBorderWidth},
    {"arrowWidth", &AdvicePathSizeSetting::arrowWidth},
    {"arrowBorderWidth", &AdvicePathSizeSetting::arrowBorderWidth},
    {"arrowHeadParam", &AdvicePathSizeSetting::arrowHeadParam},
    {"arrowHeadBorderParam", &AdvicePathSizeSetting::arrowHeadBorderParam},
    {"arrowExitLength", &AdvicePathSizeSetting::arrowExitLength},
    {"arrowEnterLength", &AdvicePathSizeSetting::arrowEnterLength},
    {"arrowLengthTolerance", &AdvicePathSizeSetting::arrowLengthTolerance},
    {"arrowHeadLength", &AdvicePathSizeSetting::arrowHeadLength},
    {"arrowHeadHalfWidth", &AdvicePathSizeSetting::arrowHeadHalfWidth},
}};

namespace {

bool IsSizeField(const std::string& name) {
  for (const CSizeField& field : kSizeFields) {
    if (name == field.name) return true;
  }
  return false;
}

bool ParseSizeRow(const nlohmann::json& rowJson, const std::string& where,
                  AdvicePathSizeSetting& row, std::string& error) {
  if (!rowJson.is_object()) {
    error = where + ": a size row must be an object";
    return false;
  }
  // An unknown name is most likely a misspelt field: refused, so that it is not silently
  // replaced by nothing.
  for (const auto& item : rowJson.items()) {
    if (!IsSizeField(item.key())) {
      error = where + ": unknown field " + item.key();
      return false;
    }
  }
  for (const CSizeField& field : kSizeFields) {
    const auto found = rowJson.find(field.name);
    if (found == rowJson.end()) {
      error = where + ": missing field " + field.name;
      return false;
    }
    long long value = 0;
    if (!ReadInt(*found, where + "." + field.name, 0, INT_MAX, value, error)) return false;
    row.*field.member = static_cast<int>(value);
  }
  return true;
}

}  // namespace

bool ParseSizeRows(const nlohmann::json& rowsJson, const std::string& where,
                   std::vector<AdvicePathSizeSetting>& rows, std::string& error) {
  if (!rowsJson.is_array() || rowsJson.empty()) {
    error = where + ": must be a non-empty list of size rows";
    return false;
  }
  rows.assign(rowsJson.size(), AdvicePathSizeSetting{});
  for (std::size_t i = 0; i < rowsJson.size(); ++i) {
    if (!ParseSizeRow(rowsJson[i], where + "[" + std::to_string(i) + "]", rows[i], error)) {
      return false;
    }
  }
  return true;
}

bool ParseSizeTable(const nlohmann::json& document, CSizeTable& table, std::string& error) {
  table.maxTurnScale.reset();
  if (document.is_array()) return ParseSizeRows(document, "sizes", table.rows, error);
  if (!document.is_object() || !document.contains("sizes")) {
    error = "a size table must be a list of rows or an object with \"sizes\"";
    return false;
  }
  if (!ParseSizeRows(document["sizes"], "sizes", table.rows, error)) return false;
  if (document.contains("maxTurnScale")) {
    long long value = 0;
    if (!ReadInt(document["maxTurnScale"], "maxTurnScale", INT_MIN, INT_MAX, value, error)) {
      return false;
    }
    table.maxTurnScale = static_cast<int>(value);
  }
  return true;
}

bool LoadSizeTableFile(const std::string& path, CSizeTable& table, std::string& error) {
  std::string text;
  nlohmann::json document;
  if (ReadWholeFile(path, text, error) && ParseJsonText(text, document, error) &&
      ParseSizeTable(document, table, error)) {
    return true;
  }
  error = path + ": " + error;
  return false;
}

bool LoadDefaultSizeTable(CSizeTable& table, std::string& error) {
  nlohmann::json document;
  return ParseJsonText(EmbeddedSizeTable(), document, error) &&
         ParseSizeTable(document, table, error);
}

}  // namespace tool
