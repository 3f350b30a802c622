#include "graphs/StudyGraphs.h"

#include <algorithm>
#include <optional>

#include "model/Units.h"

namespace korvan {

namespace {

constexpr long double kPoundsPerKip = 1000;
constexpr int kEnglish = 1;

// Loads in the unit "F1" names: kips in English units.
long double LoadShown(double load, int units) {
  return units == kEnglish ? load / kPoundsPerKip : load;
}

QString ParameterCaption(TStudyParameter parameter) {
  return parameter == TStudyParameter::kLength ? QStringLiteral("Total Pile Length")
                                               : QStringLiteral("Outer Diameter");
}

QString Amount(long double value, const QString& unitCode, int units) {
  return QString::fromStdString(ValueText(static_cast<double>(value))) + QLatin1Char(' ') +
         GraphUnitsText(unitCode, units);
}

std::unique_ptr<TGraphPlot> NewGraph(const QString& caption, const QString& xCaption,
                                     const QString& yCaption, const QString& yUnits, bool xOnTop,
                                     int units) {
  auto graph = std::make_unique<TGraphPlot>();
  graph->SetCaption(caption);
  graph->SetXCaption(xCaption);
  graph->SetYCaption(yCaption);
  graph->SetYUnits(yUnits);
  graph->SetXOnTop(xOnTop);
  graph->SetUnits(units);
  // Every variant is listed when the window opens, also beyond 20.
  graph->LimitActive = false;
  return graph;
}

void SetPoints(TLine& line, const std::vector<TFloatPoint>& points) {
  line.SetCount(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) line.Point(static_cast<int>(i)) = points[i];
}

// The study's value `member` against the parameter, and `level` as a level
// line across the variants' values when given; nothing when no variant has
// the value.
std::unique_ptr<TGraphPlot> Chart(const std::vector<TVariantOutcome>& outcomes,
                                  const TStudySettings& settings,
                                  std::optional<double> TVariantOutcome::*member,
                                  const QString& caption, const QString& valueName,
                                  std::optional<double> level, const QString& levelName,
                                  bool loadAxis) {
  const int units = settings.unitSystem;
  auto shown = [&](double value) {
    return loadAxis ? LoadShown(value, units) : static_cast<long double>(value);
  };
  std::vector<TFloatPoint> points;
  for (const TVariantOutcome& outcome : outcomes) {
    if (const std::optional<double>& value = outcome.*member)
      points.emplace_back(outcome.value, shown(*value));
  }
  if (points.empty()) return nullptr;
  // A line of one point draws as that point: the graph draws lines of two
  // or more.
  if (points.size() == 1) points.push_back(points.front());
  auto graph = NewGraph(caption, ParameterCaption(settings.parameter),
                        loadAxis ? QStringLiteral("Axial Load ") : QStringLiteral("Settlement "),
                        loadAxis ? QStringLiteral("F1") : QStringLiteral("L"), false, units);
  graph->SetXUnits(QStringLiteral("L"));
  graph->SetLineCount(level ? 2 : 1);
  SetPoints(graph->GetLines(0), points);
  graph->GetLines(0).SetLineName(valueName);
  if (level) {
    const auto [least, most] = std::minmax_element(
        outcomes.begin(), outcomes.end(),
        [](const TVariantOutcome& a, const TVariantOutcome& b) { return a.value < b.value; });
    SetPoints(graph->GetLines(1),
              {TFloatPoint(least->value, shown(*level)), TFloatPoint(most->value, shown(*level))});
    graph->GetLines(1).SetLineName(
        levelName + QLatin1Char(' ') +
        Amount(shown(*level), loadAxis ? QStringLiteral("F1") : QStringLiteral("L"), units));
  }
  return graph;
}

}  // namespace

TStudyGraphs::TStudyGraphs(const std::vector<TVariantOutcome>& outcomes,
                           const TStudySettings& settings) {
  const int units = settings.unitSystem;
  const QString parameter = ParameterCaption(settings.parameter);
  fCurves = NewGraph(QStringLiteral("Load-Settlement Curves by %1").arg(parameter),
                     QStringLiteral("Axial Load "), QStringLiteral("Settlement "),
                     QStringLiteral("L"), true, units);
  fCurves->SetXUnits(QStringLiteral("F1"));
  std::vector<const TVariantOutcome*> completed;
  for (const TVariantOutcome& outcome : outcomes) {
    if (outcome.Completed() && !outcome.curve.empty()) completed.push_back(&outcome);
  }
  fCurves->SetLineCount(static_cast<int>(completed.size()));
  const QString word = settings.parameter == TStudyParameter::kLength ? QStringLiteral("Length")
                                                                      : QStringLiteral("Diameter");
  for (std::size_t i = 0; i < completed.size(); ++i) {
    std::vector<TFloatPoint> points;
    for (const TCurvePoint& point : completed[i]->curve)
      points.emplace_back(LoadShown(point.load, units), point.settlement);
    TLine& line = fCurves->GetLines(static_cast<int>(i));
    SetPoints(line, points);
    line.SetLineName(word + QLatin1Char(' ') +
                     Amount(completed[i]->value, QStringLiteral("L"), units));
  }
  if (settings.designLoad) {
    fSettlementChart =
        Chart(outcomes, settings, &TVariantOutcome::designSettlement,
              QStringLiteral("Design Chart: Settlement under Design Load"),
              QStringLiteral("Settlement under design load ") +
                  Amount(LoadShown(*settings.designLoad, units), QStringLiteral("F1"), units),
              settings.settlementLimit, QStringLiteral("Settlement limit"), false);
  }
  if (settings.settlementLimit) {
    fLoadChart = Chart(outcomes, settings, &TVariantOutcome::limitLoad,
                       QStringLiteral("Design Chart: Load at Settlement Limit"),
                       QStringLiteral("Load at settlement limit ") +
                           Amount(*settings.settlementLimit, QStringLiteral("L"), units),
                       settings.designLoad, QStringLiteral("Design load"), true);
  }
}

TStudyGraphs::~TStudyGraphs() = default;

std::vector<TStudyGraph> TStudyGraphs::All() const {
  std::vector<TStudyGraph> graphs;
  if (fCurves->LineCount() > 0) graphs.push_back({fCurves.get(), QStringLiteral("curves")});
  if (fSettlementChart)
    graphs.push_back({fSettlementChart.get(), QStringLiteral("design-settlement")});
  if (fLoadChart) graphs.push_back({fLoadChart.get(), QStringLiteral("design-load")});
  return graphs;
}

}  // namespace korvan
