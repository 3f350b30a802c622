#include "graphs/XlsxAutomation.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "graphs/XlsxWriter.h"
#include "model/Exceptions.h"

namespace korvan {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kMaxSheetName = 31;
constexpr int kMaxCellText = 32767;

[[noreturn]] void Fail(const QString& what) {
  throw EKorvanError(QStringLiteral("The spreadsheet refused the export: %1.").arg(what));
}

int ColumnNumber(const QString& letters) {
  int n = 0;
  for (QChar c : letters) n = n * 26 + (c.unicode() - u'A' + 1);
  return n;
}

struct TCellBlock {
  int FirstRow, FirstColumn, LastRow, LastColumn;
};

// "B2:F2", "D3", "$A$6:$A$12": the block, corners put in order.
TCellBlock ParseBlock(const QString& range) {
  static const QRegularExpression pattern(
      QStringLiteral(R"(^\$?([A-Z]{1,3})\$?(\d{1,7})(?::\$?([A-Z]{1,3})\$?(\d{1,7}))?$)"));
  const QRegularExpressionMatch m = pattern.match(range.toUpper());
  if (!m.hasMatch()) Fail(QStringLiteral("\"%1\" is not a cell range").arg(range));
  TCellBlock block;
  block.FirstColumn = ColumnNumber(m.captured(1));
  block.FirstRow = m.captured(2).toInt();
  block.LastColumn = m.hasCaptured(3) ? ColumnNumber(m.captured(3)) : block.FirstColumn;
  block.LastRow = m.hasCaptured(4) ? m.captured(4).toInt() : block.FirstRow;
  if (block.FirstRow > block.LastRow) std::swap(block.FirstRow, block.LastRow);
  if (block.FirstColumn > block.LastColumn) std::swap(block.FirstColumn, block.LastColumn);
  if (block.FirstRow < 1 || block.LastRow > kMaxRows || block.FirstColumn < 1 ||
      block.LastColumn > kMaxColumns)
    Fail(QStringLiteral("\"%1\" lies outside the sheet").arg(range));
  return block;
}

void CheckCell(int row, int column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
    Fail(QStringLiteral("cell (%1, %2) lies outside the sheet").arg(row).arg(column));
}

// Width in characters that shows `text` whole, a little more in bold.
double FittedWidth(const QString& text, bool bold) {
  return text.size() * (bold ? 1.1 : 1.0) + 1;
}

QString CellText(const TXlsxCell& cell) {
  if (const QString* text = std::get_if<QString>(&cell.Value)) return *text;
  return QString::number(std::get<double>(cell.Value), 'g', 15);
}

}  // namespace

void TXlsxAutomation::RequireWorkbook() const {
  if (!fHasWorkbook) Fail(QStringLiteral("no workbook is open"));
}

TXlsxSheet& TXlsxAutomation::Sheet(TSheet handle) {
  RequireWorkbook();
  auto found = std::find_if(fModel.Sheets.begin(), fModel.Sheets.end(),
                            [handle](const TXlsxSheet& s) { return s.Handle == handle; });
  if (found == fModel.Sheets.end()) Fail(QStringLiteral("there is no sheet %1").arg(handle));
  return *found;
}

TXlsxSheet& TXlsxAutomation::Worksheet(TSheet handle) {
  TXlsxSheet& sheet = Sheet(handle);
  if (sheet.IsChart) Fail(QStringLiteral("\"%1\" is a chart sheet").arg(sheet.Name));
  return sheet;
}

TXlsxSheet& TXlsxAutomation::Chart(TSheet handle) {
  TXlsxSheet& sheet = Sheet(handle);
  if (!sheet.IsChart) Fail(QStringLiteral("\"%1\" is not a chart sheet").arg(sheet.Name));
  return sheet;
}

int TXlsxAutomation::Position(TSheet handle) const {
  for (size_t i = 0; i < fModel.Sheets.size(); ++i)
    if (fModel.Sheets[i].Handle == handle) return static_cast<int>(i);
  Fail(QStringLiteral("there is no sheet %1").arg(handle));
}

QString TXlsxAutomation::NewSheetName(bool chart) {
  for (;;) {
    const QString name = chart ? QStringLiteral("Chart%1").arg(++fChartsMade)
                               : QStringLiteral("Sheet%1").arg(++fWorksheetsMade);
    const bool taken = std::any_of(
        fModel.Sheets.begin(), fModel.Sheets.end(),
        [&name](const TXlsxSheet& s) { return s.Name.compare(name, Qt::CaseInsensitive) == 0; });
    if (!taken) return name;
  }
}

void TXlsxAutomation::WorkbooksAdd() {
  // A new workbook holds one worksheet.
  fModel = {};
  fHasWorkbook = true;
  fWorksheetsMade = 0;
  fChartsMade = 0;
  TXlsxSheet first;
  first.Handle = fNextHandle++;
  first.Name = NewSheetName(false);
  fModel.Sheets.push_back(first);
  fModel.ActiveHandle = first.Handle;
}

TSpreadsheetAutomation::TSheet TXlsxAutomation::ActiveSheet() {
  RequireWorkbook();
  return fModel.ActiveHandle;
}

TSpreadsheetAutomation::TSheet TXlsxAutomation::Sheets(int position) {
  RequireWorkbook();
  if (position < 1 || position > SheetsCount())
    Fail(QStringLiteral("there is no sheet at position %1").arg(position));
  return fModel.Sheets[static_cast<size_t>(position - 1)].Handle;
}

int TXlsxAutomation::SheetsCount() {
  RequireWorkbook();
  return static_cast<int>(fModel.Sheets.size());
}

void TXlsxAutomation::SheetsAdd(TSheet after, int type) {
  if (type != xlWorksheet && type != xlChart)
    Fail(QStringLiteral("sheet type %1 is not known").arg(type));
  const int position = Position(after) + 1;
  TXlsxSheet sheet;
  sheet.Handle = fNextHandle++;
  sheet.IsChart = type == xlChart;
  sheet.Name = NewSheetName(sheet.IsChart);
  fModel.Sheets.insert(fModel.Sheets.begin() + position, sheet);
  fModel.ActiveHandle = sheet.Handle;
}

void TXlsxAutomation::SaveAs(const QString& fileName) {
  RequireWorkbook();
  WriteXlsxWorkbook(fModel, fileName);
}

void TXlsxAutomation::SaveTo(const std::filesystem::path& fileName,
                             const std::vector<platform::TKeptFile>& kept) {
  RequireWorkbook();
  WriteXlsxWorkbook(fModel, fileName, kept);
}

void TXlsxAutomation::SetName(TSheet sheet, const QString& name) {
  static const QRegularExpression forbidden(QStringLiteral(R"([:\\/?*\[\]])"));
  if (name.isEmpty() || name.size() > kMaxSheetName || name.contains(forbidden) ||
      name.startsWith(u'\'') || name.endsWith(u'\''))
    Fail(QStringLiteral("\"%1\" cannot name a sheet").arg(name));
  for (const TXlsxSheet& other : fModel.Sheets)
    if (other.Handle != sheet && other.Name.compare(name, Qt::CaseInsensitive) == 0)
      Fail(QStringLiteral("a sheet named \"%1\" exists already").arg(name));
  Sheet(sheet).Name = name;
}

QString TXlsxAutomation::Name(TSheet sheet) {
  return Sheet(sheet).Name;
}

void TXlsxAutomation::Activate(TSheet sheet) {
  Sheet(sheet);
  fModel.ActiveHandle = sheet;
}

void TXlsxAutomation::Move(TSheet sheet, TSheet after) {
  if (sheet == after) return;
  const int from = Position(sheet);
  Position(after);
  TXlsxSheet moved = std::move(fModel.Sheets[static_cast<size_t>(from)]);
  fModel.Sheets.erase(fModel.Sheets.begin() + from);
  fModel.Sheets.insert(fModel.Sheets.begin() + Position(after) + 1, std::move(moved));
}

TXlsxCell& TXlsxAutomation::Cell(TSheet sheet, int row, int column) {
  CheckCell(row, column);
  return Worksheet(sheet).Cells[{row, column}];
}

void TXlsxAutomation::SetCellText(TSheet sheet, int row, int column, const QString& text) {
  if (text.size() > kMaxCellText) Fail(QStringLiteral("a text is too long for a cell"));
  TXlsxCell& cell = Cell(sheet, row, column);
  // The spreadsheet takes a typed entry that reads as a number as that number.
  bool isNumber = false;
  const double number = text.trimmed() == text ? text.toDouble(&isNumber) : 0;
  if (isNumber && std::isfinite(number))
    cell.Value = number;
  else
    cell.Value = text;
}

void TXlsxAutomation::SetCellValue(TSheet sheet, int row, int column, double value) {
  TXlsxCell& cell = Cell(sheet, row, column);
  // A cell cannot hold an infinity or NaN; it shows the spreadsheet's error.
  if (std::isfinite(value))
    cell.Value = value;
  else
    cell.Value = QStringLiteral("#NUM!");
}

void TXlsxAutomation::RangeFontBold(TSheet sheet, const QString& range, bool bold) {
  const TCellBlock b = ParseBlock(range);
  for (int row = b.FirstRow; row <= b.LastRow; ++row)
    for (int column = b.FirstColumn; column <= b.LastColumn; ++column)
      Cell(sheet, row, column).Bold = bold;
}

void TXlsxAutomation::RangeVerticalAlignment(TSheet sheet, const QString& range, int alignment) {
  const TCellBlock b = ParseBlock(range);
  for (int row = b.FirstRow; row <= b.LastRow; ++row)
    for (int column = b.FirstColumn; column <= b.LastColumn; ++column)
      Cell(sheet, row, column).VerticalCentre = alignment == xlCenter;
}

void TXlsxAutomation::RangeEntireColumnAutoFit(TSheet sheet, const QString& range) {
  const TCellBlock b = ParseBlock(range);
  TXlsxSheet& ws = Worksheet(sheet);
  for (int column = b.FirstColumn; column <= b.LastColumn; ++column) {
    double width = 0;
    for (const auto& [at, cell] : ws.Cells)
      if (at.second == column) width = std::max(width, FittedWidth(CellText(cell), cell.Bold));
    if (width > 0)
      ws.ColumnWidths[column] = width;
    else
      ws.ColumnWidths.erase(column);
  }
}

void TXlsxAutomation::HyperlinksAdd(TSheet sheet, const QString& anchor, const QString& address,
                                    const QString& subAddress) {
  const TCellBlock b = ParseBlock(anchor);
  Cell(sheet, b.FirstRow, b.FirstColumn).Link = TXlsxLink{address, subAddress};
}

void TXlsxAutomation::SetChartType(TSheet chart, int chartType) {
  if (chartType != xlXYScatterLines)
    Fail(QStringLiteral("chart type %1 is not known").arg(chartType));
  Chart(chart).ChartType = chartType;
}

void TXlsxAutomation::SetSourceData(TSheet chart, TSheet dataSheet, const QString& range,
                                    int plotBy) {
  if (plotBy != xlColumns) Fail(QStringLiteral("series by rows are not known"));
  Worksheet(dataSheet);
  const TCellBlock b = ParseBlock(range);
  // Scatter data by columns: the first column holds the x values of every
  // series, each further column the y values of one series.
  std::vector<TXlsxSeries> series;
  for (int column = b.FirstColumn + 1; column <= b.LastColumn; ++column) {
    TXlsxSeries s;
    s.Name = QStringLiteral("Series%1").arg(series.size() + 1);
    s.XValues = {dataSheet, b.FirstColumn, b.FirstRow, b.LastRow};
    s.Values = {dataSheet, column, b.FirstRow, b.LastRow};
    series.push_back(s);
  }
  Chart(chart).Series = std::move(series);
}

void TXlsxAutomation::SetHasTitle(TSheet chart, bool hasTitle) {
  Chart(chart).HasTitle = hasTitle;
}

TXlsxSeries& TXlsxAutomation::Series(TSheet chart, int series) {
  std::vector<TXlsxSeries>& list = Chart(chart).Series;
  if (series < 1 || series > static_cast<int>(list.size()))
    Fail(QStringLiteral("the chart has no series %1").arg(series));
  return list[static_cast<size_t>(series - 1)];
}

void TXlsxAutomation::SeriesName(TSheet chart, int series, const QString& name) {
  Series(chart, series).Name = name;
}

namespace {

// "=Page_1!$A$6:$A$12" → one column of a sheet, found by name.
TXlsxColumnRange ParseColumnFormula(const QString& formula, const TXlsxWorkbookModel& model) {
  static const QRegularExpression pattern(QStringLiteral(R"(^=(?:'([^']+)'|([^!']+))!(.+)$)"));
  const QRegularExpressionMatch m = pattern.match(formula);
  if (!m.hasMatch()) Fail(QStringLiteral("\"%1\" is not a range of a sheet").arg(formula));
  const QString name = m.hasCaptured(1) ? m.captured(1) : m.captured(2);
  auto sheet = std::find_if(model.Sheets.begin(), model.Sheets.end(), [&name](const TXlsxSheet& s) {
    return !s.IsChart && s.Name.compare(name, Qt::CaseInsensitive) == 0;
  });
  if (sheet == model.Sheets.end()) Fail(QStringLiteral("there is no worksheet \"%1\"").arg(name));
  const TCellBlock b = ParseBlock(m.captured(3));
  if (b.FirstColumn != b.LastColumn)
    Fail(QStringLiteral("\"%1\" spans more than one column").arg(formula));
  return {sheet->Handle, b.FirstColumn, b.FirstRow, b.LastRow};
}

}  // namespace

void TXlsxAutomation::SeriesXValues(TSheet chart, int series, const QString& formula) {
  TXlsxSeries& s = Series(chart, series);
  s.XValues = ParseColumnFormula(formula, fModel);
}

void TXlsxAutomation::SeriesValues(TSheet chart, int series, const QString& formula) {
  TXlsxSeries& s = Series(chart, series);
  s.Values = ParseColumnFormula(formula, fModel);
}

void TXlsxAutomation::SeriesMarkerStyle(TSheet chart, int series, int style) {
  Series(chart, series).Markers = style != xlMarkerStyleNone;
}

TXlsxAxis& TXlsxAutomation::Axis(TSheet chart, int type, int group) {
  TXlsxSheet& sheet = Chart(chart);
  if (group != xlPrimary) Fail(QStringLiteral("axis group %1 is not known").arg(group));
  if (type == xlCategory) return sheet.CategoryAxis;
  if (type == xlValue) return sheet.ValueAxis;
  Fail(QStringLiteral("axis type %1 is not known").arg(type));
}

void TXlsxAutomation::AxisHasTitle(TSheet chart, int type, int group, bool hasTitle) {
  Axis(chart, type, group).HasTitle = hasTitle;
}

void TXlsxAutomation::AxisTitleText(TSheet chart, int type, int group, const QString& text) {
  TXlsxAxis& axis = Axis(chart, type, group);
  if (!axis.HasTitle) Fail(QStringLiteral("the axis has no title"));
  axis.Title = text;
}

void TXlsxAutomation::AxisHasMajorGridlines(TSheet chart, int type, int group, bool has) {
  Axis(chart, type, group).MajorGridlines = has;
}

void TXlsxAutomation::AxisReversePlotOrder(TSheet chart, int type, int group, bool reverse) {
  Axis(chart, type, group).Reverse = reverse;
}

void TXlsxAutomation::LegendBorderColor(TSheet chart, int color) {
  Chart(chart).LegendBorderColor = color;
}

void TXlsxAutomation::LegendInteriorColorIndex(TSheet chart, int colorIndex) {
  if (colorIndex < 1 || colorIndex > 56)
    Fail(QStringLiteral("colour index %1 is not in the palette").arg(colorIndex));
  Chart(chart).LegendColorIndex = colorIndex;
}

}  // namespace korvan
