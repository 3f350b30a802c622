// End to end through the shipped engine library: a missing or short run
// description, a missing data file and a malformed data file each end the
// run with a result code and whatever the report can say, never a crash.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/dynlib.h"
#include "runner/engine_library.h"
#include "runner/engine_runner.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kRunDescriptionError = 2;
constexpr std::int32_t kProjectDataError = 3;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh, empty folder per test, removed afterwards.
class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("korvan_bad_input_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The example project copied into the folder, with `line` (1-based)
  // replaced when given.
  fs::path ExampleCopy(int line = 0, const std::string& replacement = "") {
    const fs::path copy = folder_ / "pile.kv4d";
    fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d", copy);
    if (line > 0) {
      std::istringstream lines(ReadText(copy));
      std::string text, current;
      for (int n = 1; std::getline(lines, current); ++n) {
        text += (n == line ? replacement : current) + "\n";
      }
      WriteText(copy, text);
    }
    return copy;
  }

  // Calls IKORVAN(4, 3) directly with the folder as current directory.
  std::int32_t CallEngineInFolder() {
    platform::TDynamicLibrary library(std::string(KORVAN_BIN_DIR) + "/" + kEngineFileName, true);
    if (!library.GetIsOpen()) return -1;
    using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
    auto entry = reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"));
    if (!entry) return -1;
    const fs::path saved = fs::current_path();
    fs::current_path(folder_);
    const std::int32_t result = entry(4, 3);
    fs::current_path(saved);
    return result;
  }

  fs::path folder_;
};

TEST_F(BadInput, MissingRunDescription) {
  EXPECT_EQ(CallEngineInFolder(), kRunDescriptionError);
  EXPECT_FALSE(fs::exists(folder_ / "names.dat"));
}

TEST_F(BadInput, RunDescriptionWithoutPaths) {
  WriteText(folder_ / "names.dat", "2021.4.3\nAcme\nAustin, TX\n");
  EXPECT_EQ(CallEngineInFolder(), kRunDescriptionError);
  WriteText(folder_ / "names.dat", "2021.4.3\nAcme\nAustin, TX\nnot a number\n");
  EXPECT_EQ(CallEngineInFolder(), kRunDescriptionError);
}

TEST_F(BadInput, RunDescriptionCutAfterTheReportPath) {
  const fs::path data = ExampleCopy();
  const fs::path report = folder_ / "pile.kv4o";
  WriteText(folder_ / "names.dat",
            "2021.4.3\nAcme\nAustin, TX\n7\n" + data.string() + "\n" + report.string() + "\n");
  EXPECT_EQ(CallEngineInFolder(), kRunDescriptionError);
  // The report was named, so it tells why the run stopped.
  ASSERT_TRUE(fs::exists(report));
  EXPECT_NE(ReadText(report).find("names.dat IS MISSING OR INCOMPLETE"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder_ / "pile.kv4p"));
}

TEST_F(BadInput, MissingDataFile) {
  const fs::path data = folder_ / "absent.kv4d";
  const EngineRun run = RunEngine(data, KORVAN_BIN_DIR, UserIdentification{});
  ASSERT_TRUE(run.called) << run.failure;
  EXPECT_EQ(run.result, kProjectDataError);
  EXPECT_FALSE(fs::exists(data));
  EXPECT_FALSE(fs::exists(folder_ / "names.dat"));
  const std::string report = ReadText(folder_ / "absent.kv4o");
  EXPECT_NE(report.find("**** ERROR: CANNOT OPEN THE FILE ****"), std::string::npos);
  EXPECT_NE(report.find(data.string()), std::string::npos);
  ASSERT_TRUE(fs::exists(folder_ / "absent.kv4p"));
  EXPECT_EQ(fs::file_size(folder_ / "absent.kv4p"), 0u);
  EXPECT_TRUE(fs::exists(folder_ / "absent.kv4r"));
}

TEST_F(BadInput, MalformedDataFiles) {
  struct Malformed {
    int line;
    const char* replacement;
    const char* message;
  };
  const Malformed cases[] = {
      {2, "0 0 1", "RECORD 2 (NINC LSO NUNIT), LINE 2: NINC = 0 is outside 1..500"},
      {2, "100.0 0 1", "RECORD 2 (NINC LSO NUNIT), LINE 2: \"100.0\" is not an integer"},
      {5, "1 7 0.0 600.0", "RECORD 6 (LAYER 1), LINE 5: soil type KSOIL = 7 is outside 1..6"},
      {11, "60", "RECORD 7 (NAE), LINE 11: NAE = 60 is outside 0..50"},
      {16, "6", "RECORD 11 (NSET), LINE 22: the file ends"},
  };
  for (const Malformed& c : cases) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const fs::path data = ExampleCopy(c.line, c.replacement);
    const EngineRun run = RunEngine(data, KORVAN_BIN_DIR, UserIdentification{});
    ASSERT_TRUE(run.called) << run.failure;
    EXPECT_EQ(run.result, kProjectDataError) << c.message;
    const std::string report = ReadText(folder_ / "pile.kv4o");
    EXPECT_NE(report.find("**** ERROR IN THE PROJECT DATA FILE ****"), std::string::npos);
    EXPECT_NE(report.find(c.message), std::string::npos) << c.message << "\n" << report;
  }
}

TEST_F(BadInput, RunnerShowsFileErrorsOnTheConsole) {
  const fs::path data = ExampleCopy(5, "1 0 0.0 600.0");
  const std::string command =
      "'" + std::string(KORVAN_BIN_DIR) + "/korvan' run '" + data.string() + "' 2>/dev/null";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, n);
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kProjectDataError);
  EXPECT_NE(output.find("\n  FILE ERRORS!\n"), std::string::npos) << output;
  EXPECT_NE(output.find("result code 3"), std::string::npos) << output;
}

}  // namespace
}  // namespace korvan
