// Inputs far beyond any real project: a huge file, a line of 10 MB without a
// break, and counts of 2^31 - 1 each end the reading with a message naming
// the record, within seconds and without taking memory beyond a few times
// the file limit.
#include "support/resource_limits.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_reader.h"
#include "project_reading.h"

namespace korvan {
namespace {

using testing::MeasureUsage;
using testing::ProjectParts;

void ExpectCheap(const testing::TResourceUsage& usage) {
  EXPECT_LT(usage.seconds, testing::kSecondsAllowed);
  if (usage.peakGrowthMB) EXPECT_LT(*usage.peakGrowthMB, testing::kMegabytesAllowed);
}

TEST(ResourceLimits, AHundredMegabytesOfDigitsAreRefusedBeforeTheyAreRead) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("korvan_huge_" + std::to_string(::getpid()) + ".kv4d"))
                               .string();
  ASSERT_TRUE(testing::WriteRepeatedFile(path, "", "0123456789", testing::kHugeFileBytes));
  FileReadStatus status = FileReadStatus::kRead;
  ExpectCheap(MeasureUsage([&] {
    RecordReader data;
    status = data.Open(path);
  }));
  std::filesystem::remove(path);
  EXPECT_EQ(status, FileReadStatus::kTooLarge);
}

TEST(ResourceLimits, ALineOfTenMegabytesIsOneWordOrOneTitle) {
  const std::string line(testing::kLongLineBytes, '7');
  ProjectParts digits;
  digits.control = line;
  ProjectParts title;
  title.title = line;
  testing::Reading count, named;
  ExpectCheap(MeasureUsage([&] {
    count = testing::ReadProject(digits.Text());
    named = testing::ReadProject(title.Text());
  }));
  EXPECT_EQ(count.error,
            "RECORD 2 (NINC LSO NUNIT), LINE 2: \"777777777777777777777777...\" is "
            "not an integer in range");
  EXPECT_EQ(named.error, "");
  EXPECT_EQ(named.in().TITLE, line.substr(0, 72));
}

struct LargestCount {
  const char* field;
  void (*place)(ProjectParts&, const std::string& count);
  const char* record;
  int line;
  const char* range;
};

TEST(ResourceLimits, CountsOfTheLargestIntegerNameTheirRecord) {
  const std::vector<LargestCount> cases = {
      {"NINC", [](ProjectParts& p, const std::string& n) { p.control = n + " 0 1"; },
       "2 (NINC LSO NUNIT)", 2, "1..500"},
      {"NTZ",
       [](ProjectParts& p, const std::string& n) {
         p = ProjectParts::WithUserCurves(), p.userTz = n;
       },
       "4 (NTZ)", 4, "1..200"},
      {"NPTZ",
       [](ProjectParts& p, const std::string& n) {
         p = ProjectParts::WithUserCurves(), p.userTz = "1\n1 0 " + n;
       },
       "4 (T-Z CURVE 1)", 5, "1..200"},
      {"NQW",
       [](ProjectParts& p, const std::string& n) {
         p = ProjectParts::WithUserCurves(), p.userQw = n;
       },
       "5 (NQW)", 8, "0..50"},
      {"NLAYER", [](ProjectParts& p, const std::string& n) { p.soil = n; }, "6 (NLAYER)", 4,
       "1..30"},
      {"NAE", [](ProjectParts& p, const std::string& n) { p.ae = n; }, "7 (NAE)", 8, "0..50"},
      {"NTIPMV", [](ProjectParts& p, const std::string& n) { p.tipMovements = n; }, "9 (NTIPMV)",
       12, "0..100"},
      {"NLOAD", [](ProjectParts& p, const std::string& n) { p.loads = n; }, "10 (NLOAD)", 13,
       "0..50"},
      {"NSET", [](ProjectParts& p, const std::string& n) { p.settlement = n; }, "11 (NSET)", 14,
       "0..100"},
      {"NMOD", [](ProjectParts& p, const std::string& n) { p.tzModification = "1\n" + n; },
       "12 (NMOD)", 16, "0..50"},
  };
  for (const LargestCount& c : cases) {
    for (const std::string count : {"2147483647", "-2147483648"}) {
      ProjectParts parts;
      c.place(parts, count);
      testing::Reading reading;
      ExpectCheap(MeasureUsage([&] { reading = testing::ReadProject(parts.Text()); }));
      EXPECT_EQ(reading.error, "RECORD " + std::string(c.record) + ", LINE " +
                                   std::to_string(c.line) + ": " + c.field + " = " + count +
                                   " is outside " + c.range);
    }
    ProjectParts beyond;
    c.place(beyond, "2147483648");
    EXPECT_NE(
        testing::ReadProject(beyond.Text()).error.find("\"2147483648\" is not an integer in range"),
        std::string::npos)
        << c.field;
  }
}

}  // namespace
}  // namespace korvan
