// Size tables: the two accepted forms, bad tables, the field order, and the built-in table's
// rows against the scale ladder they are made for.
#include "input/sizetable.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "frame/ladder.h"
#include "input/jsonread.h"
#include "mapservice.h"

namespace {

using tool::CSizeTable;

bool Parse(const std::string& text, CSizeTable& table, std::string& error) {
  nlohmann::json document;
  return tool::ParseJsonText(text, document, error) && tool::ParseSizeTable(document, table, error);
}

// A row in JSON whose field i holds i + 1.
std::string NumberedRow() {
  nlohmann::json row;
  for (std::size_t i = 0; i < tool::kSizeFields.size(); ++i) {
    row[tool::kSizeFields[i].name] = i + 1;
  }
  return row.dump();
}

TEST(CSizeTableTest, ReadsAListOrAnObjectWithMaxTurnScale) {
  const std::string row = NumberedRow();
  CSizeTable table;
  std::string error;
  ASSERT_TRUE(Parse("[" + row + "," + row + "]", table, error)) << error;
  EXPECT_EQ(table.rows.size(), 2u);
  EXPECT_FALSE(table.maxTurnScale.has_value());
  ASSERT_TRUE(Parse(R"({"note": "x", "maxTurnScale": -1, "sizes": [)" + row + "]}", table, error))
      << error;
  EXPECT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.maxTurnScale, -1);
}

TEST(CSizeTableTest, RejectsBadTables) {
  const std::string row = NumberedRow();
  std::string withExtra = row;
  withExtra.insert(1, R"("pathwidth": 3, )");
  const struct {
    std::string text;
    const char* expected;
  } kCases[] = {
      {"[]", "sizes: must be a non-empty list of size rows"},
      {"[" + row + ", 5]", "sizes[1]: a size row must be an object"},
      {"[" + withExtra + "]", "sizes[0]: unknown field pathwidth"},
      {R"([{"pathWidth": 1}])", "sizes[0]: missing field pathBorderWidth"},
      {R"({"sizes": [)" + row + R"(], "maxTurnScale": "6"})",
       "maxTurnScale: must be a whole number"},
      {R"({"rows": []})", "a size table must be a list of rows or an object with \"sizes\""},
  };
  for (const auto& c : kCases) {
    CSizeTable table;
    std::string error;
    EXPECT_FALSE(Parse(c.text, table, error)) << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
  }
  nlohmann::json negative = nlohmann::json::parse(row);
  negative["arrowExitLength"] = -5;
  CSizeTable table;
  std::string error;
  EXPECT_FALSE(Parse("[" + negative.dump() + "]", table, error));
  EXPECT_EQ(error, "sizes[0].arrowExitLength: must be a whole number from 0 to 2147483647");
}

TEST(CSizeTableTest, EachNamedValueReachesTheRecordFieldOfThatName) {
  CSizeTable table;
  std::string error;
  ASSERT_TRUE(Parse("[" + NumberedRow() + "]", table, error)) << error;
  const AdvicePathSizeSetting& setting = table.rows[0];
  // The JSON row holds i + 1 in the i-th name of the record's declaration order.
  EXPECT_EQ(setting.pathWidth, 1);
  EXPECT_EQ(setting.pathBorderWidth, 2);
  EXPECT_EQ(setting.arrowWidth, 3);
  EXPECT_EQ(setting.arrowBorderWidth, 4);
  EXPECT_EQ(setting.arrowHeadParam, 5);
  EXPECT_EQ(setting.arrowHeadBorderParam, 6);
  EXPECT_EQ(setting.arrowExitLength, 7);
  EXPECT_EQ(setting.arrowEnterLength, 8);
  EXPECT_EQ(setting.arrowLengthTolerance, 9);
  EXPECT_EQ(setting.arrowHeadLength, 10);
  EXPECT_EQ(setting.arrowHeadHalfWidth, 11);
}

TEST(CSizeTableTest, BuiltInTableHasARowForEveryScaleOfTheLadder) {
  CSizeTable table;
  std::string error;
  ASSERT_TRUE(tool::LoadDefaultSizeTable(table, error)) << error;
  EXPECT_EQ(table.rows.size(),
            static_cast<std::size_t>(tool::CScaleLadder::Default().HighestIndex()) + 1);
  ASSERT_TRUE(table.maxTurnScale.has_value());
  EXPECT_GE(*table.maxTurnScale, 0);
  EXPECT_LT(*table.maxTurnScale, static_cast<int>(table.rows.size()));
}

// Every row, seen at the scale the program shows it at, makes an arrow the renderer accepts
// and that reads well: borders show, the head is wider than the stroke with its border, the
// head's outline border equals the strokes' border, and the arrow spans a sensible length.
TEST(CSizeTableTest, EveryBuiltInRowMakesAWellFormedArrow) {
  CSizeTable table;
  std::string error;
  ASSERT_TRUE(tool::LoadDefaultSizeTable(table, error)) << error;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const AdvicePathSizeSetting& row = table.rows[i];
    const double metresPerPixel = tool::CScaleLadder::Default().MetresPerPixel(static_cast<int>(i));
    SCOPED_TRACE("row " + std::to_string(i));
    // The renderer refuses a tolerance above either length.
    EXPECT_LE(row.arrowLengthTolerance, row.arrowEnterLength);
    EXPECT_LE(row.arrowLengthTolerance, row.arrowExitLength);
    EXPECT_GT(row.pathBorderWidth, row.pathWidth);
    EXPECT_GT(row.arrowBorderWidth, row.arrowWidth);
    EXPECT_EQ(row.arrowHeadBorderParam, row.arrowBorderWidth - row.arrowWidth);
    EXPECT_GT(row.arrowHeadHalfWidth / metresPerPixel, row.arrowBorderWidth / 2.0 + 4.0);
    const double arrowPx = (row.arrowEnterLength + row.arrowExitLength) / metresPerPixel;
    EXPECT_GT(arrowPx, 100.0);
    EXPECT_LT(arrowPx, 300.0);
  }
}

}  // namespace
