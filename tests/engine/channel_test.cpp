// A channel opened in memory holds exactly the bytes a file channel writes,
// also across the large pieces in which a file channel flushes.
#include "engine/line_layout/channel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/file_access.h"
#include "test_support.h"

namespace korvan {
namespace {

// The same writes, more than one flush's worth of them.
void WriteLines(OutputChannel& channel) {
  channel.Write(R"(5X, '='*73)");
  for (int i = 0; i < 3000; ++i) {
    channel.Write("2X, I5, I11, E16.4", {i, i * 7, static_cast<float>(i) / 3});
    channel.WriteFree({i, 0.1f * static_cast<float>(i)});
  }
  channel.WriteRaw("raw text\n");
}

TEST(OutputChannel, MemoryHoldsWhatAFileReceives) {
  const std::string path = ::testing::TempDir() + "korvan_channel_" + std::to_string(::getpid());
  OutputChannel file;
  ASSERT_TRUE(OpenOutputChannel(file, path));
  WriteLines(file);
  ASSERT_TRUE(file.Close());

  OutputChannel memory;
  memory.OpenMemory();
  WriteLines(memory);
  const std::string written = testing::ReadFile(path);
  std::remove(path.c_str());
  EXPECT_GT(written.size(), std::size_t{1} << 16);
  EXPECT_EQ(memory.Text(), written);

  // Closing keeps the text and ends the writing; opening again starts afresh.
  EXPECT_TRUE(memory.Close());
  memory.Write("A", {"after closing"});
  EXPECT_EQ(memory.Text(), written);
  memory.OpenMemory();
  EXPECT_EQ(memory.Text(), "");
}

}  // namespace
}  // namespace korvan
