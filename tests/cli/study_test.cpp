// Design studies: the ranges a study takes, the numbers it reads off a
// variant's results, the reasons it gives for a stopped run, the table it
// writes, the child processes that run the variants, and whole studies of
// the sample projects checked row by row against separate runs of the
// variant files they leave.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "runner/plot_summary.h"
#include "runner/study_outcome.h"
#include "runner/study_range.h"
#include "runner/study_table.h"
#include "runner/study_work.h"
#include "runner/variant_runs.h"
#include "support/run_scene.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::Split;
using testing::WriteText;

struct RangeCase {
  const char* text;
  std::vector<double> values;  // when the range is good
  const char* error = "";      // a part of the message otherwise
};

const RangeCase kRangeCases[] = {
    {"length=600:800:100", {600, 700, 800}},
    {"diameter=0.3:0.5:0.1", {0.3, 0.4, 0.5}},
    {"length=0.1:0.3:0.1", {0.1, 0.2, 0.3}},
    {"length=10:10:1", {10}},
    {"length=10:15:4", {10, 14}},
    {"length=1e3:1.2e3:1e2", {1000, 1100, 1200}},
    {"diameter=0.123456789:0.123456789:1", {0.12345679}},
    {"", {}, "--vary takes length=FROM:TO:STEP or diameter=FROM:TO:STEP"},
    {"width=1:2:1", {}, "not \"width=1:2:1\""},
    {"length", {}, "has no range"},
    {"length=", {}, "has no range"},
    {"length=1:2", {}, "three numbers separated by colons"},
    {"length=1:2:3:4", {}, "three numbers separated by colons"},
    {"length=a:2:1", {}, "three numbers separated by colons"},
    {"length=inf:2:1", {}, "three numbers separated by colons"},
    {"length=nan:2:1", {}, "three numbers separated by colons"},
    {"length=1 :2:1", {}, "three numbers separated by colons"},
    {"length=-5:10:1", {}, "FROM and TO must be above 0"},
    {"length=0:10:1", {}, "FROM and TO must be above 0"},
    {"length=10:-5:1", {}, "FROM and TO must be above 0"},
    {"length=10:5:1", {}, "TO lies below FROM"},
    {"length=5:10:0", {}, "STEP must be above 0"},
    {"length=5:10:-1", {}, "STEP must be above 0"},
    {"length=1:201:1", {}, "more than 200 variants"},
    {"length=1:2:1e-300", {}, "more than 200 variants"},
    {"diameter=1e6:2e6:1e5", {}, "at most 1000000"},
    {"length=1:1.000000001:1e-10", {}, "finer than the 8 significant digits"},
};

TEST(StudyRange, GoodRangesGiveTheirValuesAndBadOnesSayWhy) {
  for (const RangeCase& row : kRangeCases) {
    SCOPED_TRACE(row.text);
    std::string error;
    const auto range = ParseStudyRange(row.text, error);
    const auto values = range ? StudyValues(*range, error) : std::nullopt;
    if (!row.values.empty()) {
      ASSERT_TRUE(values.has_value()) << error;
      EXPECT_EQ(*values, row.values);
    } else {
      EXPECT_FALSE(values.has_value());
      EXPECT_NE(error.find(row.error), std::string::npos) << error;
    }
  }
}

TEST(StudyRange, TwoHundredVariantsAreTheMost) {
  std::string error;
  const auto values = StudyValues({TStudyParameter::kLength, 1, 200, 1}, error);
  ASSERT_TRUE(values.has_value()) << error;
  EXPECT_EQ(values->size(), 200u);
  EXPECT_EQ(values->back(), 200);
}

struct CurveCase {
  const char* what;
  std::vector<TCurvePoint> curve;
  double settlement;
  std::optional<double> load;
};

const CurveCase kCurveCases[] = {
    {"between two points", {{0, 0}, {100, 1}, {300, 2}}, 1.5, 200},
    {"on the last point", {{0, 0}, {100, 1}, {300, 2}}, 2, 300},
    {"at the origin", {{0, 0}, {100, 1}, {300, 2}}, 0, 0},
    {"beyond the curve", {{0, 0}, {100, 1}, {300, 2}}, 2.5, std::nullopt},
    {"a point given twice", {{0, 0}, {100, 1}, {100, 1}, {300, 2}}, 1, 100},
    {"the first rise wins", {{0, 0}, {50, 0.5}, {40, 0.3}, {100, 1}}, 0.4, 40},
    {"from uplift into compression", {{-50, -0.2}, {-50, -0.2}, {20, 0.1}, {60, 0.3}}, 0.2, 40},
    {"a curve that starts beyond the limit", {{10, 0.5}, {10, 0.5}, {20, 0.8}}, 0.1, std::nullopt},
    {"one point", {{10, 0.5}}, 0.5, std::nullopt},
    {"no points", {}, 0.5, std::nullopt},
};

TEST(StudyOutcome, LoadAtTheSettlementLimitLiesOnTheCurve) {
  for (const CurveCase& row : kCurveCases) {
    SCOPED_TRACE(row.what);
    const std::optional<double> load = LoadAtSettlement(row.curve, row.settlement);
    ASSERT_EQ(load.has_value(), row.load.has_value());
    if (load) EXPECT_NEAR(*load, *row.load, 1e-9);
  }
}

TEST(StudyOutcome, CurvesStartAsTheLoadSettlementGraphDoes) {
  const std::vector<SummaryRow> compression = {{10, 0.1, 0.01, 5}, {20, 0.3, 0.1, 9}};
  const std::vector<SummaryRow> uplift = {{-5, -0.1, -0.1, 0}, {10, 0.1, 0.01, 5}};
  struct Case {
    const char* what;
    const std::vector<SummaryRow>* rows;
    bool fromOrigin;
    std::vector<std::pair<double, double>> points;
  };
  const std::vector<SummaryRow> none;
  const Case cases[] = {
      {"compression from the origin", &compression, true, {{0, 0}, {10, 0.1}, {20, 0.3}}},
      {"down-drag from the first point", &compression, false, {{10, 0.1}, {10, 0.1}, {20, 0.3}}},
      {"uplift first", &uplift, true, {{-5, -0.1}, {-5, -0.1}, {10, 0.1}}},
      {"no rows", &none, true, {}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    std::vector<std::pair<double, double>> points;
    for (const TCurvePoint& point : LoadSettlementCurve(*row.rows, row.fromOrigin))
      points.emplace_back(point.load, point.settlement);
    EXPECT_EQ(points, row.points);
  }
}

struct ReasonCase {
  const char* what;
  int status;
  bool exited;
  const char* report;
  const char* log;
  const char* reason;
};

const ReasonCase kReasonCases[] = {
    {"a soil profile too short", 6, true,
     " 4 900\n\n                             **** WARNING ****\n     THE VALUE OF X = "
     "0.91E+03IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE\n",
     "The engine stopped the run with result code 6; see the report.\n",
     "THE VALUE OF X = 0.91E+03IS BEYOND THE EXTENT OF/ THE INPUT STRENGTH CURVE"},
    {"a malformed data file", 3, true,
     "  **** ERROR IN THE PROJECT DATA FILE ****\n  RECORD 2 (NINC LSO NUNIT), LINE 2:\n  NINC = 0 "
     "is outside 1..500\n\n  more of the report\n",
     "",
     "ERROR IN THE PROJECT DATA FILE: RECORD 2 (NINC LSO NUNIT), LINE 2: NINC = 0 is outside "
     "1..500"},
    {"the last of two warnings", 5, true, "**** WARNING ****\nfirst\n\n**** WARNING ****\nsecond\n",
     "", "second"},
    {"the runner's own message", 73, true, "",
     "korvan: the engine was not run: names.dat could not be written\n",
     "the engine was not run: names.dat could not be written"},
    {"the engine's console", 9, true, "", "\n  FILE ERRORS!\n\n  THE REPORT CANNOT BE WRITTEN\n",
     "FILE ERRORS! THE REPORT CANNOT BE WRITTEN"},
    {"nothing said", 9, true, "report without a warning\n", "",
     "the run stopped with result code 9"},
    {"a signal", 9, false, "", "", "the run was ended by signal 9"},
};

TEST(StudyOutcome, AStoppedRunKeepsTheEnginesReason) {
  for (const ReasonCase& row : kReasonCases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(StoppedReason(row.status, row.exited, row.report, row.log), row.reason);
  }
}

TEST(StudyTable, RowsShowEveryValueTheVariantHasAndSayWhyOthersAreEmpty) {
  TVariantOutcome completed;
  completed.value = 600;
  completed.largestHeadLoad = 500050.4;
  completed.designSettlement = 0.272034;
  completed.limitLoad = 369731;
  TVariantOutcome noted = completed;
  noted.value = 32.5;
  noted.designSettlement.reset();
  noted.limitLoad.reset();
  noted.notes = {"did not converge", "does not reach"};
  TVariantOutcome stopped;
  stopped.value = 1e-6;
  stopped.code = 6;
  stopped.reason = "THE VALUE OF X, \"0.91E+03\"";
  TVariantOutcome notRun;
  notRun.value = 1000000;
  notRun.code = kVariantNotRun;
  notRun.reason = "not analysed";
  TStudySettings si;
  si.parameter = TStudyParameter::kDiameter;
  si.unitSystem = 2;
  EXPECT_EQ(StudyTableText({completed, noted, stopped, notRun}, si),
            "diameter (m),result code,largest head load (kN),settlement under design load (m),"
            "load at settlement limit (kN),note\n"
            "600,0,500050,0.27203,369730,\n"
            "32.5,0,500050,,,did not converge; does not reach\n"
            "1e-06,6,,,,\"THE VALUE OF X, \"\"0.91E+03\"\"\"\n"
            "1000000,,,,,not analysed\n");
  EXPECT_EQ(StudyTableHeadings(TStudySettings{}).front(), "length (in)");
  EXPECT_EQ(StudyTableHeadings(TStudySettings{})[2], "largest head load (lbs)");
}

TEST(StudyTable, ResultsKeepFiveSignificantDigits) {
  const std::pair<double, const char*> cases[] = {
      {500050.4, "500050"}, {0.27203, "0.27203"},          {1234567, "1234600"},
      {-492070, "-492070"}, {0.000012345, "1.2345e-05"},   {0, "0"},
      {1e15, "1e+15"},      {0.00012345678, "0.00012346"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(ResultText(value), text) << value;
}

// A fresh folder per test, removed afterwards.
class VariantRunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("korvan_variant_runs_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<TVariantJob> Jobs(int count) const {
    std::vector<TVariantJob> jobs;
    for (int i = 0; i < count; ++i) {
      const fs::path folder = folder_ / std::to_string(i);
      fs::create_directories(folder);
      jobs.push_back({folder, std::to_string(i), folder / "run.log"});
    }
    return jobs;
  }

  static double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  fs::path folder_;
};

TEST_F(VariantRunsTest, EveryJobRunsOnceInItsFolderWithItsStatus) {
  const std::vector<TVariantJob> jobs = Jobs(5);
  TVariantRuns runs(ForkedRunner([](const std::string& name) {
    std::printf("run %s\n", name.c_str());
    std::fprintf(stderr, "its error\n");
    std::ofstream("ran") << name;
    return std::stoi(name) + 10;
  }));
  std::vector<std::size_t> finished;
  ASSERT_TRUE(runs.Run(jobs, 2, -1, [&](std::size_t job) { finished.push_back(job); }));
  std::sort(finished.begin(), finished.end());
  EXPECT_EQ(finished, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ReadText(jobs[i].folder / "ran"), jobs[i].name);
    const std::string log = ReadText(jobs[i].log);
    EXPECT_NE(log.find("run " + jobs[i].name + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("its error\n"), std::string::npos) << log;
    const TVariantRunResult& result = runs.Results()[i];
    EXPECT_TRUE(result.ran && result.exited);
    EXPECT_EQ(result.status, static_cast<int>(i) + 10);
  }
}

TEST_F(VariantRunsTest, NoMoreRunsAtOnceThanAsked) {
  for (const int parallel : {1, 2, 3}) {
    SCOPED_TRACE(parallel);
    const std::vector<TVariantJob> jobs = Jobs(6);
    TVariantRuns runs(ForkedRunner([](const std::string&) {
      std::ofstream("times") << std::fixed << Now() << " ";
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      std::ofstream("times", std::ios::app) << std::fixed << Now();
      return 0;
    }));
    ASSERT_TRUE(runs.Run(jobs, parallel, -1));
    std::vector<std::pair<double, int>> events;
    for (const TVariantJob& job : jobs) {
      std::istringstream times(ReadText(job.folder / "times"));
      double start = 0, end = 0;
      ASSERT_TRUE(times >> start >> end);
      events.emplace_back(start, 1);
      events.emplace_back(end, -1);
    }
    std::sort(events.begin(), events.end());
    int running = 0, most = 0;
    for (const auto& event : events) most = std::max(most, running += event.second);
    EXPECT_EQ(most, parallel);
  }
}

TEST_F(VariantRunsTest, AStopEndsTheRunsUnderWayAndStartsNoOther) {
  const std::vector<TVariantJob> jobs = Jobs(5);
  const int stop = ::eventfd(0, EFD_CLOEXEC);
  ASSERT_GE(stop, 0);
  TVariantRuns runs(ForkedRunner([](const std::string& name) {
    std::ofstream("pid") << ::getpid();
    if (name != "0") ::pause();  // until the stop ends it
    return 0;
  }));
  const bool completed = runs.Run(jobs, 2, stop, [&](std::size_t job) {
    if (job != 0) return;
    // The stop comes once job 1 is surely under way.
    for (int wait = 0; wait < 1000 && ReadText(jobs[1].folder / "pid").empty(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::uint64_t one = 1;
    EXPECT_EQ(::write(stop, &one, sizeof one), 8);
  });
  ::close(stop);
  EXPECT_FALSE(completed);
  EXPECT_TRUE(runs.Failure().empty()) << runs.Failure();
  EXPECT_TRUE(runs.Results()[0].ran);
  for (std::size_t i = 1; i < jobs.size(); ++i) EXPECT_FALSE(runs.Results()[i].ran) << i;
  // Job 1 was under way: its process is gone, not left waiting.
  const pid_t paused = std::stoi(ReadText(jobs[1].folder / "pid"));
  EXPECT_NE(::kill(paused, 0), 0);
  for (std::size_t i = 2; i < jobs.size(); ++i) EXPECT_FALSE(fs::exists(jobs[i].folder / "pid"));
}

TEST_F(VariantRunsTest, ARunnerThatCannotStartStopsTheRuns) {
  const std::vector<TVariantJob> jobs = Jobs(2);
  TVariantRuns runs(SpawnedRunner(folder_ / "no-korvan"));
  EXPECT_FALSE(runs.Run(jobs, 2, -1));
  EXPECT_NE(runs.Failure().find("cannot start " + (folder_ / "no-korvan").string()),
            std::string::npos)
      << runs.Failure();
  EXPECT_FALSE(runs.Results()[0].ran);
}

TEST_F(VariantRunsTest, TheStartedRunnerTakesTheGivenUser) {
  const std::vector<TVariantJob> jobs = Jobs(1);
  fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d",
                jobs[0].folder / "0.kv4d");
  TVariantRuns runs(SpawnedRunner(fs::path(KORVAN_BIN_DIR) / "korvan",
                                  {"KORVAN_ORGANISATION=Study Foundations", "KORVAN_ID=77"}));
  ASSERT_TRUE(runs.Run({{jobs[0].folder, "0.kv4d", jobs[0].log}}, 1, -1)) << runs.Failure();
  EXPECT_EQ(runs.Results()[0].status, 0) << ReadText(jobs[0].log);
  const std::string report = ReadText(jobs[0].folder / "0.kv4o");
  EXPECT_NE(report.find("Study Foundations"), std::string::npos);
  EXPECT_NE(report.find("Identification Number         77"), std::string::npos);
  EXPECT_NE(ReadText(jobs[0].log).find("Results due to tip movements"), std::string::npos);
}

// The variants' folder carries the id of the process that runs the study;
// a study removes the folders its user's ended studies left (a program
// killed in mid study), never those of live processes, other names or
// anything that is not a folder.
TEST(StudyWork, RemovesOnlyTheFoldersOfStudiesThatNoLongerRun) {
  const fs::path temporary =
      fs::temp_directory_path() / ("korvan_study_work_" + std::to_string(::getpid()));
  fs::create_directories(temporary);
  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  ::setenv("TMPDIR", temporary.c_str(), 1);
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string gone = "korvan-study-" + std::to_string(ended);
  struct FolderCase {
    std::string name;
    bool folder;
    bool stays;
  };
  const FolderCase cases[] = {
      {gone + "-Ab12Cd", true, false},
      {"korvan-study-" + std::to_string(::getppid()) + "-Ab12Cd", true, true},  // alive
      {"korvan-study-Ab12Cd", true, true},  // a name without a process
      {gone + "Ab12Cd", true, true},        // no separator after the id
      {gone + "-file", false, true},        // not a folder
  };
  for (const FolderCase& c : cases) {
    const fs::path path = temporary / c.name;
    if (c.folder) fs::create_directories(path / "1");
    WriteText(c.folder ? path / "1" / "pile.kv4d" : path, "data");
  }
  fs::path folder;
  {
    TStudyWork work({{600, "pile-length-600.kv4d", "data"}});
    ASSERT_TRUE(work.Ready()) << work.Failure();
    folder = work.Folder();
    EXPECT_EQ(folder.parent_path(), temporary);
    EXPECT_TRUE(
        folder.filename().native().starts_with("korvan-study-" + std::to_string(::getpid()) + "-"));
    EXPECT_EQ(ReadText(folder / "1" / "pile-length-600.kv4d"), "data");
    for (const FolderCase& c : cases) EXPECT_EQ(fs::exists(temporary / c.name), c.stays) << c.name;
  }
  EXPECT_FALSE(fs::exists(folder));
  if (saved != nullptr)
    ::setenv("TMPDIR", savedValue.c_str(), 1);
  else
    ::unsetenv("TMPDIR");
  fs::remove_all(temporary);
}

#ifdef KORVAN_HAS_COMMANDS

// Whole studies through korvan. Each completed row of study.csv must be what
// a separate `korvan run` of the variant file in the study's folder gives.
struct StudyCase {
  const char* what;
  const char* project;    // a sample, or "movements" (a sample with tip movements only)
  const char* arguments;  // after the project, blank-separated
  int status;
  const char* pictures = "curves design-settlement design-load";
  const char* stopped = "";  // values whose runs stop
  const char* says = "";     // in a stopped row's note, or in the message of a refusal
  const char* notes = "";    // in every completed row's note
};

const StudyCase kStudyCases[] = {
    {"driven pile by length", "driven-pile-clay-sand",
     "--vary length=600:800:100 --design-load 300000 --settlement-limit 0.5", 0},
    {"driven pile by diameter, AE scaled", "driven-pile-clay-sand",
     "--vary diameter=14:22:4 --scale-ae --design-load 300000 --settlement-limit 0.5 -j 1", 0},
    {"a variant beyond the soil profile", "driven-pile-clay-sand",
     "--vary length=800:1000:100 --settlement-limit 0.5", 1, "curves design-load", "1000",
     "THE VALUE OF X = 0.91E+03IS BEYOND THE EXTENT OF/ THE INPUT STRENGTH CURVE"},
    {"a limit the curves never reach and a load beyond them", "driven-pile-clay-sand",
     "--vary length=700:720:20 --design-load 5000000 --settlement-limit 50", 0, "curves", "", "",
     "did not converge for the design load; the load-settlement curve does not reach"},
    {"API layers", "api-clay-sand", "--vary length=900:1000:100 --design-load 400000 -j 3", 0,
     "curves design-settlement"},
    {"down-drag in SI", "downdrag-modified-si",
     "--vary diameter=0.3:0.5:0.1 --design-load 800 --settlement-limit 0.02 --format svg", 0},
    {"drilled shaft in SI", "drilled-shaft-si",
     "--vary length=12:18:3 --design-load 3000 --settlement-limit 0.025", 0},
    {"user curves by diameter", "user-curves",
     "--vary diameter=14:20:3 --design-load 200000 --settlement-limit 0.5 --format pdf", 0},
    {"user curves by length", "user-curves", "--vary length=480:600:120", 0, "curves"},
    {"own tip movements beside the design load", "movements",
     "--vary length=900:960:60 --design-load 400000 --settlement-limit 0.2", 0},
    {"an empty range", "driven-pile-clay-sand", "--vary length=", 64, "", "", "has no range"},
    {"a negative range", "driven-pile-clay-sand", "--vary length=-100:800:100", 64, "", "",
     "must be above 0"},
    {"a reversed range", "driven-pile-clay-sand", "--vary length=800:600:100", 64, "", "",
     "TO lies below FROM"},
    {"more than 200 variants", "driven-pile-clay-sand", "--vary length=500:800:1", 64, "", "",
     "more than 200 variants"},
    {"a zero step", "driven-pile-clay-sand", "--vary diameter=10:20:0", 64, "", "",
     "STEP must be above 0"},
    {"a design load that is no number", "driven-pile-clay-sand",
     "--vary length=600:700:100 --design-load 3e5kips", 64, "", "",
     "--design-load must be a number above 0"},
    {"AE scaled for a length", "driven-pile-clay-sand", "--vary length=600:700:100 --scale-ae", 64,
     "", "", "--scale-ae goes with --vary diameter only"},
};

struct Csv {
  std::vector<std::vector<std::string>> rows;  // without the headings
};

// study.csv's cells; a quoted cell may hold commas and doubled quotes.
Csv ReadCsv(const fs::path& path) {
  Csv csv;
  std::istringstream lines(ReadText(path));
  std::string line;
  std::getline(lines, line);  // the headings
  while (std::getline(lines, line)) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        cells.emplace_back();
      } else {
        cells.back() += c;
      }
    }
    csv.rows.push_back(cells);
  }
  return csv;
}

testing::ChildOutcome Korvan(const std::vector<std::string>& arguments,
                             const testing::ChildOptions& options = {},
                             const std::string& bin = KORVAN_BIN_DIR) {
  return testing::RunInChild([&] { return testing::ExecKorvan(arguments, bin); }, options);
}

double Number(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

// The load where the separate run's curve first rises to `limit`: the
// points of its tip-movement rows, from the origin when the first carries a
// load.
void ExpectLoadOnTheCurve(const PlotSummary& run, double limit, const std::string& cell) {
  std::vector<std::pair<double, double>> points;
  if (!run.tipMovementRows.empty() && run.tipMovementRows.front().headLoad > 0)
    points.emplace_back(0, 0);
  for (const SummaryRow& row : run.tipMovementRows)
    points.emplace_back(row.headLoad, row.headMovement);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const auto [loadA, settlementA] = points[i];
    const auto [loadB, settlementB] = points[i + 1];
    if (!(settlementA <= limit && limit <= settlementB)) continue;
    ASSERT_FALSE(cell.empty()) << "the curve reaches " << limit;
    const double load = Number(cell);
    EXPECT_GE(load, std::min(loadA, loadB) * (1 - 1e-5));
    EXPECT_LE(load, std::max(loadA, loadB) * (1 + 1e-5));
    const double share = (limit - settlementA) / (settlementB - settlementA);
    EXPECT_NEAR(load, loadA + share * (loadB - loadA), 1e-4 * std::fabs(load));
    return;
  }
  EXPECT_TRUE(cell.empty()) << "the curve never reaches " << limit << " yet the row says " << cell;
}

// A sample of the engine's own tests with tip movements of its own and no
// head loads.
void WriteMovementsProject(const fs::path& path) {
  std::string text = ReadText(fs::path(KORVAN_EXAMPLES_DIR) / "api-clay-sand.kv4d");
  testing::Replace(text, "\n2\n300000\n-90000\n", "\n0\n");
  WriteText(path, text);
}

std::string Option(const std::vector<std::string>& arguments, const std::string& name) {
  const auto at = std::find(arguments.begin(), arguments.end(), name);
  return at == arguments.end() || at + 1 == arguments.end() ? std::string() : *(at + 1);
}

TEST(Study, EveryRowIsWhatASeparateRunOfTheVariantGives) {
  for (const StudyCase& row : kStudyCases) {
    SCOPED_TRACE(row.what);
    const testing::Scene scene("korvan_study");
    const std::string stem =
        std::string(row.project) == "movements" ? "api-movements" : row.project;
    const fs::path project = scene.Folder() / (stem + ".kv4d");
    if (stem == "api-movements")
      WriteMovementsProject(project);
    else
      fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / (stem + ".kv4d"), project);
    const fs::path folder = scene.Folder() / "study";
    std::vector<std::string> arguments = {"study", project.string()};
    for (const std::string& argument : Split(row.arguments, ' ')) arguments.push_back(argument);
    arguments.insert(arguments.end(), {"--out", folder.string()});
    const testing::ChildOutcome outcome = Korvan(arguments);

    ASSERT_TRUE(outcome.exited);
    ASSERT_EQ(outcome.status, row.status) << outcome.output;
    if (row.status == 64) {
      EXPECT_NE(outcome.output.find(std::string("korvan study: ")), std::string::npos);
      EXPECT_NE(outcome.output.find(row.says), std::string::npos) << outcome.output;
      EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1)
          << outcome.output;
      EXPECT_FALSE(fs::exists(folder));
      continue;
    }
    const std::string vary = Option(arguments, "--vary");
    const std::string parameter = vary.substr(0, vary.find('='));
    const std::string designLoad = Option(arguments, "--design-load");
    const std::string limit = Option(arguments, "--settlement-limit");
    std::string format = Option(arguments, "--format");
    if (format.empty()) format = "png";
    for (const std::string& picture : Split(row.pictures, ' ')) {
      EXPECT_TRUE(
          fs::is_regular_file(folder / (stem + "-" + parameter + "-" + picture + "." + format)))
          << picture;
    }
    const Csv csv = ReadCsv(folder / "study.csv");
    ASSERT_FALSE(csv.rows.empty());
    for (const std::vector<std::string>& cells : csv.rows) {
      ASSERT_EQ(cells.size(), 6u);
      const std::string& value = cells[0];
      SCOPED_TRACE(parameter + " " + value);
      const fs::path variant = folder / (stem + "-" + parameter + "-" + value + ".kv4d");
      ASSERT_TRUE(fs::is_regular_file(variant));
      const testing::ChildOutcome separate = Korvan({"run", variant.string()});
      ASSERT_TRUE(separate.exited);
      EXPECT_EQ(cells[1], std::to_string(separate.status));
      const std::vector<std::string> stoppedValues = Split(row.stopped, ' ');
      const bool stops =
          std::find(stoppedValues.begin(), stoppedValues.end(), value) != stoppedValues.end();
      if (stops || separate.status != 0) {
        EXPECT_TRUE(stops) << "unexpected stop: " << cells[5];
        EXPECT_NE(cells[5].find(row.says), std::string::npos) << cells[5];
        EXPECT_NE(outcome.output.find(parameter + " " + value), std::string::npos);
        EXPECT_EQ(cells[2] + cells[3] + cells[4], "");
        continue;
      }
      const auto run = ReadPlotSummary(fs::path(variant).replace_extension(".kv4p"));
      ASSERT_TRUE(run.has_value());
      double largest = run->tipMovementRows.front().headLoad;
      for (const SummaryRow& movement : run->tipMovementRows)
        largest = std::max(largest, movement.headLoad);
      EXPECT_EQ(cells[2], ResultText(largest));
      if (designLoad.empty()) {
        EXPECT_EQ(cells[3], "");
      } else {
        // The design load is the variant's last head load.
        ASSERT_FALSE(run->appliedLoadRows.empty());
        const AppliedLoadRow& design = run->appliedLoadRows.back();
        EXPECT_EQ(design.values.headLoad, Number(designLoad));
        EXPECT_EQ(cells[3], design.converged ? ResultText(design.values.headMovement) : "");
      }
      if (limit.empty())
        EXPECT_EQ(cells[4], "");
      else
        ExpectLoadOnTheCurve(*run, Number(limit), cells[4]);
      EXPECT_NE(cells[5].find(row.notes), std::string::npos) << cells[5];
    }
  }
}

// SIGINT or SIGTERM while the variants run: the runs end (none is left
// waiting), the temporary folder goes, the variant files stay, no table.
TEST(Study, SignalsEndTheRunsAndRemoveTheTemporaryFolder) {
  const std::string pausing = testing::RunnerWithEngine("study_pausing", KORVAN_PAUSING_ENGINE);
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    const testing::Scene scene("korvan_study_signal");
    const fs::path temporary = scene.Folder() / "tmp";
    fs::create_directories(temporary);
    testing::ChildOptions options;
    options.environment = {{"TMPDIR", temporary.string()}};
    const testing::StartedChild child = testing::StartChild(
        [&] {
          return testing::ExecKorvan({"study", scene.Path("pile.kv4d"), "--vary",
                                      "length=600:800:50", "-j", "2", "--out", scene.Path("out")},
                                     pausing);
        },
        options);
    // Both runs under way have started their engine.
    std::size_t started = 0;
    for (int wait = 0; wait < 600 && started < 2; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      started = 0;
      for (const auto& entry : fs::recursive_directory_iterator(temporary))
        started += entry.path().filename() == "engine-started" ? 1 : 0;
    }
    ASSERT_EQ(started, 2u);
    std::vector<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const std::string name = entry.path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      const std::string stat = ReadText(entry.path() / "stat");
      const auto close = stat.rfind(')');
      if (close == std::string::npos) continue;
      std::istringstream rest(stat.substr(close + 2));
      char state = 0;
      pid_t parent = 0;
      if (rest >> state >> parent && parent == child.pid) children.push_back(std::stoi(name));
    }
    EXPECT_EQ(children.size(), 2u);
    ASSERT_EQ(::kill(child.pid, signal), 0);
    const testing::ChildOutcome outcome = testing::FinishChild(child);
    ASSERT_TRUE(outcome.exited) << outcome.output;
    EXPECT_EQ(outcome.status, 128 + signal) << outcome.output;
    for (const pid_t run : children) EXPECT_NE(::kill(run, 0), 0) << "run " << run << " is left";
    EXPECT_TRUE(fs::is_empty(temporary));
    EXPECT_TRUE(fs::is_regular_file(scene.Path("out/pile-length-600.kv4d")));
    EXPECT_TRUE(fs::is_regular_file(scene.Path("out/pile-length-800.kv4d")));
    EXPECT_FALSE(fs::exists(scene.Path("out/study.csv")));
    for (const auto& entry : fs::directory_iterator(scene.Path("out")))
      EXPECT_FALSE(entry.path().filename().string().starts_with(".korvan.")) << entry.path();
  }
}

#endif  // KORVAN_HAS_COMMANDS

}  // namespace
}  // namespace korvan
