// The spreadsheet program as the export drives it: one member per call of
// its automation interface (application, workbook, sheets, cells, ranges,
// hyperlinks, charts, series, axes, legend), in the spreadsheet's own terms
// and constants. Sheets are named by handles that stay with a sheet when it
// is moved or renamed; rows, columns, sheet positions, series and axis
// numbers count from 1 as the spreadsheet counts them.
//
// A backend that cannot carry out a call throws EKorvanError; the export
// stops there.
#pragma once

#include <QString>

namespace korvan {

class TSpreadsheetAutomation {
 public:
  using TSheet = int;

  // Sheet types of Sheets.Add.
  static constexpr int xlWorksheet = -4167;
  static constexpr int xlChart = -4109;
  // Range.VerticalAlignment.
  static constexpr int xlCenter = -4108;
  // Chart.ChartType: XY scatter with straight lines and markers.
  static constexpr int xlXYScatterLines = 74;
  // Chart.SetSourceData PlotBy.
  static constexpr int xlColumns = 2;
  // Series.MarkerStyle.
  static constexpr int xlMarkerStyleNone = -4142;
  // Axes(type, group).
  static constexpr int xlCategory = 1;
  static constexpr int xlValue = 2;
  static constexpr int xlPrimary = 1;

  virtual ~TSpreadsheetAutomation() = default;

  // Application.
  virtual void SetVisible(bool visible) = 0;
  virtual void SetUserControl(bool userControl) = 0;

  // Workbooks.Add: a new workbook becomes the one the members below act on.
  virtual void WorkbooksAdd() = 0;
  // Workbook.ActiveSheet, Workbook.Sheets[position], Sheets.Count.
  virtual TSheet ActiveSheet() = 0;
  virtual TSheet Sheets(int position) = 0;
  virtual int SheetsCount() = 0;
  // Sheets.Add(After := after, Type := type); the new sheet becomes active.
  virtual void SheetsAdd(TSheet after, int type) = 0;
  // Workbook.SaveAs: writes the workbook to `fileName`.
  virtual void SaveAs(const QString& fileName) = 0;

  // Sheet.Name, Sheet.Activate, Sheet.Move(After := after).
  virtual void SetName(TSheet sheet, const QString& name) = 0;
  virtual QString Name(TSheet sheet) = 0;
  virtual void Activate(TSheet sheet) = 0;
  virtual void Move(TSheet sheet, TSheet after) = 0;

  // Sheet.Cells[row, column] := text; Sheet.Cells[row, column].Value := value.
  virtual void SetCellText(TSheet sheet, int row, int column, const QString& text) = 0;
  virtual void SetCellValue(TSheet sheet, int row, int column, double value) = 0;
  // Sheet.Range(range).Font.Bold, .VerticalAlignment, .EntireColumn.AutoFit.
  virtual void RangeFontBold(TSheet sheet, const QString& range, bool bold) = 0;
  virtual void RangeVerticalAlignment(TSheet sheet, const QString& range, int alignment) = 0;
  virtual void RangeEntireColumnAutoFit(TSheet sheet, const QString& range) = 0;
  // Sheet.Hyperlinks.Add(Anchor := Range(anchor), Address, SubAddress).
  virtual void HyperlinksAdd(TSheet sheet, const QString& anchor, const QString& address,
                             const QString& subAddress) = 0;

  // Chart.ChartType, Chart.SetSourceData(Source := dataSheet.Range(range),
  // PlotBy := plotBy), Chart.HasTitle.
  virtual void SetChartType(TSheet chart, int chartType) = 0;
  virtual void SetSourceData(TSheet chart, TSheet dataSheet, const QString& range, int plotBy) = 0;
  virtual void SetHasTitle(TSheet chart, bool hasTitle) = 0;
  // Chart.SeriesCollection(series).Name, .XValues, .Values, .MarkerStyle.
  virtual void SeriesName(TSheet chart, int series, const QString& name) = 0;
  virtual void SeriesXValues(TSheet chart, int series, const QString& formula) = 0;
  virtual void SeriesValues(TSheet chart, int series, const QString& formula) = 0;
  virtual void SeriesMarkerStyle(TSheet chart, int series, int style) = 0;
  // Chart.Axes(type, group).HasTitle, .AxisTitle.Text, .HasMajorGridlines,
  // .ReversePlotOrder.
  virtual void AxisHasTitle(TSheet chart, int type, int group, bool hasTitle) = 0;
  virtual void AxisTitleText(TSheet chart, int type, int group, const QString& text) = 0;
  virtual void AxisHasMajorGridlines(TSheet chart, int type, int group, bool has) = 0;
  virtual void AxisReversePlotOrder(TSheet chart, int type, int group, bool reverse) = 0;
  // Chart.Legend.Border.Color (an RGB value), Chart.Legend.Interior.ColorIndex
  // (an index of the spreadsheet's palette).
  virtual void LegendBorderColor(TSheet chart, int color) = 0;
  virtual void LegendInteriorColorIndex(TSheet chart, int colorIndex) = 0;
};

}  // namespace korvan
