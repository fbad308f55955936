#include "studio/cells.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "frame/record.h"
#include "frame/sheetcell.h"
#include "frame/turns.h"
#include "logging.h"
#include "picture/canvas.h"

namespace tool {

namespace {

// What the threads share: the next cell to draw, and the first failure.
struct CWork {
  CWork(const CFrameSetup& s, std::vector<CCellPicture>& c, int width, int height)
      : setup(s), cells(c), frameWidthPx(width), frameHeightPx(height) {}

  const CFrameSetup& setup;
  std::vector<CCellPicture>& cells;
  int frameWidthPx;
  int frameHeightPx;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex errorLock;
  std::string error;  // guarded by errorLock
};

bool DrawOne(CWork& work, CCellPicture& cell, std::string& error) {
  std::vector<CChosenTurn> chosen;
  if (!ChooseTurns(work.setup.route, std::vector<int>{cell.turn}, "turn", chosen, error)) {
    return false;
  }
  cell.png.clear();
  std::unique_ptr<CCanvas> canvas =
      OpenMemoryCanvas(work.frameWidthPx, CellHeightPx(work.frameHeightPx), cell.png, error);
  CDrawnCell drawn;
  if (!canvas ||
      !DrawSheetCell(*canvas, 0, 0, work.frameWidthPx, work.frameHeightPx, work.setup, chosen[0],
                     cell.scaleIndex, drawn, error) ||
      !canvas->Finish(error)) {
    return false;
  }
  cell.plan = drawn.plan;
  cell.noArrow = NoArrowReason(work.setup, &chosen[0].turn, drawn.record);
  cell.record = std::move(drawn.record);
  return true;
}

void Worker(CWork& work) {
  for (std::size_t i = work.next++; i < work.cells.size() && !work.failed; i = work.next++) {
    std::string error;
    if (!DrawOne(work, work.cells[i], error)) {
      std::lock_guard<std::mutex> hold(work.errorLock);
      if (!work.failed.exchange(true)) work.error = error;
    }
  }
}

}  // namespace

int CellThreads() {
  return static_cast<int>(std::min(std::max(std::thread::hardware_concurrency(), 1u), 4u));
}

bool DrawCells(const CFrameSetup& setup, std::vector<CCellPicture>& cells, int frameWidthPx,
               int frameHeightPx, int threads, std::string& error) {
  CWork work(setup, cells, frameWidthPx, frameHeightPx);
  SetRouteEnds(setup);
  // log4cpp builds its hierarchy and the renderer's category on first use, unguarded: that
  // use happens here, before the threads ask for them.
  log4cpp_IsInfoEnabled("pathRender");
  std::vector<std::thread> helpers;
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)),
                                                  std::max<std::size_t>(cells.size(), 1));
  // The calling thread is one of the workers; a helper the system refuses is done without.
  for (std::size_t t = 1; t < count; ++t) {
    try {
      helpers.emplace_back(Worker, std::ref(work));
    } catch (const std::system_error&) {
      break;
    }
  }
  Worker(work);
  for (std::thread& helper : helpers) helper.join();
  if (work.failed) error = work.error;
  return !work.failed;
}

}  // namespace tool
