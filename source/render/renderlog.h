// Log lines of the renderer and the cross-edge builder: the category, the priorities (on
// log4cpp's numeric scale) and a macro that passes the caller's source position.
// Internal to the core.
#ifndef ADVICEPATH_RENDER_RENDERLOG_H_
#define ADVICEPATH_RENDER_RENDERLOG_H_

#include "logging.h"

// Category of every log line of the renderer: "pathRender".
extern const char* const g_LogCategory;

// Failures the application must see (missing map view, null path, failed allocation).
constexpr int kLogFatal = 0;
// Bad input or a failed construction step.
constexpr int kLogError = 300;
// Expected conditions worth a trace: scale fallback, hidden arrow, end of route.
constexpr int kLogNotSet = 800;

// Writes one line at `priority` for the qualified operation name `function`, with this
// source position; the rest is a printf format and its arguments.
#define PATHRENDER_LOG(priority, function, ...) \
  log4cpp_category_log(g_LogCategory, priority, __FILE__, __LINE__, function, __VA_ARGS__)

// The same for an information line (log4cpp_Info).
#define PATHRENDER_INFO(function, ...) \
  log4cpp_Info(g_LogCategory, __FILE__, __LINE__, function, __VA_ARGS__)

#endif  // ADVICEPATH_RENDER_RENDERLOG_H_
