// What a calculation report takes from a run's files: the date of the
// analysis, every warning the engine wrote, and whether the project data
// file was changed after the run; read from reports as the engine writes
// them and from set-ups of files a user leaves behind.
#include "runner/run_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/run_scene.h"

namespace korvan {
namespace {

using testing::Scene;
namespace fs = std::filesystem;

struct ReportTextCase {
  const char* what;
  const char* report;
  const char* date;  // "" when there is none
  std::vector<std::string> warnings;
};

const ReportTextCase kReportTextCases[] = {
    {"heading of a run without warnings",
     "     -------\n                          Time and Date of Analysis\n"
     "               Date:  March 05, 2024     Time:  09:07:30\n \n RESULTS\n",
     "March 05, 2024 09:07:30",
     {}},
    {"first of January just after midnight",
     "               Date:  January 01, 2025     Time:  00:00:05\n",
     "January 01, 2025 00:00:05",
     {}},
    {"no heading at all", " RESULTS DUE TO TIP MOVEMENTS\n", "", {}},
    {"date line without its time", "               Date:  March 05, 2024\n", "", {}},
    {"warning block of a profile too short, with the count line before it",
     "           4  20.0000\n\n                             **** WARNING ****\n"
     "     THE VALUE OF X = 0.25E+02IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE\n",
     "",
     {"**** WARNING **** THE VALUE OF X = 0.25E+02IS BEYOND THE EXTENT OF/ THE INPUT STRENGTH "
      "CURVE"}},
    {"error block ending at an empty line",
     "\n\n     **** ERROR: THE WALK FOR TIP MOVEMENT  1.000E+00 IN. GIVES NUMBERS BEYOND THE RANGE "
     "OF THE ENGINE ****\n     CHECK THE AXIAL STIFFNESS AE\n\n  1.0000E+05  2.0000E-01\n",
     "",
     {"**** ERROR: THE WALK FOR TIP MOVEMENT 1.000E+00 IN. GIVES NUMBERS BEYOND THE RANGE OF THE "
      "ENGINE **** CHECK THE AXIAL STIFFNESS AE"}},
    {"applied loads of which two did not converge, in the file's order",
     "        TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT     TIP  LOAD\n"
     "           LBS             IN.              IN.            LBS\n"
     "       1.0000E+05      4.7386E-02      1.7899E-03      2.8659E+04\n"
     "       0.0000E+00     NOT ABLE TO GET CONVERGENCE\n"
     "      -9.0000E+04     NOT ABLE TO GET CONVERGENCE\n",
     "",
     {"Applied load 0.0000E+00: NOT ABLE TO GET CONVERGENCE",
      "Applied load -9.0000E+04: NOT ABLE TO GET CONVERGENCE"}},
    {"report cut inside a warning block",
     "\n          **** WARNING ****",
     "",
     {"**** WARNING ****"}},
    {"a title that merely mentions a warning", " Pile next to the WARNING sign\n", "", {}},
};

TEST(RunRecord, DateAndWarningsAsTheReportPrintsThem) {
  for (const ReportTextCase& row : kReportTextCases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(AnalysisDateInReport(row.report).value_or(""), row.date);
    EXPECT_EQ(RunWarnings(row.report), row.warnings);
  }
}

// Sets a file's modification time to `seconds` past the epoch plus `nanos`.
void Touch(const fs::path& path, time_t seconds, long nanos) {
  const struct timespec times[2] = {{seconds, nanos}, {seconds, nanos}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

struct RecordCase {
  const char* what;
  const char* steps;  // Scene::Make, after "analysed pile"
  // Modification times of the data file and the plot file (seconds, nanos);
  // 0 leaves the file's own.
  time_t dataSeconds, plotSeconds;
  long dataNanos, plotNanos;
  bool results;
  bool dataNewer;
  bool reportRead;
  bool dateFromReport;
  std::size_t warnings;
};

const RecordCase kRecordCases[] = {
    {"a run as the runner leaves it", "", 0, 0, 0, 0, true, false, true, true, 0},
    {"data saved a second after the run", "", 1700000001, 1700000000, 0, 0, true, true, true, true,
     0},
    {"data saved within the run's second", "", 1700000000, 1700000000, 600, 500, true, true, true,
     true, 0},
    {"data as old as its results", "", 1700000000, 1700000000, 500, 500, true, false, true, true,
     0},
    {"report missing: the plot file's time", "remove pile.kv4o", 0, 0, 0, 0, true, false, false,
     false, 0},
    {"report a FIFO: never waited on", "fifo pile.kv4o", 0, 0, 0, 0, true, false, false, false, 0},
    {"report holding another file's text", "text pile.kv4o", 0, 0, 0, 0, true, false, true, false,
     0},
    {"never run", "remove pile.kv4p", 0, 0, 0, 0, false, false, false, false, 0},
    {"plot file cut short", "cut pile.kv4p", 0, 0, 0, 0, false, false, false, false, 0},
};

TEST(RunRecord, ResultsDateAndChangesOfTheFilesARunLeft) {
  for (const RecordCase& row : kRecordCases) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_run_record");
    scene.Make("analysed pile");
    scene.Make(row.steps);
    const fs::path data = scene.Path("pile.kv4d");
    if (row.dataSeconds != 0) Touch(data, row.dataSeconds, row.dataNanos);
    if (row.plotSeconds != 0) Touch(scene.Path("pile.kv4p"), row.plotSeconds, row.plotNanos);

    const RunRecord record = ReadRunRecord(data);
    EXPECT_EQ(record.summary.has_value(), row.results);
    if (!row.results) {
      EXPECT_TRUE(record.analysisDate.empty());
      continue;
    }
    EXPECT_EQ(record.summary->tipMovementRows.size(), 9u) << "the sample's default movements";
    EXPECT_EQ(record.summary->appliedLoadRows.size(), 3u);
    EXPECT_EQ(record.dataNewerThanResults, row.dataNewer);
    EXPECT_EQ(record.reportRead, row.reportRead);
    EXPECT_EQ(record.dateFromReport, row.dateFromReport);
    EXPECT_EQ(record.warnings.size(), row.warnings);
    const std::string expected =
        row.dateFromReport
            ? AnalysisDateInReport(testing::ReadText(scene.Path("pile.kv4o"))).value()
            : ModificationDate(scene.Path("pile.kv4p")).value();
    EXPECT_EQ(record.analysisDate, expected);
  }
}

TEST(RunRecord, ModificationDatesReadAsTheReportHeadingWritesThem) {
  const Scene scene("korvan_run_record_date");
  const fs::path file = scene.Path("plot");
  testing::WriteText(file, "1\n");
  struct Case {
    int year, month, day, hour, minute, second;
    const char* text;
  };
  const Case cases[] = {{2024, 3, 5, 9, 7, 30, "March 05, 2024 09:07:30"},
                        {2025, 1, 1, 0, 0, 5, "January 01, 2025 00:00:05"},
                        {2023, 12, 31, 23, 59, 59, "December 31, 2023 23:59:59"}};
  for (const Case& c : cases) {
    std::tm local{};
    local.tm_year = c.year - 1900;
    local.tm_mon = c.month - 1;
    local.tm_mday = c.day;
    local.tm_hour = c.hour;
    local.tm_min = c.minute;
    local.tm_sec = c.second;
    local.tm_isdst = -1;
    Touch(file, std::mktime(&local), 0);
    EXPECT_EQ(ModificationDate(file).value_or(""), c.text);
  }
  EXPECT_FALSE(ModificationDate(scene.Path("none")).has_value());
  EXPECT_FALSE(ModifiedLater(scene.Path("none"), file));
  EXPECT_FALSE(ModifiedLater(file, scene.Path("none")));
}

}  // namespace
}  // namespace korvan
