// The result sections of whole runs: report sections 6 and 7 and plot blocks
// 3 to 5, for projects with user curves (so that nothing but the solution
// decides the numbers).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace korvan {
namespace {

using testing::RunProject;

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

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string w; stream >> w;) words.push_back(w);
  return words;
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& text,
                    std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].find(text) != std::string::npos) return i;
  }
  return lines.size();
}

// Plot block 4: the rows that follow the NTIPMV x NINC distribution lines.
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

  // Plot block 5: sizes, then 2 + 10, 2 and 2 + 10 lines.
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

}  // namespace
}  // namespace korvan
