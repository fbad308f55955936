// The exported interface of the route-guidance renderer.
//
// An application creates a handle (NewPathRender, or the process-wide GetAdvicePath), gives
// it a path, a map view, a size table and colours, calls SetTurnInfo at each new manoeuvre
// and Draw once per map frame, and gives the handle back with ClosePathRender. Each Draw
// paints the route in two passes (border, then inner colour), the big arrow at the next turn
// and, when enabled, a thin red line from the route's origin to its first destination.
//
// Ownership: the application owns its handles; a handle owns its renderer. Paths and map
// views are borrowed and must stay alive while a handle may draw with them.
// Threads: everything runs on the caller's thread, one call at a time; nothing is locked. A
// handle and its copies (which share one renderer and its count of handles) belong to one
// thread at a time. Handles on different threads draw independently when each has a map
// view of its own (the default view is one for the whole process); they may share a path
// that nobody changes while they draw.
// Failures: reported by results (false, 0) and log lines of the category "pathRender";
// nothing throws.
#ifndef ADVICEPATHRENDEREX_H_
#define ADVICEPATHRENDEREX_H_

#include <type_traits>

// Marks the names that leave the shared library; empty on the application's side.
#if defined(ADVICEPATHRENDER_BUILDING)
#define ADVICEPATHRENDER_EXPORT __attribute__((visibility("default")))
#else
#define ADVICEPATHRENDER_EXPORT
#endif

class CNavPath;          // the navigator's path (path library); borrowed
class CTurnInfo;         // the next manoeuvre (route library); copied
class AdvicePathRender;  // the renderer behind a handle; internal

// The four colours, each 0x00BBGGRR (255 is pure red), passed to the map view unchanged.
struct ADVICEPATHRENDER_EXPORT AdvicePathClrSetting {
  unsigned int pathColor;         // route, inner pass; default 0x000711F5
  unsigned int pathBorderColor;   // route, border pass; default 0x0092121B
  unsigned int arrowColor;        // arrow strokes inner pass and filled head; default white
  unsigned int arrowBorderColor;  // arrow strokes border pass and head outline; default black

  // The four defaults above.
  AdvicePathClrSetting();
  // The four colours in field order; each keeps its low 32 bits.
  AdvicePathClrSetting(unsigned long pathClr, unsigned long pathBorderClr, unsigned long arrowClr,
                       unsigned long arrowBorderClr);
  // Copies the four colours.
  AdvicePathClrSetting(const AdvicePathClrSetting& other) = default;
  // Copies the four colours; returns the target.
  AdvicePathClrSetting& operator=(const AdvicePathClrSetting& other);
};
static_assert(sizeof(AdvicePathClrSetting) == 16, "four 32-bit colours");

// One row of the size table; row i holds the sizes for map scale index i. Widths are the
// map view's units (pixels for a screen view), lengths are metres along the road. A row
// holds whatever the application writes into it: there is no constructor.
struct AdvicePathSizeSetting {
  int pathWidth;             // route width, inner pass; the view receives its low 16 bits
  int pathBorderWidth;       // route width, border pass; the view receives its low 16 bits
  int arrowWidth;            // arrow stroke width, inner pass
  int arrowBorderWidth;      // arrow stroke width, border pass
  int arrowHeadParam;        // third value of the filled-arrowhead call, the view's own meaning
  int arrowHeadBorderParam;  // third value of the arrowhead-outline call, the view's own
  int arrowExitLength;       // metres of road after the turn covered by the arrow
  int arrowEnterLength;      // metres of road before the turn covered by the arrow
  int arrowLengthTolerance;  // metres within which a whole road piece is taken uncut
  int arrowHeadLength;       // metres from the arrowhead's tip to the middle of its base
  int arrowHeadHalfWidth;    // metres from the middle of the base to each base corner

  // Copying and assignment are the implicit ones: all eleven fields as one block. Declaring
  // either would make compilers warn about the other (-Wdeprecated-copy), or stop a row
  // being an aggregate that can be brace-initialised under C++20.
};
static_assert(sizeof(AdvicePathSizeSetting) == 44, "eleven 32-bit integers");
static_assert(std::is_trivially_copyable<AdvicePathSizeSetting>::value,
              "rows are copied as blocks");

// The handle the application holds. It owns one renderer (none when the renderer could not
// be allocated; then every operation does nothing and returns false or 0).
class ADVICEPATHRENDER_EXPORT AdvicePathRenderEx {
 public:
  // Creates the renderer on the default map view (Torvane::CMapCreate::GetMapService) and,
  // when `path` is not null, gives it that path (borrowed).
  AdvicePathRenderEx(CNavPath* path = nullptr);
  // Shares the source's renderer: both handles drive the same renderer, which is destroyed
  // with the last handle that shares it.
  AdvicePathRenderEx(const AdvicePathRenderEx& other);
  // Releases this handle's renderer (destroying it when no other handle shares it).
  virtual ~AdvicePathRenderEx();
  // Releases the renderer this handle held (destroying it when it was the last handle on
  // it) and shares the source's. Returns the target.
  AdvicePathRenderEx& operator=(const AdvicePathRenderEx& other);

  // Sets the route to draw (borrowed: must stay alive while set). Null: false, path kept.
  bool SetPath(CNavPath* path);
  // Sets the map view to draw on: a Torvane::CMapService* (borrowed), or null to draw
  // nothing. True.
  bool SetDrawParm(void* mapView);
  // Copies the four colours in.
  void SetClr(const AdvicePathClrSetting& colors);
  // Copies the four colours out; true.
  bool GetClr(AdvicePathClrSetting& colors) const;
  // Copies `count` rows of the size table (the caller may free its own at once) and sets
  // the largest scale index at which the big arrow is drawn. 1 on success; 0 for a null
  // table, a count of 0, or a table that cannot be allocated (negative count, over 4 GiB),
  // each with a log line; the previous table then stays in force.
  int SetSize(AdvicePathSizeSetting* table, int count, int maxTurnScale);
  // Takes the next manoeuvre: copies `turn` and reads the guides before it from `path`
  // (borrowed: must stay alive until the next SetTurnInfo or Clear). Shows the arrow again.
  // A null path logs and changes nothing.
  void SetTurnInfo(const CTurnInfo& turn, CNavPath* path);
  // One map frame: the route polyline when `drawPath`, the big arrow when `drawArrow` and the
  // map scale allows it, the red line when enabled.
  void Draw(bool drawPath, bool drawArrow);
  // Switches all drawing on or off (on after construction).
  void EnableDrawing(bool enable);
  // Switches the origin-to-destination red line on or off (off after construction).
  void EnableDrawRedLine(bool enable);
  // Forgets the path, the turn and the arrow's strokes; the route is drawn again after
  // SetPath, the arrow after SetTurnInfo.
  void Clear();
  // Hides the big arrow until the next SetTurnInfo with a path.
  void ClearBigArrow();

 private:
  AdvicePathRender* mp_Render;  // Owned, shared with copies of this handle; null when absent
};

// Creates a handle with `path` (may be null) drawing on `mapView` (a Torvane::CMapService*),
// or on the default map view when `mapView` is null. Null when the handle cannot be
// allocated. The caller owns the handle and gives it back through ClosePathRender.
ADVICEPATHRENDER_EXPORT AdvicePathRenderEx* NewPathRender(CNavPath* path, void* mapView);

// Destroys a handle from NewPathRender: true. The process-wide handle is never destroyed
// here: false, and it stays usable. Null: true.
ADVICEPATHRENDER_EXPORT bool ClosePathRender(AdvicePathRenderEx* handle);

// The process-wide handle, built with no path on the first call and destroyed when the
// library is unloaded. Not for concurrent first use.
ADVICEPATHRENDER_EXPORT AdvicePathRenderEx& GetAdvicePath();

#endif  // ADVICEPATHRENDEREX_H_
