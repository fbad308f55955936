// Style files of the advicepath program: what a team tunes, in one JSON document. A style is
// a size table (a size-table file is one, sizetable.h) and one or more themes, each with the
// four colours of AdvicePathClrSetting and the picture's background; a theme may carry a size
// table of its own (a large variant for low-vision drivers, say), which then replaces the
// style's for that theme.
//
//   {"note": "...", "maxTurnScale": 6, "sizes": [rows],
//    "themes": {"day":   {"pathColor": "0x000711F5", "pathBorderColor": ..., "arrowColor": ...,
//                         "arrowBorderColor": ..., "background": "0x00ECF1F3"},
//               "large": {..., "sizes": [rows], "maxTurnScale": 6}}}
//
// Colours are 0x00BBGGRR, as a number or a "0x..." string; a theme must give all five. Theme
// names are 1 to 32 letters, digits, '-' or '_'; themes are kept in name order. Other
// top-level members are ignored, as in a size-table file; a misspelt member of a theme is an
// error. Values only, no shared state; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_STYLE_H_
#define ADVICEPATH_TOOLS_INPUT_STYLE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "advicepathrenderex.h"
#include "input/sizetable.h"

namespace tool {

// The most themes a style holds: far more than a team keeps, few enough that a page or a
// check of all of them stays quick.
constexpr std::size_t kMaxThemes = 16;
// The longest theme name, characters.
constexpr std::size_t kMaxThemeNameLength = 32;

struct CTheme {
  std::string name;                 // "day"
  AdvicePathClrSetting colors;      // the four colours, 0x00BBGGRR
  unsigned background = 0;          // the picture's background, 0x00BBGGRR
  std::optional<CSizeTable> sizes;  // the theme's own table; empty: the style's
};

struct CStyle {
  std::string note;            // free text kept as it was read; empty when absent
  CSizeTable sizes;            // the style's table; maxTurnScale always set
  std::vector<CTheme> themes;  // at least one, in name order, names unique

  // The theme named `name`, or null.
  const CTheme* FindTheme(const std::string& name) const;
  // The table `theme` is drawn with: its own, else the style's.
  const CSizeTable& TableOf(const CTheme& theme) const;
  // The theme used when none is named: "day" when there is one, else the first.
  const CTheme& DefaultTheme() const;
};

// Reads a style document. False with a one-line message ("themes.night.background: a colour
// must be a number or \"0x00BBGGRR\"") for anything but a style as described above: no
// "themes" or an empty one, more than kMaxThemes, a bad name, a missing or unknown colour
// member, a bad table, or a table without "maxTurnScale". `style` is then undefined.
bool ParseStyle(const nlohmann::json& document, CStyle& style, std::string& error);

// Reads the style in `text`. `name` names the file in messages: "<name>: <problem>", with the
// line and column of a JSON syntax error.
bool ParseStyleText(const std::string& text, const std::string& name, CStyle& style,
                    std::string& error);

// Reads the style file at `path`. False with "<path>: cannot read: <reason>" or as
// ParseStyleText.
bool LoadStyleFile(const std::string& path, CStyle& style, std::string& error);

// The built-in style (data/style.json, compiled in), and its text as it is written by
// `advicepath style`. False only for a program built from a broken data/style.json.
bool LoadDefaultStyle(CStyle& style, std::string& error);
std::string DefaultStyleText();

// The style as JSON text that ParseStyleText reads back to the same style: one size row per
// line, colours as "0x00BBGGRR", ending in a newline.
std::string FormatStyle(const CStyle& style);

// Whether `name` may name a theme: 1 to kMaxThemeNameLength letters, digits, '-' or '_'.
bool IsThemeName(const std::string& name);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_STYLE_H_
