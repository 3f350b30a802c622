// The page a chart sheet prints on: the .xlsx library draws every chart of a
// chart sheet at one fixed size, which other spreadsheets print as drawn, so
// the charts are sized to the printable part of a landscape page afterwards.
#pragma once

#include <QByteArray>
#include <vector>

#include "graphs/ZipPackage.h"

namespace korvan {

// Margins of a chart sheet's page on every side, in inches.
inline constexpr double kChartMarginInches = 0.5;
// A chart that fits the printable part of a landscape Letter and A4 page
// within those margins, in inches.
inline constexpr double kChartWidthInches = 10;
inline constexpr double kChartHeightInches = 7.25;

// The drawing of a chart sheet with its chart sized to the page; unchanged
// when it holds no chart sheet's anchor.
QByteArray ChartDrawingFittedToPage(const QByteArray& drawing);

// Sizes the chart of every chart sheet of the workbook held in `entries` to
// the page.
void FitChartsToPages(std::vector<TZipEntry>& entries);

}  // namespace korvan
