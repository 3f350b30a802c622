// What the engine does with extreme but readable data and with outputs that
// cannot take what is written: walks that leave the range of the reals stop
// the run with code 3 instead of printing asterisks, a failed write is
// noticed, and a title is cut where a character ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_access.h"
#include "line_layout/channel.h"
#include "record_reader.h"
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
