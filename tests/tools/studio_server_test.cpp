// The studio's server through httplib's client, as the page and as a stranger reach it: its
// answers, its limits and its refusals, and that Save writes only the style file.
#include <dirent.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "input/routefile.h"
#include "input/style.h"
#include "route.h"
#include "studio/server.h"

namespace {

using nlohmann::json;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A route of three guides and two turns, in the program's GeoJSON.
const char kSmallRoute[] = R"({"type": "FeatureCollection",
  "turns": [{"enter": 0, "exit": 1, "type": 3}, {"enter": 1, "exit": 2, "type": 2}],
  "features": [
   {"type": "Feature", "properties": {"name": "High Street"}, "geometry": {"type": "LineString",
    "coordinates": [[-2.2700, 53.4800], [-2.2690, 53.4800]]}},
   {"type": "Feature", "properties": {"name": "Mill Lane"}, "geometry": {"type": "LineString",
    "coordinates": [[-2.2690, 53.4800], [-2.2690, 53.4790]]}},
   {"type": "Feature", "properties": {"name": "Dock Road"}, "geometry": {"type": "LineString",
    "coordinates": [[-2.2690, 53.4790], [-2.2680, 53.4790]]}}]})";

TEST(StudioHostTest, OnlyLoopbackNamesPass) {
  const struct {
    const char* host;
    bool loopback;
  } kCases[] = {
      {"localhost", true},
      {"LOCALHOST:8080", true},
      {"127.0.0.1", true},
      {"127.0.0.1:65535", true},
      {"[::1]", true},
      {"[::1]:80", true},
      {"", false},
      {"evil.example", false},
      {"localhost.evil.example", false},
      {"127.0.0.2", false},
      {"127.0.0.1:", false},
      {"127.0.0.1:80x", false},
      {"[::1]x", false},
      {"127.0.0.1@evil.example", false},
      {"0.0.0.0", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(tool::IsLoopbackHost(c.host), c.loopback) << c.host;
  EXPECT_TRUE(tool::IsLoopbackOrigin("http://localhost:4000"));
  EXPECT_FALSE(tool::IsLoopbackOrigin("https://localhost:4000"));
  EXPECT_FALSE(tool::IsLoopbackOrigin("http://evil.example"));
  EXPECT_FALSE(tool::IsLoopbackOrigin("null"));
}

// A studio on the sample and the built-in style, saving into a directory of its own, served
// on a free port for the test's client.
class CStudioServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Dir = ::testing::TempDir() + "studio_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(::mkdir(m_Dir.c_str(), 0700), 0);
    tool::CRouteFile route;
    std::string error;
    ASSERT_TRUE(tool::LoadSampleRoute(route, error)) << error;
    ASSERT_TRUE(tool::LoadDefaultStyle(m_Style, error)) << error;
    m_Session =
        tool::CStudioSession::Create(std::move(route), tool::CCenter::kArrow, StylePath(), error);
    ASSERT_TRUE(m_Session) << error;
    m_Studio.reset(new tool::CStudio{m_Session.get(), m_Style, "day"});
    m_Server.reset(new tool::CStudioServer(*m_Studio));
    m_Port = m_Server->Bind(0);
    ASSERT_GT(m_Port, 0);
    m_Listener = std::thread([this] { m_Server->Listen(); });
    m_Client.reset(new httplib::Client("127.0.0.1", m_Port));
    m_Client->set_read_timeout(30, 0);
    // Listening starts on the other thread: wait for the first answer.
    for (int i = 0; i < 200 && !m_Client->Get("/api/state"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  void TearDown() override {
    if (m_Server) m_Server->Stop();
    if (m_Listener.joinable()) m_Listener.join();
    for (const std::string& name : Files()) std::remove((m_Dir + "/" + name).c_str());
    ::rmdir(m_Dir.c_str());
    GetRouteManager().GetPathManager().ClearOrgPoint();
    GetRouteManager().GetPathManager().SetDestPoints({});
  }

  std::string StylePath() const { return m_Dir + "/style.json"; }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    DIR* dir = ::opendir(m_Dir.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
  }

  // The built-in style as a request's "style" member.
  json StyleJson() const { return json::parse(tool::FormatStyle(m_Style)); }

  httplib::Result PostJson(const std::string& path, const json& body,
                           const httplib::Headers& headers = {}) {
    return m_Client->Post(path.c_str(), headers, body.dump(), "application/json");
  }

  // The answer's "error" member.
  static std::string ErrorOf(const httplib::Result& result) {
    if (!result) return "(no answer)";
    const json body = json::parse(result->body, nullptr, false);
    return body.is_object() && body.contains("error") ? body["error"].get<std::string>()
                                                      : result->body;
  }

  std::string m_Dir;
  tool::CStyle m_Style;
  std::unique_ptr<tool::CStudioSession> m_Session;
  std::unique_ptr<tool::CStudio> m_Studio;
  std::unique_ptr<tool::CStudioServer> m_Server;
  int m_Port = -1;
  std::thread m_Listener;
  std::unique_ptr<httplib::Client> m_Client;
};

TEST_F(CStudioServerTest, ServesThePageItsFilesAndTheState) {
  const struct {
    const char* path;
    const char* type;
    const char* part;
  } kCases[] = {{"/", "text/html", "/studio.js"},
                {"/studio.js", "text/javascript", "/api/sheet"},
                {"/studio.css", "text/css", "#sheet"},
                {"/api/state", "application/json", "\"savePath\""}};
  for (const auto& c : kCases) {
    const httplib::Result got = m_Client->Get(c.path);
    ASSERT_TRUE(got) << c.path;
    EXPECT_EQ(got->status, 200) << c.path;
    EXPECT_EQ(got->get_header_value("Content-Type").rfind(c.type, 0), 0u) << c.path;
    EXPECT_NE(got->body.find(c.part), std::string::npos) << c.path;
    EXPECT_NE(got->get_header_value("Content-Security-Policy").find("default-src 'none'"),
              std::string::npos);
  }
  const json state = json::parse(m_Client->Get("/api/state")->body);
  EXPECT_EQ(state["route"]["turns"].size(), 6u);
  EXPECT_EQ(state["ladder"].size(), 13u);
  EXPECT_EQ(state["savePath"], StylePath());
  EXPECT_TRUE(state["style"]["themes"].contains("night"));
}

TEST_F(CStudioServerTest, SheetHasACellPerTurnAndIndexAndEveryThemesFindings) {
  const httplib::Result got = PostJson("/api/sheet", {{"style", StyleJson()}, {"theme", "night"}});
  ASSERT_TRUE(got);
  ASSERT_EQ(got->status, 200) << ErrorOf(got);
  const json sheet = json::parse(got->body);
  ASSERT_EQ(sheet["cells"].size(), 6u * 7u);
  for (const json& cell : sheet["cells"]) {
    // "iVBORw0KGgo" is the PNG signature in base 64.
    EXPECT_EQ(cell["image"].get<std::string>().rfind("data:image/png;base64,iVBORw0KGgo", 0), 0u);
  }
  EXPECT_EQ(sheet["cells"][0]["turn"], 0);
  EXPECT_EQ(sheet["cells"][6]["scaleIndex"], 6);
  // As `check --style` on the built-in style: turn 3 runs out at index 0 in each theme, and at
  // index 1 too with the large variant's wider arrow.
  ASSERT_EQ(sheet["audit"].size(), 3u);
  std::vector<std::string> findings;
  for (const json& theme : sheet["audit"]) {
    for (const json& finding : theme["findings"]) {
      EXPECT_EQ(finding["kind"], "fit");
      EXPECT_EQ(finding["turn"], 3);
      findings.push_back(theme["theme"].get<std::string>() + " " +
                         std::to_string(finding["scaleIndex"].get<int>()));
    }
  }
  EXPECT_EQ(findings, (std::vector<std::string>{"day 0", "large 0", "large 1", "night 0"}));
  EXPECT_EQ(sheet["notes"].size(), 4u);
  // Chosen rows and columns, in the order asked.
  const json some = json::parse(
      PostJson("/api/sheet", {{"style", StyleJson()}, {"turns", {5, 2}}, {"scaleIndices", {12}}})
          ->body);
  ASSERT_EQ(some["cells"].size(), 2u);
  EXPECT_EQ(some["cells"][1]["turn"], 2);
  EXPECT_EQ(some["cells"][1]["noArrow"], "the table draws arrows up to scale index 6");
}

TEST_F(CStudioServerTest, LargeCellComesWithItsCalls) {
  const httplib::Result got =
      PostJson("/api/cell", {{"style", StyleJson()}, {"turn", 3}, {"scaleIndex", 0}});
  ASSERT_TRUE(got);
  ASSERT_EQ(got->status, 200) << ErrorOf(got);
  const json cell = json::parse(got->body);
  EXPECT_EQ(cell["warning"], "runs out 241 px: left, top, right, bottom");
  ASSERT_GE(cell["calls"].size(), 4u);
  EXPECT_EQ(cell["calls"].back()["op"], "DrawPolygon");
}

TEST_F(CStudioServerTest, RefusesStrangersAndBadRequestsWithAMessage) {
  json badColour = StyleJson();
  badColour["themes"]["day"]["pathColor"] = "red";
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const struct {
    const char* what;
    const char* method;
    std::string path;
    httplib::Headers headers;
    std::string body;
    const char* type;
    int status;
    const char* error;  // the start of the answer's message
  } kCases[] = {
      {"a foreign Host",
       "GET",
       "/api/state",
       {{"Host", "evil.example"}},
       "",
       "",
       403,
       "refused: the Host header must name this computer"},
      {"a foreign Host with a loopback start",
       "GET",
       "/",
       {{"Host", "localhost.evil.example"}},
       "",
       "",
       403,
       "refused: the Host header"},
      {"a foreign page posting",
       "POST",
       "/api/save",
       {{"Origin", "http://evil.example"}},
       json{{"style", StyleJson()}}.dump(),
       "application/json",
       403,
       "refused: requests from http://evil.example"},
      {"a form's content type",
       "POST",
       "/api/save",
       {},
       "style=x",
       "text/plain",
       415,
       "/api/save takes application/json"},
      {"a route as JSON",
       "POST",
       "/api/route",
       {},
       kSmallRoute,
       "application/json",
       415,
       "/api/route takes application/octet-stream"},
      {"malformed JSON",
       "POST",
       "/api/sheet",
       {},
       "{\"style\": ",
       "application/json",
       400,
       "line 1, column 11: malformed JSON"},
      {"deeply nested JSON",
       "POST",
       "/api/sheet",
       {},
       deep,
       "application/json",
       400,
       "the request must be a JSON object"},
      {"no style", "POST", "/api/sheet", {}, "{}", "application/json", 400, "style: missing"},
      {"a bad colour",
       "POST",
       "/api/sheet",
       {},
       json{{"style", badColour}}.dump(),
       "application/json",
       400,
       "style: themes.day.pathColor: a colour must be"},
      {"an unknown theme",
       "POST",
       "/api/sheet",
       {},
       json{{"style", StyleJson()}, {"theme", "dusk"}}.dump(),
       "application/json",
       400,
       "theme: must name one of the style's themes"},
      {"a turn not on the route",
       "POST",
       "/api/sheet",
       {},
       json{{"style", StyleJson()}, {"turns", {9}}}.dump(),
       "application/json",
       400,
       "turns[0]: must be a whole number from 0 to 5"},
      {"an index past the ladder",
       "POST",
       "/api/cell",
       {},
       json{{"style", StyleJson()}, {"turn", 0}, {"scaleIndex", 13}}.dump(),
       "application/json",
       400,
       "scaleIndex: must be a whole number from 0 to 12"},
      {"a JSON body over 1 MiB",
       "POST",
       "/api/sheet",
       {},
       std::string((1u << 20) + 1, ' '),
       "application/json",
       413,
       "/api/sheet: the body may have at most 1048576 bytes"},
      {"a route over 16 MiB",
       "POST",
       "/api/route",
       {},
       std::string((16u << 20) + 1, ' '),
       "application/octet-stream",
       413,
       "request too large: a route may have at most 16777216 bytes"},
      {"a path out of the page", "GET", "/../../etc/passwd", {}, "", "", 404, "not found"},
      {"an encoded path out of the page",
       "GET",
       "/%2e%2e/%2e%2e/etc/passwd",
       {},
       "",
       "",
       404,
       "not found"},
      {"a file beside the page", "GET", "/index.html", {}, "", "", 404, "not found"},
      {"an unknown answer", "GET", "/api/nothing", {}, "", "", 404, "not found"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const httplib::Result got = std::string(c.method) == "GET"
                                    ? m_Client->Get(c.path.c_str(), c.headers)
                                    : m_Client->Post(c.path.c_str(), c.headers, c.body, c.type);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, c.status);
    EXPECT_EQ(ErrorOf(got).rfind(c.error, 0), 0u) << ErrorOf(got);
  }
  // Nothing was written, and the server still answers.
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(m_Client->Get("/api/state")->status, 200);
}

TEST_F(CStudioServerTest, SaveWritesTheStyleFileAndNothingElse) {
  json edited = StyleJson();
  edited["sizes"][1]["arrowBorderWidth"] = 12;
  edited["themes"]["night"]["background"] = "0x00000000";
  const httplib::Result saved = PostJson("/api/save", {{"style", edited}});
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->status, 200) << ErrorOf(saved);
  EXPECT_EQ(json::parse(saved->body)["saved"], StylePath());
  EXPECT_EQ(Files(), std::vector<std::string>{"style.json"});
  tool::CStyle read;
  std::string error;
  ASSERT_TRUE(tool::LoadStyleFile(StylePath(), read, error)) << error;
  EXPECT_EQ(read.sizes.rows[1].arrowBorderWidth, 12);
  EXPECT_EQ(read.FindTheme("night")->background, 0u);
  // The state the page reloads is what was saved.
  EXPECT_EQ(json::parse(m_Client->Get("/api/state")->body)["style"]["sizes"][1]["arrowBorderWidth"],
            12);
  // A bad style is not saved: the file keeps the last good one.
  edited["sizes"][1]["arrowBorderWidth"] = -1;
  const std::string before = ReadFile(StylePath());
  const httplib::Result refused = PostJson("/api/save", {{"style", edited}});
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 400);
  EXPECT_EQ(ReadFile(StylePath()), before);
}

TEST_F(CStudioServerTest, DroppedRouteReplacesTheRouteOrLeavesIt) {
  const httplib::Headers named = {{"X-File-Name", "bad.geojson"}};
  const httplib::Result bad =
      m_Client->Post("/api/route", named, "{\"type\": \"Feature", "application/octet-stream");
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->status, 400);
  EXPECT_EQ(ErrorOf(bad).rfind("bad.geojson: line 1, column", 0), 0u) << ErrorOf(bad);
  EXPECT_EQ(json::parse(m_Client->Get("/api/state")->body)["route"]["turns"].size(), 6u);
  const httplib::Result good = m_Client->Post("/api/route", {{"X-File-Name", "small.geojson"}},
                                              kSmallRoute, "application/octet-stream");
  ASSERT_TRUE(good);
  ASSERT_EQ(good->status, 200) << ErrorOf(good);
  const json route = json::parse(good->body)["route"];
  EXPECT_EQ(route["name"], "small.geojson");
  EXPECT_EQ(route["turns"].size(), 2u);
  EXPECT_EQ(route["turns"][1]["roads"], "Mill Lane \u2192 Dock Road");
  const json sheet = json::parse(PostJson("/api/sheet", {{"style", StyleJson()}})->body);
  EXPECT_EQ(sheet["cells"].size(), 2u * 7u);
}

}  // namespace
