#include "graphs/windows/PlotPrint.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "model/Exceptions.h"

namespace korvan {

namespace {

constexpr double kThousandths = 1000;

int MarginPixels(int thousandths, int resolution) {
  return static_cast<int>(
      std::lround(thousandths * static_cast<double>(resolution) / kThousandths));
}

}  // namespace

TPixelRect PageBounds(QPrinter& printer, const TPageMargins& margins) {
  const int res = printer.resolution();
  QPageLayout printable = printer.pageLayout();
  printable.setMode(QPageLayout::StandardMode);
  printable.setMargins(printable.minimumMargins());
  const QRect paper = printable.fullRectPixels(res);
  const QRect inside = printable.paintRectPixels(res);
  const int unprintableLeft = inside.left() - paper.left();
  const int unprintableTop = inside.top() - paper.top();
  const int unprintableRight = paper.right() - inside.right();
  const int unprintableBottom = paper.bottom() - inside.bottom();
  TPixelRect bounds;
  bounds.Left = std::max(MarginPixels(margins.Left, res), unprintableLeft);
  bounds.Top = std::max(MarginPixels(margins.Top, res), unprintableTop);
  bounds.Right = std::max(
      bounds.Left, paper.width() - std::max(MarginPixels(margins.Right, res), unprintableRight));
  bounds.Bottom = std::max(
      bounds.Top, paper.height() - std::max(MarginPixels(margins.Bottom, res), unprintableBottom));
  return bounds;
}

TPlotView PageView(const TPlotView& view, QPrinter& printer, const TPageMargins& margins) {
  TPlotView page = view;
  printer.setFullPage(true);
  page.DrawWindow.PixelsPerInch = QPoint(printer.logicalDpiX(), printer.logicalDpiY());
  page.DrawWindow.Bounds = PageBounds(printer, margins);
  page.DrawWindow.PrintLegend = true;
  page.PlaceLegendBox(true);
  return page;
}

void PrintGraph(const TPlotView& view, QPrinter& printer, const TPageMargins& margins) {
  TPlotView page = PageView(view, printer, margins);
  printer.setDocName(view.Data().Caption());
  QPainter painter;
  if (!painter.begin(&printer))
    throw EKorvanError(QStringLiteral("The printer could not be started."));
  page.DrawGraph(painter);
  painter.end();
}

void ApplyMargins(QPrinter& printer, const TPageMargins& margins) {
  printer.setPageMargins(QMarginsF(margins.Left / kThousandths, margins.Top / kThousandths,
                                   margins.Right / kThousandths, margins.Bottom / kThousandths),
                         QPageLayout::Inch);
}

TPageMargins MarginsOf(const QPrinter& printer) {
  const QMarginsF inches = printer.pageLayout().margins(QPageLayout::Inch);
  auto thousandths = [](double value) {
    return static_cast<int>(std::lround(value * kThousandths));
  };
  return {thousandths(inches.left()), thousandths(inches.top()), thousandths(inches.right()),
          thousandths(inches.bottom())};
}

}  // namespace korvan
