#include "components/ChartPreview.h"

#include <algorithm>
#include <cmath>

#include "model/ColumnTypesChart.h"
#include "model/NumberFormat.h"

namespace korvan {

namespace {

constexpr double kFlatRaise = 1.001;  // the second point of a flat curve
constexpr double kFlatMargin = 0.1;   // the fixed axis around a flat curve
constexpr double kScientificAbove = 100000;
constexpr double kScientificBelow = 0.001;

// A cell as a number; cells that hold none (choices, text) count as their
// integer or as 0, so that no definition can break the preview.
double ValueOf(const TGridTable& table, int col, int row) {
  if (!table.CellExists(col, row)) return 0;
  const TColumn& column = table.GetColumn(col);
  if (dynamic_cast<const TFloatColumn*>(&column)) {
    return static_cast<double>(column.GetFloatValue(row));
  }
  if (dynamic_cast<const TIntColumn*>(&column) || dynamic_cast<const TEnumColumn*>(&column)) {
    return column.GetIntValue(row);
  }
  return 0;
}

QString FirstHeading(const TGridTable& table, int col) {
  if (col < 0 || col >= table.ColCount()) return QString();
  return table.GetColumn(col).GetDisplayHeadings(0).trimmed();
}

// Data range of an axis; a range of one value is widened so that the axis
// keeps a length.
void SetRange(TAxisScale& axis, double min, double max) {
  if (min == max) {
    const double margin = min != 0 ? std::fabs(min) * kFlatMargin : 1.0;
    min -= margin;
    max += margin;
  }
  axis.Min = min;
  axis.Max = max;
}

void GroupThousands(QString& digits) {
  const QChar group = DecimalSeparator() == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
  for (qsizetype k = digits.size() - 3; k > 0; k -= 3) digits.insert(k, group);
}

}  // namespace

TAxisFormat AxisFormatFor(double min, double max) {
  if (min == 0 && max == 0) return TAxisFormat::Plain;
  if (std::fabs(max) > kScientificAbove || std::fabs(min) > kScientificAbove) {
    return TAxisFormat::Scientific;
  }
  if (std::fabs(max) < kScientificBelow && std::fabs(min) < kScientificBelow) {
    return TAxisFormat::Scientific;
  }
  return TAxisFormat::Plain;
}

QString FormatAxisNumber(double value, TAxisFormat format) {
  const QChar point = DecimalSeparator();
  if (format == TAxisFormat::Scientific) {
    // One to three decimals of a mantissa from 1 to 10, the exponent as short
    // as it goes.
    if (value == 0) return QStringLiteral("0") + point + QStringLiteral("0E0");
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    double mantissa = std::round(value / std::pow(10.0, exponent) * 1000) / 1000;
    if (std::fabs(mantissa) >= 10) {
      mantissa /= 10;
      ++exponent;
    }
    QString text = QString::number(mantissa, 'f', 3);
    while (text.endsWith(QLatin1Char('0')) && !text.endsWith(QLatin1String(".0"))) text.chop(1);
    text.replace(QLatin1Char('.'), point);
    return text + QLatin1Char('E') + QString::number(exponent);
  }
  const int decimals = format == TAxisFormat::Whole ? 0 : 3;
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(std::fabs(value) * scale);
  if (rounded == 0) return QStringLiteral("0");
  QString text = QString::number(rounded / scale, 'f', decimals);
  QString whole = text.section(QLatin1Char('.'), 0, 0);
  QString fraction = text.section(QLatin1Char('.'), 1);
  while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
  GroupThousands(whole);
  QString result = value < 0 ? QStringLiteral("-") + whole : whole;
  if (!fraction.isEmpty()) result += point + fraction;
  return result;
}

std::vector<double> AxisTicks(double min, double max) {
  std::vector<double> ticks;
  if (!(max > min) || !std::isfinite(min) || !std::isfinite(max)) return ticks;
  const double rough = (max - min) / 6;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power * 10;
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (power * factor >= rough) {
      step = power * factor;
      break;
    }
  }
  const double first = std::ceil(min / step - 1e-9) * step;
  for (double tick = first; tick <= max + step * 1e-9 && ticks.size() < 50; tick += step) {
    ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
  }
  return ticks;
}

TChartPreview BuildChartPreview(const TGridTableChart& table) {
  TChartPreview preview;
  const int x = table.Xcolumn();
  const int y = table.Ycolumn();
  const int rows = table.RowCount();
  const int visible = table.VisibleColCount();
  preview.TwoCurves = visible == 3 && ((x == 0 && y == 1) || (x == 1 && y == 0));
  if (preview.TwoCurves) {
    preview.Title1 = FirstHeading(table, 1);
    preview.Title2 = FirstHeading(table, 2);
  }

  const double y0 = rows > 0 ? ValueOf(table, y, 0) : 0;
  bool flat = rows > 1;
  for (int row = 0; row < rows && flat; ++row) {
    if (ValueOf(table, y, row) != y0) flat = false;
    if (preview.TwoCurves && ValueOf(table, 2, row) != y0) flat = false;
  }
  preview.Flat = flat;

  const bool rowNumbers = visible == 1;
  for (int row = 0; row < rows; ++row) {
    const double xValue = rowNumbers ? row : ValueOf(table, x, row);
    double yValue = ValueOf(table, y, row);
    if (flat && row == 1) yValue *= kFlatRaise;
    preview.Series1.emplace_back(xValue, yValue);
    if (preview.TwoCurves) {
      const double second = ValueOf(table, 2, row);
      if (x == 0) {
        preview.Series2.emplace_back(xValue, second);
      } else {
        preview.Series2.emplace_back(second, yValue);
      }
    }
  }

  preview.Bottom.Title = rowNumbers ? QStringLiteral("N") : FirstHeading(table, x);
  preview.Left.Title = FirstHeading(table, y);
  preview.Series1Marks = !rowNumbers;
  preview.Bottom.Inverted = table.InvertedXAxis();
  preview.Left.Inverted = table.InvertedYAxis();

  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  bool first = true;
  for (const auto* series : {&preview.Series1, &preview.Series2}) {
    for (const QPointF& point : *series) {
      xMin = first ? point.x() : std::min(xMin, point.x());
      xMax = first ? point.x() : std::max(xMax, point.x());
      yMin = first ? point.y() : std::min(yMin, point.y());
      yMax = first ? point.y() : std::max(yMax, point.y());
      first = false;
    }
  }
  SetRange(preview.Bottom, xMin, xMax);
  if (flat && y0 != 0) {
    // 0.9·y0 … 1.1·y0, low end first also when y0 is negative.
    const double a = y0 * (1 - kFlatMargin);
    const double b = y0 * (1 + kFlatMargin);
    preview.Left.Min = std::min(a, b);
    preview.Left.Max = std::max(a, b);
  } else {
    SetRange(preview.Left, yMin, yMax);
  }
  preview.Bottom.Format = rowNumbers ? TAxisFormat::Whole : AxisFormatFor(xMin, xMax);
  preview.Left.Format = AxisFormatFor(yMin, yMax);
  return preview;
}

}  // namespace korvan
