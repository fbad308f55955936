// The studio's sheet: each cell a picture of its own, drawn by DrawSheetCell (the `sheet`
// command's own cell, caption band and marks included) on a canvas kept in memory and encoded
// as a fast PNG, on a few threads at once.
//
// Threads: the route manager's origin and destination are set once, before the threads start
// (frame/record.h's SetRouteEnds), and so is log4cpp's category, and each thread records with
// its own renderer handle and display list; the set-up is only read. Logging must not be
// reconfigured meanwhile, and the caller keeps any other recording away while DrawCells runs.
// (ThreadSanitizer also reports Cairo's lock-free pools of patterns and contexts, whose atomic
// operations it cannot see in the uninstrumented library: Cairo draws separate contexts on
// separate threads safely.)
#ifndef ADVICEPATH_TOOLS_STUDIO_CELLS_H_
#define ADVICEPATH_TOOLS_STUDIO_CELLS_H_

#include <string>
#include <vector>

#include "frame/plan.h"
#include "frame/record.h"
#include "frame/setup.h"

namespace tool {

// One cell: which it is, and, once drawn, its picture and what drawing it found.
struct CCellPicture {
  int turn = 0;         // index in the route's turns
  int scaleIndex = 0;   // 0 to the ladder's highest
  std::string png;      // the cell: caption band above a frame, PNG
  CFrameRecord record;  // the library's calls for the frame
  CFramePlan plan;      // where the arrow lies in the frame, how far it runs out
  std::string noArrow;  // why the library drew no arrow; empty when it drew one
};

// Draws every cell of `cells` (turn and scaleIndex set, each turn on the route) with a frame of
// frameWidthPx x frameHeightPx pixels, on up to `threads` threads (1 or more). False with the
// first failure's message; the cells' pictures are then incomplete.
bool DrawCells(const CFrameSetup& setup, std::vector<CCellPicture>& cells, int frameWidthPx,
               int frameHeightPx, int threads, std::string& error);

// The threads DrawCells is given by the studio: the machine's cores, at most 4.
int CellThreads();

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_STUDIO_CELLS_H_
