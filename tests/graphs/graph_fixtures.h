// Graphs filled by the tests, views laid out on images, and images drawn.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "graphs/PlotView.h"
#include "model/GraphPlot.h"

namespace korvan::testing {

using TPointRule = std::function<TFloatPoint(int line, int point)>;

// A graph of `lines` lines of `points` points each, placed by `rule`.
std::unique_ptr<TGraphPlot> MakeGraph(int lines, int points, const TPointRule& rule);

// A view of `graph` fitted to its full range and laid out as a window or
// picture of `size` pixels at `pixelsPerInch`.
TPlotView LaidOutView(TGraphPlot& graph, QSize size, int pixelsPerInch = 96);

// A white image of the view's bounds, at its resolution, with the graph
// drawn on it.
QImage Render(TPlotView& view);

// Runs `act` on the modal dialog of type Dialog once it is up; a different
// or missing dialog fails the test and is closed so that the test goes on.
template <class Dialog, class Act>
void WhenModal(Act act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<Dialog*>(modal)) {
      act(*dialog);
      return;
    }
    ADD_FAILURE() << "expected dialog not shown";
    if (modal != nullptr) modal->close();
  });
}

// Colour of a pixel without alpha.
inline QRgb PixelAt(const QImage& image, QPoint p) {
  return image.pixel(p) & 0xFFFFFF;
}
inline constexpr QRgb kBlack = 0x000000;
inline constexpr QRgb kWhite = 0xFFFFFF;

}  // namespace korvan::testing
