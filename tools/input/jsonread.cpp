#include "input/jsonread.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tool {

namespace {

// The parser's explanation without its prefix "[json.exception...] parse error at line L,
// column C: " (or just "[json.exception...] " for errors without a position), on one line.
std::string ParserReason(const char* what) {
  std::string reason = what;
  if (!reason.empty() && reason[0] == '[') {
    const std::size_t bracket = reason.find("] ");
    if (bracket != std::string::npos) reason.erase(0, bracket + 2);
  }
  const std::size_t column = reason.find("column ");
  const std::size_t colon = reason.find(": ", column == std::string::npos ? 0 : column);
  if (colon != std::string::npos) reason.erase(0, colon + 2);
  std::replace(reason.begin(), reason.end(), '\n', ' ');
  return reason;
}

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

}  // namespace

bool ParseJsonText(const std::string& text, nlohmann::json& document, std::string& error) {
  try {
    document = nlohmann::json::parse(text);
    return true;
  } catch (const nlohmann::json::parse_error& e) {
    // e.byte is the 1-based offset of the byte where the parser stopped.
    const std::size_t end = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
      if (text[i] == '\n') {
        ++line;
        lineStart = i + 1;
      }
    }
    error = "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1) +
            ": malformed JSON (" + ParserReason(e.what()) + ")";
    return false;
  } catch (const nlohmann::json::exception& e) {
    // A number beyond the range of a double (1e999) is refused after parsing, without a
    // position.
    error = "malformed JSON (" + ParserReason(e.what()) + ")";
    return false;
  }
}

bool ReadInt(const nlohmann::json& value, const std::string& where, long long low, long long high,
             long long& result, std::string& error) {
  bool inRange = false;
  if (value.is_number_unsigned()) {
    const auto number = value.get<unsigned long long>();
    inRange = high >= 0 && number <= static_cast<unsigned long long>(high) &&
              (low <= 0 || number >= static_cast<unsigned long long>(low));
    if (inRange) result = static_cast<long long>(number);
  } else if (value.is_number_integer()) {
    const auto number = value.get<long long>();
    inRange = number >= low && number <= high;
    if (inRange) result = number;
  }
  if (!inRange) {
    error = where + ": must be a whole number from " + std::to_string(low) + " to " +
            std::to_string(high);
  }
  return inRange;
}

bool ReadLonLat(const nlohmann::json& value, const std::string& where, tagLonLat& point,
                std::string& error) {
  if (!value.is_array() || value.size() < 2) {
    error = where + ": must be a position [lon, lat]";
    return false;
  }
  if (!value[0].is_number() || !value[1].is_number()) {
    error = where + ": coordinates must be numbers";
    return false;
  }
  const tagLonLat read = {value[0].get<double>(), value[1].get<double>()};
  if (!IsValidLonLat(read)) {
    error = where + ": [" + FormatNumber(read.lon) + ", " + FormatNumber(read.lat) +
            "] lies outside longitude (-180, 180) and latitude (-90, 90)";
    return false;
  }
  point = read;
  return true;
}

bool ReadBool(const nlohmann::json& value, const std::string& where, bool& result,
              std::string& error) {
  if (!value.is_boolean()) {
    error = where + ": must be true or false";
    return false;
  }
  result = value.get<bool>();
  return true;
}

}  // namespace tool
