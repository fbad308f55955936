#include "input/routerjson.h"

#include "input/inputfile.h"
#include "input/jsonread.h"

namespace tool {

using nlohmann::json;

std::string MemberPath(const std::string& where, const char* name) {
  return where.empty() ? std::string(name) : where + "." + name;
}

std::string ItemPath(const std::string& where, std::size_t index) {
  return where + "[" + std::to_string(index) + "]";
}

const json* FindMember(const json& object, const char* name) {
  if (!object.is_object() || !object.contains(name)) return nullptr;
  const json& member = object[name];
  return member.is_null() ? nullptr : &member;
}

bool FindList(const json& object, const char* name, const std::string& where, const json*& list,
              std::string& error) {
  list = FindMember(object, name);
  if (list == nullptr || list->is_array()) return true;
  error = MemberPath(where, name) + ": must be a list";
  return false;
}

bool GetObjectItem(const json& list, std::size_t index, const std::string& where, const json*& item,
                   std::string& error) {
  item = &list[index];
  if (item->is_object()) return true;
  error = ItemPath(where, index) + ": must be an object";
  return false;
}

bool PickAlternative(const json& document, const char* name, int alternative, const json*& route,
                     std::string& error) {
  const json* list = nullptr;
  if (!FindList(document, name, "", list, error)) return false;
  const std::size_t count = list == nullptr ? 0 : list->size();
  if (count == 0) {
    error = std::string(name) + ": the answer holds no route";
    return false;
  }
  if (alternative < 0 || static_cast<std::size_t>(alternative) >= count) {
    error = "alternative " + std::to_string(alternative) + ": the answer holds " +
            std::to_string(count) +
            (count == 1 ? " route" : " routes, 0 to " + std::to_string(count - 1));
    return false;
  }
  return GetObjectItem(*list, static_cast<std::size_t>(alternative), name, route, error);
}

bool ReadTextMember(const json& object, const char* name, const std::string& where,
                    std::string& text, std::string& error) {
  const json* member = FindMember(object, name);
  if (member == nullptr) return true;
  if (!member->is_string()) {
    error = MemberPath(where, name) + ": must be text";
    return false;
  }
  text = member->get<std::string>();
  return true;
}

bool ReadIntMember(const json& object, const char* name, const std::string& where, long long low,
                   long long high, long long& number, std::string& error) {
  const json* member = FindMember(object, name);
  return member == nullptr || ReadInt(*member, MemberPath(where, name), low, high, number, error);
}

bool ReadLineString(const json& geometry, const std::string& where, std::vector<tagLonLat>& points,
                    std::string& error) {
  const json* type = FindMember(geometry, "type");
  const json* coordinates = FindMember(geometry, "coordinates");
  if (type == nullptr || *type != "LineString" || coordinates == nullptr ||
      !coordinates->is_array()) {
    error = where + ": must be a GeoJSON LineString";
    return false;
  }
  points.resize(coordinates->size());
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (!ReadLonLat((*coordinates)[k], ItemPath(MemberPath(where, "coordinates"), k), points[k],
                    error)) {
      return false;
    }
  }
  return true;
}

std::string RouterRefused(const std::string& code, const std::string& message) {
  return OneLine("the router answered" + (code.empty() ? "" : " " + code) +
                 (message.empty() ? "" : ": " + message));
}

}  // namespace tool
