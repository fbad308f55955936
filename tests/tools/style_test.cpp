// Style files: the built-in style, what a saved style reads back as, and each kind of bad
// style refused with a message that says where.
#include "input/style.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "input/sizetable.h"

namespace {

using tool::CStyle;

// A theme member with every colour, `extra` members added.
std::string Theme(const std::string& extra = "") {
  return R"({"pathColor": 1, "pathBorderColor": "0x2", "arrowColor": 3, "arrowBorderColor": 4,
             "background": "0x00ECF1F3")" +
         extra + "}";
}

// A style document with one row and the given themes member.
std::string Style(const std::string& themes) {
  return R"({"maxTurnScale": 2, "sizes": [{"pathWidth": 1, "pathBorderWidth": 2,
             "arrowWidth": 3, "arrowBorderWidth": 4, "arrowHeadParam": 5,
             "arrowHeadBorderParam": 6, "arrowExitLength": 7, "arrowEnterLength": 8,
             "arrowLengthTolerance": 9, "arrowHeadLength": 10, "arrowHeadHalfWidth": 11}],
             "themes": )" +
         themes + "}";
}

bool SameRows(const tool::CSizeTable& a, const tool::CSizeTable& b) {
  return a.maxTurnScale == b.maxTurnScale && a.rows.size() == b.rows.size() &&
         std::memcmp(a.rows.data(), b.rows.data(), a.rows.size() * sizeof a.rows[0]) == 0;
}

TEST(CStyleTest, DefaultStyleHasDayNightAndALargeTableOfItsOwn) {
  CStyle style;
  std::string error;
  ASSERT_TRUE(tool::LoadDefaultStyle(style, error)) << error;
  ASSERT_EQ(style.themes.size(), 3u);
  EXPECT_EQ(style.DefaultTheme().name, "day");
  const tool::CTheme* day = style.FindTheme("day");
  const tool::CTheme* large = style.FindTheme("large");
  ASSERT_NE(day, nullptr);
  ASSERT_NE(large, nullptr);
  ASSERT_NE(style.FindTheme("night"), nullptr);
  // The day theme has the library's colours and the default table, but for rows 5 and 6,
  // whose arrows end sooner after the exit guide.
  const AdvicePathClrSetting defaults;
  EXPECT_EQ(std::memcmp(&day->colors, &defaults, sizeof defaults), 0);
  tool::CSizeTable table;
  ASSERT_TRUE(tool::LoadDefaultSizeTable(table, error)) << error;
  const tool::CSizeTable& shared = style.TableOf(*day);
  ASSERT_EQ(shared.rows.size(), table.rows.size());
  EXPECT_EQ(shared.maxTurnScale, table.maxTurnScale);
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const bool tuned = i == 5 || i == 6;
    EXPECT_EQ(std::memcmp(&shared.rows[i], &table.rows[i], sizeof table.rows[i]) == 0, !tuned) << i;
    if (tuned) {
      EXPECT_LT(shared.rows[i].arrowExitLength, table.rows[i].arrowExitLength) << i;
    }
  }
  // The large variant: wider strokes and a longer head in every row.
  ASSERT_TRUE(large->sizes.has_value());
  ASSERT_EQ(large->sizes->rows.size(), table.rows.size());
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    EXPECT_GT(large->sizes->rows[i].arrowWidth, table.rows[i].arrowWidth) << i;
    EXPECT_GT(large->sizes->rows[i].arrowHeadLength, table.rows[i].arrowHeadLength) << i;
  }
}

TEST(CStyleTest, FormattedStyleReadsBackTheSame) {
  CStyle style;
  std::string error;
  ASSERT_TRUE(tool::LoadDefaultStyle(style, error)) << error;
  style.note = "a \"quoted\" note";
  style.themes[0].colors.pathColor = 0x00ABCDEFu;
  style.themes[0].background = 0u;
  style.sizes.rows[3].arrowWidth = 2147483647;
  CStyle again;
  ASSERT_TRUE(tool::ParseStyleText(tool::FormatStyle(style), "saved", again, error)) << error;
  EXPECT_EQ(again.note, style.note);
  EXPECT_TRUE(SameRows(again.sizes, style.sizes));
  ASSERT_EQ(again.themes.size(), style.themes.size());
  for (std::size_t t = 0; t < style.themes.size(); ++t) {
    const tool::CTheme& a = again.themes[t];
    const tool::CTheme& b = style.themes[t];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(std::memcmp(&a.colors, &b.colors, sizeof a.colors), 0) << a.name;
    EXPECT_EQ(a.background, b.background) << a.name;
    EXPECT_EQ(a.sizes.has_value(), b.sizes.has_value()) << a.name;
    if (a.sizes && b.sizes) {
      EXPECT_TRUE(SameRows(*a.sizes, *b.sizes)) << a.name;
    }
  }
}

TEST(CStyleTest, ThemesAreKeptInNameOrderAndDayIsTheDefaultOnlyWhenPresent) {
  CStyle style;
  std::string error;
  ASSERT_TRUE(tool::ParseStyleText(
      Style(R"({"zebra": )" + Theme() + R"(, "alpha": )" + Theme() + "}"), "s", style, error))
      << error;
  ASSERT_EQ(style.themes.size(), 2u);
  EXPECT_EQ(style.themes[0].name, "alpha");
  EXPECT_EQ(style.DefaultTheme().name, "alpha");
  EXPECT_EQ(style.themes[1].colors.pathBorderColor, 2u);
  EXPECT_EQ(style.themes[1].background, 0x00ECF1F3u);
}

TEST(CStyleTest, RejectsBadStylesSayingWhere) {
  std::string many = "{";
  for (int i = 0; i < 17; ++i) many += (i ? ", \"t" : "\"t") + std::to_string(i) + "\": " + Theme();
  many += "}";
  const struct {
    std::string text;
    const char* error;
  } kCases[] = {
      {"[]", "s: a style must be an object"},
      {R"({"sizes": [], "themes": {}})", "s: maxTurnScale: missing"},
      {Style("{}"), "s: themes: must be an object of one or more themes"},
      {Style("[]"), "s: themes: must be an object of one or more themes"},
      {Style(many), "s: themes: 17 themes, at most 16"},
      {Style(R"({"night mode": )" + Theme() + "}"), "s: themes: 'night mode' is not a theme name"},
      {Style(R"({"day": 3})"), "s: themes.day: a theme must be an object"},
      {Style(R"({"day": {"pathColor": 1}})"), "s: themes.day: missing colour pathBorderColor"},
      {Style(R"({"day": )" + Theme(R"(, "pathColour": 5)") + "}"),
       "s: themes.day: unknown member pathColour"},
      {Style(R"({"day": {"pathColor": 1, "pathBorderColor": 2, "arrowColor": 3,
                          "arrowBorderColor": 4, "background": "grey"}})"),
       "s: themes.day.background: a colour must be"},
      {Style(R"({"day": )" + Theme(R"(, "sizes": [])") + "}"),
       "s: themes.day.maxTurnScale: missing"},
      {Style(R"({"day": )" + Theme(R"(, "sizes": [], "maxTurnScale": 1)") + "}"),
       "s: themes.day.sizes: must be a non-empty list of size rows"},
  };
  for (const auto& c : kCases) {
    CStyle style;
    std::string error;
    EXPECT_FALSE(tool::ParseStyleText(c.text, "s", style, error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
}

}  // namespace
