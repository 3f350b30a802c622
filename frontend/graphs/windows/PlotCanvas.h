// The drawing surface of a graph window: paints the graph on every repaint
// and turns the mouse into zooms and the coordinate read-out.
#pragma once

#include <QPoint>
#include <QWidget>

class QRubberBand;

namespace korvan {

class TPlotForm;

class TPlotCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit TPlotCanvas(TPlotForm& form, QWidget* parent);

  // Until the first repaint the window is still taking its size, and each
  // layout puts the legend in its corner.
  bool LegendPlaced() const { return fLegendPlaced; }
  bool Zooming() const { return fZooming; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TPlotForm& fForm;
  bool fLegendPlaced = false;
  bool fZooming = false;
  QPoint fZoomOrigin;
  QPoint fMovePoint;
  QRubberBand* fBand;
};

}  // namespace korvan
