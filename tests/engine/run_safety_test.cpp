// What the engine does with extreme but readable data and with outputs that
// cannot take what is written: walks that leave the range of the reals stop
// the run with code 3 instead of printing asterisks, a failed write is
// noticed, and a title is cut where a character ends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "engine/file_access.h"
#include "engine/line_layout/channel.h"
#include "engine/record_reader.h"
#include "engine/staged_output.h"
#include "test_support.h"

namespace korvan {
namespace {

std::string Example() {
  std::ifstream file(std::string(KORVAN_EXAMPLES_DIR) + "/driven-pile-clay-sand.kv4d");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(RunSafety, WalksBeyondTheRangeOfRealsStopWithCodeThree) {
  struct Extreme {
    const char* what;
    std::string project;
    const char* stop;
    const char* suspect;
  };
  const std::string example = Example();
  const Extreme cases[] = {
      {"AE of 1e-38",
       Replaced(Replaced(example, "7.98E+08 0.0", "1E-38 0.0"), "7.98E+08 720.0", "1E-38 720.0"),
       "THE WALK FOR TIP MOVEMENT  1.000E-04 IN. GIVES NUMBERS BEYOND", "THE AXIAL STIFFNESS AE"},
      {"diameter of 3e38", Replaced(example, "720.0 0.0 18.0 254.5", "720.0 0.0 3E38 254.5"),
       "THE WALK FOR TIP MOVEMENT  1.000E-04 IN. GIVES NUMBERS BEYOND",
       "THE PILE DIAMETER AND THE T-Z CURVES"},
      {"a head load beyond every walk's reach",
       Replaced(example, "254.5\n0\n3\n100000\n", "254.5\n2\n0.5 1E38\n3\n3E38\n"),
       "THE SEARCH FOR HEAD LOAD  3.000E+38 LBS GIVES NUMBERS BEYOND",
       "THE AXIAL STIFFNESS AE AND THE TIP MOVEMENTS"},
  };
  for (const Extreme& c : cases) {
    const testing::ProjectRun run = testing::RunProject(c.project);
    EXPECT_EQ(run.result, 3) << c.what;
    EXPECT_NE(run.report.find(c.stop), std::string::npos) << c.what;
    EXPECT_NE(run.report.find(std::string("CHECK ") + c.suspect), std::string::npos) << c.what;
    // No field is filled with asterisks: a head load of 3E38 is echoed as
    // 3.0000E+38 in its ten columns.
    EXPECT_EQ((run.report + run.plot).find("*****"), std::string::npos) << c.what;
  }
}

TEST(RunSafety, FailedWritesAreNoticedByTheChannel) {
  struct Target {
    std::string path;
    std::size_t bytes;
    bool failedBeforeClose;  // a write large enough to go out at once
    bool closed;
    bool syncToDisk = false;
  };
  const std::string regular = ::testing::TempDir() + "korvan_channel_sync.txt";
  const Target targets[] = {
      {"/dev/full", 100, false, false},
      {"/dev/full", 1 << 17, true, false},
      {"/dev/null", 1 << 17, false, true},
      {"/dev/full", 100, false, false, true},
      {regular, 100, false, true, true},
      {regular, 1 << 17, false, true, true},
      // A device that cannot be synced is no file written whole to disk.
      {"/dev/null", 100, false, false, true},
  };
  for (const Target& t : targets) {
    OutputChannel channel;
    ASSERT_TRUE(OpenOutputChannel(channel, t.path, OutputFileKind::kAnyFile));
    channel.WriteRaw(std::string(t.bytes - 1, 'x') + "\n");
    EXPECT_EQ(channel.Failed(), t.failedBeforeClose) << t.path << " " << t.bytes;
    EXPECT_EQ(channel.Close(t.syncToDisk), t.closed) << t.path << " " << t.bytes;
    if (t.path == regular) EXPECT_EQ(testing::ReadFile(regular).size(), t.bytes);
  }
  std::filesystem::remove(regular);
  OutputChannel device;
  EXPECT_FALSE(OpenOutputChannel(device, "/dev/null", OutputFileKind::kRegularOnly));
}

// An output staged beside its target replaces the target only when it is put
// in place, and then whole (or emptied); otherwise the target stays as it was
// and no temporary file is left. Two outputs go in place together, the plot
// file first: when it cannot, the report is not replaced either.
TEST(RunSafety, StagedOutputsReplaceTheirTargetsOnlyWhenPutInPlace) {
  namespace fs = std::filesystem;
  enum class End { kPutInPlace, kEmptied, kDiscarded, kTargetBecomesAFolder };
  struct Staging {
    const char* what;
    End end;
    const char* plot;    // the plot target's content afterwards ("<folder>" for a folder)
    const char* report;  // the report target's content afterwards
    bool together;       // both put in place
  };
  const Staging cases[] = {
      {"put in place", End::kPutInPlace, "new plot", "new report", true},
      {"plot emptied", End::kEmptied, "", "new report", true},
      {"discarded", End::kDiscarded, "old plot", "old report", false},
      {"plot target became a folder", End::kTargetBecomesAFolder, "<folder>", "old report", false},
  };
  const fs::path folder =
      fs::path(::testing::TempDir()) / ("korvan_staged_" + std::to_string(::getpid()));
  for (const Staging& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string plotPath = (folder / "p.kv4p").string();
    const std::string reportPath = (folder / "p.kv4o").string();
    std::ofstream(plotPath) << "old plot";
    std::ofstream(reportPath) << "old report";
    ::chmod(reportPath.c_str(), 0640);
    {
      StagedOutput plot, report;
      for (auto [staged, path, text] : {std::tuple{&plot, plotPath, "new plot"},
                                        std::tuple{&report, reportPath, "new report"}}) {
        const int fd = staged->Create(path, path == plotPath ? "plot" : "report");
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, text, std::strlen(text)), static_cast<ssize_t>(std::strlen(text)));
        ::close(fd);
      }
      // Both temporary files exist beside their targets, the targets unchanged.
      EXPECT_EQ(testing::ReadFile(plotPath), "old plot");
      const std::string own = ".korvan." + std::to_string(::getpid());
      EXPECT_TRUE(fs::exists(folder / (own + ".plot.part")));
      EXPECT_TRUE(fs::exists(folder / (own + ".report.part")));
      if (c.end == End::kEmptied) EXPECT_TRUE(plot.Empty());
      if (c.end == End::kTargetBecomesAFolder) {
        fs::remove(plotPath);
        fs::create_directories(folder / "p.kv4p" / "inside");
      }
      if (c.end != End::kDiscarded) {
        const StagedOutput* failed = nullptr;
        EXPECT_EQ(PutInPlaceTogether(plot, report, failed), c.together);
        EXPECT_EQ(failed, c.together ? nullptr : &plot);
      }
    }
    EXPECT_EQ(fs::is_directory(plotPath) ? "<folder>" : testing::ReadFile(plotPath), c.plot);
    EXPECT_EQ(testing::ReadFile(reportPath), c.report);
    EXPECT_EQ(fs::status(reportPath).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << "the permissions of the file replaced";
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) {
      left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"p.kv4o", "p.kv4p"}));
  }
  fs::remove_all(folder);

  // A target that names no file, or lies in a missing folder, is refused.
  StagedOutput output;
  EXPECT_EQ(output.Create((folder / "").string(), "plot"), -1);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(output.Create((folder / "missing" / "p.kv4p").string(), "plot"), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(output.IsCreated());
}

TEST(RunSafety, TitleIsCutWhereACharacterEnds) {
  struct Title {
    std::string line;
    std::string kept;  // before the blanks that pad it to 72 bytes
  };
  const std::string a70(70, 'a'), a71(71, 'a');
  const Title titles[] = {
      {a70 + "\xC3\xA9\xC3\xA9", a70 + "\xC3\xA9"},  // é ends at byte 72
      {a71 + "\xC3\xA9", a71},                       // é would be split
      {a70 + "\xE2\x82\xAC", a70},                   // € would be split
      {a70 + "a\xF0\x9F\x98\x80", a71},              // an emoji would be split
      {a71 + "\xE9\xE9", a71 + "\xE9"},              // single-byte text is cut by byte
      {a71 + "\xA9\xA9", a71 + "\xA9"},              // a stray continuation byte too
  };
  for (const Title& t : titles) {
    RecordReader reader;
    reader.OpenText(t.line + "\n");
    const std::string title = reader.ReadTitle();
    EXPECT_EQ(title, t.kept + std::string(72 - t.kept.size(), ' ')) << t.line;
  }
}

}  // namespace
}  // namespace korvan
