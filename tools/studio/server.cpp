#include "studio/server.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <exception>

#include "studio/assets.h"

namespace tool {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

// Only the page's own files, and pictures as data URLs; nothing from elsewhere, no framing.
constexpr const char* kSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return text;
}

bool IsPort(const std::string& text) {
  return !text.empty() && text.size() <= 5 && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

void Answer(httplib::Response& res, const CApiAnswer& answer) {
  res.status = answer.status;
  res.set_content(answer.body, kJson);
}

// The error message of a status that has no body of its own.
std::string StatusMessage(int status) {
  switch (status) {
    case 400:
      return "bad request";
    case 404:
      return "not found: the studio serves its page and /api/ only";
    case 413:
      return "request too large: a route may have at most " + std::to_string(kMaxRouteBytes) +
             " bytes, anything else " + std::to_string(kMaxJsonBytes);
    case 414:
      return "address too long";
    default:
      return "refused (HTTP " + std::to_string(status) + ")";
  }
}

// The largest body `req` may carry, by its path.
std::size_t BodyLimit(const httplib::Request& req) {
  return req.path == "/api/route" ? kMaxRouteBytes : kMaxJsonBytes;
}

// Refuses what no endpoint answers: a foreign Host or Origin, a POST of the wrong type. Runs
// before the body is read. (Sizes are left to httplib, which reads and drops a body above
// kMaxRouteBytes before answering 413, so that the client hears the answer, and to each
// endpoint.)
httplib::Server::HandlerResponse Screen(const httplib::Request& req, httplib::Response& res) {
  const std::string origin = req.get_header_value("Origin");
  std::string refusal;
  int status = 403;
  if (!IsLoopbackHost(req.get_header_value("Host"))) {
    refusal = "refused: the Host header must name this computer (localhost, 127.0.0.1 or [::1])";
  } else if (!origin.empty() && !IsLoopbackOrigin(origin)) {
    refusal = "refused: requests from " + origin + " are not the studio's own page";
  } else if (req.method == "POST") {
    const std::string type = Lower(req.get_header_value("Content-Type"));
    const std::string wanted =
        req.path == "/api/route" ? "application/octet-stream" : "application/json";
    if (type.rfind(wanted, 0) != 0) {
      status = 415;
      refusal = req.path + " takes " + wanted;
    }
  }
  if (refusal.empty()) return httplib::Server::HandlerResponse::Unhandled;
  Answer(res, ErrorAnswer(status, refusal));
  return httplib::Server::HandlerResponse::Handled;
}

// The name a dropped file is given in messages: its X-File-Name, printable, at most 100
// characters.
std::string DroppedName(const httplib::Request& req) {
  std::string name = req.get_header_value("X-File-Name").substr(0, 100);
  for (char& c : name) {
    if (std::isprint(static_cast<unsigned char>(c)) == 0) c = '?';
  }
  return name.empty() ? "(dropped route)" : name;
}

}  // namespace

bool IsLoopbackHost(const std::string& host) {
  std::string name = Lower(host);
  std::string port;
  const std::size_t bracket = name.rfind(']');
  const std::size_t colon = name.rfind(':');
  if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
    port = name.substr(colon + 1);
    name.erase(colon);
    if (!IsPort(port)) return false;
  }
  return name == "localhost" || name == "127.0.0.1" || name == "[::1]";
}

bool IsLoopbackOrigin(const std::string& origin) {
  const std::string scheme = "http://";
  return origin.rfind(scheme, 0) == 0 && IsLoopbackHost(origin.substr(scheme.size()));
}

CStudioServer::CStudioServer(CStudio& studio) : m_Studio(studio), mp_Http(new httplib::Server) {
  Route();
}

CStudioServer::~CStudioServer() = default;

int CStudioServer::Bind(int port) {
  if (port == 0) return mp_Http->bind_to_any_port("127.0.0.1");
  return mp_Http->bind_to_port("127.0.0.1", port) ? port : -1;
}

bool CStudioServer::Listen() { return mp_Http->listen_after_bind(); }

void CStudioServer::Stop() { mp_Http->stop(); }

void CStudioServer::Route() {
  httplib::Server& http = *mp_Http;
  http.set_payload_max_length(kMaxRouteBytes);
  http.set_read_timeout(10, 0);
  http.set_write_timeout(10, 0);
  http.set_default_headers({{"Cache-Control", "no-store"},
                            {"X-Content-Type-Options", "nosniff"},
                            {"Referrer-Policy", "no-referrer"},
                            {"Content-Security-Policy", kSecurityPolicy}});
  http.set_pre_routing_handler(Screen);
  // A JSON endpoint: the body's size checked again (a chunked body has no Content-Length),
  // then the answer under the session's lock.
  const auto post = [this](const char* path, auto answer) {
    mp_Http->Post(path, [this, answer](const httplib::Request& req, httplib::Response& res) {
      if (req.body.size() > BodyLimit(req)) {
        Answer(res, ErrorAnswer(413, req.path + ": the body may have at most " +
                                         std::to_string(BodyLimit(req)) + " bytes"));
        return;
      }
      std::lock_guard<std::mutex> hold(m_Lock);
      Answer(res, answer(req));
    });
  };
  post("/api/sheet",
       [this](const httplib::Request& req) { return AnswerSheet(m_Studio, req.body); });
  post("/api/cell", [this](const httplib::Request& req) { return AnswerCell(m_Studio, req.body); });
  post("/api/save", [this](const httplib::Request& req) { return AnswerSave(m_Studio, req.body); });
  post("/api/route", [this](const httplib::Request& req) {
    return AnswerRoute(m_Studio, req.body, DroppedName(req));
  });
  http.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> hold(m_Lock);
    Answer(res, AnswerState(m_Studio));
  });
  http.Get(R"(/[^?]*)", [](const httplib::Request& req, httplib::Response& res) {
    const CStudioAsset* asset = FindStudioAsset(req.path);
    if (asset == nullptr) {
      Answer(res, ErrorAnswer(404, StatusMessage(404)));
      return;
    }
    res.set_content(reinterpret_cast<const char*>(asset->data), asset->size, asset->contentType);
  });
  const httplib::Server::HandlerWithResponse onError = [](const httplib::Request&,
                                                          httplib::Response& res) {
    if (res.body.empty()) Answer(res, ErrorAnswer(res.status, StatusMessage(res.status)));
    return httplib::Server::HandlerResponse::Handled;
  };
  http.set_error_handler(onError);
  http.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr thrown) {
        std::string what = "unknown";
        try {
          std::rethrow_exception(thrown);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        Answer(res, ErrorAnswer(500, "internal error: " + what));
      });
}

}  // namespace tool
