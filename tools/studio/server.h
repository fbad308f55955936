// The studio's web server: cpp-httplib on the loopback address, serving the page built into
// the program and the JSON answers of api.h.
//
// What it refuses (STYLE's rules for a local page), each with a 4xx and {"error": "..."}:
//   - a Host header that is not a loopback name (localhost, 127.0.0.1, [::1], each with an
//     optional port): 403, so that a page elsewhere cannot reach it through DNS rebinding;
//   - a request whose Origin is not such a page of its own: 403, so that another site cannot
//     post to it (nor Save) from a visitor's browser;
//   - a POST whose Content-Type is not the one its endpoint reads (application/json, or
//     application/octet-stream for a route): 415, which also keeps plain HTML forms out;
//   - a body above kMaxRouteBytes (a route; httplib reads and drops it) or kMaxJsonBytes
//     (anything else): 413;
//   - any path but the page's own files and the API: 404 (no file is ever served from disk).
// Requests are answered one at a time (a lock around the session); answers carry no-store
// caching and a content security policy that allows only the page's own files.
//
// Threads: httplib answers on its own pool; Listen blocks until Stop, which any thread may
// call.
#ifndef ADVICEPATH_TOOLS_STUDIO_SERVER_H_
#define ADVICEPATH_TOOLS_STUDIO_SERVER_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include "studio/api.h"

namespace httplib {
class Server;
}

namespace tool {

// The largest route file a page may drop, bytes: a long route in a verbose router format.
constexpr std::size_t kMaxRouteBytes = 16u << 20;
// The largest JSON request, bytes: a style of 16 themes with tables of their own is ~60 KiB.
constexpr std::size_t kMaxJsonBytes = 1u << 20;

// Whether `host` (a Host header) names the loopback address: localhost, 127.0.0.1 or [::1],
// each with an optional ":port".
bool IsLoopbackHost(const std::string& host);

// Whether `origin` (an Origin header) is a page on the loopback address: "http://" and a
// loopback host.
bool IsLoopbackOrigin(const std::string& origin);

class CStudioServer {
 public:
  // Serves `studio` (borrowed: must outlive the server).
  explicit CStudioServer(CStudio& studio);
  CStudioServer(const CStudioServer&) = delete;
  CStudioServer& operator=(const CStudioServer&) = delete;
  ~CStudioServer();

  // Binds 127.0.0.1 at `port` (0: a free port). The bound port, or -1 when it cannot bind.
  int Bind(int port);
  // Answers requests until Stop. False when it could not listen.
  bool Listen();
  // Makes Listen return; safe from any thread, also before Listen starts.
  void Stop();

 private:
  void Route();

  CStudio& m_Studio;                         // Borrowed: the session and its style
  std::mutex m_Lock;                         // one request at a time on the session
  std::unique_ptr<httplib::Server> mp_Http;  // Owned: the server
};

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_STUDIO_SERVER_H_
