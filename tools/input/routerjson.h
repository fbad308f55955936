// Reading the JSON answers of routers (OSRM, Valhalla, GraphHopper): optional members, lists,
// text, numbers and LineString geometry, each with a message that names the member
// ("routes[0].legs[1].steps[2].name: must be text"). A member that is null counts as absent.
//
// Like jsonread.h, every function reports failure as false plus a one-line message without
// the file name, and never throws. Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_ROUTERJSON_H_
#define ADVICEPATH_TOOLS_INPUT_ROUTERJSON_H_

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "lonlat.h"

namespace tool {

// "<where>.<name>", or just the name at the top level (`where` empty).
std::string MemberPath(const std::string& where, const char* name);

// "<where>[<index>]".
std::string ItemPath(const std::string& where, std::size_t index);

// The member `name` of `object`; null when `object` is no object or the member is absent or
// null. Borrowed: valid while `object` lives unchanged.
const nlohmann::json* FindMember(const nlohmann::json& object, const char* name);

// The member `name` of `object` as a list; null when absent. False with "<path>: must be a
// list" for another kind of value.
bool FindList(const nlohmann::json& object, const char* name, const std::string& where,
              const nlohmann::json*& list, std::string& error);

// The item `index` of `list` as an object. False with "<path>[i]: must be an object".
bool GetObjectItem(const nlohmann::json& list, std::size_t index, const std::string& where,
                   const nlohmann::json*& item, std::string& error);

// The route `alternative` (0 the first) of the list member `name` of `document`, as an object.
// False with "<name>: ..." when the list is missing or not a list of objects, or "alternative
// N: the answer holds K route(s)" when it is too short.
bool PickAlternative(const nlohmann::json& document, const char* name, int alternative,
                     const nlohmann::json*& route, std::string& error);

// Reads the optional text member `name` of `object` into `text`; absent leaves `text`
// unchanged. False with "<path>: must be text" for another kind of value.
bool ReadTextMember(const nlohmann::json& object, const char* name, const std::string& where,
                    std::string& text, std::string& error);

// Reads the optional whole-number member `name` of `object`, from `low` to `high`, into
// `number`; absent leaves it unchanged. False as jsonread.h's ReadInt otherwise.
bool ReadIntMember(const nlohmann::json& object, const char* name, const std::string& where,
                   long long low, long long high, long long& number, std::string& error);

// Reads a GeoJSON LineString {"type": "LineString", "coordinates": [[lon, lat], ...]} into
// `points` (degrees; a third number, a height, is ignored). False with "<where>: ..." for
// another kind of geometry or a position as ReadLonLat refuses it.
bool ReadLineString(const nlohmann::json& geometry, const std::string& where,
                    std::vector<tagLonLat>& points, std::string& error);

// The message for a router's error answer: "the router answered <code>: <message>", without
// an empty code or message, and with line breaks and other control characters as spaces.
std::string RouterRefused(const std::string& code, const std::string& message);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_ROUTERJSON_H_
