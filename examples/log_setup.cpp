// Setting up log4cpp so that the renderer's lines go somewhere, the way docs/host-guide.md
// tells it: one appender on the category "pathRender", a layout that prints each line's
// priority, source position and operation, and a threshold. Then two mistakes a host can
// make, each answered by a line on standard output.
#include <advicepathrender/advicepathrenderex.h>
#include <advicepathrender/outside/mapservice.h>
#include <advicepathrender/outside/path.h>

#include <iostream>
#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/Priority.hh>
#include <string>

namespace {

// [guide:log]
// Most of the renderer's messages end in " \n"; this layout trims the end of every message
// so that each line ends in exactly one newline, whatever the message brought.
class TrimmingLayout : public log4cpp::PatternLayout {
 public:
  std::string format(const log4cpp::LoggingEvent& event) override {
    std::string line = log4cpp::PatternLayout::format(event);
    line.erase(line.find_last_not_of(" \n") + 1);
    return line + "\n";
  }
};

// Sends the renderer's lines to `out`: failures and errors, and with `verbose` also the
// timing lines (info) and the traces of expected conditions (priority 800, written when
// the category is enabled down to debug). Call it before any thread draws.
void SetUpRendererLog(std::ostream& out, bool verbose) {
  auto* layout = new TrimmingLayout();
  // time, priority, category, "file:line function" (the nested diagnostic context), message
  layout->setConversionPattern("%d{%H:%M:%S,%l} %-6p %c %x: %m");
  auto* appender = new log4cpp::OstreamAppender("pathRender", &out);
  appender->setLayout(layout);  // the appender owns the layout
  log4cpp::Category& category = log4cpp::Category::getInstance("pathRender");
  category.setAdditivity(false);  // not also to the root category's appenders
  category.setPriority(verbose ? log4cpp::Priority::DEBUG : log4cpp::Priority::ERROR);
  category.addAppender(appender);  // the category owns the appender
}
// [/guide:log]

}  // namespace

int main() {
  SetUpRendererLog(std::cout, false);
  CNavPath path;
  AdvicePathRenderEx* render = NewPathRender(&path, nullptr);  // the default view
  if (render == nullptr) return 1;
  // A size table of no rows: refused, with an error line.
  if (render->SetSize(nullptr, 0, 0) != 0) return 1;
  // A path without guides: nothing to draw, with an error line per frame.
  AdvicePathSizeSetting row = {8, 12, 10, 14, 0, 4, 40, 60, 5, 15, 10};
  if (render->SetSize(&row, 1, 0) != 1) return 1;
  render->Draw(true, false);
  ClosePathRender(render);
  log4cpp::Category::shutdown();  // flushes and deletes every appender
  return 0;
}
