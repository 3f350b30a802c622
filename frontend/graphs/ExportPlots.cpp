#include "graphs/ExportPlots.h"

#include <QFile>

#include "graphs/XlsxAutomation.h"
#include "model/Exceptions.h"
#include "model/GraphPlot.h"

namespace korvan {

namespace {

using TSheet = TSpreadsheetAutomation::TSheet;

constexpr int kIndexHeaderRow = 2;
// Header of the index sheet, columns B to F; the blanks widen the columns
// when they are fitted to these texts.
const QString kIndexHeaders[] = {
    QStringLiteral("     N    "),
    QStringLiteral("                             Plot Name                             "),
    QStringLiteral("  Sheet Name  "),
    QStringLiteral("  Chart Name  "),
    QStringLiteral("          Status          "),
};
constexpr int kFirstDataRow = 6;

QChar Letter(int number) {
  return QChar(u'A' + (number - 1));
}

// "=Page_k!$C$6:$C$12": one column of a data sheet, rows 6 to `lastRow`.
QString ColumnFormula(const QString& sheetName, int column, int lastRow) {
  const QString col = GetExcelCol(column);
  return QStringLiteral("=%1!$%2$%3:$%2$%4").arg(sheetName, col).arg(kFirstDataRow).arg(lastRow);
}

}  // namespace

QString GetExcelCol(int n) {
  if (n >= 1 && n <= 26) return QString(Letter(n));
  if (n >= 27 && n <= 702) return QString(Letter((n - 1) / 26)) + Letter((n - 1) % 26 + 1);
  return {};
}

QString UnitsTitle(const QString& code, int system) {
  return ExpandUnitCodes(code, system);
}

QString AxisTitle(const QString& caption, const QString& units, int system) {
  if (units.isEmpty()) return caption;
  return caption + QStringLiteral(" (") + UnitsTitle(units, system) + QStringLiteral(")");
}

void GenerateChart(TSpreadsheetAutomation& excel, int k, const TGraphPlot& graph, bool markers) {
  const int r = k + 2;
  const QString p = QStringLiteral("Page_%1").arg(k);
  const QString c = QStringLiteral("Plot_%1").arg(k);
  const QString xTitle = AxisTitle(graph.XCaption(), graph.XUnits(), graph.Units());
  const QString yTitle = AxisTitle(graph.YCaption(), graph.YUnits(), graph.Units());

  const TSheet index = excel.Sheets(1);
  excel.SetCellText(index, r, 3, graph.Caption());
  excel.SetCellText(index, r, 4, p);
  excel.SetCellText(index, r, 5, c);
  excel.SetCellText(index, r, 6, QStringLiteral("In Progress, Data"));
  excel.HyperlinksAdd(index, QStringLiteral("D%1").arg(r), QString(), p + QStringLiteral("!A1"));

  excel.SheetsAdd(excel.Sheets(excel.SheetsCount()), TSpreadsheetAutomation::xlWorksheet);
  const TSheet data = excel.ActiveSheet();
  excel.SetName(data, p);
  excel.Activate(index);

  excel.SetCellText(data, 1, 1, graph.Caption());
  excel.SetCellText(data, 2, 1, QStringLiteral("X"));
  excel.SetCellText(data, 2, 2, xTitle);
  excel.SetCellText(data, 3, 1, QStringLiteral("Y"));
  excel.SetCellText(data, 3, 2, yTitle);
  const int m = graph.LineCount();
  for (int j = 1; j <= m; ++j) {
    const TLine& line = graph.GetLines(j - 1);
    const int cx = 2 * j - 1;
    const int cy = 2 * j;
    excel.SetCellText(data, 4, cx, line.LineName());
    excel.SetCellText(data, 5, cx, QStringLiteral("X"));
    excel.SetCellText(data, 5, cy, QStringLiteral("Y"));
    for (int i = 1; i <= line.Count(); ++i) {
      const TFloatPoint& point = line.Point(i - 1);
      excel.SetCellValue(data, 5 + i, cx, static_cast<double>(point.x));
      excel.SetCellValue(data, 5 + i, cy, static_cast<double>(point.y));
    }
  }

  excel.SetCellText(index, r, 6, QStringLiteral("In Progress, Chart"));
  excel.SheetsAdd(data, TSpreadsheetAutomation::xlChart);
  const TSheet chart = excel.ActiveSheet();
  excel.Activate(index);
  excel.SetChartType(chart, TSpreadsheetAutomation::xlXYScatterLines);

  // The chart's ranges end at the first line's last point: a shorter line
  // leaves blanks in its range, a longer one is cut there.
  const int n = graph.Count();
  const int lastRow = kFirstDataRow - 1 + n;
  excel.SetSourceData(
      chart, data,
      QStringLiteral("A%1:%2%3").arg(kFirstDataRow).arg(GetExcelCol(m + 1)).arg(lastRow),
      TSpreadsheetAutomation::xlColumns);
  const QString dataName = excel.Name(data);
  for (int j = 1; j <= m; ++j) {
    excel.SeriesName(chart, j, graph.GetLines(j - 1).LineName());
    excel.SeriesXValues(chart, j, ColumnFormula(dataName, 2 * j - 1, lastRow));
    excel.SeriesValues(chart, j, ColumnFormula(dataName, 2 * j, lastRow));
    if (!markers) excel.SeriesMarkerStyle(chart, j, TSpreadsheetAutomation::xlMarkerStyleNone);
  }

  excel.SetHasTitle(chart, false);
  constexpr int primary = TSpreadsheetAutomation::xlPrimary;
  constexpr int xAxis = TSpreadsheetAutomation::xlCategory;
  constexpr int yAxis = TSpreadsheetAutomation::xlValue;
  excel.AxisHasTitle(chart, xAxis, primary, true);
  excel.AxisTitleText(chart, xAxis, primary, xTitle);
  excel.AxisHasMajorGridlines(chart, xAxis, primary, true);
  excel.AxisHasTitle(chart, yAxis, primary, true);
  excel.AxisTitleText(chart, yAxis, primary, yTitle);
  excel.AxisHasMajorGridlines(chart, yAxis, primary, true);
  // Depth grows downwards on graphs drawn with the x axis on top.
  excel.AxisReversePlotOrder(chart, yAxis, primary, graph.XOnTop());

  excel.LegendBorderColor(chart, 0);
  excel.LegendInteriorColorIndex(chart, 2);

  excel.SetName(chart, c);
  excel.Move(chart, data);
  excel.Activate(index);
  excel.SetCellText(index, r, 6, QStringLiteral("Complete"));
}

void GenerateWorkbook(TSpreadsheetAutomation& excel, const std::vector<const TGraphPlot*>& graphs,
                      bool markers) {
  excel.SetVisible(true);
  excel.WorkbooksAdd();
  const TSheet index = excel.ActiveSheet();
  excel.SetName(index, QStringLiteral("Legend"));
  for (int column = 2; column <= 6; ++column)
    excel.SetCellText(index, kIndexHeaderRow, column, kIndexHeaders[column - 2]);
  const QString header = QStringLiteral("B2:F2");
  excel.RangeFontBold(index, header, true);
  excel.RangeVerticalAlignment(index, header, TSpreadsheetAutomation::xlCenter);
  excel.RangeEntireColumnAutoFit(index, header);
  const int count = static_cast<int>(graphs.size());
  for (int n = 1; n <= count; ++n) excel.SetCellText(index, n + 2, 2, QString::number(n));
  for (int k = 1; k <= count; ++k)
    GenerateChart(excel, k, *graphs[static_cast<size_t>(k - 1)], markers);
  excel.SetVisible(true);
  excel.SetUserControl(true);
}

std::optional<QString> ExportGraphsToWorkbook(const std::vector<const TGraphPlot*>& graphs,
                                              bool markers, const std::filesystem::path& fileName,
                                              const std::vector<platform::TKeptFile>& kept) {
  try {
    TXlsxAutomation excel;
    GenerateWorkbook(excel, graphs, markers);
    excel.SaveTo(fileName, kept);
  } catch (const EKorvanError& error) {
    return error.Message();
  }
  return std::nullopt;
}

std::optional<QString> ExportGraphsToWorkbook(const std::vector<const TGraphPlot*>& graphs,
                                              bool markers, const QString& fileName) {
  return ExportGraphsToWorkbook(graphs, markers, QFile::encodeName(fileName).toStdString());
}

}  // namespace korvan
