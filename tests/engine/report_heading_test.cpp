#include "engine/report_heading.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "engine/run_context.h"
#include "test_support.h"

namespace korvan {
namespace {

std::string Blanks(int n) {
  return std::string(static_cast<std::size_t>(n), ' ');
}

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return tm;
}

// Writes the heading through a report channel and returns its lines.
std::vector<std::string> HeadingLines(const RunDescription& names, const std::tm& now) {
  RunContext ctx;
  ctx.names = names;
  ctx.report.OpenMemory();
  WriteReportHeading(ctx, now);
  return testing::SplitLines(ctx.report.Text());
}

RunDescription PierThree() {
  RunDescription names;
  names.VERSION = "2021.4.3    ";
  names.ORGANISATION = "Acme Foundations   ";
  names.LOCATION = "Austin, TX";
  names.IDNUMBER = 4711;
  names.DATAPATH = R"(C:\Jobs\Pier 3\north.kv4d)";
  names.REPORTPATH = R"(C:\Jobs\Pier 3\north.kv4o)";
  names.PLOTPATH = R"(C:\Jobs\Pier 3\north.kv4p)";
  names.NOTESPATH = R"(C:\Jobs\Pier 3\north.kv4r)";
  return names;
}

TEST(ReportHeading, AllTwentySevenLines) {
  const std::string equals = Blanks(5) + std::string(73, '=');
  const std::string dashes = Blanks(5) + std::string(73, '-');
  const std::vector<std::string> expected = {
      equals,
      "",
      Blanks(20) + "  KORVAN for Windows, Version 2021.4.3    ",
      "",
      Blanks(20) + "  Identification Number       4711",
      "",
      Blanks(20) + "   A Program for Computing Load Vs Settlement ",
      Blanks(20) + "           For an Axially Loaded Pile ",
      "",
      equals,
      "",
      "",
      Blanks(5) + "This copy of the program is licensed to:",
      "",
      Blanks(5) + "Acme Foundations",
      Blanks(5) + "Austin, TX",
      "",
      Blanks(5) + R"(Path to file locations      : C:\Jobs\Pier 3\)",
      Blanks(5) + "Name of input data file     : north.kv4d",
      Blanks(5) + "Name of output file         : north.kv4o",
      Blanks(5) + "Name of plot output file    : north.kv4p",
      "",
      dashes,
      Blanks(26) + "Time and Date of Analysis",
      dashes,
      "",
      Blanks(15) + "Date:  March 05, 2024     Time:  09:07:30",
  };
  EXPECT_EQ(HeadingLines(PierThree(), LocalTime(2024, 3, 5, 9, 7, 30)), expected);
}

TEST(ReportHeading, EdgeCases) {
  struct Case {
    const char* what;
    void (*change)(RunDescription&);
    std::tm now;
    std::size_t line;  // 1-based
    std::string expected;
  };
  const std::tm march = LocalTime(2024, 3, 5, 9, 7, 30);
  const Case cases[] = {
      {"version longer than 12 characters is cut",
       [](RunDescription& n) { n.VERSION = "2021.4.3-extended"; }, march, 3,
       Blanks(20) + "  KORVAN for Windows, Version 2021.4.3-ext"},
      {"short version is padded to 12 characters", [](RunDescription& n) { n.VERSION = "7"; },
       march, 3, Blanks(20) + "  KORVAN for Windows, Version 7" + Blanks(11)},
      {"identification number 0 is nine blanks and 0", [](RunDescription& n) { n.IDNUMBER = 0; },
       march, 5, Blanks(20) + "  Identification Number " + Blanks(9) + "0"},
      {"negative identification number", [](RunDescription& n) { n.IDNUMBER = -12; }, march, 5,
       Blanks(20) + "  Identification Number " + Blanks(7) + "-12"},
      {"identification number of ten digits and a sign keeps its value in ten columns",
       [](RunDescription& n) { n.IDNUMBER = -2147483647; }, march, 5,
       Blanks(20) + "  Identification Number -2.147E+09"},
      {"largest identification number fits", [](RunDescription& n) { n.IDNUMBER = 2147483647; },
       march, 5, Blanks(20) + "  Identification Number 2147483647"},
      {"first second of the year", [](RunDescription&) {}, LocalTime(2025, 1, 1, 0, 0, 5), 27,
       Blanks(15) + "Date:  January 01, 2025     Time:  00:00:05"},
      {"last second of the year", [](RunDescription&) {}, LocalTime(2025, 12, 31, 23, 59, 59), 27,
       Blanks(15) + "Date:  December 31, 2025     Time:  23:59:59"},
      {"path without a drive",
       [](RunDescription& n) {
         n.DATAPATH = "/srv/jobs/pier.kv4d";
         n.REPORTPATH = "/srv/jobs/pier.kv4o";
       },
       march, 18, Blanks(5) + "Path to file locations      : /srv/jobs/"},
      {"file name without a folder",
       [](RunDescription& n) {
         n.DATAPATH = "pier.kv4d";
         n.REPORTPATH = "pier.kv4o";
       },
       march, 20, Blanks(5) + "Name of output file         : pier.kv4o"},
      {"empty organisation leaves the indent only", [](RunDescription& n) { n.ORGANISATION = ""; },
       march, 15, Blanks(5)},
  };
  for (const Case& c : cases) {
    RunDescription names = PierThree();
    c.change(names);
    const std::vector<std::string> lines = HeadingLines(names, c.now);
    ASSERT_EQ(lines.size(), 27u) << c.what;
    EXPECT_EQ(lines[c.line - 1], c.expected) << c.what;
  }
}

}  // namespace
}  // namespace korvan
