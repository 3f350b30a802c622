// The spreadsheet backend of this platform: it keeps the workbook that the
// automation calls build in memory (the .xlsx library writes a workbook in
// one go) and writes it as an .xlsx file on SaveAs. Application-level
// settings (Visible, UserControl) have nothing to act on and are noted only.
#pragma once

#include <filesystem>
#include <vector>

#include "graphs/SpreadsheetAutomation.h"
#include "graphs/XlsxModel.h"
#include "platform/safe_output.h"

namespace korvan {

class TXlsxAutomation : public TSpreadsheetAutomation {
 public:
  void SetVisible(bool visible) override { fVisible = visible; }
  void SetUserControl(bool userControl) override { fUserControl = userControl; }

  void WorkbooksAdd() override;
  TSheet ActiveSheet() override;
  TSheet Sheets(int position) override;
  int SheetsCount() override;
  void SheetsAdd(TSheet after, int type) override;
  void SaveAs(const QString& fileName) override;
  // SaveAs to the bytes of a name, refusing the project's `kept` files.
  void SaveTo(const std::filesystem::path& fileName, const std::vector<platform::TKeptFile>& kept);

  void SetName(TSheet sheet, const QString& name) override;
  QString Name(TSheet sheet) override;
  void Activate(TSheet sheet) override;
  void Move(TSheet sheet, TSheet after) override;

  void SetCellText(TSheet sheet, int row, int column, const QString& text) override;
  void SetCellValue(TSheet sheet, int row, int column, double value) override;
  void RangeFontBold(TSheet sheet, const QString& range, bool bold) override;
  void RangeVerticalAlignment(TSheet sheet, const QString& range, int alignment) override;
  void RangeEntireColumnAutoFit(TSheet sheet, const QString& range) override;
  void HyperlinksAdd(TSheet sheet, const QString& anchor, const QString& address,
                     const QString& subAddress) override;

  void SetChartType(TSheet chart, int chartType) override;
  void SetSourceData(TSheet chart, TSheet dataSheet, const QString& range, int plotBy) override;
  void SetHasTitle(TSheet chart, bool hasTitle) override;
  void SeriesName(TSheet chart, int series, const QString& name) override;
  void SeriesXValues(TSheet chart, int series, const QString& formula) override;
  void SeriesValues(TSheet chart, int series, const QString& formula) override;
  void SeriesMarkerStyle(TSheet chart, int series, int style) override;
  void AxisHasTitle(TSheet chart, int type, int group, bool hasTitle) override;
  void AxisTitleText(TSheet chart, int type, int group, const QString& text) override;
  void AxisHasMajorGridlines(TSheet chart, int type, int group, bool has) override;
  void AxisReversePlotOrder(TSheet chart, int type, int group, bool reverse) override;
  void LegendBorderColor(TSheet chart, int color) override;
  void LegendInteriorColorIndex(TSheet chart, int colorIndex) override;

  const TXlsxWorkbookModel& Model() const { return fModel; }
  bool Visible() const { return fVisible; }
  bool UserControl() const { return fUserControl; }

 private:
  TXlsxSheet& Sheet(TSheet handle);
  TXlsxSheet& Worksheet(TSheet handle);
  TXlsxSheet& Chart(TSheet handle);
  int Position(TSheet handle) const;
  TXlsxSeries& Series(TSheet chart, int series);
  TXlsxAxis& Axis(TSheet chart, int type, int group);
  TXlsxCell& Cell(TSheet sheet, int row, int column);
  QString NewSheetName(bool chart);
  void RequireWorkbook() const;

  TXlsxWorkbookModel fModel;
  bool fHasWorkbook = false;
  bool fVisible = false;
  bool fUserControl = false;
  int fNextHandle = 1;
  int fWorksheetsMade = 0;
  int fChartsMade = 0;
};

}  // namespace korvan
