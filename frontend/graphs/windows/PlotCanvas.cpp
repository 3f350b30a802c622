#include "graphs/windows/PlotCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "graphs/windows/PlotForm.h"

namespace korvan {

TPlotCanvas::TPlotCanvas(TPlotForm& form, QWidget* parent)
    : QWidget(parent), fForm(form), fBand(new QRubberBand(QRubberBand::Rectangle, this)) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::CrossCursor);
}

void TPlotCanvas::paintEvent(QPaintEvent*) {
  fLegendPlaced = true;
  QPainter painter(this);
  fForm.View().DrawGraph(painter);
}

void TPlotCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fForm.FormResize(!fLegendPlaced);
}

void TPlotCanvas::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  TPlotView& view = fForm.View();
  if (!view.DrawWindow.GraphArea.Contains(at)) return;
  if (event->button() == Qt::LeftButton) {
    fZooming = true;
    fZoomOrigin = fMovePoint = at;
    fBand->setGeometry(QRect(at, QSize()));
    fBand->show();
  } else if (event->button() == Qt::RightButton) {
    view.ZoomOut(at);
    update();
  }
}

void TPlotCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  fForm.ShowReadout(at);
  if (!fZooming) return;
  fMovePoint = at;
  fBand->setGeometry(QRect(fZoomOrigin, fMovePoint).normalized());
}

void TPlotCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !fZooming) return;
  fZooming = false;
  fBand->hide();
  if (fForm.View().ZoomIn(fZoomOrigin, event->position().toPoint())) update();
}

}  // namespace korvan
