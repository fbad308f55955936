#include "frame/turns.h"

namespace tool {

namespace {

CChosenTurn Listed(const CRouteFile& route, int index) {
  const std::string name = "turn " + std::to_string(index);
  return {route.turns[static_cast<std::size_t>(index)],
          name + " of " + std::to_string(route.turns.size()), name, index};
}

std::string PastTheList(const CRouteFile& route, const std::string& option, int index) {
  return route.fileName + ": " + option + " " + std::to_string(index) + ": the route has " +
         std::to_string(route.turns.size()) + " turns";
}

}  // namespace

bool ChooseTurn(const CRouteFile& route, const CTurnRequest& request,
                std::optional<CChosenTurn>& chosen, std::string& error) {
  chosen.reset();
  if (request.enter && request.exit) {
    CRouteTurn turn;
    turn.enter = *request.enter;
    turn.exit = *request.exit;
    turn.type = request.type.value_or(0);
    if (!CheckTurn(route, turn, "--enter/--exit", error)) {
      error = route.fileName + ": " + error;
      return false;
    }
    const std::string label =
        "guides " + std::to_string(turn.enter) + " -> " + std::to_string(turn.exit);
    chosen = CChosenTurn{turn, label, label};
  } else if (request.index) {
    if (static_cast<std::size_t>(*request.index) >= route.turns.size()) {
      error = PastTheList(route, "--turn", *request.index);
      return false;
    }
    chosen = Listed(route, *request.index);
  } else if (route.turn) {
    chosen = CChosenTurn{*route.turn, "the file's turn", "the file's turn"};
  } else if (!route.turns.empty()) {
    chosen = Listed(route, 0);
  }
  return true;
}

bool ChooseTurns(const CRouteFile& route, const std::optional<std::vector<int>>& indices,
                 const std::string& option, std::vector<CChosenTurn>& turns, std::string& error) {
  turns.clear();
  const int count = static_cast<int>(route.turns.size());
  if (!indices) {
    for (int k = 0; k < count; ++k) turns.push_back(Listed(route, k));
    return true;
  }
  for (const int k : *indices) {
    if (k < 0 || k >= count) {
      error = PastTheList(route, option, k);
      return false;
    }
    turns.push_back(Listed(route, k));
  }
  return true;
}

}  // namespace tool
