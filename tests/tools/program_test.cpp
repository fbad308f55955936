// The advicepath program from the command line: what it writes for good requests, and for
// each kind of bad one a single line on standard error, exit status 2 and no file left.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CRun {
  int status;       // exit status; -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the program in a directory of its own, which starts empty for each test.
class CProgramTest : public ::testing::Test {
 protected:
  CProgramTest()
      : m_Dir(::testing::TempDir() + "advicepath_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    ::mkdir(m_Dir.c_str(), 0700);
  }
  ~CProgramTest() override {
    for (const std::string& name : Files()) std::remove((m_Dir + "/" + name).c_str());
    ::rmdir(m_Dir.c_str());
  }

  // Runs `advicepath <arguments>` with the test's directory as working directory.
  CRun Run(const std::string& arguments) {
    const std::string errPath = m_Dir + "/../" + "stderr_" + std::to_string(::getpid());
    const std::string command =
        "cd " + m_Dir + " && " ADVICEPATH_PROGRAM " " + arguments + " 2>" + errPath;
    CRun run{-1, std::string(), std::string()};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      run.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    std::remove(errPath.c_str());
    return run;
  }

  // Writes `text` into the test's directory as `name`.
  void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(m_Dir + "/" + name, std::ios::binary) << text;
  }

  // The names in the test's directory, sub-directories' contents included as "dir/name".
  std::vector<std::string> Files(const std::string& sub = "") const {
    std::vector<std::string> names;
    DIR* dir = ::opendir((m_Dir + "/" + sub).c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = sub.empty() ? name : sub + "/" + name;
      const std::vector<std::string> inner = Files(path);
      names.insert(names.end(), inner.begin(), inner.end());
      names.push_back(path);
    }
    ::closedir(dir);
    return names;
  }

  std::string m_Dir;  // the program's working directory
};

TEST_F(CProgramTest, EachBadRequestGetsOneLineStatusTwoAndNoFile) {
  WriteFile("bad.geojson", R"({"type": "FeatureCollection", "features": [)");
  const struct {
    const char* arguments;
    const char* expected;  // the start of the message after "advicepath: "
  } kCases[] = {
      {"render --frobnicate", "render: unknown option --frobnicate"},
      {"render missing.geojson", "missing.geojson: cannot read: No such file or directory"},
      {"render bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"render --sizes bad.geojson", "bad.geojson: line 1, column 44: malformed JSON"},
      {"render --turn 6", "(built-in sample): --turn 6: the route has 6 turns"},
      {"render --enter 3 --exit 2", "(built-in sample): --enter/--exit: enter 3 comes after exit 2"},
      {"render --enter 3", "render: --enter and --exit go together"},
      {"render --scale-index 13", "render: --scale-index: '13' is not a whole number from 0 to 12"},
      {"render --size 800", "render: --size: '800' is not WIDTHxHEIGHT"},
      {"render --size 8x600", "render: --size width: '8' is not a whole number from 16"},
      {"render --log-level loud", "render: --log-level: 'loud' is not fatal, error, warn"},
      {"render --out route.jpg", "route.jpg: the picture's name must end in .png or .svg"},
      {"render --out no/such/dir/route.png", "no/such/dir/route.png: cannot write:"},
      {"render --dump-calls d.json --all-turns all", "render: --dump-calls cannot be combined"},
      {"render a.geojson b.geojson", "render: one route file at most"},
      {"turns --all", "turns: unknown option --all"},
      {"draw", "unknown command draw"},
  };
  for (const auto& c : kCases) {
    const CRun run = Run(c.arguments);
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind(std::string("advicepath: ") + c.expected, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"bad.geojson"});
  }
}

TEST_F(CProgramTest, FailedDumpLeavesNeitherPictureNorDump) {
  const CRun run = Run("render --out route.png --dump-calls missing/calls.json");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("advicepath: missing/calls.json: cannot write:", 0), 0u) << run.err;
  EXPECT_TRUE(Files().empty());
}

TEST_F(CProgramTest, WritesPngAndSvgByExtension) {
  const CRun run =
      Run("render --size 320x240 --out frame.png && " ADVICEPATH_PROGRAM " render --out frame.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(m_Dir + "/frame.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  const std::string svg = ReadFile(m_Dir + "/frame.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST_F(CProgramTest, AllTurnsWritesOnePicturePerTurn) {
  const CRun run = Run("render --all-turns turns");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> files = Files();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"turns", "turns/turn-0.png", "turns/turn-1.png",
                                             "turns/turn-2.png", "turns/turn-3.png",
                                             "turns/turn-4.png", "turns/turn-5.png"}));
}

TEST_F(CProgramTest, TurnsListsTheSampleTurnsWithNamesAndDistances) {
  const CRun run = Run("turns");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(lines, line)) rows.push_back(line);
  ASSERT_EQ(rows.size(), 7u) << run.out;  // a heading and six turns
  EXPECT_NE(rows[1].find("0 -> 1"), std::string::npos) << rows[1];
  EXPECT_NE(rows[1].find("Cockcroft Road -> unnamed road"), std::string::npos) << rows[1];
  EXPECT_NE(rows[6].find("7 -> 9"), std::string::npos) << rows[6];
  EXPECT_NE(rows[6].find("Pendleton Roundabout -> Gerald Road"), std::string::npos) << rows[6];
}

TEST_F(CProgramTest, LibraryLogLinesCarryPositionAndFunction) {
  const CRun run = Run("render --log-level info --out frame.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("INFO pathRender source/render/advicepathrender.cpp:"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find(" AdvicePathRender::DrawTurn: timerDrawTurn::"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("\n\n"), std::string::npos) << run.err;
}

TEST_F(CProgramTest, HelpAndVersionGoToStandardOutput) {
  for (const char* arguments : {"--help", "render --help", "turns --help", "--version"}) {
    const CRun run = Run(arguments);
    EXPECT_EQ(run.status, 0) << arguments;
    EXPECT_EQ(run.err, "") << arguments;
    EXPECT_FALSE(run.out.empty()) << arguments;
  }
}

}  // namespace
