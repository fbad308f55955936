// AdvicePathRender: the renderer behind each exported handle.
//
// It keeps the drawing state (path, map view, colours, the per-scale size table, switches),
// picks the size-table row once per frame from the map view's scale, and draws the route
// polyline, the big arrow and the red line. The path and the map view are borrowed; the size
// table is the renderer's own copy. Handles that were copied share one renderer through its
// reference count, which is not atomic: a renderer and all its handles stay on one thread at
// a time. Everything runs on the caller's thread, one call at a time; renderers on different
// threads share nothing of their own (the direction tables are filled once, thread-safely).
#ifndef ADVICEPATH_RENDER_ADVICEPATHRENDER_H_
#define ADVICEPATH_RENDER_ADVICEPATHRENDER_H_

#include "advicepathrenderex.h"  // the exported records
#include "crosspathedges.h"
#include "lonlat.h"
#include "mapservice.h"

class CNavPath;
class CPath;
class CTurnInfo;

class AdvicePathRender {
 public:
  // Scale index at construction and after an index past the table.
  static constexpr int kFallbackScale = 5;
  // Largest scale index for the big arrow until SetSize sets one.
  static constexpr int kDefaultMaxTurnScale = 30;

  // Draws on `mapView` (borrowed: must stay alive while set; may be null: nothing is drawn).
  // No path, no size table, default colours, drawing on, red line off, arrow shown,
  // one reference (the creating handle's).
  explicit AdvicePathRender(Torvane::CMapService* mapView);
  AdvicePathRender(const AdvicePathRender&) = delete;
  AdvicePathRender& operator=(const AdvicePathRender&) = delete;
  // Releases the size table.
  virtual ~AdvicePathRender();

  // Sharing between handles: AddRef counts one more handle; Release counts one fewer and
  // returns true when none is left (the caller then deletes the renderer).
  void AddRef();
  bool Release();

  // The most steps one walk along a path may take: each pass over the route's edges
  // (GetNext) and each of the builder's walks over guides (GetNextGuid); kDefaultGuideWalkLimit
  // after construction. Only a host path that cycles reaches it: the walk then logs a line
  // at priority 300 and stops where it is.
  void SetGuideWalkLimit(long guides);

  // Sets the route to draw (borrowed: must stay alive while set). Null: false, path kept.
  bool SetPath(CNavPath* path);
  // Sets the map view (borrowed: must stay alive while set), null included. True.
  bool SetDrawParm(Torvane::CMapService* mapView);
  void SetClr(const AdvicePathClrSetting& colors);
  bool GetClr(AdvicePathClrSetting& colors) const;
  void EnableDrawing(bool enable);
  void EnableDrawRedLine(bool enable);
  // Copies `count` rows of `table` (the caller keeps its own) and takes `maxTurnScale` as the
  // largest scale index of the big arrow. 1; 0 with a log line and nothing changed for a null
  // table or a count of 0 (priority 300), or when the copy cannot be allocated: a negative
  // count, more than 4 GiB, or out of memory (priority 0).
  int SetSize(const AdvicePathSizeSetting* table, int count, int maxTurnScale);

  // Takes the next manoeuvre (the path is borrowed until the next SetTurnInfo or Clear) and
  // shows the arrow again. A null path logs at priority 0 and changes nothing.
  void SetTurnInfo(CNavPath* path, const CTurnInfo& turn);
  // Hides the big arrow until the next SetTurnInfo with a path.
  void ClearBigArrow();
  // Forgets the path, the strokes and the turn.
  void Clear();

  // One frame: reads the scale index, then, when drawing is on and there is a map view and a
  // size table, the route (drawPath), the big arrow (drawArrow, up to the largest arrow
  // scale) and the red line (when enabled).
  void Draw(bool drawPath, bool drawArrow);

 private:
  // Sets m_CurScale from the map view; an index at or past the table's end becomes
  // kFallbackScale.
  void AutoSetCurScale();
  // The size-table row for m_CurScale, clamped to the table: row 0 for a negative index, the
  // last row past the end. Only valid while mp_SizeSet is set.
  const AdvicePathSizeSetting& CurrentRow() const;
  // The route polyline, border pass over every edge, then inner pass.
  void DrawPath();
  // One pass over the route's edges from position `first`, in one colour and width. False,
  // with a log line, when the pass stopped at the guide walk limit.
  bool DrawPathPass(Torvane::CMapService& view, const void* first, unsigned color, int width);
  // The big arrow: strokes and head, border pass then inner pass.
  void DrawTurn();
  // One pass over the arrow's first `count` strokes, each a polyline in one colour and width.
  void DrawStrokes(Torvane::CMapService& view, int count, unsigned color, int width);
  // The straight red line from the route's origin to its first destination.
  void DrawRedLine();
  static void ZeroPoints(tagLonLat* points, int count);

  bool m_isClearBigArrow;             // true while the big arrow is hidden
  bool m_isDrawEnabled;               // drawing switch
  int m_CurScale;                     // size-table row of this frame, as the view gave it
  tagLonLat m_ArrowHeadPts[3];        // degrees: tip, right and left base corners
  CPath* mp_Path;                     // Borrowed: the route drawn; null when none
  Torvane::CMapService* mp_MapView;   // Borrowed: the view drawn on; null: no drawing
  CCrossPathEdges m_CrossPathEdges;   // builder of the arrow's strokes and head
  AdvicePathClrSetting m_ClrSetting;  // the four colours
  AdvicePathSizeSetting* mp_SizeSet;  // Owned (array new/delete): the size table copy
  int m_SizeSetCnt;                   // rows in mp_SizeSet
  int m_MaxTurnScale;                 // largest scale index at which the arrow is drawn
  bool m_isDrawRedLine;               // red-line switch
  long m_RefCount;                    // handles sharing this renderer
  long m_GuideWalkLimit;              // steps: the longest walk along the route's edges
};

#endif  // ADVICEPATH_RENDER_ADVICEPATHRENDER_H_
