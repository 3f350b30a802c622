// A workbook held in memory as the automation calls left it: sheets in
// workbook order, cells with their styles and links, charts with their
// series, axes and legend. The .xlsx writer turns it into a file in one go.
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace korvan {

struct TXlsxLink {
  QString Address;     // external target; empty for a place in the workbook
  QString SubAddress;  // "Sheet!A1"
};

struct TXlsxCell {
  std::variant<QString, double> Value;
  bool Bold = false;
  bool VerticalCentre = false;
  std::optional<TXlsxLink> Link;
};

// One column of a sheet, rows First..Last (1-based, First ≤ Last).
struct TXlsxColumnRange {
  int Sheet = 0;  // handle
  int Column = 1;
  int FirstRow = 1;
  int LastRow = 1;
};

struct TXlsxSeries {
  QString Name;
  TXlsxColumnRange XValues;
  TXlsxColumnRange Values;
  bool Markers = true;
};

struct TXlsxAxis {
  bool HasTitle = false;
  QString Title;
  bool MajorGridlines = false;
  bool Reverse = false;
};

struct TXlsxSheet {
  int Handle = 0;
  QString Name;
  bool IsChart = false;
  // Worksheet: cells by (row, column), column widths in characters.
  std::map<std::pair<int, int>, TXlsxCell> Cells;
  std::map<int, double> ColumnWidths;
  // Chart sheet.
  int ChartType = 0;
  std::vector<TXlsxSeries> Series;
  bool HasTitle = true;
  TXlsxAxis CategoryAxis;
  TXlsxAxis ValueAxis;
  std::optional<int> LegendBorderColor;  // RGB as 0xBBGGRR
  std::optional<int> LegendColorIndex;   // palette index
};

struct TXlsxWorkbookModel {
  std::vector<TXlsxSheet> Sheets;  // in workbook order
  int ActiveHandle = 0;
};

}  // namespace korvan
