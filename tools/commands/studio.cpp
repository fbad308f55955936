// `advicepath studio`: serves the studio's page on the loopback address until interrupted.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "commands/commands.h"
#include "input/routereader.h"
#include "input/style.h"
#include "studio/server.h"

namespace tool {

namespace {

struct CStudioOptions {
  std::string route;
  CReadOptions read;
  std::string style;  // empty: style.json in the working directory
  std::string theme;
  std::optional<int> port;
  CCenter center = CCenter::kArrow;
  CLogLevel log;
};

CCommandLine StudioLine(CStudioOptions& o) {
  return {
      "studio",
      "advicepath studio [ROUTE] [--style FILE] [--port N]",
      "Serves a page on 127.0.0.1 for tuning a style against ROUTE (the built-in sample\n"
      "without it): the size table and each theme's colours, the contact sheet redrawn after\n"
      "each edit, check's findings beside it. Save writes FILE (default style.json), which the\n"
      "studio starts from when it exists, else from the built-in style. Stop with Ctrl-C.",
      {
          {"--style", "FILE", "the style file to tune and save (default style.json)", &o.style},
          ThemeOption(o.theme),
          PrecisionOption(o.read),
          AlternativeOption(o.read),
          {"--port", "N", "port on 127.0.0.1 (default 0: a free one, printed)", &o.port, 0, 65535},
          CenterOption(o.center),
          LogLevelOption(o.log),
      },
      &o.route,
  };
}

// The route of the command line, in any format read, or the built-in sample.
bool LoadCommandRoute(const CStudioOptions& o, CRouteFile& route, std::string& error) {
  return o.route.empty() ? LoadSampleRoute(route, error) : LoadRoute(o.route, o.read, route, error);
}

// The style file's content, or the built-in style when the file does not exist yet; `fresh`
// tells which.
bool LoadStyle(const std::string& path, CStyle& style, bool& fresh, std::string& error) {
  struct stat info;
  fresh = ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
  if (fresh) return LoadDefaultStyle(style, error);
  return LoadStyleFile(path, style, error);
}

// Stops `server` at SIGINT or SIGTERM, which the caller has blocked, and returns once `done`.
// A signal that comes before the server listens would find nothing to stop: Stop is repeated
// until the server is done.
void AwaitSignal(CStudioServer& server, const std::atomic<bool>& done) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  // The blocked signals, read as a file: poll wakes on one or after 200 ms to look at `done`.
  const int fd = signalfd(-1, &signals, SFD_CLOEXEC);
  constexpr int kWaitMs = 200;
  bool stopping = false;
  while (!done) {
    pollfd ready = {fd, POLLIN, 0};
    signalfd_siginfo taken;
    // Reading the signal takes it: it must not strike when the mask is restored.
    if (stopping || (fd >= 0 && ::poll(&ready, 1, kWaitMs) > 0 &&
                     ::read(fd, &taken, sizeof taken) == static_cast<ssize_t>(sizeof taken))) {
      stopping = true;
      server.Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMs));
    } else if (fd < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMs));
    }
  }
  if (fd >= 0) ::close(fd);
}

int Serve(const CStudioOptions& o, CStudio& studio, bool fresh) {
  // The signals go to the waiting thread alone: blocked here, before any thread starts.
  sigset_t signals;
  sigset_t previous;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, &previous);
  int status = kExitOk;
  {
    CStudioServer server(studio);
    const int port = server.Bind(o.port.value_or(0));
    if (port < 0) {
      ReportError("studio: cannot listen on 127.0.0.1:" + std::to_string(o.port.value_or(0)));
      status = kExitBadInput;
    } else {
      std::printf("advicepath studio: http://127.0.0.1:%d/\n", port);
      std::printf("Save writes %s%s. Ctrl-C stops.\n", studio.session->StylePath().c_str(),
                  fresh ? " (it does not exist yet: the page starts from the built-in style)" : "");
      std::fflush(stdout);
      std::atomic<bool> done{false};
      std::thread waiter(AwaitSignal, std::ref(server), std::cref(done));
      if (!server.Listen()) status = kExitBadInput;
      done = true;
      waiter.join();
    }
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return status;
}

}  // namespace

int RunStudio(const std::vector<std::string>& args) {
  CStudioOptions o;
  const int status = StartCommand(StudioLine(o), args, o.log);
  if (status >= 0) return status;
  const std::string stylePath = o.style.empty() ? "style.json" : o.style;
  CRouteFile route;
  CStyle style;
  bool fresh = false;
  std::string error;
  if (!LoadCommandRoute(o, route, error) || !LoadStyle(stylePath, style, fresh, error)) {
    ReportError(error);
    return kExitBadInput;
  }
  if (!o.theme.empty() && style.FindTheme(o.theme) == nullptr) {
    ReportError(stylePath + ": no theme '" + o.theme + "'");
    return kExitBadInput;
  }
  std::unique_ptr<CStudioSession> session =
      CStudioSession::Create(std::move(route), o.center, stylePath, error);
  if (!session) {
    ReportError(error);
    return kExitBadInput;
  }
  CStudio studio{session.get(), style, o.theme.empty() ? style.DefaultTheme().name : o.theme};
  return Serve(o, studio, fresh);
}

}  // namespace tool
