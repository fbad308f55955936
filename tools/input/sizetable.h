// Size tables of the advicepath program: rows of the renderer's AdvicePathSizeSetting read
// from JSON, one row per scale index.
//
// A table in JSON is either a list of rows or an object {"sizes": [rows], "maxTurnScale": n}
// (the form of data/sizes.json); a row is an object with exactly the eleven field names of
// AdvicePathSizeSetting, each a whole number from 0 to 2147483647. The rows are the
// library's own records, ready for SetSize; only the exported header's declarations are
// needed, not the renderer library.
// Values only, no shared state; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_SIZETABLE_H_
#define ADVICEPATH_TOOLS_INPUT_SIZETABLE_H_

#include <array>
#include <cstddef>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "advicepathrenderex.h"

namespace tool {

// One field of AdvicePathSizeSetting: its JSON name and its member.
struct CSizeField {
  const char* name;
  int AdvicePathSizeSetting::*member;
};

// The eleven fields in the record's order.
constexpr std::size_t kSizeFieldCount = 11;
extern const std::array<CSizeField, kSizeFieldCount> kSizeFields;

struct CSizeTable {
  std::vector<AdvicePathSizeSetting> rows;  // row i is scale index i; at least one row
  std::optional<int> maxTurnScale;          // largest scale index of the turn arrow, when given
};

// Reads the rows of `rowsJson` (a JSON list) into `rows`. `where` names the list in
// messages ("sizes"). Returns false with a one-line message ("sizes[2]: missing field
// arrowWidth") for anything but a non-empty list of complete rows; `rows` is then undefined.
bool ParseSizeRows(const nlohmann::json& rowsJson, const std::string& where,
                   std::vector<AdvicePathSizeSetting>& rows, std::string& error);

// Reads a whole size-table document: a list of rows, or an object with "sizes" (a list of
// rows) and an optional "maxTurnScale" (a whole number); other members are ignored. False
// with a one-line message otherwise.
bool ParseSizeTable(const nlohmann::json& document, CSizeTable& table, std::string& error);

// Reads the size-table file at `path`. False with "<path>: <problem>" when the file cannot be
// read ("cannot read: ...") or is not a table as ParseSizeTable reads it.
bool LoadSizeTableFile(const std::string& path, CSizeTable& table, std::string& error);

// Reads the built-in size table (data/sizes.json, compiled into the program). Its rows
// match the scale ladder Torvane::CDisplayListMapView::DefaultLadder(): row i for scales up
// to ladder[i] metres per pixel, the last row beyond the ladder. False with a message only
// when the program was built from a broken data/sizes.json.
bool LoadDefaultSizeTable(CSizeTable& table, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_SIZETABLE_H_
