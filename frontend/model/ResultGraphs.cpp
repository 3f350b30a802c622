#include "model/ResultGraphs.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/NumberFormat.h"
#include "model/ProgramData.h"
#include "model/Units.h"
#include "runner/plot_file_reader.h"

namespace korvan {

namespace {

struct TGraphDefinition {
  const char* caption;
  const char* xCaption;
  const char* xUnits;
  const char* yCaption;
  const char* yUnits;
  bool xOnTop;
  bool layersShown;
};

// In the order of TResultGraphs' accessors.
constexpr std::array<TGraphDefinition, TResultGraphs::kGraphCount> kDefinitions = {{
    {"Load Distribution", "Total Capacity ", "F1", "Depth ", "L2", true, true},
    {"Displacement Distribution", "Axial Displacement", "L1", "Depth ", "L2", true, true},
    {"Displacement/Soil Settlement", "Axial Displacement", "L1", "Depth ", "L2", true, true},
    {"Axial Load vs Settlement", "Axial Load ", "F1", "Settlement ", "L", true, false},
    {"t-z Curves", "Displacement, z", "L", "Unit Load Transfer, t", "F/L^2", false, false},
    {"Tip Resistance Curve", "Q", "F", "w", "L", true, false},
    {"Axial Load vs Settlement (Applied Loads)", "Axial Load ", "F1", "Settlement ", "L", true,
     false},
    {"Load Distribution (Applied Load)", "Total Capacity ", "F1", "Depth ", "L2", true, false},
    {"Displacement Distribution (Applied Loads)", "Axial Displacement", "L1", "Depth ", "L2", true,
     false},
}};

// Significant digits of the numbers in default line names: the plot file
// carries five.
constexpr int kNameDigits = 5;
constexpr long double kInchesPerFoot = 12;
constexpr long double kPoundsPerKip = 1000;
// The engine writes SI movements in metres; the displacement graphs name
// millimetres.
constexpr long double kMillimetresPerMetre = 1000;

const QString kSoilSettlementName = QStringLiteral("Soil Settl.");
const QString kTipMovementsName = QStringLiteral("Tip movements");
const QString kAppliedLoadsName = QStringLiteral("Applied loads");
const QString kTipCurveName = QStringLiteral("Tip resistance");

long double Scaled(long double value, bool english, long double divisor) {
  return english ? value / divisor : value;
}

// Movements of the displacement graphs in the unit their axis names.
long double DisplacementShown(long double value, bool si) {
  return si ? value * kMillimetresPerMetre : value;
}

// "Tip movement 0.01 in": what a line is, with its value in the unit that
// `unitCode` names in `system`.
QString ValueName(const QString& what, long double value, const QString& unitCode, int system) {
  return what + QLatin1Char(' ') + FormatGeneral(value, kNameDigits) + QLatin1Char(' ') +
         GraphUnitsText(unitCode, system);
}

void ReadTzCurves(TPlotFileReader& file, TGraphPlot& plot, const TProgramData& project) {
  const int curves = file.CurveCount(3);
  plot.SetLineCount(curves);
  std::vector<int> pointCounts(static_cast<size_t>(curves));
  int longest = 2;
  const bool english = project.fUnits == 1;
  for (int i = 0; i < curves; ++i) {
    file.Skip(1);  // the curve's number
    const int points = file.Count(2);
    pointCounts[static_cast<size_t>(i)] = points;
    longest = std::max(longest, points);
    file.RequireFewPoints(curves, longest);  // shorter curves are padded to the longest
    plot.SetCount(longest);
    const long double depth = Scaled(file.Float(), english, kInchesPerFoot);
    plot.DefLineNames.append(
        ValueName(QStringLiteral("Depth"), depth, QStringLiteral("L2"), project.fUnits));
    for (int j = 0; j < points; ++j) {
      TFloatPoint& point = plot.GetData(i, j);
      point.y = file.Float();
      point.x = file.Float();
    }
  }
  // Shorter curves end in a horizontal run of their last point.
  for (int i = 0; i < curves; ++i) {
    for (int j = std::max(pointCounts[static_cast<size_t>(i)], 1); j < longest; ++j) {
      plot.GetData(i, j) = plot.GetData(i, j - 1);
    }
  }
}

void ReadTipCurve(TPlotFileReader& file, TGraphPlot& plot) {
  plot.DefLineNames = QStringList{kTipCurveName};
  const int points = file.Count(2);
  plot.GetLines(0).SetCount(points);
  for (int j = 0; j < points; ++j) {
    TFloatPoint& point = plot.GetData(0, j);
    point.x = file.Float();
    point.y = file.Float();
  }
}

void ReadSoilSettlement(TGraphPlot& plot, int line, const TProgramData& project) {
  const TGridTable& settlement = project.Tables().SoilSettlement();
  TLine& soil = plot.GetLines(line);
  soil.SetCount(settlement.RowCount());
  const bool english = settlement.Units() == 1;
  const bool si = settlement.Units() == 2;
  for (int j = 0; j < settlement.RowCount(); ++j) {
    soil.Point(j) = TFloatPoint(DisplacementShown(settlement.GetFloatValue(1, j), si),
                                Scaled(settlement.GetFloatValue(0, j), english, kInchesPerFoot));
  }
}

// The loads applied at the head are joined in order of load, whatever the
// order they were entered in.
void SortByLoad(TLine& line) {
  std::vector<TFloatPoint> points;
  for (int j = 0; j < line.Count(); ++j) points.push_back(line.Point(j));
  std::stable_sort(points.begin(), points.end(),
                   [](const TFloatPoint& a, const TFloatPoint& b) { return a.x < b.x; });
  for (int j = 0; j < line.Count(); ++j) line.Point(j) = points[static_cast<size_t>(j)];
}

}  // namespace

TResultGraphs::TResultGraphs() {
  for (size_t i = 0; i < fPlots.size(); ++i) {
    const TGraphDefinition& definition = kDefinitions[i];
    auto plot = std::make_unique<TGraphPlot>();
    plot->SetCaption(QString::fromLatin1(definition.caption));
    plot->SetXCaption(QString::fromLatin1(definition.xCaption));
    plot->SetXUnits(QString::fromLatin1(definition.xUnits));
    plot->SetYCaption(QString::fromLatin1(definition.yCaption));
    plot->SetYUnits(QString::fromLatin1(definition.yUnits));
    plot->SetXOnTop(definition.xOnTop);
    plot->SetShowLayers(definition.layersShown);
    plot->SetCurveName(QStringLiteral("Curve #"));
    plot->SetMarkers(1);
    plot->SetSizeFont(10);
    plot->SetLegendFont(11);
    plot->SetWidthLine(1);
    plot->SetUnits(1);
    plot->SetShowLegend(true);
    plot->SetShowWall(false);
    fPlots[i] = std::move(plot);
  }
}

TResultGraphs::~TResultGraphs() = default;

void TResultGraphs::ResetGraphPlot(TGraphPlot& plot) {
  plot.SetLineCount(0);
  plot.DefLineNames.clear();
  plot.SetLayerLineCount(0);
  plot.SetMarkers(1);
  plot.SetSizeFont(10);
  plot.SetWidthLine(1);
}

void TResultGraphs::AddLayersGraphPlot(TGraphPlot& plot, const TProgramData& project) {
  if (plot.LineCount() == 0 || plot.Count() == 0) return;
  if (project.UserTz && project.UserQw) return;  // no soil layers
  const TGridTable& layers = project.Tables().SoilLayers();
  plot.SetLayerLineCount(layers.RowCount());
  plot.SetLayerCount(1);
  plot.SetShowLayers(false);
  const bool english = project.fUnits == 1;
  for (int i = 0; i < layers.RowCount(); ++i) {
    const bool clay = layers.GetIntValue(0, i) % 2 == 1;  // types 1, 3 and 5
    TLine& layer = plot.GetLayerLines(i);
    layer.SetLineName(clay ? QStringLiteral(" CLAY ") : QStringLiteral(" SAND "));
    layer.Point(0) =
        TFloatPoint(clay ? 1 : 7, Scaled(layers.GetFloatValue(1, i), english, kInchesPerFoot));
  }
}

bool TResultGraphs::ReadPlotData(const QString& plotFile, const TProgramData& project) {
  for (TGraphPlot* plot :
       {&pltLoad(), &pltDisp(), &pltDispDown(), &pltTZcurves(), &pltLoadLoads(), &pltDispLoads()}) {
    plot->LimitActive = false;
  }
  for (const auto& plot : fPlots) {
    ResetGraphPlot(*plot);
    plot->ResultFolder = QFileInfo(plotFile).absolutePath();
  }
  pltAxial().SetLineCount(1);
  for (TGraphPlot* plot :
       {&pltLoad(), &pltDisp(), &pltDispDown(), &pltLoadLoads(), &pltDispLoads()}) {
    plot->SetLineCount(9);
  }
  PltQW().SetLineCount(1);
  pltAxialLoads().SetLineCount(2);

  const bool downdrag = project.downdrag == 1;
  int unitFlag = 1;
  try {
    TPlotFileReader file(QFile::encodeName(plotFile).toStdString());
    ReadTzCurves(file, pltTZcurves(), project);
    ReadTipCurve(file, PltQW());

    // Distributions by tip movement: three words a point.
    const int lines = file.CurveCount(0);
    const int points = file.Count(0);
    unitFlag = file.Integer();
    // Three words a point, then four summary words a line.
    file.Require(lines, 3LL * points + 4);
    bool english = unitFlag == 1;
    bool si = unitFlag == 2;
    for (TGraphPlot* plot : {&pltLoad(), &pltDisp(), &pltDispDown()}) {
      plot->SetLineCount(lines);
      plot->SetCount(points);
    }
    if (downdrag) pltDispDown().SetLineCount(lines + 1);
    for (int i = 0; i < lines; ++i) {
      for (int j = 0; j < points; ++j) {
        const long double depth = Scaled(file.Float(), english, kInchesPerFoot);
        const long double load = Scaled(file.Float(), english, kPoundsPerKip);
        const long double displacement = DisplacementShown(file.Float(), si);
        pltLoad().GetData(i, j) = TFloatPoint(load, depth);
        pltDisp().GetData(i, j) = TFloatPoint(displacement, depth);
        pltDispDown().GetData(i, j) = TFloatPoint(displacement, depth);
      }
    }
    if (downdrag) ReadSoilSettlement(pltDispDown(), lines, project);

    // Load against settlement, from the origin unless down-drag loads the
    // pile before any head load.
    TLine& axial = pltAxial().GetLines(0);
    TLine& fromDisplacements = pltAxialLoads().GetLines(0);
    axial.SetCount(lines + 1);
    fromDisplacements.SetCount(lines + 1);
    pltAxialLoads().GetLines(1).SetCount(lines + 1);
    pltAxial().DefLineNames = QStringList{kTipMovementsName};
    pltAxialLoads().DefLineNames = QStringList{kTipMovementsName, kAppliedLoadsName};
    QStringList movementNames;
    for (int j = 1; j <= lines; ++j) {
      const long double load = Scaled(file.Float(), english, kPoundsPerKip);
      axial.Point(j) = TFloatPoint(load, file.Float());
      const long double tipMovement = file.Float();
      file.Skip(1);
      fromDisplacements.Point(j) = axial.Point(j);
      // In the unit of the displacement graphs: millimetres in SI.
      movementNames.append(ValueName(QStringLiteral("Tip movement"),
                                     DisplacementShown(tipMovement, si), QStringLiteral("L1"),
                                     unitFlag));
    }
    for (TGraphPlot* plot : {&pltLoad(), &pltDisp(), &pltDispDown()})
      plot->DefLineNames = movementNames;
    if (downdrag) pltDispDown().DefLineNames.append(kSoilSettlementName);
    if (lines > 0) {
      const bool fromOrigin = !downdrag && axial.Point(1).x > 0;
      axial.Point(0) = fromOrigin ? TFloatPoint(0, 0) : axial.Point(1);
      fromDisplacements.Point(0) = axial.Point(0);
    }

    if (project.Nloadmethod == 2) {
      const int cases = file.CurveCount(5);
      const int casePoints = file.Count(0);
      unitFlag = file.Integer();
      file.RequirePoints(cases, casePoints, 3);
      english = unitFlag == 1;
      si = unitFlag == 2;
      for (TGraphPlot* plot : {&pltLoadLoads(), &pltDispLoads()}) {
        plot->SetLineCount(cases);
        plot->SetCount(casePoints);
      }
      int converged = 0;
      for (int c = 0; c < cases; ++c) {
        if (file.Integer() == 0) {
          file.Skip(4);  // a load that did not converge
          continue;
        }
        TLine& fromLoads = pltAxialLoads().GetLines(1);
        fromLoads.SetCount(converged + 1);
        const long double load = Scaled(file.Float(), english, kPoundsPerKip);
        fromLoads.Point(converged) = TFloatPoint(load, file.Float());
        file.Skip(2);
        const QString name =
            ValueName(QStringLiteral("Head load"), load, QStringLiteral("F1"), unitFlag);
        for (TGraphPlot* plot : {&pltLoadLoads(), &pltDispLoads()}) {
          plot->SetLineCount(converged + 1);
          plot->GetLines(converged).SetCount(casePoints);
          plot->DefLineNames.append(name);
        }
        for (int j = 0; j < casePoints; ++j) {
          const long double depth = Scaled(file.Float(), english, kInchesPerFoot);
          const long double caseLoad = Scaled(file.Float(), english, kPoundsPerKip);
          const long double displacement = DisplacementShown(file.Float(), si);
          pltLoadLoads().GetData(converged, j) = TFloatPoint(caseLoad, depth);
          pltDispLoads().GetData(converged, j) = TFloatPoint(displacement, depth);
        }
        ++converged;
      }
      SortByLoad(pltAxialLoads().GetLines(1));
    }
    // A file cut short is refused also where its lost end was not needed.
    file.RequireWhole();
  } catch (const PlotFileError&) {
    return false;
  }

  for (TGraphPlot* plot :
       {&pltLoad(), &pltDisp(), &pltDispDown(), &pltLoadLoads(), &pltDispLoads()}) {
    AddLayersGraphPlot(*plot, project);
  }
  for (const auto& plot : fPlots) plot->SetUnits(unitFlag);
  return true;
}

std::vector<TGraphPlot*> GraphsWithResults(const TResultGraphs& graphs,
                                           const TProgramData& project) {
  std::vector<TGraphPlot*> shown = {&graphs.pltLoad(), &graphs.pltDisp()};
  if (project.downdrag == 1) shown.push_back(&graphs.pltDispDown());
  shown.insert(shown.end(), {&graphs.pltAxial(), &graphs.pltTZcurves(), &graphs.PltQW()});
  if (project.Nloadmethod == 2) {
    shown.insert(shown.end(),
                 {&graphs.pltLoadLoads(), &graphs.pltDispLoads(), &graphs.pltAxialLoads()});
  }
  std::erase_if(shown,
                [](TGraphPlot* plot) { return plot->LineCount() == 0 || plot->Count() == 0; });
  return shown;
}

}  // namespace korvan
