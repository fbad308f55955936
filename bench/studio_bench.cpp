// How long does the studio take to redraw the sample's sheet after an edit (6 turns x scale
// indices 0 to 6, 320x240 frames: 42 cells), and where does the time go? The studio's budget
// is 150 ms per redraw on two cores.
//
// - BM_SheetCommandPicture: the `sheet` command's way, for comparison: the 42 cells painted
//   into one picture and written with Cairo's PNG writer (arg 0) or as SVG (arg 1).
// - BM_StudioSheetStages: the studio's cells one thread at a time, stage by stage: arg 0
//   records each frame through the library, 1 also places it, 2 also paints it on a canvas
//   kept in memory, 3 also encodes it as a fast PNG (the whole of a cell).
// - BM_StudioSheetRedraw: the whole sheet as the studio draws it, on 1, 2 or 4 threads
//   (wall-clock time).
// - BM_StudioEdit: one edit's whole answer: the sheet on the studio's threads, the audit of
//   the built-in style's three themes, and the JSON with the cells in base 64.
// Log lines are off, as in the program by default.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "commandline/logsetup.h"
#include "frame/captions.h"
#include "frame/plan.h"
#include "frame/record.h"
#include "frame/setup.h"
#include "frame/sheetcell.h"
#include "frame/turns.h"
#include "input/style.h"
#include "output/outputfile.h"
#include "picture/canvas.h"
#include "studio/api.h"
#include "studio/cells.h"
#include "studio/session.h"

namespace {

constexpr int kFrameWidthPx = 320;
constexpr int kFrameHeightPx = 240;
constexpr int kLastIndex = 6;

// The sample's set-up in the built-in style's day theme, with its turns; logging set up once,
// before any thread draws.
struct CSample {
  CSample() {
    tool::SetUpLogging(std::nullopt);
    valid = tool::LoadFrameSetup(tool::CSetupRequest(), setup, error) &&
            tool::LoadDefaultStyle(style, error) &&
            tool::ChooseTurns(setup.route, std::nullopt, "--turns", turns, error);
    if (valid) tool::ApplyTheme(style, style.DefaultTheme(), setup);
  }
  tool::CFrameSetup setup;
  tool::CStyle style;
  std::vector<tool::CChosenTurn> turns;
  std::string error;
  bool valid = false;
};

CSample& Sample() {
  static CSample sample;
  return sample;
}

std::vector<tool::CCellPicture> SheetCells() {
  std::vector<tool::CCellPicture> cells;
  for (std::size_t t = 0; t < Sample().turns.size(); ++t) {
    for (int s = 0; s <= kLastIndex; ++s) {
      cells.emplace_back();
      cells.back().turn = static_cast<int>(t);
      cells.back().scaleIndex = s;
    }
  }
  return cells;
}

// Whether every cell holds a PNG.
bool AllPng(const std::vector<tool::CCellPicture>& cells) {
  for (const tool::CCellPicture& cell : cells) {
    if (cell.png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
  }
  return !cells.empty();
}

void BM_SheetCommandPicture(benchmark::State& state) {
  CSample& sample = Sample();
  const std::string path = std::string("/tmp/studio_bench_") + std::to_string(::getpid()) +
                           (state.range(0) == 0 ? ".png" : ".svg");
  const int columns = kLastIndex + 1;
  for (auto _ : state) {
    tool::COutputFile file;
    std::string error;
    std::unique_ptr<tool::CCanvas> canvas = tool::OpenCanvas(
        file, path, columns * kFrameWidthPx,
        static_cast<int>(sample.turns.size()) * tool::CellHeightPx(kFrameHeightPx), error);
    bool good = sample.valid && canvas != nullptr;
    tool::SetRouteEnds(sample.setup);
    for (std::size_t t = 0; good && t < sample.turns.size(); ++t) {
      for (int s = 0; good && s < columns; ++s) {
        tool::CDrawnCell cell;
        good = tool::DrawSheetCell(
            *canvas, s * kFrameWidthPx, static_cast<int>(t) * tool::CellHeightPx(kFrameHeightPx),
            kFrameWidthPx, kFrameHeightPx, sample.setup, sample.turns[t], s, cell, error);
      }
    }
    if (!good || !canvas->Finish(error)) {
      state.SkipWithError((sample.error + error).c_str());
      break;
    }
  }
  state.SetLabel(state.range(0) == 0 ? "one picture, Cairo PNG" : "one picture, SVG");
}
BENCHMARK(BM_SheetCommandPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StudioSheetStages(benchmark::State& state) {
  CSample& sample = Sample();
  const int stages = static_cast<int>(state.range(0));
  std::string error;
  if (!sample.valid) {
    state.SkipWithError(sample.error.c_str());
    return;
  }
  tool::SetRouteEnds(sample.setup);
  for (auto _ : state) {
    for (const tool::CChosenTurn& turn : sample.turns) {
      for (int s = 0; s <= kLastIndex; ++s) {
        tool::CFrameRecord record;
        tool::RecordPreparedFrame(sample.setup, &turn.turn, s, record, error);
        if (stages == 0) continue;
        const tool::CFramePlan plan =
            tool::PlanFrame(sample.setup, &turn.turn, record, kFrameWidthPx, kFrameHeightPx);
        benchmark::DoNotOptimize(plan.overflowPx);
        if (stages == 1) continue;
        std::string png;
        std::unique_ptr<tool::CCanvas> canvas =
            tool::OpenMemoryCanvas(kFrameWidthPx, tool::CellHeightPx(kFrameHeightPx), png, error);
        tool::CDrawnCell cell;
        tool::DrawSheetCell(*canvas, 0, 0, kFrameWidthPx, kFrameHeightPx, sample.setup, turn, s,
                            cell, error);
        if (stages == 3) canvas->Finish(error);
        benchmark::DoNotOptimize(png);
      }
    }
  }
  static const char* const kLabels[] = {"record", "record, place", "record, place, paint",
                                        "record, place, paint, fast PNG"};
  state.SetLabel(kLabels[stages]);
}
BENCHMARK(BM_StudioSheetStages)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_StudioSheetRedraw(benchmark::State& state) {
  CSample& sample = Sample();
  std::vector<tool::CCellPicture> cells = SheetCells();
  std::string error;
  if (!sample.valid ||
      !tool::DrawCells(sample.setup, cells, kFrameWidthPx, kFrameHeightPx, 1, error) ||
      !AllPng(cells) || cells.size() != 42) {
    state.SkipWithError(("the sheet is not 42 PNG cells: " + sample.error + error).c_str());
    return;
  }
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    tool::DrawCells(sample.setup, cells, kFrameWidthPx, kFrameHeightPx, threads, error);
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetLabel(std::to_string(threads) + " thread(s), 42 cells");
}
BENCHMARK(BM_StudioSheetRedraw)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_StudioEdit(benchmark::State& state) {
  CSample& sample = Sample();
  tool::CRouteFile route;
  std::string error;
  std::unique_ptr<tool::CStudioSession> session;
  if (!sample.valid || !tool::LoadSampleRoute(route, error) ||
      !(session = tool::CStudioSession::Create(std::move(route), tool::CCenter::kArrow,
                                               "/nonexistent/style.json", error))) {
    state.SkipWithError((sample.error + error).c_str());
    return;
  }
  tool::CStudio studio{session.get(), sample.style, "day"};
  const std::string body =
      "{\"style\": " + tool::FormatStyle(sample.style) + ", \"theme\": \"day\"}";
  const tool::CApiAnswer first = tool::AnswerSheet(studio, body);
  if (first.status != 200 || nlohmann::json::parse(first.body)["cells"].size() != 42) {
    state.SkipWithError(("the answer is not 42 cells: " + first.body.substr(0, 200)).c_str());
    return;
  }
  for (auto _ : state) {
    const tool::CApiAnswer answer = tool::AnswerSheet(studio, body);
    benchmark::DoNotOptimize(answer.body.data());
  }
  state.SetLabel(std::to_string(tool::CellThreads()) + " thread(s), 3 themes audited");
}
BENCHMARK(BM_StudioEdit)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
