#include "input/style.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "input/embedded.h"
#include "input/inputfile.h"
#include "input/jsonread.h"
#include "input/routefile.h"

namespace tool {

namespace {

using nlohmann::json;

constexpr const char* kBackgroundName = "background";

// Reads a table: "sizes" and "maxTurnScale" of `object`, both required. `where` names the
// object in messages ("" for the top level).
bool ParseTable(const json& object, const std::string& where, CSizeTable& table,
                std::string& error) {
  const std::string prefix = where.empty() ? std::string() : where + ".";
  if (!object.contains("sizes") || !object.contains("maxTurnScale")) {
    error = prefix + (object.contains("sizes") ? "maxTurnScale" : "sizes") + ": missing";
    return false;
  }
  if (!ParseSizeRows(object["sizes"], prefix + "sizes", table.rows, error)) return false;
  long long value = 0;
  if (!ReadInt(object["maxTurnScale"], prefix + "maxTurnScale", INT_MIN, INT_MAX, value, error)) {
    return false;
  }
  table.maxTurnScale = static_cast<int>(value);
  return true;
}

bool IsColorName(const std::string& name) {
  if (name == kBackgroundName) return true;
  for (const CColorField& field : kColorFields) {
    if (name == field.name) return true;
  }
  return false;
}

bool ParseTheme(const std::string& name, const json& object, CTheme& theme, std::string& error) {
  const std::string where = "themes." + name;
  if (!IsThemeName(name)) {
    error = "themes: '" + name + "' is not a theme name (1 to 32 letters, digits, - or _)";
    return false;
  }
  if (!object.is_object()) {
    error = where + ": a theme must be an object";
    return false;
  }
  for (const auto& item : object.items()) {
    if (!IsColorName(item.key()) && item.key() != "sizes" && item.key() != "maxTurnScale") {
      error = where + ": unknown member " + item.key();
      return false;
    }
  }
  theme.name = name;
  for (const CColorField& field : kColorFields) {
    if (!object.contains(field.name)) {
      error = where + ": missing colour " + field.name;
      return false;
    }
    if (!ReadColor(object[field.name], where + "." + field.name, theme.colors.*field.member,
                   error)) {
      return false;
    }
  }
  if (!object.contains(kBackgroundName)) {
    error = where + ": missing colour background";
    return false;
  }
  if (!ReadColor(object[kBackgroundName], where + ".background", theme.background, error)) {
    return false;
  }
  if (object.contains("sizes") || object.contains("maxTurnScale")) {
    theme.sizes.emplace();
    if (!ParseTable(object, where, *theme.sizes, error)) return false;
  }
  return true;
}

std::string Hex(unsigned color) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", color);
  return text;
}

// The members of a table, one size row per line, each line starting with `indent`.
std::string FormatTable(const CSizeTable& table, const std::string& indent) {
  std::string text = indent +
                     "\"maxTurnScale\": " + std::to_string(table.maxTurnScale.value_or(0)) + ",\n" +
                     indent + "\"sizes\": [\n";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    std::string line = indent + " {";
    for (std::size_t f = 0; f < kSizeFields.size(); ++f) {
      line += (f == 0 ? "\"" : ", \"") + std::string(kSizeFields[f].name) +
              "\": " + std::to_string(table.rows[i].*kSizeFields[f].member);
    }
    text += line + (i + 1 < table.rows.size() ? "},\n" : "}\n");
  }
  return text + indent + "]";
}

}  // namespace

const CTheme* CStyle::FindTheme(const std::string& name) const {
  for (const CTheme& theme : themes) {
    if (theme.name == name) return &theme;
  }
  return nullptr;
}

const CSizeTable& CStyle::TableOf(const CTheme& theme) const {
  return theme.sizes ? *theme.sizes : sizes;
}

const CTheme& CStyle::DefaultTheme() const {
  const CTheme* day = FindTheme("day");
  return day != nullptr ? *day : themes.front();
}

bool IsThemeName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxThemeNameLength &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
         });
}

bool ParseStyle(const json& document, CStyle& style, std::string& error) {
  style = CStyle();
  if (!document.is_object()) {
    error = "a style must be an object with \"sizes\", \"maxTurnScale\" and \"themes\"";
    return false;
  }
  if (!ParseTable(document, "", style.sizes, error)) return false;
  if (document.contains("note")) {
    if (!document["note"].is_string()) {
      error = "note: must be text";
      return false;
    }
    style.note = document["note"].get<std::string>();
  }
  const auto themes = document.find("themes");
  if (themes == document.end() || !themes->is_object() || themes->empty()) {
    error = "themes: must be an object of one or more themes";
    return false;
  }
  if (themes->size() > kMaxThemes) {
    error = "themes: " + std::to_string(themes->size()) + " themes, at most " +
            std::to_string(kMaxThemes);
    return false;
  }
  // nlohmann::json keeps an object's members in name order: so are the themes.
  for (const auto& item : themes->items()) {
    style.themes.emplace_back();
    if (!ParseTheme(item.key(), item.value(), style.themes.back(), error)) return false;
  }
  return true;
}

bool ParseStyleText(const std::string& text, const std::string& name, CStyle& style,
                    std::string& error) {
  json document;
  if (ParseJsonText(text, document, error) && ParseStyle(document, style, error)) return true;
  error = name + ": " + error;
  return false;
}

bool LoadStyleFile(const std::string& path, CStyle& style, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, text, error)) {
    error = path + ": " + error;
    return false;
  }
  return ParseStyleText(text, path, style, error);
}

std::string DefaultStyleText() { return EmbeddedStyle(); }

bool LoadDefaultStyle(CStyle& style, std::string& error) {
  return ParseStyleText(EmbeddedStyle(), "(built-in style)", style, error);
}

std::string FormatStyle(const CStyle& style) {
  std::string text = "{\n";
  if (!style.note.empty()) text += " \"note\": " + json(style.note).dump() + ",\n";
  text += FormatTable(style.sizes, " ") + ",\n \"themes\": {\n";
  for (std::size_t t = 0; t < style.themes.size(); ++t) {
    const CTheme& theme = style.themes[t];
    text += "  " + json(theme.name).dump() + ": {\n";
    for (const CColorField& field : kColorFields) {
      text +=
          "   \"" + std::string(field.name) + "\": \"" + Hex(theme.colors.*field.member) + "\",\n";
    }
    text += "   \"background\": \"" + Hex(theme.background) + "\"";
    if (theme.sizes) text += ",\n" + FormatTable(*theme.sizes, "   ");
    text += t + 1 < style.themes.size() ? "\n  },\n" : "\n  }\n";
  }
  return text + " }\n}\n";
}

}  // namespace tool
