#include "engine/run_description.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "engine/report_heading.h"
#include "test_support.h"

namespace korvan {
namespace {

TEST(SplitPath, WindowsAndPosixPaths) {
  struct Case {
    const char* path;
    const char* drive;
    const char* directory;
    const char* name;
  };
  const Case cases[] = {
      {R"(C:\Jobs\Pier 3\north.kv4d)", "C:", R"(\Jobs\Pier 3\)", "north.kv4d"},
      {"/home/eng/piles/pier.kv4o", "", "/home/eng/piles/", "pier.kv4o"},
      {"pier.kv4p", "", "", "pier.kv4p"},
  };
  for (const Case& c : cases) {
    const PathParts parts = SplitPath(c.path);
    EXPECT_EQ(parts.drive, c.drive) << c.path;
    EXPECT_EQ(parts.directory, c.directory) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
  }
}

class RunDescriptionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("names_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat");
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::filesystem::path path_;
};

TEST_F(RunDescriptionFile, ReadsAllEightLines) {
  Write(
      "2021.4.3-extended-version\nAcme Foundations\nAustin, TX\n  42 trailing words\n"
      "/jobs/a.kv4d\n/jobs/a.kv4o\n/jobs/a.kv4p  \n/jobs/a.kv4r\r\n");
  RunDescription names;
  ASSERT_TRUE(ReadRunDescription(path_.string(), names));
  EXPECT_EQ(names.VERSION, "2021.4.3-ext");
  EXPECT_EQ(names.ORGANISATION, "Acme Foundations");
  EXPECT_EQ(names.LOCATION, "Austin, TX");
  EXPECT_EQ(names.IDNUMBER, 42);
  EXPECT_EQ(names.DATAPATH, "/jobs/a.kv4d");
  EXPECT_EQ(names.PLOTPATH, "/jobs/a.kv4p");
  EXPECT_EQ(names.NOTESPATH, "/jobs/a.kv4r");
}

TEST_F(RunDescriptionFile, ShortVersionIsPadded) {
  Write("2021.4.3\nA\nB\n0\n/a.kv4d\n/a.kv4o\n/a.kv4p\n/a.kv4r\n");
  RunDescription names;
  ASSERT_TRUE(ReadRunDescription(path_.string(), names));
  EXPECT_EQ(names.VERSION, "2021.4.3    ");
}

TEST_F(RunDescriptionFile, IncompleteOrMalformedDescriptionsFail) {
  const char* texts[] = {
      "",
      "2021.4.3\nA\nB\n",
      "2021.4.3\nA\nB\nnot-a-number\n/a.kv4d\n/a.kv4o\n/a.kv4p\n/a.kv4r\n",
      "2021.4.3\nA\nB\n7\n/a.kv4d\n/a.kv4o\n",
      "2021.4.3\nA\nB\n7\n/a.kv4d\n/a.kv4o\n/a.kv4p\n\n",
  };
  for (const char* text : texts) {
    Write(text);
    RunDescription names;
    EXPECT_FALSE(ReadRunDescription(path_.string(), names)) << text;
  }
  RunDescription names;
  EXPECT_FALSE(ReadRunDescription("/nonexistent/names.dat", names));
}

}  // namespace
}  // namespace korvan
