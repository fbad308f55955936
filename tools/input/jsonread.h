// Reading the JSON documents of the advicepath program: parsing text with the position of a
// syntax error, and reading typed members with a message that says where a value is wrong.
//
// Every function reports failure as false plus a one-line message (without the file name;
// callers put it in front) and never throws: nlohmann::json's exceptions stop here.
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_JSONREAD_H_
#define ADVICEPATH_TOOLS_INPUT_JSONREAD_H_

#include <nlohmann/json.hpp>
#include <string>

#include "lonlat.h"

namespace tool {

// Parses `text` into `document`. False on a syntax error, with the message "line L, column
// C: malformed JSON (<what the parser expected>)"; lines and columns count from 1, in bytes.
bool ParseJsonText(const std::string& text, nlohmann::json& document, std::string& error);

// Reads `value` as a whole number from `low` to `high`. False with "<where>: must be a whole
// number from <low> to <high>" otherwise (a fraction, a string, out of range).
bool ReadInt(const nlohmann::json& value, const std::string& where, long long low, long long high,
             long long& result, std::string& error);

// Reads `value` as a position [lon, lat] in degrees (further numbers, such as a height, are
// ignored). False with "<where>: ..." unless both are numbers and the point lies strictly
// inside (-180, 180) x (-90, 90).
bool ReadLonLat(const nlohmann::json& value, const std::string& where, tagLonLat& point,
                std::string& error);

// Reads `value` as a boolean. False with "<where>: must be true or false" otherwise.
bool ReadBool(const nlohmann::json& value, const std::string& where, bool& result,
              std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_JSONREAD_H_
