// What the chart window's preview draws for a chart table: one curve, or two
// for three-column tables, with axis titles, ranges and number formats. The
// window (TTableChartForm) hands the result to its chart control.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvan {

class TGridTableChart;

enum class TAxisFormat {
  Plain,       // #,##0.###
  Scientific,  // #.0##E-0
  Whole,       // #,##0
};

struct TAxisScale {
  QString Title;
  double Min = 0;
  double Max = 1;
  TAxisFormat Format = TAxisFormat::Plain;
  bool Inverted = false;
};

struct TChartPreview {
  std::vector<QPointF> Series1;
  std::vector<QPointF> Series2;
  bool TwoCurves = false;    // Series2 drawn, legend shown
  QString Title1, Title2;    // legend titles with two curves
  bool Series1Marks = true;  // no marks when the x values are row numbers
  bool Flat = false;         // every y value equal: the left axis is fixed
  TAxisScale Bottom, Left;
};

// The preview of `table`'s values.
TChartPreview BuildChartPreview(const TGridTableChart& table);

// The number format of an axis running from `min` to `max`.
TAxisFormat AxisFormatFor(double min, double max);
// `value` written in `format`, with the program's decimal separator.
QString FormatAxisNumber(double value, TAxisFormat format);
// Label positions for an axis: round steps (1, 2 or 5 times a power of ten)
// inside min … max.
std::vector<double> AxisTicks(double min, double max);

}  // namespace korvan
