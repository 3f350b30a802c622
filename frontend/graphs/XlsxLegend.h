// The legend's border and fill of chart sheets: the .xlsx library has no
// call for them, so they are added to the written package afterwards.
#pragma once

#include <QString>
#include <vector>

#include "graphs/XlsxModel.h"
#include "graphs/ZipPackage.h"

namespace korvan {

// RGB hex text ("FFFFFF") of an index of the spreadsheet's standard
// 56-colour palette; empty for an index outside it.
QString PaletteColor(int colorIndex);

// Adds the legend formats of `model`'s chart sheets to the charts of the
// workbook package `entries` written from it. Throws EInOutError.
void AddLegendFormats(const TXlsxWorkbookModel& model, std::vector<TZipEntry>& entries);

}  // namespace korvan
