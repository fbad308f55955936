// The audit of one turn at one scale index: the library's arrow as recorded for the frame,
// whether it fits a picture centred as `render` centres it, and how far it reaches along the
// route past the node of the next turn.
//
// Past the next turn: the arrow's reach is measured along the route from the turn's node to
// its tip, through the strokes the library drew after the node and on to the head's tip; the
// next turn is the one whose node comes next along the route. An arrow whose tip lies more
// than the row's arrowBorderWidth pixels past that node points beyond the next decision: a
// finding. Where the next turn enters from this turn's exit guide (or one before it), the
// library draws the whole exit guide and more past the node whatever the table says: that is
// a note about the route, not a finding about the table.
//
// Recording touches the route manager's origin and destination (frame/record.h). One thread.
#ifndef ADVICEPATH_TOOLS_AUDIT_TURNAUDIT_H_
#define ADVICEPATH_TOOLS_AUDIT_TURNAUDIT_H_

#include <optional>
#include <string>

#include "frame/plan.h"
#include "frame/record.h"
#include "frame/setup.h"
#include "frame/turns.h"

namespace tool {

// How far an arrow reaches past the next turn's node.
struct CPastNextTurn {
  int nextTurn = -1;     // its index in the route's turns
  double metres = 0.0;   // along the route, tip beyond the next node (negative: short of it)
  double pixels = 0.0;   // the same at the frame's scale
  double limitPx = 0.0;  // the finding's threshold: the row's arrowBorderWidth
  bool Exceeds() const { return pixels > limitPx; }
};

// One turn at one scale index.
struct CTurnCheck {
  int turn = -1;  // index in the route's turns (-1: a turn not listed)
  int scaleIndex = 0;
  CFramePlan plan;  // the picture's: whether the arrow paints, and how far it runs out
  std::optional<CPastNextTurn> pastNext;  // for a turn with a next turn beyond its exit guide
};

// The turn that comes next after `turnIndex` along `route`: the one whose node (the end of
// its enter guide) lies least far beyond this turn's node. -1 when none does.
int NextTurn(const CRouteFile& route, int turnIndex);

// Whether the library draws every arrow of `turn` past the node of `next` whatever the table:
// `next` enters from `turn`'s exit guide or one before it.
bool ExitGuideReachesNextNode(const CRouteTurn& turn, const CRouteTurn& next);

// Metres along the route from the node of `turn` to the tip of the arrow in `record`: the
// strokes after the node, then straight on to the head's tip. Where the head lies over a bend
// its straight axis is a little shorter than the road under it (a few metres on a
// roundabout). -1 when the record holds no arrow, or no stroke of it ends at the node.
double ArrowReachMetres(const CFrameRecord& record, const CFrameSetup& setup,
                        const CRouteTurn& turn);

// Records `turn` at `scaleIndex`, places it in a widthPx x heightPx picture and measures it.
// False with a message when the library refuses the set-up.
bool CheckTurnAtScale(const CFrameSetup& setup, const CChosenTurn& turn, int scaleIndex,
                      int widthPx, int heightPx, CTurnCheck& check, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_AUDIT_TURNAUDIT_H_
