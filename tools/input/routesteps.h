// From a router's steps to the guides and turns of a route: the rules every router reader
// shares, in one place, so that the readers only translate their router's vocabulary.
//
// A step is one manoeuvre of the router's answer (an OSRM step, a Valhalla manoeuvre, a
// GraphHopper instruction, a GPX route point) with the geometry from its manoeuvre point to
// the next one. Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_ROUTESTEPS_H_
#define ADVICEPATH_TOOLS_INPUT_ROUTESTEPS_H_

#include <string>
#include <vector>

#include "input/routefile.h"
#include "lonlat.h"

namespace tool {

// What a step's manoeuvre is, as far as turns go.
enum class CStepKind {
  kTurn,            // a manoeuvre at the step's first point: one turn of the step's type
  kDeparture,       // the start of the route or of a leg after a via point: no turn
  kArrival,         // the end of the route or of a leg at a via point: no turn
  kRoundaboutExit,  // the exit of the roundabout entered by the step before: no turn of its
                    // own; the entry's turn exits onto this step's road
};

struct CRouteStep {
  std::vector<tagLonLat> points;  // degrees, from this manoeuvre to the next, as the router
                                  // gives them; may be empty or of zero length
  std::string road;               // the road the step follows: its name, else its ref
  CStepKind kind = CStepKind::kTurn;
  int type = 0;      // a NAV_TURN_TYPE_tag value, 0 to 9, for a kTurn step
  std::string note;  // the router's own words for the manoeuvre
};

// Replaces the guides, turns, origin and destination of `route` with those of `steps`, the
// steps of every leg of one route in travel order:
//  - one guide per step, named after its road. A step whose points are all equal (or that has
//    fewer than two) is dropped. When a step does not start where the guide before it ends, that
//    end point is put in front of its points, so that consecutive guides share their joining
//    point exactly.
//  - one turn per kTurn step, entering the guide before the step and exiting the step's guide;
//    a roundabout (type 9) followed by a kRoundaboutExit step exits that step's guide instead,
//    so that its arrow runs through the ring. A dropped guide is replaced by the nearest kept
//    one before (enter) or after (exit) it; a turn with no guide left on either side is
//    dropped.
//  - origin and destination: the first and the last point of the guides.
// False with "no step of the route has a length" when no guide is left; `route` is then
// unchanged.
bool BuildRouteFromSteps(const std::vector<CRouteStep>& steps, CRouteFile& route,
                         std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_ROUTESTEPS_H_
