// The turns a command draws: the one of a one-frame command, or the rows of a sheet and an
// audit, each with how it was chosen, for captions and messages.
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_FRAME_TURNS_H_
#define ADVICEPATH_TOOLS_FRAME_TURNS_H_

#include <optional>
#include <string>
#include <vector>

#include "input/routefile.h"

namespace tool {

// A turn to draw, and how it was chosen, for captions and messages.
struct CChosenTurn {
  CRouteTurn turn;
  std::string label;       // "turn 2 of 6", "guides 3 -> 4" or "the file's turn"
  std::string shortLabel;  // "turn 2" for a listed turn, else the label
  int index = -1;          // its index in the route's "turns"; -1 for a turn not listed
};

// What a one-frame command asks for: a listed turn, or a turn given by its guides (enter and
// exit together, with an optional type, default 0).
struct CTurnRequest {
  std::optional<int> index;
  std::optional<int> enter;
  std::optional<int> exit;
  std::optional<int> type;
};

// The turn of a one-frame command: the request's guides, its listed turn, the route's
// "turn", the first of its "turns", or none (`chosen` empty). False with a message naming the
// route file for a turn that is not on the route.
bool ChooseTurn(const CRouteFile& route, const CTurnRequest& request,
                std::optional<CChosenTurn>& chosen, std::string& error);

// The turns of a many-frame command: those of `indices`, else all of the route's "turns", in
// that order. `option` names the list in messages ("--turns"). False with a message naming the
// route file for an index past the list.
bool ChooseTurns(const CRouteFile& route, const std::optional<std::vector<int>>& indices,
                 const std::string& option, std::vector<CChosenTurn>& turns, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_FRAME_TURNS_H_
