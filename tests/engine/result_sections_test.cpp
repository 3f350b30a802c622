// The result sections of whole runs: report sections 6 and 7 and plot blocks
// 3 to 5, for projects with user curves (so that nothing but the solution
// decides the numbers).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/result_codes.h"
#include "engine/run.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::RunProject;
using testing::Words;

struct ProjectOptions {
  int ninc = 10;
  int lso = 0;
  int units = 1;
  std::string tipMovements = "0";
  std::string loads = "0";
};

// A 100-unit pile on two user t-z curves and a user tip curve.
std::string Project(const ProjectOptions& o) {
  std::ostringstream text;
  text << "Result sections\n" << o.ninc << " " << o.lso << " " << o.units << "\n2 2\n";
  text << "2\n1 0.0 3\n0.0 0.0\n5.0 0.1\n6.0 1.0\n2 100.0 3\n0.0 0.0\n8.0 0.1\n9.0 1.0\n";
  text << "3\n0.0 0.0 2000.0 0.2 3000.0 1.0\n";
  text << "2\n4.0E+06 0.0\n4.0E+06 100.0\n";
  text << "1.0E-06 100.0 0.0 12.0 113.1\n";
  text << o.tipMovements << "\n" << o.loads << "\n0\n0\n0\n";
  return text.str();
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& text,
                    std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].find(text) != std::string::npos) return i;
  }
  return lines.size();
}

std::string B(int blanks) {
  return std::string(static_cast<std::size_t>(blanks), ' ');
}

std::vector<std::string> Trimmed(std::vector<std::string> lines) {
  for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
  return lines;
}

// A 100-unit pile of diameter 12 in two increments, AE 4E+06, on user t-z
// curves that hold t = `t` from a movement of 0.01 on, and a linear tip curve
// of 1000 per unit of movement. The tolerance of 1 accepts the first
// evaluation of each increment, so every printed value follows by hand:
// C = 12 * 3.1416 * 50 = 1884.96, and for a tip movement of 0.1 (tip load 100)
// with t = 1 the lower increment averages 100 + 1884.96 / 2 = 1042.48.
std::string HandPile(int units, int lso, const std::string& t, const std::string& tipMovements,
                     const std::string& loads) {
  std::ostringstream text;
  text << "Hand-checked pile\n2 " << lso << " " << units << "\n2 2\n2\n";
  for (const char* curve : {"1 0.0 3\n", "2 100.0 3\n"}) {
    text << curve << "0.0 0.0\n" << t << " 0.01\n" << t << " 10.0\n";
  }
  text << "2\n0.0 0.0 1000.0 1.0\n2\n4.0E+06 0.0\n4.0E+06 100.0\n1.0 100.0 0.0 12.0 113.1\n";
  text << tipMovements << "\n" << loads << "\n0\n0\n0\n";
  return text.str();
}

// The report from `before` lines above the first line holding `heading` to
// its end. Trailing blanks are not compared: the report may keep or drop them.
std::vector<std::string> TailFrom(const std::vector<std::string>& report,
                                  const std::string& heading, std::size_t before) {
  const std::size_t at = IndexOf(report, heading);
  if (at < before || at == report.size()) return {};
  return Trimmed({report.begin() + static_cast<std::ptrdiff_t>(at - before), report.end()});
}

// The plot file's summary: the rows that follow the NTIPMV x NINC
// distribution lines.
std::vector<std::vector<double>> SummaryRows(const std::vector<std::string>& plot, int ntz,
                                             int tzPoints, int nqw) {
  std::size_t at =
      1 + static_cast<std::size_t>(ntz + ntz * tzPoints) + 1 + static_cast<std::size_t>(nqw);
  const std::vector<std::string> sizes = Words(plot.at(at));
  const int ntipmv = std::stoi(sizes.at(0)), ninc = std::stoi(sizes.at(1));
  at += 1 + static_cast<std::size_t>(ntipmv * ninc);
  std::vector<std::vector<double>> rows;
  for (int n = 0; n < ntipmv; ++n) {
    std::vector<double> row;
    for (const std::string& w : Words(plot.at(at + static_cast<std::size_t>(n)))) {
      row.push_back(std::stod(w));
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(ResultSections, DefaultMovementsInBothUnitSystems) {
  const double series[] = {-5,     -0.5,  -0.2, -0.1, -0.07, -0.03, -0.01, -0.001, -0.0001,
                           0.0001, 0.001, 0.01, 0.03, 0.07,  0.1,   0.2,   0.5,    5};
  for (const int units : {1, 2}) {
    ProjectOptions o;
    o.units = units;
    o.loads = "2\n100\n-50";
    const auto run = RunProject(Project(o));
    ASSERT_EQ(run.result, 0) << run.report;
    const auto rows = SummaryRows(run.PlotLines(), 2, 3, 3);
    ASSERT_EQ(rows.size(), 18u);
    for (std::size_t n = 0; n < 18; ++n) {
      const double expected = series[n] * (units == 1 ? 1.0 : 0.0254);
      EXPECT_NEAR(rows[n].at(2), expected, 1E-4 * std::fabs(expected)) << units << " " << n;
      // Uplift rows are signed: negative head load and movement, no tip load.
      if (n < 9) {
        EXPECT_LT(rows[n][0], 0);
        EXPECT_LT(rows[n][1], 0);
        EXPECT_EQ(rows[n][3], 0);
      } else {
        EXPECT_GT(rows[n][3], 0);
      }
    }
  }
}

TEST(ResultSections, UserMovementsAreSolvedInAscendingOrder) {
  ProjectOptions o;
  o.tipMovements = "3\n0.5 0.1 0.3";
  const auto run = RunProject(Project(o));
  ASSERT_EQ(run.result, 0);
  const auto rows = SummaryRows(run.PlotLines(), 2, 3, 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_DOUBLE_EQ(rows[0][2], 0.1);
  EXPECT_DOUBLE_EQ(rows[1][2], 0.3);
  EXPECT_DOUBLE_EQ(rows[2][2], 0.5);
  EXPECT_LT(rows[0][0], rows[1][0]);
}

TEST(ResultSections, PrintOptionLeavesOutTheDistributionsOfTheReportOnly) {
  for (const int lso : {0, 1}) {
    ProjectOptions o;
    o.lso = lso;
    o.tipMovements = "2\n0.05 0.2";
    const auto run = RunProject(Project(o));
    ASSERT_EQ(run.result, 0);
    const auto report = run.ReportLines();
    const std::size_t blocks =
        static_cast<std::size_t>(std::count_if(report.begin(), report.end(), [](const auto& l) {
          return l.find("APPLIED TIP MOVEMENT") != std::string::npos;
        }));
    EXPECT_EQ(blocks, lso == 0 ? 2u : 0u);
    // Both runs have the same plot file: 1 sizes line and 2 x 10 lines.
    const auto plot = run.PlotLines();
    const std::size_t sizes = 1 + 2 + 2 * 3 + 1 + 3;
    EXPECT_EQ(Words(plot.at(sizes)), (std::vector<std::string>{"2", "10", "1"}));
    EXPECT_EQ(plot.size(), sizes + 1 + 20 + 2);
  }
}

TEST(ResultSections, EachTipMovementBlockHasTwoLinesPerIncrementAndTheHead) {
  ProjectOptions o;
  o.ninc = 12;
  o.tipMovements = "1\n-0.05";
  const auto run = RunProject(Project(o));
  const auto report = run.ReportLines();
  const std::size_t labels = IndexOf(report, "OF INCR") + 1;
  ASSERT_LT(labels, report.size());
  std::size_t data = labels + 1;
  while (data < report.size() && !report[data].empty() && report[data] != " ") ++data;
  EXPECT_EQ(data - labels - 1, 2u * 12 + 1);
  // Uplift: the load at the head is printed negative, its depth unchanged.
  const auto head = Words(report[data - 1]);
  ASSERT_EQ(head.size(), 3u);
  EXPECT_EQ(head[0], "0.0");
  EXPECT_LT(std::stod(head[1]), 0);
  EXPECT_LT(std::stod(head[2]), -0.05);
  const auto tip = Words(report[labels + 1]);
  EXPECT_EQ(tip[0], "100.0");
  EXPECT_EQ(std::stod(tip[1]), 0);  // no tip load in uplift
}

// Numbers too wide for their fixed columns keep their value in exponent form
// in the report and the plot file: a user curve number beyond I5, and pile
// depths beyond the 9999.9 of F6.1.
TEST(ResultSections, NumbersTooWideForTheirColumnsKeepTheirValues) {
  struct Wide {
    const char* what;
    const char* curveNumber;
    double head;
    std::string curveLine;  // the first curve's header, in report and plot
    const char* tipDepth;   // first word of the first increment line
  };
  const Wide cases[] = {
      {"curve number 100000", "100000", 0.0, "  1E+05          3      0.0000E+00", "100.0"},
      {"curve number 99999", "99999", 0.0, "  99999          3      0.0000E+00", "100.0"},
      {"head 20000 below the ground", "1", 20000.0, "      1          3      0.2000E+05", "2E+04"},
      {"head 9899.9 below the ground", "1", 9899.9, "      1          3      0.9900E+04", "9999.9"},
  };
  for (const Wide& c : cases) {
    std::ostringstream text;
    text << "Wide numbers\n10 0 1\n2 2\n2\n"
         << c.curveNumber << " " << c.head << " 3\n0.0 0.0\n5.0 0.1\n6.0 1.0\n2 " << c.head + 100
         << " 3\n0.0 0.0\n8.0 0.1\n9.0 1.0\n3\n0.0 0.0 2000.0 0.2 3000.0 1.0\n"
         << "2\n4.0E+06 0.0\n4.0E+06 100.0\n1.0E-06 100.0 " << c.head
         << " 12.0 113.1\n1\n0.1\n0\n0\n0\n0\n";
    const auto run = RunProject(text.str());
    ASSERT_EQ(run.result, 0) << c.what << "\n" << run.report;
    EXPECT_EQ((run.report + run.plot).find("*****"), std::string::npos) << c.what;
    const auto report = run.ReportLines();
    EXPECT_LT(IndexOf(report, c.curveLine), report.size()) << c.what;
    EXPECT_EQ(run.PlotLines().at(1), c.curveLine) << c.what;
    const std::size_t labels = IndexOf(report, "OF INCR") + 1;
    ASSERT_LT(labels + 1, report.size()) << c.what;
    EXPECT_EQ(Words(report[labels + 1]).at(0), c.tipDepth) << c.what;
  }
}

TEST(ResultSections, AppliedLoadsWithOneThatCannotConverge) {
  ProjectOptions o;
  o.tipMovements = "4\n0.05 0.1 0.5 -0.1";
  o.loads = "3\n20000\n900000\n-5000";
  const auto run = RunProject(Project(o));
  ASSERT_EQ(run.result, 0);
  const auto report = run.ReportLines();
  const std::size_t start = IndexOf(report, "RESULTS DUE TO APPLIED LOADS");
  ASSERT_LT(start, report.size());
  EXPECT_EQ(report[start - 4], "1");
  EXPECT_EQ(report[start - 3].substr(0, 23), "        Result sections");
  const std::size_t failed = IndexOf(report, "NOT ABLE TO GET CONVERGENCE", start);
  ASSERT_LT(failed, report.size());
  EXPECT_EQ(Words(report[failed])[0], "9.0000E+05");
  const auto uplift = Words(report[failed + 1]);
  ASSERT_EQ(uplift.size(), 4u);
  EXPECT_EQ(uplift[0], "-5.0000E+03");
  EXPECT_LT(std::stod(uplift[1]), 0);
  EXPECT_LT(std::stod(uplift[2]), 0);
  EXPECT_EQ(std::stod(uplift[3]), 0);

  // The plot file's applied-load results: sizes, then 2 + 10, 2 and 2 + 10
  // lines.
  const auto plot = run.PlotLines();
  const std::size_t sizes = plot.size() - (1 + 12 + 2 + 12);
  ASSERT_LT(sizes, plot.size());
  EXPECT_EQ(Words(plot[sizes]), (std::vector<std::string>{"3", "10", "1"}));
  EXPECT_EQ(Words(plot[sizes + 1]), std::vector<std::string>{"1"});
  EXPECT_EQ(Words(plot[sizes + 13]), std::vector<std::string>{"0"});
  EXPECT_EQ(Words(plot[sizes + 14]),
            (std::vector<std::string>{"9.0000E+05", "0.0000E+00", "0.0000E+00", "0.0000E+00"}));
  EXPECT_EQ(Words(plot[sizes + 15]), std::vector<std::string>{"1"});
}

struct UnitCase {
  int units;
  std::string length, stress, force, movement;  // the report's unit labels
};

const UnitCase kUnitCases[] = {{1, "IN.", "PSI", "LBS", "IN."},
                               {2, " M.", "KPA", "KN.", " M."},
                               {3, " M.", "KPA", "KN.", " M."}};

std::string Title(int indent) {
  return B(indent) + "Hand-checked pile";
}

// The per-movement block: heading, labels, then the two lines of each
// increment from the tip up and the head line.
std::vector<std::string> TipMovementBlock(const UnitCase& u, const std::string& movement,
                                          const std::string& tipLoad,
                                          const std::vector<std::string>& lines) {
  std::vector<std::string> block = {
      " ",
      "",
      "",
      B(8) + "APPLIED TIP MOVEMENT" + B(8) + "TIP   LOAD",
      B(17) + u.movement + B(20) + u.force,
      B(23 - static_cast<int>(movement.size())) + movement +
          B(23 - static_cast<int>(tipLoad.size())) + tipLoad,
      "",
      "",
      "",
      " DEPTH     LOAD       LOAD      TOTAL      AVG      DEFORM     TOTAL     AVG",
      "         TRANSFER     INCR      LOAD       LOAD     OF INCR    MVMNT     MVMNT",
      B(2) + u.length + B(5) + u.stress + B(10) + u.force + B(7) + u.force + B(8) + u.force + B(6) +
          u.movement + B(8) + u.movement + B(7) + u.movement};
  block.insert(block.end(), lines.begin(), lines.end());
  return block;
}

TEST(ResultSections, TipMovementSectionLineByLine) {
  // Uplift: no tip load, and every value but the depths printed reversed.
  const std::vector<std::string> upliftLines = {
      "  100.0                       0.000E+00                     -1.000E-01",
      "   75.0 -1.000E+00 -1.885E+03          -9.425E+02 -1.178E-02          -1.029E-01",
      "   50.0                      -1.885E+03                     -1.118E-01",
      "   25.0 -1.000E+00 -1.885E+03          -2.827E+03 -3.534E-02          -1.265E-01",
      "    0.0                      -3.770E+03                     -1.471E-01"};
  const std::vector<std::string> compressionLines = {
      "  100.0                       1.000E+02                      1.000E-01",
      "   75.0  1.000E+00  1.885E+03           1.042E+03  1.303E-02           1.036E-01",
      "   50.0                       1.985E+03                      1.130E-01",
      "   25.0  1.000E+00  1.885E+03           2.927E+03  3.659E-02           1.284E-01",
      "    0.0                       3.870E+03                      1.496E-01"};
  for (const UnitCase& u : kUnitCases) {
    for (const int lso : {0, 1}) {
      const auto run = RunProject(HandPile(u.units, lso, "1.0", "2\n0.1 -0.1", "0"));
      ASSERT_EQ(run.result, 0) << run.report;
      std::vector<std::string> expected = {"",
                                           "",
                                           Title(1),
                                           "",
                                           "",
                                           B(8) + "RESULTS DUE TO TIP MOVEMENTS",
                                           B(8) + "----------------------------",
                                           ""};
      if (lso == 0) {
        for (const auto& block :
             {TipMovementBlock(u, "-1.0000E-01", "0.0000E+00", upliftLines),
              TipMovementBlock(u, "1.0000E-01", "1.0000E+02", compressionLines)}) {
          expected.insert(expected.end(), block.begin(), block.end());
        }
      }
      const std::vector<std::string> summary = {
          " ",
          Title(1),
          "",
          "",
          B(8) + "RESULTS DUE TO TIP MOVEMENTS",
          B(8) + "----------------------------",
          "",
          "",
          B(8) + "TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT" + B(5) + "TIP  LOAD",
          B(11) + u.force + B(13) + u.movement + B(14) + u.movement + B(12) + u.force,
          "      -3.7699E+03     -1.4712E-01     -1.0000E-01      0.0000E+00",
          "       3.8699E+03      1.4962E-01      1.0000E-01      1.0000E+02"};
      expected.insert(expected.end(), summary.begin(), summary.end());
      EXPECT_EQ(TailFrom(run.ReportLines(), "RESULTS DUE TO TIP MOVEMENTS", 5), Trimmed(expected))
          << "NUNIT " << u.units << ", LSO " << lso;

      // The distributions and the summary follow the curves (1 + 2 x 4 and
      // 1 + 2 lines).
      const auto plot = run.PlotLines();
      ASSERT_EQ(plot.size(), 12u + 1 + 4 + 2) << run.plot;
      EXPECT_EQ(Words(plot[12]), (std::vector<std::string>{"2", "2", std::to_string(u.units)}));
      const std::vector<std::string> blocks34(plot.begin() + 13, plot.end());
      EXPECT_EQ(
          blocks34,
          (std::vector<std::string>{
              "  7.500E+01   -9.425E+02   -1.029E-01", "  2.500E+01   -2.827E+03   -1.265E-01",
              "  7.500E+01    1.042E+03    1.036E-01", "  2.500E+01    2.927E+03    1.284E-01",
              "      -3.7699E+03     -1.4712E-01     -1.0000E-01      0.0000E+00",
              "       3.8699E+03      1.4962E-01      1.0000E-01      1.0000E+02"}));
    }
  }
}

TEST(ResultSections, AppliedLoadSectionLineByLine) {
  // Without side load the head load is the tip load: 100 and 200 are met
  // exactly by the table's rows; 0 and an uplift load (the pile has no
  // uplift resistance) never converge.
  for (const UnitCase& u : kUnitCases) {
    const auto run = RunProject(HandPile(u.units, 1, "0.0", "2\n0.1 0.2", "4\n100\n0\n-50\n200"));
    ASSERT_EQ(run.result, 0) << run.report;
    const std::vector<std::string> expected = {
        "1",
        Title(8),
        "",
        "",
        B(8) + "RESULTS DUE TO APPLIED LOADS",
        B(8) + "----------------------------",
        "",
        "",
        B(8) + "TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT" + B(5) + "TIP  LOAD",
        B(11) + u.force + B(13) + u.movement + B(14) + u.movement + B(12) + u.force,
        "       1.0000E+02      1.0250E-01      1.0000E-01      1.0000E+02",
        "       0.0000E+00     NOT ABLE TO GET CONVERGENCE",
        "      -5.0000E+01     NOT ABLE TO GET CONVERGENCE",
        "       2.0000E+02      2.0500E-01      2.0000E-01      2.0000E+02"};
    EXPECT_EQ(TailFrom(run.ReportLines(), "RESULTS DUE TO APPLIED LOADS", 4), Trimmed(expected))
        << "NUNIT " << u.units;

    // The applied-load results: sizes, then per load its flag and row, and
    // the distribution of a converged load only.
    const auto plot = run.PlotLines();
    ASSERT_EQ(plot.size(), 12u + 1 + 4 + 2 + 1 + 12) << run.plot;
    EXPECT_EQ(Words(plot[19]), (std::vector<std::string>{"4", "2", std::to_string(u.units)}));
    const std::vector<std::string> block5(plot.begin() + 20, plot.end());
    EXPECT_EQ(
        block5,
        (std::vector<std::string>{
            "    1", "       1.0000E+02      1.0250E-01      1.0000E-01      1.0000E+02",
            "    0.750E+02    0.100E+03    0.101E+00", "    0.250E+02    0.100E+03    0.102E+00",
            "    0", "       0.0000E+00      0.0000E+00      0.0000E+00      0.0000E+00", "    0",
            "      -5.0000E+01      0.0000E+00      0.0000E+00      0.0000E+00", "    1",
            "       2.0000E+02      2.0500E-01      2.0000E-01      2.0000E+02",
            "    0.750E+02    0.200E+03    0.201E+00", "    0.250E+02    0.200E+03    0.204E+00"}));
  }
}

// The run driver caps the sizes a data file asks for right after it reads
// them: a capped run writes the plot file of the project that asks for the
// capped sizes, and differs from the run without caps.
TEST(RunLimits, ACappedRunSolvesTheProjectThatAsksForTheCaps) {
  const struct {
    const char* what;
    RunLimits limits;
    ProjectOptions asked;
    ProjectOptions capped;
  } cases[] = {
      {"increments", {.maxIncrements = 4}, {.ninc = 10}, {.ninc = 4}},
      {"tip movements",
       {.maxTipMovements = 2},
       {.tipMovements = "4\n0.05 0.1 0.2 0.4"},
       {.tipMovements = "2\n0.05 0.1"}},
      {"head loads", {.maxHeadLoads = 1}, {.loads = "3\n1000\n2000\n3000"}, {.loads = "1\n1000"}},
      {"sizes within the caps",
       {.maxIncrements = 10, .maxHeadLoads = 3},
       {.loads = "2\n1000\n2000"},
       {.loads = "2\n1000\n2000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ProjectOutputs capped =
        RunProjectInMemory(Project(c.asked), RunScope::Complete, c.limits);
    const ProjectOutputs expected = RunProjectInMemory(Project(c.capped));
    const ProjectOutputs whole = RunProjectInMemory(Project(c.asked));
    EXPECT_EQ(capped.result, kRunCompleted);
    ASSERT_FALSE(capped.plot.empty());
    EXPECT_EQ(capped.plot, expected.plot);
    EXPECT_EQ(capped.plot == whole.plot, c.asked.ninc == c.capped.ninc &&
                                             c.asked.tipMovements == c.capped.tipMovements &&
                                             c.asked.loads == c.capped.loads);
  }
}

}  // namespace
}  // namespace korvan
