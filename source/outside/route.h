// Route service: the next turn (CTurnInfo) and the route's origin and destinations
// (RouteManager / CPathManagerEx, reached through GetRouteManager()).
//
// CTurnInfo is a plain value the host fills and the renderer copies. The route manager is
// process-wide and lives until the process exits; one thread at a time.
#ifndef ADVICEPATH_OUTSIDE_ROUTE_H_
#define ADVICEPATH_OUTSIDE_ROUTE_H_

#include <vector>

#include "guide.h"
#include "lonlat.h"

class CPath;

// Kind of manoeuvre. Readers test only NAV_TURN_END; the other values are for the host.
enum NAV_TURN_TYPE_tag {
  NAV_TURN_STRAIGHT = 0,      // straight on through the node
  NAV_TURN_END = 1,           // the route ends here: no turn arrow is drawn
  NAV_TURN_LEFT = 2,          // left
  NAV_TURN_RIGHT = 3,         // right
  NAV_TURN_SLIGHT_LEFT = 4,   // slight left
  NAV_TURN_SLIGHT_RIGHT = 5,  // slight right
  NAV_TURN_SHARP_LEFT = 6,    // sharp left
  NAV_TURN_SHARP_RIGHT = 7,   // sharp right
  NAV_TURN_UTURN = 8,         // U-turn
  NAV_TURN_ROUNDABOUT = 9,    // through a roundabout
};

// One manoeuvre: its type and the guides entering and leaving the turn node. A value type:
// copies are deep (the guides are records; their point arrays stay borrowed from the path).
class CTurnInfo {
 public:
  // No turn: type NAV_TURN_STRAIGHT, both guides zero-filled.
  CTurnInfo();
  // Copies the type and both guide records (a deep copy).
  CTurnInfo(const CTurnInfo&) = default;
  // Copies the type and both guide records; returns the target.
  CTurnInfo& operator=(const CTurnInfo&) = default;
  ~CTurnInfo();

  // Fills the turn from `path`: the enter guide is guide `enterIndex`, the exit guide guide
  // `exitIndex`, both copied from the path's records. False, nothing changed, when either
  // index lies outside the path. The records borrow the path's points.
  bool SetFromPath(const CPath& path, int enterIndex, int exitIndex, NAV_TURN_TYPE_tag type);

  // Sets the kind of manoeuvre.
  void SetTurnType(NAV_TURN_TYPE_tag type);
  // Copies `guide` as the guide entering the turn node; its points stay borrowed.
  void SetEnterGuide(const NavGuid& guide);
  // Copies `guide` as the guide leaving the turn node; its points stay borrowed.
  void SetExitGuide(const NavGuid& guide);

  // The turn's type; this stand-in holds one manoeuvre, so `index` is ignored.
  NAV_TURN_TYPE_tag GetTurnType(int index) const;
  // Copies the guide that enters the turn node; `index` is ignored.
  void GetEnterGuide(int index, NavGuid& guide) const;
  // Copies the guide that leaves the turn node; `index` is ignored.
  void GetExitGuide(int index, NavGuid& guide) const;

 private:
  NAV_TURN_TYPE_tag m_Type;  // kind of manoeuvre
  NavGuid m_Enter;           // guide entering the turn node
  NavGuid m_Exit;            // guide leaving it
};

// A destination record of the route library: 1120 bytes; readers use only `point`.
struct NavDest {
  NavDest();                     // zero-filled
  unsigned char reserved0[560];  // reserved for the route library
  tagLonLat point;               // degrees
  unsigned char reserved1[544];  // reserved for the route library
};
static_assert(sizeof(NavDest) == 1120, "NavDest is 1120 bytes");
static_assert(offsetof(NavDest, point) == 560, "NavDest.point at 560");

// The route's origin and destinations, as the host sets them.
class CPathManagerEx {
 public:
  CPathManagerEx();
  CPathManagerEx(const CPathManagerEx&) = delete;
  CPathManagerEx& operator=(const CPathManagerEx&) = delete;
  ~CPathManagerEx();

  // Host side: sets or forgets the origin; replaces or empties the destinations (in order).
  void SetOrgPoint(const tagLonLat& origin);
  // Host side: forgets the origin; GetOrgPoint then returns false.
  void ClearOrgPoint();
  // Host side: replaces the destinations by `destinations`, first destination first (empty:
  // none).
  void SetDestPoints(const std::vector<tagLonLat>& destinations);

  // Fills `dest.point` with the origin; false (dest untouched) when none is set.
  bool GetOrgPoint(NavDest& dest) const;
  // Number of destinations.
  int GetDestCount() const;
  // Fills `dest.point` with destination `index`; false (dest untouched) when out of range.
  bool GetDestPoint(int index, NavDest& dest) const;

 private:
  bool m_HasOrigin;                // whether m_Origin is set
  tagLonLat m_Origin;              // degrees
  std::vector<tagLonLat> m_Dests;  // degrees, first destination first
};

// The route library's manager; the renderer reaches its path manager through
// GetRouteManager().GetPathManager() and keeps neither.
class RouteManager {
 public:
  RouteManager();
  RouteManager(const RouteManager&) = delete;
  RouteManager& operator=(const RouteManager&) = delete;
  ~RouteManager();

  // The route's origin and destinations; lives as long as the manager.
  CPathManagerEx& GetPathManager();

 private:
  CPathManagerEx m_PathManager;  // owned
};

// The process-wide route manager, built on first use, destroyed at exit.
RouteManager& GetRouteManager();

#endif  // ADVICEPATH_OUTSIDE_ROUTE_H_
