#include "graphs/XlsxLegend.h"

#include <algorithm>
#include <array>

#include "model/Exceptions.h"

namespace korvan {

namespace {

constexpr std::array<unsigned, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

QString Hex(unsigned rgb) {
  return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

// The spreadsheet's colour values hold red in the low byte.
QString HexOfColorValue(int color) {
  const auto value = static_cast<unsigned>(color);
  return Hex((value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF));
}

QByteArray SolidFill(const QString& hex) {
  return QStringLiteral("<a:solidFill><a:srgbClr val=\"%1\"/></a:solidFill>").arg(hex).toUtf8();
}

// The shape properties of a legend: its fill, then its border line.
QByteArray LegendShape(const TXlsxSheet& sheet) {
  QByteArray shape = "<c:spPr>";
  if (sheet.LegendColorIndex) {
    const QString fill = PaletteColor(*sheet.LegendColorIndex);
    if (!fill.isEmpty()) shape += SolidFill(fill);
  }
  if (sheet.LegendBorderColor)
    shape += "<a:ln>" + SolidFill(HexOfColorValue(*sheet.LegendBorderColor)) + "</a:ln>";
  return shape + "</c:spPr>";
}

// Puts `shape` into the chart's legend where the schema wants it: after the
// position, layout and overlay, before the text properties.
bool InsertLegendShape(QByteArray& chart, const QByteArray& shape) {
  const qsizetype legend = chart.indexOf("<c:legend>");
  if (legend < 0) return false;
  const qsizetype end = chart.indexOf("</c:legend>", legend);
  if (end < 0) return false;
  const qsizetype text = chart.indexOf("<c:txPr>", legend);
  chart.insert(text >= 0 && text < end ? text : end, shape);
  return true;
}

}  // namespace

QString PaletteColor(int colorIndex) {
  if (colorIndex < 1 || colorIndex > static_cast<int>(kPalette.size())) return {};
  return Hex(kPalette[static_cast<size_t>(colorIndex - 1)]);
}

void AddLegendFormats(const TXlsxWorkbookModel& model, std::vector<TZipEntry>& entries) {
  // The library numbers the charts of chart sheets in sheet order; a chart
  // sheet without series has no chart.
  std::vector<std::pair<QString, QByteArray>> shapes;
  int chartNumber = 0;
  for (const TXlsxSheet& sheet : model.Sheets) {
    if (!sheet.IsChart || sheet.Series.empty()) continue;
    ++chartNumber;
    if (sheet.LegendBorderColor || sheet.LegendColorIndex)
      shapes.emplace_back(QStringLiteral("xl/charts/chart%1.xml").arg(chartNumber),
                          LegendShape(sheet));
  }
  for (const auto& [chartName, shape] : shapes) {
    const QString& name = chartName;
    auto entry = std::find_if(entries.begin(), entries.end(),
                              [&name](const TZipEntry& e) { return e.Name == name; });
    if (entry == entries.end() || !InsertLegendShape(entry->Data, shape))
      throw EInOutError(QStringLiteral("The chart %1 of the workbook has no legend.").arg(name));
  }
}

}  // namespace korvan
