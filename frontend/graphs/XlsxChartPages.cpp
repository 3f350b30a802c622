#include "graphs/XlsxChartPages.h"

#include <QRegularExpression>
#include <cmath>

namespace korvan {

namespace {

constexpr double kEmuPerInch = 914400;

qint64 Emu(double inches) {
  return std::llround(inches * kEmuPerInch);
}

}  // namespace

QByteArray ChartDrawingFittedToPage(const QByteArray& drawing) {
  // A chart sheet's chart is anchored absolutely; charts on worksheets are
  // anchored to cells and keep their size.
  static const QRegularExpression anchoredSize(
      QStringLiteral("(<xdr:absoluteAnchor><xdr:pos [^>]*/>)<xdr:ext cx=\"\\d+\" cy=\"\\d+\"/>"));
  QString text = QString::fromUtf8(drawing);
  text.replace(anchoredSize, QStringLiteral("\\1<xdr:ext cx=\"%1\" cy=\"%2\"/>")
                                 .arg(Emu(kChartWidthInches))
                                 .arg(Emu(kChartHeightInches)));
  return text.toUtf8();
}

void FitChartsToPages(std::vector<TZipEntry>& entries) {
  for (TZipEntry& entry : entries) {
    if (entry.Name.startsWith(QLatin1String("xl/drawings/drawing")))
      entry.Data = ChartDrawingFittedToPage(entry.Data);
  }
}

}  // namespace korvan
