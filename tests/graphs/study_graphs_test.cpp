// The graphs of a design study: a curve per completed variant, the design
// chart's two graphs only where their values exist, loads in kips in
// English units like every load graph, and level lines across the values.
#include <gtest/gtest.h>

#include "graphs/StudyGraphs.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints Points(const TLine& line) {
  TPoints points;
  for (int i = 0; i < line.Count(); ++i)
    points.emplace_back(static_cast<double>(line.Point(i).x), static_cast<double>(line.Point(i).y));
  return points;
}

TVariantOutcome Completed(double value, std::optional<double> settlement,
                          std::optional<double> load) {
  TVariantOutcome outcome;
  outcome.value = value;
  outcome.curve = {{0, 0}, {200000, 0.1}, {400000, 0.6}};
  outcome.largestHeadLoad = 400000;
  outcome.designSettlement = settlement;
  outcome.limitLoad = load;
  return outcome;
}

TVariantOutcome Stopped(double value) {
  TVariantOutcome outcome;
  outcome.value = value;
  outcome.code = 6;
  outcome.reason = "beyond the profile";
  return outcome;
}

struct GraphsCase {
  const char* what;
  std::vector<TVariantOutcome> outcomes;
  int units;
  std::optional<double> designLoad;
  std::optional<double> limit;
  QStringList curveNames;
  TPoints firstCurve;
  TPoints settlements;  // empty: no such chart
  TPoints settlementLevel;
  TPoints loads;  // empty: no such chart
  TPoints loadLevel;
};

const GraphsCase kGraphsCases[] = {
    {"English: loads in kips, level lines across every value",
     {Completed(600, 0.27, 369730), Stopped(700), Completed(800, 0.23, 442670)},
     1,
     300000,
     0.5,
     {"Length 600 in", "Length 800 in"},
     {{0, 0}, {200, 0.1}, {400, 0.6}},
     {{600, 0.27}, {800, 0.23}},
     {{600, 0.5}, {800, 0.5}},
     {{600, 369.73}, {800, 442.67}},
     {{600, 300}, {800, 300}}},
    {"SI: loads as read; a chart of one point",
     {Completed(0.4, {}, 823), Completed(0.5, 0.01, {})},
     2,
     800,
     0.02,
     {"Length 0.4 m", "Length 0.5 m"},
     {{0, 0}, {200000, 0.1}, {400000, 0.6}},
     {{0.5, 0.01}, {0.5, 0.01}},
     {{0.4, 0.02}, {0.5, 0.02}},
     {{0.4, 823}, {0.4, 823}},
     {{0.4, 800}, {0.5, 800}}},
    {"no value asked for: curves alone",
     {Completed(600, {}, {})},
     1,
     {},
     {},
     {"Length 600 in"},
     {{0, 0}, {200, 0.1}, {400, 0.6}},
     {},
     {},
     {},
     {}},
    {"no variant completed", {Stopped(600), Stopped(700)}, 1, 300000, 0.5, {}, {}, {}, {}, {}, {}},
};

void ExpectPoints(const TPoints& actual, const TPoints& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i].first, expected[i].first, 1e-9 * std::abs(expected[i].first)) << i;
    EXPECT_NEAR(actual[i].second, expected[i].second, 1e-9 * std::abs(expected[i].second)) << i;
  }
}

TEST(StudyGraphs, CurvesAndDesignChartsShowWhatTheVariantsGave) {
  for (const GraphsCase& row : kGraphsCases) {
    SCOPED_TRACE(row.what);
    TStudySettings settings;
    settings.unitSystem = row.units;
    settings.designLoad = row.designLoad;
    settings.settlementLimit = row.limit;
    const TStudyGraphs graphs(row.outcomes, settings);
    QStringList names;
    for (int i = 0; i < graphs.Curves().LineCount(); ++i)
      names << graphs.Curves().GetLines(i).LineName();
    EXPECT_EQ(names, row.curveNames);
    EXPECT_EQ(graphs.Curves().Units(), row.units);
    if (!row.curveNames.isEmpty())
      ExpectPoints(Points(graphs.Curves().GetLines(0)), row.firstCurve);
    const std::pair<TGraphPlot*, std::pair<const TPoints*, const TPoints*>> charts[] = {
        {graphs.SettlementChart(), {&row.settlements, &row.settlementLevel}},
        {graphs.LoadChart(), {&row.loads, &row.loadLevel}},
    };
    std::size_t drawn = row.curveNames.isEmpty() ? 0 : 1;
    for (const auto& [chart, expected] : charts) {
      ASSERT_EQ(chart != nullptr, !expected.first->empty());
      if (chart == nullptr) continue;
      ++drawn;
      EXPECT_FALSE(chart->XOnTop());
      ExpectPoints(Points(chart->GetLines(0)), *expected.first);
      ASSERT_EQ(chart->LineCount(), expected.second->empty() ? 1 : 2);
      if (chart->LineCount() == 2) ExpectPoints(Points(chart->GetLines(1)), *expected.second);
    }
    EXPECT_EQ(graphs.All().size(), drawn);
  }
}

}  // namespace
}  // namespace korvan
