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
  NAV_TURN_STRAIGHT = 0,
  NAV_TURN_END = 1,  // the route ends here: no turn arrow is drawn
  NAV_TURN_LEFT = 2,
  NAV_TURN_RIGHT = 3,
  NAV_TURN_SLIGHT_LEFT = 4,
  NAV_TURN_SLIGHT_RIGHT = 5,
  NAV_TURN_SHARP_LEFT = 6,
  NAV_TURN_SHARP_RIGHT = 7,
  NAV_TURN_UTURN = 8,
  NAV_TURN_ROUNDABOUT = 9,
};

// One manoeuvre: its type and the guides entering and leaving the turn node. A value type:
// copies are deep (the guides are records; their point arrays stay borrowed from the path).
class CTurnInfo {
 public:
  // No turn: type NAV_TURN_STRAIGHT, both guides zero-filled.
  CTurnInfo();
  CTurnInfo(const CTurnInfo&) = default;
  CTurnInfo& operator=(const CTurnInfo&) = default;
  ~CTurnInfo();

  // Fills the turn from `path`: the enter guide is guide `enterIndex`, the exit guide guide
  // `exitIndex`, both copied from the path's records. False, nothing changed, when either
  // index lies outside the path. The records borrow the path's points.
  bool SetFromPath(const CPath& path, int enterIndex, int exitIndex, NAV_TURN_TYPE_tag type);

  void SetTurnType(NAV_TURN_TYPE_tag type);
  void SetEnterGuide(const NavGuid& guide);
  void SetExitGuide(const NavGuid& guide);

  // The turn's type; this stand-in holds one manoeuvre, so `index` is ignored.
  NAV_TURN_TYPE_tag GetTurnType(int index) const;
  // Copies the guide that enters (leaves) the turn node; `index` is ignored.
  void GetEnterGuide(int index, NavGuid& guide) const;
  void GetExitGuide(int index, NavGuid& guide) const;

 private:
  NAV_TURN_TYPE_tag m_Type;  // kind of manoeuvre
  NavGuid m_Enter;           // guide entering the turn node
  NavGuid m_Exit;            // guide leaving it
};

// A destination record of the route library: 1120 bytes; readers use only `point`.
struct NavDest {
  NavDest();  // zero-filled
  unsigned char reserved0[560];
  tagLonLat point;  // degrees
  unsigned char reserved1[544];
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
  void ClearOrgPoint();
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

class RouteManager {
 public:
  RouteManager();
  RouteManager(const RouteManager&) = delete;
  RouteManager& operator=(const RouteManager&) = delete;
  ~RouteManager();

  CPathManagerEx& GetPathManager();

 private:
  CPathManagerEx m_PathManager;  // owned
};

// The process-wide route manager, built on first use, destroyed at exit.
RouteManager& GetRouteManager();

#endif  // ADVICEPATH_OUTSIDE_ROUTE_H_
