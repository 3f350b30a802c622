// The export of result graphs into a spreadsheet workbook: an index sheet
// "Legend" with links, then per graph a data sheet "Page_k" with its lines
// and an XY-scatter chart sheet "Plot_k". The steps drive any backend of
// TSpreadsheetAutomation; ExportGraphsToWorkbook writes a real .xlsx file
// without any window, for the dialog and for headless use alike.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

#include "graphs/SpreadsheetAutomation.h"
#include "platform/safe_output.h"

namespace korvan {

class TGraphPlot;

// Spreadsheet column letters: 1 → "A" … 26 → "Z", 27 → "AA" … 702 → "ZZ";
// any other number → empty.
QString GetExcelCol(int n);

// Short-form display of a unit code in a unit system, as graph captions show
// it ("F1" is "kips" in English, "kN" in SI; system 3 keeps the code).
QString UnitsTitle(const QString& code, int system);

// An axis title: the caption, followed by the units in parentheses when the
// graph has a unit code for the axis.
QString AxisTitle(const QString& caption, const QString& units, int system);

// Data sheet "Page_k" and chart sheet "Plot_k" of `graph`, listed in row
// k + 2 of the index sheet (the workbook's first sheet).
void GenerateChart(TSpreadsheetAutomation& excel, int k, const TGraphPlot& graph, bool markers);

// A new workbook with its index sheet and every graph of `graphs` in order;
// the workbook is left to the caller (the application is shown to the user).
void GenerateWorkbook(TSpreadsheetAutomation& excel, const std::vector<const TGraphPlot*>& graphs,
                      bool markers);

// Generates the workbook of `graphs` and writes it to `fileName`, replacing
// the file only once the whole workbook is written, never one of the
// project's `kept` files (WriteXlsxWorkbook). Returns the failure's message,
// or nothing when the workbook was written.
std::optional<QString> ExportGraphsToWorkbook(const std::vector<const TGraphPlot*>& graphs,
                                              bool markers, const std::filesystem::path& fileName,
                                              const std::vector<platform::TKeptFile>& kept = {});
std::optional<QString> ExportGraphsToWorkbook(const std::vector<const TGraphPlot*>& graphs,
                                              bool markers, const QString& fileName);

}  // namespace korvan
